#pragma once
// Stopping the program: thrown from anywhere in the core, caught by main,
// which then runs the program's end routine and exits with the code.

namespace vantu {

struct Halt {
  int exitCode = 0;
};

[[noreturn]] inline void DoHalt(int exitCode) {
  throw Halt{exitCode};
}

}  // namespace vantu
