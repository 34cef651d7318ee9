#include "tests/playback/playback_test.h"

#include <chrono>
#include <thread>

namespace orva::test {
namespace {

std::mutex logMutex;
std::vector<int32_t> logged;

}  // namespace

void EventLog::record(int32_t event, int32_t) {
  std::lock_guard<std::mutex> lock(logMutex);
  logged.push_back(event);
}

void EventLog::clear() {
  std::lock_guard<std::mutex> lock(logMutex);
  logged.clear();
}

std::vector<int32_t> EventLog::events() {
  std::lock_guard<std::mutex> lock(logMutex);
  return logged;
}

int32_t EventLog::count(int32_t event) {
  std::lock_guard<std::mutex> lock(logMutex);
  int32_t n = 0;
  for (int32_t e : logged) n += e == event ? 1 : 0;
  return n;
}

void PcmCapture::tap(void* context, const uint8_t* data, int32_t bytes) {
  auto* self = static_cast<PcmCapture*>(context);
  std::lock_guard<std::mutex> lock(self->mutex_);
  self->bytes_.insert(self->bytes_.end(), data, data + bytes);
  self->lengths_.push_back(bytes);
}

std::vector<uint8_t> PcmCapture::bytes() {
  std::lock_guard<std::mutex> lock(mutex_);
  return bytes_;
}

std::vector<int32_t> PcmCapture::blockLengths() {
  std::lock_guard<std::mutex> lock(mutex_);
  return lengths_;
}

void PlaybackTest::SetUp() {
  setEngineSleepsForTesting(false);
  engineInit();
  device_.setClock(VirtualClock::Immediate);
  device_.setTap(&PcmCapture::tap, &capture_);
  outputUseDevice(&device_);
  EventLog::clear();
  engineSetCallback(&EventLog::record);
}

void PlaybackTest::TearDown() {
  // A manual clock must run for the stop to finish a play-out.
  device_.advance(int64_t{1} << 40);
  engineStop();
  engineClose();
  engineShutdown();
  outputUseDevice(nullptr);
  engineInit();
}

std::string PlaybackTest::write(const std::string& name, const Bytes& bytes) {
  const std::string path = dir_.file(name);
  EXPECT_TRUE(writeFileBytes(path, bytes));
  return path;
}

std::string PlaybackTest::demoPath() const { return joinPath(joinPath(sourceDir(), "samples"), "orva-theme.mp3"); }

void PlaybackTest::open(const std::string& path) {
  ASSERT_EQ(engineOpen(path.c_str(), &info_), 1) << path << " status " << engineGetStatus();
}

bool PlaybackTest::waitForState(int32_t state) {
  for (int32_t i = 0; i < 3000; ++i) {
    if (engineGetState(nullptr) == state) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return engineGetState(nullptr) == state;
}

void PlaybackTest::playToEnd() {
  for (int32_t i = 0; i < 6000 && engineGetState(nullptr) != ENGINE_STOPPED; ++i) {
    device_.advance(int64_t{1} << 20);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

Bytes silentL3Frames(int32_t count) {
  // 128 kbit/s, 44100 Hz, stereo: side information and main data of zeros
  // decode as silence.
  Bytes out;
  for (int32_t i = 0; i < count; ++i) append(out, frame(kL3Header, kL3FrameSize, 0x00));
  return out;
}

}  // namespace orva::test
