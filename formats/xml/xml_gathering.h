#pragma once
// Reading the XML formats line by line: the lines of a file as code page 1252
// text, the gathering of one element over several lines into XML_RECORD_BUFFER,
// and the picking of values out of a gathered element.  The GPX and KML readers
// use it, and so can every reader of another program's GPX output.
//
// An element starts at its opening tag and ends at its closing tag, also when
// other elements share its lines: the rest of a line after an element is read as
// the next line, so a file written on one line gives all its elements.

#include <windows.h>

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "formats/xml/xml_text.h"
#include "toolkit/core/fixed_text.h"
#include "toolkit/core/scoped_handle.h"

// The longest element that a reader takes: the length of XML_RECORD_BUFFER.
constexpr int kLongestElement = 1024;

// The lines of an XML file, decoded from the encoding its declaration names
// (UTF-8 when it names none) into code page 1252, without their line ends.
class XmlLineSource {
 public:
  // False when the file cannot be opened.
  bool open(std::string_view path);
  // The next line, or the rest of a line put back; false at the end of the file.
  // The text stays valid until the next call of next() or putBack().
  bool next(std::string_view& line);
  // True when the text given by the last next() does not begin a line of the file:
  // the rest of a line, or a later chunk of a line too long to be held at once.
  bool continuesLine() const { return continues_; }
  // The text is given again by the next call of next().  Text of the line given
  // last is not copied, so that a long line of many elements is read in one pass.
  void putBack(std::string_view rest);

 private:
  bool fill();
  // The next line as the file holds it, a view of the buffer until the next call.
  bool rawLine(std::string_view& raw, bool& chunk);

  KernelHandle file_;
  // buffer_[position_, end_) holds what was read and not yet handed on; the rest
  // is room, kept so that a read does not first clear a new chunk of memory.
  std::string buffer_;
  std::size_t position_ = 0;
  std::size_t end_ = 0;
  bool endOfFile_ = false;
  bool afterCarriageReturn_ = false;  // a line feed next belongs to the last line end
  bool firstLine_ = true;
  bool chunkBefore_ = false;  // the last raw line was cut short
  xmltext::Encoding encoding_ = xmltext::Encoding::kUtf8;
  std::string line_;  // the line given last when it had to be decoded, or a rest put back
  std::size_t putBackAt_ = 0;
  bool hasPutBack_ = false;
  bool continues_ = false;
};

// Opens INPUT_FILE; when it cannot be opened, a box tells the user so.
bool OPEN_XML_INPUT(XmlLineSource& source);

// How one kind of element is gathered.
struct GatherRules {
  // The element ends right after the first of these.
  std::span<const std::string_view> endAfter;
  // The element also ends right before the first of these, which is then read as
  // the next line (a route header ends where its first point begins).
  std::span<const std::string_view> endBefore;
  // Filtered gathering keeps only the lines that pass this test with their
  // length; nullptr gathers every line.
  bool (*required)(int count, std::string_view line) = nullptr;
  // Lines after the first are taken without their leading and trailing blanks.
  bool trimLines = false;
  // Elements whose text may run over several lines: their middle lines are kept
  // whatever the filter says, each line break becoming one blank.
  std::span<const std::string_view> textElements;
};

enum class Gathered {
  kComplete,   // XML_RECORD_BUFFER holds the element
  kTooLong,    // the element passed kLongestElement; the buffer holds its start
  kEndOfFile,  // the file ended inside the element, which is dropped
};

// Gathers the element that begins at the start of `first` (a line or the rest of
// one) into XML_RECORD_BUFFER, reading further lines from the source; each line
// read goes to RECORD_BUFFER.  A start tag closed by "/>" is the whole element.
Gathered GATHER_ELEMENT(XmlLineSource& source, std::string_view first, const GatherRules& rules);

// The gathered element, without the blanks after it.
std::string_view GATHERED_ELEMENT();

// The element for an error box: its first characters, enough to find it.
std::string ELEMENT_FOR_REPORT();

// Column (0-based) of the start tag "<" + name that is followed by ">", "/" or a
// blank, so that "<wpt" does not find "<wptx"; npos when there is none.
std::size_t FIND_START_TAG(std::string_view text, std::string_view name, std::size_t from = 0);

// Column (0-based) of the first of the tags, each "<" + name + ">" or a start tag
// as FIND_START_TAG finds it, and which of them it is; npos when there is none.
// The search stops at the first, however long the text.
std::size_t FIND_FIRST_TAG(std::string_view text, std::span<const std::string_view> tags, std::size_t& which);

// The text of the first element `name` of the element: from after "<name>" to its
// "</name>", character data and references decoded.  Nothing when the opening or
// the closing tag is missing.
std::optional<std::string> XML_TEXT(std::string_view element, std::string_view name);
// The same into `text`, which a reader reuses; false, `text` unchanged, for nothing.
bool XML_TEXT(std::string_view element, std::string_view name, std::string& text);

// Where the first opening tag "<name>" of each of several names stands in an
// element (npos for a name it lacks), found in one pass over the element: a
// reader that takes many texts of one element looks for them all at once.
constexpr std::size_t kMostTagsAtOnce = 8;
std::array<std::size_t, kMostTagsAtOnce> FIND_OPENING_TAGS(std::string_view element,
                                                          std::span<const std::string_view> names);
// XML_TEXT of the element `name` whose opening tag FIND_OPENING_TAGS found at
// `opening`.  A text with nothing to decode is a view of the element itself;
// one that had to be decoded is a view of `room`.
std::optional<std::string_view> XML_TEXT_AT(std::string_view element, std::string_view name, std::size_t opening,
                                            std::string& room);

// The value of an attribute of the element's start tag, in double or single
// quotes; nothing when the start tag has no such attribute.
std::optional<std::string_view> XML_ATTRIBUTE(std::string_view element, std::string_view name);

// A number in free form: blanks around it, a sign, a decimal point and an
// exponent allowed, ended by a blank or a comma.  Nothing when the text does not
// begin with such a number or its value is beyond the 32-bit real.
std::optional<float> XML_NUMBER(std::string_view text);
// The same, the number's end in `used` (0-based, just after the number).
std::optional<float> XML_NUMBER(std::string_view text, std::size_t& used);

// DATE (dd/mm/yyyy) and TIME (hh:mm:ss) from the time stamp right after the
// first `marker` of the element, when it has the form yyyy-mm-ddThh:mm:ss
// (fractions and a zone after it are ignored).  False, and nothing changed,
// when there is no marker or the form is another.
bool XML_TIME_STAMP(std::string_view element, std::string_view marker, TextField date, TextField time);
