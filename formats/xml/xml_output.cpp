#include "formats/xml/xml_output.h"

#include <algorithm>

#include "converter/text_helpers.h"
#include "formats/xml/xml_text.h"
#include "toolkit/core/number_format.h"
#include "toolkit/dialogs/message_box.h"

namespace {

constexpr std::size_t kFlushSize = 256 * 1024;
// Columns enough for any finite 32-bit real in fixed-point form.
constexpr int kWidestReal = 48;
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

int twoDigits(std::string_view text, std::size_t at) { return (text[at] - '0') * 10 + (text[at + 1] - '0'); }

}  // namespace

bool XmlOutputFile::create(std::string_view path) {
  file_.abandon();
  pending_.clear();
  failed_ = false;
  return file_.begin(path);
}

void XmlOutputFile::line(std::string_view text) { line({text}); }

void XmlOutputFile::line(std::initializer_list<std::string_view> pieces) {
  const std::size_t start = pending_.size();
  for (std::string_view piece : pieces) {
    if (utf8_) {
      xmltext::appendAsUtf8(piece, pending_);
    } else {
      pending_.append(piece);
    }
  }
  // A line ends without its trailing blanks (the UTF-8 form of a blank is one).
  while (pending_.size() > start && pending_.back() == text::kBlank) pending_.pop_back();
  pending_ += "\r\n";
  if (pending_.size() >= kFlushSize) flush();
}

void XmlOutputFile::flush() {
  if (!file_.active() || pending_.empty()) return;
  if (!file_.write(pending_)) failed_ = true;
  pending_.clear();
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
  std::string written = formatF(value, width, decimals);
  if (written.find('*') != std::string::npos) written = formatF(value, kWidestReal, decimals);
  return text::withoutLeadingBlanks(text::trimmed(written));
}

std::string WHOLE_NUMBER(long long value) { return text::withoutLeadingBlanks(formatI(value, 21)); }

std::string XML_WRAPPED(std::string_view text) {
  FixedText<kWrappedLength> wrapped;
  return std::string(XML_WRAPPED(text, wrapped));
}

std::string_view XML_WRAPPED(std::string_view text, FixedText<kWrappedLength>& room) {
  // Trailing blanks never reach the result: only the text before them is looked at.
  text = text::trimmed(text);
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
