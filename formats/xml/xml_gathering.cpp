#include "formats/xml/xml_gathering.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <charconv>
#include <cstdlib>

#include "converter/converter_data.h"
#include "toolkit/core/byte_blocks.h"
#include "toolkit/core/short_copies.h"
#include "toolkit/dialogs/message_box.h"

namespace {

// Bytes asked of the file at a time.
constexpr DWORD kChunk = 64 * 1024;
// A line longer than this is handed on in chunks, so that a file without line
// ends is read in bounded memory.
constexpr std::size_t kLongestChunk = 4 * 1024 * 1024;
// How much of an element an error box shows.
constexpr std::size_t kReportedLength = 200;

constexpr int kOkOnly = 0;
constexpr int kExclamationIcon = 3;

constexpr std::string_view kSectionOpen = "<![CDATA[";
constexpr std::string_view kSectionClose = "]]>";

using xmltext::standsAt;

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool isAscii(std::string_view text) {
  unsigned high = 0;
  std::size_t at = 0;
  for (; at + bytes::kBlock <= text.size(); at += bytes::kBlock) {
    high |= bytes::highBytes(bytes::loadBlock(text.data() + at));
  }
  for (; at < text.size(); ++at) high |= static_cast<unsigned char>(text[at]) & 0x80u;
  return high == 0;
}

// The first CR or LF in the text from `from`; npos when there is none.
std::size_t lineEnd(std::string_view text, std::size_t from) {
  std::size_t at = from;
  for (; at + bytes::kBlock <= text.size(); at += bytes::kBlock) {
    const __m128i block = bytes::loadBlock(text.data() + at);
    const unsigned ends = bytes::bytesEqual(block, '\r') | bytes::bytesEqual(block, '\n');
    if (ends != 0) return at + bytes::firstMarked(ends);
  }
  for (; at < text.size(); ++at) {
    if (text[at] == '\r' || text[at] == '\n') return at;
  }
  return std::string_view::npos;
}

std::string_view trimmedBothSides(std::string_view s) {
  std::size_t first = 0;
  while (first < s.size() && isSpace(s[first])) ++first;
  std::size_t last = s.size();
  while (last > first && isSpace(s[last - 1])) --last;
  return s.substr(first, last - first);
}

// Where the text elements of an element stand after the text followed so far:
// inside which one, and inside a character-data section of it.
struct TextState {
  std::string_view open;
  bool inSection = false;
};

bool insideText(const TextState& state) { return !state.open.empty(); }

// Carries the state over the tag at `lt`, which is not inside a character-data
// section; gives where the text goes on after it.
std::size_t followTag(std::string_view text, std::size_t lt, TextState& state,
                      std::span<const std::string_view> names) {
  if (insideText(state) && standsAt(text, lt, kSectionOpen)) {
    state.inSection = true;
    return lt + kSectionOpen.size();
  }
  const bool closing = lt + 1 < text.size() && text[lt + 1] == '/';
  const std::size_t nameAt = lt + (closing ? 2 : 1);
  for (std::string_view name : names) {
    const std::size_t after = nameAt + name.size();
    if (after < text.size() && text[after] == '>' && standsAt(text, nameAt, name)) {
      state.open = closing ? std::string_view() : name;
      break;
    }
  }
  return lt + 1;
}

void follow(std::string_view text, TextState& state, std::span<const std::string_view> names) {
  if (names.empty()) return;
  std::size_t i = 0;
  while (i < text.size()) {
    if (state.inSection) {
      const std::size_t close = xmltext::findText(text, kSectionClose, i);
      if (close == std::string_view::npos) return;
      state.inSection = false;
      i = close + kSectionClose.size();
      continue;
    }
    const std::size_t lt = xmltext::findChar(text, '<', i);
    if (lt == std::string_view::npos) return;
    i = followTag(text, lt, state, names);
  }
}

// The end of the element when a marker at `at` ends it there; npos otherwise.
std::size_t endAt(std::string_view text, std::size_t at, const GatherRules& rules) {
  for (std::string_view marker : rules.endAfter) {
    if (standsAt(text, at, marker)) return at + marker.size();
  }
  for (std::string_view marker : rules.endBefore) {
    if (standsAt(text, at, marker)) return at;
  }
  return std::string_view::npos;
}

// Where the element ends within the text, searched from `from`: right after the
// first closing marker or right before the first marker that begins what follows,
// whichever comes first.  npos when neither is there.  Every marker begins with
// "<", so only those columns are tried.
std::size_t elementEnd(std::string_view text, std::size_t from, const GatherRules& rules) {
  for (std::size_t at = xmltext::findChar(text, '<', from); at != std::string_view::npos;
       at = xmltext::findChar(text, '<', at + 1)) {
    if (const std::size_t end = endAt(text, at, rules); end != std::string_view::npos) return end;
  }
  return std::string_view::npos;
}

// elementEnd of a later line of the element, and, when the element goes on after
// it, the state carried over the line as follow carries it; once the element
// ends, where its texts stand no longer matters.  One walk over the line's "<"
// does both, since every line of an element needs both.
std::size_t endOrFollow(std::string_view text, TextState& state, const GatherRules& rules) {
  const std::span<const std::string_view> names = rules.textElements;
  std::size_t next = 0;  // the text before this is followed
  // The first "]]>" from a column, searched again only once the text has gone
  // past the one found: a line of many "<" in an open section is walked once.
  std::size_t sectionClose = 0;
  bool closeKnown = false;
  const auto sectionCloseFrom = [&](std::size_t from) {
    if (!closeKnown || (sectionClose != std::string_view::npos && sectionClose < from)) {
      sectionClose = xmltext::findText(text, kSectionClose, from);
      closeKnown = true;
    }
    return sectionClose;
  };
  for (std::size_t at = xmltext::findChar(text, '<'); at != std::string_view::npos;
       at = xmltext::findChar(text, '<', at + 1)) {
    // Markers end the element wherever they stand, in a section too.
    if (const std::size_t end = endAt(text, at, rules); end != std::string_view::npos) return end;
    if (names.empty() || at < next) continue;
    if (state.inSection) {
      const std::size_t close = sectionCloseFrom(next);
      if (close == std::string_view::npos || close > at) continue;  // a "<" within the section
      state.inSection = false;
    }
    next = followTag(text, at, state, names);
  }
  if (!names.empty() && state.inSection && sectionCloseFrom(next) != std::string_view::npos) state.inSection = false;
  return std::string_view::npos;
}

// The first column of a marker that ends the element, for a line the filter drops.
std::size_t firstEndMarker(std::string_view text, const GatherRules& rules) {
  for (std::size_t at = xmltext::findChar(text, '<'); at != std::string_view::npos;
       at = xmltext::findChar(text, '<', at + 1)) {
    if (endAt(text, at, rules) != std::string_view::npos) return at;
  }
  return std::string_view::npos;
}

// Whether the text holds a "<" or an "&".
bool hasMarkupOrReference(std::string_view text) {
  std::size_t at = 0;
  for (; at + bytes::kBlock <= text.size(); at += bytes::kBlock) {
    const __m128i block = bytes::loadBlock(text.data() + at);
    if ((bytes::bytesEqual(block, '<') | bytes::bytesEqual(block, '&')) != 0) return true;
  }
  for (; at < text.size(); ++at) {
    if (text[at] == '<' || text[at] == '&') return true;
  }
  return false;
}

// Column of the first "<name>" (`opening` "<") or "</name>" (`opening` "</") from
// `from`; npos when there is none.
std::size_t findTag(std::string_view text, std::string_view opening, std::string_view name, std::size_t from) {
  const std::size_t length = opening.size() + name.size() + 1;
  for (std::size_t at = xmltext::findText(text, opening, from); at != std::string_view::npos;
       at = xmltext::findText(text, opening, at + 1)) {
    if (at + length > text.size()) return std::string_view::npos;
    if (standsAt(text, at + opening.size(), name) && text[at + length - 1] == '>') return at;
  }
  return std::string_view::npos;
}

// True when the name at `at` is a whole tag name: a start tag whose name goes on
// does not count.
bool tagNameEnds(std::string_view text, std::size_t after) {
  return after >= text.size() || text[after] == '>' || text[after] == '/' || isSpace(text[after]);
}

constexpr std::array<double, 23> kPowersOfTen = [] {
  std::array<double, 23> powers{};
  double power = 1.0;
  for (double& p : powers) {
    p = power;
    power *= 10.0;
  }
  return powers;
}();

// The value of a number of at most 15 significant digits and a small scale,
// without reading it as text: its digits and the power of ten are both exact
// doubles, so one multiplication or division rounds it as a full reading does.
// Nothing for any other number.  `digits` holds digits and at most one point.
std::optional<double> shortDecimal(std::string_view digits, std::string_view exponent) {
  constexpr int kMostDigits = 15;
  constexpr int kMostExponentDigits = 4;
  std::int64_t mantissa = 0;
  int significant = 0;
  int fraction = 0;
  bool afterPoint = false;
  for (char c : digits) {
    if (c == '.') {
      afterPoint = true;
      continue;
    }
    if (afterPoint) ++fraction;
    if (significant == 0 && c == '0') continue;
    if (++significant > kMostDigits) return std::nullopt;
    mantissa = mantissa * 10 + (c - '0');
  }
  int scale = -fraction;
  if (!exponent.empty()) {
    const bool negative = exponent.front() == '-';
    if (exponent.front() == '+' || exponent.front() == '-') exponent.remove_prefix(1);
    if (exponent.size() > kMostExponentDigits) return std::nullopt;
    int power = 0;
    for (char c : exponent) power = power * 10 + (c - '0');
    scale += negative ? -power : power;
  }
  const int last = static_cast<int>(kPowersOfTen.size()) - 1;
  if (scale < -last || scale > last) return std::nullopt;
  const auto value = static_cast<double>(mantissa);
  return scale < 0 ? value / kPowersOfTen[static_cast<std::size_t>(-scale)]
                   : value * kPowersOfTen[static_cast<std::size_t>(scale)];
}

// Puts a line read into RECORD_BUFFER.  `held` is how much of the buffer may
// hold more than blanks: only that much is blanked after the line, not the whole
// record for every line of an element.
void holdLine(std::string_view line, std::size_t& held) {
  const std::size_t length = std::min(line.size(), static_cast<std::size_t>(kRecordLength));
  char* record = RECORD_BUFFER.data();
  bytes::copy(line.data(), length, record);
  if (held > length) bytes::fill(record + length, held - length, text::kBlank);
  held = length;
}

// An element put together in XML_RECORD_BUFFER itself, as far as it fits, with
// no copy on the way: the buffer is blanked only where the text it held before
// went further than the new element.
class ElementInBuffer {
 public:
  ElementInBuffer() : before_(static_cast<std::size_t>(XML_RECORD_BUFFER.trimmedLength())) {}

