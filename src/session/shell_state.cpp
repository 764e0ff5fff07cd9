#include "session/shell_state.h"

#include <map>

namespace vantu {

namespace {
ShellState gShell;
ShellHooks gHooks;
std::map<uint8_t, CommandModule> gCommands;
}  // namespace

ShellState& Shell() {
  return gShell;
}
void ResetShell() {
  gShell = ShellState{};
}
ShellHooks& Hooks() {
  return gHooks;
}

void RegisterCommand(uint8_t letter, CommandModule module) {
  gCommands[letter] = std::move(module);
}
void ClearCommands() {
  gCommands.clear();
}

const CommandModule* FindCommand(uint8_t letter) {
  auto it = gCommands.find(letter);
  return it == gCommands.end() || !it->second ? nullptr : &it->second;
}

}  // namespace vantu
