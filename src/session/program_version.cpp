#include "session/program_version.h"

namespace vantu {

const char* ProgramVersion() {
  return VANTU_VERSION;
}

}  // namespace vantu
