#include "toolkit/drivers/hpgl_driver.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "toolkit/core/number_format.h"
#include "toolkit/drivers/hardcopy_dispatch.h"
#include "toolkit/drivers/hardcopy_options.h"
#include "toolkit/drivers/hardcopy_setup.h"
#include "toolkit/drivers/hpgl_line_writer.h"
#include "toolkit/drivers/plot_output.h"
#include "toolkit/graphics/colours.h"

namespace {

constexpr std::int32_t kDriverNumber = kHpglDriver;
constexpr std::string_view kDefaultOutput = "zndvplot.plt";
constexpr std::int32_t kUnit = kPlotUnitFile;
constexpr std::int32_t kPlotterUnits = 32760;
constexpr std::int32_t kEndOfFill = -1;

struct PlotterModel {
  char kindLetter;
  float unitsPerInch;
  float offsetX;
  float paperHeight;
  float paperWidth;
  std::int32_t pens;
};
constexpr int kPlotterModels = 10;
constexpr std::array<PlotterModel, kPlotterModels> YYHpglModelTable = {{
    {'U', 1016, 400, 7480, 10870, 4},
    {'H', 1021, 400, 7721, 11040, 6},
    {'H', 1021, 400, 11040, 16158, 6},
    {'E', 1016, 400, 7650, 10900, 4},
    {'F', 1016, 400, 7640, 10880, 6},
    {'H', 1016, 0, 7640, 10880, 8},
    {'H', 1016, 0, 7600, 10869, 8},
    {'H', 1016, 0, 10870, 15970, 8},
    {'F', 1016, 400, 7480, 10960, 6},
    {'F', 1016, 400, 10960, 15880, 6},
}};
constexpr std::string_view kKindLetters = "UEFH";
constexpr int kKindH = 4;

struct PlotterKind {
  std::string_view caps;
  std::int32_t nativeFillMask;
  std::string_view lineType1;
};
constexpr std::array<PlotterKind, 4> kKinds = {{
    {"00000100000000000010000000010", 0, "1 .3"},
    {"00000100000000000010000000000", 0, "1 .3"},
    {"00000100000010000010000000010", 40, "1 1"},
    {"00000100000011100010001001010", 126, "1 .3"},
}};

// Models whose end of page also feeds the paper.
constexpr bool pageFeedModel(int model) { return model == 7 || model == 8; }

constexpr std::array<int, 8> kPenSelection = {0, 2, 4, 1, 5, 3, 6, 7};

// Shape groups g = opcode / 2 - 1, 1-6, and their extended record kinds.
constexpr std::array<int, 7> kShapeRecord = {0, 5, 8, 6, 7, 4, 11};
constexpr int kGroupEllipse = 1;
constexpr int kGroupPolygon = 6;
constexpr int kNativePolygonLimit = 127;

struct YYHpglState {
  int kind = 1;
  std::int32_t nativeFillMask = 0;
  float unitsPerPoint = 1016.0f / 72.0f;
  char currentPen = ' ';
  char labelTerminator = '\x04';
  float lastThickness = -1.0f;
  bool charSizePending = true;
  bool penParked = false;
  std::int32_t lastTextMode = 0;
  std::int32_t lastTextStyle = -1;
  bool nativeFill = false;
  HpglPlotWindow window;
};
YYHpglState state;

std::int32_t& option(int code) { return hardcopyOption(code); }
bool extendedRecords() { return option(kOptHpglExtended) != 0; }

const PlotterModel& currentModel() {
  const int model = std::clamp(yyRasterDevice.plotterModel, 1, kPlotterModels);
  return YYHpglModelTable[static_cast<std::size_t>(model - 1)];
}

void selectPenForDrawing() {
  YYGrState& g = yyGrState;
  if (g.PageBegun != 0) return;
  g.PageBegun = -1;
  if (state.penParked) {
    YYHpglCommand(std::string("SP") + state.currentPen);
    state.penParked = false;
  }
}

void initialise() {
  YYDriverDefaults();
  const PlotterModel& model = currentModel();
  const std::size_t letter = kKindLetters.find(model.kindLetter);
  state.kind = static_cast<int>(letter) + 1;
  const PlotterKind& kind = kKinds[letter];
  state.unitsPerPoint = model.unitsPerInch / 72.0f;
  const float upp = state.unitsPerPoint;
  option(kOptOrientation) = 1;
  option(kOptPenThickness) = 80;
  option(kOptHpglExtended) = 1;
  option(kOptLabelTerminator) = 4;
  option(kOptOffsetY) = 0;
  option(kOptOffsetX) = hpglTruncate(model.offsetX / upp);
  option(kOptResetFlags) = 0;
  option(kOptNativeFill) = 0;
  option(kOptPageWidth) = hpglTruncate(model.paperWidth / upp - static_cast<float>(option(kOptOffsetX)));
  option(kOptPageHeight) = hpglTruncate(model.paperHeight / upp);
  state.charSizePending = true;

  HardcopyDeviceDescription device;
  device.resolution = 90;
  device.colourCount = model.pens;
  device.colourMax = 9;
  device.toFile = 1;
  device.platformLevel = 2;
  device.fullCircle = 360;
  device.deviceWord5 = 7;
  device.deviceWord6 = 1.7E38f;
  device.caps = kind.caps;
  YYHardcopyDescribe(device);
  yyGrState.HpglWord = model.pens;

  yyHpglLineTypes[1] = kind.lineType1;
  state.nativeFillMask = kind.nativeFillMask;
  yyHardcopyOutputName = kDefaultOutput;
  yyGrState.ActiveDriver = kDriverNumber;
}

void beginPlot() {
  hpglSetDeviceScales();
  if (yyGrState.M > 0) {
    if (!openPlotFile()) return;
    yyGrState.LineBeginMode = option(kOptLineBlank) != 0 ? 1 : 2;
    state.labelTerminator = static_cast<char>(option(kOptLabelTerminator));
    state.currentPen = ' ';
    state.lastThickness = -1.0f;
    state.penParked = false;
    state.lastTextMode = 0;
    state.lastTextStyle = -1;
    if (option(kOptResetFlags) != 0) YYHpglCommand("\x1b.Y");
    state.window = hpglPlotWindow(state.unitsPerPoint);
    const HpglPlotWindow& w = state.window;
    const std::string corners = hpglWindowNumbers(w.p1x, w.p1y, w.p2x, w.p2y);
    YYHpglCommand("IN; IP" + corners);
    YYHpglCommand((option(kOptOrientation) != 0 ? "RO  0; IP" : "RO 90; IP") + corners);
    YYHpglCommand(std::string("DT") + state.labelTerminator);
    YYHpglCommand("DI1. 0.");
    YYHpglRecord(2, false, 8, 0, 0);
    YYHpglRecord(13, false, yyRasterDevice.plotterModel, 0, 0);
  }
  YYHpglCommand(kHpglScaleRestore);
}

void endPlot() {
  if (option(kOptResetFlags) != 0) YYHpglCommand("\x1b.Z");
  YYPROUClose(kUnit);
}

void endPage() {
  yyGrState.PageBegun = 0;
  YYHpglRecord(3, true, yyGrState.M, 0, 0);
  YYHpglCommand(pageFeedModel(yyRasterDevice.plotterModel) ? "PU;SP0 ;PG;" : "PU;SP0 ;");
  state.penParked = true;
}

char penOfColour(std::int32_t colourNumber) {
  const int pens = std::max(1, yyGrState.HpglWord);
  const int entry = (((colourNumber + 16) / 32) % 8 + 8) % 8;
  return static_cast<char>('0' + kPenSelection[static_cast<std::size_t>(entry)] % pens + 1);
}

void colour() {
  const char pen = penOfColour(yyGrAttributes.ColourNumber);
  if (pen != state.currentPen) {
    state.currentPen = pen;
    YYHpglCommand(std::string("PU;SP") + pen);
    state.penParked = false;
  }
  if (yyGrAttributes.FillFallback != 0) return;
  int red = 0, green = 0, blue = 0;
  YYColourComponents(currentColourOfMode(yyGrAttributes), red, green, blue);
  YYHpglRecord(1, true, blue * 65536 + green * 256 + red, 0, 0);
}

void line() {
  YYGrState& g = yyGrState;
  selectPenForDrawing();
  hpglStroke(g.R5, g.R1, g.R6, g.R2);
}

void point() {
  YYGrState& g = yyGrState;
  selectPenForDrawing();
  hpglStroke(g.R5, g.R1, g.R5, g.R1);
}

void polyline() {
  selectPenForDrawing();
  const int n = bufferedPointCount();
  if (n == 0) return;
  hpglPenUpTo(hpglBufferX(0), hpglBufferY(0));
  for (int i = 1; i < n; ++i) YYHpglPoint("PD", hpglBufferX(i), hpglBufferY(i));
  hpglPenTo(hpglBufferX(n - 1), hpglBufferY(n - 1));
}

bool nativeFillWanted(int group) {
  const YYGrAttributes& a = yyGrAttributes;
  if (((state.nativeFillMask >> group) & 1) == 0 || option(kOptNativeFill) == 0) return false;
  if (group == kGroupPolygon && state.kind == kKindH && yyGrState.N > kNativePolygonLimit) return false;
  return a.FillStyle == 4 || (a.FillStyle == 3 && a.PreviousColourNumber == a.ColourNumber);
}

void writeFillThickness() {
  const float t = std::clamp(static_cast<float>(option(kOptPenThickness)) * 25.4f / 7200.0f, 0.1f, 5.0f);
  if (t == state.lastThickness) return;
  YYHpglCommand("FT2;PT " + numfmt::writeReal(t, {'F', 4, 2}));
  state.lastThickness = t;
}

// The engine draws the fill with lines this far apart and ends it with the
// shape's record again, M = -1.
void requestLineFill() {
  YYGrAttributes& a = yyGrAttributes;
  const YYGrState& g = yyGrState;
  a.FillFallback = 2;
  const float pageHeight = static_cast<float>(std::max(1, option(kOptPageHeight)));
  float spacing = static_cast<float>(option(kOptPenThickness)) / 100.0f * g.SurfaceHeightReal / pageHeight;
  if (a.FillStyle == 3) spacing *= 2.0f;
  yyGrState.FillLineSpacing = spacing;
}

std::int32_t fillPatternWord(int group) {
  const YYGrAttributes& a = yyGrAttributes;
  return group == kGroupEllipse ? a.FillPatternIndex : a.FillPatternGroup * 10 + a.FillPatternIndex;
}

void shapeRecord(int group) {
  const YYGrAttributes& a = yyGrAttributes;
  YYHpglRecord(kShapeRecord[static_cast<std::size_t>(group)], false, a.FillStyle, a.FillOutline,
               fillPatternWord(group));
}

void polygonBracketsClose(float x, float y) {
  YYHpglCommand("PM2;FP");
  hpglPenTo(x, y);
}

void ellipse(std::int32_t ratio) {
  const YYGrState& g = yyGrState;
  YYHpglPoint("PU", g.R5, g.R1);
  if (!state.nativeFill) shapeRecord(kGroupEllipse);
  hpglEllipse(ratio, state.nativeFill);
}

void quadrilateral() {
  const YYGrState& g = yyGrState;
  if (state.nativeFill) {
    YYHpglPoint("PU", g.R5, g.R1);
    YYHpglCommand("PM0");
    YYHpglPoint("PD", g.R6, g.R2);
    YYHpglPoint("PD", g.R7, g.R3);
    YYHpglPoint("PD", g.R8, g.R4);
    polygonBracketsClose(g.R5, g.R1);
    return;
  }
  if (!extendedRecords()) return;
  YYHpglVertexRecord(g.R5, g.R1);
  YYHpglVertexRecord(g.R7, g.R3);
  if (g.M == 1) {
    YYHpglRecord(9, false, hpglTruncate((g.R4 - g.R1) * g.DeviceScaleY), hpglTruncate((g.R3 - g.R2) * g.DeviceScaleY), 0);
  } else {
    YYHpglRecord(9, false, hpglTruncate((g.R7 - g.R8) * g.DeviceScaleX), hpglTruncate((g.R6 - g.R5) * g.DeviceScaleX), 0);
  }
  YYHpglRecord(9, true, g.M, 0, 0);
}

void rectangle() {
  const YYGrState& g = yyGrState;
  if (state.nativeFill) {
    YYHpglPoint("PU", g.R5, g.R1);
    YYHpglPoint("RA", g.R6, g.R2);
    hpglPenTo(g.R5, g.R1);
    return;
  }
  if (!extendedRecords()) return;
  YYHpglVertexRecord(g.R5, g.R1);
  YYHpglVertexRecord(g.R6, g.R2);
  YYHpglCommand(kHpglScaleRestore);
}

void triangle() {
  const YYGrState& g = yyGrState;
  if (state.nativeFill) {
    YYHpglPoint("PU", g.R5, g.R1);
    YYHpglCommand("PM0");
    YYHpglPoint("PD", g.R6, g.R2);
    YYHpglPoint("PD", g.R7, g.R3);
    polygonBracketsClose(g.R5, g.R1);
    return;
  }
  if (!extendedRecords()) return;
  YYHpglVertexRecord(g.R5, g.R1);
  YYHpglVertexRecord(g.R6, g.R2);
  YYHpglVertexRecord(g.R7, g.R3);
  YYHpglCommand(kHpglScaleRestore);
}

void pie() {
  const YYGrState& g = yyGrState;
  if (state.nativeFill) {
    YYHpglArc(kOpPiePattern, kHpglScaleRestore);
    return;
  }
  if (!extendedRecords()) return;
  YYHpglVertexRecord(g.R5, g.R1);
  YYHpglVertexRecord(g.R6, g.R2);
  YYHpglRealRecord(g.R7, g.R3);
  YYHpglCommand(kHpglScaleRestore);
}

void polygon() {
  const int n = bufferedPointCount();
  if (state.nativeFill) {
    if (n == 0) return;
    YYHpglPoint("PU", hpglBufferX(0), hpglBufferY(0));
    YYHpglCommand("PM0");
    for (int i = 1; i < n; ++i) YYHpglPoint("PD", hpglBufferX(i), hpglBufferY(i));
    polygonBracketsClose(hpglBufferX(0), hpglBufferY(0));
    return;
  }
  if (!extendedRecords()) return;
  YYHpglRecord(12, false, n, 0, 0);
  for (int i = 0; i < n; ++i) YYHpglVertexRecord(hpglBufferX(i), hpglBufferY(i));
  YYHpglCommand(kHpglScaleRestore);
}

void shape(YYGrPrimitive opcode) {
  YYGrState& g = yyGrState;
  const int group = opcode / 2 - 1;
  const int k = kShapeRecord[static_cast<std::size_t>(group)];
  if (g.M == kEndOfFill) {
    if (!state.nativeFill) YYHpglRecord(k, true, kEndOfFill, 0, 0);
    return;
  }
  // An ellipse of no height cannot be scaled into a circle: it is refused as
  // a shape the driver cannot draw.
  std::int32_t ratio = 0;
  if (group == kGroupEllipse && (g.R7 == 0.0f || !hpglAspectRatio(g.R7, ratio))) {
    g.M = kEndOfFill;
    return;
  }
  selectPenForDrawing();
  state.nativeFill = nativeFillWanted(group);
  if (state.nativeFill) {
    writeFillThickness();
  } else {
    requestLineFill();
    if (group != kGroupEllipse) shapeRecord(group);
  }
  switch (opcode) {
    case kOpEllipsePattern: ellipse(ratio); break;
    case kOpQuadPattern: quadrilateral(); break;
    case kOpRectanglePattern: rectangle(); break;
    case kOpTrianglePattern: triangle(); break;
    case kOpPiePattern: pie(); break;
    default: polygon(); break;
  }
}

void characterSize() {
  const YYGrState& g = yyGrState;
  YYHpglRecord(10, true, g.TextFamily, g.TextStyle, g.TextMode);
  state.charSizePending = true;
}

void writeCharacterSize() {
  const YYGrState& g = yyGrState;
  constexpr std::array<float, 3> kWidthFactor = {1.0f, 1.007f, 1.007f};
  constexpr std::array<float, 3> kHeightFactor = {1.0f, 1.211f, 1.211f};
  const std::size_t t = static_cast<std::size_t>(std::clamp(g.TextMode, 0, 2));
  const float width = g.CharWidth * kWidthFactor[t] * g.AreaWidthDevice * 100.0f / (1.5f * g.SurfaceWidthReal);
  const float height = g.CharHeight * kHeightFactor[t] * g.AreaHeightDevice * 100.0f / (2.0f * g.SurfaceHeightReal);
  YYHpglCommand("SR" + fortranFormatList("(2F8.2)", {width, height}).value_or(""));
  state.charSizePending = false;
}

constexpr std::int32_t kItalic = 2;

void label() {
  YYGrState& g = yyGrState;
  selectPenForDrawing();
  if (state.charSizePending) writeCharacterSize();
  if (g.TextMode != state.lastTextMode || g.TextStyle != state.lastTextStyle) {
    YYHpglCommand((g.TextStyle & kItalic) != 0 ? "SL.2" : "SL0.");
    state.lastTextMode = g.TextMode;
    state.lastTextStyle = g.TextStyle;
  }
  const float a = g.TextMode == 0 ? 0.22f : 0.0f;
  const float b = g.TextMode == 0 ? 0.22f : 0.3f;
  YYHpglPoint("PU", g.R5 + a * g.CharCellX + b * g.CharStepX, g.R1 + a * g.CharCellY - b * g.CharStepY);
  const std::size_t count = static_cast<std::size_t>(std::clamp(g.X1, 0, kTextOperandLength));
  YYHpglLabel(std::string(TEXT.view().substr(0, count)) + state.labelTerminator);
  hpglPenUnknown();
}

void lineStyle() {
  const int style = yyGrAttributes.LineStyle;
  const bool known = style >= 0 && style < kHpglLineStyles;
  YYHpglCommand("LT" + std::string(known ? yyHpglLineTypes[static_cast<std::size_t>(style)].view() : ""));
}

void lineWidth() {
  if (!extendedRecords()) return;
  const float w = std::clamp(static_cast<float>(option(kOptLineWidthTenths)) * 0.4f / state.unitsPerPoint, 0.1f, 5.0f);
  YYHpglCommand("PW" + numfmt::writeReal(w, {'F', 5, 3}));
}

// k in I1 (I2 from 10 on), a in I9 for the colour record, else I6, then b
// and c + 32760 in I6; each value held to its field, so that a record never
// turns into asterisks that a plotter cannot read.
std::string recordFields(int k, std::int32_t a, std::int32_t b, std::int32_t c) {
  return hpglIntegerField(k, k < 10 ? 1 : 2) + hpglNumberField(a, k == 1 ? 9 : 6) + hpglNumberField(b, 6) +
         hpglNumberField(static_cast<double>(c) + kPlotterUnits, 6);
}

}  // namespace

