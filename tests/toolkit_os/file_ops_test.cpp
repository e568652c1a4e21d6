#include "toolkit/core/file_ops.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "os_test_support.h"
#include "toolkit/core/error_reporter.h"

namespace {

using os_test::exists;
using os_test::ScratchDir;

class FileOps : public ::testing::Test {
 protected:
  void SetUp() override {
    YYErrorStateReset();
    before = os_test::currentDirectory();
  }
  void TearDown() override {
    SetCurrentDirectoryA(before.c_str());
    YYErrorStateReset();
  }
  std::string before;
  ScratchDir dir{"file_ops"};
};

TEST_F(FileOps, DeleteWithAndWithoutWildcards) {
  dir.file("one.tmp");
  dir.file("two.tmp");
  dir.file("keep.txt");
  dir.dir("x.tmp");
  IOsDeleteFile(dir / "*.tmp   ");
  EXPECT_EQ(WErrorStatusQuery(1), 0);
  EXPECT_FALSE(exists(dir / "one.tmp"));
  EXPECT_FALSE(exists(dir / "two.tmp"));
  EXPECT_TRUE(exists(dir / "x.tmp"));  // a directory is left alone
  EXPECT_TRUE(exists(dir / "keep.txt"));

  IOsDeleteFile(dir / "keep.txt");
  EXPECT_FALSE(exists(dir / "keep.txt"));
  EXPECT_EQ(WErrorStatusQuery(1), 0);

  IOsDeleteFile(dir / "keep.txt");  // no longer there
  EXPECT_EQ(WErrorStatusQuery(1), 13);
  EXPECT_EQ(WErrorStatusQuery(3), ERROR_FILE_NOT_FOUND);

  YYErrorCodeStore(5);
  IOsDeleteFile("    ");
  EXPECT_EQ(WErrorStatusQuery(1), 5);
}

TEST_F(FileOps, DeleteGoesOnPastAFileThatCannotBeDeleted) {
  dir.file("a.del");
  const std::string locked = dir.file("b.del");
  dir.file("c.del");
  SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);
  IOsDeleteFile(dir / "*.del");
  EXPECT_EQ(WErrorStatusQuery(1), 13);
  EXPECT_FALSE(exists(dir / "a.del"));
  EXPECT_TRUE(exists(locked));
  EXPECT_FALSE(exists(dir / "c.del"));
  SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FileOps, CopyOneFile) {
  const std::string data = dir.dir("data");
  const std::string out = dir.dir("out");
  os_test::writeFile(data + "\\a.txt", "hello");
  SetCurrentDirectoryA(dir.path().c_str());

  IOsCopyFile("data\\a.txt", " ");  // blank target: the current directory
  EXPECT_EQ(os_test::readFile(dir / "a.txt"), "hello");
  IOsCopyFile("data\\a.txt", "out\\");  // a target ending in "\" is a directory
  EXPECT_EQ(os_test::readFile(out + "\\a.txt"), "hello");
  os_test::writeFile(out + "\\b.txt", "old");
  IOsCopyFile(data + "\\a.txt", out + "\\b.txt");  // overwrites
  EXPECT_EQ(os_test::readFile(out + "\\b.txt"), "hello");
  EXPECT_EQ(WErrorStatusQuery(1), 0);

  IOsCopyFile("data\\a.txt", "out");  // taken as a file name: the directory is in the way
  EXPECT_EQ(WErrorStatusQuery(1), 13);

  struct SameCase {
    const char* source;
    const char* target;
    int error;
  };
  const SameCase same[] = {
      {"a.txt", "", 55},            // the target is a.txt again
      {"a.txt", "a.txt", 55},
      {"data\\a.txt", "data\\a.txt", 55},
      {"a.txt", "A.TXT", 13},       // attempted: the system refuses
      {"data\\none.txt", "x.txt", 13},
      {"data\\a.txt", "nodir\\x.txt", 13},
  };
  for (const auto& c : same) {
    IOsCopyFile(c.source, c.target);
    EXPECT_EQ(WErrorStatusQuery(1), c.error) << c.source << " -> " << c.target;
  }
  EXPECT_EQ(os_test::readFile(dir / "a.txt"), "hello");

  // A target path too long for the buffer is refused, not cut into another name.
  IOsCopyFile("data\\a.txt", out + "\\" + std::string(260, 'n'));
  EXPECT_EQ(WErrorStatusQuery(1), 13);
  EXPECT_EQ(WErrorStatusQuery(3), ERROR_FILENAME_EXCED_RANGE);
}

