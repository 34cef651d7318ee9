// The file information read for play list entries: the ID3v1 tag, the MPEG
// summary of the first frame and the RIFF INFO text, from at most a few KB
// of the file (the first 1,024 bytes of audio, the tag, the Lyrics3 block's
// header and the RIFF chunk headers).
#pragma once

#include "playlist/playlist_entry.h"

namespace orva {

// A FileInfoReader: 1 when the file holds MPEG audio (bare, after an ID3v2
// tag, or inside a RIFF container whose format is MPEG).
int32_t probeFileInfo(const char* path, Id3v1Record* tag, FileInfo* info, InfoText* infoText);

}  // namespace orva
