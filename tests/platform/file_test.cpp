#include "platform/file.h"

#include <gtest/gtest.h>

#include "tests/support/test_support.h"

namespace orva::platform {
namespace {

TEST(FileTest, OpenFailsForEmptyMissingAndDirectory) {
  test::TempDir dir;
  File f;
  EXPECT_FALSE(f.open("", FileMode::Read));
  EXPECT_FALSE(f.open(nullptr, FileMode::Read));
  EXPECT_FALSE(f.open(dir.file("missing").c_str(), FileMode::Read));
  EXPECT_FALSE(f.open(dir.path().c_str(), FileMode::Read));
  EXPECT_FALSE(f.isOpen());
}

TEST(FileTest, WriteReadSeekTruncate) {
  test::TempDir dir;
  std::string path = dir.file("a.bin");
  File f;
  ASSERT_TRUE(f.open(path.c_str(), FileMode::CreateAlways));
  EXPECT_EQ(f.write("0123456789", 10), 10);
  EXPECT_EQ(f.size(), 10);
  char buf[4] = {};
  EXPECT_TRUE(f.readAt(6, buf, 4));
  EXPECT_EQ(std::string(buf, 4), "6789");
  EXPECT_FALSE(f.readAt(8, buf, 4));  // only two bytes there
  ASSERT_TRUE(f.seek(4));
  EXPECT_TRUE(f.truncateHere());
  EXPECT_EQ(f.size(), 4);
  f.close();

  ASSERT_TRUE(f.open(path.c_str(), FileMode::Read));
  EXPECT_EQ(f.read(buf, 4), 4);
  EXPECT_EQ(f.read(buf, 4), 0);
}

TEST(FileTest, ReaderAndWriterShareTheFile) {
  test::TempDir dir;
  std::string path = dir.file("shared.bin");
  ASSERT_TRUE(test::writeFileBytes(path, {1, 2, 3, 4}));
  File reader;
  File writer;
  ASSERT_TRUE(reader.open(path.c_str(), FileMode::Read));
  ASSERT_TRUE(writer.open(path.c_str(), FileMode::ReadWrite));
  ASSERT_TRUE(writer.seek(4));
  EXPECT_EQ(writer.write("\x05", 1), 1);
  EXPECT_EQ(reader.size(), 5);
}

TEST(FileTest, ReplaceFileSwapsContents) {
  test::TempDir dir;
  std::string a = dir.file("new.bin");
  std::string b = dir.file("old.bin");
  ASSERT_TRUE(test::writeFileBytes(a, {9}));
  ASSERT_TRUE(test::writeFileBytes(b, {1, 2}));
  ASSERT_TRUE(replaceFile(a.c_str(), b.c_str()));
  EXPECT_EQ(test::readFileBytes(b), std::vector<uint8_t>{9});
  EXPECT_FALSE(fileExists(a.c_str()));
  EXPECT_TRUE(removeFile(b.c_str()));
  EXPECT_FALSE(fileExists(b.c_str()));
}

}  // namespace
}  // namespace orva::platform
