// A second start of the program hands its command line to the running one
// and ends; without arguments it brings the running one to the front. Two
// real processes of orva.exe, in a folder of their own.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "platform/profile_file.h"
#include "tests/playlist/playlist_fixtures.h"
#include "tests/support/test_support.h"

namespace orva::test {
namespace {

constexpr DWORD kStartTimeoutMs = 20000;

class SecondStartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    program_ = dir_.file("orva.exe");
    ASSERT_TRUE(CopyFileA(ORVA_PROGRAM, program_.c_str(), FALSE)) << ORVA_PROGRAM;
    // A settings file turns saving on, so the first instance tells at exit
    // which entry it played last.
    writeText(dir_.file("orva.ini"), "[Option]\r\n");
  }
  void TearDown() override {
    for (PROCESS_INFORMATION& p : processes_) {
      if (WaitForSingleObject(p.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(p.hProcess, 1);
      CloseHandle(p.hProcess);
      CloseHandle(p.hThread);
    }
  }

  PROCESS_INFORMATION start(const std::string& arguments) {
    std::string commandLine = "\"" + program_ + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    EXPECT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, dir_.path().c_str(),
                               &startup, &process));
    processes_.push_back(process);
    return process;
  }
  // Messages of this thread are handled while waiting: bringing a window
  // to the front sends to the window that has the focus, ours among them.
  DWORD exitCode(const PROCESS_INFORMATION& process) {
    const DWORD end = GetTickCount() + kStartTimeoutMs;
    DWORD waited = WAIT_TIMEOUT;
    while (waited != WAIT_OBJECT_0 && static_cast<int32_t>(end - GetTickCount()) > 0) {
      waited = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 50, QS_ALLINPUT);
      MSG message;
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }
    EXPECT_EQ(waited, WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(process.hProcess, &code);
    return code;
  }
  HWND waitForMainWindow() {
    for (DWORD waited = 0; waited < kStartTimeoutMs; waited += 50) {
      if (HWND found = FindWindowA("orva", nullptr)) return found;
      Sleep(50);
    }
    return nullptr;
  }
  // The running player acts on a forwarded line from its message loop.
  bool eventually(const std::function<bool()>& done) {
    for (DWORD waited = 0; waited < kStartTimeoutMs; waited += 20) {
      if (done()) return true;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
      MSG message;
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }
    return done();
  }
  std::string quoted(const std::string& name) { return "\"" + dir_.file(name) + "\""; }
  void writeSilence(const std::string& name) {
    std::string wave = "RIFF";
    const uint32_t dataBytes = 16000;
    auto le32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    wave += le32(36 + dataBytes) + "WAVEfmt " + le32(16);
    wave += std::string{1, 0, 1, 0} + le32(8000) + le32(8000) + std::string{1, 0, 8, 0};
    wave += "data" + le32(dataBytes) + std::string(dataBytes, '\x80');
    writeText(dir_.file(name), wave);
  }

  TempDir dir_;
  std::string program_;
  std::vector<PROCESS_INFORMATION> processes_;
};

TEST_F(SecondStartTest, ArgumentsGoToTheRunningInstanceWhichPlaysThem) {
  writeSilence("first.wav");
  writeSilence("second.wav");
  const PROCESS_INFORMATION first = start(quoted("first.wav"));
  const HWND main = waitForMainWindow();
  ASSERT_NE(main, nullptr);
  const HWND list = FindWindowExA(main, nullptr, "LISTBOX", nullptr);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 1);

  EXPECT_EQ(exitCode(start(quoted("second.wav"))), 0u);
  EXPECT_TRUE(eventually([&] { return SendMessageA(list, LB_GETCOUNT, 0, 0) == 2; }));
  EXPECT_TRUE(eventually([&] { return SendMessageA(list, LB_GETCARETINDEX, 0, 0) == 1; }))
      << "the forwarded file was started";

  // Without arguments: the running window comes to the front.
  const HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
  SetForegroundWindow(other);
  EXPECT_EQ(exitCode(start("")), 0u);
  EXPECT_TRUE(eventually([&] { return GetForegroundWindow() == main; }));
  DestroyWindow(other);

  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(exitCode(first), 0u);
  platform::ProfileFile settings;
  ASSERT_TRUE(settings.load(dir_.file("orva.ini").c_str()));
  EXPECT_EQ(settings.getInt("Player", "NowIndex", -1), 1) << "the second file is the one that played last";
  const std::string savedList = readText(dir_.file("orva.m3u"));
  EXPECT_NE(savedList.find("first.wav"), std::string::npos);
  EXPECT_NE(savedList.find("second.wav"), std::string::npos);
}

}  // namespace
}  // namespace orva::test
