// The player started inside the test process, as WinMain starts it, with a
// program folder of its own and the engine's silent real-time device, so
// the tests can drive its windows with messages and look at the results.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "shell/shell_state.h"
#include "tests/support/test_support.h"

namespace orva::test {

class PlayerTest : public ::testing::Test {
 protected:
  void TearDown() override;

  // Starts the player with `commandLine` (the text after the program name).
  // Files written into programDir() before the start are its settings and
  // default list.
  void startPlayer(const std::string& commandLine = "");
  // Closes the main window as the user does and lets the shutdown run.
  void closePlayer();

  ShellState& shell() { return shellState(); }
  HWND mainWindow() { return shellState().mainWindow; }
  const std::string& programDir() const { return programDir_.path(); }
  std::string file(const std::string& name) const { return programDir_.file(name); }

  // Messages of this thread for `ms` milliseconds (those waiting now, for 0).
  void pumpFor(int ms);
  // Pumps until `done` or `timeoutMs`; the last answer of `done`.
  bool pumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);
  // One 500 ms tick of the main window, delivered at once.
  void tick();
  void command(int id);
  void key(HWND window, uint32_t virtualKey);

  // A PCM WAVE file of `seconds` of silence (8 kHz, mono, 8-bit); returns
  // its path.
  std::string writeWave(const std::string& name, int seconds);
  // An MPEG Layer III file of `frames` frames (26 ms each) with an ID3v1
  // tag when a title is given.
  std::string writeMpeg(const std::string& name, int frames, const std::string& title = "",
                        const std::string& artist = "");

  int32_t engineStateNow();
  std::string titleText() { return shellState().titleText; }
  std::string displayText(int32_t index);

 private:
  TempDir programDir_;
  bool started_ = false;
};

}  // namespace orva::test