  void append(std::string_view piece) {
    const std::size_t kept = std::min(piece.size(), kRoom - std::min(size_, kRoom));
    if (kept > 0) bytes::copy(piece.data(), kept, XML_RECORD_BUFFER.data() + size_);
    size_ += piece.size();
  }
  // The whole element's length, also what did not fit.
  std::size_t size() const { return size_; }

  Gathered finish(Gathered outcome) const {
    const std::size_t written = std::min(size_, kRoom);
    if (before_ > written) bytes::fill(XML_RECORD_BUFFER.data() + written, before_ - written, text::kBlank);
    return outcome;
  }

 private:
  static constexpr auto kRoom = static_cast<std::size_t>(XML_RECORD_BUFFER.length());
  std::size_t before_;
  std::size_t size_ = 0;
};
static_assert(XML_RECORD_BUFFER.length() == kLongestElement);

}  // namespace

bool XmlLineSource::open(std::string_view path) {
  const std::string name(text::trimmed(path));
  const HANDLE h = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  file_.reset(h);
  return true;
}

bool XmlLineSource::fill() {
  if (endOfFile_ || !file_) return false;
  bytes::copy(buffer_.data() + position_, end_ - position_, buffer_.data());
  end_ -= position_;
  position_ = 0;
  if (buffer_.size() - end_ < kChunk) buffer_.resize(end_ + kChunk);
  DWORD got = 0;
  const BOOL ok = ReadFile(file_.get(), buffer_.data() + end_, kChunk, &got, nullptr);
  if (!ok || got == 0) {
    endOfFile_ = true;
    return false;
  }
  end_ += got;
  return true;
}

