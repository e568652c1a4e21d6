#include "toolkit/drivers/svg_driver.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "toolkit/core/error_reporter.h"
#include "toolkit/core/number_conversion.h"
#include "toolkit/core/strings.h"
#include "toolkit/drivers/hardcopy_dispatch.h"
#include "toolkit/drivers/hardcopy_options.h"
#include "toolkit/drivers/hardcopy_setup.h"
#include "toolkit/drivers/plot_output.h"
#include "toolkit/drivers/postscript_driver.h"
#include "toolkit/graphics/colours.h"

YYSvgState yySvgState;

namespace {

constexpr std::string_view kDefaultOutput = "zndvplot.svg";
constexpr int kDocumentWidth = 640;
constexpr int kDocumentHeight = 480;
constexpr int kLastColumn = 256;  // no line but the text element passes it
constexpr float kHalfTurn = 3.1415927f;
constexpr std::string_view kCaps = "00000111111111100010011011110";

constexpr std::array<std::string_view, 3> kCapWords = {"butt", "round", "square"};
constexpr std::array<std::string_view, 3> kJoinWords = {"miter", "round", "bevel"};
constexpr std::array<std::string_view, 7> kDashArrays = {"none",        "1 5",     "6 6", "1 3 4 4",
                                                         "1 2 1 2 4 2", "5 2 3 2", "3 3"};
constexpr std::array<std::string_view, 4> kFontFamilies = {"'Courier New',Courier;", "Arial,Helvetica;",
                                                           "'Times New Roman','Times Roman';", "Symbol;"};
constexpr std::array<float, 3> kFontSizeFactors = {1.65f, 1.33f, 1.72f};

// Unicode values of the Windows-1252 codes 128-159; codes the page leaves
// undefined keep their own value.
constexpr std::array<int, 32> kCp1252High = {
    0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};

// Entry `index` of a word table, or its first entry for an index outside it.
template <std::size_t N>
std::string_view word(const std::array<std::string_view, N>& table, std::int32_t index) {
  if (index < 0 || index >= static_cast<std::int32_t>(N)) return table[0];
  return table[static_cast<std::size_t>(index)];
}

std::int32_t option(int code) { return hardcopyOption(code); }

void writeLine(std::string_view line) { YYPROUWriteText(kPlotUnitFile, line); }

std::string wholeNumber(int value) {
  FixedText<10> field;
  IntegerToString(value, field, "(I10)");
  return text::withoutLeadingBlanks(field.trimmed());
}

// The colour's six lower-case hexadecimal digits, red first.
std::string hexRgb(int red, int green, int blue) {
  FixedText<6> digits;
  YYHexRGB(red, green, blue, digits);
  return digits.str();
}

struct Components {
  int red = 0, green = 0, blue = 0;
};

Components componentsOf(std::int32_t colour) {
  Components c;
  YYColourComponents(colour, c.red, c.green, c.blue);
  return c;
}

// Option 6: 1 inverts every colour, 2 only near-black and near-white ones.
void applyInversion(Components& c) {
  const std::int32_t mode = option(kOptColourInversion);
  const bool allLow = c.red < 10 && c.green < 10 && c.blue < 10;
  const bool allHigh = c.red > 245 && c.green > 245 && c.blue > 245;
  if (mode == 1 || (mode == 2 && (allLow || allHigh))) {
    c.red = 255 - c.red;
    c.green = 255 - c.green;
    c.blue = 255 - c.blue;
  }
}

float toX(float x) { return x * yyGrState.DeviceScaleX; }
float toY(float y) { return (yyGrState.SurfaceHeightReal - y) * yyGrState.DeviceScaleY; }

std::string pointText(float x, float y) { return svgNumber(toX(x)) + "," + svgNumber(toY(y)); }

// A point list after its element's opening, wrapped before column 256; the
// continuation lines hold only points.
void writePointList(std::string_view opening, std::string_view closing, const float* xs, const float* ys,
                    int count) {
  std::string line(opening);
  for (int i = 0; i < count; ++i) {
    const std::string point = pointText(xs[i], ys[i]);
    if (line.size() + point.size() > static_cast<std::size_t>(kLastColumn)) {
      if (!line.empty() && line.back() == ' ') line.pop_back();
      writeLine(line);
      line.clear();
    }
    line += point;
    line += ' ';
  }
  if (!line.empty() && line.back() == ' ') line.pop_back();
  if (line.size() + closing.size() > static_cast<std::size_t>(kLastColumn)) {
    writeLine(line);
    line.clear();
  }
  writeLine(line + std::string(closing));
}

void writePolygon(const float* xs, const float* ys, int count) {
  writePointList("<polygon points=\"", "\"/>", xs, ys, count);
}

void closeInnerGroups(std::string& line) {
  for (; yySvgState.innerGroups > 0; --yySvgState.innerGroups) line += "</g>";
}

void closeInnerGroup() {
  if (yySvgState.innerGroups <= 0) return;
  --yySvgState.innerGroups;
  writeLine("</g>");
}

void openInnerGroup(std::string_view line) {
  writeLine(line);
  ++yySvgState.innerGroups;
}

bool strokeGroupOpen() { return yySvgState.writtenKey[0] != -1; }

void initialise() {
  YYGrState& s = yyGrState;
  YYDriverDefaults();
  hardcopyOption(kOptPageWidth) = kDocumentWidth;
  hardcopyOption(kOptPageHeight) = kDocumentHeight;
  hardcopyOption(kOptOffsetX) = 0;
  hardcopyOption(kOptOffsetY) = 0;
  hardcopyOption(kOptOrientation) = 0;
  HardcopyDeviceDescription device;
  device.resolution = 72;
  device.colourCount = 256;
  device.colourMax = 256;
  device.deviceWord3 = 1;
  device.trueColour = 1;
  device.platformLevel = 2;
  device.fullCircle = 360;
  device.deviceWord5 = 8;
  device.deviceWord6 = 1.7E38f;
  device.caps = kCaps;
  YYHardcopyDescribe(device);
  yyHardcopyOutputName = kDefaultOutput;
  s.ActiveDriver = kSvgDriver;
}

void beginPlot() {
  setDeviceScales(static_cast<float>(option(kOptPageWidth)), static_cast<float>(option(kOptPageHeight)));
  if (yyGrState.M <= 0 || !openPlotFile()) return;
  writeLine("<?xml version=\"1.0\"?>");
  writeLine("<!DOCTYPE svg SYSTEM \"\">");
  // Browsers draw only elements of the SVG namespace.
  writeLine("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + wholeNumber(option(kOptPageWidth)) +
            "\" height=\"" + wholeNumber(option(kOptPageHeight)) + "\">");
  yySvgState = YYSvgState{};
}

// Closes every group still open, so that the document is well-formed even
// when a fill or text group never got its closing record.
void endPlot() {
  std::string line;
  closeInnerGroups(line);
  if (strokeGroupOpen()) line += "</g>";
  yySvgState.writtenKey.fill(-1);
  writeLine(line + "</svg>");
  YYPROUClose(kPlotUnitFile);
}

// Option 9 in tenths of a point as whole document units, at least one.
std::int32_t strokeWidth() {
  const float units = static_cast<float>(option(kOptLineWidthTenths)) * 150.0f / 720.0f + 0.5f;
  return std::max<std::int32_t>(1, static_cast<std::int32_t>(units));
}

void strokeStyle() {
  YYSvgState& d = yySvgState;
  const YYGrAttributes& a = yyGrAttributes;
  Components c = componentsOf(currentColourOfMode(a));
  const std::int32_t width = strokeWidth();
  applyInversion(c);
  const std::array<std::int32_t, 7> key = {c.red, c.green, c.blue, width, a.LineStyle,
                                           option(kOptLineJoin), option(kOptLineCap)};
  if (key == d.writtenKey) return;
  const std::string rgb = hexRgb(c.red, c.green, c.blue);
  d.strokeColour = rgb;
  std::string line;
  // Fills and texts are nested in the stroke group: they close with it.
  closeInnerGroups(line);
  if (strokeGroupOpen()) line += "</g>";
  if (!line.empty()) writeLine(line);
  writeLine("<g style=\"fill:none;stroke:#" + rgb + ";stroke-dasharray:" + std::string(word(kDashArrays, a.LineStyle)) +
            ";stroke-width:" + wholeNumber(width) + ";stroke-linejoin:" +
            std::string(word(kJoinWords, option(kOptLineJoin))) +
            ";stroke-linecap:" + std::string(word(kCapWords, option(kOptLineCap))) + "\">");
  d.writtenKey = key;
}

void line() {
  YYGrState& s = yyGrState;
  s.PageBegun = -1;
  writeLine("<line x1=\"" + svgNumber(toX(s.R5)) + "\" y1=\"" + svgNumber(toY(s.R1)) + "\" x2=\"" +
            svgNumber(toX(s.R6)) + "\" y2=\"" + svgNumber(toY(s.R2)) + "\"/>");
}

void point() {
  YYGrState& s = yyGrState;
  s.PageBegun = -1;
  const std::string x = svgNumber(toX(s.R5));
  const std::string y = svgNumber(toY(s.R1));
  writeLine("<line x1=\"" + x + "\" y1=\"" + y + "\" x2=\"" + x + "\" y2=\"" + y + "\" />");
}

void polyline() {
  yyGrState.PageBegun = -1;
  writePointList("<polyline points=\"", "\"/>", yyGrPointBuffer.x.data(), yyGrPointBuffer.y.data(), bufferedPointCount());
}

void openFillGroup() {
  YYSvgState& d = yySvgState;
  const YYGrAttributes& a = yyGrAttributes;
  Components c = componentsOf(currentColourOfMode(a));
  if (a.FillStyle == 3) {
    const Components p = componentsOf(previousColourOfMode(a));
    c.red = (c.red + p.red) / 2;
    c.green = (c.green + p.green) / 2;
    c.blue = (c.blue + p.blue) / 2;
  }
  applyInversion(c);
  const std::string rgb = hexRgb(c.red, c.green, c.blue);
  d.fillColour = rgb;
  std::string group = "<g style=\"stroke:none;fill:#" + rgb;
  if (d.clipFlag != 0) group += ";clip-path:url(#clip" + wholeNumber(d.clipCounter) + ")";
  openInnerGroup(group + "\">");
}

void shape(std::int32_t opcode) {
  YYGrState& s = yyGrState;
  const YYGrAttributes& a = yyGrAttributes;
  if (s.M == -1) {
    if (a.FillStyle > 2) closeInnerGroup();
    return;
  }
  s.PageBegun = -1;
  if (a.FillStyle < 3 && opcode != kOpEllipsePattern) return;
  if (a.FillStyle >= 3) openFillGroup();
  switch (opcode) {
    case kOpEllipsePattern:
      writeLine("<ellipse cx=\"" + svgNumber(toX(s.R5)) + "\" cy=\"" + svgNumber(toY(s.R1)) + "\" rx=\"" +
                svgNumber(s.R6 * s.DeviceScaleX) + "\" ry=\"" + svgNumber(s.R2 * s.DeviceScaleY) + "\"/>");
      break;
    case kOpQuadPattern: {
      const float xs[] = {s.R5, s.R6, s.R7, s.R8};
      const float ys[] = {s.R1, s.R2, s.R3, s.R4};
      writePolygon(xs, ys, 4);
      break;
    }
    case kOpRectanglePattern: {
      const float xs[] = {s.R5, s.R6, s.R6, s.R5};
      const float ys[] = {s.R1, s.R1, s.R2, s.R2};
      writePolygon(xs, ys, 4);
      break;
    }
    case kOpTrianglePattern: {
      const float xs[] = {s.R5, s.R6, s.R7};
      const float ys[] = {s.R1, s.R2, s.R3};
      writePolygon(xs, ys, 3);
      break;
    }
    case kOpPiePattern: YYSvgArc(opcode); break;
    default: writePolygon(yyGrPointBuffer.x.data(), yyGrPointBuffer.y.data(), bufferedPointCount()); break;
  }
}

// The text as SVG character data: markup characters and every code of 128 and
// above (by its Windows-1252 meaning) as references, control codes dropped.
// A ">" stays as it is unless it would end "]]>", which XML forbids in text.
std::string escapedText(std::string_view raw) {
  std::string out;
  for (const char ch : raw) {
    const int code = static_cast<unsigned char>(ch);
    if (code < 32) continue;
    const bool endsCdataMark = code == '>' && out.ends_with("]]");
    if (code == '&' || code == '<' || code >= 128 || endsCdataMark) {
      const int unicode = code >= 128 && code < 160 ? kCp1252High[static_cast<std::size_t>(code - 128)] : code;
      out += "&#" + wholeNumber(unicode) + ";";
    } else {
      out += ch;
    }
  }
  return out;
}

void openTextGroup() {
  const YYGrState& s = yyGrState;
  std::string group = "<g style=\"fill:#" + std::string(yySvgState.strokeColour.view()) + ";stroke:none;font-family:";
  if (s.TextFamily >= 1 && s.TextFamily <= 4) group += kFontFamilies[static_cast<std::size_t>(s.TextFamily - 1)];
  if (s.TextFamily != 4) {
    if ((s.TextStyle & 1) != 0) group += "font-weight:bold;";
    if ((s.TextStyle & 2) != 0) group += "font-style:italic;";
  }
  if (s.TextMode != 1) {
    if (s.TextAlign == 1) group += "text-anchor:middle;";
    if (s.TextAlign == 2) group += "text-anchor:end;";
  }
  const float factor = s.TextMode >= 0 && s.TextMode <= 2 ? kFontSizeFactors[static_cast<std::size_t>(s.TextMode)]
                                                          : kFontSizeFactors[0];
  const float size = s.CharWidth * factor * s.AreaWidthDevice * s.DeviceScaleX;
  openInnerGroup(group + "font-size:" + svgNumber(size) + "\">");
}

void textElement() {
  YYGrState& s = yyGrState;
  if ((s.X2 & 1) != 0) openTextGroup();
  float x = s.R5;
  float y = s.R1;
  if (s.TextMode != 1 && s.TextAlign == 1) {
    x = (s.R5 + s.R7) / 2.0f;
    y = (s.R1 + s.R3) / 2.0f;
  } else if (s.TextMode != 1 && s.TextAlign == 2) {
    x = s.R7;
    y = s.R3;
  }
  x += 0.2f * s.CharStepX;
  y -= 0.2f * s.CharStepY;
  std::string element = "<text transform=\"translate(" + svgNumber(toX(x)) + "," + svgNumber(toY(y)) + ")";
  if (s.CharAngle != 0.0f) element += "rotate(" + svgNumber(-s.CharAngle) + ")";
  const int length = std::clamp<std::int32_t>(s.X1, 0, TEXT.length());
  element += "\">" + escapedText(TEXT.view().substr(0, static_cast<std::size_t>(length))) + "</text>";
  writeLine(element);
  if ((s.X2 & 2) != 0) closeInnerGroup();
}

void clipRectangle() {
  const YYGrState& s = yyGrState;
  YYSvgState& d = yySvgState;
  const bool partial = s.AreaY2 < 1.0f || s.AreaY1 > 0.0f || s.AreaX1 > 0.0f || s.AreaX2 < 1.0f;
  if (!partial) {
    d.clipFlag = 0;
    return;
  }
  d.clipFlag = -1;
  ++d.clipCounter;
  const float x = s.ViewportLeftReal * s.DeviceScaleX;
  const float y = (s.SurfaceHeightReal - s.ViewportTopReal) * s.DeviceScaleY;
  const float w = s.ViewportRightReal * s.DeviceScaleX - x;
  const float h = (s.SurfaceHeightReal - s.ViewportBottomReal) * s.DeviceScaleY - y;
  writeLine("<defs><clipPath id=\"clip" + wholeNumber(d.clipCounter) + "\"><rect width=\"" + svgNumber(w) +
            "\" height=\"" + svgNumber(h) + "\" x=\"" + svgNumber(x) + "\" y=\"" + svgNumber(y) +
            "\"/></clipPath></defs>");
}

}  // namespace

