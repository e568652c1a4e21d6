#include "toolkit/core/file_replacement.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/write_failure.h"

namespace {

using Names = std::vector<std::string>;
using write_failure::namesIn;

std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void writeBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

constexpr char kEarlier[] = "the earlier file\r\n";

// A folder of its own holding one earlier file, "points.gpx".
class Replacement : public testing::Test {
 protected:
  void SetUp() override {
    char full[MAX_PATH] = {};
    GetFullPathNameA("replacement scratch", MAX_PATH, full, nullptr);
    folder_ = full;
    CreateDirectoryA(folder_.c_str(), nullptr);
    for (const std::string& name : namesIn(folder_)) {
      const std::string path = folder_ + "\\" + name;
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (!DeleteFileA(path.c_str())) RemoveDirectoryA(path.c_str());
    }
    writeBytes(target(), kEarlier);
  }
  void TearDown() override { SetFileAttributesA(target().c_str(), FILE_ATTRIBUTE_NORMAL); }

  std::string target() const { return folder_ + "\\points.gpx"; }
  // Nothing changed: the earlier file as it was, and nothing beside it.
  void expectUntouched() const {
    EXPECT_EQ(readBytes(target()), kEarlier);
    EXPECT_EQ(namesIn(folder_), Names{"points.gpx"});
  }

