#pragma once
// Text files of the tabular formats and the small helpers their readers and
// writers share: lines read whole (the first kRecordLength characters kept),
// lines written with CR LF, the boxes for a file that cannot be opened or
// written, count lines for the log and number fields that never turn into
// asterisks.

#include <string>
#include <string_view>
#include <vector>

#include "converter/converter_data.h"
#include "toolkit/core/file_replacement.h"
#include "toolkit/core/fixed_text.h"
#include "toolkit/core/scoped_handle.h"

// Reads a text file line by line.  A line ends at LF; a CR just before it is
// not part of the line.  A last line without LF still counts.
class TextLineReader {
 public:
  TextLineReader() = default;
  TextLineReader(const TextLineReader&) = delete;
  TextLineReader& operator=(const TextLineReader&) = delete;

  bool open(std::string_view path);
  // The next line into record (cut to it, padded with blanks) and the number of
  // its characters kept there; false at the end of the file.
  bool readLine(TextField record, int& length);
  void close();

 private:
  KernelHandle handle_;
  std::vector<char> buffer_;
  std::size_t position_ = 0;
  std::size_t filled_ = 0;
  bool ended_ = false;
};

// Replaces a text file by one written line by line.
class TextLineWriter {
 public:
  TextLineWriter() = default;
  // A file never closed stays as it was before.
  ~TextLineWriter() = default;
  TextLineWriter(const TextLineWriter&) = delete;
  TextLineWriter& operator=(const TextLineWriter&) = delete;

  // Starts the file's new content; the earlier file stays until close()
  // succeeds.  False when the file cannot be replaced.
  bool open(std::string_view path);
  // The text and CR LF.
  void writeLine(std::string_view line);
  // Writes what is buffered and puts the new file in place; false, with the
  // earlier file unchanged, when any write failed.
  bool close();

 private:
  bool flush();

  FileReplacement file_;
  std::string pending_;
  bool failed_ = false;
};

// Reads a binary file as a byte stream.
class ByteStreamReader {
 public:
  ByteStreamReader() = default;
  ByteStreamReader(const ByteStreamReader&) = delete;
  ByteStreamReader& operator=(const ByteStreamReader&) = delete;

  bool open(std::string_view path);
  // Exactly `count` bytes, or false when the file ends first (what was there is
  // consumed).
  bool read(void* destination, std::size_t count);
  void close();

 private:
  KernelHandle handle_;
  std::vector<unsigned char> buffer_;
  std::size_t position_ = 0;
  std::size_t filled_ = 0;
};

// The next line of a data section into RECORD_BUFFER, and the text it holds;
// lines that hold nothing but blanks are passed over.  False at the end of the
// file.
bool nextDataLine(TextLineReader& file, std::string_view& record);

// "File error" boxes for an input or output file that cannot be opened, and for
// an output file that could not be written whole.
void fileOpenFailure(std::string_view path);
void fileWriteFailure(std::string_view path);

// INPUT_FILE or OUTPUT_FILE opened, or the box and false.
bool openInputFile(TextLineReader& file);
bool openInputFile(ByteStreamReader& file);
bool openOutputFile(TextLineWriter& file);
// Closes the output; false after the box when it could not be written whole.
bool closeOutputFile(TextLineWriter& file);


// Count lines of the log: the points in five columns and their text, then the
// routes or tracks in three columns and theirs, left-justified.
std::string countLine(int points, std::string_view pointText);
std::string countLine(int points, std::string_view pointText, int groups, std::string_view groupText);

// Iw and Fw.d for the number fields of comma-separated lines: a value that does
// not fit the width is written with as many columns as it needs, since a field
// of asterisks would lose it.
std::string fieldI(long long value, int width, int minDigits = -1);
std::string fieldF(double value, int width, int decimals);

// The number of points that a writer may visit: NPOINTS within the list's bounds.
int listedPoints();

// The route-change state of a reader or writer: no route or track yet.
void startRouteCount();
// Whether the point starts a new route or track, its ROUTE_NAME differing from
// CURRENT_ROUTE; if so NROUTES counts it and CURRENT_ROUTE takes its name.
bool startsNewRoute(const POINT_RECORD& point);

// What a point gets when its file gives no date, time, altitude or proximity:
// the file's date and time, no altitude, proximity 0.
void giveFileDefaults(POINT_RECORD& point);

// Runs a reader or writer between its entry and exit lines of the debug log
// ("Subroutine name", "Exit from Subroutine name").
void runLogged(std::string_view routine, void (*body)());
