#pragma once
// Fixed-length, blank-padded texts: the one text type of every record field and
// every text argument.  Bytes are code page 1252, as the program stores them.
//
//  - assigning cuts a longer text or pads a shorter one with blanks;
//  - the trimmed length ignores trailing blanks (blank = character 32 only);
//  - comparison is exact and case-sensitive and ignores trailing blanks only;
//  - columns count from 1 where a routine speaks of columns.

#include <algorithm>
#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "toolkit/core/short_copies.h"

namespace text {

constexpr char kBlank = ' ';

// Length without trailing blanks.  Records are mostly padding, so the blanks
// are passed over sixteen at a time.
constexpr int trimmedLength(std::string_view s) {
  std::size_t n = s.size();
  if (!std::is_constant_evaluated()) {
    while (n >= bytes::kBlock &&
           bytes::bytesEqual(bytes::loadBlock(s.data() + n - bytes::kBlock), kBlank) == bytes::kWholeBlock) {
      n -= bytes::kBlock;
    }
  }
  while (n > 0 && s[n - 1] == kBlank) --n;
  return static_cast<int>(n);
}

constexpr std::string_view trimmed(std::string_view s) {
  return s.substr(0, static_cast<std::size_t>(trimmedLength(s)));
}

// Equal when equal after trailing blanks are dropped.
constexpr bool equal(std::string_view a, std::string_view b) {
  return trimmed(a) == trimmed(b);
}

constexpr bool isBlank(std::string_view s) { return trimmedLength(s) == 0; }

// Without its leading blanks: the left-justified form of a right-justified field.
inline std::string withoutLeadingBlanks(std::string_view s) {
  const std::size_t first = s.find_first_not_of(kBlank);
  return first == std::string_view::npos ? std::string() : std::string(s.substr(first));
}

}  // namespace text

// A writable window on a blank-padded field that some record or caller owns.
// It is what routines take for an "out text": the field's length travels with it.
class TextField {
 public:
  constexpr TextField(char* data, int length) : data_(data), length_(length < 0 ? 0 : length) {}
  constexpr TextField(std::span<char> bytes)
      : data_(bytes.data()), length_(static_cast<int>(bytes.size())) {}

  constexpr int length() const { return length_; }
  constexpr char* data() const { return data_; }
  constexpr std::string_view view() const {
    return {data_, static_cast<std::size_t>(length_)};
  }
  constexpr operator std::string_view() const { return view(); }
  constexpr int trimmedLength() const { return text::trimmedLength(view()); }
  constexpr std::string_view trimmed() const { return text::trimmed(view()); }
  std::string str() const { return std::string(trimmed()); }

  // Column 1 is the first character.
  constexpr char& column(int c) const { return data_[c - 1]; }

  // Cuts or pads with blanks.
  constexpr void assign(std::string_view s) const {
    const int n = std::min<int>(length_, static_cast<int>(s.size()));
    if (std::is_constant_evaluated()) {
      std::copy_n(s.data(), n, data_);
      std::fill(data_ + n, data_ + length_, text::kBlank);
      return;
    }
    bytes::copy(s.data(), static_cast<std::size_t>(n), data_);
    bytes::fill(data_ + n, static_cast<std::size_t>(length_ - n), text::kBlank);
  }
  constexpr void blank() const {
    if (std::is_constant_evaluated()) {
      std::fill(data_, data_ + length_, text::kBlank);
      return;
    }
    bytes::fill(data_, static_cast<std::size_t>(length_), text::kBlank);
  }

  // A part of the field, columns first..first+count-1, clipped to the field.
  constexpr TextField part(int first, int count) const {
    if (first < 1) first = 1;
    if (first > length_) return TextField(data_ + length_, 0);
    return TextField(data_ + first - 1, std::min(count, length_ - first + 1));
  }

 private:
  char* data_;
  int length_;
};

// A blank-padded text of N bytes that owns its storage; the field type of records.
template <std::size_t N>
class FixedText {
 public:
  static_assert(N > 0);
  constexpr FixedText() { field().blank(); }
  constexpr FixedText(std::string_view s) { assign(s); }
  constexpr FixedText(const char* s) { assign(s); }

  constexpr FixedText& operator=(std::string_view s) {
    assign(s);
    return *this;
  }
  constexpr FixedText& operator=(const char* s) {
    assign(s);
    return *this;
  }

  static constexpr int length() { return static_cast<int>(N); }
  constexpr char* data() { return bytes_.data(); }
  constexpr const char* data() const { return bytes_.data(); }
  constexpr std::string_view view() const { return {bytes_.data(), N}; }
  constexpr operator std::string_view() const { return view(); }
  constexpr TextField field() { return TextField(bytes_.data(), static_cast<int>(N)); }
  constexpr operator TextField() { return field(); }

  constexpr int trimmedLength() const { return text::trimmedLength(view()); }
  constexpr std::string_view trimmed() const { return text::trimmed(view()); }
  std::string str() const { return std::string(trimmed()); }
  constexpr bool isBlank() const { return trimmedLength() == 0; }

  constexpr char& column(int c) { return bytes_[static_cast<std::size_t>(c - 1)]; }
  constexpr char column(int c) const { return bytes_[static_cast<std::size_t>(c - 1)]; }

  constexpr void assign(std::string_view s) { field().assign(s); }
  constexpr void blank() { field().blank(); }

  friend constexpr bool operator==(const FixedText& a, const FixedText& b) {
    return text::equal(a.view(), b.view());
  }
  friend constexpr bool operator==(const FixedText& a, std::string_view b) {
    return text::equal(a.view(), b);
  }

 private:
  std::array<char, N> bytes_;
};

// A NUL-ended copy of a blank-padded text without its trailing blanks, as Windows
// wants it; leading blanks are kept.
inline std::string windowsText(std::string_view field) { return std::string(text::trimmed(field)); }
