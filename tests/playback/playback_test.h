// Common base of the playback tests: a fresh engine on the virtual device,
// a record of the callback's events, and fixture files in a temporary
// folder. Waits poll the engine; no test asserts on elapsed time.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "engine/engine_state.h"
#include "engine/engine_testing.h"
#include "orva_engine.h"
#include "output/output_queue.h"
#include "output/virtual_device.h"
#include "tests/engine/engine_fixtures.h"
#include "tests/support/test_support.h"

namespace orva::test {

// Every callback event, in order.
class EventLog {
 public:
  static void record(int32_t event, int32_t value);
  static void clear();
  static std::vector<int32_t> events();  // event numbers only
  static int32_t count(int32_t event);
};

// Device PCM captured through the virtual device's tap.
class PcmCapture {
 public:
  static void tap(void* context, const uint8_t* data, int32_t bytes);
  std::vector<uint8_t> bytes();
  std::vector<int32_t> blockLengths();

 private:
  std::mutex mutex_;
  std::vector<uint8_t> bytes_;
  std::vector<int32_t> lengths_;
};

class PlaybackTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::string write(const std::string& name, const Bytes& bytes);
  std::string demoPath() const;
  // Opens a file; fails the test when it does not open.
  void open(const std::string& path);
  // Polls until the state is `state` (true) or a generous bound passes.
  bool waitForState(int32_t state);
  // Manual clock: plays everything queued until the engine stops.
  void playToEnd();

  VirtualDevice device_;
  PcmCapture capture_;
  TempDir dir_;
  StreamInfo info_{};
};

// MPEG-1 Layer III frames of silence-like content that decode cleanly.
Bytes silentL3Frames(int32_t count);

}  // namespace orva::test
