// Layer I and Layer II decoding (MPEG-1, MPEG-2 and MPEG-2.5): bit
// allocation compiled into a list of per-entry operations, scale factors
// folded into each entry's factor, and the sample loop that dequantises into
// the synthesis input. Entered through the handlers that startDecoding
// installs; runs on the playback thread.
#pragma once

#include <cstdint>

#include "decoder/decoder.h"

namespace orva {

// Largest frame the handlers copy: Layer II at 384 kbit/s over the lowest
// sampling rate a stream can start with (8000 Hz) is 6913 bytes.
constexpr int32_t kLayer12FrameBytes = 8192;
// Most bits a frame's syntax can ask for, whatever its length says: 64
// entries of allocation, scfsi and three scale factors, and 12 granules of
// 48 bits each. A damaged frame reads zeros there instead of past the buffer.
constexpr int32_t kLayer12DemandBytes = (64 * 4 + 64 * 2 + 64 * 18 + 64 * 12 * 48) / 8 + 64;

// What the sample loop does for one entry (one subband of one channel).
enum Layer12OpKind : uint8_t {
  L12_ZERO = 0,      // no allocation: the entry's samples are zero
  L12_PLAIN,         // one code per sample
  L12_GROUPED,       // Layer II: one code per three samples (3, 5 or 9 levels)
  L12_SHARED_PLAIN,  // above the joint-stereo bound: one code for both channels
  L12_SHARED_GROUPED,
  L12_SKIP,  // skip the bits of every entry from here on and end
  L12_END,
};

struct Layer12Op {
  uint8_t kind;
  uint8_t bits;          // per code
  uint8_t entry;         // sample index within a slot (the left one when shared)
  float offset;          // (levels - 1) / 2 for plain codes
  float scaled[3];       // factor x scale factor multiplier, per part
  float scaledRight[3];  // the right channel's, when shared
  // Layer II grouped codes: the degrouping table of the class.
  const int8_t* degroup;
};

struct Layer12State {
  int32_t layer;
  int32_t channels;        // of the stream: 1 for single channel, else 2
  int32_t limitSubbands;   // decoding limit in subbands, before the table's count
  int32_t tableFixed;      // Layer II table of the stream (MPEG-2/2.5: 4), -1 when by frame
  int32_t dirtyEntries;    // entries of the sample buffer that may hold values
  int32_t writtenEntries;  // entries the current frame's operations write
  int32_t skipBits;        // of the current frame, per slot or granule
  int32_t opCount;
  Layer12Op ops[65];
  uint8_t allocation[64];
  uint8_t scfsi[64];
  uint8_t scalefactor[64][3];
  alignas(16) float samples[36 * 64];
  alignas(16) uint8_t frame[kLayer12FrameBytes + kLayer12DemandBytes + 16];
};

bool prepareLayer1(const MpegFrameHeader& header);
bool prepareLayer2(const MpegFrameHeader& header);
void layer1Handler(FrameDecodeJob& job, const uint8_t* frame, uint8_t* output);
void layer2Handler(FrameDecodeJob& job, const uint8_t* frame, uint8_t* output);
void initLayer12Tables();

// MPEG-1 Layer II allocation table (0..3) for a mode, sampling-rate index and
// bitrate index; -1 where the standard allows no Layer II stream (or for an
// index outside the tables).
int32_t l2SelectTable(int32_t mode, int32_t sampleRateIndex, int32_t bitrateIndex);
// The table the bitrate per channel points to, for every combination
// (what the decoder uses where l2SelectTable says -1).
int32_t l2TableByChannelRate(int32_t mode, int32_t sampleRateIndex, int32_t bitrateIndex);

// Computed tables (exposed for tests).
struct Layer12Tables {
  float layer1Factor[16];  // [allocation]: 2 / (2^(allocation + 1) - 1); 0 for none
  float classFactor[18];   // [class]: 2 / levels
  float multiplier[64];    // 65536 x 2^(-i / 3)
  int8_t degroup3[32 * 3];
  int8_t degroup5[128 * 3];
  int8_t degroup9[1024 * 3];
};
extern Layer12Tables gL12Tables;

// Per Layer II class 1..17: levels and bits of a granule of three samples.
extern const int32_t kLayer2ClassLevels[18];
extern const uint8_t kLayer2ClassBits[18];

}  // namespace orva
