// Fuzz target: arbitrary bytes as the encoder's source file, walked for its
// fmt and data chunks. Whatever the walk accepts must lie inside the bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/encoder_source.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  orva::MemorySource source(data, static_cast<int64_t>(size));
  orva::encoder::WaveSource wave;
  if (orva::encoder::walkWaveSource(source, wave) != orva::encoder::SourceWalk::Ok) return 0;
  const auto total = static_cast<int64_t>(size);
  const bool inside = wave.dataStart >= 20 && wave.dataSize >= 0 && wave.dataStart <= total &&
                      wave.dataSize <= total - wave.dataStart && wave.dataSize <= wave.declaredDataSize;
  const bool formatSane =
      wave.format.size() >= orva::encoder::kMinFormatChunk && wave.format.size() <= orva::encoder::kMaxFormatChunk;
  if (!inside || !formatSane) std::abort();
  return 0;
}
