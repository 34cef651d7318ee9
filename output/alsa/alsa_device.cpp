// The wave device on Linux, over ALSA. ALSA streams have no per-stream
// volume, so the device keeps the volume and applies it to what it writes.
//
// Every ALSA call happens on the device's writer thread: the queue's calls
// only change the block list and ask for a pause, restart, reset or close,
// and reset and close wait until the writer has carried them out. A block
// completes once ALSA reports it played (the frames written minus the
// stream's delay have passed its end), so the play-out at the end of a
// stream really waits for the sound. A failing open leaves the ALSA code
// in the platform's OS error record for the host.
#include <alsa/asoundlib.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>

#include "output/byte_buffer.h"
#include "output/kept_while_playing.h"
#include "output/wave_device.h"
#include "platform/os_error.h"

namespace orva {
namespace {

constexpr unsigned kLatencyUs = 200000;  // ALSA buffer: 0.2 s
constexpr int32_t kChunkFrames = 1024;   // written per call, so requests are seen quickly

struct Pending {
  int32_t index;
  int32_t bytes;
  int32_t written;   // bytes handed to ALSA so far
  int64_t endFrame;  // frame count at the block's end once all is written, else -1
};

// ALSA reports configuration trouble on stderr itself; the engine reports
// a device that cannot open through its status code instead.
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

class AlsaDevice final : public WaveDevice {
 public:
  AlsaDevice() { snd_lib_error_set_handler(quietAlsa); }
  ~AlsaDevice() override { close(); }

  bool open(int32_t deviceId, const DeviceFormat& format, BlockDoneFn done, void* context) override {
    close();
    if (format.bits != 8 && format.bits != 16) {
      platform::recordOsError(platform::OsErrorKind::Alsa, -EINVAL, "choosing the sample format");
      return false;
    }
    snd_pcm_t* pcm = openConfigured(deviceId, format);
    if (pcm == nullptr) return false;
    for (ByteBuffer& header : headers_) {
      if (!header.resize(static_cast<size_t>(format.blockBytes))) {
        platform::recordOsError(platform::OsErrorKind::Errno, ENOMEM, "allocating the wave headers");
        snd_pcm_close(pcm);
        return false;
      }
    }
    snd_pcm_hw_params_t* hw = nullptr;
    snd_pcm_hw_params_alloca(&hw);
    canPause_ = snd_pcm_hw_params_current(pcm, hw) == 0 && snd_pcm_hw_params_can_pause(hw) == 1;
    std::lock_guard<std::mutex> lock(mutex_);
    pcm_ = pcm;
    format_ = format;
    frameBytes_ = format.channels * format.bits / 8;
    done_ = done;
    doneContext_ = context;
    count_ = head_ = 0;
    queued_.fill(false);
    written_ = played_ = 0;
    paused_ = pausedApplied_ = false;
    resetAsked_ = stop_ = false;
    // std::thread reports a thread the system refuses by throwing; the
    // engine's entry points must not, so the refusal is a failed open.
    try {
      writer_ = std::thread([this] { writerLoop(); });
    } catch (const std::system_error& e) {
      platform::recordOsError(platform::OsErrorKind::Errno, e.code().value(), "creating the ALSA writer thread");
      snd_pcm_close(pcm_);
      pcm_ = nullptr;
      done_ = nullptr;
      return false;
    }
    open_ = true;
    return true;
  }

  uint8_t* headerData(int32_t index) override {
    if (index < 0 || index >= kHeaderCount) return nullptr;
    return headers_[static_cast<size_t>(index)].data();
  }

  bool write(int32_t index, int32_t bytes) override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (!open_ || index < 0 || index >= kHeaderCount || queued_[index] || count_ >= kHeaderCount || bytes < 0 ||
          bytes > format_.blockBytes) {
        return false;
      }
      bytes -= bytes % frameBytes_;
      pending_[(head_ + count_) % kHeaderCount] = Pending{index, bytes, 0, -1};
      ++count_;
      queued_[index] = true;
    }
    wake_.notify_all();
    return true;
  }

  bool unprepare(int32_t index) override {
    std::lock_guard<std::mutex> lock(mutex_);
    return index >= 0 && index < kHeaderCount && !queued_[index];
  }

