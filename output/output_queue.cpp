// The wave output queue (see output_queue.h).
//
// The ring lock plays the part of the queue's critical section: it guards
// the block ring, the fill position and the submission counters. The writer
// holds it while it copies, scales and submits a block, but never while it
// waits for a free header, so a reset from the host's thread during the
// play-out can always get in and free the headers.
#include "output/output_queue.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>

#include "output/byte_buffer.h"
#include "output/kept_while_playing.h"
#include "output/levels.h"
#include "output/semaphore.h"
#include "platform/os_error.h"

namespace orva {
namespace {

constexpr int32_t kFadeOutBlocks = 23;  // the end ramp starts this many blocks before the end
constexpr int32_t kCloseRetries = 50;

struct Queue {
  std::atomic<WaveDevice*> chosen{nullptr};  // set by tests; else by the device id
  std::atomic<WaveDevice*> active{nullptr};  // the open device, null while closed
  std::atomic<bool> open{false};
  CountingSemaphore freeHeaders;

  std::mutex ring;
  std::array<ByteBuffer, kBlockRingSize> blocks;
  int32_t headerIndex = 0;
  int32_t fillIndex = 0;
  int32_t fillCount = 0;
  int64_t blocksSubmitted = 0;
  int64_t bytesSubmitted = 0;
  int32_t channels = 0;
  int32_t bits = 0;
  int32_t blockSize = 0;

  // Stream totals for the end ramp; playback thread only.
  int64_t totalSamples = 0;
  int64_t positionBase = 0;

