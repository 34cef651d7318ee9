// Placeholder until the codec is wired: reports that none is installed.
#include "engine/encoder_codec.h"

namespace orva::encoder {

namespace {

class AbsentCodec final : public EncoderCodec {
 public:
  CodecStatus findCodec() override { return CodecStatus::NotInstalled; }
  size_t formatCount() const override { return 0; }
  CodecStatus openConversion(std::span<const uint8_t>, size_t) override { return CodecStatus::CannotConvert; }
  ConvertStep convert(std::span<const uint8_t>, std::span<uint8_t>, bool) override { return {}; }
  void close() override {}
};

}  // namespace

std::unique_ptr<EncoderCodec> makeEncoderCodec() { return std::make_unique<AbsentCodec>(); }

}  // namespace orva::encoder
