// A wave device without sound for tests and machines without a sound card.
// Its clock is deterministic: blocks are consumed by hand (Manual), the
// moment they are written (Immediate), or in real time or N times faster
// (Timed, on a thread of its own). Positions come from that clock. It keeps
// counts of what it was given, and the volume it was set to, for tests.
// With the real-time clock it is also the silent device a host may choose
// (silentWaveDevice in wave_device.h).
#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "output/byte_buffer.h"
#include "output/wave_device.h"
#include "platform/os_error.h"

namespace orva {

enum class VirtualClock { Manual, Immediate, Timed };

class VirtualDevice final : public WaveDevice {
 public:
  VirtualDevice() = default;
  ~VirtualDevice() override;
  VirtualDevice(const VirtualDevice&) = delete;
  VirtualDevice& operator=(const VirtualDevice&) = delete;

  // Takes effect at the next open. `speed` multiplies real time (Timed).
  void setClock(VirtualClock clock, double speed = 1.0);
  // Manual clock: plays up to `samples` more samples of what is queued.
  void advance(int64_t samples);
  // Called with every block as it is written (tests read the PCM).
  using Tap = void (*)(void* context, const uint8_t* data, int32_t bytes);
  void setTap(Tap tap, void* context);
  // A device that refuses to open (tests of the failure path).
  void setFailOpen(bool fail);
  // A device whose volume cannot be read (winmm's mapper while closed).
  void setVolumeUnreadable(bool unreadable);
  // An open that fails part-way: preparing header `index` fails with the
  // OS error given (-1: no fault). The headers prepared before it must be
  // released again.
  void setPrepareFault(int32_t index, platform::OsErrorKind kind, int32_t code);

  // What tests look at.
  int64_t blocksWritten();
  int64_t bytesWritten();
  int64_t queuedSamples();
  bool isOpen();
  bool isPaused();
  int32_t preparedHeaders();
  DeviceFormat format();

  bool open(int32_t deviceId, const DeviceFormat& format, BlockDoneFn done, void* context) override;
  uint8_t* headerData(int32_t index) override;
  bool write(int32_t index, int32_t bytes) override;
  bool unprepare(int32_t index) override;
  bool reset() override;
  bool pause() override;
  bool restart() override;
  bool close() override;
  int64_t position() override;
  bool setVolume(int32_t deviceId, uint32_t packed) override;
  bool getVolume(int32_t deviceId, uint32_t& packed) override;
  bool capabilities(int32_t deviceId, uint32_t& support) override;

 private:
  struct Pending {
    int32_t index;
    int64_t endSample;  // position at which the block has played
  };

  void playLocked(int64_t samples);
  void clockLoop();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::thread clockThread_;
  VirtualClock clock_ = VirtualClock::Immediate;
  double speed_ = 1.0;
  bool failOpen_ = false;
  bool volumeUnreadable_ = false;
  int32_t prepareFaultIndex_ = -1;
  platform::OsErrorKind prepareFaultKind_ = platform::OsErrorKind::None;
  int32_t prepareFaultCode_ = 0;
  bool open_ = false;
  bool paused_ = false;
  bool stopClock_ = false;
  DeviceFormat format_{};
  BlockDoneFn done_ = nullptr;
  void* doneContext_ = nullptr;
  Tap tap_ = nullptr;
  void* tapContext_ = nullptr;
  std::array<ByteBuffer, kHeaderCount> headers_;
  std::array<bool, kHeaderCount> queued_{};
  std::array<bool, kHeaderCount> prepared_{};
  std::array<Pending, kHeaderCount> pending_{};
  int32_t pendingHead_ = 0;
  int32_t pendingCount_ = 0;
  int64_t played_ = 0;     // samples played since open or reset
  int64_t submitted_ = 0;  // samples queued since open or reset
  int64_t blocksWritten_ = 0;
  int64_t bytesWritten_ = 0;
  uint32_t volume_ = 0xFFFFFFFF;
};

}  // namespace orva
