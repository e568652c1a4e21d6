// The shared test scene and the ink masks of its renders.
#include "support/graphics_scene.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <string_view>

#include "toolkit/graphics/colours.h"
#include "toolkit/graphics/polygon_fill.h"

namespace {

// Colour numbers of the default table.
constexpr int kBlack = 223;
constexpr int kDarkRed = 47;
constexpr int kDarkBlue = 175;
constexpr int kDarkGreen = 111;
constexpr int kMagenta = 191;  // the clipped polygon's colour, used nowhere else

class Scene {
 public:
  explicit Scene(SceneDriver driver)
      : driver_(driver),
        width_(static_cast<float>(yyGrState.SurfaceWidth)),
        height_(static_cast<float>(yyGrState.SurfaceHeight)) {}

  void draw() {
    lines();
    boxes();
    shapes();
    clipped();
    texts();
    shaded();
    lineStyle(0);
    lineWidth(1);
  }

 private:
  float px(float fraction) const { return fraction * width_; }
  float py(float fraction) const { return fraction * height_; }

  void send(YYGrOpcode opcode) {
    YYGrPrimitive op = opcode;
    driver_(op);
  }

  // Point k (1-4) in both forms: the reals the file drivers read and the
  // whole units the screen reads.
  static void point(int k, float x, float y) {
    YYGrState& s = yyGrState;
    const auto whole = [](float v) { return static_cast<std::int32_t>(v); };
    switch (k) {
      case 1: s.R5 = x; s.R1 = y; s.X1 = whole(x); s.Y1 = whole(y); break;
      case 2: s.R6 = x; s.R2 = y; s.X2 = whole(x); s.Y2 = whole(y); break;
      case 3: s.R7 = x; s.R3 = y; s.X3 = whole(x); s.Y3 = whole(y); break;
      default: s.R8 = x; s.R4 = y; s.X4 = whole(x); s.Y4 = whole(y); break;
    }
  }

  // The colour of a drawing program's colour call: the old current colour
  // becomes the previous one.
  void colour(int number) {
    YYGrAttributes& a = yyGrAttributes;
    a.ColourMode = kColourIndexed;
    a.PreviousColourNumber = a.ColourNumber;
    a.PreviousRGB = a.CurrentRGB;
    a.PreviousDeviceColour = a.DeviceColour;
    a.ColourNumber = number;
    a.CurrentRGB = yyColourTable[static_cast<std::size_t>(number)];
    a.DeviceColour = YYDEVCOLOUR(number);
    send(kOpColour);
  }

  void lineStyle(int style) {
    yyGrAttributes.LineStyle = style;
    send(kOpLineStyle);
  }

  void lineWidth(int pixels) {
    yyGrAttributes.LineWidth = pixels;
    yyGrAttributes.LineWidthTenths = 5 * pixels;
    send(kOpLineWidth);
  }

  void line(float x1, float y1, float x2, float y2) {
    point(1, px(x1), py(y1));
    point(2, px(x2), py(y2));
    send(kOpLine);
  }

  // The first n points of the list into the point buffer.
  void buffer(const std::vector<std::pair<float, float>>& points) {
    int i = 0;
    for (const auto& [x, y] : points) {
      yyGrPointBuffer.x[static_cast<std::size_t>(i)] = px(x);
      yyGrPointBuffer.y[static_cast<std::size_t>(i)] = py(y);
      ++i;
    }
    yyGrState.N = i;
  }

  void lines() {
    colour(kBlack);
    const int styles[] = {0, 2, 3};
    float y = 0.93f;
    for (const int style : styles) {
      lineStyle(style);
      line(0.05f, y, 0.45f, y);
      y -= 0.06f;
    }
    lineStyle(0);
    lineWidth(3);
    line(0.05f, y, 0.45f, y);
    lineWidth(1);
  }

  void boxes() {
    colour(kDarkBlue);
    buffer({{0.55f, 0.72f}, {0.70f, 0.72f}, {0.70f, 0.95f}, {0.55f, 0.95f}, {0.55f, 0.72f}});
    send(kOpPolyline);
    point(1, px(0.76f), py(0.72f));
    point(2, px(0.95f), py(0.95f));
    send(kOpRectangleSolid);
  }

  void shapes() {
    colour(kDarkGreen);
    buffer({{0.05f, 0.40f}, {0.25f, 0.40f}, {0.28f, 0.52f}, {0.15f, 0.62f}, {0.02f, 0.52f}});
    send(kOpPolygonSolid);

    colour(kDarkRed);
    const float rx = px(0.08f);
    const float ry = py(0.10f);
    point(1, px(0.38f), py(0.50f));
    point(2, rx, ry);
    yyGrState.R7 = ry / rx;
    send(kOpEllipseSolid);

    colour(kBlack);
    sector(0.62f, 0.0f, 180.0f, kOpArc);
    colour(kDarkBlue);
    sector(0.85f, 0.0f, 90.0f, kOpPieSolid);
  }

