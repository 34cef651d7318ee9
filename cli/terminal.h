// Keys from the terminal for orva-cli play: the terminal is put into a mode
// that hands over single key presses without echo, and put back at the end.
// Without a terminal on standard input there are simply no keys.
#pragma once

namespace orva::cli {

enum TerminalKey : int {
  KEY_NONE = -1,
  KEY_LEFT = 0x100,
  KEY_RIGHT,
  KEY_UP,
  KEY_DOWN,
};

class TerminalKeys {
 public:
  TerminalKeys();
  ~TerminalKeys();
  TerminalKeys(const TerminalKeys&) = delete;
  TerminalKeys& operator=(const TerminalKeys&) = delete;

  bool active() const { return active_; }
  // The next key pressed, or KEY_NONE at once when there is none.
  int readKey();

 private:
  bool active_ = false;
};

// True when standard output is a terminal (the status line is redrawn).
bool outputIsTerminal();
// Lets escape sequences move the cursor on the terminal (the console on
// Windows must be asked); false when the terminal cannot.
bool enableCursorMovement();

// From this call on, Ctrl-C no longer ends the process but is remembered:
// a long-running command asks interruptRequested() and stops cleanly.
void catchInterrupts();
bool interruptRequested();

}  // namespace orva::cli
