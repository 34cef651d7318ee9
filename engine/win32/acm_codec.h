// The Audio Compression Manager codec behind the encoder's codec contract.
// makeEncoderCodec() looks for the installed Layer-3 codec by its long name;
// tests ask for another name to see a codec that is not installed.
#ifndef ORVA_ENGINE_WIN32_ACM_CODEC_H
#define ORVA_ENGINE_WIN32_ACM_CODEC_H

#include <memory>

#include "engine/encoder_codec.h"

namespace orva::encoder {

// The long name the installed Layer-3 encoder reports.
inline constexpr char kAcmLayer3CodecName[] = "Fraunhofer IIS MPEG Layer-3 Codec (professional)";

// longName must outlive the codec.
std::unique_ptr<EncoderCodec> makeAcmCodecLookingFor(const char* longName);

}  // namespace orva::encoder

#endif
