#pragma once
// The program's version, set once in the build (the project version).

namespace vantu {

// "0.1": what --version answers for every program of the set.
const char* ProgramVersion();

}  // namespace vantu
