// The conversion thread. It reads the source's data chunk (and nothing after
// it) in steps of the source buffer, hands each step to the codec and writes
// what comes back. At the end of the data, or when asked to stop, it keeps
// calling the codec with the end flag until the codec has nothing left, so
// the stream ends on a whole frame and the tail of the source is encoded.
// Only then is the new file put in place of the destination.
#include <cstring>

#include "engine/encoder_record.h"
#include "engine/status_register.h"
#include "orva_engine.h"

namespace orva::encoder {
namespace {

// Steps of the end flush that produce output without using any source. A
// codec holds a few frames at the end; far more means it is stuck.
constexpr int kMaxFlushSteps = 1 << 16;

// Tops up the source buffer behind its unconsumed bytes from what is left of
// the data chunk. A file that has shrunk since it was opened ends the data.
int32_t refillSource(EncoderRecord& e, size_t& length, int64_t& left) {
  const int64_t room = static_cast<int64_t>(e.sourceBuffer.size() - length);
  const int64_t want = room < left ? room : left;
  if (want == 0) return ENGINE_OK;
  const int64_t got = e.source.read(e.sourceBuffer.data() + length, want);
  if (got < 0) return ENGINE_ERR_READ;
  if (got == 0) left = 0;
  length += static_cast<size_t>(got);
  left -= got;
  e.bytesRead.fetch_add(got);
  return ENGINE_OK;
}

// Writes what the codec produced; ENGINE_OK or the failure's status.
int32_t writeOutput(EncoderRecord& e, size_t count) {
  if (count == 0) return ENGINE_OK;
  if (!e.destination->write(e.destinationBuffer.data(), static_cast<int64_t>(count))) return ENGINE_ERR_WRITE;
  e.bytesWritten.fetch_add(static_cast<int64_t>(count));
  return ENGINE_OK;
}

// cutShort: a stop came while source was left.
int32_t convertSource(EncoderRecord& e, bool& cutShort) {
  size_t length = 0;
  int64_t left = e.wave.dataSize;
  int flushSteps = 0;
  for (;;) {
    const bool stopping = e.stopRequested.load();
    if (stopping && (left > 0 || length > 0)) cutShort = true;
    if (!stopping) {
      if (const int32_t read = refillSource(e, length, left); read != ENGINE_OK) return read;
    }
    // After a stop the rest of the source is left out; the codec only ends
    // the stream on what it already has.
    const bool atEnd = stopping || left == 0;
    const std::span<const uint8_t> source(e.sourceBuffer.data(), stopping ? 0 : length);
    const ConvertStep step = e.codec->convert(source, e.destinationBuffer, atEnd);
    if (!step.ok || step.sourceUsed > source.size() || step.destinationUsed > e.destinationBuffer.size()) {
      return ENGINE_ERR_CONVERSION_OPEN;
    }
    if (const int32_t written = writeOutput(e, step.destinationUsed); written != ENGINE_OK) return written;
    std::memmove(e.sourceBuffer.data(), e.sourceBuffer.data() + step.sourceUsed, source.size() - step.sourceUsed);
    length = source.size() - step.sourceUsed;
    const bool idle = step.sourceUsed == 0 && step.destinationUsed == 0;
    if (atEnd && idle) return ENGINE_OK;
    // A full buffer the codec takes nothing from would never drain.
    if (!atEnd && idle && length == e.sourceBuffer.size()) return ENGINE_ERR_CONVERSION_OPEN;
    if (atEnd && step.sourceUsed == 0 && ++flushSteps > kMaxFlushSteps) return ENGINE_ERR_CONVERSION_OPEN;
  }
}

}  // namespace

void conversionThread(EncoderRecord& e) {
  bool cutShort = false;
  int32_t status = convertSource(e, cutShort);
  e.codec->close();
  e.source.close();
  if (status == ENGINE_OK && !e.destination->commit()) status = ENGINE_ERR_WRITE;
  e.destination.reset();  // removes the new file unless it is in place
  if (status != ENGINE_OK) setStatus(status);
  e.result.store(status != ENGINE_OK ? RESULT_FAILED : (cutShort ? RESULT_ABORTED : RESULT_FINISHED));
  e.bytesRead.store(0);
  e.bytesWritten.store(0);
  e.running.store(0);
}

}  // namespace orva::encoder