  // An arc or pie centred at (x, 0.45) of the given start and sweep.  The
  // arc is drawn without its radii.
  void sector(float x, float startDegrees, float sweepDegrees, YYGrOpcode opcode) {
    constexpr float kRadians = std::numbers::pi_v<float> / 180.0f;
    point(1, px(x), py(0.45f));
    point(2, px(0.09f), py(0.12f));
    point(3, startDegrees * kRadians, (startDegrees + sweepDegrees) * kRadians);
    point(4, startDegrees, sweepDegrees);
    yyGrAttributes.FillOutline = 3;
    yyGrAttributes.FillStyle = 0;
    send(opcode);
  }

  // The area and its viewport, as the graphics area sets them, over a
  // rectangle of the surface given in fractions.
  void viewport(float left, float bottom, float right, float top) const {
    YYGrState& s = yyGrState;
    s.AreaX1 = left;
    s.AreaX2 = right;
    s.AreaY1 = bottom;
    s.AreaY2 = top;
    s.ViewportLeftReal = px(left);
    s.ViewportRightReal = px(right);
    s.ViewportBottomReal = py(bottom);
    s.ViewportTopReal = py(top);
    s.ClipLeft = s.ViewportLeftReal - 0.001f;
    s.ClipRight = s.ViewportRightReal + 0.001f;
    s.ClipBottom = s.ViewportBottomReal - 0.001f;
    s.ClipTop = s.ViewportTopReal + 0.001f;
    s.ViewportLeft = static_cast<std::int32_t>(s.ViewportLeftReal);
    s.ViewportRight = static_cast<std::int32_t>(s.ViewportRightReal);
    s.ViewportBottom = static_cast<std::int32_t>(s.ViewportBottomReal);
    s.ViewportTop = static_cast<std::int32_t>(s.ViewportTopReal);
    s.ViewportColumns = s.ViewportRight - s.ViewportLeft + 1;
    s.ViewportRows = s.ViewportTop - s.ViewportBottom + 1;
    s.ViewportWidth = s.ViewportRightReal - s.ViewportLeftReal;
    s.ViewportHeight = s.ViewportTopReal - s.ViewportBottomReal;
  }

  // A filled polygon reaching past every side of a clip rectangle: only the
  // rectangle may show it.  The viewport is given back afterwards.
  void clipped() {
    YYGrState& s = yyGrState;
    const YYGrState saved = s;
    viewport(kSceneClipLeft, kSceneClipBottom, kSceneClipRight, kSceneClipTop);
    send(kOpClip);
    colour(kMagenta);
    buffer({{0.25f, 0.07f}, {0.43f, 0.07f}, {0.43f, 0.20f}, {0.34f, 0.28f}, {0.25f, 0.20f}});
    send(kOpPolygonSolid);
    s.AreaX1 = saved.AreaX1;
    s.AreaX2 = saved.AreaX2;
    s.AreaY1 = saved.AreaY1;
    s.AreaY2 = saved.AreaY2;
    s.ViewportLeftReal = saved.ViewportLeftReal;
    s.ViewportRightReal = saved.ViewportRightReal;
    s.ViewportBottomReal = saved.ViewportBottomReal;
    s.ViewportTopReal = saved.ViewportTopReal;
    s.ClipLeft = saved.ClipLeft;
    s.ClipRight = saved.ClipRight;
    s.ClipBottom = saved.ClipBottom;
    s.ClipTop = saved.ClipTop;
    s.ViewportLeft = saved.ViewportLeft;
    s.ViewportRight = saved.ViewportRight;
    s.ViewportBottom = saved.ViewportBottom;
    s.ViewportTop = saved.ViewportTop;
    s.ViewportColumns = saved.ViewportColumns;
    s.ViewportRows = saved.ViewportRows;
    s.ViewportWidth = saved.ViewportWidth;
    s.ViewportHeight = saved.ViewportHeight;
    send(kOpClip);
  }

  void angle(float degrees) {
    YYGrState& s = yyGrState;
    const float r = degrees * std::numbers::pi_v<float> / 180.0f;
    s.CharAngle = degrees;
    s.CharCos = std::cos(r);
    s.CharSinTimesAspect = std::sin(r);
    s.CharSinOverAspect = std::sin(r);
    send(kOpCharAngle);
  }

