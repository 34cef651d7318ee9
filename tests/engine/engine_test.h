// Common base of the engine tests: a fresh engine without its open/close
// sleeps, and a temporary folder for fixture files.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "engine/engine_state.h"
#include "engine/engine_testing.h"
#include "orva_engine.h"
#include "tests/engine/engine_fixtures.h"
#include "tests/support/test_support.h"

namespace orva::test {

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setEngineSleepsForTesting(false);
    engineInit();
  }
  void TearDown() override {
    if (gEngine.file.isOpen()) engineClose();
  }

  std::string write(const std::string& name, const Bytes& bytes) {
    const std::string path = dir_.file(name);
    EXPECT_TRUE(writeFileBytes(path, bytes));
    return path;
  }

  // Opens `bytes` as a file; the StreamInfo goes to `info`.
  int32_t openBytes(const Bytes& bytes, StreamInfo& info, const std::string& name = "clip.mp3") {
    return engineOpen(write(name, bytes).c_str(), &info);
  }

  TempDir dir_;
};

}  // namespace orva::test
