// A Layer-3 encoder as an ACM driver, for the Windows test suite only (Wine
// has none): it reports the long name the engine looks for, lists the
// engine's Layer-3 formats in the engine's order and converts 8- or 16-bit PCM
// with libmp3lame. The ACM calls DriverProc on the caller's thread.
#include <algorithm>
#include <cstring>
#include <cwchar>

#include "tests/acm_codec/acm_driver_interface.h"
#include "tests/acm_codec/driver_formats.h"
#include "tests/acm_codec/lame_stream.h"

namespace orva::acmdriver {

namespace {

constexpr wchar_t kLongName[] = L"Fraunhofer IIS MPEG Layer-3 Codec (professional)";
constexpr wchar_t kShortName[] = L"Orva Layer-3 test";

// Format tag index 0 is PCM, 1 is MPEG Layer-3.
constexpr DWORD kFormatTags[] = {WAVE_FORMAT_PCM, WAVE_FORMAT_MPEGLAYER3};
constexpr DWORD kFormatTagCount = 2;

void copyText(WCHAR* target, size_t capacity, const wchar_t* text) {
  std::wcsncpy(reinterpret_cast<wchar_t*>(target), text, capacity - 1);
  target[capacity - 1] = 0;
}

LRESULT driverDetails(ACMDRIVERDETAILSW* details) {
  ACMDRIVERDETAILSW mine{};
  mine.cbStruct = sizeof(mine);
  mine.fccType = ACMDRIVERDETAILS_FCCTYPE_AUDIOCODEC;
  mine.fccComp = ACMDRIVERDETAILS_FCCCOMP_UNDEFINED;
  mine.vdwACM = 0x03320000;  // the ACM version 3.50 the driver was written against
  mine.vdwDriver = 0x01000000;
  mine.fdwSupport = ACMDRIVERDETAILS_SUPPORTF_CODEC;
  mine.cFormatTags = kFormatTagCount;
  copyText(mine.szShortName, ACMDRIVERDETAILS_SHORTNAME_CHARS, kShortName);
  copyText(mine.szLongName, ACMDRIVERDETAILS_LONGNAME_CHARS, kLongName);
  copyText(mine.szFeatures, ACMDRIVERDETAILS_FEATURES_CHARS,
           L"Test equipment: 8- and 16-bit PCM to Layer-3 with libmp3lame");
  const DWORD size = std::min<DWORD>(details->cbStruct, sizeof(mine));
  std::memcpy(details, &mine, size);
  details->cbStruct = size;
  return MMSYSERR_NOERROR;
}

int formatTagIndexOf(DWORD tag) {
  for (DWORD i = 0; i < kFormatTagCount; ++i) {
    if (kFormatTags[i] == tag) return static_cast<int>(i);
  }
  return -1;
}

LRESULT formatTagDetails(ACMFORMATTAGDETAILSW* details, DWORD query) {
  int index = -1;
  switch (query & ACM_FORMATTAGDETAILSF_QUERYMASK) {
    case ACM_FORMATTAGDETAILSF_INDEX:
      index = details->dwFormatTagIndex < kFormatTagCount ? static_cast<int>(details->dwFormatTagIndex) : -1;
      break;
    case ACM_FORMATTAGDETAILSF_FORMATTAG: index = formatTagIndexOf(details->dwFormatTag); break;
    case ACM_FORMATTAGDETAILSF_LARGESTSIZE:
      index = details->dwFormatTag == WAVE_FORMAT_UNKNOWN ? 1 : formatTagIndexOf(details->dwFormatTag);
      break;
    default: return MMSYSERR_NOTSUPPORTED;
  }
  if (index < 0) return ACMERR_NOTPOSSIBLE;
  const bool layer3 = index == 1;
  details->dwFormatTagIndex = static_cast<DWORD>(index);
  details->dwFormatTag = kFormatTags[index];
  details->cbFormatSize = layer3 ? sizeof(MPEGLAYER3WAVEFORMAT) : sizeof(PCMWAVEFORMAT);
  details->fdwSupport = ACMDRIVERDETAILS_SUPPORTF_CODEC;
  details->cStandardFormats = static_cast<DWORD>(layer3 ? layer3FormatCount() : pcmFormatCount());
  copyText(details->szFormatTag, ACMFORMATTAGDETAILS_FORMATTAG_CHARS, layer3 ? L"MPEG Layer-3" : L"PCM");
  return MMSYSERR_NOERROR;
}

LRESULT formatDetailsByIndex(ACMFORMATDETAILSW* details) {
  const DWORD index = details->dwFormatIndex;
  if (details->dwFormatTag == WAVE_FORMAT_PCM) {
    if (index >= pcmFormatCount()) return ACMERR_NOTPOSSIBLE;
    if (details->cbwfx < sizeof(PCMWAVEFORMAT)) return MMSYSERR_INVALPARAM;
    const WAVEFORMATEX format = pcmFormat(index);
    std::memcpy(details->pwfx, &format, std::min<DWORD>(details->cbwfx, sizeof(format)));
    details->szFormat[0] = 0;  // the ACM words PCM formats itself
    return MMSYSERR_NOERROR;
  }
  if (details->dwFormatTag != WAVE_FORMAT_MPEGLAYER3 || index >= layer3FormatCount()) return ACMERR_NOTPOSSIBLE;
  if (details->cbwfx < sizeof(MPEGLAYER3WAVEFORMAT)) return MMSYSERR_INVALPARAM;
  const MPEGLAYER3WAVEFORMAT format = layer3Format(index);
  std::memcpy(details->pwfx, &format, sizeof(format));
  describeLayer3Format(index, details->szFormat, ACMFORMATDETAILS_FORMAT_CHARS);
  return MMSYSERR_NOERROR;
}

LRESULT formatDetails(ACMFORMATDETAILSW* details, DWORD query) {
  details->fdwSupport = ACMDRIVERDETAILS_SUPPORTF_CODEC;
  switch (query & ACM_FORMATDETAILSF_QUERYMASK) {
    case ACM_FORMATDETAILSF_INDEX: return formatDetailsByIndex(details);
    case ACM_FORMATDETAILSF_FORMAT: {
      const WAVEFORMATEX& format = *details->pwfx;
      if (isAcceptedPcm(format)) {
        details->szFormat[0] = 0;
        return MMSYSERR_NOERROR;
      }
      const int index = findLayer3Format(format);
      if (index < 0) return ACMERR_NOTPOSSIBLE;
      describeLayer3Format(static_cast<size_t>(index), details->szFormat, ACMFORMATDETAILS_FORMAT_CHARS);
      return MMSYSERR_NOERROR;
    }
    default: return MMSYSERR_NOTSUPPORTED;
  }
}

// Only 8- or 16-bit PCM into a listed Layer-3 format of the same channels and
// rate; a query only asks whether the stream could be opened.
LRESULT streamOpen(StreamInstance* instance) {
  const WAVEFORMATEX& source = *instance->pwfxSrc;
  const WAVEFORMATEX& destination = *instance->pwfxDst;
  if (instance->pwfltr || !isAcceptedPcm(source)) return ACMERR_NOTPOSSIBLE;
  const int index = findLayer3Format(destination);
  if (index < 0 || destination.nChannels != source.nChannels || destination.nSamplesPerSec != source.nSamplesPerSec)
    return ACMERR_NOTPOSSIBLE;
  if (instance->fdwOpen & ACM_STREAMOPENF_QUERY) return MMSYSERR_NOERROR;
  if (instance->fdwOpen & ACM_STREAMOPENF_ASYNC) return ACMERR_NOTPOSSIBLE;
  const MPEGLAYER3WAVEFORMAT layer3 = layer3Format(static_cast<size_t>(index));
  LameStream* stream = lameStreamOpen(
      {source.nChannels, source.wBitsPerSample, source.nSamplesPerSec, layer3.wfx.nAvgBytesPerSec / 125});
  if (!stream) return MMSYSERR_NOMEM;
  instance->dwDriver = reinterpret_cast<DWORD_PTR>(stream);
  return MMSYSERR_NOERROR;
}

LRESULT streamClose(StreamInstance* instance) {
  lameStreamClose(reinterpret_cast<LameStream*>(instance->dwDriver));
  instance->dwDriver = 0;
  return MMSYSERR_NOERROR;
}

LRESULT streamSize(StreamInstance* instance, StreamSize* size) {
  const unsigned frameBytes = instance->pwfxSrc->nBlockAlign;
  switch (size->fdwSize & ACM_STREAMSIZEF_QUERYMASK) {
    case ACM_STREAMSIZEF_SOURCE:
      size->cbDstLength = static_cast<DWORD>(lameStreamWorstOutput(size->cbSrcLength, frameBytes));
      return MMSYSERR_NOERROR;
    case ACM_STREAMSIZEF_DESTINATION: {
      const size_t bare = lameStreamWorstOutput(0, frameBytes);
      if (size->cbDstLength <= bare) return ACMERR_NOTPOSSIBLE;
      size->cbSrcLength = static_cast<DWORD>((size->cbDstLength - bare) * 4 / 5 * frameBytes);
      return MMSYSERR_NOERROR;
    }
    default: return MMSYSERR_NOTSUPPORTED;
  }
}

LRESULT streamConvert(StreamInstance* instance, StreamHeader* header) {
  auto* stream = reinterpret_cast<LameStream*>(instance->dwDriver);
  if (!stream) return MMSYSERR_INVALHANDLE;
  const bool atEnd = (header->fdwConvert & ACM_STREAMCONVERTF_END) != 0;
  const LameStep step =
      lameStreamConvert(*stream, header->pbSrc, header->cbSrcLength, header->pbDst, header->cbDstLength, atEnd);
  header->cbSrcLengthUsed = static_cast<DWORD>(step.sourceUsed);
  header->cbDstLengthUsed = static_cast<DWORD>(step.destinationUsed);
  return step.ok ? MMSYSERR_NOERROR : MMSYSERR_ERROR;
}

// The ACM opens the driver with a description of what it wants; an open
// without one (a configuration open) is accepted as well.
LRESULT driverOpen(OpenDescription* description) {
  if (!description) return 1;
  if (description->fccType != 0 && description->fccType != ACMDRIVERDETAILS_FCCTYPE_AUDIOCODEC) return 0;
  description->dwError = MMSYSERR_NOERROR;
  return 1;
}

}  // namespace

}  // namespace orva::acmdriver

