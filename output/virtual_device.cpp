// The virtual wave device (see virtual_device.h). One mutex guards it; the
// completion callback is called with it held, which is safe because the
// queue's callback only releases its semaphore.
#include "output/virtual_device.h"

#include <cerrno>
#include <chrono>
#include <system_error>

#include "output/header_prepare.h"
#include "output/kept_while_playing.h"

namespace orva {

VirtualDevice::~VirtualDevice() { close(); }

void VirtualDevice::setClock(VirtualClock clock, double speed) {
  std::lock_guard<std::mutex> lock(mutex_);
  clock_ = clock;
  speed_ = speed > 0 ? speed : 1.0;
}

void VirtualDevice::setTap(Tap tap, void* context) {
  std::lock_guard<std::mutex> lock(mutex_);
  tap_ = tap;
  tapContext_ = context;
}

void VirtualDevice::setFailOpen(bool fail) {
  std::lock_guard<std::mutex> lock(mutex_);
  failOpen_ = fail;
}

void VirtualDevice::setPrepareFault(int32_t index, platform::OsErrorKind kind, int32_t code) {
  std::lock_guard<std::mutex> lock(mutex_);
  prepareFaultIndex_ = index;
  prepareFaultKind_ = kind;
  prepareFaultCode_ = code;
}

int32_t VirtualDevice::preparedHeaders() {
  std::lock_guard<std::mutex> lock(mutex_);
  int32_t n = 0;
  for (bool prepared : prepared_) n += prepared ? 1 : 0;
  return n;
}

void VirtualDevice::advance(int64_t samples) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (open_ && !paused_) playLocked(samples);
}

int64_t VirtualDevice::blocksWritten() {
  std::lock_guard<std::mutex> lock(mutex_);
  return blocksWritten_;
}

int64_t VirtualDevice::bytesWritten() {
  std::lock_guard<std::mutex> lock(mutex_);
  return bytesWritten_;
}

int64_t VirtualDevice::queuedSamples() {
  std::lock_guard<std::mutex> lock(mutex_);
  return submitted_ - played_;
}

bool VirtualDevice::isOpen() {
  std::lock_guard<std::mutex> lock(mutex_);
  return open_;
}

bool VirtualDevice::isPaused() {
  std::lock_guard<std::mutex> lock(mutex_);
  return paused_;
}

DeviceFormat VirtualDevice::format() {
  std::lock_guard<std::mutex> lock(mutex_);
  return format_;
}

// Moves the clock on by up to `samples`, completing every block it passes.
void VirtualDevice::playLocked(int64_t samples) {
  const int64_t target = played_ + samples < submitted_ ? played_ + samples : submitted_;
  played_ = target;
  while (pendingCount_ > 0 && pending_[pendingHead_].endSample <= played_) {
    queued_[pending_[pendingHead_].index] = false;
    pendingHead_ = (pendingHead_ + 1) % kHeaderCount;
    --pendingCount_;
    if (done_ != nullptr) done_(doneContext_);
  }
}

void VirtualDevice::clockLoop() {
  using Clock = std::chrono::steady_clock;
  std::unique_lock<std::mutex> lock(mutex_);
  auto last = Clock::now();
  double carry = 0;
  while (!stopClock_) {
    wake_.wait_for(lock, std::chrono::milliseconds(2));
    const auto now = Clock::now();
    const double seconds = std::chrono::duration<double>(now - last).count();
    last = now;
    if (paused_ || pendingCount_ == 0) {
      carry = 0;
      continue;
    }
    carry += seconds * format_.sampleRate * speed_;
    const int64_t whole = static_cast<int64_t>(carry);
    carry -= static_cast<double>(whole);
    playLocked(whole);
  }
}

