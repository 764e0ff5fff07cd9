#include "toolkit/key_reader.h"

#include "console/keys.h"

namespace vantu {

uint8_t GetKey() {
  uint8_t code = ReadKey();
  if (code == 0) code = ReadKey();
  return code;
}

}  // namespace vantu
