// The element encoder: header words, the long form and its partitions, pad
// bytes and the two string forms, read back by the test decoder.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "cgm_decoder.h"
#include "toolkit/graphics/cgm_encoder.h"

namespace {

using cgm_test::decode;

std::vector<std::uint8_t> bytesOf(const CgmElement& e) {
  const std::string s = e.bytes();
  return {s.begin(), s.end()};
}

TEST(CgmEncoder, HeaderWordPacksClassIdAndLength) {
  EXPECT_EQ(cgmHeaderWord(cgm::kPolyline, 8), 0x4028);
  EXPECT_EQ(cgmHeaderWord(cgm::kBeginMetafile, 13), 0x002D);
  EXPECT_EQ(cgmHeaderWord(cgm::kInterpolatedInterior, 22), 0x5576);
  EXPECT_EQ(cgmHeaderWord(cgm::kFontList, 31), 0x11BF);
}

TEST(CgmEncoder, ShortFormUpToThirtyBytesLongFormBeyond) {
  struct Case {
    int words;
    bool longForm;
  };
  for (const Case c : {Case{0, false}, Case{15, false}, Case{16, true}, Case{200, true}}) {
    CgmElement e(cgm::kPolyline);
    for (int i = 0; i < c.words; ++i) e.word(i - 3);
    const auto bytes = bytesOf(e);
    const auto d = decode(bytes);
    ASSERT_EQ(d.error, "") << c.words;
    ASSERT_EQ(d.elements.size(), 1u);
    const auto& el = d.elements[0];
    EXPECT_EQ(el.longForm, c.longForm) << c.words << " words";
    EXPECT_EQ(el.parameters.size(), static_cast<std::size_t>(2 * c.words));
    EXPECT_EQ(bytes.size(), static_cast<std::size_t>(2 * c.words + (c.longForm ? 4 : 2)));
    if (c.words > 0) {
      EXPECT_EQ(el.word(0), -3);  // two's complement
      EXPECT_EQ(el.word(static_cast<std::size_t>(c.words - 1)), c.words - 4);
    }
  }
}

TEST(CgmEncoder, OddLengthsArePaddedOutsideTheLength) {
  const auto bytes = bytesOf(CgmElement(cgm::kBeginPicture).string("QVR CGM Data"));
  const std::vector<std::uint8_t> expected = {0x00, 0x6D, 12, 'Q', 'V', 'R', ' ', 'C', 'G', 'M', ' ', 'D', 'a', 't', 'a', 0};
  EXPECT_EQ(bytes, expected);
  // An even string count makes an odd parameter list: pad; an odd one does not.
  EXPECT_EQ(bytesOf(CgmElement(cgm::kText).string("ab")).size(), 2u + 3u + 1u);
  EXPECT_EQ(bytesOf(CgmElement(cgm::kText).string("abc")).size(), 2u + 4u);
}

TEST(CgmEncoder, ColourIsThreeBytesAndAZeroInLengthFour) {
  const auto bytes = bytesOf(CgmElement(cgm::kLineColour).colour(CgmRgb::fromValue(0x3020FF)));
  const std::vector<std::uint8_t> expected = {0x50, 0x84, 0xFF, 0x20, 0x30, 0x00};
  EXPECT_EQ(bytes, expected);
  EXPECT_EQ((CgmRgb{1, 2, 3}.value()), 0x030201);
}

TEST(CgmEncoder, StringsOf255CharactersAndMoreTakeTheLongStringForm) {
  for (const std::size_t n : {std::size_t{254}, std::size_t{255}, std::size_t{260}}) {
    std::string text(n, 'x');
    text.back() = 'E';
    const auto d = decode(bytesOf(CgmElement(cgm::kText).point(1, 2).word(1).string(text)));
    ASSERT_EQ(d.error, "") << n;
    const auto& e = d.elements[0];
    EXPECT_TRUE(e.longForm);
    std::size_t next = 0;
    EXPECT_EQ(e.string(6, &next), text) << n;
    EXPECT_EQ(next, e.parameters.size()) << "nothing follows the string, length " << n;
    EXPECT_EQ(e.byte(6), n < 255 ? n : 255u);
  }
}

TEST(CgmEncoder, ParametersBeyondOnePartitionAreSplitWithContinuation) {
  CgmElement e(cgm::kPolygon);
  for (int i = 0; i < 20000; ++i) e.word(i);  // 40000 bytes
  const auto d = decode(bytesOf(e));
  ASSERT_EQ(d.error, "");
  const auto& el = d.elements[0];
  ASSERT_EQ(el.partitionLengths.size(), 2u);
  EXPECT_EQ(el.partitionLengths[0] % 2, 0) << "words stay aligned across partitions";
  EXPECT_LE(el.partitionLengths[0], 32767);
  EXPECT_EQ(el.partitionLengths[0] + el.partitionLengths[1], 40000);
  EXPECT_EQ(el.word(19999), 19999);
}

TEST(CgmEncoder, ExplicitPartitionsAndACellArrayRowSplit) {
  // One row of 7000 cells of alternating colours: 35000 bytes of runs.
  std::vector<std::int32_t> row(7000);
  for (std::size_t i = 0; i < row.size(); ++i) row[i] = i % 2 == 0 ? 0x0000FF : 0x00FF00;
  std::string all;
  for (const std::string& piece : cgmCellArrayPieces(0, 10, 20, 0, 20, 10, 7000, 1, row)) all += piece;
  const auto d = decode({all.begin(), all.end()});
  ASSERT_EQ(d.error, "");
  ASSERT_EQ(d.elements.size(), 1u);
  const auto& e = d.elements[0];
  EXPECT_TRUE(e.is(4, 9));
  ASSERT_EQ(e.partitionLengths.size(), 3u);
  EXPECT_EQ(e.partitionLengths[0], 20);
  EXPECT_EQ(e.partitionLengths[1] + e.partitionLengths[2], 35000);
  EXPECT_EQ(e.word(6), 7000);
  EXPECT_EQ(e.word(7), 1);
  // The last run: count 1, green.
  const std::size_t last = e.parameters.size() - 5;
  EXPECT_EQ(e.parameters[last + 1], 1);
  EXPECT_EQ(e.parameters[last + 2], 0);
  EXPECT_EQ(e.parameters[last + 3], 0xFF);
}

TEST(CgmEncoder, VdcSizeKeepsTheLongerSideWithin32767) {
  struct Case {
    int widthPoints, heightPoints, width, height;
  };
  for (const Case c : {Case{756, 540, 6300, 4500}, Case{4000, 2000, 32767, 16383}, Case{0, 0, 0, 0},
                       Case{3932, 100, 32766, 833}}) {
    int w = -1, h = -1;
    cgmVdcSize(600, 600, c.widthPoints, c.heightPoints, w, h);
    EXPECT_EQ(w, c.width) << c.widthPoints;
    EXPECT_EQ(h, c.height) << c.heightPoints;
  }
}

TEST(CgmEncoder, FontListsHaveTheirDeclaredLengths) {
  struct Case {
    int choice;
    int length;
    const char* first;
  };
  for (const Case c : {Case{0, 204, "COURIER"}, Case{1, 204, "Courier"}, Case{2, 260, "Courier New"}}) {
    CgmElement e(cgm::kFontList);
    for (const auto name : cgmFontNames(c.choice)) e.string(name);
    const auto d = decode(bytesOf(e.longForm()));
    ASSERT_EQ(d.error, "");
    EXPECT_EQ(d.elements[0].partitionLengths.at(0) + d.elements[0].partitionLengths.at(0) % 2, c.length);
    EXPECT_EQ(d.elements[0].string(0), c.first);
  }
  EXPECT_EQ(cgmTextFontIndex(1, 0), 1);
  EXPECT_EQ(cgmTextFontIndex(3, 3), 12);
  EXPECT_EQ(cgmTextFontIndex(4, 1 + 8), 14);
  EXPECT_EQ(cgmTextFontIndex(0, 0), 1) << "a family outside 1-4 still names a listed font";
}

TEST(CgmEncoder, PieOutlineIsCentreArcAndEndAndStaysBounded) {
  const auto pie = cgmPiePoints(100, 100, 50, 50, 0.0f, 1.0f, 800);
  // step pi / (50 * 75 / 800 + 25) = pi / 29
  const std::size_t arc = static_cast<std::size_t>(1.0 / (3.14159265 / 29)) + 1;
  EXPECT_EQ(pie.size(), 1 + arc + 1);
  EXPECT_FLOAT_EQ(pie.front().x, 100);
  EXPECT_NEAR(pie.back().x, 100 + 50 * std::cos(1.0), 1e-3);
  EXPECT_EQ(cgmPiePoints(0, 0, 10, 10, 2.0f, 1.0f, 800).size(), 2u) << "start not below end: centre and end";
  // A radius that would make the step negative, and a huge sweep, still end.
  EXPECT_LT(cgmPiePoints(0, 0, -400, 10, 0.0f, 1.0e6f, 800).size(), 9000u);
  EXPECT_EQ(cgmPiePoints(0, 0, 10, 10, 0.0f, 1.0f, 0).size(), 2u + 8u);  // step pi / 25
}

}  // namespace
