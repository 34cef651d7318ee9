// From process entry to the message loop: the single-instance rule, the
// program's folder and settings path, the window classes, the windows and
// their first placement. The tests start the player in their own process
// through the same functions, with a folder of their own.
#pragma once

#include <windows.h>

#include <cstdint>

namespace orva {

inline constexpr char kMainClassName[] = "orva";
inline constexpr char kLyricsClassName[] = "orvaly";

// Where the program keeps "orva.ini" and "orva.m3u": the executable's
// folder, or `programDirectory` when given. Becomes the current directory.
void preparePaths(const char* programDirectory);
// Keeps the command line (the text after the program name).
void keepCommandLine(const char* commandLine);

// A running instance gets the command line, or comes to the front when
// there is none; true when there was one (this process then ends).
bool handOverToRunningInstance(const char* commandLine);
// WM_COPYDATA with the text and its NUL; waits for the receiver.
void sendCommandLine(HWND window, const char* text);

// The engine, the drawing kit and the two classes; nonzero on success.
int32_t registerWindowClasses(HINSTANCE instance);
void unregisterWindowClasses(HINSTANCE instance);
// The main, equalizer and lyrics windows, placed and shown, and the tray
// icon; 1 on success, 0 when the main window cannot be created.
int32_t createMainWindows(HINSTANCE instance);
void centerWindow(HWND window);

// Until WM_QUIT; its exit code.
int runMessageLoop();

// WinMain's body.
int runPlayer(HINSTANCE instance, const char* commandLine);

}  // namespace orva
