#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

#include "raster_fixture.h"

namespace {

using RasterLines = RasterPageTest;

// A pen of 3 x 3 pixels at 72 dpi: option 9 = 30 tenths of a point.
void pen(int tenths) {
  hardcopyOption(9) = tenths;
  std::int32_t op = kOpLineWidth;
  YYRasterise(op);
}

void style(int lineStyle) {
  yyGrAttributes.LineStyle = lineStyle;
  std::int32_t op = kOpLineStyle;
  YYRasterise(op);
}

TEST_F(RasterLines, ThickLinesAlongARowAreBandsClippedToTheRowsOnly) {
  openPage({.width = 12, .rows = 8});
  clipTo(2, 1, 9, 6);
  pen(30);
  line(0, 6, 11, 6);
  EXPECT_EQ(picture(), rowsOf({"............", "############", "############", "............", "............",
                               "............", "............", "............"}));
}

TEST_F(RasterLines, ThickLinesAlongAColumnAreBandsClippedToTheColumnsOnly) {
  openPage({.width = 8, .rows = 5});
  clipTo(2, 1, 6, 3);
  pen(30);
  line(2, 4, 2, 0);
  EXPECT_EQ(picture(), rowsOf({"..##....", "..##....", "..##....", "..##....", "..##...."}));
}

// Option 9 sets the pen by each direction's resolution; a turned page swaps them.
TEST_F(RasterLines, PenWidthsFollowResolutionAndOrientation) {
  openPage({.width = 10, .rows = 8, .horizontalDpi = 144.0f, .verticalDpi = 72.0f});
  pen(20);  // 4 pixels by the horizontal resolution, 2 by the vertical
  line(1, 4, 3, 4);
  line(7, 1, 7, 3);
  EXPECT_EQ(picture(), rowsOf({"..........", ".###......", ".###......", ".###......", ".###...##.",
                               ".......##.", ".......##.", ".........."}));
  send(kOpClear);
  hardcopyOption(5) = 1;
  pen(20);
  line(1, 4, 3, 4);
  line(7, 1, 7, 3);
  points({{4.0f, 6.0f}});
  send(kOpPoint);
  EXPECT_EQ(picture(), rowsOf({"..........", "...####...", ".###......", ".###......", "......####",
                               "......####", "......####", ".........."}));
}

TEST_F(RasterLines, AJoinedLineDoesNotRepaintItsFirstPixel) {
  openPage({.width = 8, .rows = 4, .bitsPerPixel = 8});
  colourNumber(7);
  line(0, 0, 5, 0);
  colourNumber(9);
  line(5, 0, 5, 3);  // starts where the last line ended
  line(5, 3, 1, 1);
  polyline({{1, 1}, {1, 3}, {0, 3}});  // starts where the last line ended too
  EXPECT_EQ(picture(), rowsOf({"99...9..", ".9.999..", ".99..9..", "777777.."}));
}

TEST_F(RasterLines, DashesRunOnePointPerBitAcrossLines) {
  openPage({.width = 24, .rows = 3});
  style(2);  // 0xE07: three on, six off, three on
  line(0, 0, 23, 0);
  line(0, 2, 7, 2);
  line(8, 2, 15, 2);
  EXPECT_EQ(picture(), rowsOf({"###......######.........", "........................",
                               "###......######......###"}));
}

TEST_F(RasterLines, DashBitsLastAPointAtTheResolution) {
  openPage({.width = 24, .rows = 1, .horizontalDpi = 144.0f, .verticalDpi = 144.0f});
  style(1);  // 0x104: bits 2 and 8
  line(0, 0, 23, 0);
  EXPECT_EQ(picture(), rowsOf({"....##..........##......"}));
}

// The parallel Bresenham lines, stepped one pixel at a time as the rules say,
// drawn beside the rasteriser on a second picture.
struct Reference {
  int width, rows;
  std::vector<int> ink;
  int wc = 1, wr = 1, hc = 0, hr = 0;
  int columnMin = 0, columnMax = 0, rowMin = 0, rowMax = 0;
  int pattern = 0xFFF, bit = 0, inBit = 1, perBitColumns = 1, perBitRows = 1;
  int lastX = -9999, lastY = -9999;

  void set(long long c, long long r) {
    if (c >= 0 && c < width && r >= 0 && r < rows) ink[static_cast<std::size_t>(r * width + c)] = 1;
  }

  void line(int x1, int y1, int x2, int y2, bool skip) {
    if (pattern == 0xFFF && (y1 == y2 || x1 == x2)) {
      band(x1, y1, x2, y2, skip);
      return;
    }
    const int dx = std::abs(x2 - x1), dy = std::abs(y2 - y1);
    const int sx = x1 <= x2 ? 1 : -1, sy = y1 <= y2 ? 1 : -1;
    const bool steep = dx < dy;
    const int lines = steep ? wc : wr;
    const int perBit = steep ? perBitRows : perBitColumns;
    int endBit = bit, endInBit = inBit;
    for (int k = 0; k < lines; ++k) {
      int b = bit, n = inBit;
      long long c = steep ? x1 - hc + k : x1, r = steep ? y1 : y1 - hr + k;
      long long e = steep ? 2LL * dx - dy : 2LL * dy - dx;
      int count = (steep ? dy : dx) + 1;
      auto step = [&] {
        if (steep) {
          if (e >= 0) {
            if (sx > 0 ? c < columnMax : c > columnMin) c += sx;
            e += 2LL * (dx - dy);
          } else {
            e += 2LL * dx;
          }
          r += sy;
        } else {
          if (e >= 0) {
            if (sy > 0 ? r < rowMax : r > rowMin) r += sy;
            e += 2LL * (dy - dx);
          } else {
            e += 2LL * dy;
          }
          c += sx;
        }
      };
      if (skip) {
        step();
        --count;
      }
      for (int i = 0; i < count; ++i) {
        if ((pattern >> b) & 1) set(c, r);
        if (++n > perBit) {
          n = 1;
          b = (b + 1) % 12;
        }
        step();
      }
      endBit = b;
      endInBit = n;
    }
    if (lines > 0) {
      bit = endBit;
      inBit = endInBit;
    }
  }

