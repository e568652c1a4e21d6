#pragma once
// Character sets and character references of the XML formats.  The program keeps
// its texts as code page 1252 bytes: readers turn what a file holds into those
// bytes, and the KML writer turns them into UTF-8.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "toolkit/core/byte_blocks.h"

namespace xmltext {

// Short tag names compared as one word each: the eight bytes of a blank-padded
// name.
namespace scan {
inline std::uint64_t eightBytes(const char* at) {
  std::uint64_t word = 0;
  std::memcpy(&word, at, sizeof word);
  return word;
}

// The first eight bytes of the text as a word, blanks after a shorter text:
// the word of a blank-padded text of eight bytes.
inline std::uint64_t paddedWord(std::string_view text) {
  char padded[8] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
  std::copy_n(text.data(), std::min<std::size_t>(text.size(), 8), padded);
  return eightBytes(padded);
}
}  // namespace scan

// Where `c` stands in the text from `from`; npos when it does not.
inline std::size_t findChar(std::string_view text, char c, std::size_t from = 0) {
  const std::size_t size = text.size();
  const char* chars = text.data();
  std::size_t at = from;
  for (; at + bytes::kBlock <= size; at += bytes::kBlock) {
    if (const unsigned marks = bytes::bytesEqual(bytes::loadBlock(chars + at), c)) {
      return at + bytes::firstMarked(marks);
    }
  }
  for (; at < size; ++at) {
    if (chars[at] == c) return at;
  }
  return std::string_view::npos;
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

// UTF-8 bytes as code page 1252, into `out` (replacing what it held: a reader
// reuses one buffer).  A byte that starts no valid sequence is taken as a code
// page byte of its own, so that a file mislabelled as UTF-8 loses nothing.
void fromUtf8(std::string_view bytes, std::string& out);

// Code page 1252 bytes as UTF-8.
std::string toUtf8(std::string_view bytes);
// The same written from `out`, which has room for three bytes a byte; gives the end.
char* writeAsUtf8(std::string_view bytes, char* out);

// Element content as text: character-data sections give their inner text as it
// stands, the five predefined entities and numeric character references give
// their character, and everything else stays.  A reference that names no
// character, or one the code page lacks, gives "?"; an unknown entity stays as
// written.  The text goes to `out`, replacing what it held.
void decodeContent(std::string_view content, std::string& out);

// The text with every control character (below 32, except TAB) made a blank: a
// stored text may hold bytes that XML does not allow anywhere.
std::string withoutControlCharacters(std::string_view text);
// Whether the text holds such a character.
bool hasControlCharacters(std::string_view text);

}  // namespace xmltext
