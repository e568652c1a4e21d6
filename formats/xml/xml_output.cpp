#include "formats/xml/xml_output.h"

#include <algorithm>

#include "converter/text_helpers.h"
#include "formats/xml/xml_text.h"
#include "toolkit/core/byte_blocks.h"
#include "toolkit/core/number_format.h"
#include "toolkit/core/short_copies.h"
#include "toolkit/dialogs/message_box.h"

namespace {

constexpr std::size_t kFlushSize = 256 * 1024;
// Room for an ordinary line after the flush size.
constexpr std::size_t kLineRoom = 4096;
constexpr std::string_view kLineEnd = "\r\n";
// Columns enough for any finite 32-bit real in fixed-point form.
constexpr int kWidestReal = std::tuple_size_v<XmlNumberRoom>;
constexpr int kWrappedLength = 128;
constexpr int kOkOnly = 0;
constexpr int kExclamationIcon = 3;

bool hasForm(std::string_view text, std::string_view form) {
  if (text.size() < form.size()) return false;
  for (std::size_t k = 0; k < form.size(); ++k) {
    const bool ok = form[k] == 'd' ? (text[k] >= '0' && text[k] <= '9') : text[k] == form[k];
    if (!ok) return false;
  }
  return true;
}

// Copies the bytes to `to` and gives the end.
char* copyBytes(std::string_view bytes, char* to) {
  bytes::copy(bytes.data(), bytes.size(), to);
  return to + bytes.size();
}

// Whether a character makes a text need wrapping (those CDATA wraps for, and
// "]" of a possible "]]>") or cleaning (control characters).
constexpr bool needsCare(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (byte < 32 && c != '\t') || c == '<' || c == '&' || c == ':' || c == ']';
}

// Whether any character of the text needs care, sixteen at a time: every text of
// every point passes here.
bool anyNeedsCare(std::string_view text) {
  std::size_t at = 0;
  for (; at + bytes::kBlock <= text.size(); at += bytes::kBlock) {
    const __m128i block = bytes::loadBlock(text.data() + at);
    const unsigned controls = bytes::controlBytes(block) & ~bytes::bytesEqual(block, '\t');
    if ((controls | bytes::bytesEqual(block, '<') | bytes::bytesEqual(block, '&') | bytes::bytesEqual(block, ':') |
         bytes::bytesEqual(block, ']')) != 0) {
      return true;
    }
  }
  return std::any_of(text.begin() + static_cast<std::ptrdiff_t>(at), text.end(), needsCare);
}

int twoDigits(std::string_view text, std::size_t at) { return (text[at] - '0') * 10 + (text[at + 1] - '0'); }

}  // namespace

bool XmlOutputFile::create(std::string_view path) {
  file_.abandon();
  used_ = 0;
  failed_ = false;
  return file_.begin(path);
}

void XmlOutputFile::line(std::string_view text) { line({text}); }

void XmlOutputFile::line(std::initializer_list<std::string_view> pieces) {
  // A code page byte takes at most three bytes of UTF-8.
  const std::size_t perByte = utf8_ ? 3 : 1;
  std::size_t most = kLineEnd.size();
  for (std::string_view piece : pieces) most += piece.size() * perByte;
  if (buffer_.size() - used_ < most) {
    flush();
    buffer_.resize(std::max({buffer_.size(), kFlushSize + kLineRoom, most}));
  }
  // A line ends without its trailing blanks (the UTF-8 form of a blank is one),
  // counted in the pieces rather than read back from what was just written.
  std::size_t trailing = 0;
  for (auto piece = std::rbegin(pieces); piece != std::rend(pieces); ++piece) {
    const auto kept = static_cast<std::size_t>(text::trimmedLength(*piece));
    trailing += piece->size() - kept;
    if (kept > 0) break;
  }
  char* end = buffer_.data() + used_;
  for (std::string_view piece : pieces) {
    end = utf8_ ? xmltext::writeAsUtf8(piece, end) : copyBytes(piece, end);
  }
  end = copyBytes(kLineEnd, end - trailing);
  used_ = static_cast<std::size_t>(end - buffer_.data());
  if (used_ >= kFlushSize) flush();
}

void XmlOutputFile::flush() {
  if (!file_.active() || used_ == 0) {
    used_ = 0;
    return;
  }
  if (!file_.write(std::string_view(buffer_.data(), used_))) failed_ = true;
  used_ = 0;
}

bool XmlOutputFile::close() {
  if (!file_.active()) return !failed_;
  flush();
  if (!file_.commit()) failed_ = true;
  return !failed_;
}

void OUTPUT_FAILURE_BOX(std::string_view path) {
  WMessageBox(kOkOnly, kExclamationIcon, 1, "Cannot write the file\r" + std::string(text::trimmed(path)), "File error");
}

std::string XML_FIXED(float value, int width, int decimals) {
  XmlNumberRoom room;
  return std::string(XML_FIXED(value, room, width, decimals));
}

std::string_view XML_FIXED(float value, XmlNumberRoom& room, int width, int decimals) {
  std::string_view written = numfmt::writeFixedUnpadded(value, width, decimals, room);
  if (written.find('*') != std::string_view::npos) {
    written = numfmt::writeFixedUnpadded(value, kWidestReal, decimals, room);
  }
  return text::trimmed(written);
}

std::string WHOLE_NUMBER(long long value) { return text::withoutLeadingBlanks(formatI(value, 21)); }

std::string XML_WRAPPED(std::string_view text) {
  FixedText<kWrappedLength> wrapped;
  return std::string(XML_WRAPPED(text, wrapped));
}

std::string_view XML_WRAPPED(std::string_view text, FixedText<kWrappedLength>& room) {
  // Trailing blanks never reach the result: only the text before them is looked at.
  text = text::trimmed(text);
  // Most texts need neither wrapping nor cleaning: the result is their first
  // 128 characters as they stand.
  if (!anyNeedsCare(text)) {
    return text::trimmed(text.substr(0, kWrappedLength));
  }
  if (xmltext::hasControlCharacters(text)) {
    CDATA(xmltext::withoutControlCharacters(text), room);
  } else {
    CDATA(text, room);
  }
  return room.trimmed();
}

bool VALID_TIME_STAMP(std::string_view date, std::string_view time) {
  if (!hasForm(date, "dd/dd/dddd") || !hasForm(time, "dd:dd:dd")) return false;
  const int day = twoDigits(date, 0);
  const int month = twoDigits(date, 3);
  return day >= 1 && day <= 31 && month >= 1 && month <= 12 && twoDigits(time, 0) <= 23 && twoDigits(time, 3) <= 59 &&
         twoDigits(time, 6) <= 59;
}

std::optional<FixedText<20>> GPX_TIME_TEXT(const POINT_RECORD& point) {
  const std::string_view date = point.DATE.view();
  const std::string_view time = point.TIME.view();
  if (!VALID_TIME_STAMP(date, time)) return std::nullopt;
  FixedText<20> stamp;
  char* at = stamp.data();
  for (std::string_view piece : {date.substr(6, 4), std::string_view("-"), date.substr(3, 2), std::string_view("-"),
                                 date.substr(0, 2), std::string_view("T"), time.substr(0, 8), std::string_view("Z")}) {
    at = std::copy(piece.begin(), piece.end(), at);
  }
  return stamp;
}
