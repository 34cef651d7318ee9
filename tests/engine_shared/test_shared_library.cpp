// Loads the engine as another host would: the shared library by path, its
// entry points by name, nothing linked in.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <string>
#include <vector>

#include "orva_engine.h"
#include "tests/engine_shared/shared_engine.h"

namespace {

using orva::test::SharedEngine;

// The entry names the header declares, read from the header itself.
std::vector<std::string> declaredEntryNames() {
  std::ifstream header(std::string(ORVA_SOURCE_DIR) + "/include/orva_engine.h");
  std::vector<std::string> names;
  std::string line;
  while (std::getline(header, line)) {
    if (line.rfind("ORVA_API ", 0) != 0) continue;
    // The name is the word in front of the first parenthesis.
    const size_t open = line.find('(');
    if (open == std::string::npos) continue;
    size_t start = open;
    while (start > 0 && (std::isalnum(static_cast<unsigned char>(line[start - 1])) || line[start - 1] == '_')) --start;
    names.push_back(line.substr(start, open - start));
  }
  return names;
}

TEST(SharedEngineTest, EveryDeclaredEntryIsExportedUnderItsName) {
  SharedEngine engine(ORVA_ENGINE_LIBRARY);
  ASSERT_TRUE(engine.loaded()) << ORVA_ENGINE_LIBRARY;
  const std::vector<std::string> names = declaredEntryNames();
  ASSERT_GT(names.size(), 80u) << "the header was not read";
  for (const std::string& name : names) {
    EXPECT_NE(engine.entry<void (*)()>(name.c_str()), nullptr) << name;
  }
  // Hosts bind the Lyrics3 loader of the open file by this name.
  EXPECT_NE(engine.entry<int32_t (*)()>("loadLyricsFromLyrics3"), nullptr);
}

TEST(SharedEngineTest, HostOpensTheDemoThroughTheLibrary) {
  SharedEngine engine(ORVA_ENGINE_LIBRARY);
  ASSERT_TRUE(engine.loaded()) << ORVA_ENGINE_LIBRARY;
  auto init = engine.entry<int32_t (*)()>("engineInit");
  auto version = engine.entry<int32_t (*)()>("engineGetVersion");
  auto open = engine.entry<int32_t (*)(const char*, StreamInfo*)>("engineOpen");
  auto status = engine.entry<int32_t (*)()>("engineGetStatus");
  auto close = engine.entry<int32_t (*)()>("engineClose");
  auto shutdown = engine.entry<int32_t (*)()>("engineShutdown");
  ASSERT_TRUE(init && version && open && status && close && shutdown);
  // Internal names stay inside the library.
  EXPECT_EQ(engine.entry<void (*)()>("_ZN4orva16parseFrameHeaderEPKhRNS_15MpegFrameHeaderE"), nullptr);

  EXPECT_EQ(init(), 1);
  EXPECT_EQ(version(), 159);
  StreamInfo info{};
  EXPECT_EQ(open("", &info), 0);
  EXPECT_EQ(status(), ENGINE_ERR_OPEN);
  std::string demo = std::string(ORVA_SOURCE_DIR) + "/samples/orva-theme.mp3";
  ASSERT_EQ(open(demo.c_str(), &info), 1);
  EXPECT_EQ(info.sampleRate, 44100);
  EXPECT_EQ(info.channels, 2);
  EXPECT_EQ(info.bitRate, 128);
  EXPECT_EQ(close(), 1);
  EXPECT_EQ(shutdown(), 1);
}

}  // namespace
