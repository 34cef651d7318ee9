// The INFO writer: gives a RIFF file a new LIST INFO chunk directly after its
// audio, ending with the ID3v1 tag (and the Lyrics3 block, when the file has
// one, placed by the lyrics placement mode). Whatever followed the audio
// before is replaced. The conversions build their LIST chunk here too.
#pragma once

#include <cstdint>
#include <memory>

#include "tags/byte_io.h"
#include "tags/lyrics3.h"
#include "tags/riff_walk.h"

namespace orva {

// Where an existing Lyrics3 block goes (the `placement` argument of the
// writers): 0 inside ILYC with the tag, 1 inside IID3 with the tag (ILYC
// keeps the text), 2 dropped. Other values are taken as 0.
inline int32_t validLyricsPlacement(int32_t mode) { return mode >= 0 && mode <= 2 ? mode : 0; }

// One INFO text sub-chunk: its id and its bytes (the NUL is added).
struct InfoField {
  const char* id;
  const char* text;
  int32_t length;
};

// A LIST INFO chunk assembled in memory: the text fields in order, the last
// of which is ILYC, then the tag carrier chosen by the placement mode.
class ListChunk {
 public:
  // `lyrics` may be empty. 0, or ENGINE_ERR_MEMORY when memory runs out.
  int32_t build(const InfoField* fields, int count, const LyricsCopy& lyrics, int32_t placement, const uint8_t* tag128);
  int64_t length() const { return used_ + tailLength_; }
  bool write(ByteSink& out) const;

 private:
  std::unique_ptr<uint8_t[]> head_;
  int64_t used_ = 0;
  const uint8_t* lyrics_ = nullptr;
  int64_t lyricsLength_ = 0;  // even
  uint8_t tag_[128] = {};
  int64_t tailLength_ = 0;
};

// ENGINE_OK, or the status code of the failure (ENGINE_ERR_OPEN,
// ENGINE_ERR_READ, ENGINE_ERR_WRITE, ENGINE_ERR_MEMORY, ENGINE_ERR_RIFF_KIND
// for a file that is not RIFF). The file is replaced whole or left as it was.
int32_t writeInfoFile(const char* path, const InfoText& text, int32_t placement);
int32_t writeInfoLongFile(const char* path, const InfoTextLong& text, int32_t placement);

// The new content of the RIFF file `old` with its LIST chunk rewritten, into
// `out`. `tagOverride` (128 bytes, or null) is written in place of the tag the
// file had. Returns 0, or the status code of the failure.
int32_t renderInfoRewrite(ByteSource& old, const InfoText& text, int32_t placement, const uint8_t* tagOverride,
                          ByteSink& out);
int32_t renderInfoLongRewrite(ByteSource& old, const InfoTextLong& text, int32_t placement, ByteSink& out);
// The same for any list of fields (ILYC last).
int32_t renderListRewrite(ByteSource& old, const InfoField* fields, int count, int32_t placement,
                          const uint8_t* tagOverride, ByteSink& out);

}  // namespace orva
