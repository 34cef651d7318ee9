// MPEG audio frame headers: parsing the four header bytes, finding a frame
// sync in a buffer, reading a stream's first frame (with its "Xing", "Info"
// or "VBRI" header), and the frame length rule the decoder walks by.
// Used by the engine when it opens a file, by the tag and conversion code to
// find the audio, and by the decoder for every frame. The parsing and
// scanning functions are pure: they neither read nor write the decoder's
// state, so a file can be probed on one thread while another one plays.
#pragma once

#include <cstdint>

#include "orva_engine.h"

namespace orva {

// The decoder's own error code; never mixed with the engine's status codes.
enum DecoderError : int32_t {
  DECODER_ERR_NONE = 0,
  DECODER_ERR_NO_SYNC = 3,
  DECODER_ERR_BAD_HEADER = 4,
  DECODER_ERR_NEED_DATA = 5,
};

// Fields 1-12 come from the header bytes; 13-22 only from readStreamHeader.
struct MpegFrameHeader {
  int32_t version;  // 1 MPEG-1, 2 MPEG-2, 3 MPEG-2.5
  int32_t layer;    // 1..3
  int32_t hasCrc;   // 1 when a 16-bit CRC follows the header
  int32_t bitrateIndex;
  int32_t sampleRateIndex;
  int32_t padding;
  int32_t privateBit;
  int32_t mode;  // 0 stereo, 1 joint stereo, 2 dual channel, 3 single channel
  int32_t modeExtension;
  int32_t copyright;
  int32_t original;
  int32_t emphasis;
  int32_t outputChannels;
  int32_t outputBits;
  int32_t outputSampleRate;
  int32_t bitrate;  // bit/s; 0 when the stream has a VBR header
  int32_t frameCount;
  int32_t vbrHeaderFrameSize;
  int32_t streamBytes;
  int32_t minFrameSize;
  int32_t maxFrameSize;
  int32_t outputBytesPerFrame;
};
static_assert(sizeof(MpegFrameHeader) == 22 * 4);

// The decoder's options are the interface's record: hosts set them as they
// are (downsampleShift 0 full, 1 half, 2 quarter rate; outputFlags bits 0-1
// channel mode, bit 3 8-bit output; bandwidthLimitHz).
using ::DecoderOptions;

inline constexpr int32_t kStreamHeaderMinBytes = 156;

// Fills fields 1-12 from bytes 0..3. On failure `error` (when given) gets
// DECODER_ERR_NO_SYNC or DECODER_ERR_BAD_HEADER.
bool parseFrameHeader(const uint8_t* bytes, MpegFrameHeader& header, int32_t* error = nullptr);
// The first sync candidate among bytes 0..length-4; false when there is
// none (for a decoder, DECODER_ERR_NEED_DATA).
bool findFrameSync(const uint8_t* bytes, int32_t length, int32_t& offset);
// Fills all fields from the frame at `bytes` (`length` valid bytes), the
// output format as `options` would make the decoder produce it. On failure
// `error` (when given) gets the reason.
bool readStreamHeader(const uint8_t* bytes, int32_t length, const DecoderOptions& options, MpegFrameHeader& header,
                      int32_t* error = nullptr);
uint32_t readBigEndian32(const uint8_t* bytes);

// The header a stream's first frame may carry in place of audio: "Xing"
// (variable bitrate), "Info" (the same layout for a constant bitrate) or
// "VBRI". A parsed header gives the byte offset where it would begin.
enum class VbrTag { None, Xing, Info, Vbri };
int32_t vbrTagOffset(const MpegFrameHeader& header);
// The kind of the four bytes at `tag`.
VbrTag vbrTagKind(const uint8_t* tag);
int32_t frameLength(const MpegFrameHeader& header, int32_t bitrate, int32_t streamSampleRate);

// Table lookups (0 for indices outside the tables).
int32_t bitrateKbps(int32_t version, int32_t layer, int32_t bitrateIndex);
int32_t sampleRateHz(int32_t version, int32_t sampleRateIndex);

int32_t getDecoderError();
void setDecoderError(int32_t error);
int32_t getDecoderOptions(DecoderOptions& out);
int32_t setDecoderOptions(const DecoderOptions& options);

// Remembered by startDecoding; decodeFrame walks by them.
int32_t streamSampleRate();
int32_t streamOutputBytesPerFrame();

}  // namespace orva