TEST_F(FileOps, CopyByWildcard) {
  const std::string pictures = dir.dir("pictures");
  const std::string target = dir.dir("target");
  os_test::writeFile(pictures + "\\one.bmp", "1");
  os_test::writeFile(pictures + "\\two.bmp", "2");
  os_test::writeFile(pictures + "\\skip.txt", "s");
  std::filesystem::create_directories(pictures + "\\dir.bmp");
  os_test::writeFile(target + "\\one.bmp", "old");

  IOsCopyFile(pictures + "\\*.bmp", target);
  EXPECT_EQ(WErrorStatusQuery(1), 0);
  EXPECT_EQ(os_test::readFile(target + "\\one.bmp"), "1");
  EXPECT_EQ(os_test::readFile(target + "\\two.bmp"), "2");
  EXPECT_FALSE(exists(target + "\\skip.txt"));
  EXPECT_FALSE(exists(target + "\\dir.bmp"));

  SetCurrentDirectoryA(dir.path().c_str());
  IOsCopyFile("pictures\\t?o.bmp", "");  // blank target: the current directory
  EXPECT_EQ(os_test::readFile(dir / "two.bmp"), "2");

  IOsCopyFile(pictures + "\\*.none", target);
  EXPECT_EQ(WErrorStatusQuery(1), 13);
  EXPECT_EQ(WErrorStatusQuery(3), ERROR_FILE_NOT_FOUND);

  IOsCopyFile(pictures + "\\*.bmp", dir / "missing");  // never created
  EXPECT_EQ(WErrorStatusQuery(1), 13);
  EXPECT_FALSE(exists(dir / "missing"));
}

TEST_F(FileOps, CurrentDirectoryIntoTextsOfEveryLength) {
  SetCurrentDirectoryA(dir.path().c_str());
  const std::string cwd = os_test::currentDirectory();
  const int n = static_cast<int>(cwd.size());
  std::string exact(static_cast<std::size_t>(n), '#');
  IOsDirName(TextField(exact.data(), n));
  EXPECT_EQ(exact, cwd);
  EXPECT_EQ(WErrorStatusQuery(1), 0);

  std::string wide(static_cast<std::size_t>(n + 3), '#');
  IOsDirName(TextField(wide.data(), n + 3));
  EXPECT_EQ(wide, cwd + "   ");

  std::string shorter(static_cast<std::size_t>(n - 1), '#');
  IOsDirName(TextField(shorter.data(), n - 1));
  EXPECT_EQ(shorter, std::string(static_cast<std::size_t>(n - 1), ' '));
  EXPECT_EQ(WErrorStatusQuery(1), 1023);
}

TEST_F(FileOps, DirectoryWrappers) {
  int error = -1;
  const std::string made = dir / "made";
  YYOsMkDir(made.c_str(), error);
  EXPECT_EQ(error, 0);
  YYOsMkDir(made.c_str(), error);
  EXPECT_EQ(error, ERROR_ALREADY_EXISTS);
  YYOsChDir(made.c_str(), error);
  EXPECT_EQ(error, 0);
  char buffer[4] = {};
  int truncated = -1;
  YYOsGetCwd(buffer, sizeof buffer, error, truncated);
  EXPECT_EQ(truncated, 1);
  SetCurrentDirectoryA(before.c_str());
  YYOsRmDir(made.c_str(), error);
  EXPECT_EQ(error, 0);
  YYOsChDir((dir / "none").c_str(), error);
  EXPECT_EQ(error, ERROR_FILE_NOT_FOUND);

  const std::string from = dir.file("m1.txt", "m");
  YYOsMoveFile(from.c_str(), (dir / "m2.txt").c_str(), error);
  EXPECT_EQ(error, 0);
  EXPECT_TRUE(exists(dir / "m2.txt"));
  char system[300] = {};
  YYOsSystemDir(system, sizeof system, error);
  EXPECT_EQ(error, 0);
  EXPECT_GT(lstrlenA(system), 3);
  YYOsSystemDir(system, 3, error);
  EXPECT_NE(error, 0);
}

}  // namespace
