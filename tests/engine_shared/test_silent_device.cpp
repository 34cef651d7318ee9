// A host without sound hardware plays through the shared library on the
// silent device: the position moves at the real-time rate, and stop works.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "tests/engine_shared/engine_entries.h"

namespace orva::test {
namespace {

using Clock = std::chrono::steady_clock;

TEST(SilentDeviceTest, PlaysAtTheRealTimeRateAndStops) {
  SharedEngine engine(ORVA_ENGINE_LIBRARY);
  ASSERT_TRUE(engine.loaded()) << ORVA_ENGINE_LIBRARY;
  const EngineEntries e(engine);
  ASSERT_TRUE(e.complete());
  ASSERT_EQ(e.init(), 1);
  ASSERT_EQ(e.setDevice(ENGINE_DEVICE_SILENT), 1);
  StreamInfo info{};
  const std::string demo = std::string(ORVA_SOURCE_DIR) + "/samples/orva-theme.mp3";  // 12 s
  ASSERT_EQ(e.open(demo.c_str(), &info), 1);
  ASSERT_EQ(e.play(), 1) << e.status();
  char reason[64] = "stale";
  EXPECT_EQ(e.systemErrorText(reason, sizeof reason), 0);
  EXPECT_STREQ(reason, "");

  const auto deadline = Clock::now() + std::chrono::seconds(5);
  while (e.positionSamples() == 0 && Clock::now() < deadline) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  const int32_t first = e.positionSamples();
  const auto start = Clock::now();
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  const int32_t last = e.positionSamples();
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  const double rate = (last - first) / seconds;
  EXPECT_NEAR(rate, 44100.0, 44100.0 * 0.25) << first << " .. " << last << " in " << seconds << " s";
  EXPECT_EQ(e.getState(nullptr), ENGINE_PLAYING);

  EXPECT_EQ(e.stop(), 1) << e.status();
  EXPECT_EQ(e.getState(nullptr), ENGINE_STOPPED);
  EXPECT_EQ(e.close(), 1);
  EXPECT_EQ(e.setDevice(ENGINE_DEVICE_DEFAULT), 1);
  EXPECT_EQ(e.shutdown(), 1);
}

}  // namespace
}  // namespace orva::test
