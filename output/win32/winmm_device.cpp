// The wave device on Windows: winmm's wave output functions with 32
// prepared headers. The completion callback runs on a system thread and
// does nothing but report the block done (the queue releases its free-header
// semaphore there). Every failing winmm call leaves its MMRESULT in the
// platform's OS error record for the host.
#include <windows.h>

#include <mmsystem.h>

#include <array>
#include <atomic>
#include <cerrno>

#include "output/byte_buffer.h"
#include "output/header_prepare.h"
#include "output/kept_while_playing.h"
#include "output/wave_device.h"
#include "platform/os_error.h"

namespace orva {
namespace {

class WinmmDevice final : public WaveDevice {
 public:
  ~WinmmDevice() override = default;

  bool open(int32_t deviceId, const DeviceFormat& format, BlockDoneFn done, void* context) override {
    if (handle_.load() != nullptr) return false;
    for (ByteBuffer& buffer : buffers_) {
      if (!buffer.resize(static_cast<size_t>(format.blockBytes))) {
        platform::recordOsError(platform::OsErrorKind::Errno, ENOMEM, "allocating the wave headers");
        return false;
      }
    }
    done_.store(done);
    doneContext_.store(context);
    WAVEFORMATEX wf{};
    wf.wFormatTag = WAVE_FORMAT_PCM;
    wf.nChannels = static_cast<WORD>(format.channels);
    wf.nSamplesPerSec = static_cast<DWORD>(format.sampleRate);
    wf.nBlockAlign = static_cast<WORD>(format.channels * format.bits / 8);
    wf.nAvgBytesPerSec = wf.nBlockAlign * wf.nSamplesPerSec;
    wf.wBitsPerSample = static_cast<WORD>(format.bits);
    wf.cbSize = 0;
    HWAVEOUT handle = nullptr;
    const UINT id = deviceId < 0 ? WAVE_MAPPER : static_cast<UINT>(deviceId);
    const MMRESULT opened = waveOutOpen(&handle, id, &wf, reinterpret_cast<DWORD_PTR>(&WinmmDevice::callback),
                                        reinterpret_cast<DWORD_PTR>(this), CALLBACK_FUNCTION | WAVE_ALLOWSYNC);
    if (opened != MMSYSERR_NOERROR) {
      platform::recordOsError(platform::OsErrorKind::Mmresult, static_cast<int32_t>(opened), "waveOutOpen");
      return false;
    }
    MMRESULT prepared = MMSYSERR_NOERROR;
    const auto prepare = [&](int32_t i) {
      WAVEHDR& header = headers_[static_cast<size_t>(i)];
      header = WAVEHDR{};
      header.lpData = reinterpret_cast<LPSTR>(buffers_[static_cast<size_t>(i)].data());
      header.dwBufferLength = static_cast<DWORD>(format.blockBytes);
      prepared = waveOutPrepareHeader(handle, &header, sizeof(WAVEHDR));
      return prepared == MMSYSERR_NOERROR;
    };
    const auto unprepare = [&](int32_t i) {
      waveOutUnprepareHeader(handle, &headers_[static_cast<size_t>(i)], sizeof(WAVEHDR));
    };
    if (prepareAllOrNone(kHeaderCount, prepare, unprepare) >= 0) {
      platform::recordOsError(platform::OsErrorKind::Mmresult, static_cast<int32_t>(prepared), "waveOutPrepareHeader");
      waveOutClose(handle);
      return false;
    }
    blockBytes_ = format.blockBytes;
    handle_.store(handle);
    return true;
  }

  uint8_t* headerData(int32_t index) override {
    if (index < 0 || index >= kHeaderCount) return nullptr;
    return buffers_[static_cast<size_t>(index)].data();
  }

  bool write(int32_t index, int32_t bytes) override {
    HWAVEOUT handle = handle_.load();
    if (handle == nullptr || index < 0 || index >= kHeaderCount) return false;
    WAVEHDR& header = headers_[static_cast<size_t>(index)];
    if ((header.dwFlags & WHDR_PREPARED) == 0) {
      const MMRESULT prepared = waveOutPrepareHeader(handle, &header, sizeof(WAVEHDR));
      if (prepared != MMSYSERR_NOERROR) {
        platform::recordOsError(platform::OsErrorKind::Mmresult, static_cast<int32_t>(prepared),
                                "waveOutPrepareHeader");
        return false;
      }
    }
    // A cue block sounds only in part; the header gets its full length back
    // for its next use.
    header.dwBufferLength = static_cast<DWORD>(bytes);
    const MMRESULT result = waveOutWrite(handle, &header, sizeof(WAVEHDR));
    header.dwBufferLength = static_cast<DWORD>(blockBytes_);
    return result == MMSYSERR_NOERROR;
  }

