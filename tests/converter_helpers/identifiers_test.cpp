#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "converter/identifiers.h"

namespace {

std::string ucidnt(const std::string& text) {
  FixedText<128> result("#");
  UCIDNT(text, result);
  return result.str();
}

TEST(Ucidnt, BuildsLetterOnlyIdentifiers) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"London", "LONDON"},
      {"Tower Bridge", "TOWBRI"},
      {"St. Paul's Cathedral", "STPAUCAT"},
      {"A1 Junction 5", "AJUN"},
      {"1234", "W"},
      {"", "W"},
      {"!?\t-", "W"},
      {"Westminsterabbey", "WESTMINSTERABBEY"},
      {" Westminster", "WES"},
      {"caf\xE9 au lait", "CAFAULAI"},
      {"a  b", "AB"},
  };
  for (const auto& c : cases) EXPECT_EQ(ucidnt(c.text), c.expected) << c.text;
  // Only the first 128 kept characters count.
  EXPECT_EQ(ucidnt(std::string(200, 'x')), std::string(128, 'X'));
}

// One output run of UNIQUENAME over the candidates, as a writer makes it.
std::vector<std::string> uniqueNames(const std::vector<std::string>& candidates, int maxlen) {
  const int n = static_cast<int>(candidates.size());
  std::vector<FixedText<20>> names(candidates.size());
  std::vector<std::int32_t> counts(candidates.size(), 99);
  std::vector<std::string> out;
  for (int i = 1; i <= n; ++i) {
    FixedText<128> result("#");
    UNIQUENAME(candidates[static_cast<std::size_t>(i - 1)], maxlen, i, names, counts, n, result);
    EXPECT_LE(result.trimmedLength(), maxlen);
    out.push_back(result.str());
  }
  return out;
}

TEST(UniqueName, NumbersCollidingCandidatesOnTheFirstOnesCounter) {
  using Names = std::vector<std::string>;
  EXPECT_EQ(uniqueNames({"PARIS", "PARIS", "PARIS"}, 6), (Names{"PARIS", "PARIS1", "PARIS2"}));
  EXPECT_EQ(uniqueNames({"LONDONBRIDGE", "LONDONEYE"}, 6), (Names{"LONDON", "LONDO1"}));
  EXPECT_EQ(uniqueNames({"AB", "AB", "AB1"}, 6), (Names{"AB", "AB1", "AB1"}));
  EXPECT_EQ(uniqueNames({"A", "A"}, 1), (Names{"A", "1"}));
  EXPECT_EQ(uniqueNames({"Ab", "AB", "Ab"}, 6), (Names{"Ab", "AB", "Ab1"}));
  const Names eleven(11, "LONDON");
  EXPECT_EQ(uniqueNames(eleven, 6).back(), "LOND10");
  // Candidates that agree only in their first maxlen characters share a counter.
  EXPECT_EQ(uniqueNames({"ABCDEFG", "ABCDEFH", "ABCDEFI"}, 6), (Names{"ABCDEF", "ABCDE1", "ABCDE2"}));
}

TEST(UniqueName, IndexOneClearsItsCounterAndBadIndexesTouchNothing) {
  std::vector<FixedText<20>> names(2);
  std::vector<std::int32_t> counts{5, 6};
  FixedText<128> result;
  UNIQUENAME("NAMEISLONG", 4, 1, names, counts, 2, result);
  EXPECT_EQ(result.str(), "NAME");
  EXPECT_EQ(counts[0], 0);
  for (int bad : {0, 3, -1}) {
    UNIQUENAME("NAMEISLONG", 4, bad, names, counts, 2, result);
    EXPECT_EQ(result.str(), "NAME");
  }
  EXPECT_EQ(counts[1], 6);
  // n larger than the lists: the lists bound it.
  UNIQUENAME("NAMEISLONG", 4, 2, names, counts, 1000, result);
  EXPECT_EQ(result.str(), "NAM1");
  UNIQUENAME("NAMEISLONG", 4, 5, names, counts, 1000, result);
  EXPECT_EQ(result.str(), "NAME");
}

TEST(FlatEarth, PlaneDistancesAroundTheFirstPoint) {
  float d = -1.0f;
  FLAT_EARTH(51.5f, -0.12f, 51.5f, -0.12f, d);
  EXPECT_EQ(d, 0.0f);
  FLAT_EARTH(0.0f, 0.0f, 0.0f, 1.0f, d);
  EXPECT_NEAR(d, 111318.9, 1.0);
  FLAT_EARTH(0.0f, 0.0f, 1.0f, 0.0f, d);
  EXPECT_NEAR(d, 110575.4, 1.0);
  // No wrapping across the date line: nearly 360 degrees of longitude apart.
  FLAT_EARTH(0.0f, 179.9f, 0.0f, -179.9f, d);
  EXPECT_NEAR(d, 359.8 * 111318.9, 50.0);
  // The radius of the first point's latitude is used, in either direction.
  float back = 0.0f;
  FLAT_EARTH(60.0f, 5.0f, 60.0f, 6.0f, d);
  EXPECT_NEAR(d, 55799.0, 30.0);
  FLAT_EARTH(60.0f, 6.0f, 60.0f, 5.0f, back);
  EXPECT_FLOAT_EQ(d, back);
}

}  // namespace
