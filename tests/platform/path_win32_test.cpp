// Root- and drive-relative paths resolved against a play list's folder as
// Windows would resolve them with that folder current. Under Wine C: is the
// prefix's drive and Z: is the Unix root.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/codepage.h"
#include "platform/path.h"

namespace orva::platform {
namespace {

std::string resolved(const char* path, const char* directory) {
  char out[MAX_PATH];
  return resolveInDirectory(path, directory, out, sizeof out) ? std::string(out) : std::string("<none>");
}

TEST(Win32Paths, RootRelativeGoesToTheRootOfTheListsDrive) {
  EXPECT_EQ(resolved("\\music\\a.mp3", "C:\\lists\\"), "C:\\music\\a.mp3");
  EXPECT_EQ(resolved("/music/a.mp3", "d:\\lists\\deep\\"), "d:/music/a.mp3");
  EXPECT_EQ(resolved("\\music\\a.mp3", "\\\\server\\share\\lists\\"), "\\\\server\\share\\music\\a.mp3");
  EXPECT_EQ(resolved("\\a.mp3", "\\\\server\\share"), "\\\\server\\share\\a.mp3");
}

TEST(Win32Paths, ShareNamesStepWholeCharacters) {
  setActiveCodePage(CodePage::Cp932);
  // Server 表 and share ソ: both end in the trail byte 0x5C.
  EXPECT_EQ(resolved("\\a.mp3", "\\\\\x95\x5C\\\x83\x5C\\lists\\"), "\\\\\x95\x5C\\\x83\x5C\\a.mp3");
  setActiveCodePage(CodePage::System);
}

TEST(Win32Paths, AbsoluteAndPlainRelativePaths) {
  EXPECT_EQ(resolved("D:\\x\\a.mp3", "C:\\lists\\"), "D:\\x\\a.mp3");
  EXPECT_EQ(resolved("\\\\srv\\s\\a.mp3", "C:\\lists\\"), "\\\\srv\\s\\a.mp3");
  EXPECT_EQ(resolved("sub\\a.mp3", "C:\\lists\\"), "C:\\lists\\sub\\a.mp3");
  EXPECT_TRUE(isAbsolutePath("C:\\x"));
  EXPECT_TRUE(isAbsolutePath("\\\\srv\\s"));
  EXPECT_FALSE(isAbsolutePath("\\x"));
  EXPECT_FALSE(isAbsolutePath("C:x"));
  char small[8];
  EXPECT_FALSE(resolveInDirectory("\\music\\a.mp3", "C:\\lists\\", small, sizeof small));
}

class DriveRelativeTest : public ::testing::Test {
 protected:
  void SetUp() override { GetCurrentDirectoryA(sizeof saved, saved); }
  void TearDown() override {
    SetCurrentDirectoryA(saved);
    SetEnvironmentVariableA("=Y:", nullptr);
  }
  char saved[MAX_PATH] = {};
};

TEST_F(DriveRelativeTest, OnTheListsDriveTheListsFolderIsCurrent) {
  ASSERT_TRUE(SetCurrentDirectoryA("Z:\\tmp"));
  EXPECT_EQ(resolved("C:a.mp3", "C:\\lists\\"), "C:\\lists\\a.mp3");
  EXPECT_EQ(resolved("c:sub\\a.mp3", "C:\\lists\\"), "C:\\lists\\sub\\a.mp3");
  // Even when the list lies on the process's current drive.
  EXPECT_EQ(resolved("Z:a.mp3", "Z:\\lists\\"), "Z:\\lists\\a.mp3");
}

TEST_F(DriveRelativeTest, OtherDrivesUseTheirOwnCurrentDirectoryOrRoot) {
  ASSERT_TRUE(SetCurrentDirectoryA("Z:\\tmp"));
  EXPECT_EQ(resolved("Z:a.mp3", "C:\\lists\\"), "Z:\\tmp\\a.mp3");
  // The per-drive current directories live in the variables "=D:".
  EXPECT_EQ(resolved("Y:a.mp3", "C:\\lists\\"), "Y:\\a.mp3");
  ASSERT_TRUE(SetEnvironmentVariableA("=Y:", "Y:\\music"));
  EXPECT_EQ(resolved("Y:a.mp3", "C:\\lists\\"), "Y:\\music\\a.mp3");
}

}  // namespace
}  // namespace orva::platform