bool hpglAspectRatio(float factor, std::int32_t& ratio) {
  const YYGrState& g = yyGrState;
  const float divisor = static_cast<float>(option(kOptPageWidth)) * g.AreaHeightFraction * factor;
  if (divisor == 0.0f) return false;
  ratio = hpglTruncate(static_cast<float>(option(kOptPageHeight)) * g.AreaWidthFraction * static_cast<float>(kPlotterUnits) /
                    divisor);
  return true;
}

void hpglEllipse(std::int32_t ratio, bool filled) {
  const YYGrState& g = yyGrState;
  float radius = g.R6;
  if (ratio <= kPlotterUnits) {
    YYHpglCommand("SC0 32760 0 " + hpglIntegerField(ratio, 5));
  } else {
    YYHpglCommand("SC0 " + hpglIntegerField(kPlotterUnits * kPlotterUnits / ratio, 5) + " 0 32760");
    radius = g.R6 * static_cast<float>(kPlotterUnits) / static_cast<float>(ratio);
  }
  if (filled) YYHpglCommand("PM0");
  YYHpglPoint("CI", radius, 0.0f);
  if (filled) YYHpglCommand("PM2;FP");
  hpglPenTo(g.R5, g.R1);
  YYHpglCommand(kHpglScaleRestore);
}

