#include "formats/xml/xml_text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace xmltext {
namespace {

// Code points of the bytes 0x80 to 0x9F of code page 1252; the bytes the code page
// leaves undefined stand for themselves.
constexpr std::array<char32_t, 32> kHighControls{0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char kMissing = '?';

char lowered(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

bool equalNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lowered(a[i]) != lowered(b[i])) return false;
  }
  return true;
}

// Length of the valid UTF-8 sequence at bytes[i] and its code point; 0 when the
// bytes there start no valid sequence.
int utf8Sequence(std::string_view bytes, std::size_t i, char32_t& c) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
  const unsigned char lead = byte(i);
  int length = 0;
  char32_t minimum = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    c = lead & 0x1F;
    minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    c = lead & 0x0F;
    minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    c = lead & 0x07;
    minimum = 0x10000;
  } else {
    return 0;
  }
  if (i + static_cast<std::size_t>(length) > bytes.size()) return 0;
  for (int k = 1; k < length; ++k) {
    const unsigned char next = byte(i + static_cast<std::size_t>(k));
    if ((next & 0xC0) != 0x80) return 0;
    c = (c << 6) | (next & 0x3F);
  }
  if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  return length;
}

// The character of a reference between "&" and ";"; nothing when it names none.
bool referencedCharacter(std::string_view name, char32_t& c) {
  if (name == "amp") return c = U'&', true;
  if (name == "lt") return c = U'<', true;
  if (name == "gt") return c = U'>', true;
  if (name == "quot") return c = U'"', true;
  if (name == "apos") return c = U'\'', true;
  return false;
}

// A numeric reference's code point ("#233", "#xE9"); false when malformed or
// beyond Unicode.
bool numericReference(std::string_view name, char32_t& c) {
  if (name.size() < 2 || name[0] != '#') return false;
  const bool hex = name[1] == 'x';
  const std::string_view digits = name.substr(hex ? 2 : 1);
  if (digits.empty()) return false;
  std::uint32_t value = 0;
  for (char d : digits) {
    int digit = -1;
    if (d >= '0' && d <= '9') digit = d - '0';
    if (hex && d >= 'a' && d <= 'f') digit = d - 'a' + 10;
    if (hex && d >= 'A' && d <= 'F') digit = d - 'A' + 10;
    if (digit < 0) return false;
    value = value * (hex ? 16u : 10u) + static_cast<std::uint32_t>(digit);
    if (value > 0x10FFFF) return false;
  }
  c = value;
  return true;
}

constexpr std::string_view kSectionOpen = "<![CDATA[";
constexpr std::string_view kSectionClose = "]]>";
// Long enough for any reference worth decoding ("&#x10FFFF;").
constexpr std::size_t kLongestReference = 12;

}  // namespace

char codePageByte(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    // The undefined bytes are no character of the code page.
    if (kHighControls[i] == c && c > 0xFF) return static_cast<char>(0x80 + i);
  }
  return kMissing;
}

char32_t codePoint(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80u];
  return byte;
}

Encoding declaredEncoding(std::string_view firstLine) {
  // A byte-order mark may come before the declaration.
  if (firstLine.substr(0, 3) == "\xEF\xBB\xBF") firstLine.remove_prefix(3);
  if (firstLine.substr(0, 5) != "<?xml") return Encoding::kUtf8;
  const std::size_t end = firstLine.find("?>");
  const std::string_view declaration = firstLine.substr(0, end);
  const std::size_t at = declaration.find("encoding");
  if (at == std::string_view::npos) return Encoding::kUtf8;
  std::size_t i = at + 8;
  while (i < declaration.size() && (declaration[i] == ' ' || declaration[i] == '=')) ++i;
  if (i >= declaration.size() || (declaration[i] != '"' && declaration[i] != '\'')) return Encoding::kUtf8;
  const char quote = declaration[i];
  const std::size_t close = declaration.find(quote, i + 1);
  if (close == std::string_view::npos) return Encoding::kUtf8;
  const std::string_view name = declaration.substr(i + 1, close - i - 1);
  // ISO-8859-1 is read as code page 1252, which agrees with it on every printable
  // character; our own GPX files declare it for code page bytes.
  for (std::string_view own : {"ISO-8859-1", "ISO8859-1", "latin1", "windows-1252", "cp1252", "US-ASCII"}) {
    if (equalNoCase(name, own)) return Encoding::kCodePage;
  }
  return Encoding::kUtf8;
}