  bool unprepare(int32_t index) override {
    HWAVEOUT handle = handle_.load();
    if (handle == nullptr || index < 0 || index >= kHeaderCount) return true;
    return waveOutUnprepareHeader(handle, &headers_[static_cast<size_t>(index)], sizeof(WAVEHDR)) !=
           WAVERR_STILLPLAYING;
  }

  bool reset() override {
    HWAVEOUT handle = handle_.load();
    return handle != nullptr && waveOutReset(handle) == MMSYSERR_NOERROR;
  }
  bool pause() override {
    HWAVEOUT handle = handle_.load();
    return handle != nullptr && waveOutPause(handle) == MMSYSERR_NOERROR;
  }
  bool restart() override {
    HWAVEOUT handle = handle_.load();
    return handle != nullptr && waveOutRestart(handle) == MMSYSERR_NOERROR;
  }

  bool close() override {
    HWAVEOUT handle = handle_.load();
    if (handle == nullptr) return true;
    // Headers the queue did not take back (a failed open of the queue's own
    // blocks) are released here; a header still playing makes the close fail.
    for (WAVEHDR& header : headers_) {
      if ((header.dwFlags & WHDR_PREPARED) != 0) waveOutUnprepareHeader(handle, &header, sizeof(WAVEHDR));
    }
    if (waveOutClose(handle) != MMSYSERR_NOERROR) return false;
    handle_.store(nullptr);
    return true;
  }

  int64_t position() override {
    HWAVEOUT handle = handle_.load();
    if (handle == nullptr) return -1;
    MMTIME time{};
    time.wType = TIME_SAMPLES;
    if (waveOutGetPosition(handle, &time, sizeof time) != MMSYSERR_NOERROR || time.wType != TIME_SAMPLES) {
      return -1;
    }
    return static_cast<int64_t>(time.u.sample);
  }

  bool setVolume(int32_t deviceId, uint32_t packed) override {
    HWAVEOUT handle = handle_.load();
    HWAVEOUT target = handle != nullptr ? handle : reinterpret_cast<HWAVEOUT>(static_cast<intptr_t>(deviceId));
    return waveOutSetVolume(target, packed) == MMSYSERR_NOERROR;
  }

  bool getVolume(int32_t deviceId, uint32_t& packed) override {
    HWAVEOUT handle = handle_.load();
    HWAVEOUT target = handle != nullptr ? handle : reinterpret_cast<HWAVEOUT>(static_cast<intptr_t>(deviceId));
    DWORD volume = 0;
    if (waveOutGetVolume(target, &volume) != MMSYSERR_NOERROR) return false;
    packed = volume;
    return true;
  }

  bool capabilities(int32_t deviceId, uint32_t& support) override {
    WAVEOUTCAPSA caps{};
    const UINT_PTR id = deviceId < 0 ? WAVE_MAPPER : static_cast<UINT_PTR>(deviceId);
    if (waveOutGetDevCapsA(id, &caps, sizeof caps) != MMSYSERR_NOERROR) return false;
    support = caps.dwSupport;
    return true;
  }

 private:
  static void CALLBACK callback(HWAVEOUT, UINT message, DWORD_PTR instance, DWORD_PTR, DWORD_PTR) {
    if (message != WOM_DONE) return;
    auto* self = reinterpret_cast<WinmmDevice*>(instance);
    if (BlockDoneFn done = self->done_.load()) done(self->doneContext_.load());
  }

  std::atomic<HWAVEOUT> handle_{nullptr};
  std::atomic<BlockDoneFn> done_{nullptr};
  std::atomic<void*> doneContext_{nullptr};
  std::array<WAVEHDR, kHeaderCount> headers_{};
  std::array<ByteBuffer, kHeaderCount> buffers_;
  int32_t blockBytes_ = 0;
};

}  // namespace

WaveDevice& systemWaveDevice() {
  // Kept at exit while a playback thread may still use it.
  static KeptWhilePlaying<WinmmDevice> device;
  return device.get();
}

}  // namespace orva
