// The wave output device contract: what the output queue needs of a sound
// device. A device owns 32 header buffers of one block each, plays the
// blocks submitted into them in order and reports each one's completion
// through the callback given at open (on any thread; also for every block
// that a reset drops). Implementations: winmm (Windows), ALSA (Linux) and a
// virtual device with its own clock for tests.
// A device whose open fails leaves nothing prepared or open and keeps the
// system's reason in the platform's OS error record (platform/os_error.h).
//
// The queue calls open, write, unprepare, reset and close from the playback
// thread; position, pause, restart, volume and capabilities may come from
// the host's thread at the same time, so every implementation is safe for
// those calls while another thread submits or closes.
#pragma once

#include <cstdint>

namespace orva {

inline constexpr int32_t kHeaderCount = 32;
inline constexpr int32_t kWaveMapper = -1;  // the system's default device
// The silent device: plays nothing, in real time, on any machine.
inline constexpr int32_t kSilentDevice = -2;

// winmm's capability bits, which every device reports in the same terms.
inline constexpr uint32_t kCapsVolume = 0x0004;
inline constexpr uint32_t kCapsLrVolume = 0x0008;

struct DeviceFormat {
  int32_t channels;
  int32_t bits;        // 8 (unsigned) or 16 (signed little-endian)
  int32_t sampleRate;  // the device rate: stream rate x rate percent / 100
  int32_t blockBytes;  // size of each header buffer
};

using BlockDoneFn = void (*)(void* context);

class WaveDevice {
 public:
  virtual ~WaveDevice() = default;

  virtual bool open(int32_t deviceId, const DeviceFormat& format, BlockDoneFn done, void* context) = 0;
  // The buffer of header `index` (0..31), blockBytes long; valid while open.
  virtual uint8_t* headerData(int32_t index) = 0;
  // Queues the first `bytes` of header `index` behind what is queued.
  virtual bool write(int32_t index, int32_t bytes) = 0;
  // False while header `index` is still queued or playing, true once free.
  virtual bool unprepare(int32_t index) = 0;
  // Drops everything queued (each dropped block completes) and restarts the
  // position at 0. Pausing survives a reset.
  virtual bool reset() = 0;
  virtual bool pause() = 0;
  virtual bool restart() = 0;
  virtual bool close() = 0;
  // Samples played since open or the last reset; -1 when it cannot tell.
  virtual int64_t position() = 0;

  // Volume as winmm packs it: left in the low word, right in the high word,
  // 0..0xFFFF each. While closed these act on the device `deviceId`.
  virtual bool setVolume(int32_t deviceId, uint32_t packed) = 0;
  virtual bool getVolume(int32_t deviceId, uint32_t& packed) = 0;
  // Capability bits (kCapsVolume, kCapsLrVolume ...) of device `deviceId`.
  virtual bool capabilities(int32_t deviceId, uint32_t& support) = 0;
};

// The platform's sound device (winmm on Windows, ALSA elsewhere); one per
// process. Chosen by the file CMake compiles.
WaveDevice& systemWaveDevice();

// The virtual device on its real-time clock, chosen by kSilentDevice; one
// per process.
WaveDevice& silentWaveDevice();

}  // namespace orva
