#pragma once
// Writing the XML formats: the output file of lines, and the value forms that the
// GPX, Mapopolis and KML writers share.

#include <array>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "converter/converter_data.h"
#include "toolkit/core/file_replacement.h"

// A text file written line by line, each line without its trailing blanks and
// ended by CR LF.  Write failures are remembered and reported by close().
class XmlOutputFile {
 public:
  // utf8: the lines hold code page 1252 bytes that the file gets as UTF-8.
  explicit XmlOutputFile(bool utf8 = false) : utf8_(utf8) {}
  // A file never closed stays as it was before.
  ~XmlOutputFile() = default;
  XmlOutputFile(const XmlOutputFile&) = delete;
  XmlOutputFile& operator=(const XmlOutputFile&) = delete;

  // Starts the file's new content; the earlier file stays until close()
  // succeeds.  False when the file cannot be replaced.
  bool create(std::string_view path);
  void line(std::string_view text);
  // One line from its pieces, put together in the file's own buffer.
  void line(std::initializer_list<std::string_view> pieces);
  // Writes what is pending and puts the new file in place; false, with the
  // earlier file unchanged, when anything could not be written.
  bool close();

 private:
  void flush();

  FileReplacement file_;
  // Lines not yet written: buffer_[0, used_).  The buffer is as long as the
  // longest line needs, and at least the flush size and a line.
  std::vector<char> buffer_;
  std::size_t used_ = 0;
  bool utf8_;
  bool failed_ = false;
};

// The box that tells the user a file could not be written.
void OUTPUT_FAILURE_BOX(std::string_view path);

// The value fixed-point with `decimals` decimals, left-justified as LJUST writes
// it in ten columns; a value too wide for its columns is written in full, so that
// the file keeps a number where it needs one.
std::string XML_FIXED(float value, int width = 10, int decimals = 5);
// The same written to the caller's room, which the result views: for the
// numbers of every point.
using XmlNumberRoom = std::array<char, 48>;
std::string_view XML_FIXED(float value, XmlNumberRoom& room, int width = 10, int decimals = 5);

// A whole number without blanks.
std::string WHOLE_NUMBER(long long value);

// The text as CDATA wraps it into 128 characters, without trailing blanks;
// control characters that XML does not allow become blanks first.
std::string XML_WRAPPED(std::string_view text);
// The same without a copy where it can: the result is a view of `room`, or of
// `text` itself when the text needs no wrapping, so both must outlive it.
std::string_view XML_WRAPPED(std::string_view text, FixedText<128>& room);

// True when the date is dd/mm/yyyy of a month 1-12 and a day 1-31, and the time
// hh:mm:ss of 00:00:00 to 23:59:59.
bool VALID_TIME_STAMP(std::string_view date, std::string_view time);

// The GPX time stamp of a point, yyyy-mm-ddThh:mm:ssZ; nothing when its DATE and
// TIME are not a valid time stamp.
std::optional<FixedText<20>> GPX_TIME_TEXT(const POINT_RECORD& point);