bool XmlLineSource::rawLine(std::string_view& raw, bool& chunk) {
  chunk = false;
  std::size_t searched = 0;  // bytes after position_ already known to hold no line end
  for (;;) {
    const std::string_view held(buffer_.data(), end_);
    if (afterCarriageReturn_ && position_ < end_) {
      if (held[position_] == '\n') ++position_;
      afterCarriageReturn_ = false;
    }
    const std::size_t end = afterCarriageReturn_ ? std::string::npos : lineEnd(held, position_ + searched);
    if (end != std::string::npos) {
      raw = held.substr(position_, end - position_);
      afterCarriageReturn_ = held[end] == '\r';
      position_ = end + 1;
      return true;
    }
    if (end_ - position_ >= kLongestChunk) {
      std::size_t length = kLongestChunk;
      // Never cut a UTF-8 sequence in two.
      while (length > kLongestChunk - 4 && (static_cast<unsigned char>(held[position_ + length]) & 0xC0) == 0x80) {
        --length;
      }
      raw = held.substr(position_, length);
      position_ += length;
      chunk = true;
      return true;
    }
    if (!afterCarriageReturn_) searched = end_ - position_;
    if (!fill()) {
      if (position_ < end_) {
        raw = std::string_view(buffer_.data(), end_).substr(position_);
        position_ = end_;
        return true;
      }
      return false;
    }
  }
}

