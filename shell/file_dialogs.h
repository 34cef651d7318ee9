// The dialogs that add to the play list or save it: the open-file dialog,
// the folder browser with its subfolder check box, and "save list as".
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace orva {

// The files chosen are added; the first index added, or -1 (also when
// cancelled).
int32_t openFilesDialog(HWND owner);
// 1 with a folder in `out`, 2 when cancelled or empty.
int32_t browseForFolder(HWND owner, const char* initialFolder, char* out, size_t size);
// The folder chosen is scanned (with its subfolders when the box is
// checked); nothing starts playing.
void addFolderDialog(HWND owner);
// Asks for a name and a form (plain or extended) and saves the list; false
// on failure, for an empty list and when cancelled.
bool savePlaylistAsDialog(HWND owner);

}  // namespace orva
