#include "toolkit/drivers/dxf_driver.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "toolkit/core/error_reporter.h"
#include "toolkit/core/fixed_text.h"
#include "toolkit/core/number_conversion.h"
#include "toolkit/core/strings.h"
#include "toolkit/drivers/hardcopy_dispatch.h"
#include "toolkit/drivers/hardcopy_options.h"
#include "toolkit/drivers/hardcopy_setup.h"
#include "toolkit/drivers/plot_output.h"
#include "toolkit/graphics/colours.h"

YYDxfState yyDxfState;

namespace {

constexpr std::string_view kDefaultOutput = "zndvplot.dxf";
constexpr int kPageWidth = 756;   // points
constexpr int kPageHeight = 540;
constexpr int kFillLineSpacing = 80;  // hundredths of a point
constexpr int kNearestColourMode = 8;
constexpr int kBandColourMode = 4;
constexpr float kPointsPerInch = 72.0f;
constexpr std::string_view kCaps = "00000100000011000010000000010";

// ---- The line types of the TABLES section, by LineStyle 1-6.

struct LineType {
  std::string_view name;
  std::string_view description;  // 46 characters, blanks kept
  int dashCount;
  std::string_view length;
  std::array<std::string_view, 6> dashes;
};

constexpr std::array<LineType, 6> kLineTypes = {{
    {"DOT", "..............................................", 2, "0.25", {"0", "-0.25"}},
    {"DASHED", "__ __ __ __ __ __ __ __ __ __ __ __ __ __ __  ", 2, "0.75", {"0.5", "-0.25"}},
    {"DASHDOT", "__ . __ . __ . __ . __ . __ . __ . __ . __ .  ", 4, "1", {"0.5", "-0.25", "0", "-0.25"}},
    {"DIVIDE",
     "__ . . __ . . __ . . __ . . __ . . __ . . __  ",
     6,
     "1.25",
     {"0.5", "-0.25", "0", "-0.25", "0", "-0.25"}},
    {"CENTER", "____ _ ____ _ ____ _ ____ _ ____ _ ____ _ ____", 4, "2", {"1.25", "-0.25", "0.25", "-0.25"}},
    {"HIDDEN", "_ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ ", 2, "0.25", {"0.12", "-0.12"}},
}};
static_assert(std::ranges::all_of(kLineTypes, [](const LineType& t) { return t.description.size() == 46; }));

// ---- The DXF colour index as RGB values.

constexpr std::int32_t rgbValue(int red, int green, int blue) { return red | (green << 8) | (blue << 16); }

// Component c scaled by m/255, rounded to the nearest integer.
constexpr int shade(int c, int m) { return (2 * c * m + 255) / (2 * 255); }

struct Rgb {
  int red, green, blue;
};

// Full colour of hue k (0-23): 24 steps around the circle from red.
constexpr Rgb hueColour(int k) {
  constexpr int kLevels[5] = {0, 63, 127, 191, 255};
  const int rising = kLevels[k % 4];
  const int falling = kLevels[4 - k % 4];
  switch (k / 4) {
    case 0: return {255, rising, 0};
    case 1: return {falling, 255, 0};
    case 2: return {0, 255, rising};
    case 3: return {0, falling, 255};
    case 4: return {rising, 0, 255};
    default: return {255, 0, falling};
  }
}

constexpr std::array<std::int32_t, 256> buildPalette() {
  std::array<std::int32_t, 256> p{};
  const Rgb basics[9] = {{255, 0, 0},     {255, 255, 0}, {0, 255, 0},   {0, 255, 255},  {0, 0, 255},
                         {255, 0, 255},   {255, 255, 255}, {76, 76, 76}, {165, 165, 165}};
  for (int i = 0; i < 9; ++i) p[static_cast<std::size_t>(i + 1)] = rgbValue(basics[i].red, basics[i].green, basics[i].blue);
  constexpr int kFactors[5] = {255, 165, 127, 76, 38};
  for (int k = 0; k < 24; ++k) {
    const Rgb f = hueColour(k);
    const Rgb pale = {(f.red + 255) / 2, (f.green + 255) / 2, (f.blue + 255) / 2};
    for (int s = 0; s < 10; ++s) {
      const Rgb& base = s % 2 == 0 ? f : pale;
      const int m = kFactors[s / 2];
      p[static_cast<std::size_t>(10 + 10 * k + s)] =
          rgbValue(shade(base.red, m), shade(base.green, m), shade(base.blue, m));
    }
  }
  const int greys[6] = {84, 118, 152, 186, 220, 255};
  for (int i = 0; i < 6; ++i) p[static_cast<std::size_t>(250 + i)] = rgbValue(greys[i], greys[i], greys[i]);
  struct Exception {
    int number;
    Rgb colour;
  };
  const Exception exceptions[] = {{29, {38, 23, 19}},   {32, {185, 82, 0}},   {43, {165, 145, 82}},
                                  {63, {145, 165, 82}}, {72, {82, 165, 72}},  {89, {23, 38, 19}},
                                  {109, {19, 38, 23}},  {123, {82, 165, 145}}, {143, {82, 145, 165}},
                                  {169, {19, 23, 38}},  {189, {23, 19, 38}},  {203, {145, 82, 165}},
                                  {223, {165, 82, 145}}, {249, {38, 19, 23}}};
  for (const Exception& e : exceptions) {
    p[static_cast<std::size_t>(e.number)] = rgbValue(e.colour.red, e.colour.green, e.colour.blue);
  }
  return p;
}
constexpr std::array<std::int32_t, 256> kDxfPalette = buildPalette();

// Option 23 = 4: a DXF colour per band of 16 colour numbers.
constexpr std::array<int, 16> kDxfColourBands = {8, 1, 9, 2, 2, 3, 11, 4, 12, 5, 13, 6, 14, 7, 15, 8};

constexpr std::array<float, 3> kTextHeightFactors = {0.52f, 0.63f, 0.63f};

std::int32_t option(int code) { return hardcopyOption(code); }

void writeLine(std::string_view line) { YYPROUWriteText(kPlotUnitFile, line); }

std::string integerText(int value, std::string_view format) {
  FixedText<11> field;
  IntegerToString(value, field, format);
  return text::withoutLeadingBlanks(field.trimmed());
}

// "(F15.6)" without its leading blanks.
std::string realText(float value) {
  FixedText<15> field;
  IRealToString(value, field, "(F15.6)");
  return text::withoutLeadingBlanks(field.trimmed());
}

// A value line may not hold a line end: a control code inside a text would
// split its group and shift every later code.
std::string withoutControlCodes(std::string_view raw) {
  std::string out;
  for (const char ch : raw) {
    if (static_cast<unsigned char>(ch) >= 32) out += ch;
  }
  return out;
}

void groupCode(int code) { writeLine(integerText(code, "(I3)")); }

bool squareArea() {
  const YYGrState& s = yyGrState;
  return s.AreaX2 - s.AreaX1 == s.AreaY2 - s.AreaY1;
}

// Group 6 with the line type of the current line style, when it has one.
void lineTypeGroup() {
  const std::int32_t style = yyGrAttributes.LineStyle;
  if (style < 1 || style > static_cast<std::int32_t>(kLineTypes.size())) return;
  YYDxfGroupText(6, kLineTypes[static_cast<std::size_t>(style - 1)].name);
}

void thicknessGroup() { YYDxfGroupReal(39, static_cast<float>(option(kOptLineWidthTenths)) / 720.0f); }

void initialise() {
  YYGrState& s = yyGrState;
  YYDriverDefaults();
  hardcopyOption(kOptPageWidth) = kPageWidth;
  hardcopyOption(kOptPageHeight) = kPageHeight;
  hardcopyOption(kOptOffsetX) = 0;
  hardcopyOption(kOptOffsetY) = 0;
  hardcopyOption(kOptOrientation) = 0;
  hardcopyOption(kOptPenThickness) = kFillLineSpacing;
  hardcopyOption(kOptColourDepth) = kNearestColourMode;
  HardcopyDeviceDescription device;
  device.resolution = 90;
  device.colourCount = 255;
  device.colourMax = 255;
  device.deviceWord3 = 1;
  device.trueColour = 1;
  device.platformLevel = 2;
  device.fullCircle = 360;
  device.deviceWord5 = 8;
  device.deviceWord6 = 0.222f;
  device.caps = kCaps;
  YYHardcopyDescribe(device);
  yyHardcopyOutputName = kDefaultOutput;
  s.ActiveDriver = kDxfDriver;
}

// Header values: six decimals, zeros kept, left-justified.
std::string headerReal(float value) {
  FixedText<15> field;
  IRealToString(value, field, "(F15.6)");
  IStringAlign(field, "L");
  return field.str();
}

void writeHeader() {
  const std::string w = headerReal(static_cast<float>(option(kOptPageWidth)) / kPointsPerInch);
  const std::string h = headerReal(static_cast<float>(option(kOptPageHeight)) / kPointsPerInch);
  const std::string cx = headerReal(static_cast<float>(option(kOptPageWidth)) / kPointsPerInch / 2.0f);
  const std::string cy = headerReal(static_cast<float>(option(kOptPageHeight)) / kPointsPerInch / 2.0f);
  const std::string_view lines[] = {"0",        "SECTION",  "2",  "HEADER",  "9",       "$EXTMIN", "10",      "0.000000",
                                    "20",       "0.000000", "9",  "$EXTMAX", "10",      w,         "20",      h,
                                    "9",        "$CECOLOR", "62", "7",       "9",       "$CELTYPE", "6",      "DASHDOT",
                                    "9",        "$VIEWCTR", "10", cx,        "20",      cy,        "9",       "$LIMMIN",
                                    "10",       "0",        "20", "0",       "9",       "$LIMMAX", "10",      w,
                                    "20",       h,          "0",  "ENDSEC",  "0"};
  for (const std::string_view line : lines) YYDxfLine(line);
}

void writeTables() {
  // The header's last line is already the code of the first group.
  writeLine("SECTION");
  YYDxfGroupText(2, "TABLES");
  YYDxfGroupText(0, "TABLE");
  YYDxfGroupText(2, "LTYPE");
  // Readers accept the announced count of 9 although six entries follow.
  YYDxfGroupInt(70, 9);
  for (const LineType& type : kLineTypes) {
    YYDxfGroupText(0, "LTYPE");
    YYDxfGroupText(2, type.name);
    YYDxfGroupInt(70, 0);
    YYDxfGroupText(3, type.description);
    YYDxfGroupInt(72, 65);
    YYDxfGroupInt(73, type.dashCount);
    YYDxfGroupText(40, type.length);
    for (int i = 0; i < type.dashCount; ++i) YYDxfGroupText(49, type.dashes[static_cast<std::size_t>(i)]);
  }
  YYDxfGroupText(0, "ENDTAB");
  YYDxfGroupText(0, "TABLE");
  YYDxfGroupText(2, "STYLE");
  YYDxfGroupInt(70, 1);
  YYDxfGroupText(0, "STYLE");
  YYDxfGroupText(2, "STANDARD");
  YYDxfGroupInt(70, 0);
  YYDxfGroupText(40, "0");
  YYDxfGroupText(41, "1");
  YYDxfGroupText(50, "0");
  YYDxfGroupInt(71, 0);
  YYDxfGroupText(42, "0");
  YYDxfGroupText(3, "txt");
  YYDxfGroupText(0, "ENDTAB");
  YYDxfGroupText(0, "TABLE");
  YYDxfGroupText(2, "LAYER");
  YYDxfGroupInt(70, 9);
  for (int layer = 1; layer <= 9; ++layer) {
    YYDxfGroupText(0, "LAYER");
    YYDxfGroupInt(2, layer);
    YYDxfGroupInt(70, 0);
    YYDxfGroupInt(62, 7);
    YYDxfGroupText(6, "CONTINUOUS");
  }
  YYDxfGroupText(0, "ENDTAB");
  YYDxfGroupText(0, "ENDSEC");
  YYDxfGroupText(0, "SECTION");
  YYDxfGroupText(2, "ENTITIES");
}

void beginPlot() {
  YYGrState& s = yyGrState;
  if (s.SurfaceWidthReal != 0.0f) {
    s.DeviceScaleX = static_cast<float>(option(kOptPageWidth)) / (s.SurfaceWidthReal * kPointsPerInch);
  }
  if (s.SurfaceHeightReal != 0.0f) {
    s.DeviceScaleY = static_cast<float>(option(kOptPageHeight)) / (s.SurfaceHeightReal * kPointsPerInch);
  }
  if (s.M <= 0 || !openPlotFile()) return;
  switch (option(kOptColourDepth)) {
    case kNearestColourMode:
      s.HardcopyColourCount = 255;
      s.TrueColour[kHardcopySide] = 1;
      break;
    case kBandColourMode:
      s.HardcopyColourCount = 14;
      s.TrueColour[kHardcopySide] = 0;
      break;
    default:
      s.HardcopyColourCount = 7;
      s.TrueColour[kHardcopySide] = 0;
      break;
  }
  writeHeader();
  writeTables();
  yyDxfState = YYDxfState{};
}

void endPlot() {
  YYDxfGroupText(0, "ENDSEC");
  YYDxfGroupText(0, "EOF");
  YYPROUClose(kPlotUnitFile);
}

void colour() {
  const YYGrAttributes& a = yyGrAttributes;
  const std::int32_t mode = option(kOptColourDepth);
  // Colour numbers index the 256 entries of the colour table.
  const int colourNumber = std::clamp(a.ColourNumber, 0, kGraphicsColours - 1);
  if (mode == kNearestColourMode) {
    std::int32_t rgb = a.CurrentRGB;
    if (a.ColourMode != kColourRgb) YYColourRGB(colourNumber, rgb);
    YYDxfState& d = yyDxfState;
    if (rgb != d.cachedRgb) {
      d.cachedNumber = dxfNearestColour(rgb);
      d.cachedRgb = rgb;
    }
    dxfCurrentColour() = d.cachedNumber;
  } else if (mode == kBandColourMode) {
    dxfCurrentColour() = kDxfColourBands[static_cast<std::size_t>(colourNumber / 16)];
  } else {
    const int number = ((colourNumber + 16) / 32) % 8;
    dxfCurrentColour() = number == 0 ? 7 : number;
  }
}

void line() {
  YYGrState& s = yyGrState;
  s.PageBegun = -1;
  YYDxfEntity("LINE");
  if (yyGrAttributes.FillFallback == 0) lineTypeGroup();
  thicknessGroup();
  YYDxfGroupPoint(10, 20, s.R5, s.R1);
  YYDxfGroupPoint(11, 21, s.R6, s.R2);
}

void point() {
  YYGrState& s = yyGrState;
  s.PageBegun = -1;
  YYDxfEntity("POINT");
  YYDxfGroupPoint(10, 20, s.R5, s.R1);
}

void polyline() {
  yyGrState.PageBegun = -1;
  YYDxfEntity("POLYLINE");
  lineTypeGroup();
  thicknessGroup();
  YYDxfGroupInt(66, 1);
  YYDxfGroupInt(70, 0);
  const int count = bufferedPointCount();
  for (int i = 0; i < count; ++i) {
    YYDxfGroupText(0, "VERTEX");
    YYDxfGroupInt(8, 1);
    YYDxfGroupPoint(10, 20, yyGrPointBuffer.x[static_cast<std::size_t>(i)],
                    yyGrPointBuffer.y[static_cast<std::size_t>(i)]);
  }
  YYDxfGroupText(0, "SEQEND");
}

struct Corner {
  float x, y;
};

void solid(const std::array<Corner, 4>& corners) {
  yyGrState.PageBegun = -1;
  YYDxfEntity("SOLID");
  for (int i = 0; i < 4; ++i) {
    const Corner& c = corners[static_cast<std::size_t>(i)];
    YYDxfGroupPoint(10 + i, 20 + i, c.x, c.y);
  }
}

// SOLID takes its corners in zigzag order: the third and fourth corners of an
// outline trade places.
void solidShape(std::int32_t opcode) {
  const YYGrState& s = yyGrState;
  switch (opcode) {
    case kOpQuadPattern: solid({{{s.R5, s.R1}, {s.R6, s.R2}, {s.R8, s.R4}, {s.R7, s.R3}}}); break;
    case kOpRectanglePattern: {
      const float x1 = std::max(s.ViewportLeftReal, s.R5);
      const float y1 = std::max(s.ViewportBottomReal, s.R1);
      const float x2 = std::min(s.ViewportRightReal, s.R6);
      const float y2 = std::min(s.ViewportTopReal, s.R2);
      solid({{{x1, y1}, {x1, y2}, {x2, y1}, {x2, y2}}});
      break;
    }
    default: solid({{{s.R5, s.R1}, {s.R6, s.R2}, {s.R7, s.R3}, {s.R7, s.R3}}}); break;
  }
}

void circle() {
  YYGrState& s = yyGrState;
  s.PageBegun = -1;
  YYDxfEntity("CIRCLE");
  thicknessGroup();
  YYDxfGroupPoint(10, 20, s.R5, s.R1);
  YYDxfGroupReal(40, s.R6 * s.DeviceScaleX);
}

void shape(std::int32_t opcode) {
  YYGrState& s = yyGrState;
  YYGrAttributes& a = yyGrAttributes;
  if (s.M == -1) return;
  const bool quadrilateral =
      opcode == kOpQuadPattern || opcode == kOpRectanglePattern || opcode == kOpTrianglePattern;
  if (quadrilateral && a.FillStyle != 3) {
    if (a.FillStyle == 4) solidShape(opcode);
    return;
  }
  // The caller fills with lines at this spacing: option 12 hundredths of a
  // point in surface units, twice as far apart for the mixed-colour style.
  a.FillFallback = 2;
  s.FillLineSpacing = static_cast<float>(option(kOptPenThickness)) / 100.0f * s.SurfaceHeightReal /
                      static_cast<float>(option(kOptPageHeight));
  if (a.FillStyle == 3) s.FillLineSpacing *= 2.0f;
  if (a.FillStyle >= 3) return;
  if (opcode == kOpEllipsePattern && squareArea() && s.R7 == 1.0f) {
    circle();
    return;
  }
  s.M = -1;
}

void arc() {
  YYGrState& s = yyGrState;
  s.PageBegun = -1;
  if (!squareArea()) {
    s.M = 2;
    return;
  }
  YYDxfEntity("ARC");
  lineTypeGroup();
  thicknessGroup();
  YYDxfGroupPoint(10, 20, s.R5, s.R1);
  YYDxfGroupReal(40, s.R6 * s.DeviceScaleX);
  // DXF arcs run counter-clockwise from 50 to 51.
  const float from = s.R8;
  const float to = s.R8 + s.R4;
  YYDxfGroupReal(50, std::min(from, to));
  YYDxfGroupReal(51, std::max(from, to));
  s.M = 1;
}

void textEntity() {
  YYGrState& s = yyGrState;
  s.PageBegun = -1;
  YYDxfEntity("TEXT");
  const float factor = s.TextMode >= 0 && s.TextMode <= 2 ? kTextHeightFactors[static_cast<std::size_t>(s.TextMode)]
                                                          : kTextHeightFactors[0];
  YYDxfGroupReal(40, s.CharHeight * factor * s.DeviceScaleY * s.AreaHeightDevice);
  const float across = s.SurfaceWidthReal != 0.0f ? s.CharWidth * s.AreaWidthDevice / s.SurfaceWidthReal : 0.0f;
  const float up = s.SurfaceHeightReal != 0.0f ? s.CharHeight * s.AreaHeightDevice / s.SurfaceHeightReal : 0.0f;
  YYDxfGroupReal(41, up != 0.0f ? across / up : 1.0f);
  // Full width: a three-column field turns angles below -99 into asterisks,
  // which no reader takes for a number.
  groupCode(50);
  writeLine(integerText(static_cast<int>(s.CharAngle), "(I11)"));
  const int length = std::clamp<std::int32_t>(s.X1, 0, TEXT.length());
  YYDxfGroupText(1, withoutControlCodes(TEXT.view().substr(0, static_cast<std::size_t>(length))));
  YYDxfGroupText(7, "STANDARD");
  const float px = s.R5 + 0.22f * s.CharStepX;
  const float py = s.R1 - 0.22f * s.CharStepY;
  if (s.TextPerCharacter == 0) {
    YYDxfGroupInt(72, 0);
    YYDxfGroupPoint(10, 20, px, py);
  } else {
    YYDxfGroupInt(72, 1);
    YYDxfGroupPoint(10, 20, px, py);
    YYDxfGroupPoint(11, 21, px + s.CharCos * s.R6 / 2.0f, py + s.CharSinOverAspect * s.R6 / 2.0f);
  }
}

}  // namespace

