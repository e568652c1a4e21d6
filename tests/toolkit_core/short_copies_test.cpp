// The inline copies and fills agree with the library's on every length that
// each of their branches takes, within a buffer and across overlapping ranges.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "toolkit/core/short_copies.h"

namespace {

// Bytes that differ at every position, so that a byte taken from the wrong
// place shows.
std::string pattern(std::size_t size) {
  std::string s(size, '\0');
  for (std::size_t k = 0; k < size; ++k) s[k] = static_cast<char>('!' + (k * 7) % 90);
  return s;
}

constexpr std::size_t kLongest = 2 * bytes::kInlineCopy + 5;
constexpr std::size_t kRoom = 3 * kLongest;

TEST(ShortCopies, CopyMovesExactlyTheCountAndNothingAround) {
  const std::string source = pattern(kLongest);
  for (std::size_t count = 0; count <= kLongest; ++count) {
    std::string ours(kRoom, '.');
    std::string theirs(kRoom, '.');
    bytes::copy(source.data(), count, ours.data() + 3);
    std::memcpy(theirs.data() + 3, source.data(), count);
    EXPECT_EQ(ours, theirs) << "count " << count;
  }
}

TEST(ShortCopies, OverlappingCopiesInBothDirectionsActAsMemmove) {
  for (std::size_t count = 0; count <= kLongest; ++count) {
    for (std::size_t from : {std::size_t{0}, std::size_t{1}, std::size_t{7}, std::size_t{16}, count / 2}) {
      for (std::size_t to : {std::size_t{0}, std::size_t{1}, std::size_t{9}, std::size_t{16}, count / 2}) {
        std::string ours = pattern(kRoom);
        std::string theirs = ours;
        bytes::copy(ours.data() + from, count, ours.data() + to);
        std::memmove(theirs.data() + to, theirs.data() + from, count);
        EXPECT_EQ(ours, theirs) << "count " << count << " from " << from << " to " << to;
      }
    }
  }
}

TEST(ShortCopies, FillSetsExactlyTheCount) {
  for (std::size_t count = 0; count <= kLongest; ++count) {
    std::string ours = pattern(kRoom);
    std::string theirs = ours;
    bytes::fill(ours.data() + 5, count, ' ');
    std::memset(theirs.data() + 5, ' ', count);
    EXPECT_EQ(ours, theirs) << "count " << count;
  }
}

}  // namespace