bool XmlLineSource::next(std::string_view& line) {
  if (hasPutBack_) {
    hasPutBack_ = false;
    continues_ = true;
    line = std::string_view(line_).substr(putBackAt_);
    return true;
  }
  bool chunk = false;
  std::string_view raw;
  if (!rawLine(raw, chunk)) return false;
  if (firstLine_) {
    firstLine_ = false;
    encoding_ = xmltext::declaredEncoding(raw);
    if (encoding_ == xmltext::Encoding::kCodePage && raw.starts_with("\xEF\xBB\xBF")) raw.remove_prefix(3);
  }
  continues_ = chunkBefore_;
  chunkBefore_ = chunk;
  // A line that needs no decoding is handed on where it stands in the buffer.
  if (encoding_ == xmltext::Encoding::kUtf8 && !isAscii(raw)) {
    xmltext::fromUtf8(raw, line_);
    line = line_;
  } else {
    line = raw;
  }
  return true;
}

void XmlLineSource::putBack(std::string_view rest) {
  const char* base = line_.data();
  if (rest.data() >= base && rest.data() + rest.size() <= base + line_.size()) {
    putBackAt_ = static_cast<std::size_t>(rest.data() - base);
  } else {
    line_.assign(rest);
    putBackAt_ = 0;
  }
  hasPutBack_ = true;
}

bool OPEN_XML_INPUT(XmlLineSource& source) {
  if (source.open(FILE_NAMES.INPUT_FILE)) return true;
  WMessageBox(kOkOnly, kExclamationIcon, 1, "Cannot open the file\r" + FILE_NAMES.INPUT_FILE.str(), "File error");
  return false;
}

Gathered GATHER_ELEMENT(XmlLineSource& source, std::string_view first, const GatherRules& rules) {
  ElementInBuffer element;
  TextState state;
  // An empty element closed in its start tag; the start tag never ends the
  // element early otherwise.
  const std::size_t tagEnd = xmltext::findChar(first, '>');
  const bool closedInStartTag = tagEnd != std::string_view::npos && tagEnd > 0 && first[tagEnd - 1] == '/';
  std::size_t end = closedInStartTag ? tagEnd + 1 : elementEnd(first, 1, rules);
  const std::string_view start = first.substr(0, end);
  element.append(start);
  follow(start, state, rules.textElements);
  if (end != std::string_view::npos) {
    if (end < first.size()) source.putBack(first.substr(end));
    return element.finish(element.size() > static_cast<std::size_t>(kLongestElement) ? Gathered::kTooLong
                                                                                     : Gathered::kComplete);
  }
  std::string_view line;
  std::size_t held = kRecordLength;  // what RECORD_BUFFER may hold is not known yet
  for (;;) {
    if (!source.next(line)) return element.finish(Gathered::kEndOfFile);
    holdLine(line, held);
    std::string_view text = rules.trimLines ? trimmedBothSides(line) : line;
    const bool inside = insideText(state);
    bool keep = rules.required == nullptr || inside || rules.required(static_cast<int>(text.size()), text);
    if (!keep) {
      // A line the filter drops may still end the element.
      const std::size_t marker = firstEndMarker(text, rules);
      if (marker != std::string_view::npos) {
        text.remove_prefix(marker);
        keep = true;
      }
    }
    if (keep) {
      end = endOrFollow(text, state, rules);
      // A line break inside a text is a blank of that text.
      if (inside && !source.continuesLine()) element.append(" ");
      element.append(text.substr(0, end));
      if (end != std::string_view::npos && end < text.size()) source.putBack(text.substr(end));
    }
    if (element.size() > static_cast<std::size_t>(kLongestElement)) return element.finish(Gathered::kTooLong);
    if (keep && end != std::string_view::npos) return element.finish(Gathered::kComplete);
  }
}

