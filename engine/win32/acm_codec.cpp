// The encoder's codec on Windows: an installed Audio Compression Manager
// driver found by its long name, its Layer-3 formats listed in the driver's
// order, one conversion stream with one stream header prepared for the whole
// conversion. Called from the encoder's worker thread only.
#include "engine/win32/acm_codec.h"

#include <windows.h>
// mmreg.h and msacm.h need the types of mmsystem.h first.
#include <mmreg.h>
#include <mmsystem.h>
#include <msacm.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace orva::encoder {

namespace {

constexpr size_t kSourceBufferSize = 8192;
constexpr size_t kDestinationBufferSize = 2048;
// A driver reporting more formats than this is not a Layer-3 encoder we know.
constexpr size_t kMaxFormats = 1024;
constexpr DWORD kMaxFormatSize = 4096;

struct DriverSearch {
  const char* longName;
  HACMDRIVERID found = nullptr;
};

BOOL CALLBACK acmKeepCodecOfName(HACMDRIVERID id, DWORD_PTR instance, DWORD support) {
  auto* search = reinterpret_cast<DriverSearch*>(instance);
  if (!(support & ACMDRIVERDETAILS_SUPPORTF_CODEC)) return TRUE;
  ACMDRIVERDETAILSA details{};
  details.cbStruct = sizeof(details);
  if (acmDriverDetailsA(id, &details, 0) != MMSYSERR_NOERROR) return TRUE;
  if (!(details.fdwSupport & ACMDRIVERDETAILS_SUPPORTF_CODEC)) return TRUE;
  details.szLongName[sizeof(details.szLongName) - 1] = '\0';
  if (std::strcmp(details.szLongName, search->longName) != 0) return TRUE;
  search->found = id;
  return FALSE;
}

// The formats of one tag, each copied whole into a slot of formatSize bytes.
struct FormatCollection {
  uint8_t* slots = nullptr;  // null while only counting
  size_t capacity = kMaxFormats;
  size_t formatSize = 0;
  size_t count = 0;
};

BOOL CALLBACK acmCollectFormat(HACMDRIVERID, LPACMFORMATDETAILSA details, DWORD_PTR instance, DWORD) {
  auto* collection = reinterpret_cast<FormatCollection*>(instance);
  if (collection->count >= collection->capacity) return FALSE;
  if (collection->slots) {
    std::memcpy(collection->slots + collection->count * collection->formatSize, details->pwfx, collection->formatSize);
  }
  ++collection->count;
  return TRUE;
}

class AcmCodec final : public EncoderCodec {
 public:
  explicit AcmCodec(const char* longName) : longName_(longName) {}
  ~AcmCodec() override { close(); }
  AcmCodec(const AcmCodec&) = delete;
  AcmCodec& operator=(const AcmCodec&) = delete;

  CodecStatus findCodec() override {
    close();
    formatCount_ = 0;
    DriverSearch search{longName_};
    acmDriverEnum(acmKeepCodecOfName, reinterpret_cast<DWORD_PTR>(&search), ACM_DRIVERENUMF_NOLOCAL);
    if (!search.found) return CodecStatus::NotInstalled;
    if (acmDriverOpen(&driver_, search.found, 0) != MMSYSERR_NOERROR) {
      driver_ = nullptr;
      return CodecStatus::NotInstalled;
    }
    return listLayer3Formats() ? CodecStatus::Ok : CodecStatus::NoFormats;
  }

  size_t formatCount() const override { return formatCount_; }

  CodecStatus openConversion(std::span<const uint8_t> sourceFormat, size_t formatIndex) override {
    if (!driver_) return CodecStatus::NotInstalled;
    if (stream_ || formatIndex >= formatCount_) return CodecStatus::CannotConvert;
    if (!copySourceFormat(sourceFormat) || !allocateBuffers()) return CodecStatus::CannotConvert;
    auto* source = reinterpret_cast<WAVEFORMATEX*>(sourceFormat_.get());
    auto* destination = reinterpret_cast<WAVEFORMATEX*>(formats_.get() + formatIndex * formatSize_);
    if (acmStreamOpen(&stream_, driver_, source, destination, nullptr, 0, 0, 0) != MMSYSERR_NOERROR) {
      stream_ = nullptr;
      return CodecStatus::CannotConvert;
    }
    header_ = ACMSTREAMHEADER{};
    header_.cbStruct = sizeof(header_);
    header_.pbSrc = sourceBuffer_.get();
    header_.cbSrcLength = kSourceBufferSize;
    header_.pbDst = destinationBuffer_.get();
    header_.cbDstLength = kDestinationBufferSize;
    if (acmStreamPrepareHeader(stream_, &header_, 0) != MMSYSERR_NOERROR) {
      acmStreamClose(stream_, 0);
      stream_ = nullptr;
      return CodecStatus::CannotConvert;
    }
    prepared_ = true;
    return CodecStatus::Ok;
  }