void YYHpglRecord(int k, bool restore, std::int32_t a, std::int32_t b, std::int32_t c) {
  if (!extendedRecords()) return;
  std::string line = "SC-" + recordFields(k, a, b, c);
  if (restore) line += ";" + std::string(kHpglScaleRestore);
  YYHpglCommand(line);
}

void YYHpglVertexRecord(float x, float y) {
  if (!extendedRecords()) return;
  YYHpglCommand("SC-9 " + hpglNumberField(hpglPlotterX(x), 6) + hpglNumberField(hpglPlotterY(y), 6) + " 0");
}

void YYHpglRealRecord(float a, float b) {
  if (!extendedRecords()) return;
  YYHpglCommand("SC-9 " + fortranFormatList("(2F10.4)", {a, b}).value_or("") + " 0");
}

bool hpglArcIsSector() {
  const YYGrAttributes& a = yyGrAttributes;
  return a.FillStyle != 0 || a.FillOutline < 3;
}

void hpglArcMoveToCentre(YYGrPrimitive primitive) {
  if (primitive == kOpPiePattern || hpglArcIsSector()) YYHpglPoint("PU", yyGrState.R5, yyGrState.R1);
}

void hpglArcDraw(YYGrPrimitive primitive, std::string_view restoringText, std::string_view penDownLine) {
  const YYGrState& g = yyGrState;
  std::int32_t ratio = kPlotterUnits;
  hpglAspectRatio(1.0f, ratio);
  float cx = g.R5;
  float cy = g.R1;
  float radius = g.R6;
  if (ratio <= kPlotterUnits) {
    YYHpglCommand("SC0 32760 0 " + hpglIntegerField(ratio, 5));
    cy = static_cast<float>(ratio) * g.R1 / static_cast<float>(kPlotterUnits);
  } else {
    const std::int32_t shrunk = kPlotterUnits * kPlotterUnits / ratio;
    YYHpglCommand("SC0 " + hpglIntegerField(shrunk, 5) + " 0 32760");
    cx = static_cast<float>(shrunk) * g.R5 / static_cast<float>(kPlotterUnits);
    radius = g.R6 * static_cast<float>(kPlotterUnits) / static_cast<float>(ratio);
  }
  const float sx = g.DeviceScaleX;
  const float sy = g.DeviceScaleY;
  if (hpglArcIsSector()) {
    const std::string command = primitive == kOpPiePattern ? "WG" : "EW";
    YYHpglCommand(command + hpglIntegerField(hpglTruncate(radius * sx), 6) +
                  fortranFormatList("(2F7.1)", {g.R8, g.R4}).value_or(""));
    hpglPenTo(g.R5, g.R1);
  } else {
    // The arc starts where the start angle meets the circle; the radius is
    // in x units, which the scale line made round.
    const float startX = std::cos(g.R7) * radius * sx + cx * sx;
    const float startY = std::sin(g.R7) * radius * sx + cy * sy;
    YYHpglCommand("PU" + hpglNumberField(hpglTruncate(startX), 6) + hpglNumberField(hpglTruncate(startY), 6));
    YYHpglCommand(penDownLine);
    YYHpglCommand("AA" + hpglNumberField(hpglTruncate(cx * sx), 6) + hpglNumberField(hpglTruncate(cy * sy), 6) +
                  numfmt::writeReal(g.R4, {'F', 7, 1}));
    hpglPenUnknown();
  }
  YYHpglCommand(restoringText);
}