void fromUtf8(std::string_view bytes, std::string& out) {
  // Most lines are ASCII, which is the same in both.
  const auto ascii = [](char b) { return static_cast<unsigned char>(b) < 0x80; };
  std::size_t i = static_cast<std::size_t>(std::find_if_not(bytes.begin(), bytes.end(), ascii) - bytes.begin());
  out.assign(bytes.substr(0, i));
  while (i < bytes.size()) {
    const unsigned char lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      out += static_cast<char>(lead);
      ++i;
      continue;
    }
    char32_t c = 0;
    const int length = utf8Sequence(bytes, i, c);
    if (length == 0) {
      out += static_cast<char>(lead);
      ++i;
      continue;
    }
    // A byte-order mark carries no character.
    if (c != 0xFEFF) out += codePageByte(c);
    i += static_cast<std::size_t>(length);
  }
}

std::string toUtf8(std::string_view bytes) {
  std::string out(bytes.size() * 3, '\0');
  out.resize(static_cast<std::size_t>(writeAsUtf8(bytes, out.data()) - out.data()));
  return out;
}

char* writeAsUtf8(std::string_view text, char* out) {
  // ASCII, which most texts are, is the same in both: sixteen bytes at a time.
  std::size_t ascii = 0;
  while (ascii + bytes::kBlock <= text.size() && bytes::highBytes(bytes::loadBlock(text.data() + ascii)) == 0) {
    ascii += bytes::kBlock;
  }
  std::memcpy(out, text.data(), ascii);
  out += ascii;
  for (char b : text.substr(ascii)) {
    const char32_t c = codePoint(static_cast<unsigned char>(b));
    if (c < 0x80) {
      *out++ = static_cast<char>(c);
    } else if (c < 0x800) {
      *out++ = static_cast<char>(0xC0 | (c >> 6));
      *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
      *out++ = static_cast<char>(0xE0 | (c >> 12));
      *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      *out++ = static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

void decodeContent(std::string_view content, std::string& out) {
  out.clear();
  out.reserve(content.size());
  std::size_t i = 0;
  while (i < content.size()) {
    if (standsAt(content, i, kSectionOpen)) {
      const std::size_t inner = i + kSectionOpen.size();
      const std::size_t close = findText(content, kSectionClose, inner);
      const std::size_t end = close == std::string_view::npos ? content.size() : close;
      out.append(content.substr(inner, end - inner));
      i = close == std::string_view::npos ? content.size() : close + kSectionClose.size();
      continue;
    }
    if (content[i] == '&') {
      const std::size_t semicolon = findChar(content, ';', i + 1);
      if (semicolon != std::string_view::npos && semicolon - i <= kLongestReference) {
        const std::string_view name = content.substr(i + 1, semicolon - i - 1);
        char32_t c = 0;
        if (referencedCharacter(name, c)) {
          out += static_cast<char>(c);
          i = semicolon + 1;
          continue;
        }
        if (!name.empty() && name[0] == '#') {
          // A line break or other control character becomes a blank: stored texts
          // are single lines.
          out += !numericReference(name, c) ? kMissing : c < 32 ? ' ' : codePageByte(c);
          i = semicolon + 1;
          continue;
        }
      }
    }
    out += content[i];
    ++i;
  }
}

bool hasControlCharacters(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 32 && c != '\t'; });
}

std::string withoutControlCharacters(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (static_cast<unsigned char>(c) < 32 && c != '\t') c = ' ';
  }
  return out;
}

}  // namespace xmltext
