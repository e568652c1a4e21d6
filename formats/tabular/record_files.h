#pragma once
// Text files of the tabular formats, line by line: readers see each line whole
// with its length, cut to their record; writers end every line with CR LF.
// Also the few steps every reader and writer of these formats shares: the box
// for a file that cannot be opened or written, taking back a point that failed,
// and the count line of the log.

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "converter/converter_data.h"
#include "toolkit/core/file_replacement.h"
#include "toolkit/core/fixed_text.h"

class TextInputFile {
 public:
  TextInputFile() = default;
  ~TextInputFile() { close(); }
  TextInputFile(const TextInputFile&) = delete;
  TextInputFile& operator=(const TextInputFile&) = delete;

  // Opens an existing file for reading (trailing blanks of the name dropped).
  bool open(std::string_view path);
  bool isOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
  // The next line without its line end (LF or CR LF) into the record, cut to
  // the record's length and padded with blanks; length is the number of
  // characters kept.  False at the end of the file (or on a read failure).
  bool readLine(TextField record, int& length);
  void close();

 private:
  bool fill();

  HANDLE handle_ = INVALID_HANDLE_VALUE;
  std::vector<char> buffer_;
  std::size_t position_ = 0;
  std::size_t end_ = 0;
  bool atEnd_ = false;
};

class TextOutputFile {
 public:
  TextOutputFile() = default;
  // A file never closed stays as it was before.
  ~TextOutputFile() = default;
  TextOutputFile(const TextOutputFile&) = delete;
  TextOutputFile& operator=(const TextOutputFile&) = delete;

  // Starts the file's new content; the earlier file stays until close()
  // succeeds.  False when the file cannot be replaced.
  bool create(std::string_view path);
  // One line, followed by CR LF.
  void writeLine(std::string_view line);
  // Writes what is pending and puts the new file in place; false, with the
  // earlier file unchanged, when any write failed.
  bool close();

 private:
  bool flush();

  FileReplacement file_;
  std::string pending_;
  bool failed_ = false;
};

// The box of a file that cannot be opened, read or written: the text, a line
// break and the file's name, titled "File Error".
void FILE_ERROR_BOX(std::string_view text, std::string_view path);

// Adds the point that `fill` makes of a record (bool fill(POINT_RECORD&), given
// a point without values).  False, with nothing added, when the list is full
// (after the storage-limit box) or when fill refuses the record, having told the
// user why.
template <typename Fill>
bool STORE_FILLED_POINT(Fill fill) {
  POINT_RECORD* point = STORE_POINT();
  if (point == nullptr) return false;
  POINT_RECORD filled;
  if (!fill(filled)) {
    WITHDRAW_POINT();
    return false;
  }
  *point = filled;
  return true;
}

// A count line of the log: the numbers are written in their fixed columns by
// the caller; the line goes to the log without its leading and trailing blanks.
void SCROLL_COUNT(std::string_view line);
