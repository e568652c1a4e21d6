#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/tabular/free_form.h"

namespace {

// One value to read: its kind ('r' real, 'i' integer, 't' text of 12
// characters, 's' text of 3), the result and, for a value, what it reads as.
// Variables start as "unchanged" texts and 999 numbers, so that a null value
// shows as the sentinel.
struct Item {
  char kind;
  FreeForm result;
  std::string value;
};

struct Case {
  const char* record;
  std::vector<Item> items;
};

constexpr FreeForm V = FreeForm::kValue;
constexpr FreeForm N = FreeForm::kNull;
constexpr FreeForm M = FreeForm::kMissing;
constexpr FreeForm B = FreeForm::kBad;

const std::vector<Case> kCases{
    // Separators: commas with blanks around them, blanks alone.
    {" 51.5, -0.12 ,\"Big Ben\",'Tower', ff0000, 37",
     {{'r', V, "51.5"}, {'r', V, "-0.12"}, {'t', V, "Big Ben"}, {'t', V, "Tower"}, {'t', V, "ff0000"}, {'i', V, "37"}}},
    {"1 2   3", {{'i', V, "1"}, {'i', V, "2"}, {'i', V, "3"}, {'i', M, "999"}}},
    {"1\t2", {{'i', V, "1"}, {'i', V, "2"}}},
    // Null values leave the variable as it was; a slash ends the values.
    {"1,,3", {{'i', V, "1"}, {'i', N, "999"}, {'i', V, "3"}}},
    {"1, ,3", {{'i', V, "1"}, {'t', N, "unchanged"}, {'i', V, "3"}}},
    {",5", {{'r', N, "999"}, {'i', V, "5"}}},
    {"1/2", {{'i', V, "1"}, {'i', N, "999"}, {'t', N, "unchanged"}}},
    {"\"a\"/ 2", {{'t', V, "a"}, {'i', N, "999"}}},
    // A trailing comma is not a null value: the record has ended.
    {"1,2,", {{'i', V, "1"}, {'i', V, "2"}, {'i', M, "999"}}},
    {"", {{'t', M, "unchanged"}}},
    {"   ", {{'r', M, "999"}}},
    // Quotes: doubled delimiters, the other delimiter, commas inside.
    {"\"a\"\"b\"", {{'t', V, "a\"b"}}},
    {"'it''s'", {{'t', V, "it's"}}},
    {"'say \"x\"'", {{'t', V, "say \"x\""}}},
    {"\"a,b\", c", {{'t', V, "a,b"}, {'t', V, "c"}}},
    {"\"\",\"\"", {{'t', V, ""}, {'t', V, ""}}},
    {"\"a \"\"b\"\" c\", 1", {{'t', V, "a \"b\" c"}, {'i', V, "1"}}},
    // Quotes inside a text written without doubling come back as written.
    {"\"Say \"hi\"\", 4", {{'t', V, "Say \"hi\""}, {'i', V, "4"}}},
    {"\"Say \"hi\" now\", 4", {{'t', V, "Say \"hi\" now"}, {'i', V, "4"}}},
    {"\"x\"\"\"", {{'t', V, "x\""}}},
    // ... but a quote followed by a blank ends the text.
    {"\"5\" inch\"", {{'t', V, "5"}, {'t', V, "inch\""}}},
    {"\"unclosed", {{'t', B, "unchanged"}}},
    {"\"a\"b", {{'t', B, "unchanged"}}},
    // Unquoted texts end at a blank, comma or slash; long texts are cut.
    {"ff 00,x/y", {{'t', V, "ff"}, {'t', V, "00"}, {'t', V, "x"}, {'t', N, "unchanged"}}},
    {"abcdef", {{'s', V, "abc"}}},
    // Fortran numbers.
    {"1.5D2 2.5-3 .5 5. +7 -3E+1 1q1", {{'r', V, "150"}, {'r', V, "0.0025"}, {'r', V, "0.5"}, {'r', V, "5"},
                                          {'i', V, "7"}, {'r', V, "-30"}, {'r', V, "10"}}},
    {"-2147483648 2147483647", {{'i', V, "-2147483648"}, {'i', V, "2147483647"}}},
    {"1e40", {{'r', B, "999"}}},
    {"abc", {{'r', B, "999"}}},
    {"1.5", {{'i', B, "999"}}},
    {"2147483648", {{'i', B, "999"}}},
    {"12abc", {{'i', B, "999"}}},
    {"\"51.5\"", {{'r', B, "999"}}},
    {"nan inf", {{'r', B, "999"}}},
    {"1.5e", {{'r', B, "999"}}},
    {"-", {{'i', B, "999"}}},
};

TEST(FreeForm, ReadsValuesAsListDirectedInputDoes) {
  for (const Case& c : kCases) {
    FreeFormReader in(c.record);
    int k = 0;
    for (const Item& item : c.items) {
      ++k;
      SCOPED_TRACE(std::string("record <") + c.record + "> value " + std::to_string(k));
      float real = 999.0f;
      std::int32_t integer = 999;
      FixedText<12> text{"unchanged"};
      FixedText<3> shortText;
      FreeForm result = FreeForm::kBad;
      std::string got;
      switch (item.kind) {
        case 'r':
          result = in.real(real);
          EXPECT_FLOAT_EQ(real, std::stof(item.value));
          break;
        case 'i':
          result = in.integer(integer);
          EXPECT_EQ(integer, std::stol(item.value));
          break;
        case 's':
          result = in.text(shortText);
          EXPECT_EQ(shortText.str(), item.value);
          break;
        default:
          result = in.text(text);
          EXPECT_EQ(text.str(), item.value);
      }
      EXPECT_EQ(static_cast<int>(result), static_cast<int>(item.result));
    }
  }
}

}  // namespace
