// The in-memory recorder: CGM elements appended to a metafile slot's buffer
// in the target's own surface units, with a cache per slot and a capacity.
#include <algorithm>
#include <cmath>

#include "cgm_fixture.h"

namespace cgm_test {
namespace {

using CgmRecorder = CgmWriters;

constexpr int kRoomy = 8192;

std::vector<std::uint8_t> tail(const std::vector<std::uint8_t>& bytes, std::size_t from) {
  return {bytes.begin() + static_cast<std::ptrdiff_t>(std::min(from, bytes.size())), bytes.end()};
}

TEST_F(CgmRecorder, HeaderIsTheFileDriversDescriptorForTheSlotsPage) {
  beginSlot(3, 756, 540, kRoomy);
  const auto recorded = slotBytes(3);
  auto& words = yyMetafileSlots[3].words;
  EXPECT_EQ(words[kSlotDeviceWidth], 6300);
  EXPECT_EQ(words[kSlotDeviceHeight], 4500);
  EXPECT_EQ(words[kSlotBytesUsed], static_cast<std::int32_t>(recorded.size()));

  // Driver 9 on the same page with the default title writes the same bytes.
  beginFile("descriptor.cgm");
  endFile();
  const auto file = readFile("descriptor.cgm");
  ASSERT_GT(file.size(), recorded.size());
  EXPECT_EQ(std::vector<std::uint8_t>(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(recorded.size())),
            recorded);
  EXPECT_EQ(file.size(), recorded.size() + 4) << "the file adds only END PICTURE and END METAFILE";

  // A page beyond 32767 units is scaled down on its longer side.
  beginSlot(4, 400, 4000, kRoomy);
  EXPECT_EQ(yyMetafileSlots[4].words[kSlotDeviceWidth], 3276);
  EXPECT_EQ(yyMetafileSlots[4].words[kSlotDeviceHeight], 32767);
}

TEST_F(CgmRecorder, ExactBytesOfAShortRecordingWithTheAttributeCache) {
  beginSlot(1, 756, 540, kRoomy);
  const std::size_t start = slotBytes(1).size();
  colour(0x0000FF, record);
  point(1, 10, 20);
  point(2, 30, 40);
  record(kOpLine);
  record(kOpLine);
  record(kOpBeginPlot);  // clears the cache: the colour is written again
  record(kOpLine);
  record(kOpEndPlot);
  const std::vector<std::uint8_t> expected = {
      0x50, 0x84, 0xFF, 0x00, 0x00, 0x00,                          // LINE COLOUR
      0x40, 0x28, 0x00, 0x0A, 0x00, 0x14, 0x00, 0x1E, 0x00, 0x28,  // POLYLINE
      0x40, 0x28, 0x00, 0x0A, 0x00, 0x14, 0x00, 0x1E, 0x00, 0x28,  // POLYLINE, same colour
      0x50, 0x84, 0xFF, 0x00, 0x00, 0x00,                          // LINE COLOUR after opcode 18
      0x40, 0x28, 0x00, 0x0A, 0x00, 0x14, 0x00, 0x1E, 0x00, 0x28,
      0x00, 0xA0,  // END PICTURE
      0x00, 0x40,  // END METAFILE
  };
  EXPECT_EQ(tail(slotBytes(1), start), expected);
  EXPECT_EQ(slotElements(1).error, "");
}

TEST_F(CgmRecorder, CapacityBoundary) {
  // Measure the header, then give a fresh slot room for it and `extra` bytes.
  beginSlot(1, 756, 540, kRoomy);
  const int header = static_cast<int>(slotBytes(1).size());
  struct Case {
    int extra;
    std::size_t stored;  // bytes after the header
    int error;
  };
  const Case cases[] = {{16, 16, 0}, {15, 6, 1062}, {6, 6, 1062}, {5, 0, 1062}};
  for (const Case& c : cases) {
    beginSlot(2, 756, 540, header + c.extra);
    ASSERT_EQ(slotBytes(2).size(), static_cast<std::size_t>(header));
    errorState.lastError = 0;
    colour(0x00FF00, record);
    point(1, 1, 2);
    point(2, 3, 4);
    record(kOpLine);  // 6 bytes of colour, then 10 of polyline
    EXPECT_EQ(slotBytes(2).size() - static_cast<std::size_t>(header), c.stored) << "room for " << c.extra;
    EXPECT_EQ(errorState.lastError, c.error) << "room for " << c.extra;
    EXPECT_LE(yyMetafileSlots[2].words[kSlotBytesUsed], yyMetafileSlots[2].words[kSlotCapacity]);
    EXPECT_EQ(slotElements(2).error, "") << "what was stored is whole elements";
  }
}

TEST_F(CgmRecorder, AnAppendWithoutABufferIsRefused) {
  yyGrAttributes.TargetId = 5;
  errorState.lastError = 0;
  YYGCGM1("ab", 2);
  EXPECT_EQ(errorState.lastError, 1062);
  EXPECT_TRUE(YYCgmMemBytes(5).empty());
  EXPECT_FALSE(YYCgmMemAllocate(21, 10));
  EXPECT_FALSE(YYCgmMemAllocate(1, -1));
}

TEST_F(CgmRecorder, ReleaseFreesTheBufferAndClearsItsDescriptor) {
  beginSlot(6, 100, 100, kRoomy);
  auto& words = yyMetafileSlots[6].words;
  EXPECT_NE(words[kSlotBufferWord], 0);
  EXPECT_EQ(words[11] & 1, 1);
  YYCgmMemRelease(6);
  EXPECT_EQ(words[kSlotBufferWord], 0);
  EXPECT_EQ(words[11] & 1, 0);
  EXPECT_TRUE(YYCgmMemBytes(6).empty());
  errorState.lastError = 0;
  record(kOpLine);
  EXPECT_EQ(errorState.lastError, 1062) << "recording into a released slot stores nothing";
}

TEST_F(CgmRecorder, BothCodesOfAShapePairAreRecordedAlikeAndRectanglesClipped) {
  beginSlot(1, 756, 540, kRoomy);
  yyGrState.ViewportLeft = 50;
  yyGrState.ViewportTop = 400;
  yyGrAttributes.FillStyle = 0;  // the recorder fills whatever the fill style
  colour(0x112233, record);
  point(1, 20, 100);
  point(2, 300, 500);
  const std::size_t start = slotBytes(1).size();
  record(kOpRectanglePattern);
  const auto pattern = tail(slotBytes(1), start);
  const std::size_t second = slotBytes(1).size();
  record(kOpRectangleSolid);
  const auto solid = tail(slotBytes(1), second);
  const Decoded d = decode(pattern);
  ASSERT_EQ(d.error, "");
  ASSERT_EQ(d.elements.size(), 3u);
  EXPECT_TRUE(d.elements[0].is(5, 23));
  EXPECT_EQ(d.elements[1].word(0), 1);
  const Element& rect = d.elements[2];
  EXPECT_TRUE(rect.is(4, 11));
  EXPECT_EQ(rect.word(0), 50);
  EXPECT_EQ(rect.word(1), 100);
  EXPECT_EQ(rect.word(2), 300);
  EXPECT_EQ(rect.word(3), 400);
  EXPECT_EQ(std::vector<std::uint8_t>(pattern.begin() + 6, pattern.end()), solid) << "the same, less the cached colour";

  yyGrState.X1 = 7;
  record(kOpReadPixel);
  EXPECT_EQ(yyGrState.X1, -1);
}

TEST_F(CgmRecorder, EllipseTakesItsYRadiusFromR6TimesR7) {
  beginSlot(1, 756, 540, kRoomy);
  YYGrState& s = yyGrState;
  colour(0x000000, record);
  point(1, 400, 300);
  point(2, 80, 999);  // X2 is the x radius; Y2 is not read
  s.R7 = 0.5f;
  const std::size_t start = slotBytes(1).size();
  record(kOpEllipseOutline);
  record(kOpEllipseSolid);
  const Decoded d = decode(tail(slotBytes(1), start));
  ASSERT_EQ(d.error, "");
  std::vector<std::string> codes;
  for (const Element& e : d.elements) codes.push_back(codeOf(e));
  EXPECT_EQ(codes, (std::vector<std::string>{"5/30", "5/29", "5/27", "5/28", "5/22", "4/17", "5/30", "5/23", "5/22",
                                             "4/17"}));
  EXPECT_EQ(d.elements[3].word(0), 4 * yyGrAttributes.LineWidthTenths);
  const float up = 0.5f * 80 * (756.0f / 540.0f) * (kSurfaceHeight - 0.01f) / (kSurfaceWidth - 0.01f);
  for (const std::size_t i : {std::size_t{5}, std::size_t{9}}) {
    const Element& e = d.elements[i];
    EXPECT_EQ(e.word(0), 400);
    EXPECT_EQ(e.word(2), 480);
    EXPECT_EQ(e.word(3), 300);
    EXPECT_NEAR(e.word(5), 300 + up, 1.0) << "not from Y2";
  }
}

TEST_F(CgmRecorder, EachSlotKeepsItsOwnCache) {
  beginSlot(1, 756, 540, kRoomy);
  beginSlot(2, 756, 540, kRoomy);
  colour(0x0000FF, record);
  point(1, 1, 1);
  point(2, 5, 5);
  yyGrAttributes.TargetId = 1;
  record(kOpLine);
  yyGrAttributes.TargetId = 2;
  record(kOpLine);
  yyGrAttributes.TargetId = 1;
  record(kOpLine);
  EXPECT_EQ(count(slotElements(1), 5, 4), 1);
  EXPECT_EQ(count(slotElements(1), 4, 1), 2);
  EXPECT_EQ(count(slotElements(2), 5, 4), 1);
}

TEST_F(CgmRecorder, LineWidthAndASlotWithoutAPageSize) {
  beginSlot(1, 756, 540, kRoomy);
  yyGrAttributes.LineWidthTenths = 20;
  record(kOpLineWidth);
  const Decoded recorded = slotElements(1);
  const auto widths = all(recorded, 5, 3);
  ASSERT_EQ(widths.size(), 1u);
  EXPECT_EQ(widths[0]->word(0), 6300 * 20 / (756 * 10));

  beginSlot(2, 0, 0, kRoomy);
  record(kOpLineWidth);
  point(1, 100, 100);
  point(2, 50, 50);
  yyGrState.R7 = 1.0f;
  record(kOpEllipseSolid);
  record(kOpEndPlot);
  const Decoded d = slotElements(2);
  ASSERT_EQ(d.error, "");
  const auto extent = all(d, 2, 6);
  ASSERT_EQ(extent.size(), 1u);
  EXPECT_EQ(extent[0]->word(2), 0);
  EXPECT_EQ(all(d, 5, 3).at(0)->word(0), 0);
  EXPECT_EQ(count(d, 4, 17), 1);
}

TEST_F(CgmRecorder, TextAndCharactersInSurfaceUnits) {
  beginSlot(1, 756, 540, kRoomy);
  YYGrState& s = yyGrState;
  record(kOpCharSize);
  EXPECT_NEAR(s.CharColumnsPerSurface, (kSurfaceWidth - 0.01f) / (0.015f * 800), 1e-3);
  EXPECT_NEAR(s.CharRowsPerSurface, (kSurfaceHeight - 0.01f) / (0.05f * 600), 1e-3);
  point(1, 100, 200);
  point(3, 100, 400);  // upward
  TEXT = "Recorded";
  s.X1 = 8;
  record(kOpText);
  const Decoded d = slotElements(1);
  const auto heights = all(d, 5, 15);
  ASSERT_EQ(heights.size(), 1u);
  EXPECT_EQ(heights[0]->word(0), static_cast<int>(0.05f * 0.55f * 600));
  const auto texts = all(d, 4, 5);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0]->word(0), 200) << "delta width unscaled";
  EXPECT_EQ(texts[0]->word(1), static_cast<int>(heights[0]->word(0) * 1.25f));
  EXPECT_EQ(texts[0]->word(2), 100);
  EXPECT_EQ(texts[0]->word(3), 200);
  EXPECT_EQ(texts[0]->string(10), "Recorded");
}

