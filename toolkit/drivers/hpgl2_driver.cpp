#include "toolkit/drivers/hpgl2_driver.h"

#include <algorithm>
#include <array>
#include <string>

#include "toolkit/core/number_format.h"
#include "toolkit/drivers/hardcopy_dispatch.h"
#include "toolkit/drivers/hardcopy_options.h"
#include "toolkit/drivers/hardcopy_setup.h"
#include "toolkit/drivers/hpgl_driver.h"
#include "toolkit/drivers/hpgl_line_writer.h"
#include "toolkit/drivers/plot_output.h"
#include "toolkit/graphics/colours.h"

namespace {

constexpr std::int32_t kDriverNumber = kHpgl2Driver;
constexpr std::string_view kDefaultOutput = "zndvplot.plt";
constexpr std::int32_t kUnit = kPlotUnitFile;
constexpr std::int32_t kEndOfFill = -1;
constexpr float kUnitsPerPoint = 14.111111f;
constexpr int kPens = 256;

struct Hpgl2Model {
  std::int32_t resolution;
  float paperWidth;
  float paperHeight;
  float offsetX;
  std::int32_t pens;
  char labelFont;
  float sizeFactor;
  std::string_view caps;
};
constexpr int kModels = 5;
constexpr std::array<Hpgl2Model, kModels> YYHpgl2ModelTable = {{
    {300, 10860, 7918, 0, 2, 'S', 1.5f, "00000100000011100010001001110"},
    {300, 10860, 7918, 0, 256, 'A', 1.2f, "00000100011111100010011011110"},
    {600, 10860, 7918, 0, 2, 'A', 1.2f, "00000100000011100010001001110"},
    {600, 15836, 10860, 0, 256, 'A', 1.2f, "00000100011111100010011011110"},
    {600, 10860, 7918, 0, 256, 'A', 1.2f, "00000100011111100010011011110"},
}};
// The model that ends pages with "PG" and writes no PCL around the plot.
constexpr int kPlainModel = 4;
constexpr int kStandardFontModel = 1;

constexpr std::string_view kEscape = "\x1b";

// Shape groups g = opcode / 2 - 1, 1-6, and their comment record kinds.
constexpr std::array<int, 7> kShapeRecord = {0, 5, 8, 6, 7, 4, 11};
constexpr int kEllipseRecord = 5;
constexpr int kPieRecord = 4;

using PenField = FixedText<3>;

struct YYHpgl2State {
  float sizeFactor = 1.5f;
  char labelFont = 'S';
  HpglPlotWindow window;
  char labelTerminator = '\x04';
  PenField currentPen;
  PenField fillPen;
  int fillState = -1;  // -1 none, 1 or 2: fill type 11 with that raster pattern
  std::int32_t lastPatternColour = -1;
  std::array<std::int32_t, 2> lastPatternPair = {-1, -1};
  FixedText<kPens> penDefined;
  std::int32_t lastTextKind = 0;
  std::int32_t lastTextStyle = -1;
  std::int32_t lastTextFamily = -1;
  std::int32_t lastLabelOrigin = -1;
  bool charSizePending = true;
};
YYHpgl2State state;

std::int32_t& option(int code) { return hardcopyOption(code); }

int currentModelNumber() { return std::clamp(yyRasterDevice.hpgl2Model, 1, kModels); }
const Hpgl2Model& currentModel() { return YYHpgl2ModelTable[static_cast<std::size_t>(currentModelNumber() - 1)]; }
bool wrappedInPcl() { return currentModelNumber() != kPlainModel; }

void pageBegun() { yyGrState.PageBegun = -1; }

bool isPenNumber(std::int32_t pen) { return pen >= 0 && pen < kPens; }
bool penIsDefined(std::int32_t pen) {
  return isPenNumber(pen) && state.penDefined.column(pen + 1) == '1';
}
void markPen(std::int32_t pen, bool defined) {
  if (isPenNumber(pen)) state.penDefined.column(pen + 1) = defined ? '1' : ' ';
}

// A comment record: CO"k fields", each field after a blank.
void commentRecord(const std::string& kind, std::initializer_list<std::string> fields) {
  std::string line = "CO\"" + kind;
  for (const std::string& field : fields) line += " " + field;
  YYHpglCommand(line + "\"");
}
std::string field(long long value, int width) { return numfmt::writeInteger(value, {'I', width}); }

std::array<std::string, 4> fillWords() {
  const YYGrAttributes& a = yyGrAttributes;
  return {field(a.FillStyle, 1), field(a.FillOutline, 1), field(a.FillPatternIndex, 1),
          field(a.FillPatternGroup, 1)};
}
void fillWordsRecord(const std::string& kind) {
  const auto w = fillWords();
  commentRecord(kind, {w[0], w[1], w[2], w[3]});
}

void initialise() {
  YYDriverDefaults();
  YYUserPatternsReset();
  const Hpgl2Model& model = currentModel();
  state.charSizePending = true;
  option(kOptHpglExtended) = 0;
  option(kOptOrientation) = 1;
  option(kOptLabelTerminator) = 4;
  option(kOptOffsetY) = 0;
  option(kOptOffsetX) = hpglTruncate(model.offsetX / kUnitsPerPoint);
  option(kOptPageWidth) = hpglTruncate(model.paperWidth / kUnitsPerPoint - static_cast<float>(option(kOptOffsetX)));
  option(kOptPageHeight) = hpglTruncate(model.paperHeight / kUnitsPerPoint);
  yyHpglLineTypes[1] = "1 .3";

  HardcopyDeviceDescription device;
  device.resolution = model.resolution;
  device.colourCount = model.pens;
  device.colourMax = 256;
  device.toFile = 1;
  device.deviceWord3 = 1;
  device.platformLevel = 2;
  device.fullCircle = 360;
  device.deviceWord5 = 8;
  device.deviceWord6 = 1.7E38f;
  device.caps = model.caps;
  YYHardcopyDescribe(device);
  yyGrState.HpglWord = model.pens;
  state.sizeFactor = model.sizeFactor;
  state.labelFont = model.labelFont;
  yyHardcopyOutputName = kDefaultOutput;
  yyGrState.ActiveDriver = kDriverNumber;
}

// The plot title as a comment: CO needs its text in quotes, and a quote
// inside would end the comment early.
void titleComment() {
  std::string title;
  for (const char c : yyPlotTitle.trimmed()) {
    if (c != '"') title += c;
  }
  YYHpglRawLine("CO\"" + title + "\"");
}

void resetPlotState() {
  yyGrState.LineBeginMode = option(kOptLineBlank) != 0 ? 1 : 2;
  state.labelTerminator = static_cast<char>(option(kOptLabelTerminator));
  state.currentPen.blank();
  state.fillPen.blank();
  state.fillState = -1;
  state.lastPatternColour = -1;
  state.lastPatternPair = {-1, -1};
  state.penDefined.blank();
  state.lastTextStyle = -1;
  state.lastTextFamily = -1;
  state.lastTextKind = 0;
  state.lastLabelOrigin = -1;
}

void beginPlot() {
  hpglSetDeviceScales();
  if (yyGrState.M > 0) {
    if (!openPlotFile()) return;
    resetPlotState();
    const int model = currentModelNumber();
    if (wrappedInPcl()) YYHpglCommand(std::string(kEscape) + "%0B");
    if (yyGrState.X1 != 0) titleComment();
    state.window = hpglPlotWindow(kUnitsPerPoint);
    const HpglPlotWindow& w = state.window;
    const std::string corners = hpglWindowNumbers(w.p1x, w.p1y, w.p2x, w.p2y);
    YYHpglCommand("IN; IP" + corners);
    const bool unrotated = model == kPlainModel ? option(kOptOrientation) != 0 : option(kOptOrientation) == 0;
    YYHpglCommand((unrotated ? "RO  0; IP" : "RO 90; IP") + corners);
    YYHpglCommand(std::string("DT") + state.labelTerminator);
    YYHpglCommand("DI1. 0.");
    YYHpglCommand("TR0");
    if (model != kStandardFontModel) YYHpglCommand("AD1,14;SA");
    if (yyGrState.HpglWord > 2) YYHpglCommand("NP256");
    commentRecord("13", {field(model, 2), numfmt::writeReal(state.sizeFactor, {'F', 3, 1}), "8"});
    commentRecord("2", {field(option(kOptColourInversion), 1)});
  }
  YYHpglCommand(kHpglScaleRestore);
}

void endPlot() {
  if (wrappedInPcl()) YYHpglCommand(std::string(kEscape) + "%0A");
  YYPROUClose(kUnit);
}

void endPage() {
  yyGrState.PageBegun = 0;
  commentRecord("3", {field(yyGrState.M, 3)});
  if (!wrappedInPcl()) {
    YYHpglCommand("PG");
    return;
  }
  const int copies = std::clamp(option(kOptCopies), 1, 99);
  const std::string e(kEscape);
  YYHpglCommand(e + "%1A" + e + "&l" + numfmt::writeInteger(copies, {'I', 2, 2}) + "X\f" + e + "%0B");
}

void selectPen(const PenField& pen) { YYHpglCommand("PU;SP" + std::string(pen.view())); }

std::int32_t colourRgb(std::int32_t number) {
  std::int32_t rgb = 0;
  if (number >= 0 && number < kGraphicsColours) YYColourRGB(number, rgb);
  return rgb;
}

void definePen(std::int32_t pen, std::int32_t rgb) {
  int red = 0, green = 0, blue = 0;
  YYRGBSPLIT(rgb, red, green, blue);
  YYHpglPenColour(pen, red, green, blue);
  markPen(pen, true);
}

void colour() {
  const YYGrAttributes& a = yyGrAttributes;
  PenField pen;
  if (yyGrState.HpglWord > 2) {
    pen = field(a.ColourNumber, 3);
    if (isPenNumber(a.ColourNumber) && !penIsDefined(a.ColourNumber)) definePen(a.ColourNumber, colourRgb(a.ColourNumber));
  } else {
    const std::int32_t white = option(kOptColourInversion) == 0 ? 0 : 223;
    pen = a.ColourNumber == white ? "0" : "1";
  }
  if (!(pen == state.currentPen)) {
    state.currentPen = pen;
    selectPen(pen);
  }
  if (a.FillFallback != 0) return;
  int red = 0, green = 0, blue = 0;
  YYColourComponents(currentColourOfMode(a), red, green, blue);
  commentRecord("1", {field(blue * 65536 + green * 256 + red, 8)});
}

// Pens 0-255 exist after "NP256"; a palette entry beyond them has no pen.
void paletteEntry() {
  if (isPenNumber(yyGrState.N)) definePen(yyGrState.N, yyGrState.X1);
}

DitherPattern patternOfColour(std::int32_t number, std::int32_t rgb) {
  YYGrAttributes& a = yyGrAttributes;
  const YYGrAttributes kept = a;
  a.ColourNumber = number;
  a.CurrentRGB = rgb;
  YYRasterDevice rgbDevice = yyRasterDevice;
  rgbDevice.deviceClass = 1;
  DitherPattern plane1 = 0, plane2 = 0, plane3 = 0;
  YYColourPatterns(rgbDevice, plane1, plane2, plane3);
  a = kept;
  return plane1;
}

// Two-pen models fill with raster patterns: the colour's dither, or for a
// two-colour fill a checkerboard of the two colours' dithers.
void twoPenFill() {
  const YYGrAttributes& a = yyGrAttributes;
  if (a.DrawFlag != 0) {
    YYHpglCommand("FT2");
    state.fillState = -1;
    return;
  }
  if (a.FillStyle == 4 || a.PreviousColourNumber == a.ColourNumber) {
    if (a.ColourNumber != state.lastPatternColour) {
      YYHpglCommand("RF1,8,4,");
      YYHpglFillPattern(patternOfColour(a.ColourNumber, a.CurrentRGB));
      state.lastPatternColour = a.ColourNumber;
    }
    if (state.fillState != 1) {
      YYHpglCommand("FT11 1");
      state.fillState = 1;
    }
    return;
  }
  const std::array<std::int32_t, 2> pair = {a.PreviousColourNumber, a.ColourNumber};
  if (pair != state.lastPatternPair) {
    constexpr DitherPattern kCheckerboard = 0x55AA55AAu;
    const DitherPattern previous = patternOfColour(a.PreviousColourNumber, a.PreviousRGB);
    const DitherPattern current = patternOfColour(a.ColourNumber, a.CurrentRGB);
    YYHpglCommand("RF2,8,4,");
    YYHpglFillPattern((current & kCheckerboard) | (previous & ~kCheckerboard));
    state.lastPatternPair = pair;
  }
  if (state.fillState != 2) {
    YYHpglCommand("FT11 2");
    state.fillState = 2;
  }
}

// Pen models fill a two-colour fill with a mix pen, the average of the two.
void mixPenFill() {
  const YYGrAttributes& a = yyGrAttributes;
  const bool sameColour = a.ColourMode == kColourRgb ? a.PreviousRGB == a.CurrentRGB
                                                     : a.PreviousColourNumber == a.ColourNumber;
  if (a.FillStyle == 4 || sameColour) return;
  const std::int32_t mix = 255 - a.ColourNumber;
  if (!isPenNumber(mix)) return;
  int r1 = 0, g1 = 0, b1 = 0, r2 = 0, g2 = 0, b2 = 0;
  YYRGBSPLIT(colourRgb(a.PreviousColourNumber), r1, g1, b1);
  YYRGBSPLIT(colourRgb(a.ColourNumber), r2, g2, b2);
  YYHpglPenColour(mix, (r1 + r2) / 2, (g1 + g2) / 2, (b1 + b2) / 2);
  state.fillPen = field(mix, 3);
  selectPen(state.fillPen);
  // A later colour opcode for that number must define its own colour again.
  markPen(mix, false);
}

void polygonClose(float x, float y) {
  YYHpglCommand("PM2;FP");
  hpglPenTo(x, y);
}

void ellipse() {
  YYGrState& g = yyGrState;
  const bool filled = yyGrAttributes.FillStyle >= 3;
  YYHpglPoint("PU", g.R5, g.R1);
  if (!filled) fillWordsRecord(std::to_string(kEllipseRecord));
  std::int32_t ratio = 0;
  hpglAspectRatio(g.R7, ratio);
  hpglEllipse(ratio, filled);
}

void parallelogram() {
  const YYGrState& g = yyGrState;
  YYHpglPoint("PU", g.R5, g.R1);
  YYHpglCommand("PM0");
  YYHpglPoint("PD", g.R6, g.R2);
  YYHpglPoint("PD", g.R7, g.R3);
  YYHpglPoint("PD", g.R8, g.R4);
  polygonClose(g.R5, g.R1);
}

void rectangle() {
  const YYGrState& g = yyGrState;
  YYHpglPoint("PU", g.R5, g.R1);
  YYHpglPoint("RA", g.R6, g.R2);
  hpglPenTo(g.R5, g.R1);
}

void triangle() {
  const YYGrState& g = yyGrState;
  YYHpglPoint("PU", g.R5, g.R1);
  YYHpglCommand("PM0");
  YYHpglPoint("PD", g.R6, g.R2);
  YYHpglPoint("PD", g.R7, g.R3);
  polygonClose(g.R5, g.R1);
}

void polygon() {
  if (bufferedPointCount() == 0) return;
  YYHpglPoint("PU", hpglBufferX(0), hpglBufferY(0));
  YYHpglCommand("PM0");
  YYHpglEncodedPolyline();
  polygonClose(hpglBufferX(0), hpglBufferY(0));
}

void shape(YYGrPrimitive opcode) {
  YYGrState& g = yyGrState;
  const YYGrAttributes& a = yyGrAttributes;
  const int k = kShapeRecord[static_cast<std::size_t>(opcode / 2 - 1)];
  if (g.M == kEndOfFill) {
    if (a.FillStyle >= 3 || k == kEllipseRecord || k == kPieRecord) commentRecord(field(k, 2), {"-1"});
    if (!(state.fillPen == state.currentPen)) selectPen(state.currentPen);
    return;
  }
  // An ellipse of no height cannot be scaled into a circle: it is refused as
  // a shape the driver cannot draw.
  std::int32_t ratio = 0;
  if (opcode == kOpEllipsePattern && (g.R7 == 0.0f || !hpglAspectRatio(g.R7, ratio))) {
    g.M = kEndOfFill;
    return;
  }
  pageBegun();
  state.fillPen.blank();
  if (a.FillStyle < 3) {
    if (opcode == kOpEllipsePattern) ellipse();
    return;
  }
  if (g.HpglWord <= 2) {
    twoPenFill();
  } else {
    mixPenFill();
  }
  const auto w = fillWords();
  commentRecord(field(k, 2), {w[0], w[1], w[2], w[3]});
  switch (opcode) {
    case kOpEllipsePattern: ellipse(); break;
    case kOpQuadPattern: parallelogram(); break;
    case kOpRectanglePattern: rectangle(); break;
    case kOpTrianglePattern: triangle(); break;
    case kOpPiePattern: YYHpgl2Arc(kOpPiePattern, kHpglScaleRestore); break;
    default: polygon(); break;
  }
}

void line() {
  const YYGrState& g = yyGrState;
  pageBegun();
  hpglStroke(g.R5, g.R1, g.R6, g.R2);
}

void point() {
  const YYGrState& g = yyGrState;
  pageBegun();
  hpglStroke(g.R5, g.R1, g.R5, g.R1);
}

void polyline() {
  pageBegun();
  const int n = bufferedPointCount();
  if (n == 0) return;
  hpglPenUpTo(hpglBufferX(0), hpglBufferY(0));
  YYHpglEncodedPolyline();
  hpglPenTo(hpglBufferX(n - 1), hpglBufferY(n - 1));
}

// Latin-1 codes A1-FE in the standard font's Roman-8 set.
constexpr std::array<std::uint8_t, 0xFE - 0xA1 + 1> kRoman8 = {
    0xB8, 0xBF, 0xAF, 0xBA, 0xBC, 0x7C, 0xBD, 0xAB, 0x63, 0xF9, 0xFB, 0x20, 0xF6, 0x52, 0xB0,  // A1-AF
    0xB3, 0xFE, 0x32, 0x33, 0xA8, 0xF3, 0xF4, 0xF2, 0x2C, 0x31, 0xFA, 0xFD, 0xF7, 0xF8, 0xF5, 0xB9,  // B0-BF
    0xA1, 0xE0, 0xA2, 0xE1, 0xD8, 0xD0, 0xD3, 0xB4, 0xA3, 0xDC, 0xA4, 0xA5, 0xE6, 0xE5, 0xA6, 0xA7,  // C0-CF
    0xE3, 0xB6, 0xE8, 0xE7, 0xDF, 0xE9, 0xDA, 0x78, 0xD2, 0xAD, 0xED, 0xAE, 0xDB, 0xB1, 0xF0, 0xDE,  // D0-DF
    0xC8, 0xC4, 0xC0, 0xE2, 0xCC, 0xD4, 0xD7, 0xB5, 0xC9, 0xC5, 0xC1, 0xCD, 0xD9, 0xD5, 0xD1, 0xDD,  // E0-EF
    0xE4, 0xB7, 0xCA, 0xC6, 0xC2, 0xEA, 0xCE, 0x20, 0xD6, 0xCB, 0xC7, 0xC3, 0xCF, 0xB2, 0xF1,        // F0-FE
};

std::string roman8(std::string text) {
  for (char& c : text) {
    const auto code = static_cast<std::uint8_t>(c);
    if (code >= 0xA1 && code <= 0xFE) c = static_cast<char>(kRoman8[code - 0xA1]);
  }
  return text;
}

constexpr std::array<float, 3> kWidthFactor = {1.0f, 0.932f, 1.06f};
constexpr std::array<float, 3> kHeightFactor = {1.0f, 1.211f, 1.211f};
constexpr std::int32_t kBold = 1;
constexpr std::int32_t kItalic = 2;

void characterSizeLine(std::int32_t t) {
  const YYGrState& g = yyGrState;
  if (t != state.lastTextKind) commentRecord("10", {field(t, 1)});
  const std::size_t i = static_cast<std::size_t>(std::clamp(t, 0, 2));
  const float width = g.CharWidth * kWidthFactor[i] * g.AreaWidthDevice * 100.0f / (state.sizeFactor * g.SurfaceWidthReal);
  const float height = g.CharHeight * kHeightFactor[i] * g.AreaHeightDevice * 100.0f / (2.0f * g.SurfaceHeightReal);
  YYHpglCommand("SR" + fortranFormatList("(2F8.2)", {width, height}).value_or(""));
  state.charSizePending = false;
}

// Slant, then the font of families 1-4: spacing, stroke weight and, for
// families 2-4, the typeface (and the symbol set of family 4).  Any other
// family keeps the font as it is: a font kind without its value would make
// the whole command unreadable.
void fontLine(std::int32_t t) {
  const YYGrState& g = yyGrState;
  const std::string weight = (g.TextStyle & kBold) != 0 ? "3" : "0";
  std::string line = (g.TextStyle & kItalic) != 0 ? "SL.2" : "SL0.";
  const std::string font = std::string(";") + state.labelFont + "D 2 ";
  switch (g.TextFamily) {
    case 1: line += font + "0 6 " + ((g.TextStyle & kBold) != 0 ? "5" : "0"); break;
    case 2: line += font + "1 6 " + weight + " 7 4148"; break;
    case 3: line += font + "1 6 " + weight + " 7 4101"; break;
    case 4: line += font + "1 6 " + weight + " 7 4101 1 173"; break;
    default: break;
  }
  YYHpglCommand(line);
  state.lastTextFamily = g.TextFamily;
  state.lastTextStyle = g.TextStyle;
  state.lastTextKind = t;
}

void label() {
  const YYGrState& g = yyGrState;
  pageBegun();
  const std::int32_t t = g.TextMode;
  if (state.charSizePending) characterSizeLine(t);
  if (g.TextFamily != state.lastTextFamily || g.TextStyle != state.lastTextStyle || t != state.lastTextKind) {
    fontLine(t);
  }
  const std::size_t count = static_cast<std::size_t>(std::clamp(g.X1, 0, kTextOperandLength));
  std::string words(TEXT.view().substr(0, count));
  if (currentModelNumber() == kStandardFontModel && (t == 0 || g.TextFamily != 4)) words = roman8(words);

  const float a = t == 0 ? 0.22f : 0.0f;
  const float b = t == 0 ? 0.22f : 0.3f;
  float x0 = g.R5 + a * g.CharCellX + b * g.CharStepX;
  float y0 = g.R1 + a * g.CharCellY - b * g.CharStepY;
  std::int32_t origin = 0;
  if (t != 1) {
    const float x1 = x0 - g.R5 + g.R7;
    const float y1 = y0 - g.R1 + g.R3;
    origin = std::clamp(g.TextAlign, 0, 2);
    if (origin == 1) {
      x0 = (x0 + x1) / 2.0f;
      y0 = (y0 + y1) / 2.0f;
    } else if (origin == 2) {
      x0 = x1;
      y0 = y1;
    }
  }
  if (origin != state.lastLabelOrigin) {
    constexpr std::array<char, 3> kOriginDigit = {'1', '4', '7'};
    YYHpglCommand(std::string("LO") + kOriginDigit[static_cast<std::size_t>(origin)]);
    state.lastLabelOrigin = origin;
  }
  YYHpglPoint("PU", x0, y0);
  YYHpglLabel(words + state.labelTerminator);
  hpglPenUnknown();
}

void lineStyle() {
  const int style = yyGrAttributes.LineStyle;
  const bool known = style >= 0 && style < kHpglLineStyles;
  YYHpglCommand("LT" + std::string(known ? yyHpglLineTypes[static_cast<std::size_t>(style)].trimmed() : ""));
}

void lineWidth() {
  const float w = std::clamp(static_cast<float>(option(kOptLineWidthTenths)) * 0.4f / kUnitsPerPoint, 0.0284f, 5.0f);
  YYHpglCommand("PW" + numfmt::writeReal(w, {'F', 5, 3}));
}

void lineAttribute(std::string_view kind, int code, std::array<char, 3> values) {
  const std::size_t i = static_cast<std::size_t>(std::clamp(option(code), 0, 2));
  YYHpglCommand(std::string(kind) + values[i]);
}

// One encoded value: base-32 digits, least significant first, the last one
// marked as the terminator.
void appendEncoded(std::string& line, std::int32_t d) {
  std::uint32_t v = d >= 0 ? 2u * static_cast<std::uint32_t>(d) : 2u * (0u - static_cast<std::uint32_t>(d)) + 1u;
  while (v >= 32) {
    line += static_cast<char>(v % 32 + 63);
    v /= 32;
  }
  line += static_cast<char>(v + 95);
}

}  // namespace