std::int32_t& dxfCurrentColour() { return yyGrState.DriverWork[0]; }

std::int32_t dxfPaletteEntry(int number) {
  if (number < 1 || number > 255) return 0;
  return kDxfPalette[static_cast<std::size_t>(number)];
}

int dxfNearestColour(std::int32_t rgb) {
  float hue = 0.0f, saturation = 0.0f, value = 0.0f;
  YYRGBTOHSV(rgb, hue, saturation, value);
  const float x = saturation * value * std::cos(hue);
  const float y = saturation * value * std::sin(hue);
  int best = 7;
  float bestDistance = 9999999.0f;
  for (int n = 1; n <= 255; ++n) {
    const std::int32_t entry = kDxfPalette[static_cast<std::size_t>(n)];
    if (entry == rgb) return n;
    float h = 0.0f, sa = 0.0f, v = 0.0f;
    YYRGBTOHSV(entry, h, sa, v);
    const float dx = sa * v * std::cos(h) - x;
    const float dy = sa * v * std::sin(h) - y;
    const float dz = v - value;
    const float distance = dx * dx + dy * dy + dz * dz;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = n;
    }
  }
  return best;
}

void YYDxfLine(std::string_view line) {
  const int length = std::max(1, text::trimmedLength(line));
  writeLine(line.substr(0, std::min(line.size(), static_cast<std::size_t>(length))));
}

