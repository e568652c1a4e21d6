// The shared test scene through driver 9, decoded element by element.  The
// file it leaves, scene.cgm, is what LibreOffice renders in the checker.
#include <algorithm>
#include <cmath>
#include <set>

#include "cgm_fixture.h"
#include "support/graphics_scene.h"
#include "toolkit/graphics/graphics_inquiry.h"

namespace cgm_test {
namespace {

using CgmScene = CgmWriters;

// What a drawing program sends a file driver in place of the screen's steps:
// shapes as the pattern code with a coloured fill style, arcs (which the CGM
// driver does not draw) as polylines, and the line width as option 9.
void sceneToFileDriver(YYGrPrimitive& primitive) {
  YYGrState& s = yyGrState;
  YYGrAttributes& a = yyGrAttributes;
  const std::int32_t opcode = primitive;
  if (opcode >= kOpEllipseSolid && opcode <= kOpPolygonSolid && opcode % 2 == 0) {
    const std::int32_t fillStyle = a.FillStyle;
    a.FillStyle = 4;
    YYGrPrimitive pattern = opcode - 1;
    YYHCDISPATCH(pattern);
    a.FillStyle = fillStyle;
    return;
  }
  if (opcode == kOpArc) {
    constexpr int kSteps = 32;
    for (int i = 0; i <= kSteps; ++i) {
      const float t = s.R7 + (s.R3 - s.R7) * static_cast<float>(i) / kSteps;
      yyGrPointBuffer.x[static_cast<std::size_t>(i)] = s.R5 + s.R6 * std::cos(t);
      yyGrPointBuffer.y[static_cast<std::size_t>(i)] = s.R1 + s.R2 * std::sin(t);
    }
    s.N = kSteps + 1;
    YYGrPrimitive polyline = kOpPolyline;
    YYHCDISPATCH(polyline);
    return;
  }
  if (opcode == kOpLineWidth) hardcopyOption(kOptLineWidthTenths) = a.LineWidthTenths;
  YYHCDISPATCH(primitive);
}

// LibreOffice fits a CGM picture to the width of a 16:9 slide and cuts off
// what lies below it, so the scene's page has that shape.
constexpr int kPageWidth = 756;
constexpr int kPageHeight = 425;
constexpr int kVdcWidth = 6300;   // 600 units per inch
constexpr int kVdcHeight = 3541;

TEST_F(CgmScene, SceneThroughDriverNineDecodesElementByElement) {
  beginFile("scene.cgm", 0, kPageWidth, kPageHeight);
  drawGraphicsScene(sceneToFileDriver);
  endFile();
  const Decoded d = fileElements("scene.cgm");
  ASSERT_EQ(d.error, "");
  ASSERT_GT(d.elements.size(), 30u);
  EXPECT_TRUE(d.elements.front().is(0, 1));
  EXPECT_TRUE(d.elements.back().is(0, 2));
  EXPECT_EQ(count(d, 0, 5), 1);
  EXPECT_EQ(count(d, 0, 3), 1);

  // Only elements this driver writes, and every coordinate inside the VDC extent.
  const std::set<std::string> known = {"0/1", "0/2", "0/3", "0/4", "0/5", "1/1", "1/2", "1/3", "1/4", "1/5",
                                       "1/6", "1/7", "1/10", "1/13", "2/2", "2/3", "2/5", "2/6", "3/1", "3/5",
                                       "3/6", "4/1", "4/5", "4/7", "4/11", "4/17", "5/2", "5/3", "5/4", "5/10",
                                       "5/14", "5/15", "5/16", "5/18", "5/22", "5/23", "5/31", "5/43", "5/37",
                                       "5/38"};
  for (const Element& e : d.elements) {
    EXPECT_TRUE(known.contains(codeOf(e))) << codeOf(e) << " at " << e.offset;
    if (e.is(4, 1) || e.is(4, 7) || e.is(4, 11) || e.is(4, 17)) {
      ASSERT_EQ(e.parameters.size() % 4, 0u) << codeOf(e);
      for (std::size_t k = 0; k + 1 < e.parameters.size() / 2; k += 2) {
        EXPECT_GE(e.word(k), 0) << codeOf(e) << " at " << e.offset;
        EXPECT_LE(e.word(k), kVdcWidth) << codeOf(e) << " at " << e.offset;
        EXPECT_GE(e.word(k + 1), 0) << codeOf(e) << " at " << e.offset;
        EXPECT_LE(e.word(k + 1), kVdcHeight) << codeOf(e) << " at " << e.offset;
      }
    }
  }

  // The scene's steps, each in its element.
  std::vector<int> lineTypes;
  for (const Element* e : all(d, 5, 2)) lineTypes.push_back(e->word(0));
  EXPECT_TRUE(std::find(lineTypes.begin(), lineTypes.end(), 2) != lineTypes.end()) << "dashed";
  EXPECT_TRUE(std::find(lineTypes.begin(), lineTypes.end(), 4) != lineTypes.end()) << "dash-dot";
  std::set<int> widths;
  for (const Element* e : all(d, 5, 3)) widths.insert(e->word(0));
  EXPECT_GE(widths.size(), 2u) << "the wide line has a width of its own";
  EXPECT_EQ(count(d, 4, 11), 1) << "filled box";
  EXPECT_EQ(count(d, 4, 17), 1) << "ellipse";
  EXPECT_GE(count(d, 4, 7), 4) << "pentagon, pie and the shaded triangles";
  EXPECT_EQ(count(d, 5, 43), 2) << "the shaded quadrilateral is two triangles";
  std::vector<std::string> texts;
  for (const Element* e : all(d, 4, 5)) texts.push_back(e->string(10));
  EXPECT_EQ(texts, (std::vector<std::string>{kSceneText, kSceneUpText}));
  const auto orientations = all(d, 5, 16);
  ASSERT_GE(orientations.size(), 2u);
  EXPECT_LT(orientations[1]->word(0), 0) << "the up vector of 90 degrees points left";
  EXPECT_EQ(orientations[1]->word(1), 0);

  // The file reads back through the inquiry.
  std::int32_t pictures = 0;
  float aspect = 0;
  YYINFOCGM("scene.cgm", 9, pictures, aspect);
  EXPECT_EQ(pictures, 1);
  EXPECT_FLOAT_EQ(aspect, static_cast<float>(kVdcWidth) / kVdcHeight);
}

}  // namespace
}  // namespace cgm_test

