// The one contract between the encoder's worker thread and a Layer-3 codec.
// The build picks one implementation, as it picks the wave device: the Audio
// Compression Manager on Windows, libmp3lame elsewhere.
#ifndef ORVA_ENGINE_ENCODER_CODEC_H
#define ORVA_ENGINE_ENCODER_CODEC_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace orva::encoder {

enum class CodecStatus {
  Ok,
  NotInstalled,   // no codec of the expected name
  NoFormats,      // the codec lists no Layer-3 format
  CannotConvert,  // no conversion from this source to the chosen format
};

struct ConvertStep {
  bool ok = false;
  size_t sourceUsed = 0;       // bytes taken from the front of the source
  size_t destinationUsed = 0;  // bytes written to the front of the destination
};

// One codec session: find the codec, list its formats, open one conversion,
// feed it, close it. Calls come from one thread at a time.
class EncoderCodec {
 public:
  virtual ~EncoderCodec() = default;

  // Looks for the codec and lists its Layer-3 formats in the codec's order.
  virtual CodecStatus findCodec() = 0;
  virtual size_t formatCount() const = 0;

  // sourceFormat is the source's fmt chunk as the file holds it (16 bytes or
  // more). formatIndex is below formatCount().
  virtual CodecStatus openConversion(std::span<const uint8_t> sourceFormat, size_t formatIndex) = 0;

  // Converts whole source blocks into at most destination.size() bytes. With
  // atEnd the codec also flushes what it holds; the caller repeats the call
  // with atEnd until a step uses no source and produces nothing.
  virtual ConvertStep convert(std::span<const uint8_t> source, std::span<uint8_t> destination, bool atEnd) = 0;

  // Ends the conversion and lets the codec go; safe to call more than once.
  virtual void close() = 0;
};

std::unique_ptr<EncoderCodec> makeEncoderCodec();

}  // namespace orva::encoder

#endif
