// The Layer-3 codec of the Linux build: libmp3lame, with the formats of
// layer3FormatList() in its order. It takes 8- and 16-bit PCM, mono or
// stereo, at the list's rates, and encodes at the format's constant bit
// rate without a VBR header frame: the output is the bare stream.
//
// Each call hands lame at most kFramesPerCall sample frames, so what lame
// returns (at most 1.25 x frames + 7200 bytes) always fits the output buffer
// allocated at open; whatever the caller's destination cannot take is handed
// out by the next calls before more source is taken.
#include <lame/lame.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "engine/encoder_codec.h"
#include "engine/layer3_format_list.h"

namespace orva::encoder {
namespace {

constexpr size_t kFramesPerCall = 1152;
constexpr size_t kOutputCapacity = kFramesPerCall * 5 / 4 + 7200;
constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;

uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t le32(const uint8_t* p) { return le16(p) | (static_cast<uint32_t>(le16(p + 2)) << 16); }

struct PcmLayout {
  uint16_t channels = 0;
  uint32_t rate = 0;
  uint16_t bits = 0;
};

// Integer PCM the codec can take, from a fmt chunk; false otherwise. The
// extensible form counts when its sub-format is PCM.
bool readPcmLayout(std::span<const uint8_t> format, PcmLayout& out) {
  if (format.size() < 16) return false;
  const uint16_t tag = le16(format.data());
  const bool extensiblePcm = tag == kFormatExtensible && format.size() >= 26 && le16(format.data() + 24) == kFormatPcm;
  if (tag != kFormatPcm && !extensiblePcm) return false;
  out.channels = le16(format.data() + 2);
  out.rate = le32(format.data() + 4);
  out.bits = le16(format.data() + 14);
  const uint16_t blockAlign = le16(format.data() + 12);
  return (out.bits == 8 || out.bits == 16) && (out.channels == 1 || out.channels == 2) &&
         blockAlign == out.channels * out.bits / 8;
}

class LameCodec final : public EncoderCodec {
 public:
  ~LameCodec() override { close(); }

  CodecStatus findCodec() override { return CodecStatus::Ok; }
  size_t formatCount() const override { return layer3FormatList().size(); }

  CodecStatus openConversion(std::span<const uint8_t> sourceFormat, size_t formatIndex) override {
    close();
    PcmLayout pcm;
    if (formatIndex >= formatCount() || !readPcmLayout(sourceFormat, pcm)) return CodecStatus::CannotConvert;
    const Layer3Format& target = layer3FormatList()[formatIndex];
    if (target.channels != pcm.channels || target.samplesPerSecond != pcm.rate) return CodecStatus::CannotConvert;
    if (!allocateBuffers(pcm.channels)) return CodecStatus::CannotConvert;
    encoder_ = lame_init();
    if (encoder_ == nullptr || !configure(target)) {
      close();
      return CodecStatus::CannotConvert;
    }
    channels_ = pcm.channels;
    bytesPerSample_ = pcm.bits / 8;
    return CodecStatus::Ok;
  }

  ConvertStep convert(std::span<const uint8_t> source, std::span<uint8_t> destination, bool atEnd) override {
    ConvertStep step{encoder_ != nullptr, 0, 0};
    if (!step.ok) return step;
    step.destinationUsed = handOut(destination);
    if (pendingStart_ < pendingEnd_) return step;
    const size_t frameBytes = size_t{channels_} * bytesPerSample_;
    const size_t frames = std::min(source.size() / frameBytes, kFramesPerCall);
    int produced = 0;
    if (frames > 0) {
      produced = encodeFrames(source.first(frames * frameBytes), frames);
      step.sourceUsed = frames * frameBytes;
    } else if (atEnd && !flushed_) {
      produced = lame_encode_flush(encoder_, output_.data(), static_cast<int>(output_.size()));
      flushed_ = true;
    }
    if (produced < 0) return ConvertStep{};
    pendingStart_ = 0;
    pendingEnd_ = static_cast<size_t>(produced);
    step.destinationUsed += handOut(destination.subspan(step.destinationUsed));
    return step;
  }

  void close() override {
    if (encoder_ != nullptr) lame_close(encoder_);
    encoder_ = nullptr;
    pendingStart_ = pendingEnd_ = 0;
    flushed_ = false;
  }

 private:
  bool allocateBuffers(uint16_t channels) {
    try {
      samples_.resize(kFramesPerCall * channels);
      output_.resize(kOutputCapacity);
    } catch (const std::bad_alloc&) {
      return false;
    }
    return true;
  }

  bool configure(const Layer3Format& target) {
    lame_set_num_channels(encoder_, target.channels);
    lame_set_in_samplerate(encoder_, static_cast<int>(target.samplesPerSecond));
    lame_set_out_samplerate(encoder_, static_cast<int>(target.samplesPerSecond));
    lame_set_mode(encoder_, target.channels == 1 ? MONO : JOINT_STEREO);
    lame_set_VBR(encoder_, vbr_off);
    lame_set_brate(encoder_, target.kilobitsPerSecond);
    lame_set_bWriteVbrTag(encoder_, 0);
    return lame_init_params(encoder_) >= 0;
  }

  // Widens the source's samples to 16 bits (8-bit PCM is unsigned) and
  // encodes them; the bytes lame produced, or a negative lame error.
  int encodeFrames(std::span<const uint8_t> bytes, size_t frames) {
    const size_t count = frames * channels_;
    if (bytesPerSample_ == 1) {
      for (size_t i = 0; i < count; ++i) samples_[i] = static_cast<int16_t>((bytes[i] - 128) * 256);
    } else {
      for (size_t i = 0; i < count; ++i) samples_[i] = static_cast<int16_t>(le16(bytes.data() + 2 * i));
    }
    const int capacity = static_cast<int>(output_.size());
    if (channels_ == 1) {
      return lame_encode_buffer(encoder_, samples_.data(), samples_.data(), static_cast<int>(frames), output_.data(),
                                capacity);
    }
    return lame_encode_buffer_interleaved(encoder_, samples_.data(), static_cast<int>(frames), output_.data(),
                                          capacity);
  }

  // Copies held output into `destination`; the bytes copied.
  size_t handOut(std::span<uint8_t> destination) {
    const size_t n = std::min(destination.size(), pendingEnd_ - pendingStart_);
    if (n > 0) std::memcpy(destination.data(), output_.data() + pendingStart_, n);
    pendingStart_ += n;
    return n;
  }

  lame_global_flags* encoder_ = nullptr;
  uint16_t channels_ = 0;
  uint16_t bytesPerSample_ = 0;
  std::vector<short> samples_;
  std::vector<unsigned char> output_;
  size_t pendingStart_ = 0;
  size_t pendingEnd_ = 0;
  bool flushed_ = false;
};

}  // namespace

std::unique_ptr<EncoderCodec> makeEncoderCodec() { return std::make_unique<LameCodec>(); }

}  // namespace orva::encoder
