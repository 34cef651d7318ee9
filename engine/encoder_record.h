// The encoder's process-wide record: the source, the destination being
// written, the codec session, the worker thread and the values the worker
// and the host's thread share (all atomic). The host's thread owns the rest
// while no conversion runs; the worker owns it while one does.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/encoder_codec.h"
#include "engine/encoder_source.h"
#include "platform/file.h"
#include "tags/file_rewrite.h"

namespace orva::encoder {

// The worker's step sizes: source bytes read per step and codec output
// taken per step.
inline constexpr size_t kSourceBufferSize = 8192;
inline constexpr size_t kDestinationBufferSize = 2048;

// What the last conversion came to (encoderGetResult).
enum ConversionResult : int32_t {
  RESULT_NONE = -1,     // none has ended since the last start (or ever)
  RESULT_FAILED = 0,    // nothing was put in place; the status code says why
  RESULT_FINISHED = 1,  // the whole source is encoded and in place
  RESULT_ABORTED = 2,   // stopped early; what was encoded is in place
};

struct EncoderRecord {
  platform::File source;
  WaveSource wave;
  std::unique_ptr<EncoderCodec> codec;
  std::string destinationPath;               // kept while the rewrite refers to it
  std::unique_ptr<FileRewrite> destination;  // the new file beside the destination
  std::vector<uint8_t> sourceBuffer;         // allocated at the first start, kept
  std::vector<uint8_t> destinationBuffer;
  std::thread thread;

  // 1 from the start until the destination is in place (or given up).
  std::atomic<int32_t> running{0};
  std::atomic<bool> stopRequested{false};
  std::atomic<int64_t> bytesRead{0};
  std::atomic<int64_t> bytesWritten{0};
  std::atomic<int32_t> result{RESULT_NONE};
};

EncoderRecord& encoderRecord();

// The conversion thread's body: converts, puts the destination in place or
// gives it up, and clears the running flag last.
void conversionThread(EncoderRecord& e);

}  // namespace orva::encoder