void YYSvgNumber(float value, TextField text, int& first, int& last) {
  IRealToString(value, text, "(F8.2)");
  YYTokenScan(text.view(), first, last);
  if (first == 0) return;
  const std::string_view written = text.view().substr(static_cast<std::size_t>(first - 1),
                                                      static_cast<std::size_t>(last - first + 1));
  if (written.ends_with(".00")) {
    last -= 3;
  } else if (written.ends_with('0') && written.find('.') != std::string_view::npos) {
    last -= 1;
  }
}

std::string svgNumber(float value) {
  FixedText<8> field;
  int first = 0;
  int last = 0;
  YYSvgNumber(value, field, first, last);
  if (first == 0 || last < first) return "0";
  return std::string(field.view().substr(static_cast<std::size_t>(first - 1),
                                         static_cast<std::size_t>(last - first + 1)));
}

void YYSvgArc(std::int32_t opcode) {
  YYGrState& s = yyGrState;
  const YYGrAttributes& a = yyGrAttributes;
  s.PageBegun = -1;
  const std::string start = pointText(s.R5 + s.R6 * std::cos(s.R7), s.R1 + s.R2 * std::sin(s.R7));
  const std::string end = pointText(s.R5 + s.R6 * std::cos(s.R3), s.R1 + s.R2 * std::sin(s.R3));
  const std::string large = s.R3 - s.R7 >= kHalfTurn ? "1" : "0";
  std::string path = "<path d=\"M " + start + " A " + svgNumber(s.R6 * s.DeviceScaleX) + "," +
                     svgNumber(s.R2 * s.DeviceScaleY) + " 0 " + large + " 0 " + end;
  if (a.FillOutline <= 2 || a.FillStyle != 0 || opcode == kOpPiePattern) {
    path += " L " + pointText(s.R5, s.R1) + " L " + start;
  }
  writeLine(path + "\"/>");
}

void YYGSVG(YYGrPrimitive& primitive) {
  switch (primitive) {
    case kOpInitialise:
      if (YYHardcopyProbeAnswered(kSvgDriver)) return;
      initialise();
      break;
    case kOpBeginPlot: beginPlot(); break;
    case kOpEndPlot: endPlot(); break;
    case kOpColour:
    case kOpLineStyle:
    case kOpLineWidth:
    case kOpLineJoin:
    case kOpLineCap: strokeStyle(); break;
    case kOpLine: line(); break;
    case kOpPoint: point(); break;
    case kOpPolyline: polyline(); break;
    case kOpEllipsePattern:
    case kOpQuadPattern:
    case kOpRectanglePattern:
    case kOpTrianglePattern:
    case kOpPiePattern:
    case kOpPolygonPattern: shape(primitive); break;
    case kOpArc: YYSvgArc(primitive); break;
    case kOpText: textElement(); break;
    case kOpClip: clipRectangle(); break;
    default: break;
  }
}
