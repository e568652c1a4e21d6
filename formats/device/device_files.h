#pragma once
// Files of the navigation-device formats: a buffered byte and line reader, a
// buffered writer, free-form number reading and the boxes for files that cannot
// be opened.  Every file is opened and closed within one reader or writer run.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "converter/converter_data.h"
#include "toolkit/core/file_replacement.h"
#include "toolkit/core/fixed_text.h"

namespace device {

// Reads a file front to back through a buffer.  Every read stops cleanly at the
// end of the file and says so; nothing is ever read past it.
class InputFile {
 public:
  InputFile() = default;
  ~InputFile() { close(); }
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // Opens an existing file for reading; false when it cannot be opened.
  bool open(std::string_view path);
  void close();

  // One byte; false at the end of the file.
  bool readByte(unsigned char& byte);
  // n bytes; false when the file ends first (the bytes read so far are lost).
  bool readBytes(void* destination, std::size_t n);
  // Passes over n bytes; false when the file ends first.
  bool skip(std::uint64_t n);
  bool readInt32(std::int32_t& value);
  bool readInt16(std::int16_t& value);
  bool readDouble(double& value);

  // The next line, up to its line feed (a carriage return before it is dropped),
  // or the last line of the file without one.  The line goes into `line` cut to
  // its length and blank-padded; `length` is the number of characters kept.  A
  // longer line is read whole and only its start kept.  False at the end of the
  // file with nothing read.
  bool readLine(TextField line, int& length);

 private:
  bool fill();

  HANDLE handle_ = INVALID_HANDLE_VALUE;
  std::vector<unsigned char> buffer_;
  std::size_t position_ = 0;
  std::size_t filled_ = 0;
  bool ended_ = false;
};

// Writes a file through a buffer; the file is complete and checked at close().
class OutputFile {
 public:
  OutputFile() = default;
  // A file never closed stays as it was before.
  ~OutputFile() = default;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Starts the file's new content; the earlier file stays until close()
  // succeeds.  False when the file cannot be replaced.
  bool create(std::string_view path);
  void write(std::string_view bytes);
  void writeByte(unsigned char byte);
  void writeInt32(std::int32_t value);
  void writeInt16(std::int16_t value);
  void writeDouble(double value);
  // The text and a carriage return and line feed.
  void writeLine(std::string_view text);
  // Writes what is buffered and puts the new file in place; false, with the
  // earlier file unchanged, when anything failed to be written.
  bool close();

 private:
  bool flush();

  FileReplacement file_;
  std::string buffer_;
  bool failed_ = false;
};

// True when a file (not a folder) of that name exists.
bool fileExists(std::string_view path);

// FILE_NAMES INPUT_FILE opened for reading; false, after a box that says so,
// when it cannot be opened.
bool openInput(InputFile& in);
// FILE_NAMES OUTPUT_FILE created; false, after a box that says so, when it
// cannot be created.
bool createOutput(OutputFile& out);
// Closes FILE_NAMES OUTPUT_FILE; false, after a box that says so, when it was
// not completely written.
bool closeOutput(OutputFile& out);

// The fields of a point read from a file that gives no date, time, altitude,
// proximity or symbol: the file's date and time, no altitude, proximity 0, no
// symbol, the symbol name and the route name given, no colour.
void setReadDefaults(POINT_RECORD& point, std::string_view symbolName, std::string_view routeName);

// Free-form number input: leading blanks are skipped and the first value is
// taken, which ends at a blank, a comma, a slash or the end of the text; a sign,
// a decimal point and an exponent (E or D, upper or lower case) are allowed.
// False, with the value unchanged, when the text holds no such value.
bool readReal(std::string_view text, double& value);
bool readReal(std::string_view text, float& value);
// The same for a whole number (sign and digits only).
bool readInteger(std::string_view text, std::int32_t& value);


// The nearest whole number, halves away from zero; values beyond any field are
// held at +-1e15, where every field shows its asterisks.
long long nearestWhole(double value);

// Whole number without blanks: the counts of log lines and generated names.
std::string wholeNumber(long long value);

// A stored text as one line of a text file, or as one NUL-ended string of a
// binary file: a carriage return, line feed or NUL inside it would split the
// record, so each becomes a blank.
std::string lineText(std::string_view text);

// Columns first..last of a text (1-based, both included), clipped to the text.
std::string_view columns(std::string_view text, int first, int last);

}  // namespace device
