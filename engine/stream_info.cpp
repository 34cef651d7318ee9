// The file information of the open stream, taken from the engine's copy of
// the first frame's header (or the header the engine made for PCM WAVE).
#include "engine/stream_info.h"

#include "decoder/units.h"
#include "engine/engine_state.h"
#include "engine/gapless.h"
#include "engine/stream_probe.h"
#include "tags/file_info.h"

namespace orva {

int32_t fillHeaderInfo(FileInfo& info) {
  if (!gEngine.file.isOpen()) return ENGINE_ERR_NOT_OPEN;
  MpegFrameHeader& h = gEngine.header;
  // A stream without a frame count gets the estimate, and keeps it.
  if (h.frameCount == 0 && h.minFrameSize > 0) {
    h.frameCount = units::clampToInt32(gEngine.audioSize / h.minFrameSize);
  }
  fillFileInfo(h, gEngine.fileSize, gEngine.audioSize, info);
  return ENGINE_OK;
}

int32_t totalSamples() { return units::clampToInt32(streamTotalSamples()); }

int32_t currentKbps() {
  const int32_t rate = gEngine.currentBitRate.load();
  return gEngine.pcmInput ? rate : rate / 1000;
}

}  // namespace orva