  void band(int x1, int y1, int x2, int y2, bool skip) {
    if (y1 == y2) {
      int lo = std::min(x1, x2), hi = std::max(x1, x2);
      if (skip && x1 == x2) return;
      if (skip) (x1 < x2 ? lo : hi) += (x1 < x2 ? 1 : -1);
      for (int r = std::max(y1 - hc, rowMin); r <= std::min(y1 - hc + wc - 1, rowMax); ++r)
        for (int c = lo; c <= hi; ++c) set(c, r);
    } else {
      int lo = std::min(y1, y2), hi = std::max(y1, y2);
      if (skip) (y1 < y2 ? lo : hi) += (y1 < y2 ? 1 : -1);
      for (int c = std::max(x1 - hr, columnMin); c <= std::min(x1 - hr + wr - 1, columnMax); ++c)
        for (int r = lo; r <= hi; ++r) set(c, r);
    }
  }
};

TEST_F(RasterLines, ThickDashedClippedLinesMatchTheStepRules) {
  std::mt19937 random(20261210);
  const int width = 40, rows = 30;
  for (int trial = 0; trial < 400; ++trial) {
    const int styleNumber = trial % 7;
    const int tenths = 5 + static_cast<int>(random() % 40);
    const bool turned = random() % 2 == 0;
    const bool far = trial % 10 == 9;
    SCOPED_TRACE(testing::Message() << "trial " << trial << " style " << styleNumber << " pen " << tenths);
    openPage({.width = width, .rows = rows, .horizontalDpi = 144.0f, .verticalDpi = 72.0f});
    hardcopyOption(5) = turned ? 1 : 0;
    const int left = static_cast<int>(random() % 10), bottom = static_cast<int>(random() % 8);
    const int right = width - 1 - static_cast<int>(random() % 10), top = rows - 1 - static_cast<int>(random() % 8);
    clipTo(left, bottom, right, top);
    pen(tenths);
    style(styleNumber);

    Reference ref{width, rows, std::vector<int>(static_cast<std::size_t>(width * rows))};
    const int wh = std::max(1, static_cast<int>(tenths * 144.0 / 720.0 + 0.5));
    const int wv = std::max(1, static_cast<int>(tenths * 72.0 / 720.0 + 0.5));
    ref.wc = turned ? wv : wh;
    ref.wr = turned ? wh : wv;
    ref.hc = (ref.wc - 1) / 2;
    ref.hr = (ref.wr - 1) / 2;
    ref.columnMin = left, ref.columnMax = right, ref.rowMin = bottom, ref.rowMax = top;
    const int patterns[] = {0xFFF, 0x104, 0xE07, 0x1E1, 0x3C9, 0xCE7, 0x8E3};
    ref.pattern = patterns[styleNumber];
    ref.perBitColumns = 2;
    ref.perBitRows = 1;

    const int spread = far ? 4000 : 50;
    auto coordinate = [&] { return static_cast<int>(random() % (2 * spread)) - spread / 2; };
    std::vector<std::pair<float, float>> path;
    for (int i = 0; i < 4; ++i) {
      int x = coordinate(), y = coordinate();
      if (i > 0 && random() % 4 == 0) x = static_cast<int>(path.back().first);   // along a column
      if (i > 0 && random() % 4 == 0) y = static_cast<int>(path.back().second);  // along a row
      path.emplace_back(static_cast<float>(x), static_cast<float>(y));
    }
    SCOPED_TRACE(testing::Message() << "clip " << left << "," << bottom << "-" << right << "," << top << " turned "
                                    << turned << " path " << path[0].first << "," << path[0].second << " "
                                    << path[1].first << "," << path[1].second << " " << path[2].first << ","
                                    << path[2].second << " " << path[3].first << "," << path[3].second);
    // A separate line, then the rest as a polyline that starts at its end.
    line(path[0].first, path[0].second, path[1].first, path[1].second);
    ref.line(static_cast<int>(path[0].first), static_cast<int>(path[0].second), static_cast<int>(path[1].first),
             static_cast<int>(path[1].second), false);
    polyline({path[1], path[2], path[3]});
    for (int i = 1; i < 3; ++i) {
      ref.line(static_cast<int>(path[i].first), static_cast<int>(path[i].second),
               static_cast<int>(path[i + 1].first), static_cast<int>(path[i + 1].second), true);
    }
    std::string expected;
    for (int r = rows - 1; r >= 0; --r) {
      for (int c = 0; c < width; ++c) expected += ref.ink[static_cast<std::size_t>(r * width + c)] ? '#' : '.';
      expected += '\n';
    }
    ASSERT_EQ(picture(), expected);
    YYRasterPageFree();
  }
}

}  // namespace
