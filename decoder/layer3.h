// Layer III decoding (MPEG-1, MPEG-2 and MPEG-2.5): bit reservoir, side
// information, scale factors, Huffman decoding, requantisation, stereo
// processing, alias reduction, IMDCT and the granule output routines.
// Entered through the Layer III handler that startDecoding installs; runs
// on the playback thread.
#pragma once

#include <cstdint>

#include "decoder/decoder.h"

namespace orva {

struct GranuleChannelInfo {
  int32_t part2_3_length;
  int32_t big_values;
  int32_t global_gain;
  int32_t scalefac_compress;
  int32_t window_switching_flag;
  int32_t block_type;
  int32_t mixed_block_flag;
  int32_t table_select[3];
  int32_t subblock_gain[3];
  int32_t region0_count;
  int32_t region1_count;
  int32_t preflag;
  int32_t scalefac_scale;
  int32_t count1table_select;
};

struct SideInfo {
  int32_t main_data_begin;
  int32_t scfsi[2][4];
  GranuleChannelInfo gr[2][2];
};

// Scale factors of one granule and channel: long bands 0..21 at [0..21],
// short band b of window w at [3 * b + w]. For MPEG-2 intensity stereo the
// right channel also keeps each band's illegal (largest) position.
struct ScaleFactors {
  uint8_t l[22];
  uint8_t s[39];
  uint8_t isMaxLong[22];
  uint8_t isMaxShort[13];
};

constexpr int32_t kReservoirBytes = 8192;
constexpr int32_t kReservoirMoveAbove = 6692;

struct Layer3State {
  // The reservoir plus slack: the bit reader loads ahead, and a granule may
  // claim up to 4095 + 39 bits past where the data ends.
  uint8_t reservoir[kReservoirBytes + 4096];
  int32_t fill;
  int32_t mainDataStart;

  int32_t channels;        // of the stream: 1 for single channel, else 2
  int32_t mixedLongBands;  // 8 for MPEG-1, 6 for MPEG-2 and 2.5
  int32_t subbandLimit;
  int32_t longLimit;
  int32_t shortLimit;
  int32_t lineLimit;
  int32_t hybridSubbands;
  int32_t outputStereo;  // the synthesis writes two channels
  int32_t channelMode;   // outputFlags & 3

  SideInfo side;
  ScaleFactors scf[2][2];  // [granule][channel]
  int32_t intensityScale;  // MPEG-2: scalefac_compress & 1 of the right channel

  alignas(16) int32_t quantized[2][576 + 8];
  alignas(16) float spectrum[2][576 + 8];
  alignas(32) float overlap[2][576];     // [slot 0..17][subband 0..31]
  alignas(32) float hybrid[2][18 * 32];  // per output channel: [slot][subband]
  alignas(32) float scratch[576];
  int32_t bound[2];             // end of the non-zero spectrum, in lines
  int32_t overlapSubbands[2];   // subbands of the saved overlap that may be non-zero
  int32_t lastLongBand[2];      // last band with a non-zero value, -1 for none
  int32_t lastShortBand[2][3];  // per window
};

bool prepareLayer3(const MpegFrameHeader& header);
void layer3Handler(FrameDecodeJob& job, const uint8_t* frame, uint8_t* output);
void resetLayer3Reservoir();
void initLayer3Tables();

// Stages, in the order a granule goes through them (layer3_*.cpp).
int32_t l3ReadSideInfo(const uint8_t* bytes, int32_t version, int32_t mode, bool ms, SideInfo& side);
struct BitReader;
void l3ReadScaleFactors(BitReader& br, int32_t version, int32_t gr, int32_t ch, bool intensityRight);
// Returns false when the reader ran past the granule's data.
bool l3DecodeHuffman(BitReader& br, int32_t gr, int32_t ch, int32_t granuleEndBit, int32_t version, int32_t rateIndex);
void l3Requantize(int32_t gr, int32_t ch, int32_t version, int32_t rateIndex, bool ms);
void l3Stereo(int32_t gr, int32_t version, int32_t rateIndex, bool ms, bool intensity);
void l3AliasReduce(int32_t gr, int32_t ch);
void l3OutputGranule(int32_t gr, int32_t frameChannels, uint8_t* output, int32_t version, int32_t rateIndex);

}  // namespace orva
