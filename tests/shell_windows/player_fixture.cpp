// The in-process player for the window tests.
#include "tests/shell_windows/player_fixture.h"

#include "orva_engine.h"
#include "resources/resource_ids.h"
#include "shell/startup.h"
#include "tests/engine/engine_fixtures.h"

namespace orva::test {

namespace {

HINSTANCE module() { return GetModuleHandleA(nullptr); }

void drainMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

}  // namespace

void PlayerTest::startPlayer(const std::string& commandLine) {
  resetShellState();
  shellState().appInstance = module();
  keepCommandLine(commandLine.c_str());
  preparePaths(programDir_.path().c_str());
  ASSERT_NE(registerWindowClasses(module()), 0);
  // Real time on any machine, without a sound device's own pace.
  engineSetDevice(ENGINE_DEVICE_SILENT);
  ASSERT_EQ(createMainWindows(module()), 1);
  started_ = true;
  drainMessages();
}

void PlayerTest::closePlayer() {
  if (IsWindow(mainWindow())) SendMessageA(mainWindow(), WM_CLOSE, 0, 0);
  drainMessages();
}

void PlayerTest::TearDown() {
  if (!started_) return;
  closePlayer();
  if (IsWindow(shellState().lyricsWindow)) DestroyWindow(shellState().lyricsWindow);
  drainMessages();
  unregisterWindowClasses(module());
  resetShellState();
  // Leave the temporary folder, so that it can be removed.
  SetCurrentDirectoryA(sourceDir().c_str());
}

void PlayerTest::pumpFor(int ms) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  drainMessages();
  while (static_cast<int32_t>(end - GetTickCount()) > 0) {
    Sleep(5);
    drainMessages();
  }
}

bool PlayerTest::pumpUntil(const std::function<bool()>& done, int timeoutMs) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(timeoutMs);
  while (!done()) {
    if (static_cast<int32_t>(end - GetTickCount()) <= 0) return done();
    drainMessages();
    Sleep(5);
  }
  return true;
}

void PlayerTest::tick() { SendMessageA(mainWindow(), WM_TIMER, IDT_MAIN_TICK, 0); }

void PlayerTest::command(int id) { SendMessageA(mainWindow(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void PlayerTest::key(HWND window, uint32_t virtualKey) {
  SendMessageA(window, WM_KEYDOWN, virtualKey, 0);
  SendMessageA(window, WM_KEYUP, virtualKey, 0xC0000001);
}

std::string PlayerTest::writeWave(const std::string& name, int seconds) {
  const Bytes silence(static_cast<size_t>(8000 * seconds), 0x80);
  const std::string path = file(name);
  writeFileBytes(path, riffWave(1, 1, 8000, 8, silence));
  return path;
}

std::string PlayerTest::writeMpeg(const std::string& name, int frames, const std::string& title,
                                  const std::string& artist) {
  Bytes bytes = l3Frames(frames, 0x00);
  if (!title.empty()) append(bytes, id3v1Tag(title, artist, 12));
  const std::string path = file(name);
  writeFileBytes(path, bytes);
  return path;
}

int32_t PlayerTest::engineStateNow() {
  int32_t position = 0;
  return engineGetState(&position);
}

std::string PlayerTest::displayText(int32_t index) {
  const PlaylistEntry* entry = shellState().playlist.entry(index);
  return entry != nullptr ? entry->displayText : "";
}

}  // namespace orva::test
