#include <gtest/gtest.h>

#include <algorithm>
#include <random>
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
  UniqueNameIndex firsts;
  std::vector<std::string> out;
  for (int i = 1; i <= n; ++i) {
    FixedText<128> result("#");
    UNIQUENAME(candidates[static_cast<std::size_t>(i - 1)], maxlen, i, names, counts, n, firsts, result);
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
  UniqueNameIndex firsts;
  FixedText<128> result;
  UNIQUENAME("NAMEISLONG", 4, 1, names, counts, 2, firsts, result);
  EXPECT_EQ(result.str(), "NAME");
  EXPECT_EQ(counts[0], 0);
  for (int bad : {0, 3, -1}) {
    UNIQUENAME("NAMEISLONG", 4, bad, names, counts, 2, firsts, result);
    EXPECT_EQ(result.str(), "NAME");
  }
  EXPECT_EQ(counts[1], 6);
  // n larger than the lists: the lists bound it.
  UNIQUENAME("NAMEISLONG", 4, 2, names, counts, 1000, firsts, result);
  EXPECT_EQ(result.str(), "NAM1");
  UNIQUENAME("NAMEISLONG", 4, 5, names, counts, 1000, firsts, result);
  EXPECT_EQ(result.str(), "NAME");
}

// The unique-name search as first written down: each candidate compared with
// every earlier entry of the lists, the first match numbered on its counter.
struct ScanningReference {
  std::vector<std::string> names;
  std::vector<std::int32_t> counts;

  std::string make(const std::string& name, int maxlen, int index) {
    const auto columns = [](const std::string& s, int count) {
      std::string out = s.substr(0, std::min<std::size_t>(s.size(), static_cast<std::size_t>(count)));
      out.resize(static_cast<std::size_t>(count), ' ');
      return out;
    };
    const auto stripped = [](std::string s) { return s.erase(s.find_last_not_of(' ') + 1); };
    const auto at = static_cast<std::size_t>(index - 1);
    names[at] = columns(name, 20);
    counts[at] = 0;
    for (std::size_t k = 0; k < at; ++k) {
      if (names[k].substr(0, static_cast<std::size_t>(maxlen)) != columns(name, maxlen)) continue;
      const std::string number = std::to_string(++counts[k]);
      const int digits = static_cast<int>(number.size());
      return stripped(columns(stripped(columns(name, std::max(maxlen - digits, 0))) + number, maxlen));
    }
    return stripped(columns(name, maxlen));
  }
};

// Runs of random short names over a small alphabet (blanks, digits and case
// included, so that names collide, share beginnings and meet numbered ones), with
// skipped indexes, runs begun again on the same lists and a point written twice:
// the index must give exactly what scanning every earlier entry gives.
TEST(UniqueName, IndexedSearchGivesWhatScanningEveryEntryGives) {
  std::mt19937 random(20071017);
  const std::string alphabet = "AAAB B1 a2";
  constexpr int kEntries = 400;
  for (int round = 0; round < 60; ++round) {
    const int maxlen = 1 + round % 8;
    std::vector<FixedText<20>> names(kEntries);
    std::vector<std::int32_t> counts(kEntries, 0);
    ScanningReference reference{std::vector<std::string>(kEntries, std::string(20, ' ')),
                                std::vector<std::int32_t>(kEntries, 0)};
    UniqueNameIndex firsts;
    for (int runs = 0; runs < 2; ++runs) {
      for (int index = 1; index <= kEntries; ++index) {
        if (random() % 10 == 0) continue;  // a point without a name
        std::string name(1 + random() % 10, ' ');
        for (char& c : name) c = alphabet[random() % alphabet.size()];
        // Now and then the same point again, or one far back.
        const int at = random() % 50 == 0 ? 1 + static_cast<int>(random() % index) : index;
        FixedText<128> result;
        UNIQUENAME(name, maxlen, at, names, counts, kEntries, firsts, result);
        ASSERT_EQ(result.trimmed(), reference.make(name, maxlen, at))
            << "round " << round << ", index " << at << ", name '" << name << "'";
      }
      ASSERT_EQ(counts, reference.counts) << "round " << round;
    }
  }
}

// A full list of sixty thousand points, all distinct and then all alike: the
// numbers grow to five digits on the first point's counter.
TEST(UniqueName, FullListOfDistinctAndOfEqualNames) {
  constexpr int kEntries = 60000;
  std::vector<FixedText<20>> names(kEntries);
  std::vector<std::int32_t> counts(kEntries);
  UniqueNameIndex firsts;
  FixedText<128> result;
  for (int i = 1; i <= kEntries; ++i) {
    UNIQUENAME("P" + std::to_string(i), 6, i, names, counts, kEntries, firsts, result);
  }
  EXPECT_EQ(result.str(), "P60000");
  EXPECT_EQ(counts[0], 0);
  for (int i = 1; i <= kEntries; ++i) UNIQUENAME("SAME", 6, i, names, counts, kEntries, firsts, result);
  EXPECT_EQ(result.str(), "S59999");
  EXPECT_EQ(counts[0], kEntries - 1);
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
