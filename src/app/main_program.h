#pragma once
// The main program: start-up, the main command loop and the program end.

#include <string>

namespace vantu {

// Runs the start-up steps and the main command loop; returns when the loop
// ends. argv0 locates the program directory.
void RunMain(const std::string& argv0);
// The start-up steps only (used by RunMain and by tests).
void StartUp(const std::string& argv0);
// The main command loop only.
void MainLoop();
// Runs the command table row of a code read at the main menu.
void RunCommand(uint8_t code);
// The program end; safe to call more than once.
void ShellFinalize();

}  // namespace vantu
