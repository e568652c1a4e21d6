// The shared test scene drawn by the screen driver, and the ink masks that
// other drivers' renders are compared with.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "screen_canvas.h"

namespace {

using SceneOnScreen = GraphicsTables;

constexpr int kColumns = 16;
constexpr int kRows = 12;

// A cell of the mask, named by the scene element it must or must not show.
struct Cell {
  const char* what;
  int column, row;
};

TEST_F(SceneOnScreen, EveryElementLeavesInkWhereTheLayoutPutsIt) {
  const InkMask mask = inkMask(drawSceneOnScreen(320, 240), kColumns, kRows);
  const Cell inked[] = {
      {"solid line", 1, 0},   {"dashed line", 4, 1},  {"dash-dot line", 6, 2}, {"wide line", 3, 3},
      {"box outline", 8, 2},  {"filled box", 14, 2},  {"pentagon", 2, 6},      {"ellipse", 6, 6},
      {"arc", 8, 6},          {"pie", 14, 6},         {"Scene text", 1, 9},     {"Up text", 7, 10},
      {"shaded polygon", 12, 10}, {"clipped polygon", 5, 10},
  };
  for (const Cell& c : inked) EXPECT_TRUE(mask.inked(c.column, c.row)) << c.what << "\n" << mask.picture();
  const Cell blank[] = {
      {"inside the box outline", 9, 1}, {"inside the arc", 10, 6}, {"below the arc's ends", 9, 7},
      {"below the pie", 13, 7},         {"below the clip, where the polygon is cut", 5, 11},
      {"left of the shaded polygon", 8, 9},
  };
  for (const Cell& c : blank) EXPECT_FALSE(mask.inked(c.column, c.row)) << c.what << "\n" << mask.picture();
}

TEST_F(SceneOnScreen, MasksOfTwoSizesOfTheSceneAgree) {
  const InkMask small = inkMask(drawSceneOnScreen(160, 120), kColumns, kRows);
  const InkMask large = inkMask(drawSceneOnScreen(480, 360), kColumns, kRows);
  EXPECT_LE(maskMismatches(small, large), 2) << small.picture() << "\n" << large.picture();
  // An empty render disagrees wherever the scene has ink.
  RgbRaster blank{160, 120, std::vector<std::uint8_t>(160 * 120 * 3, 255)};
  const InkMask none = inkMask(blank, kColumns, kRows);
  int inked = 0;
  for (const bool cell : small.cells) inked += cell ? 1 : 0;
  EXPECT_EQ(maskMismatches(small, none), inked);
  EXPECT_GT(inked, kColumns * kRows / 3);
}

// The screen's picture of the scene is the reference that the other drivers'
// renders are compared with (tests/support/scene_mask.py), so it is kept in
// the build's folder of scene renders.
TEST_F(SceneOnScreen, ReferenceRenderIsKeptForTheOtherDrivers) {
  const RgbRaster render = drawSceneOnScreen(320, 240);
  const std::filesystem::path folder = "../scene_renders";
  std::filesystem::create_directories(folder);
  const std::filesystem::path path = folder / "screen.ppm";
  {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << render.width << ' ' << render.height << "\n255\n";
    out.write(reinterpret_cast<const char*>(render.rgb.data()), static_cast<std::streamsize>(render.rgb.size()));
  }
  const RgbRaster read = readPpm(path.string());
  EXPECT_EQ(read.width, 320);
  EXPECT_EQ(read.rgb, render.rgb);
}

TEST(InkMasks, ShiftOfOneCellIsForgivenAndPpmFilesAreRead) {
  // Two 4 x 2 renders whose single ink pixel sits in neighbouring cells.
  RgbRaster a{4, 2, std::vector<std::uint8_t>(4 * 2 * 3, 255)};
  RgbRaster b = a;
  a.rgb[0] = 0;                // pixel (0, 0), red channel dark
  b.rgb[(1 * 4 + 1) * 3 + 2] = 10;  // pixel (1, 1), blue channel dark
  const InkMask ma = inkMask(a, 4, 2);
  const InkMask mb = inkMask(b, 4, 2);
  EXPECT_EQ(ma.picture(), "#...\n....\n");
  EXPECT_EQ(mb.picture(), "....\n.#..\n");
  EXPECT_EQ(maskMismatches(ma, mb), 0);
  RgbRaster c = a;
  c.rgb[0] = 255;
  c.rgb[3 * 3 + 1] = 0;  // pixel (3, 0): two cells away
  EXPECT_EQ(maskMismatches(ma, inkMask(c, 4, 2)), 2);
  EXPECT_EQ(maskMismatches(ma, inkMask(a, 2, 1)), 8);
  // A cell needs its share of ink pixels.
  EXPECT_FALSE(inkMask(a, 1, 1, 0.5).inked(0, 0));
  EXPECT_TRUE(inkMask(a, 1, 1, 0.1).inked(0, 0));

  const std::filesystem::path path = std::filesystem::temp_directory_path() / "scene_mask_test.ppm";
  {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n# a comment\n4 2\n255\n";
    out.write(reinterpret_cast<const char*>(b.rgb.data()), static_cast<std::streamsize>(b.rgb.size()));
  }
  const RgbRaster read = readPpm(path.string());
  EXPECT_EQ(read.width, 4);
  EXPECT_EQ(read.height, 2);
  EXPECT_EQ(read.rgb, b.rgb);
  {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n4 2\n255\nshort";
  }
  EXPECT_EQ(readPpm(path.string()).width, 0);
  std::filesystem::remove(path);
  EXPECT_EQ(readPpm(path.string()).width, 0);
}

}  // namespace