  ConvertStep convert(std::span<const uint8_t> source, std::span<uint8_t> destination, bool atEnd) override {
    if (!prepared_) return {};
    const size_t offered = std::min(source.size(), kSourceBufferSize);
    const size_t room = std::min(destination.size(), kDestinationBufferSize);
    if (offered > 0) std::memcpy(sourceBuffer_.get(), source.data(), offered);
    header_.cbSrcLength = static_cast<DWORD>(offered);
    header_.cbDstLength = static_cast<DWORD>(room);
    const DWORD flags = ACM_STREAMCONVERTF_BLOCKALIGN | (atEnd ? ACM_STREAMCONVERTF_END : 0);
    if (acmStreamConvert(stream_, &header_, flags) != MMSYSERR_NOERROR) return {};
    // A driver claiming more than it was given would make the caller skip
    // source it never saw or write bytes that are not there.
    if (header_.cbSrcLengthUsed > offered || header_.cbDstLengthUsed > room) return {};
    if (header_.cbDstLengthUsed > 0) std::memcpy(destination.data(), destinationBuffer_.get(), header_.cbDstLengthUsed);
    return {true, header_.cbSrcLengthUsed, header_.cbDstLengthUsed};
  }

  // The header goes back to the driver before its stream, the stream before
  // the driver that made it.
  void close() override {
    if (prepared_) {
      header_.cbSrcLength = kSourceBufferSize;
      header_.cbDstLength = kDestinationBufferSize;
      acmStreamUnprepareHeader(stream_, &header_, 0);
      prepared_ = false;
    }
    if (stream_) {
      acmStreamClose(stream_, 0);
      stream_ = nullptr;
    }
    if (driver_) {
      acmDriverClose(driver_, 0);
      driver_ = nullptr;
    }
  }

 private:
  // Counts the driver's formats for tag 85, then copies each into a slot as
  // large as the driver's largest format.
  bool listLayer3Formats() {
    DWORD largest = 0;
    if (acmMetrics(reinterpret_cast<HACMOBJ>(driver_), ACM_METRIC_MAX_SIZE_FORMAT, &largest) != MMSYSERR_NOERROR)
      return false;
    if (largest < sizeof(WAVEFORMATEX) || largest > kMaxFormatSize) return false;
    std::unique_ptr<uint8_t[]> scratch(new (std::nothrow) uint8_t[largest]());
    if (!scratch) return false;
    FormatCollection collection;
    collection.formatSize = largest;
    enumerateLayer3Formats(scratch.get(), largest, collection);
    if (collection.count == 0) return false;
    formats_.reset(new (std::nothrow) uint8_t[collection.count * largest]());
    if (!formats_) return false;
    collection.slots = formats_.get();
    collection.capacity = collection.count;
    collection.count = 0;
    enumerateLayer3Formats(scratch.get(), largest, collection);
    formatSize_ = largest;
    formatCount_ = collection.count;
    return formatCount_ > 0;
  }

  void enumerateLayer3Formats(uint8_t* scratch, DWORD size, FormatCollection& collection) {
    std::memset(scratch, 0, size);
    auto* format = reinterpret_cast<WAVEFORMATEX*>(scratch);
    format->wFormatTag = WAVE_FORMAT_MPEGLAYER3;
    ACMFORMATDETAILSA details{};
    details.cbStruct = sizeof(details);
    details.dwFormatTag = WAVE_FORMAT_MPEGLAYER3;
    details.pwfx = format;
    details.cbwfx = size;
    acmFormatEnumA(driver_, &details, acmCollectFormat, reinterpret_cast<DWORD_PTR>(&collection),
                   ACM_FORMATENUMF_WFORMATTAG);
  }

  // The ACM takes a WAVEFORMATEX: a 16-byte fmt chunk gets its cbSize of 0,
  // and a cbSize larger than the chunk is cut to the bytes that are there.
  bool copySourceFormat(std::span<const uint8_t> chunk) {
    if (chunk.size() < sizeof(PCMWAVEFORMAT) || chunk.size() > 0xFFFF) return false;
    const size_t size = std::max(chunk.size(), sizeof(WAVEFORMATEX));
    sourceFormat_.reset(new (std::nothrow) uint8_t[size]());
    if (!sourceFormat_) return false;
    std::memcpy(sourceFormat_.get(), chunk.data(), chunk.size());
    auto* format = reinterpret_cast<WAVEFORMATEX*>(sourceFormat_.get());
    const size_t extra = size - sizeof(WAVEFORMATEX);
    if (format->cbSize > extra) format->cbSize = static_cast<WORD>(extra);
    return true;
  }

  bool allocateBuffers() {
    if (!sourceBuffer_) sourceBuffer_.reset(new (std::nothrow) uint8_t[kSourceBufferSize]);
    if (!destinationBuffer_) destinationBuffer_.reset(new (std::nothrow) uint8_t[kDestinationBufferSize]);
    return sourceBuffer_ && destinationBuffer_;
  }

  const char* longName_;
  HACMDRIVER driver_ = nullptr;
  HACMSTREAM stream_ = nullptr;
  ACMSTREAMHEADER header_{};
  bool prepared_ = false;
  std::unique_ptr<uint8_t[]> formats_;
  size_t formatSize_ = 0;
  size_t formatCount_ = 0;
  std::unique_ptr<uint8_t[]> sourceFormat_;
  std::unique_ptr<uint8_t[]> sourceBuffer_;
  std::unique_ptr<uint8_t[]> destinationBuffer_;
};

}  // namespace

std::unique_ptr<EncoderCodec> makeAcmCodecLookingFor(const char* longName) {
  return std::unique_ptr<EncoderCodec>(new (std::nothrow) AcmCodec(longName));
}

std::unique_ptr<EncoderCodec> makeEncoderCodec() { return makeAcmCodecLookingFor(kAcmLayer3CodecName); }

}  // namespace orva::encoder
