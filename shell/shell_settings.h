// The settings file as the shell uses it: read into the live options (and
// the menu's check marks) while the main window is created, gathered from
// them and written, or the file deleted, while it is destroyed.
#pragma once

namespace orva {

void loadShellSettings();
// False when the file could not be written (the old one then stays).
bool saveShellSettings();

}  // namespace orva
