#pragma once
// The composition root: fills the shell's start-up and end hooks and its
// command table with the modules of every subsystem. Called once by a host
// before RunMain.

namespace vantu {

void InstallModules();

}  // namespace vantu