  bool reset() override {
    std::unique_lock<std::mutex> lock(mutex_);
    // A device being closed drops its blocks anyway.
    if (!open_ || stop_) return false;
    resetAsked_ = true;
    wake_.notify_all();
    acknowledged_.wait(lock, [this] { return !resetAsked_ || stop_; });
    return true;
  }

  bool pause() override { return askPause(true); }
  bool restart() override { return askPause(false); }

  bool close() override {
    std::thread writer;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (!open_) return false;
      stop_ = true;
      writer.swap(writer_);
    }
    wake_.notify_all();
    acknowledged_.notify_all();
    if (writer.joinable()) writer.join();
    std::lock_guard<std::mutex> lock(mutex_);
    completeAllLocked();
    snd_pcm_close(pcm_);
    pcm_ = nullptr;
    open_ = false;
    resetAsked_ = false;
    done_ = nullptr;
    return true;
  }

  int64_t position() override {
    std::lock_guard<std::mutex> lock(mutex_);
    return open_ ? played_ : -1;
  }

  bool setVolume(int32_t, uint32_t packed) override {
    volume_.store(packed);
    return true;
  }
  bool getVolume(int32_t, uint32_t& packed) override {
    packed = volume_.load();
    return true;
  }
  bool capabilities(int32_t, uint32_t& support) override {
    support = kCapsVolume | kCapsLrVolume;
    return true;
  }

 private:
  // The PCM opened and set to `format`, or nullptr with the ALSA code kept.
  static snd_pcm_t* openConfigured(int32_t deviceId, const DeviceFormat& format) {
    char name[32];
    if (deviceId < 0) {
      std::snprintf(name, sizeof name, "default");
    } else {
      std::snprintf(name, sizeof name, "plughw:%d", static_cast<int>(deviceId));
    }
    snd_pcm_t* pcm = nullptr;
    const int opened = snd_pcm_open(&pcm, name, SND_PCM_STREAM_PLAYBACK, 0);
    if (opened < 0) {
      platform::recordOsError(platform::OsErrorKind::Alsa, opened, "snd_pcm_open");
      return nullptr;
    }
    const snd_pcm_format_t sampleFormat = format.bits == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
    const int set =
        snd_pcm_set_params(pcm, sampleFormat, SND_PCM_ACCESS_RW_INTERLEAVED, static_cast<unsigned>(format.channels),
                           static_cast<unsigned>(format.sampleRate), 1, kLatencyUs);
    if (set < 0) {
      platform::recordOsError(platform::OsErrorKind::Alsa, set, "snd_pcm_set_params");
      snd_pcm_close(pcm);
      return nullptr;
    }
    return pcm;
  }

  bool askPause(bool on) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (!open_) return false;
      paused_ = on;
    }
    wake_.notify_all();
    return true;
  }

  void completeAllLocked() {
    while (count_ > 0) popLocked();
  }

  void popLocked() {
    queued_[pending_[head_].index] = false;
    head_ = (head_ + 1) % kHeaderCount;
    --count_;
    if (done_ != nullptr) done_(doneContext_);
  }

  // The first block with bytes not yet written, or nullptr.
  Pending* nextToWriteLocked() {
    for (int32_t k = 0; k < count_; ++k) {
      Pending& p = pending_[(head_ + k) % kHeaderCount];
      if (p.written < p.bytes) return &p;
    }
    return nullptr;
  }

  void applyVolume(uint8_t* data, int32_t bytes) {
    const uint32_t packed = volume_.load();
    if (packed == 0xFFFFFFFFu) return;
    const int32_t levels[2] = {static_cast<int32_t>(packed & 0xFFFF),
                               static_cast<int32_t>(format_.channels == 2 ? packed >> 16 : packed & 0xFFFF)};
    if (format_.bits == 16) {
      for (int32_t i = 0; i + 1 < bytes; i += 2) {
        const int32_t s = static_cast<int16_t>(static_cast<uint16_t>(data[i] | (data[i + 1] << 8)));
        const uint16_t v = static_cast<uint16_t>(static_cast<int16_t>(s * levels[(i / 2) & 1] / 0xFFFF));
        data[i] = static_cast<uint8_t>(v & 0xFF);
        data[i + 1] = static_cast<uint8_t>(v >> 8);
      }
    } else {
      for (int32_t i = 0; i < bytes; ++i) {
        data[i] = static_cast<uint8_t>((data[i] - 128) * levels[i & 1] / 0xFFFF + 128);
      }
    }
  }

  // Writes one chunk of `p` (mutex released meanwhile); true when written.
  void writeChunk(std::unique_lock<std::mutex>& lock, Pending& p) {
    const int32_t index = p.index;
    const int32_t offset = p.written;
    int32_t bytes = p.bytes - offset;
    if (bytes > kChunkFrames * frameBytes_) bytes = kChunkFrames * frameBytes_;
    uint8_t* data = headers_[static_cast<size_t>(index)].data() + offset;
    lock.unlock();
    applyVolume(data, bytes);
    snd_pcm_sframes_t n = snd_pcm_writei(pcm_, data, static_cast<snd_pcm_uframes_t>(bytes / frameBytes_));
    if (n < 0) n = snd_pcm_recover(pcm_, static_cast<int>(n), 1) < 0 ? bytes / frameBytes_ : 0;
    lock.lock();
    if (resetAsked_) return;  // the block is gone already
    p.written += static_cast<int32_t>(n) * frameBytes_;
    written_ += n;
    if (p.written >= p.bytes) p.endFrame = written_;
  }

  void updatePlayed(std::unique_lock<std::mutex>& lock) {
    lock.unlock();
    snd_pcm_sframes_t delay = 0;
    const snd_pcm_state_t state = snd_pcm_state(pcm_);
    const bool running =
        state == SND_PCM_STATE_RUNNING || state == SND_PCM_STATE_PAUSED || state == SND_PCM_STATE_PREPARED;
    const bool known = running && snd_pcm_delay(pcm_, &delay) == 0;
    lock.lock();
    const int64_t now = known ? written_ - delay : written_;
    if (now > played_) played_ = now;
    while (count_ > 0 && pending_[head_].endFrame >= 0 && pending_[head_].endFrame <= played_) popLocked();
  }

  void writerLoop() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stop_) {
      if (resetAsked_) {
        lock.unlock();
        snd_pcm_drop(pcm_);
        snd_pcm_prepare(pcm_);
        lock.lock();
        completeAllLocked();
        written_ = played_ = 0;
        pausedApplied_ = false;
        resetAsked_ = false;
        acknowledged_.notify_all();
        continue;
      }
      if (paused_ != pausedApplied_) {
        pausedApplied_ = paused_;
        lock.unlock();
        if (canPause_ && snd_pcm_state(pcm_) == (paused_ ? SND_PCM_STATE_RUNNING : SND_PCM_STATE_PAUSED)) {
          snd_pcm_pause(pcm_, pausedApplied_ ? 1 : 0);
        }
        lock.lock();
        continue;
      }
      Pending* next = pausedApplied_ ? nullptr : nextToWriteLocked();
      if (next != nullptr) {
        writeChunk(lock, *next);
      } else if (!pausedApplied_ && written_ > played_) {
        // A short stream may never fill the buffer to its start threshold.
        lock.unlock();
        if (snd_pcm_state(pcm_) == SND_PCM_STATE_PREPARED) snd_pcm_start(pcm_);
        lock.lock();
      }
      if (resetAsked_ || stop_) continue;
      if (!pausedApplied_) updatePlayed(lock);
      if (next == nullptr) wake_.wait_for(lock, std::chrono::milliseconds(5));
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable acknowledged_;
  std::thread writer_;
  snd_pcm_t* pcm_ = nullptr;
  DeviceFormat format_{};
  int32_t frameBytes_ = 1;
  bool canPause_ = false;
  BlockDoneFn done_ = nullptr;
  void* doneContext_ = nullptr;
  std::array<ByteBuffer, kHeaderCount> headers_;
  std::array<bool, kHeaderCount> queued_{};
  std::array<Pending, kHeaderCount> pending_{};
  int32_t head_ = 0;
  int32_t count_ = 0;
  int64_t written_ = 0;  // frames handed to ALSA since open or reset
  int64_t played_ = 0;   // frames ALSA has played
  bool open_ = false;
  bool paused_ = false;
  bool pausedApplied_ = false;
  bool resetAsked_ = false;
  bool stop_ = false;
  std::atomic<uint32_t> volume_{0xFFFFFFFFu};
};

}  // namespace

WaveDevice& systemWaveDevice() {
  // Kept at exit while a playback thread may still use it (the engine
  // stops the thread first where it can).
  static KeptWhilePlaying<AlsaDevice> device;
  return device.get();
}

}  // namespace orva
