// Terminal keys on Windows: the console's key buffer.
#include <conio.h>
#include <io.h>
#include <stdio.h>
#include <windows.h>

#include <atomic>

#include "cli/terminal.h"

namespace orva::cli {
namespace {

// Set by the console's handler thread, read by the command's loop.
std::atomic<bool> interrupted{false};

BOOL WINAPI noteInterrupt(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  interrupted.store(true);
  return TRUE;
}

}  // namespace

TerminalKeys::TerminalKeys() { active_ = _isatty(_fileno(stdin)) != 0; }
TerminalKeys::~TerminalKeys() = default;

int TerminalKeys::readKey() {
  if (!active_ || !_kbhit()) return KEY_NONE;
  const int c = _getch();
  if (c != 0 && c != 0xE0) return c;
  // Arrow keys arrive as a prefix and a scan code.
  switch (_getch()) {
    case 72: return KEY_UP;
    case 80: return KEY_DOWN;
    case 77: return KEY_RIGHT;
    case 75: return KEY_LEFT;
    default: return KEY_NONE;
  }
}

bool outputIsTerminal() { return _isatty(_fileno(stdout)) != 0; }

bool enableCursorMovement() {
  // Consoles before Windows 10 refuse the mode and show the sequences as
  // text; the caller then draws nothing but the status line.
  constexpr DWORD kVirtualTerminal = 0x0004;  // ENABLE_VIRTUAL_TERMINAL_PROCESSING
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  if (!outputIsTerminal() || !GetConsoleMode(out, &mode)) return false;
  return (mode & kVirtualTerminal) != 0 || SetConsoleMode(out, mode | kVirtualTerminal) != 0;
}

void catchInterrupts() { SetConsoleCtrlHandler(noteInterrupt, TRUE); }
bool interruptRequested() { return interrupted.load(); }

}  // namespace orva::cli
