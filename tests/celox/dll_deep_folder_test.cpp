// Workbooks deep in a folder tree, read through Celox.dll: the catalogue names
// a workbook by its whole path, which is longer than the library's buffers for
// the catalogue's first column, and the workbook must read all the same.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "celox_test_support.h"

namespace {

using namespace celox_test;

// The longest full path that the ANSI file functions take (MAX_PATH less its NUL).
constexpr std::size_t kLongestPath = MAX_PATH - 1;

// A folder of the test's own in the temporary folder, nested (with blanks in
// its names) so that a file of a given name in it has a full path of exactly
// kLongestPath characters.  Removed again at the end.
class DeepFolder {
 public:
  explicit DeepFolder(const std::string& fileName) {
    char temporary[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temporary);
    root_ = std::string(temporary) + "celox deep " + std::to_string(GetCurrentProcessId());
    std::string folder = root_ + "\\";
    if (folder.size() + fileName.size() + 2 > kLongestPath) return;  // no room: the test fails on the length
    const std::string component = "a folder with a long name for workbooks";
    while (folder.size() + fileName.size() + component.size() + 1 < kLongestPath - 1) folder += component + "\\";
    folder += std::string(kLongestPath - folder.size() - fileName.size() - 1, 'x') + "\\";
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
    std::filesystem::create_directories(folder);
    path_ = folder + fileName;
  }
  ~DeepFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  DeepFolder(const DeepFolder&) = delete;
  DeepFolder& operator=(const DeepFolder&) = delete;

  const std::string& file() const { return path_; }

 private:
  std::string root_;
  std::string path_;
};

// Writes the worksheet Points with three named rows into a new workbook.  It
// is written under a short name beside its own and then renamed: writing makes
// a temporary file under a longer name, which no path may be.
void writePoints(const std::string& path) {
  const std::string written = path.substr(0, path.rfind('\\') + 1) + "w";
  CeloxConnection c = CeloxCreateEXCELFile(written.c_str());
  ASSERT_NE(c, nullptr) << lastErrorText();
  ASSERT_EQ(CeloxCreateTable(c, "Points (Name TEXT, Latitude NUMBER)"), 0) << lastErrorText();
  TextColumn names(3, 16);
  std::vector<double> latitudes = {51.5, 52.25, 53.75};
  for (int r = 1; r <= 3; ++r) names.set(r, "point " + std::to_string(r));
  CeloxColumnBinding b[2] = {binding("Name", names.bytes.data(), 3, 1, 16), binding("Latitude", latitudes.data(), 3, 8, 8)};
  EXPECT_EQ(CeloxWriteRows(c, "Points", 2, 3, b), 3) << lastErrorText();
  EXPECT_EQ(CeloxCloseEXCELFile(c), 0);
  EXPECT_TRUE(MoveFileA(written.c_str(), path.c_str())) << GetLastError();
}

// The catalogue, the row count and the rows of the workbook, as the
// converter's reader asks for them.
void readPoints(CeloxConnection c) {
  std::vector<char> names(8 * static_cast<std::size_t>(kCeloxTableNameLength), ' ');
  std::int32_t count = -1, error = -1;
  CeloxGetTableNames(c, 8, names.data(), &count, &error);
  EXPECT_EQ(error, 0) << lastErrorText();
  ASSERT_EQ(count, 4);
  EXPECT_STREQ(names.data() + 3 * static_cast<std::ptrdiff_t>(kCeloxTableNameLength), "Points$");
  EXPECT_EQ(CeloxDoesTableNameExist(c, "points"), 1) << lastErrorText();

  std::vector<ColumnInfo> columns(4);
  CeloxListColumns(c, "Points$", 4, columns.data(), &count, &error);
  EXPECT_EQ(error, 0) << lastErrorText();
  ASSERT_EQ(count, 2);
  EXPECT_STREQ(columns[0].columnName, "Name");
  EXPECT_STREQ(columns[1].columnName, "Latitude");
  EXPECT_EQ(CeloxGetRowCount(c, "Points"), 3);

  TextColumn read(3, 16);
  std::vector<double> latitudes(3);
  CeloxColumnBinding b[2] = {binding("Name", read.bytes.data(), 3, 1, 16), binding("Latitude", latitudes.data(), 3, 8, 8)};
  EXPECT_EQ(CeloxReadRows(c, "Points", 2, -1, b, "", ""), 3) << lastErrorText();
  EXPECT_EQ(read.text(3), "point 3");
  EXPECT_EQ(latitudes[1], 52.25);
}

struct DeepCase {
  const char* fileName;
  const char* what;
};

// With the workbook's extension the catalogue name (the path without it) is
// 255 characters long; without one it is the whole 259.
const DeepCase kDeepCases[] = {
    {"deep points.xls", "a workbook with its extension"},
    {"deep points", "a workbook without an extension"},
};

TEST(DeepFolderWorkbook, ReadsAtEveryErrorLevelWithoutABox) {
  for (const DeepCase& k : kDeepCases) {
    SCOPED_TRACE(k.what);
    DeepFolder folder(k.fileName);
    ASSERT_EQ(folder.file().size(), kLongestPath);
    resetLibrary();
    writePoints(folder.file());
    for (std::int32_t level : {0, 1}) {
      SCOPED_TRACE("error level " + std::to_string(level));
      CeloxConnection c = CeloxOpenEXCELFile(folder.file().c_str());
      ASSERT_NE(c, nullptr) << lastErrorText();
      // As the converter reads: the level set, messages shown in boxes.
      CeloxSetErrorLevel(level);
      CeloxSetErrorMessagesDisplay(1);
      std::vector<std::string> shown;
      {
        ErrorBoxAnswerer answerer;
        readPoints(c);
        shown = answerer.texts();
      }
      EXPECT_TRUE(shown.empty()) << testing::PrintToString(shown);
      EXPECT_EQ(CeloxCloseEXCELFile(c), 0);
      resetLibrary();
    }
  }
}

}  // namespace