void YYDxfGroupText(int code, std::string_view value) {
  groupCode(code);
  writeLine(value);
}

void YYDxfGroupInt(int code, int value) {
  groupCode(code);
  writeLine(integerText(value, "(I3)"));
}

void YYDxfGroupReal(int code, float value) {
  std::string written = realText(value);
  if (written.find('.') != std::string::npos && written.find('*') == std::string::npos) {
    while (written.ends_with('0')) written.pop_back();
  }
  groupCode(code);
  writeLine(written);
}

void YYDxfGroupPoint(int xCode, int yCode, float x, float y) {
  YYDxfGroupReal(xCode, x * yyGrState.DeviceScaleX);
  YYDxfGroupReal(yCode, y * yyGrState.DeviceScaleY);
}

void YYDxfEntity(std::string_view name) {
  YYDxfGroupText(0, name);
  YYDxfGroupInt(8, 1);
  YYDxfGroupInt(62, dxfCurrentColour());
}

void YYGDXF(YYGrPrimitive& primitive) {
  switch (primitive) {
    case kOpInitialise:
      if (YYHardcopyProbeAnswered(kDxfDriver)) return;
      initialise();
      break;
    case kOpBeginPlot: beginPlot(); break;
    case kOpEndPlot: endPlot(); break;
    case kOpEndPage: yyGrState.PageBegun = 0; break;
    case kOpColour: colour(); break;
    case kOpLine: line(); break;
    case kOpPoint: point(); break;
    case kOpPolyline: polyline(); break;
    case kOpEllipsePattern:
    case kOpQuadPattern:
    case kOpRectanglePattern:
    case kOpTrianglePattern:
    case kOpPiePattern:
    case kOpPolygonPattern: shape(primitive); break;
    case kOpArc: arc(); break;
    case kOpText: textEntity(); break;
    default: break;
  }
}
