// The information dialog (template INFODLG): one play list entry's file, its
// MPEG summary and its ID3v1 tag or RIFF INFO text, edited and saved; it
// also creates a tag and converts between bare MPEG audio and RIFF MP3.
// Window thread; modal over `owner`.
#pragma once

#include <windows.h>

#include <cstdint>

namespace orva {

// Shows the dialog for the entry at `entryIndex`: 1 after a save, 2
// otherwise (also when the entry is gone or its file cannot be read).
int32_t showInfoDialog(HWND owner, int32_t entryIndex);

}  // namespace orva
