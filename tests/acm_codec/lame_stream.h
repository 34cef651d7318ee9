// One conversion stream of the test codec: 8- or 16-bit PCM into libmp3lame, its
// Layer-3 output held in a small queue so that a destination buffer of any
// size can take it in pieces.
#ifndef ORVA_TESTS_ACM_CODEC_LAME_STREAM_H
#define ORVA_TESTS_ACM_CODEC_LAME_STREAM_H

#include <cstddef>
#include <cstdint>

namespace orva::acmdriver {

struct LameStreamSettings {
  unsigned channels;
  unsigned bitsPerSample;  // 8 (unsigned samples) or 16
  unsigned samplesPerSecond;
  unsigned kilobitsPerSecond;
};

struct LameStep {
  bool ok = false;
  size_t sourceUsed = 0;
  size_t destinationUsed = 0;
};

class LameStream;

// Null when lame refuses the settings or memory runs out.
LameStream* lameStreamOpen(const LameStreamSettings& settings);
void lameStreamClose(LameStream* stream);

// Encodes whole sample frames of source while the destination has room,
// after first handing out what earlier steps left queued. With atEnd, once
// the source holds less than one sample frame, lame's last frames are
// flushed; after that a step takes and gives nothing.
LameStep lameStreamConvert(LameStream& stream, const uint8_t* source, size_t sourceSize, uint8_t* destination,
                           size_t destinationSize, bool atEnd);

// The most bytes the stream can give for this much source, flush included.
size_t lameStreamWorstOutput(size_t sourceBytes, unsigned frameBytes);

}  // namespace orva::acmdriver

#endif
