#include "tests/acm_codec/driver_formats.h"

#include <cwchar>

#include "engine/layer3_format_list.h"

namespace orva::acmdriver {

namespace {

constexpr unsigned kPcmRates[] = {48000, 44100, 32000, 24000, 22050, 16000, 12000, 11025, 8000};
constexpr size_t kPcmRateCount = sizeof(kPcmRates) / sizeof(kPcmRates[0]);

// MPEG-1 frames hold 1152 samples, the lower rates' frames 576.
unsigned samplesPerFrame(unsigned samplesPerSecond) { return samplesPerSecond >= 32000 ? 1152 : 576; }

}  // namespace

// 16-bit stereo, 16-bit mono, then the same in 8 bits.
size_t pcmFormatCount() { return 4 * kPcmRateCount; }

WAVEFORMATEX pcmFormat(size_t index) {
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = (index / kPcmRateCount) % 2 == 0 ? 2 : 1;
  format.nSamplesPerSec = kPcmRates[index % kPcmRateCount];
  format.wBitsPerSample = index < 2 * kPcmRateCount ? 16 : 8;
  format.nBlockAlign = static_cast<WORD>(format.nChannels * format.wBitsPerSample / 8);
  format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
  return format;
}

bool isAcceptedPcm(const WAVEFORMATEX& format) {
  if (format.wFormatTag != WAVE_FORMAT_PCM || (format.wBitsPerSample != 16 && format.wBitsPerSample != 8)) return false;
  if (format.nChannels != 1 && format.nChannels != 2) return false;
  if (format.nBlockAlign != format.nChannels * format.wBitsPerSample / 8) return false;
  for (unsigned rate : kPcmRates) {
    if (format.nSamplesPerSec == rate) return true;
  }
  return false;
}

size_t layer3FormatCount() { return encoder::layer3FormatList().size(); }

MPEGLAYER3WAVEFORMAT layer3Format(size_t index) {
  const encoder::Layer3Format& entry = encoder::layer3FormatList()[index];
  const unsigned bytesPerSecond = entry.kilobitsPerSecond * 125u;
  MPEGLAYER3WAVEFORMAT format{};
  format.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
  format.wfx.nChannels = entry.channels;
  format.wfx.nSamplesPerSec = entry.samplesPerSecond;
  format.wfx.nAvgBytesPerSec = bytesPerSecond;
  format.wfx.nBlockAlign = 1;
  format.wfx.wBitsPerSample = 0;
  format.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
  format.wID = MPEGLAYER3_ID_MPEG;
  format.fdwFlags = MPEGLAYER3_FLAG_PADDING_ISO;
  format.nBlockSize =
      static_cast<WORD>(samplesPerFrame(entry.samplesPerSecond) * bytesPerSecond / entry.samplesPerSecond);
  format.nFramesPerBlock = 1;
  format.nCodecDelay = 0;
  return format;
}

int findLayer3Format(const WAVEFORMATEX& format) {
  if (format.wFormatTag != WAVE_FORMAT_MPEGLAYER3) return -1;
  const auto list = encoder::layer3FormatList();
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i].channels == format.nChannels && list[i].samplesPerSecond == format.nSamplesPerSec &&
        list[i].kilobitsPerSecond * 125u == format.nAvgBytesPerSec)
      return static_cast<int>(i);
  }
  return -1;
}

void describeLayer3Format(size_t index, WCHAR* text, size_t capacity) {
  const encoder::Layer3Format& entry = encoder::layer3FormatList()[index];
  std::swprintf(reinterpret_cast<wchar_t*>(text), capacity, L"%u kBit/s, %u Hz, %ls", entry.kilobitsPerSecond,
                entry.samplesPerSecond, entry.channels == 2 ? L"Stereo" : L"Mono");
}

}  // namespace orva::acmdriver