TEST_F(CgmRecorder, PolygonsPiesAndShadingAreTruncatedNotScaled) {
  beginSlot(1, 756, 540, kRoomy);
  bufferPoints({{10.7f, 20.2f}, {30.9f, 5.5f}, {40.1f, 40.8f}});
  record(kOpPolygonSolid);
  point(1, 200, 200);
  yyGrState.R6 = 50;
  yyGrState.R2 = 50;
  yyGrState.R7 = 0.0f;
  yyGrState.R3 = 0.1f;
  record(kOpPieSolid);
  yyPolygonWork.vertexCount = 3;
  yyPolygonWork.colours[0] = 0x0000FF;
  yyPolygonWork.colours[1] = 0x00FF00;
  yyPolygonWork.colours[2] = 0xFF0000;
  bufferPoints({{100.9f, 100.9f}, {200.5f, 100.2f}, {150.1f, 180.7f}});
  record(kOpShadedPolygon);
  const Decoded d = slotElements(1);
  ASSERT_EQ(d.error, "");
  const auto polygons = all(d, 4, 7);
  ASSERT_EQ(polygons.size(), 3u);
  EXPECT_TRUE(polygons[0]->longForm);
  EXPECT_EQ(polygons[0]->parameters.size(), 12u);
  EXPECT_EQ(polygons[0]->word(0), 10);
  EXPECT_EQ(polygons[0]->word(3), 5);
  // The pie: centre, arc points from 0 to under 0.1, then the end.
  const Element& pie = *polygons[1];
  EXPECT_EQ(pie.word(0), 200);
  EXPECT_EQ(pie.word(2), 250);
  EXPECT_EQ(pie.parameters.size(), 3u * 4u) << "a step of pi/29 leaves one arc point below 0.1";
  const auto interiors = all(d, 5, 43);
  ASSERT_EQ(interiors.size(), 1u);
  const Element& polygon = *polygons[2];
  std::vector<std::pair<int, int>> vertices;
  for (std::size_t k = 0; k < 3; ++k) vertices.emplace_back(polygon.word(2 * k), polygon.word(2 * k + 1));
  const auto first = vertices.front();
  std::sort(vertices.begin(), vertices.end());
  EXPECT_EQ(vertices, (std::vector<std::pair<int, int>>{{100, 100}, {150, 180}, {200, 100}}));
  const auto references = all(d, 5, 31);
  ASSERT_EQ(references.size(), 1u);
  EXPECT_EQ(references[0]->word(0), first.first);
  EXPECT_EQ(references[0]->word(1), first.second);
}