void YYHpglArc(YYGrPrimitive primitive, std::string_view restoringText) {
  hpglArcMoveToCentre(primitive);
  hpglArcDraw(primitive, restoringText, "PD");
}

void YYGHPGL(YYGrPrimitive& primitive) {
  switch (primitive) {
    case kOpInitialise:
      if (YYHardcopyProbeAnswered(kDriverNumber)) return;
      initialise();
      break;
    case kOpLine: line(); break;
    case kOpColour: colour(); break;
    case kOpEllipsePattern:
    case kOpQuadPattern:
    case kOpRectanglePattern:
    case kOpTrianglePattern:
    case kOpPiePattern:
    case kOpPolygonPattern: shape(primitive); break;
    case kOpBeginPlot: beginPlot(); break;
    case kOpEndPlot: endPlot(); break;
    case kOpEndPage: endPage(); break;
    case kOpCharSize: characterSize(); break;
    case kOpText: label(); break;
    case kOpClip: hpglClip(state.window, state.unitsPerPoint); break;
    case kOpPoint: point(); break;
    case kOpLineStyle: lineStyle(); break;
    case kOpLineWidth: lineWidth(); break;
    case kOpPolyline: polyline(); break;
    case kOpCharAngle: hpglCharacterAngle(); break;
    case kOpArc: YYHpglArc(kOpArc, kHpglScaleRestore); break;
    default: break;
  }
}
