#include "formats/xml/xml_output.h"

#include <string>

#include "xml_test_support.h"

namespace xml_tests {
namespace {

// The output file puts each line together from its pieces in its own buffer:
// what it writes must be what joining the pieces and trimming the line gives.
class XmlOutput : public XmlFormatTest {
 protected:
  std::string written(bool utf8, void (*lines)(XmlOutputFile&)) {
    XmlOutputFile out(utf8);
    EXPECT_TRUE(out.create("pieces.xml"));
    lines(out);
    EXPECT_TRUE(out.close());
    return readBytes("pieces.xml");
  }
};

TEST_F(XmlOutput, TrailingBlanksGoWhicheverPieceHoldsThem) {
  const std::string bytes = written(false, [](XmlOutputFile& out) {
    out.line({" <a>", "x  ", "", ""});       // the blanks in a piece before empty ones
    out.line({"  ", "   "});                 // a line of blanks only
    out.line({"<b> ", " ", "c", "</b>  "});  // blanks inside the line stay
    out.line({});
    out.line("plain   ");
  });
  EXPECT_EQ(bytes, crlf({" <a>x", "", "<b>  c</b>", "", "plain"}));
}

TEST_F(XmlOutput, Utf8LinesConvertEveryCodePageByte) {
  const std::string bytes = written(true, [](XmlOutputFile& out) {
    // A run of ASCII longer than a word, then code page letters and the euro sign.
    out.line({"<name>", "Caf\xE9 au lait \x80 5", "</name>"});
    out.line({"longer than eight bytes ", "\xE9t\xE9   "});
  });
  EXPECT_EQ(bytes,
            crlf({"<name>Caf\xC3\xA9 au lait \xE2\x82\xAC 5</name>", "longer than eight bytes \xC3\xA9t\xC3\xA9"}));
}

TEST_F(XmlOutput, LinesLongerThanTheBufferArriveWhole) {
  static const std::string kLong(600 * 1024, 'q');
  const std::string bytes = written(false, [](XmlOutputFile& out) {
    out.line("first");
    out.line({"<", kLong, ">"});
    for (int k = 0; k < 20000; ++k) out.line({"<p>", std::to_string(k), "</p>"});
  });
  std::string expected = crlf({"first"}) + "<" + kLong + ">\r\n";
  for (int k = 0; k < 20000; ++k) expected += "<p>" + std::to_string(k) + "</p>\r\n";
  EXPECT_EQ(bytes.size(), expected.size());
  EXPECT_TRUE(bytes == expected);
}

// Texts are searched for characters that need wrapping or cleaning sixteen at a
// time and the rest one by one: each such character must be found wherever it
// stands, and every other character must leave the text as it is.
TEST(XmlWrapped, FindsEveryCharacterThatNeedsCareWhereverItStands) {
  constexpr std::size_t kLength = 41;  // two blocks of sixteen and a tail
  for (std::size_t at = 0; at < kLength; ++at) {
    const auto with = [at](char c) {
      std::string text(kLength, 'a');
      text[at] = c;
      return text;
    };
    for (char c : {'<', '&', ':'}) {
      EXPECT_TRUE(XML_WRAPPED(with(c)).starts_with("<![CDATA[")) << int{c} << " at " << at;
    }
    for (char c : {'\x01', '\x1f'}) {
      EXPECT_EQ(XML_WRAPPED(with(c)), text::trimmed(with(' '))) << int{c} << " at " << at;
    }
    for (char c : {'\t', '\x7f', '\x80', '\xff', ']', '\x20'}) {
      EXPECT_EQ(XML_WRAPPED(with(c)), text::trimmed(with(c))) << int{c} << " at " << at;
    }
  }
}

}  // namespace
}  // namespace xml_tests
