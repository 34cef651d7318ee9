// Terminal keys on POSIX systems: non-canonical input without echo.
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include "cli/terminal.h"

namespace orva::cli {
namespace {

termios saved{};
volatile sig_atomic_t interrupted = 0;

void noteInterrupt(int) { interrupted = 1; }

int readByte() {
  unsigned char c = 0;
  return read(STDIN_FILENO, &c, 1) == 1 ? c : -1;
}

}  // namespace

TerminalKeys::TerminalKeys() {
  if (!isatty(STDIN_FILENO) || tcgetattr(STDIN_FILENO, &saved) != 0) return;
  termios raw = saved;
  raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
  raw.c_cc[VMIN] = 0;
  raw.c_cc[VTIME] = 0;
  active_ = tcsetattr(STDIN_FILENO, TCSANOW, &raw) == 0;
}

TerminalKeys::~TerminalKeys() {
  if (active_) tcsetattr(STDIN_FILENO, TCSANOW, &saved);
}

int TerminalKeys::readKey() {
  if (!active_) return KEY_NONE;
  const int c = readByte();
  if (c != 0x1B) return c < 0 ? KEY_NONE : c;
  // Arrow keys arrive as ESC [ A..D.
  if (readByte() != '[') return KEY_NONE;
  switch (readByte()) {
    case 'A': return KEY_UP;
    case 'B': return KEY_DOWN;
    case 'C': return KEY_RIGHT;
    case 'D': return KEY_LEFT;
    default: return KEY_NONE;
  }
}

bool outputIsTerminal() { return isatty(STDOUT_FILENO) != 0; }

bool enableCursorMovement() { return outputIsTerminal(); }

void catchInterrupts() {
  struct sigaction action {};
  action.sa_handler = noteInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
}

bool interruptRequested() { return interrupted != 0; }

}  // namespace orva::cli