TEST_F(CgmRecorder, AnImageTooLargeForMemoryFailsAndTheRecordingGoesOn) {
  writeBmp("slot_small.bmp", 2, 1, {0x010203, 0x010203});
  beginSlot(1, 756, 540, kRoomy);
  TEXT = "slot_small.bmp";
  yyGrState.X2 = 20000;
  yyGrState.Y2 = 20000;
  yyGrState.M = 0;
  record(kOpImage);
  EXPECT_NE(yyGrState.M, 0);
  const std::size_t before = slotBytes(1).size();
  yyGrState.X1 = 1;
  yyGrState.Y1 = 1;
  yyGrState.X2 = 9;
  yyGrState.Y2 = 9;
  record(kOpLine);
  EXPECT_GT(slotBytes(1).size(), before);
  EXPECT_EQ(count(slotElements(1), 4, 9), 0);
}

TEST_F(CgmRecorder, ImageCellArrayUsesTheIntegerViewport) {
  writeBmp("slot_cells.bmp", 2, 1, {0x010203, 0x010203});
  beginSlot(1, 756, 540, kRoomy);
  yyGrState.ViewportLeft = 10;
  yyGrState.ViewportBottom = 20;
  yyGrState.ViewportRight = 110;
  yyGrState.ViewportTop = 220;
  TEXT = "slot_cells.bmp";
  yyGrState.X2 = 2;
  yyGrState.Y2 = 1;
  record(kOpImage);
  EXPECT_EQ(yyGrState.M, 0);
  const std::size_t before = slotBytes(1).size();
  TEXT = "absent.bmp";
  record(kOpImage);
  EXPECT_NE(yyGrState.M, 0);
  EXPECT_EQ(slotBytes(1).size(), before);
  const Decoded d = slotElements(1);
  const auto cells = all(d, 4, 9);
  ASSERT_EQ(cells.size(), 1u);
  const Element& e = *cells[0];
  EXPECT_EQ((std::vector<int>{e.word(0), e.word(1), e.word(2), e.word(3), e.word(4), e.word(5)}),
            (std::vector<int>{10, 220, 110, 20, 110, 220}));
  EXPECT_EQ(e.partitionLengths, (std::vector<int>{20, 6}));
  EXPECT_EQ(std::vector<std::uint8_t>(e.parameters.begin() + 20, e.parameters.end()),
            (std::vector<std::uint8_t>{0, 2, 3, 2, 1, 0}));
}

}  // namespace
}  // namespace cgm_test
