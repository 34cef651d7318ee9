// The main window's own controls: the nine owner-drawn buttons and the
// three statics that act as title line, seek bar and volume bar. Their
// procedures replace the controls' own and pass on what they do not use.
#pragma once

#include <windows.h>

#include <cstdint>

namespace orva {

// Subclasses the nine buttons and the three statics of the main window.
void installControlProcedures();
// Puts the controls' own procedures back (at shutdown).
void removeControlProcedures();
// The folder browser's check box shares the buttons' procedure.
void subclassCheckBox(HWND checkBox);

// WM_DRAWITEM of one of the ten buttons (the nine and the close button).
void drawOwnedButton(const DRAWITEMSTRUCT& item);

// The title line's text (at most 1,000 bytes, cut on a character); repaints
// only when it changed.
void setTitleText(const char* text);
void invalidateSeekBar();
void invalidateVolumeBar();

}  // namespace orva
