// The encoder's state machine on the host's thread: idle -> source open ->
// converting -> idle. A conversion's worker is joined by the next call that
// finds it ended, or by the engine's clean-up.
#include "engine/encoder_state.h"

#include <limits>
#include <new>
#include <system_error>

#include "engine/encoder_format_choice.h"
#include "engine/encoder_record.h"
#include "engine/status_register.h"
#include "platform/sleep.h"

namespace orva::encoder {
namespace {

// Detail codes of a source that cannot be used.
constexpr int32_t kDetailCannotOpen = 4;
constexpr int32_t kDetailNotRiff = 7;
constexpr int32_t kDetailNotWave = 8;
constexpr int32_t kDetailNoAudio = 9;

// Kept at exit while a conversion runs: a host may return from main during
// one, and the worker still uses the record until the process ends. Never a
// join here: on Windows this may run under the loader lock.
union KeptRecord {
  EncoderRecord value;
  KeptRecord() : value() {}
  ~KeptRecord() {
    if (value.running.load() != 0) return;
    if (value.thread.joinable()) value.thread.detach();
    value.~EncoderRecord();
  }
};
KeptRecord kept;

// Joins a worker that has ended; false while one still runs.
bool workerEnded(EncoderRecord& e) {
  if (e.running.load() != 0) return false;
  if (e.thread.joinable()) e.thread.join();
  return true;
}

int32_t clamp32(int64_t value) {
  return value > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                     : static_cast<int32_t>(value);
}

int32_t sourceFailure(EncoderRecord& e, int32_t detail) {
  e.source.close();
  setDetailCode(detail);
  return detail == kDetailCannotOpen ? ENGINE_ERR_WAVE_CREATE : ENGINE_ERR_NOT_WAVE;
}

// Every failed start leaves the encoder idle: source closed, the new file
// removed, the old destination as it was.
int32_t startFailure(EncoderRecord& e, int32_t status) {
  if (e.codec) e.codec->close();
  e.destination.reset();
  e.source.close();
  return status;
}

CodecStatus findCodec(EncoderRecord& e) {
  if (!e.codec) e.codec = makeEncoderCodec();
  if (!e.codec) return CodecStatus::NotInstalled;
  const CodecStatus found = e.codec->findCodec();
  if (found == CodecStatus::Ok && e.codec->formatCount() == 0) return CodecStatus::NoFormats;
  return found;
}

int32_t codecFailure(CodecStatus status) {
  if (status == CodecStatus::NotInstalled) return ENGINE_ERR_NO_CODEC;
  if (status == CodecStatus::NoFormats) return ENGINE_ERR_NO_CODEC_FORMAT;
  return ENGINE_ERR_CONVERSION_OPEN;
}

// The new file beside the destination, created now so that a destination
// that cannot be written fails the start.
bool createDestination(EncoderRecord& e, const char* path) {
  e.destinationPath = path;
  e.destination = std::make_unique<FileRewrite>(e.destinationPath.c_str());
  return e.destination->write(nullptr, 0);
}

int32_t openConversion(EncoderRecord& e) {
  const int32_t index = chooseLayer3Format(e.wave.channels, e.wave.samplesPerSecond);
  if (index < 0 || static_cast<size_t>(index) >= e.codec->formatCount()) return ENGINE_ERR_CONVERSION_OPEN;
  const CodecStatus opened = e.codec->openConversion(e.wave.format, static_cast<size_t>(index));
  return opened == CodecStatus::Ok ? ENGINE_OK : codecFailure(opened);
}

int32_t launchWorker(EncoderRecord& e) {
  if (!e.source.seek(e.wave.dataStart)) return ENGINE_ERR_READ;
  e.bytesRead.store(0);
  e.bytesWritten.store(0);
  e.stopRequested.store(false);
  e.result.store(RESULT_NONE);
  // Running from here on, so that an abort right after the start is heard.
  e.running.store(1);
  try {
    e.thread = std::thread([&e] { conversionThread(e); });
  } catch (const std::system_error&) {
    e.running.store(0);
    return ENGINE_ERR_ENCODER_THREAD;
  }
  return ENGINE_OK;
}

}  // namespace

EncoderRecord& encoderRecord() { return kept.value; }

void encoderSetUp() {
  encoderCleanUp();
  encoderRecord().result.store(RESULT_NONE);
}

void encoderCleanUp() {
  EncoderRecord& e = encoderRecord();
  e.stopRequested.store(true);
  if (e.thread.joinable()) e.thread.join();
  e.source.close();
  e.destination.reset();
  e.wave = WaveSource{};
  e.codec.reset();
}

int32_t openSource(const char* path, EncoderSourceInfo& info) {
  EncoderRecord& e = encoderRecord();
  if (!workerEnded(e) || e.source.isOpen()) return ENGINE_ERR_ENCODER_BUSY;
  if (path == nullptr || path[0] == '\0') return ENGINE_ERR_WAVE_CREATE;
  if (!e.source.open(path, platform::FileMode::Read)) return sourceFailure(e, kDetailCannotOpen);
  FileSource file(e.source);
  switch (walkWaveSource(file, e.wave)) {
    case SourceWalk::Ok: break;
    case SourceWalk::NotRiff: return sourceFailure(e, kDetailNotRiff);
    case SourceWalk::NotWave: return sourceFailure(e, kDetailNotWave);
    case SourceWalk::NoAudio: return sourceFailure(e, kDetailNoAudio);
  }
  info.channels = e.wave.channels;
  info.bitsPerSample = e.wave.bitsPerSample;
  info.samplesPerSecond = clamp32(e.wave.samplesPerSecond);
  info.dataSize = clamp32(e.wave.dataSize);
  return ENGINE_OK;
}

int32_t startConversion(const char* destination) {
  EncoderRecord& e = encoderRecord();
  if (!workerEnded(e) || !e.source.isOpen()) return ENGINE_ERR_ENCODER_BUSY;
  if (destination == nullptr || destination[0] == '\0') return startFailure(e, ENGINE_ERR_OPEN);
  try {
    e.sourceBuffer.resize(kSourceBufferSize);
    e.destinationBuffer.resize(kDestinationBufferSize);
    if (const CodecStatus found = findCodec(e); found != CodecStatus::Ok) return startFailure(e, codecFailure(found));
    if (!createDestination(e, destination)) return startFailure(e, ENGINE_ERR_OPEN);
  } catch (const std::bad_alloc&) {
    return startFailure(e, ENGINE_ERR_MEMORY);
  }
  if (const int32_t opened = openConversion(e); opened != ENGINE_OK) return startFailure(e, opened);
  if (const int32_t launched = launchWorker(e); launched != ENGINE_OK) return startFailure(e, launched);
  return ENGINE_OK;
}

int32_t abortConversion() {
  EncoderRecord& e = encoderRecord();
  if (e.running.load() == 0 || e.stopRequested.load()) return ENGINE_ERR_NO_CONVERSION;
  e.stopRequested.store(true);
  return ENGINE_OK;
}

int32_t conversionProgress(int32_t* bytesRead, int32_t* bytesWritten) {
  const EncoderRecord& e = encoderRecord();
  if (bytesRead != nullptr) *bytesRead = clamp32(e.bytesRead.load());
  if (bytesWritten != nullptr) *bytesWritten = clamp32(e.bytesWritten.load());
  return e.running.load();
}

int32_t lastConversionResult() { return encoderRecord().result.load(); }

}  // namespace orva::encoder