  std::string folder_;
};

TEST_F(Replacement, TheNewFileTakesThePlaceOfTheEarlierOneOnlyWhenCommitted) {
  const std::string content(200000, 'x');
  FileReplacement file;
  ASSERT_TRUE(file.begin(target() + "   "));  // blank-padded names as the records hold them
  ASSERT_TRUE(file.write(content));
  // Until then the earlier file is what readers see.
  EXPECT_EQ(readBytes(target()), kEarlier);
  EXPECT_EQ(namesIn(folder_).size(), 2u);
  ASSERT_TRUE(file.commit());
  EXPECT_EQ(readBytes(target()), content);
  EXPECT_EQ(namesIn(folder_), Names{"points.gpx"});
  EXPECT_EQ(file.error(), 0u);
}

TEST_F(Replacement, ANewFileIsMadeWhereThereWasNone) {
  FileReplacement file;
  ASSERT_TRUE(file.begin(folder_ + "\\new.kml"));
  ASSERT_TRUE(file.write(std::string("<kml/>")));
  ASSERT_TRUE(file.commit());
  EXPECT_EQ(readBytes(folder_ + "\\new.kml"), "<kml/>");
  EXPECT_EQ(namesIn(folder_), (Names{"new.kml", "points.gpx"}));
}

// A file whose full path is as long as Windows takes (MAX_PATH - 1
// characters), deep in folders of long names, is replaced like any other.
TEST_F(Replacement, AFileWhosePathFillsTheLongestPathIsReplaced) {
  constexpr std::size_t kLongest = MAX_PATH - 1;
  constexpr std::size_t kLongestName = 200;
  std::string folder = folder_;
  std::vector<std::string> madeFolders;
  while (kLongest - folder.size() - 1 > kLongestName) {
    folder += "\\" + std::string(std::min(kLongestName, kLongest - folder.size() - 1 - kLongestName), 'f');
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    madeFolders.push_back(folder);
  }
  if (folder.size() + 1 + 8 > kLongest) GTEST_SKIP() << "the test folder leaves no room: " << folder;
  const std::string target = folder + "\\" + std::string(kLongest - folder.size() - 1 - 4, 'n') + ".xls";
  ASSERT_EQ(target.size(), kLongest);

  for (const std::string& content : {std::string("first"), std::string("second")}) {
    FileReplacement file;
    ASSERT_TRUE(file.begin(target)) << file.error();
    ASSERT_TRUE(file.write(content));
    ASSERT_TRUE(file.commit()) << file.error();
    EXPECT_EQ(readBytes(target), content);
    EXPECT_EQ(namesIn(folder).size(), folder == folder_ ? 2u : 1u);  // nothing left beside it
  }
  // The other cases want the scratch folder as they left it.
  EXPECT_TRUE(DeleteFileA(target.c_str()));
  for (auto made = madeFolders.rbegin(); made != madeFolders.rend(); ++made) RemoveDirectoryA(made->c_str());
}

TEST_F(Replacement, AWriteThatFailsPartWayLeavesTheEarlierFileAndNoOther) {
  const write_failure::DiskFills full(1000);
  FileReplacement file;
  ASSERT_TRUE(file.begin(target()));
  EXPECT_TRUE(file.write(std::string(600, 'a')));
  EXPECT_FALSE(file.write(std::string(600, 'b')));
  EXPECT_FALSE(file.write(std::string(1, 'c')));  // nothing more after a failure
  EXPECT_FALSE(file.commit());
  EXPECT_EQ(file.error(), static_cast<DWORD>(ERROR_DISK_FULL));
  expectUntouched();
}

TEST_F(Replacement, AReplacementNeverCommittedLeavesNothingBehind) {
  {
    FileReplacement file;
    ASSERT_TRUE(file.begin(target()));
    ASSERT_TRUE(file.write(std::string("half")));
  }
  expectUntouched();
}

TEST_F(Replacement, ATargetThatCannotBeReplacedIsRefusedBeforeAnythingIsWritten) {
  struct Case {
    const char* what;
    DWORD expected;
  };
  const Case cases[] = {{"read-only", ERROR_ACCESS_DENIED},
                        {"locked", ERROR_SHARING_VIOLATION},
                        {"missing folder", ERROR_PATH_NOT_FOUND},
                        {"folder", ERROR_ACCESS_DENIED}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string what = c.what;
    std::string path = target();
    FileHandle lock;
    if (what == "read-only") SetFileAttributesA(target().c_str(), FILE_ATTRIBUTE_READONLY);
    // Another program holding the file open without sharing it.
    if (what == "locked") {
      lock.reset(CreateFileA(target().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
      ASSERT_TRUE(lock);
    }
    if (what == "missing folder") path = folder_ + "\\no such folder\\points.gpx";
    if (what == "folder") path = folder_;
    FileReplacement file;
    EXPECT_FALSE(file.begin(path));
    EXPECT_EQ(file.error(), c.expected);
    EXPECT_FALSE(file.active());
    EXPECT_FALSE(file.write(std::string("new")));
    EXPECT_FALSE(file.commit());
    lock.reset();
    SetFileAttributesA(target().c_str(), FILE_ATTRIBUTE_NORMAL);
    expectUntouched();
  }
}

TEST_F(Replacement, AFileMadeByAnotherWriterTakesThePlaceOnlyWhenItWasMade) {
  FileReplacement file;
  ASSERT_TRUE(file.begin(target(), FileReplacement::Writer::kOther));
  // Only the name is reserved, in the target's folder, so the other writer is
  // judged by whether the file is there.
  EXPECT_EQ(file.temporaryPath().rfind(folder_ + "\\", 0), 0u);
  EXPECT_EQ(GetFileAttributesA(file.temporaryPath().c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(file.commit());
  expectUntouched();

  ASSERT_TRUE(file.begin(target(), FileReplacement::Writer::kOther));
  writeBytes(file.temporaryPath(), "made elsewhere");
  ASSERT_TRUE(file.commit());
  EXPECT_EQ(readBytes(target()), "made elsewhere");
  EXPECT_EQ(namesIn(folder_), Names{"points.gpx"});
}

TEST_F(Replacement, TemporaryNamesDoNotMeetFilesAlreadyThere) {
  FileReplacement first;
  FileReplacement second;
  ASSERT_TRUE(first.begin(target()));
  ASSERT_TRUE(second.begin(target()));
  EXPECT_NE(first.temporaryPath(), second.temporaryPath());
  ASSERT_TRUE(first.write(std::string("first")));
  ASSERT_TRUE(second.write(std::string("second")));
  ASSERT_TRUE(second.commit());
  ASSERT_TRUE(first.commit());
  EXPECT_EQ(readBytes(target()), "first");
  EXPECT_EQ(namesIn(folder_), Names{"points.gpx"});
}

TEST_F(Replacement, AFileSetAsideComesBackUnlessANewOneWasMade) {
  {
    FileSetAside earlier;
    ASSERT_TRUE(earlier.begin(target()));
    EXPECT_EQ(GetFileAttributesA(target().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(namesIn(folder_).size(), 1u);
    writeBytes(target(), "half made");  // a program that gave up part way
  }
  expectUntouched();

  FileSetAside earlier;
  ASSERT_TRUE(earlier.begin(target()));
  writeBytes(target(), "made");
  earlier.release();
  EXPECT_EQ(readBytes(target()), "made");
  EXPECT_EQ(namesIn(folder_), Names{"points.gpx"});

  // Nothing to set aside, and a file that cannot be replaced stays.
  EXPECT_TRUE(earlier.begin(folder_ + "\\none.mlp"));
  earlier.restore();
  SetFileAttributesA(target().c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(earlier.begin(target()));
  EXPECT_EQ(readBytes(target()), "made");
}

}  // namespace