bool VirtualDevice::open(int32_t, const DeviceFormat& format, BlockDoneFn done, void* context) {
  close();
  std::lock_guard<std::mutex> lock(mutex_);
  if (failOpen_ || format.channels <= 0 || format.bits <= 0 || format.sampleRate <= 0 || format.blockBytes <= 0) {
    platform::recordOsError(platform::OsErrorKind::Errno, ENODEV, "opening the virtual device");
    return false;
  }
  for (ByteBuffer& header : headers_) {
    if (!header.resize(static_cast<size_t>(format.blockBytes))) {
      platform::recordOsError(platform::OsErrorKind::Errno, ENOMEM, "allocating the wave headers");
      return false;
    }
  }
  const auto prepare = [this](int32_t i) {
    if (i == prepareFaultIndex_) return false;
    prepared_[static_cast<size_t>(i)] = true;
    return true;
  };
  const auto unprepare = [this](int32_t i) { prepared_[static_cast<size_t>(i)] = false; };
  if (prepareAllOrNone(kHeaderCount, prepare, unprepare) >= 0) {
    platform::recordOsError(prepareFaultKind_, prepareFaultCode_, "preparing a virtual header");
    return false;
  }
  format_ = format;
  done_ = done;
  doneContext_ = context;
  queued_.fill(false);
  pendingHead_ = pendingCount_ = 0;
  played_ = submitted_ = 0;
  blocksWritten_ = bytesWritten_ = 0;
  paused_ = false;
  if (clock_ == VirtualClock::Timed) {
    stopClock_ = false;
    // std::thread reports a refused thread by throwing; callers expect a
    // failed open instead.
    try {
      clockThread_ = std::thread([this] { clockLoop(); });
    } catch (const std::system_error& e) {
      platform::recordOsError(platform::OsErrorKind::Errno, e.code().value(), "creating the virtual clock thread");
      prepared_.fill(false);
      return false;
    }
  }
  open_ = true;
  return true;
}

uint8_t* VirtualDevice::headerData(int32_t index) {
  if (index < 0 || index >= kHeaderCount) return nullptr;
  return headers_[static_cast<size_t>(index)].data();
}

bool VirtualDevice::write(int32_t index, int32_t bytes) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!open_ || index < 0 || index >= kHeaderCount || queued_[index] || pendingCount_ >= kHeaderCount || bytes < 0 ||
      bytes > format_.blockBytes) {
    return false;
  }
  if (tap_ != nullptr) tap_(tapContext_, headers_[static_cast<size_t>(index)].data(), bytes);
  prepared_[static_cast<size_t>(index)] = true;
  const int32_t frameBytes = format_.channels * format_.bits / 8;
  submitted_ += bytes / frameBytes;
  queued_[index] = true;
  pending_[(pendingHead_ + pendingCount_) % kHeaderCount] = Pending{index, submitted_};
  ++pendingCount_;
  ++blocksWritten_;
  bytesWritten_ += bytes;
  if (clock_ == VirtualClock::Immediate && !paused_) playLocked(submitted_ - played_);
  return true;
}

bool VirtualDevice::unprepare(int32_t index) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (index < 0 || index >= kHeaderCount || queued_[index]) return false;
  prepared_[static_cast<size_t>(index)] = false;
  return true;
}

bool VirtualDevice::reset() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!open_) return false;
  played_ = submitted_;
  playLocked(0);
  played_ = submitted_ = 0;
  return true;
}

bool VirtualDevice::pause() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!open_) return false;
  paused_ = true;
  return true;
}

bool VirtualDevice::restart() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!open_) return false;
  paused_ = false;
  if (clock_ == VirtualClock::Immediate) playLocked(submitted_ - played_);
  return true;
}

bool VirtualDevice::close() {
  std::thread clock;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!open_) return false;
    stopClock_ = true;
    clock.swap(clockThread_);
  }
  wake_.notify_all();
  if (clock.joinable()) clock.join();
  std::lock_guard<std::mutex> lock(mutex_);
  // Closing with blocks still queued drops them, as a reset would.
  played_ = submitted_;
  playLocked(0);
  prepared_.fill(false);
  open_ = false;
  done_ = nullptr;
  return true;
}

int64_t VirtualDevice::position() {
  std::lock_guard<std::mutex> lock(mutex_);
  return open_ ? played_ : -1;
}

bool VirtualDevice::setVolume(int32_t, uint32_t packed) {
  std::lock_guard<std::mutex> lock(mutex_);
  volume_ = packed;
  return true;
}

bool VirtualDevice::getVolume(int32_t, uint32_t& packed) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (volumeUnreadable_) return false;
  packed = volume_;
  return true;
}

void VirtualDevice::setVolumeUnreadable(bool unreadable) {
  std::lock_guard<std::mutex> lock(mutex_);
  volumeUnreadable_ = unreadable;
}

bool VirtualDevice::capabilities(int32_t, uint32_t& support) {
  support = kCapsVolume | kCapsLrVolume;
  return true;
}

WaveDevice& silentWaveDevice() {
  static KeptWhilePlaying<VirtualDevice> device;
  static const bool realTime = (device.get().setClock(VirtualClock::Timed, 1.0), true);
  (void)realTime;
  return device.get();
}

}  // namespace orva
