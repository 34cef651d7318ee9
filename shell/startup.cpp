// Start-up: one instance per desktop, the folder beside the executable, the
// classes, the windows in their first places, the tray icon.
#include "shell/startup.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <ctime>

#include "orva_engine.h"
#include "resources/resource_ids.h"
#include "shell/commands.h"
#include "shell/equalizer_window.h"
#include "shell/gdi_resources.h"
#include "shell/lyrics_window.h"
#include "shell/main_window.h"
#include "shell/rules/forwarding.h"
#include "shell/shell_state.h"
#include "shell/tray.h"
#include "shell/window_layout.h"

namespace orva {

namespace {

constexpr char kSettingsFileName[] = "orva.ini";
constexpr char kProductName[] = "オルヴァ";
constexpr int kStartWidth = 244;
constexpr int kStartHeight = 29;

void placeFromSettings(ShellState& s) {
  const Settings& saved = s.settings;
  const HWND band = s.alwaysOnTop ? HWND_TOPMOST : HWND_TOP;
  SetWindowPos(s.mainWindow, band, saved.windowLeft, saved.windowTop, saved.windowWidth, saved.windowHeight,
               SWP_SHOWWINDOW);
  // The layout moves the lyrics window to its docked place right after.
  UINT lyricsFlags = s.lyricsVisible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
  if (!s.alwaysOnTop) lyricsFlags |= SWP_NOZORDER;
  SetWindowPos(s.lyricsWindow, s.alwaysOnTop ? HWND_TOPMOST : nullptr, saved.windowLeft, saved.windowTop,
               saved.windowWidth, saved.windowHeight, lyricsFlags);
}

}  // namespace

void preparePaths(const char* programDirectory) {
  ShellState& s = shellState();
  if (programDirectory != nullptr) {
    copyText(s.programDirectory, sizeof s.programDirectory, programDirectory);
  } else {
    char module[kMaxPath] = {};
    GetModuleFileNameA(nullptr, module, sizeof module);
    // Cut at the last separator, stepping whole characters of the code page.
    char* cut = nullptr;
    for (char* p = module; *p != '\0'; p = CharNextA(p)) {
      if (*p == '\\') cut = p;
    }
    if (cut != nullptr) *cut = '\0';
    copyText(s.programDirectory, sizeof s.programDirectory, module);
  }
  std::snprintf(s.settingsPath, sizeof s.settingsPath, "%s\\%s", s.programDirectory, kSettingsFileName);
  SetCurrentDirectoryA(s.programDirectory);
}

void keepCommandLine(const char* commandLine) {
  ShellState& s = shellState();
  copyText(s.commandLine, sizeof s.commandLine, commandLine != nullptr ? commandLine : "");
  s.commandLinePresent = s.commandLine[0] != '\0' ? 1 : 0;
}

void sendCommandLine(HWND window, const char* text) {
  const CopyData payload = commandLinePayload(text);
  COPYDATASTRUCT data{};
  data.dwData = static_cast<ULONG_PTR>(payload.tag);
  data.cbData = payload.size;
  data.lpData = const_cast<void*>(payload.data);
  SendMessageA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

bool handOverToRunningInstance(const char* commandLine) {
  const HWND running = FindWindowA(kMainClassName, nullptr);
  if (running == nullptr) return false;
  if (commandLine != nullptr && commandLine[0] != '\0') {
    sendCommandLine(running, commandLine);
  } else {
    ShowWindow(running, SW_SHOW);
    SetForegroundWindow(running);
  }
  return true;
}

int32_t registerWindowClasses(HINSTANCE instance) {
  ShellState& s = shellState();
  engineInit();
  readVolumeBack();
  // Both channels take the left channel's level.
  engineSetVolume(s.volumeLeft, s.volumeLeft);
  engineSetEqualizer(nullptr);
  s.decoderSettings = DecoderSettings{6, 4, 1, 0};
  // Trackbars of the equalizer and mini windows.
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  createGdiResources();

  WNDCLASSA main{};
  main.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  main.lpfnWndProc = mainWindowProc;
  main.hInstance = instance;
  main.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_ORVA));
  main.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  main.hbrBackground = gdiResources().faceBrush;
  main.lpszClassName = kMainClassName;
  if (RegisterClassA(&main) == 0) return 0;

  WNDCLASSA lyrics = main;
  lyrics.lpfnWndProc = lyricsWindowProc;
  lyrics.hbrBackground = nullptr;
  lyrics.lpszClassName = kLyricsClassName;
  return RegisterClassA(&lyrics) != 0 ? 1 : 0;
}

void unregisterWindowClasses(HINSTANCE instance) {
  UnregisterClassA(kMainClassName, instance);
  UnregisterClassA(kLyricsClassName, instance);
}

void centerWindow(HWND window) {
  RECT r;
  RECT desktop;
  GetWindowRect(window, &r);
  GetWindowRect(GetDesktopWindow(), &desktop);
  const int x = (r.left + desktop.right - r.right) / 2;
  const int y = (r.top + desktop.bottom - r.bottom) / 2;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
}

int32_t createMainWindows(HINSTANCE instance) {
  ShellState& s = shellState();
  s.appInstance = instance;
  const HWND main = CreateWindowExA(WS_EX_WINDOWEDGE | WS_EX_TOOLWINDOW, kMainClassName, kProductName,
                                    WS_POPUP | WS_SYSMENU | WS_THICKFRAME, CW_USEDEFAULT, CW_USEDEFAULT, kStartWidth,
                                    kStartHeight, nullptr, nullptr, instance, nullptr);
  if (main == nullptr) return 0;
  s.equalizerWindow = createEqualizerWindow(instance, main);
  s.lyricsWindow = CreateWindowExA(WS_EX_TOOLWINDOW, kLyricsClassName, "LYDLG", WS_POPUP | WS_SYSMENU, CW_USEDEFAULT,
                                   CW_USEDEFAULT, kStartWidth, kStartHeight, nullptr, nullptr, instance, nullptr);

  if (s.saveSettingsEnabled) {
    placeFromSettings(s);
  } else {
    centerWindow(main);
  }
  InvalidateRect(s.lyricsWindow, nullptr, TRUE);
  if (s.equalizerVisible && s.equalizerWindow != nullptr) ShowWindow(s.equalizerWindow, SW_SHOW);
  std::srand(static_cast<unsigned>(std::time(nullptr)));

  layoutMainWindow(SIZE_RESTORED);
  ShowWindow(main, SW_SHOW);
  // The placement above, which also shows the windows, leaves them out of
  // the topmost band under Wine; asked again once they are shown, they go.
  if (s.alwaysOnTop) {
    SetWindowPos(main, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(s.lyricsWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  UpdateWindow(main);
  UpdateWindow(s.lyricsWindow);
  RECT client;
  GetClientRect(main, &client);
  s.clientWidth = client.right;
  s.clientHeight = client.bottom;

  addTrayIcon();
  s.taskbarWindow = FindWindowA("Shell_TrayWnd", nullptr);
  return 1;
}

int runMessageLoop() {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

int runPlayer(HINSTANCE instance, const char* commandLine) {
  shellState().appInstance = instance;
  if (handOverToRunningInstance(commandLine)) return 0;
  keepCommandLine(commandLine);
  preparePaths(nullptr);
  if (registerWindowClasses(instance) == 0) return 0;
  if (createMainWindows(instance) == 0) return 0;
  return runMessageLoop();
}

}  // namespace orva