std::string_view GATHERED_ELEMENT() { return XML_RECORD_BUFFER.trimmed(); }

std::string ELEMENT_FOR_REPORT() {
  const std::string_view element = GATHERED_ELEMENT();
  if (element.size() <= kReportedLength) return std::string(element);
  return std::string(element.substr(0, kReportedLength)) + "...";
}

std::size_t FIND_START_TAG(std::string_view text, std::string_view name, std::size_t from) {
  for (;;) {
    const std::size_t at = xmltext::findText(text, name, from);
    if (at == std::string_view::npos || tagNameEnds(text, at + name.size())) return at;
    from = at + 1;
  }
}

std::size_t FIND_FIRST_TAG(std::string_view text, std::span<const std::string_view> tags, std::size_t& which) {
  for (std::size_t at = xmltext::findChar(text, '<'); at != std::string_view::npos;
       at = xmltext::findChar(text, '<', at + 1)) {
    for (std::size_t k = 0; k < tags.size(); ++k) {
      const std::string_view tag = tags[k];
      if (!standsAt(text, at, tag)) continue;
      if (tag.back() != '>' && !tagNameEnds(text, at + tag.size())) continue;
      which = k;
      return at;
    }
  }
  return std::string_view::npos;
}

std::optional<std::string> XML_TEXT(std::string_view element, std::string_view name) {
  std::string text;
  if (!XML_TEXT(element, name, text)) return std::nullopt;
  return text;
}

bool XML_TEXT(std::string_view element, std::string_view name, std::string& text) {
  // Decoded texts are decoded into `text` itself; others are copied there.
  const std::optional<std::string_view> found = XML_TEXT_AT(element, name, findTag(element, "<", name, 0), text);
  if (!found) return false;
  if (found->data() != text.data()) text.assign(*found);
  return true;
}

std::array<std::size_t, kMostTagsAtOnce> FIND_OPENING_TAGS(std::string_view element,
                                                          std::span<const std::string_view> names) {
  std::array<std::size_t, kMostTagsAtOnce> found;
  found.fill(std::string_view::npos);
  const std::size_t count = std::min(names.size(), kMostTagsAtOnce);
  std::size_t missing = count;
  for (std::size_t at = xmltext::findChar(element, '<'); at != std::string_view::npos && missing > 0;
       at = xmltext::findChar(element, '<', at + 1)) {
    if (at + 1 < element.size() && element[at + 1] == '/') continue;  // a closing tag opens nothing
    for (std::size_t k = 0; k < count; ++k) {
      const std::string_view name = names[k];
      const std::size_t after = at + 1 + name.size();
      if (found[k] == std::string_view::npos && after < element.size() && element[after] == '>' &&
          standsAt(element, at + 1, name)) {
        found[k] = at;
        --missing;
        break;
      }
    }
  }
  return found;
}

std::optional<std::string_view> XML_TEXT_AT(std::string_view element, std::string_view name, std::size_t at,
                                            std::string& room) {
  if (at == std::string_view::npos) return std::nullopt;
  const std::size_t start = at + name.size() + 2;
  std::size_t from = start;
  for (;;) {
    const std::size_t close = findTag(element, "</", name, from);
    if (close == std::string_view::npos) return std::nullopt;
    // Mostly the text holds no markup and no reference: then no section can hide
    // the closing tag and there is nothing to decode.
    const std::string_view plain = element.substr(start, close - start);
    if (from == start && !hasMarkupOrReference(plain)) return plain;
    // A closing tag inside a character-data section is text.  A section that
    // begins before the closing tag is all that matters.
    const std::size_t section = xmltext::findText(element.substr(0, close), kSectionOpen, from);
    if (section == std::string_view::npos) {
      xmltext::decodeContent(element.substr(start, close - start), room);
      return room;
    }
    const std::size_t sectionEnd = xmltext::findText(element, kSectionClose, section + kSectionOpen.size());
    if (sectionEnd == std::string_view::npos) return std::nullopt;
    from = sectionEnd + kSectionClose.size();
  }
}

