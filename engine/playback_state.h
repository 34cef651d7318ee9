// The playback part of the engine record: the buffers the playback thread
// owns while it runs, the thread itself, its message queue, and the values
// the host's thread and the playback thread share (all atomic).
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

#include "decoder/encoder_gap.h"
#include "engine/thread_messages.h"
#include "orva_engine.h"
#include "output/byte_buffer.h"
#include "platform/file.h"

namespace orva {

enum OutputMode : int32_t {
  OUTPUT_PLAY = 0,           // the device only
  OUTPUT_FILE = 1,           // a WAV file only, no device
  OUTPUT_PLAY_AND_FILE = 2,  // both
};

struct PlaybackRecord {
  // Sized at play time; the playback thread's while it runs.
  ByteBuffer input;
  int32_t inputSize = 0;
  int32_t readPos = 0;  // next unread byte of the input buffer
  int32_t unread = 0;
  ByteBuffer output;
  int32_t block = 0;  // bytes of one output queue block
  int64_t pcmBytesRead = 0;
  platform::File wave;  // the WAV file of the file modes
  // Gapless trimming, set at play time: the source within the decoded
  // output, and the output samples decoded since the first audio frame.
  bool trimming = false;
  SourceSpan span{};
  int64_t decodedSamples = 0;

  std::atomic<int32_t> outputMode{OUTPUT_PLAY};
  std::atomic<int64_t> waveBytes{0};      // PCM bytes written to the WAV file
  std::atomic<int32_t> positionCache{0};  // last position in seconds handed out
  std::atomic<int64_t> startSeek{-1};     // where the next thread starts; -1: the beginning

  EngineMessageQueue messages;  // open while the thread takes messages
  std::thread thread;
  std::atomic<bool> threadDone{true};

  std::atomic<EngineCallback> callback{nullptr};
  std::atomic<int32_t> callbackEnabled{0};

  // Fade-out before a stop (engineFadeOutAndStop).
  std::atomic<int32_t> fadeOut{0};
  std::atomic<int32_t> fadeLeft{0}, fadeRight{0};
  std::atomic<int32_t> savedLeft{0}, savedRight{0};

  std::atomic<int32_t> outputOpened{0};  // playback opened the device at least once
  int32_t cueMode = 0;
  int32_t platformNt = 0;

  // A thread that ended by itself is joined only by the next call; a host
  // that leaves first must not end the process in std::terminate. Never a
  // join here: on Windows this may run under the loader lock.
  ~PlaybackRecord() {
    if (thread.joinable()) thread.detach();
  }
};

extern PlaybackRecord& gPlayback;

// Calls the host's callback when it is enabled (playback thread).
void notifyEngineEvent(int32_t event, int32_t value);

}  // namespace orva
