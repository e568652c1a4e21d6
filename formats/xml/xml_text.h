#pragma once
// Character sets and character references of the XML formats.  The program keeps
// its texts as code page 1252 bytes: readers turn what a file holds into those
// bytes, and the KML writer turns them into UTF-8.

#include <algorithm>
#include <string>
#include <string_view>

namespace xmltext {

// Searches of the short texts of an element, which the readers make many times
// for each element: plain loops, with no library call for each search.
// Where `c` stands in the text from `from`; npos when it does not.
inline std::size_t findChar(std::string_view text, char c, std::size_t from = 0) {
  if (from >= text.size()) return std::string_view::npos;
  const auto at = std::find(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), c);
  return at == text.end() ? std::string_view::npos : static_cast<std::size_t>(at - text.begin());
}

// Whether `pattern` stands in the text at column `at` (0-based).
inline bool standsAt(std::string_view text, std::size_t at, std::string_view pattern) {
  if (at > text.size() || text.size() - at < pattern.size()) return false;
  for (std::size_t k = 0; k < pattern.size(); ++k) {
    if (text[at + k] != pattern[k]) return false;
  }
  return true;
}

// Where `pattern` stands in the text from `from`; npos when it does not.
inline std::size_t findText(std::string_view text, std::string_view pattern, std::size_t from = 0) {
  if (pattern.empty()) return from <= text.size() ? from : std::string_view::npos;
  for (std::size_t at = findChar(text, pattern.front(), from); at != std::string_view::npos;
       at = findChar(text, pattern.front(), at + 1)) {
    if (text.size() - at < pattern.size()) return std::string_view::npos;
    if (standsAt(text, at, pattern)) return at;
  }
  return std::string_view::npos;
}

// The code page 1252 byte of a Unicode code point; "?" when the code page has none.
char codePageByte(char32_t codePoint);

// The Unicode code point of a code page 1252 byte.  The five bytes that the code
// page leaves undefined keep their own value.
char32_t codePoint(unsigned char byte);

// How the bytes of a file are to be read.
enum class Encoding {
  kUtf8,      // the default of XML
  kCodePage,  // ISO-8859-1 or windows-1252: the bytes are the program's own
};

// The encoding that an XML declaration names ("<?xml ... encoding="..."?>"); UTF-8
// when the text is no declaration or names another encoding.
Encoding declaredEncoding(std::string_view firstLine);

// UTF-8 bytes as code page 1252.  A byte that starts no valid sequence is taken as a
// code page byte of its own, so that a file mislabelled as UTF-8 loses nothing.
std::string fromUtf8(std::string_view bytes);
// The same into `out`, replacing what it held: a reader reuses one buffer.
void fromUtf8(std::string_view bytes, std::string& out);

// Code page 1252 bytes as UTF-8.
std::string toUtf8(std::string_view bytes);
// The same appended to `out`.
void appendAsUtf8(std::string_view bytes, std::string& out);

// Element content as text: character-data sections give their inner text as it
// stands, the five predefined entities and numeric character references give
// their character, and everything else stays.  A reference that names no
// character, or one the code page lacks, gives "?"; an unknown entity stays as
// written.
std::string decodeContent(std::string_view content);

// The text with every control character (below 32, except TAB) made a blank: a
// stored text may hold bytes that XML does not allow anywhere.
std::string withoutControlCharacters(std::string_view text);
// Whether the text holds such a character.
bool hasControlCharacters(std::string_view text);

}  // namespace xmltext
