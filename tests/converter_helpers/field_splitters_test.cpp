#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "converter/field_splitters.h"

namespace {

using Splitter = void (*)(std::string_view, int&, TextField);

struct Step {
  std::string field;
  int position;
};

std::vector<Step> walk(Splitter split, std::string_view record, int position, int calls, int fieldLength = 16) {
  std::vector<Step> steps;
  for (int i = 0; i < calls; ++i) {
    std::string field(static_cast<std::size_t>(fieldLength), '#');
    split(record, position, TextField(field.data(), fieldLength));
    steps.push_back({std::string(text::trimmed(field)), position});
  }
  return steps;
}

void expectSteps(const std::vector<Step>& got, const std::vector<Step>& want, const std::string& what) {
  ASSERT_EQ(got.size(), want.size()) << what;
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(got[i].field, want[i].field) << what << " call " << i + 1;
    EXPECT_EQ(got[i].position, want[i].position) << what << " call " << i + 1;
  }
}

TEST(Splitters, CsvAndTabbedFieldsWalkToTheEndOfTheRecord) {
  expectSteps(walk(GET_CSV_FIELD, "a,,b   ", 1, 4), {{"a", 3}, {"", 4}, {"b", 6}, {"", 7}}, "a,,b");
  // Quotes are ordinary characters here.
  expectSteps(walk(GET_CSV_FIELD, "\"x,y\"", 1, 2), {{"\"x", 4}, {"y\"", 7}}, "quotes");
  expectSteps(walk(GET_TABBED_FIELD, " n\t\t51.5,x", 1, 3), {{" n", 4}, {"", 5}, {"51.5,x", 12}}, "tabs");
  expectSteps(walk(GET_CSV_FIELD, "        ", 1, 2), {{"", 2}, {"", 3}}, "blank record");
  // A field longer than the caller's text is cut to it.
  expectSteps(walk(GET_CSV_FIELD, "abcdefgh,i", 1, 2, 4), {{"abcd", 10}, {"i", 12}}, "cut");
}

TEST(Splitters, FieldWalksBlankSeparatedWords) {
  expectSteps(walk(GET_FIELD, "   W  51.5", 1, 3), {{"W", 7}, {"51.5", 12}, {"", 13}}, "words");
  expectSteps(walk(GET_FIELD, "a\tb c", 1, 2), {{"a\tb", 5}, {"c", 7}}, "tab inside a word");
  expectSteps(walk(GET_FIELD, "", 1, 1), {{"", 2}}, "empty");
}

TEST(Splitters, NothingOutsideTheRecordIsRead) {
  // The record is the first five characters; what lies after it in memory
  // belongs to someone else.
  const std::string memory = "a,b,cXYZ\tQ \"R";
  const std::string_view record(memory.data(), 5);
  for (Splitter split : {GET_CSV_FIELD, GET_TABBED_FIELD, GET_FIELD}) {
    for (int start : {-7, 0, 1, 5, 6, 100}) {
      for (const Step& s : walk(split, record, start, 4)) {
        EXPECT_EQ(s.field.find_first_of("XYZQR"), std::string::npos) << start << " " << s.field;
      }
    }
  }
  // A position before the record reads from its first column.
  expectSteps(walk(GET_CSV_FIELD, record, 0, 1), {{"a", 3}}, "position 0");
  Logical atEnd = kLogicalFalse;
  std::int32_t status = -1;
  for (int start : {-3, 0, 1, 3, 5, 6, 50}) {
    int position = start;
    FixedText<16> field;
    for (int i = 0; i < 4; ++i) {
      GET_QCSV_FIELD(record, position, field, atEnd, status);
      EXPECT_EQ(field.view().find_first_of("XYZQR"), std::string_view::npos) << start;
    }
    EXPECT_TRUE(isTrue(atEnd)) << start;
  }
}

struct QcsvStep {
  std::string field;
  int position;
  bool atEnd;
  int status;
};

std::vector<QcsvStep> walkQcsv(std::string_view record, int calls, int fieldLength = 16) {
  std::vector<QcsvStep> steps;
  int position = 1;
  for (int i = 0; i < calls; ++i) {
    std::string field(static_cast<std::size_t>(fieldLength), '#');
    Logical atEnd = 7;
    std::int32_t status = 7;
    GET_QCSV_FIELD(record, position, TextField(field.data(), fieldLength), atEnd, status);
    steps.push_back({std::string(text::trimmed(field)), position, isTrue(atEnd), status});
  }
  return steps;
}

TEST(Splitters, QuotedCsvFieldsLoseTheirQuotes) {
  const struct {
    const char* record;
    int fieldLength;
    std::vector<QcsvStep> steps;
  } cases[] = {
      {"a,\"b, c\" , d", 16, {{"a", 3, false, 0}, {"b, c", 11, false, 0}, {"d", 14, true, 0}}},
      {"\"Name\",\"Second text\"", 16, {{"Name", 8, false, 0}, {"Second text", 22, true, 0}}},
      // An unclosed quote takes the rest, loses its first and last character.
      {"x,\"never closed", 16, {{"x", 3, false, 0}, {"never close", 17, true, 2}}},
      // Cut to the field first, then the first and last characters go.
      {"\"abcdefghij\"", 6, {{"abcd", 14, true, 0}}},
      {"        ", 16, {{"", 2, true, 0}}},
      {"\"\"\"doubled\"\"\"", 16, {{"\"\"doubled\"\"", 15, true, 0}}},
  };
  for (const auto& c : cases) {
    const auto got = walkQcsv(c.record, static_cast<int>(c.steps.size()), c.fieldLength);
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
      EXPECT_EQ(got[i].field, c.steps[i].field) << c.record << " call " << i + 1;
      EXPECT_EQ(got[i].position, c.steps[i].position) << c.record << " call " << i + 1;
      EXPECT_EQ(got[i].atEnd, c.steps[i].atEnd) << c.record << " call " << i + 1;
      EXPECT_EQ(got[i].status, c.steps[i].status) << c.record << " call " << i + 1;
    }
  }
}

TEST(CoordDeg, WritesTheLetterAndAZeroFilledNumber) {
  const struct {
    const char* letter;
    float value;
    const char* format;
    int length;
    const char* expected;
  } cases[] = {
      {"S", 1.5f, "(A,F8.5)", 10, "S01.50000 "},
      {"E", 0.25f, "(A,F9.5)", 11, "E000.25000 "},
      {"N", 0.0f, "(A,F8.5)", 10, "N00.00000 "},
      {"W", 179.5f, "(A,F9.5)", 11, "W179.50000 "},
      {"N", 1000.0f, "(A,F8.5)", 10, "N******** "},
      {"N", 1.0f, "(F8.5)", 10, "N*********"},
  };
  for (const auto& c : cases) {
    std::string field(static_cast<std::size_t>(c.length), '#');
    COORD_DEG(c.letter, c.value, c.format, TextField(field.data(), c.length));
    EXPECT_EQ(field, c.expected) << c.letter << c.value << c.format;
  }
}

}  // namespace
