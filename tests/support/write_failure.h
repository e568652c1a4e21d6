#pragma once
// Making the writes of file replacements fail part way, as a full disk does, and
// looking at what a failed save left in its folder.

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace write_failure {

// While alive, the writes of every file replacement stop once `allowed` bytes
// have gone to disk in all: the write that crosses that mark writes what fits
// and fails with ERROR_DISK_FULL.
class DiskFills {
 public:
  explicit DiskFills(std::size_t allowed);
  ~DiskFills();
  DiskFills(const DiskFills&) = delete;
  DiskFills& operator=(const DiskFills&) = delete;
};

// The names of the files and folders in a folder, sorted.
std::vector<std::string> namesIn(const std::string& folder);

// Makes the folder when missing, empties it of files and puts there the file
// `name` holding `earlier`; the file's path.
std::string earlierFileIn(const std::string& folder, const std::string& name, std::string_view earlier);

// While alive, the file cannot be replaced: it is read-only, or another
// program holds it open without sharing it.
class TargetRefused {
 public:
  enum Kind { kReadOnly, kLocked };
  static constexpr Kind kKinds[] = {kReadOnly, kLocked};

  TargetRefused(std::string path, Kind kind);
  ~TargetRefused();
  TargetRefused(const TargetRefused&) = delete;
  TargetRefused& operator=(const TargetRefused&) = delete;

 private:
  std::string path_;
  void* lock_ = nullptr;
};

// A writer of the converter and the name of the file it saves in a test.
struct SaveCase {
  const char* name;
  void (*write)();
  const char* file;
};

// Saves onto a target that `prepare` makes afresh, once read-only and once held
// by another program, and runs `check` on the target after each.
template <typename Prepare, typename Save, typename Check>
void saveOntoRefusedTargets(Prepare prepare, Save save, Check check) {
  for (const auto kind : TargetRefused::kKinds) {
    SCOPED_TRACE(kind == TargetRefused::kLocked ? "locked" : "read-only");
    const std::string target = prepare();
    {
      const TargetRefused refused(target, kind);
      save();
    }
    check(target);
  }
}

// Saves onto a target that `prepare` makes while the disk fills after the
// first 100 bytes, and runs `check` on the target.
template <typename Prepare, typename Save, typename Check>
void saveOntoFullDisk(Prepare prepare, Save save, Check check) {
  const std::string target = prepare();
  {
    const DiskFills full(100);
    save();
  }
  check(target);
}

// The Windows path of a folder on a small disk of its own, which the test run
// names in CARROW_SMALL_DISK; "" when it has none.
std::string smallDisk();

// While alive, a file that takes all of its disk's free space but `room` bytes.
class Filler {
 public:
  Filler(std::string path, std::size_t room);
  ~Filler();
  Filler(const Filler&) = delete;
  Filler& operator=(const Filler&) = delete;

 private:
  std::string path_;
};

}  // namespace write_failure
