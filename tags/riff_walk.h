// The RIFF chunk walk that finds the audio inside a RIFF MP3 or WAVE file,
// learns its format class and collects the INFO text.
#pragma once

#include <cstdint>

#include "orva_engine.h"
#include "platform/file.h"
#include "tags/byte_io.h"

namespace orva {

// The INFO text records of the engine interface.
using ::InfoText;
using ::InfoTextLong;

inline constexpr int kInfoSlotCount = 14;
inline constexpr int kInfoLongSlotCount = 17;
// The slot ids in slot order.
extern const char* const INFO_SLOT_IDS[kInfoSlotCount];
extern const char* const INFO_LONG_SLOT_IDS[kInfoLongSlotCount];

struct ChunkWalkResult {
  int32_t formatClass;  // 0 MPEG or no fmt seen, 1 PCM, -1 other or broken
  int32_t listOffset;   // offset of the LIST chunk header, 0 when none
  int32_t listSize;
};

// The first 18 bytes of the last "fmt " payload seen by a walk.
struct WaveFormatRecord {
  uint16_t formatTag;
  uint16_t channels;
  uint32_t samplesPerSecond;
  uint32_t averageBytesPerSecond;
  uint16_t blockAlign;
  uint16_t bitsPerSample;
  uint16_t extraSize;
};

// Everything one walk learned.
struct RiffWalk {
  ChunkWalkResult result;
  WaveFormatRecord format;
  bool formatSeen;
  bool listIsInfo;     // the LIST chunk after the audio has type "INFO"
  int64_t listOffset;  // as in result, 0 when none
  int64_t listSize;
};

// ENGINE_OK when a "data" chunk was found, else ENGINE_ERR_RIFF_WALK (the
// walk's result still tells what was seen). audioStart/audioSize are in/out:
// the caller passes 0 and the file size. The data size is limited to the
// chunk size and to the bytes the file holds behind the chunk header.
int32_t walkRiffChunks(ByteSource& source, InfoText& info, int64_t& audioStart, int64_t& audioSize, RiffWalk& walk);

// The "data" chunk found by skipping chunks from offset 12 by their sizes
// (the writers' walk): its payload offset and its size limited to the bytes
// present. ENGINE_OK or ENGINE_ERR_READ.
int32_t findDataChunk(ByteSource& source, int64_t& payload, int64_t& size);

// The walk for the extended form: zero-fills `text`, stores up to 2047 bytes
// per slot; ENGINE_OK when a "data" chunk was found, ENGINE_ERR_RIFF_WALK
// when none was or the format is not MPEG.
int32_t readInfoLongFrom(ByteSource& source, InfoTextLong& text);

}  // namespace orva
