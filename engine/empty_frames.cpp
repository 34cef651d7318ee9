// engineCountLeadingEmptyFrames: walks a file frame by frame from its audio
// start and counts frames whose payload is nothing but 0xFF bytes. The file
// is opened and closed here; the engine's open stream is not touched, nor
// the decoder's stream state.
#include "engine/empty_frames.h"

#include <array>
#include <cstring>

#include "decoder/frame_header.h"
#include "engine/engine_state.h"
#include "engine/status_register.h"
#include "engine/stream_probe.h"
#include "tags/audio_start.h"

namespace orva {
namespace {

// First payload byte: after the header, its CRC and the Layer III side
// information (17 bytes per channel for MPEG-1, 9 otherwise).
int32_t payloadStart(const MpegFrameHeader& h) {
  int32_t start = 4 + (h.hasCrc ? 2 : 0);
  const int32_t channels = h.mode == 3 ? 1 : 2;
  if (h.layer == 3) start += channels * (h.version == 1 ? 17 : 9);
  return start;
}

bool payloadIsEmpty(const uint8_t* frame, int32_t frameLength, int32_t available, const MpegFrameHeader& h) {
  const int32_t end = frameLength < available ? frameLength : available;
  for (int32_t i = payloadStart(h); i < end; ++i) {
    if (frame[i] != 0xFF) return false;
  }
  return true;
}

}  // namespace

int32_t countLeadingEmptyFrames(const char* path, int32_t& status) {
  status = ENGINE_OK;
  platform::File file;
  if (path == nullptr || path[0] == '\0' || !file.open(path, platform::FileMode::Read)) {
    status = ENGINE_ERR_OPEN;
    return -1;
  }
  FileSource source(file);
  InfoText unused{};
  AudioLocation where{};
  status = locateAudio(source, unused, where);
  if (status != ENGINE_OK) return -1;
  int64_t position = where.start;

  static std::array<uint8_t, kProbeWindow> bytes;  // window thread only
  DecoderOptions options{};
  getDecoderOptions(options);
  // The frame holding a VBR header counts among the frames before the first
  // one with content, but is never itself taken for content.
  int32_t count = 0;
  for (;;) {
    // Running out of audio after at least one frame ends the count; only a
    // failure at the first frame is an error.
    const bool first = count == 0;
    int64_t got = file.seek(position) ? file.read(bytes.data(), kProbeWindow) : -1;
    if (got <= 0) {
      if (first) status = ENGINE_ERR_READ;
      return first ? -1 : count;
    }
    int32_t sync = 0;
    if (!findFrameSync(bytes.data(), static_cast<int32_t>(got), sync)) {
      if (first) status = ENGINE_ERR_NO_SYNC;
      return first ? -1 : count;
    }
    position += sync;
    got = file.seek(position) ? file.read(bytes.data(), kProbeWindow) : -1;
    MpegFrameHeader h{};
    if (got <= 0 || !readStreamHeader(bytes.data(), static_cast<int32_t>(got), options, h)) {
      if (first) status = got <= 0 ? ENGINE_ERR_READ : ENGINE_ERR_BAD_HEADER;
      return first ? -1 : count;
    }
    if (first) setDetailCode(h.vbrHeaderFrameSize);
    const int32_t length =
        first && h.vbrHeaderFrameSize > 0 ? h.vbrHeaderFrameSize : (h.padding ? h.maxFrameSize : h.minFrameSize);
    if (length <= 0) return count;
    const bool vbrFrame = first && h.vbrHeaderFrameSize > 0;
    if (!vbrFrame && !payloadIsEmpty(bytes.data(), length, static_cast<int32_t>(got), h)) {
      return count;
    }
    ++count;
    position += length;
  }
}

}  // namespace orva