std::optional<std::string_view> XML_ATTRIBUTE(std::string_view element, std::string_view name) {
  const std::string_view tag = element.substr(0, xmltext::findChar(element, '>'));
  std::size_t from = 0;
  for (;;) {
    const std::size_t at = xmltext::findText(tag, name, from);
    if (at == std::string_view::npos) return std::nullopt;
    from = at + 1;
    if (at == 0 || !isSpace(tag[at - 1])) continue;
    std::size_t i = at + name.size();
    while (i < tag.size() && isSpace(tag[i])) ++i;
    if (i >= tag.size() || tag[i] != '=') continue;
    ++i;
    while (i < tag.size() && isSpace(tag[i])) ++i;
    if (i >= tag.size() || (tag[i] != '"' && tag[i] != '\'')) continue;
    const std::size_t close = xmltext::findChar(tag, tag[i], i + 1);
    if (close == std::string_view::npos) return std::nullopt;
    return tag.substr(i + 1, close - i - 1);
  }
}

std::optional<float> XML_NUMBER(std::string_view text, std::size_t& used) {
  std::size_t i = 0;
  while (i < text.size() && isSpace(text[i])) ++i;
  const auto digits = [&] {
    const std::size_t before = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    return i - before;
  };
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const std::size_t unsignedStart = i;
  std::size_t mantissa = digits();
  if (i < text.size() && text[i] == '.') {
    ++i;
    mantissa += digits();
  }
  if (mantissa == 0) return std::nullopt;
  const std::size_t mantissaEnd = i;
  std::size_t exponentStart = i;
  std::size_t exponentEnd = i;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    const std::size_t exponentDigits = j;
    while (j < text.size() && text[j] >= '0' && text[j] <= '9') ++j;
    if (j == exponentDigits) return std::nullopt;
    exponentStart = i + 1;
    exponentEnd = j;
    i = j;
  }
  if (i < text.size() && !isSpace(text[i]) && text[i] != ',') return std::nullopt;
  double value = 0.0;
  // Mostly the number is short, or else read where it stands.
  const std::string_view written = text.substr(unsignedStart, i - unsignedStart);
  const bool fortranExponent = exponentEnd > exponentStart && (text[exponentStart - 1] | 0x20) == 'd';
  std::errc readError = std::errc::invalid_argument;
  if (const auto fast = shortDecimal(text.substr(unsignedStart, mantissaEnd - unsignedStart),
                                     text.substr(exponentStart, exponentEnd - exponentStart))) {
    value = *fast;
    readError = std::errc();
  } else if (!fortranExponent) {
    readError = std::from_chars(written.data(), written.data() + written.size(), value).ec;
  }
  if (readError != std::errc()) {
    // The number without its sign, with "e" for a Fortran "d".
    std::string number;
    number.reserve(mantissaEnd - unsignedStart + (exponentEnd - exponentStart) + 1);
    number.append(text.substr(unsignedStart, mantissaEnd - unsignedStart));
    if (exponentEnd > exponentStart) number.append("e").append(text.substr(exponentStart, exponentEnd - exponentStart));
    const auto [numberEnd, numberError] = std::from_chars(number.data(), number.data() + number.size(), value);
    // Beyond the range of a double: the C library's reading gives the limit or zero.
    if (numberError == std::errc::result_out_of_range) value = std::strtod(number.c_str(), nullptr);
  }
  if (negative) value = -value;
  if (!(value >= -FLT_MAX && value <= FLT_MAX)) return std::nullopt;
  used = i;
  return static_cast<float>(value);
}

std::optional<float> XML_NUMBER(std::string_view text) {
  std::size_t used = 0;
  return XML_NUMBER(text, used);
}

bool XML_TIME_STAMP(std::string_view element, std::string_view marker, TextField date, TextField time) {
  const std::size_t at = xmltext::findText(element, marker);
  if (at == std::string_view::npos) return false;
  std::size_t p = at + marker.size();
  while (p < element.size() && isSpace(element[p])) ++p;
  constexpr std::string_view kForm = "dddd-dd-ddTdd:dd:dd";
  const std::string_view stamp = element.substr(p, kForm.size());
  if (stamp.size() < kForm.size()) return false;
  for (std::size_t k = 0; k < kForm.size(); ++k) {
    const bool ok = kForm[k] == 'd' ? (stamp[k] >= '0' && stamp[k] <= '9') : stamp[k] == kForm[k];
    if (!ok) return false;
  }
  time.assign(stamp.substr(11, 8));
  FixedText<10> d;
  char* next = d.data();
  for (std::string_view piece :
       {stamp.substr(8, 2), std::string_view("/"), stamp.substr(5, 2), std::string_view("/"), stamp.substr(0, 4)}) {
    next = std::copy(piece.begin(), piece.end(), next);
  }
  date.assign(d.view());
  return true;
}
