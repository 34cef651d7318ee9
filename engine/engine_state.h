// The engine's process-wide state: one engine per process, so every piece of
// mutable engine data lives in the one `EngineRecord` below. Touched by the
// entry points on the host's window thread (and, once playback exists, by
// the playback thread for the state and position fields).
#pragma once

#include <atomic>
#include <cstdint>

#include "decoder/encoder_gap.h"
#include "decoder/frame_header.h"
#include "engine/status_register.h"
#include "orva_engine.h"
#include "platform/file.h"
#include "tags/lyric_lines.h"

namespace orva {

inline constexpr int32_t kEngineVersion = 159;
inline constexpr int32_t kProbeWindow = 10240;  // bytes searched for the first frame sync
inline constexpr int32_t kPcmBlock = 4096;      // PCM bytes per step; 1024 for 8-bit
inline constexpr int32_t kPcmBlock8Bit = 1024;

struct EngineRecord {
  platform::File file;     // the open stream; closed when none is open
  int64_t audioStart = 0;  // first audio byte (the VBR header frame included)
  int64_t audioSize = 0;   // audio bytes after the tags are taken off
  int64_t fileSize = 0;
  MpegFrameHeader header{};  // first frame; filled by the engine itself for PCM WAVE
  int32_t pcmInput = 0;      // 1: RIFF WAVE PCM, played without decoding
  // Written by the playback thread, read by the host: hence atomic.
  std::atomic<int32_t> currentBitRate{0};  // bit/s of the last frame (bits per sample for PCM)
  DecoderSettings settings{30, 20, 5, 0};
  int32_t savedOutputBlock = 20;
  std::atomic<int32_t> state{ENGINE_STOPPED};
  std::atomic<int64_t> positionBase{0};  // sample at which the device's current run began
  double timeScale = 1.0;
  int32_t durationSeconds = 0;
  int32_t nominalDurationSeconds = 0;
  int32_t openDownsampleShift = 0;  // decoder option in force at the last MPEG open
  int32_t clampPosition = 1;
  int32_t gapless = 0;        // engineSetGapless: play only the encoded source
  EncoderGap gap{};           // the open stream's encoder delay and padding...
  bool hasGap = false;        // ...when its first frame carries them
  bool sleepsEnabled = true;  // off only in tests and fuzzing

  // The open file's tags as read at open; the ID3v1 writer refreshes them
  // when asked to.
  Id3v1Record id3v1{};  // texts trimmed, year 4 bytes + NUL
  bool hasId3v1 = false;
  InfoText infoText{};  // INFO text of a RIFF file

  // The lyric lines the host loaded, and the options of the lyrics calls.
  LyricList lyrics{};
  bool multiStampLines = false;
  bool lyricsUseMeasuredDuration = false;
  bool readLyrics3OnOpen = false;
  int32_t lyricsPlacement = 0;  // where the tag writers put a Lyrics3 block
};

extern EngineRecord gEngine;

// Sets the status register and returns 0, the failure result of most calls.
int32_t engineFail(int32_t status);

// Sleeps the given time unless a test switched the engine's sleeps off.
void engineSleep(int32_t milliseconds);

// The frame count as the unsigned 32-bit value a VBR header stores.
inline uint32_t frameCountOf(const MpegFrameHeader& header) { return static_cast<uint32_t>(header.frameCount); }

}  // namespace orva
