#include <gtest/gtest.h>

#include <string>

#include "platform/path.h"

namespace orva::platform {
namespace {

std::string resolved(const char* path, const char* directory) {
  char out[260];
  return resolveInDirectory(path, directory, out, sizeof out) ? std::string(out) : std::string("<none>");
}

// Windows' root- and drive-relative forms do not exist here: their
// backslashes and colons are name bytes, so they stay names in the folder.
TEST(PosixPaths, OnlyASlashMakesAPathIndependentOfTheListFolder) {
  EXPECT_EQ(resolved("/music/a.mp3", "/lists/"), "/music/a.mp3");
  EXPECT_EQ(resolved("sub/a.mp3", "/lists/"), "/lists/sub/a.mp3");
  EXPECT_EQ(resolved("\\music\\a.mp3", "/lists/"), "/lists/\\music\\a.mp3");
  EXPECT_EQ(resolved("D:a.mp3", "/lists/"), "/lists/D:a.mp3");
  EXPECT_EQ(resolved("C:\\music\\a.mp3", "/lists/"), "/lists/C:\\music\\a.mp3");
  EXPECT_FALSE(isAbsolutePath("\\music"));
  EXPECT_FALSE(isAbsolutePath("C:\\music"));
  char small[8];
  EXPECT_FALSE(resolveInDirectory("a.mp3", "/lists/", small, sizeof small));
}

}  // namespace
}  // namespace orva::platform
