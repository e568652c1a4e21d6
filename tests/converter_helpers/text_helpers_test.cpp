#include <gtest/gtest.h>

#include <string>

#include "converter/text_helpers.h"

namespace {

std::string fit(const std::string& path, int width) {
  FixedText<256> result("#");
  FIT(path, width, result);
  return result.str();
}

struct FitCase {
  const char* path;
  int width;
  const char* expected;
};

TEST(Fit, ShortensLeadingFoldersAsTheLogShowsThem) {
  const FitCase cases[] = {
      {"D:\\Data\\Maps\\Walk\\route.gpx", 20, "D:\\...\\Walk\\route.gpx"},
      // Exactly the width stays; one more character is shortened.
      {"C:\\aaaa\\bbbb.gpx", 16, "C:\\aaaa\\bbbb.gpx"},
      {"C:\\aaaa\\bbbbb.gpx", 16, "C:\\...\\bbbbb.gpx"},
      // No second backslash: the first three characters go and nothing more.
      {"D:\\abcdefghijklmnopqrstuvwxyz1234", 20, "abcdefghijklmnopqrstuvwxyz1234"},
      {"", 50, ""},
      {"", -5, ""},
      {"D:\\a\\b\\c", 0, "c"},
  };
  for (const auto& c : cases) EXPECT_EQ(fit(c.path, c.width), c.expected) << c.path;
}

TEST(Fit, EndsAndStaysWithinWidthPlusOneForPathsThatBeginWithABackslash) {
  const std::string paths[] = {
      "\\\\server\\share\\folder\\deeper\\file.gpx",
      "\\folder\\sub\\another\\file_with_a_long_name.gpx",
      "\\\\server\\a_file_name_that_is_much_longer_than_the_width.gpx",
      "\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\\x.gpx",
  };
  for (const auto& path : paths) {
    for (int width : {10, 20, 30, 40}) {
      const std::string shown = fit(path, width);
      if (static_cast<int>(path.size()) <= width) {
        EXPECT_EQ(shown, path);
        continue;
      }
      EXPECT_LE(static_cast<int>(shown.size()), width + 1) << path << " " << width;
      EXPECT_NE(shown.find("...\\"), std::string::npos) << path << " " << width;
    }
  }
  // The file name's end stays visible.
  EXPECT_EQ(fit("\\\\server\\share\\folder\\deeper\\file.gpx", 20), "\\\\s...\\file.gpx");
}

TEST(PathParts, RootFileAndExtension) {
  FixedText<40> path("D:\\Maps\\a.gpx");
  ROOT(path);
  EXPECT_EQ(path.str(), "D:\\Maps\\");
  for (const char* noFolder : {"", "a.gpx"}) {
    FixedText<40> p(noFolder);
    ROOT(p);
    EXPECT_TRUE(p.isBlank()) << noFolder;
  }

  const struct {
    const char* path;
    const char* name;
  } files[] = {
      {"D:\\Maps\\walk.2007.gpx", "walk.2007"},
      {"D:\\my.maps\\walk", "my"},
      {"D:\\Maps\\track", ""},
      {"walk.gpx", "walk"},
  };
  for (const auto& f : files) {
    FixedText<128> name("#");
    carrowmapper::FILE(f.path, name);
    EXPECT_EQ(name.str(), f.name) << f.path;
  }

  const struct {
    const char* path;
    const char* base;
    const char* extension;
  } splits[] = {
      {"D:\\Maps\\a.ov2", "D:\\Maps\\a", "ov2"},
      {"D:\\Maps\\a", "", "d:\\"},
      {"D:\\Maps\\A.GPX", "D:\\Maps\\A", "gpx"},
      {"D:\\Maps\\book.xlsx", "D:\\Maps\\book", "xls"},
      {".gpx", "", "gpx"},
  };
  for (const auto& s : splits) {
    FixedText<256> base("#");
    FixedText<3> extension("#");
    EXTN(s.path, base, extension);
    EXPECT_EQ(base.str(), s.base) << s.path;
    EXPECT_EQ(extension.str(), s.extension) << s.path;
  }
}

TEST(Ucase, RaisesSmallLettersOfTheCodePageOnly) {
  // abc{} stays with its braces; é (233) becomes É (201); £ (163), ÷ (247),
  // ÿ (255) and characters past the text's end are left alone.
  FixedText<16> t("abc{}~\xA3\xE9\xF7\xFF\xE0 x");
  UCASE(t);
  EXPECT_EQ(std::string(t.view()), std::string("ABC{}~\xA3\xC9\xF7\xFF\xC0 X") + std::string(3, ' '));
  FixedText<4> blank;
  UCASE(blank);
  EXPECT_TRUE(blank.isBlank());
}

struct NumberCase {
  float value;
  const char* ljust;
  const char* cnum;
};

TEST(Numbers, LjustAndCnumWriteLeftJustifiedFixedPoint) {
  const NumberCase cases[] = {
      {51.5f, "51.50000", "51,50000"},
      {-0.25f, "-0.25000", "-0,25000"},
      {-1.23456f, "-1.23456", "-1,23456"},
      {0.000004f, "0.00000", "0,00000"},
      {12345.0f, "**********", "**********"},
      {-1000.0f, "**********", "**********"},
      {9999.99999f, "**********", "**********"},  // rounds to 10000.00000
      {-999.5f, "-999.50000", "-999,50000"},
  };
  for (const auto& c : cases) {
    FixedText<10> text("#");
    LJUST(c.value, text);
    EXPECT_EQ(text.str(), c.ljust) << c.value;
    FixedText<10> comma("#");
    CNUM(c.value, comma, "(F10.5)");
    EXPECT_EQ(comma.str(), c.cnum) << c.value;
  }
  FixedText<10> bad("#");
  CNUM(1.0f, bad, "(Q10)");
  EXPECT_EQ(bad.str(), "**********");
}

// The text an XML parser would read from a run of CDATA sections.
std::string cdataContent(std::string s) {
  std::string content;
  const std::string open = "<![CDATA[";
  while (!s.empty()) {
    if (s.rfind(open, 0) != 0) return "<not CDATA>";
    const std::size_t close = s.find("]]>", open.size());
    if (close == std::string::npos) return "<unclosed>";
    content += s.substr(open.size(), close - open.size());
    s.erase(0, close + 3);
  }
  return content;
}

TEST(Cdata, WrapsTextsWithMarkupOrColonsAndAlwaysCloses) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"Fish & Chips", "<![CDATA[Fish & Chips]]>"},
      {"Opens 09:30", "<![CDATA[Opens 09:30]]>"},
      {"a<b  ", "<![CDATA[a<b]]>"},
      {"Plain words", "Plain words"},
      {"", ""},
      {"x]]>y:", "<![CDATA[x]]]]><![CDATA[>y:]]>"},
      // Plain text may not hold "]]>" either.
      {"x]]>y", "<![CDATA[x]]]]><![CDATA[>y]]>"},
  };
  for (const auto& c : cases) {
    FixedText<128> result("#");
    CDATA(c.text, result);
    EXPECT_EQ(result.str(), c.expected) << c.text;
  }

  // Long texts lose the end of their content, never the closing "]]>", and never
  // half of a split.
  for (int length = 110; length <= 140; ++length) {
    for (const std::string& unit : {std::string("a:"), std::string("]]>")}) {
      std::string text;
      while (static_cast<int>(text.size()) < length) text += unit;
      text.resize(static_cast<std::size_t>(length));
      text += ":";
      FixedText<128> result;
      CDATA(text, result);
      const std::string wrapped = result.str();
      ASSERT_GE(wrapped.size(), 3u);
      EXPECT_EQ(wrapped.substr(wrapped.size() - 3), "]]>") << text;
      const std::string content = cdataContent(wrapped);
      EXPECT_EQ(text.substr(0, content.size()), content) << wrapped;
      // Each "]]>" of the text takes 15 characters of the wrapper.
      const std::size_t atLeast = unit == "a:" ? std::min<std::size_t>(text.size(), 116) : 21;
      EXPECT_GE(content.size(), atLeast) << wrapped;
    }
  }
}

}  // namespace