void YYHpglPenColour(std::int32_t pen, int red, int green, int blue) {
  const std::int32_t inversion = option(kOptColourInversion);
  const bool extreme = (red > 245 && green > 245 && blue > 245) || (red < 10 && green < 10 && blue < 10);
  if (inversion == 1 || (inversion == 2 && extreme)) {
    red = 255 - red;
    green = 255 - green;
    blue = 255 - blue;
  }
  YYHpglCommand("PC" + field(pen, 4) + " " + field(red, 3) + " " + field(green, 3) + " " + field(blue, 3));
}

void YYHpglFillPattern(DitherPattern pattern) {
  const DitherPattern printed = ~pattern;
  for (int half = 0; half < 2; ++half) {
    std::string line;
    for (int i = 0; i < 16; ++i) line += patternBitOf(printed, 16 * half + i) != 0 ? "1," : "0,";
    if (half == 1) line.back() = ';';
    YYHpglCommand(line);
  }
}

void YYHpgl2Arc(YYGrPrimitive opcode, std::string_view restoringText) {
  const YYGrAttributes& a = yyGrAttributes;
  pageBegun();
  hpglArcMoveToCentre(opcode);
  if (a.FillStyle == 1 || a.FillStyle == 2) fillWordsRecord(std::to_string(kPieRecord));
  hpglArcDraw(opcode, restoringText, "PD;");
}

