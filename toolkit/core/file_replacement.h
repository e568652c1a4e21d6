#pragma once
// A file replaced only by a complete new one.  The new content goes to a
// temporary file in the target's folder, and that file takes the target's place
// only once it is whole and closed without error; any failure before leaves the
// earlier file as it was and removes the temporary one.

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "toolkit/core/scoped_handle.h"

// Writes bytes to a file handle as WriteFile does.  Every write of a replacement
// goes through this pointer, so that tests can make a write fail part way.
using ReplacementWriteFunction = BOOL (*)(HANDLE file, const void* bytes, DWORD count, DWORD* written);
extern ReplacementWriteFunction replacementWrite;

class FileReplacement {
 public:
  // Who fills the temporary file: this program through write(), or another
  // program or library that is given temporaryPath() and writes it itself.
  enum class Writer { kThisProgram, kOther };

  FileReplacement() = default;
  ~FileReplacement() { abandon(); }
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  // Checks that the target can be replaced (a folder that exists, no folder of
  // that name, not read-only, not held by another program) and creates the
  // temporary file beside it.  False, with error() set, when it cannot; nothing
  // on the disk has changed then.
  bool begin(std::string_view target, Writer writer = Writer::kThisProgram);
  bool active() const { return !temporary_.empty(); }
  const std::string& temporaryPath() const { return temporary_; }

  // Appends bytes to the temporary file; false once any write has failed.
  bool write(const void* bytes, std::size_t count);
  bool write(std::string_view bytes) { return write(bytes.data(), bytes.size()); }

  // Closes the temporary file and puts it in the target's place.  False, with
  // the temporary file removed and the target untouched, when any write, the
  // close or the move failed.
  bool commit();
  // Closes and removes the temporary file; the target stays as it was.
  void abandon();

  // The Windows code of the first failure, 0 when none.
  DWORD error() const { return error_; }

 private:
  void fail(DWORD code);

  std::string target_;
  std::string temporary_;
  FileHandle file_;
  DWORD error_ = 0;
};

// An earlier file moved aside, under a temporary name in its folder, while a
// program that names its output itself writes the new one; put back when that
// program leaves no file.
class FileSetAside {
 public:
  FileSetAside() = default;
  ~FileSetAside() { restore(); }
  FileSetAside(const FileSetAside&) = delete;
  FileSetAside& operator=(const FileSetAside&) = delete;

  // Moves the file aside; true when it was moved or there was none.
  bool begin(std::string_view path);
  // The new file is in place: the earlier one is deleted.
  void release();
  // The earlier file back in its place, replacing whatever is there now.
  void restore();

 private:
  std::string path_;
  std::string aside_;
};
