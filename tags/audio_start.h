// Where the audio of a file lies: the trailing tags (ID3v1, Lyrics3) taken
// off its length, the RIFF chunks walked, and an ID3v2 tag or a 128-byte
// leading header stepped over. The engine's open, the file information read
// and the empty-frame count all start here, so that one file is never read
// three different ways. Called on the host's window thread.
#pragma once

#include <cstdint>

#include "tags/byte_io.h"
#include "tags/riff_walk.h"

namespace orva {

struct AudioLocation {
  int64_t fileSize;
  int64_t start;          // where the first frame is searched from (PCM: the samples)
  int64_t size;           // audio bytes from `start`, never past the end of the file
  bool riff;              // the file begins "RIFF"; `walk` says what the walk saw
  bool pcm;               // RIFF WAVE with PCM samples: there is no frame to find
  bool id3v2;             // an ID3v2 tag was stepped over
  int64_t id3v2Start;     // where that tag begins
  bool leadingHeader;     // the first byte is 0: the audio starts 128 bytes in
  bool hasId3v1;          // the last 128 bytes begin "TAG"
  int64_t lyrics3Length;  // of the Lyrics3 block in front of the tag, 0 when none
  RiffWalk walk;
};

// Fills `where` (and `info` with a RIFF file's INFO text, zeroed otherwise).
// ENGINE_OK; ENGINE_ERR_READ when the first four bytes cannot be read;
// ENGINE_ERR_RIFF_WALK when a RIFF file has no data chunk or a format that
// is neither MPEG nor PCM.
int32_t locateAudio(ByteSource& source, InfoText& info, AudioLocation& where);

}  // namespace orva