namespace cgm_test {
namespace {

// Every drawing, attribute and clip element stands inside a picture: after
// BEGIN PICTURE BODY and before END PICTURE.
bool everyElementInAPicture(const Decoded& d) {
  bool inBody = false;
  for (const Element& e : d.elements) {
    if (e.is(0, 4)) inBody = true;
    if (e.is(0, 5)) inBody = false;
    if ((e.elementClass >= 4 || e.is(3, 5) || e.is(3, 6)) && !inBody) return false;
  }
  return true;
}

// A plot of two pages is a metafile of two pictures; check_cgm_scene.sh has
// LibreOffice import the file it leaves, two_pages.cgm.
TEST_F(CgmScene, TwoPagesBecomeTwoPictures) {
  beginFile("two_pages.cgm", 0, kPageWidth, kPageHeight);
  drawGraphicsScene(sceneToFileDriver);
  send(kOpEndPage);
  // A resize between the pages brings a clip that belongs to the next picture.
  send(kOpClip);
  drawGraphicsScene(sceneToFileDriver);
  endFile();  // the end of the second page, then of the plot
  const Decoded d = fileElements("two_pages.cgm");
  ASSERT_EQ(d.error, "");
  EXPECT_EQ(count(d, 0, 3), 2);  // BEGIN PICTURE
  EXPECT_EQ(count(d, 0, 4), 2);  // BEGIN PICTURE BODY
  EXPECT_EQ(count(d, 0, 5), 2);  // END PICTURE
  EXPECT_TRUE(everyElementInAPicture(d));
  EXPECT_TRUE(d.elements.back().is(0, 2));
  // The second picture states its own extent and the attributes in force.
  EXPECT_EQ(count(d, 2, 6), 2);  // VDC EXTENT
  EXPECT_GE(count(d, 3, 5), 2);  // CLIP RECTANGLE
  std::int32_t pictures = 0;
  float aspect = 0.0f;
  YYINFOCGM("two_pages.cgm", 13, pictures, aspect);
  EXPECT_EQ(pictures, 2);
}

}  // namespace
}  // namespace cgm_test
