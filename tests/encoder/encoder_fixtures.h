// Sources for the encoder tests, made here: tones and chirps as PCM WAVE
// files, written into a test's temporary folder, and the steps of a
// conversion through the public entry points.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "orva_engine.h"

namespace orva::test {

struct PcmShape {
  int channels = 2;
  int rate = 44100;
  int bits = 16;
};

// Interleaved samples of `frames` sample frames: a logarithmic chirp over
// the lower quarter of the band in the first channel and a steady tone with
// a slow tremolo in the second, so a swap or a mix of channels shows.
std::vector<int16_t> chirpSamples(const PcmShape& shape, int64_t frames);

// The samples as the data chunk stores them (8-bit: unsigned).
std::vector<uint8_t> pcmBytes(const std::vector<int16_t>& samples, int bits);

// A RIFF WAVE file: the fmt chunk, then `before`, the data chunk (padded to
// even length) and `after`, each raw chunk bytes.
std::vector<uint8_t> waveFile(const PcmShape& shape, const std::vector<uint8_t>& data,
                              const std::vector<uint8_t>& before = {}, const std::vector<uint8_t>& after = {});

// One chunk: id, size, payload and the pad byte of an odd size.
std::vector<uint8_t> chunk(const char* id, const std::vector<uint8_t>& payload);

// Polls encoderGetProgress until it returns 0 (at most `seconds`); false on
// time-out.
bool waitForConversion(double seconds = 60);

// encoderOpenSource + encoderStart + wait; the result of encoderGetResult, or
// -100 - status when a call failed.
int32_t encodeFile(const std::string& source, const std::string& destination);

// Files in `dir` (names only), to show that no temporary file is left.
std::vector<std::string> filesIn(const std::string& dir);

}  // namespace orva::test