  // Left-aligned text whose reference line runs from (x, y) in the direction
  // of the character angle.
  void text(std::string_view words, float x, float y) {
    YYGrState& s = yyGrState;
    TEXT = words;
    const float length = static_cast<float>(words.size()) * s.CharWidth * width_;
    s.R5 = px(x);
    s.R1 = py(y);
    s.R7 = s.R5 + length * s.CharCos;
    s.R3 = s.R1 + length * s.CharSinTimesAspect;
    s.X1 = static_cast<std::int32_t>(words.size());
    s.X2 = 0;
    s.X4 = 0;
    send(kOpText);
  }

  void texts() {
    YYGrState& s = yyGrState;
    colour(kBlack);
    s.TextAlign = 0;
    s.TextMode = 0;
    s.TextPerCharacter = 0;
    s.TextStyle = 0;
    s.CharWidth = 0.03f;
    s.CharHeight = 0.08f;
    send(kOpCharSize);
    angle(0.0f);
    text(kSceneText, 0.05f, 0.15f);
    angle(90.0f);
    text(kSceneUpText, 0.50f, 0.05f);
    angle(0.0f);
  }

  void shaded() {
    buffer({{0.60f, 0.05f}, {0.95f, 0.05f}, {0.95f, 0.30f}, {0.60f, 0.30f}});
    YYPolygonWork& w = yyPolygonWork;
    w.vertexCount = 4;
    w.colours[0] = yyColourTable[kDarkRed];
    w.colours[1] = yyColourTable[kDarkGreen];
    w.colours[2] = yyColourTable[kDarkBlue];
    w.colours[3] = yyColourTable[kBlack];
    send(kOpShadedPolygon);
  }

  SceneDriver driver_;
  float width_;
  float height_;
};

bool isInk(const std::uint8_t* pixel) { return pixel[0] < 200 || pixel[1] < 200 || pixel[2] < 200; }

}  // namespace

void drawGraphicsScene(SceneDriver driver) { Scene(driver).draw(); }

RgbRaster readPpm(const std::string& path) {
  RgbRaster raster;
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int width = 0;
  int height = 0;
  int maxval = 0;
  if (!(in >> magic) || magic != "P6") return raster;
  // Header numbers may be separated by comments.
  auto number = [&in](int& value) {
    in >> std::ws;
    while (in.peek() == '#') {
      std::string comment;
      std::getline(in, comment);
      in >> std::ws;
    }
    return static_cast<bool>(in >> value);
  };
  if (!number(width) || !number(height) || !number(maxval) || maxval != 255 || width <= 0 || height <= 0) {
    return raster;
  }
  in.get();
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()))) return raster;
  raster.width = width;
  raster.height = height;
  raster.rgb = std::move(bytes);
  return raster;
}

bool InkMask::inked(int column, int row) const {
  if (column < 0 || row < 0 || column >= columns || row >= rows) return false;
  return cells[static_cast<std::size_t>(row * columns + column)];
}

std::string InkMask::picture() const {
  std::string out;
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < columns; ++column) out += inked(column, row) ? '#' : '.';
    out += '\n';
  }
  return out;
}

InkMask inkMask(const RgbRaster& raster, int columns, int rows, double share) {
  InkMask mask;
  if (raster.width <= 0 || raster.height <= 0 || columns <= 0 || rows <= 0) return mask;
  mask.columns = columns;
  mask.rows = rows;
  mask.cells.assign(static_cast<std::size_t>(columns * rows), false);
  for (int row = 0; row < rows; ++row) {
    const int top = row * raster.height / rows;
    const int bottom = std::max(top + 1, (row + 1) * raster.height / rows);
    for (int column = 0; column < columns; ++column) {
      const int left = column * raster.width / columns;
      const int right = std::max(left + 1, (column + 1) * raster.width / columns);
      int ink = 0;
      for (int y = top; y < bottom && y < raster.height; ++y) {
        for (int x = left; x < right && x < raster.width; ++x) {
          const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(raster.width) +
                                  static_cast<std::size_t>(x)) * 3;
          if (isInk(&raster.rgb[at])) ++ink;
        }
      }
      const int pixels = (right - left) * (bottom - top);
      mask.cells[static_cast<std::size_t>(row * columns + column)] = ink > 0 && ink >= share * pixels;
    }
  }
  return mask;
}

namespace {
bool inkedNear(const InkMask& mask, int column, int row) {
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      if (mask.inked(column + dx, row + dy)) return true;
    }
  }
  return false;
}

int oneWay(const InkMask& from, const InkMask& to) {
  int count = 0;
  for (int row = 0; row < from.rows; ++row) {
    for (int column = 0; column < from.columns; ++column) {
      if (from.inked(column, row) && !inkedNear(to, column, row)) ++count;
    }
  }
  return count;
}
}  // namespace

int maskMismatches(const InkMask& a, const InkMask& b) {
  if (a.columns != b.columns || a.rows != b.rows) return std::max(a.columns * a.rows, b.columns * b.rows);
  return oneWay(a, b) + oneWay(b, a);
}
