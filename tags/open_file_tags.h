// The tags of the file the engine has open, as read when it was opened. The
// tag code owns them; the engine clears them at every open; the ID3v1 writer
// refreshes them when the edited file is the one playing.
#pragma once

#include "engine/orva_engine.h"
#include "tags/riff_walk.h"

namespace orva {

struct OpenFileTags {
  Id3v1Record id3v1;  // texts trimmed, year 4 bytes + NUL
  bool hasId3v1;
  InfoText info;      // INFO text of a RIFF file
};

OpenFileTags& openFileTags();
void clearOpenFileTags();

}  // namespace orva
