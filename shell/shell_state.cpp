// The shell's one state record.
#include "shell/shell_state.h"

namespace orva {

namespace {
std::unique_ptr<ShellState> gShell = std::make_unique<ShellState>();
}  // namespace

ShellState& shellState() { return *gShell; }

void resetShellState() { gShell = std::make_unique<ShellState>(); }

}  // namespace orva