using namespace orva::acmdriver;

extern "C" __declspec(dllexport) LRESULT WINAPI
    DriverProc(DWORD_PTR id, HDRVR driver, UINT message, LPARAM first, LPARAM second) {
  switch (message) {
    case DRV_LOAD:
    case DRV_FREE:
    case DRV_CLOSE:
    case DRV_ENABLE:
    case DRV_DISABLE: return 1;
    case DRV_OPEN: return driverOpen(reinterpret_cast<OpenDescription*>(second));
    case DRV_INSTALL:
    case DRV_REMOVE: return DRVCNF_OK;
    case DRV_QUERYCONFIGURE: return 0;
    case kDriverDetails: return driverDetails(reinterpret_cast<ACMDRIVERDETAILSW*>(first));
    case kDriverAbout: return MMSYSERR_NOTSUPPORTED;
    case kFormatTagDetails: return formatTagDetails(reinterpret_cast<ACMFORMATTAGDETAILSW*>(first), second);
    case kFormatDetails: return formatDetails(reinterpret_cast<ACMFORMATDETAILSW*>(first), second);
    case kStreamOpen: return streamOpen(reinterpret_cast<StreamInstance*>(first));
    case kStreamClose: return streamClose(reinterpret_cast<StreamInstance*>(first));
    case kStreamSize:
      return streamSize(reinterpret_cast<StreamInstance*>(first), reinterpret_cast<StreamSize*>(second));
    case kStreamConvert:
      return streamConvert(reinterpret_cast<StreamInstance*>(first), reinterpret_cast<StreamHeader*>(second));
    case kStreamReset: return MMSYSERR_NOERROR;
    // The ACM keeps the prepared buffers itself.
    case kStreamPrepare:
    case kStreamUnprepare: return MMSYSERR_NOTSUPPORTED;
    default: return message < DRV_USER ? DefDriverProc(id, driver, message, first, second) : MMSYSERR_NOTSUPPORTED;
  }
}