void YYHpglEncodedPolyline() {
  constexpr std::string_view kStart = "PE7";
  const int n = bufferedPointCount();
  std::string line(kStart);
  for (int i = 1; i < n; ++i) {
    std::string step;
    appendEncoded(step, hpglPlotterX(hpglBufferX(i)) - hpglPlotterX(hpglBufferX(i - 1)));
    appendEncoded(step, hpglPlotterY(hpglBufferY(i)) - hpglPlotterY(hpglBufferY(i - 1)));
    // The line and its closing ";" stay within the limit.
    if (line.size() > kStart.size() && line.size() + step.size() + 1 > static_cast<std::size_t>(kEncodedLineLimit)) {
      YYHpglRawLine(line + ";");
      line = kStart;
    }
    line += step;
  }
  YYHpglRawLine(line + ";");
}

void YYGHPGL2(YYGrPrimitive& primitive) {
  switch (primitive) {
    case kOpInitialise:
      if (YYHardcopyProbeAnswered(kDriverNumber)) return;
      initialise();
      break;
    case kOpLine: line(); break;
    case kOpColour:
    case kOpColourRefresh: colour(); break;
    case kOpEllipsePattern:
    case kOpQuadPattern:
    case kOpRectanglePattern:
    case kOpTrianglePattern:
    case kOpPiePattern:
    case kOpPolygonPattern: shape(primitive); break;
    case kOpBeginPlot: beginPlot(); break;
    case kOpEndPlot: endPlot(); break;
    case kOpEndPage: endPage(); break;
    case kOpCharSize: state.charSizePending = true; break;
    case kOpText: label(); break;
    case kOpClip: hpglClip(state.window, kUnitsPerPoint); break;
    case kOpPoint: point(); break;
    case kOpPaletteEntry: paletteEntry(); break;
    case kOpLineStyle: lineStyle(); break;
    case kOpLineWidth: lineWidth(); break;
    case kOpPolyline: polyline(); break;
    case kOpCharAngle: hpglCharacterAngle(); break;
    case kOpArc: YYHpgl2Arc(kOpArc, kHpglScaleRestore); break;
    case kOpLineJoin: lineAttribute("LA2 ", kOptLineJoin, {'1', '4', '5'}); break;
    case kOpLineCap: lineAttribute("LA1 ", kOptLineCap, {'1', '4', '2'}); break;
    default: break;
  }
}
