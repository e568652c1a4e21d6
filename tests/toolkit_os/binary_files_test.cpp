#include "toolkit/core/binary_files.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "os_test_support.h"
#include "toolkit/core/error_reporter.h"

namespace {

using os_test::ScratchDir;

class BinaryFiles : public ::testing::Test {
 protected:
  void SetUp() override { YYErrorStateReset(); }
  void TearDown() override { YYErrorStateReset(); }
  ScratchDir dir{"binary"};
};

TEST_F(BinaryFiles, OpenModes) {
  const std::string existing = dir.file("data.bin", "0123456789");
  int handle = 0;
  IFileOpen(existing, 1, handle);  // write: empties the file
  ASSERT_NE(handle, kNoFile);
  YYFileClose(handle);
  EXPECT_EQ(os_test::readFile(existing), "");

  struct FailCase {
    std::string name;
    int mode;
    int detail;
  };
  const FailCase failures[] = {
      {dir / "missing.bin", 2, ERROR_FILE_NOT_FOUND},
      {dir / "missing.bin", 0, ERROR_FILE_NOT_FOUND},
      {existing, 3, 0},
      {existing, -1, 0},
      {"     ", 0, 0},
      {dir / std::string(260, 'n'), 1, ERROR_FILENAME_EXCED_RANGE},
  };
  for (const auto& f : failures) {
    handle = 0;
    IFileOpen(f.name, f.mode, handle);
    EXPECT_EQ(handle, kNoFile) << f.mode;
    EXPECT_EQ(WErrorStatusQuery(1), 1) << f.mode;
    EXPECT_EQ(WErrorStatusQuery(5), 2);
    EXPECT_EQ(WErrorStatusQuery(2), f.detail) << f.name.substr(0, 60) << ' ' << f.mode;
    EXPECT_EQ(WErrorStatusQuery(3), 0);  // the OS error word is not touched
  }
  EXPECT_FALSE(os_test::exists(dir / "missing.bin"));
}

TEST_F(BinaryFiles, WriteSeekAndReadBack) {
  int handle = 0;
  // Leading and trailing blanks are not part of the name.
  IFileOpen("   " + (dir / "rw.bin") + "   ", 1, handle);
  ASSERT_NE(handle, kNoFile);
  int written = 0;
  IFileWriteChar(handle, "abcdefghijKLM", 10, written);
  EXPECT_EQ(written, 10);
  YYFileClose(handle);
  EXPECT_EQ(os_test::readFile(dir / "rw.bin"), "abcdefghij");

  IFileOpen(dir / "rw.bin", 2, handle);
  ASSERT_NE(handle, kNoFile);
  int position = 0;
  IFileSeek(handle, position, 2);
  EXPECT_EQ(position, 10);  // the end: the file's size
  position = -4;
  IFileSeek(handle, position, 2);
  EXPECT_EQ(position, 6);
  FixedText<10> text;
  int read = 0;
  IFileReadChar(handle, text, 10, read);
  EXPECT_EQ(read, 4);
  EXPECT_EQ(text.view(), "ghij      ");
  IFileReadChar(handle, text, 10, read);
  EXPECT_EQ(read, 0);
  EXPECT_EQ(WErrorStatusQuery(1), 0);

  position = 2;
  IFileSeek(handle, position, 0);
  EXPECT_EQ(position, 2);
  position = 1;
  IFileSeek(handle, position, 1);
  EXPECT_EQ(position, 3);
  IFileWriteChar(handle, "XY", 2, written);
  position = 77;
  IFileSeek(handle, position, 5);  // no such origin: nothing happens
  EXPECT_EQ(position, 77);
  EXPECT_EQ(WErrorStatusQuery(1), 0);
  YYFileClose(handle);
  EXPECT_EQ(os_test::readFile(dir / "rw.bin"), "abcXYfghij");
}

TEST_F(BinaryFiles, FailuresOfReadWriteAndSeek) {
  int handle = 0;
  IFileOpen(dir.file("ro.bin", "abc"), 0, handle);
  ASSERT_NE(handle, kNoFile);
  int written = 0;
  IFileWriteChar(handle, "x", 1, written);  // opened for reading only
  EXPECT_EQ(written, -1);
  EXPECT_EQ(WErrorStatusQuery(1), 2);
  EXPECT_EQ(WErrorStatusQuery(5), 2);
  EXPECT_NE(WErrorStatusQuery(2), 0);

  // A count beyond the caller's text would run past it: refused.
  FixedText<4> small;
  int read = 0;
  IFileReadChar(handle, small, 10, read);
  EXPECT_EQ(read, -1);
  EXPECT_EQ(WErrorStatusQuery(1), 2);
  EXPECT_EQ(small.view(), "    ");
  IFileWriteChar(handle, "ab", 3, written);
  EXPECT_EQ(written, -1);
  EXPECT_EQ(WErrorStatusQuery(1), 2);
  YYFileClose(handle);

  int position = 0;
  IFileSeek(-1, position, 0);
  EXPECT_EQ(position, -1);
  EXPECT_EQ(WErrorStatusQuery(1), 2);
  IFileReadChar(-1, small, 2, read);
  EXPECT_EQ(read, -1);
  EXPECT_EQ(WErrorStatusQuery(1), 2);
}

}  // namespace