  std::atomic<int32_t> deviceId{kWaveMapper};
  std::atomic<int32_t> ratePercent{100};
  std::atomic<int32_t> cueFactor{1};
  std::atomic<int32_t> targetLeft{100}, targetRight{100};
  std::atomic<int32_t> currentLeft{100}, currentRight{100};
  std::atomic<int32_t> fadeIn{0}, fadeOutAtEnd{0};
  std::atomic<int32_t> outputSleep{0};
  std::atomic<uint32_t> detail{0};
  std::atomic<OutputWaitHook> waitHook{nullptr};
};

// Kept at exit while a playback thread may still write to it.
KeptWhilePlaying<Queue> gQueue;
Queue& q = gQueue.value;

int32_t clampLevel(int32_t v) { return v < 0 ? 0 : (v > 100 ? 100 : v); }

void onBlockDone(void*) { q.freeHeaders.release(); }

// The device the next open takes.
WaveDevice& chosenDevice() {
  if (WaveDevice* d = q.chosen.load()) return *d;
  return q.deviceId.load() == kSilentDevice ? silentWaveDevice() : systemWaveDevice();
}

// The open device while one is open (a new device id waits for the next
// open), else the one the next open takes.
WaveDevice& device() {
  WaveDevice* active = q.active.load();
  return active != nullptr ? *active : chosenDevice();
}

int64_t bytesOf(int64_t samples) { return samples * q.bits * q.channels / 8; }

// Moves the current levels by one block's ramp; ring lock held.
void stepLevels() {
  int32_t left = q.currentLeft.load();
  int32_t right = q.currentRight.load();
  bool lowered = false;
  if (q.fadeOutAtEnd.load() != 0) {
    const int64_t left_ = bytesOf(q.totalSamples) - bytesOf(q.positionBase) - q.bytesSubmitted;
    if (left_ < int64_t{kFadeOutBlocks} * q.blockSize) {
      left = fadeOutStep(left);
      right = fadeOutStep(right);
      lowered = true;
    }
  }
  if (q.fadeIn.load() != 0 && !lowered && q.positionBase == 0) {
    left = fadeInStep(left, q.targetLeft.load());
    right = fadeInStep(right, q.targetRight.load());
  }
  q.currentLeft.store(left);
  q.currentRight.store(right);
}

void sleepAfterBlock(int64_t blocks) {
  if (blocks % 4 != 0) return;
  const int32_t ms = q.outputSleep.load();
  if (ms > 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  } else {
    std::this_thread::yield();
  }
}

// Submits the current block: waits for a free header, copies, ramps, scales
// and writes it, and moves the fill position to the next block of the ring.
void outputWriteBlock() {
  q.freeHeaders.acquire();
  int64_t submitted = 0;
  {
    std::lock_guard<std::mutex> lock(q.ring);
    WaveDevice& d = device();
    uint8_t* header = d.headerData(q.headerIndex);
    if (header != nullptr) {
      std::memcpy(header, q.blocks[q.fillIndex].data(), static_cast<size_t>(q.blockSize));
      q.bytesSubmitted += q.blockSize;
      stepLevels();
      const int32_t left = q.currentLeft.load();
      const int32_t right = q.currentRight.load();
      // Only when neither level is exactly 100: 100/50 leaves the block alone.
      if (left != 100 && right != 100) scaleBlock(header, q.blockSize, q.bits, q.channels, left, right);
      int32_t length = q.blockSize;
      const int32_t cue = q.cueFactor.load();
      if (cue > 1) {
        const int32_t frameBytes = q.channels * q.bits / 8;
        length = length / cue / frameBytes * frameBytes;
      }
      if (!d.write(q.headerIndex, length)) q.freeHeaders.release();
      q.headerIndex = (q.headerIndex + 1) % kHeaderCount;
    } else {
      q.freeHeaders.release();
    }
    ++q.blocksSubmitted;
    q.fillIndex = (q.fillIndex + 1) % kBlockRingSize;
    q.fillCount = 0;
    submitted = q.blocksSubmitted;
  }
  sleepAfterBlock(submitted);
}

}  // namespace

int32_t outputInit() {
  chosenDevice();
  q.deviceId.store(kWaveMapper);
  q.ratePercent.store(100);
  q.cueFactor.store(1);
  q.targetLeft.store(100);
  q.targetRight.store(100);
  q.currentLeft.store(100);
  q.currentRight.store(100);
  q.fadeIn.store(0);
  q.fadeOutAtEnd.store(0);
  q.outputSleep.store(0);
  return 1;
}

int32_t outputFree() {
  outputReset();
  outputClose();
  std::lock_guard<std::mutex> lock(q.ring);
  for (ByteBuffer& block : q.blocks) block.release();
  return 1;
}

int32_t outputOpen(const OutputFormat& format) {
  outputReset();
  outputClose();
  if (format.channels <= 0 || format.bits <= 0 || format.sampleRate <= 0 || format.blockSize <= 0) return 0;
  q.freeHeaders.reset(kHeaderCount, kHeaderCount);
  const int64_t rate = int64_t{format.sampleRate} * q.ratePercent.load() / 100;
  if (rate <= 0 || rate > INT32_MAX) return 0;
  const DeviceFormat deviceFormat{format.channels, format.bits, static_cast<int32_t>(rate), format.blockSize};
  WaveDevice& d = chosenDevice();
  if (!d.open(q.deviceId.load(), deviceFormat, onBlockDone, nullptr)) return 0;
  std::lock_guard<std::mutex> lock(q.ring);
  for (ByteBuffer& block : q.blocks) {
    if (!block.resize(static_cast<size_t>(format.blockSize))) {
      platform::recordOsError(platform::OsErrorKind::Errno, ENOMEM, "allocating the output blocks");
      d.close();
      return 0;
    }
  }
  q.active.store(&d);
  q.channels = format.channels;
  q.bits = format.bits;
  q.blockSize = format.blockSize;
  q.bytesSubmitted = 0;
  // A fade-in starts from silence; otherwise the levels start at their targets.
  q.currentLeft.store(q.fadeIn.load() != 0 ? 0 : q.targetLeft.load());
  q.currentRight.store(q.fadeIn.load() != 0 ? 0 : q.targetRight.load());
  q.fillIndex = q.fillCount = q.headerIndex = 0;
  q.blocksSubmitted = 0;
  q.open.store(true);
  return 1;
}

int32_t outputAppend(const uint8_t* pcm, int32_t bytes) {
  if (!q.open.load() || pcm == nullptr || bytes <= 0) return 0;
  std::unique_lock<std::mutex> lock(q.ring);
  const int32_t room = q.blockSize - q.fillCount;
  uint8_t* fill = q.blocks[q.fillIndex].data() + q.fillCount;
  if (bytes < room) {
    std::memcpy(fill, pcm, static_cast<size_t>(bytes));
    q.fillCount += bytes;
    return 0;
  }
  std::memcpy(fill, pcm, static_cast<size_t>(room));
  q.fillCount = q.blockSize;
  const int32_t blockSize = q.blockSize;
  lock.unlock();
  outputWriteBlock();
  lock.lock();
  int32_t rest = bytes - room;
  if (rest > q.blockSize - q.fillCount) rest = q.blockSize - q.fillCount;
  if (rest > 0) {
    std::memcpy(q.blocks[q.fillIndex].data() + q.fillCount, pcm + room, static_cast<size_t>(rest));
    q.fillCount += rest;
  }
  return blockSize;
}

int32_t outputReset() {
  if (!q.open.load()) return 0;
  std::lock_guard<std::mutex> lock(q.ring);
  if (!device().reset()) return 0;
  q.blocksSubmitted = 0;
  q.fillIndex = 0;
  q.fillCount = 0;
  q.bytesSubmitted = 0;
  return 1;
}

int32_t outputClose() {
  if (!q.open.load()) return 0;
  bool flush = false;
  {
    std::lock_guard<std::mutex> lock(q.ring);
    if (q.fillCount > 0) {
      // Padded with silence: 0x80 for unsigned 8-bit samples, not a full-scale step.
      std::memset(q.blocks[q.fillIndex].data() + q.fillCount, q.bits == 8 ? 0x80 : 0,
                  static_cast<size_t>(q.blockSize - q.fillCount));
      q.fillCount = q.blockSize;
      flush = true;
    }
  }
  if (flush) outputWriteBlock();
  WaveDevice& d = device();
  int32_t start = 0;
  {
    std::lock_guard<std::mutex> lock(q.ring);
    start = q.headerIndex;
  }
  // The play-out: wait for every header the device still holds.
  for (int32_t k = 0; k < kHeaderCount; ++k) {
    const int32_t index = (start + k) % kHeaderCount;
    while (!d.unprepare(index)) {
      if (OutputWaitHook hook = q.waitHook.load()) hook();
      std::this_thread::sleep_for(std::chrono::milliseconds(60));
    }
  }
  outputReset();
  for (int32_t attempt = 0; !d.close() && attempt < kCloseRetries; ++attempt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  q.open.store(false);
  q.active.store(nullptr);
  return 1;
}

int32_t outputPause() { return q.open.load() && device().pause() ? 1 : 0; }
int32_t outputRestart() { return q.open.load() && device().restart() ? 1 : 0; }

int32_t outputSetVolume(int32_t left, int32_t right) {
  const uint32_t l = static_cast<uint32_t>(clampLevel(left)) * 0xFFFFu / 100u;
  const uint32_t r = static_cast<uint32_t>(clampLevel(right)) * 0xFFFFu / 100u;
  device().setVolume(q.deviceId.load(), (r << 16) | l);
  return 1;
}

int32_t outputGetVolume(int32_t* left, int32_t* right) {
  // A device whose volume cannot be read (winmm refuses the mapper while
  // no device is open) plays at its own level: reading that as silence made
  // hosts show, and set, a muted volume.
  uint32_t packed = 0;
  if (!device().getVolume(q.deviceId.load(), packed)) packed = 0xFFFFFFFFu;
  // Rounded, so that a level set reads back as itself: truncated, 50 % went
  // in as 0x7FFF and came back as 49, and each volume step lost one.
  if (left != nullptr) *left = static_cast<int32_t>(((packed & 0xFFFFu) * 100u + 0x7FFFu) / 0xFFFFu);
  if (right != nullptr) *right = static_cast<int32_t>(((packed >> 16) * 100u + 0x7FFFu) / 0xFFFFu);
  return 1;
}

uint32_t outputGetCaps() {
  uint32_t support = 0;
  if (!device().capabilities(q.deviceId.load(), support)) support = 0;
  q.detail.store(support);
  return support;
}

int64_t outputGetPosition() {
  if (!q.open.load()) return 0;
  const int64_t samples = device().position();
  return samples < 0 ? 0 : samples * q.cueFactor.load();
}

void outputSetDevice(int32_t deviceId) { q.deviceId.store(deviceId); }
int32_t outputGetDevice() { return q.deviceId.load(); }
void outputSetRatePercent(int32_t percent) { q.ratePercent.store(percent); }
int32_t outputGetRatePercent() { return q.ratePercent.load(); }
void outputSetCueFactor(int32_t factor) { q.cueFactor.store(factor > 0 ? factor : 1); }
int32_t outputGetCueFactor() { return q.cueFactor.load(); }
void outputSetSleep(int32_t milliseconds) { q.outputSleep.store(milliseconds < 0 ? 0 : milliseconds); }

void outputSetLevels(int32_t left, int32_t right) {
  q.targetLeft.store(clampLevel(left));
  q.targetRight.store(clampLevel(right));
  q.currentLeft.store(clampLevel(left));
  q.currentRight.store(clampLevel(right));
}

int32_t outputGetLevels(int32_t* left, int32_t* right) {
  const int32_t r = q.currentRight.load();
  if (left != nullptr) *left = q.currentLeft.load();
  if (right != nullptr) *right = r;
  return r;
}

void outputSetFadeIn(int32_t on) {
  q.fadeIn.store(on != 0 ? 1 : 0);
  if (on == 0) outputRestoreLevels();
}

void outputSetFadeOutAtEnd(int32_t on) {
  q.fadeOutAtEnd.store(on != 0 ? 1 : 0);
  if (on == 0) outputRestoreLevels();
}

void outputRestoreLevels() {
  q.currentLeft.store(q.targetLeft.load());
  q.currentRight.store(q.targetRight.load());
}

uint32_t outputDetailValue() { return q.detail.load(); }
bool outputIsOpen() { return q.open.load(); }

void outputSetStreamPosition(int64_t totalSamples, int64_t positionBase) {
  q.totalSamples = totalSamples;
  q.positionBase = positionBase;
}

void outputSetWaitHook(OutputWaitHook hook) { q.waitHook.store(hook); }

void outputUseDevice(WaveDevice* device) {
  if (!q.open.load()) q.chosen.store(device);
}

WaveDevice& outputDevice() { return device(); }

SoundingPcm outputCopySounding(int32_t frames, uint8_t* out, int32_t capacity) {
  const int64_t position = outputGetPosition();
  std::lock_guard<std::mutex> lock(q.ring);
  const int32_t frameBytes = q.channels * q.bits / 8;
  const int64_t window = int64_t{frames} * frameBytes;
  if (!q.open.load() || frameBytes <= 0 || frames <= 0 || out == nullptr || window > capacity) return {};
  const int64_t block = q.blockSize;
  const int64_t submitted = q.blocksSubmitted * block;
  const int64_t ringBytes = kBlockRingSize * block;
  // The oldest byte the ring still holds, and where the window may start
  // so that it ends inside what was submitted.
  const int64_t oldest = submitted > ringBytes ? submitted - ringBytes : 0;
  int64_t start = position * frameBytes;
  if (start < window || start < oldest || window > submitted - oldest) return {};
  if (submitted <= ringBytes && start > submitted) return {};
  if (start > submitted - window) start = submitted - window;
  // Ring block k holds the bytes from k * block on, counted over the run;
  // once the ring has wrapped the oldest sits at the fill index.
  const int64_t first = submitted > ringBytes ? q.fillIndex : 0;
  int64_t index = (first + (start - oldest) / block) % kBlockRingSize;
  int64_t offset = (start - oldest) % block;
  for (int64_t copied = 0; copied < window;) {
    const int64_t n = std::min(window - copied, block - offset);
    std::memcpy(out + copied, q.blocks[static_cast<size_t>(index)].data() + offset, static_cast<size_t>(n));
    copied += n;
    index = (index + 1) % kBlockRingSize;
    offset = 0;
  }
  return {q.channels, q.bits, static_cast<int32_t>(window)};
}

}  // namespace orva
