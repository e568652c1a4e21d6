// The PostScript and EPS file driver.
#include "toolkit/drivers/postscript_driver.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "toolkit/core/error_reporter.h"
#include "toolkit/core/number_conversion.h"
#include "toolkit/core/number_format.h"
#include "toolkit/drivers/hardcopy_dispatch.h"
#include "toolkit/drivers/hardcopy_options.h"
#include "toolkit/drivers/hardcopy_setup.h"
#include "toolkit/drivers/plot_output.h"
#include "toolkit/graphics/colours.h"
#include "toolkit/graphics/image_reading.h"

YYPsState yyPsState;

namespace {

constexpr std::int32_t kDriverNumber = kPostScriptDriver;
constexpr std::int32_t kUnit = kPlotUnitFile;
constexpr std::size_t kLineLimit = 255;
constexpr std::size_t kEscapedTextLimit = 249;
constexpr std::size_t kHexLineLength = 240;
constexpr int kImageTooLarge = 34;  // "Requested page size too large for raster image buffer"
constexpr float kRadiansPerDegree = 0.017453292f;
constexpr float kAnchorShift = 0.27f;
constexpr std::string_view kDefaultOutput = "zndvplot.ps";
constexpr std::string_view kCaps = "00000111111111100010011011110";
constexpr std::string_view kHeader = "%!PS-Adobe-3.0 EPSF-3.0";
constexpr std::size_t kPostScriptHeaderLength = 14;

constexpr std::string_view kProlog[] = {
    "/l {lineto} def/m {moveto} def/g {setrgbcolor} def/w {setlinewidth} def",
    "/d {setdash} def/cf {closepath fill} def/s {stroke} def/ff {findfont} def",
    "/ms {makefont setfont} def/ro {rotate} def/cs {closepath stroke} def",
    "/lsh {show} def/rsh {dup stringwidth pop 0 exch sub 0 rmoveto show} def",
    "/csh {dup stringwidth pop 2 div 0 exch sub 0 rmoveto show} def",
};

struct FontFamily {
  std::string_view base;
  std::array<std::string_view, 4> variants;  // appended to the base to find the font
};
constexpr std::array<FontFamily, 3> kFontFamilies = {{
    {"/Courier", {" ff", "-Bold ff", "-Oblique ff", "-BoldOblique ff"}},
    {"/Helvetica", {" ff", "-Bold ff", "-Oblique ff", "-BoldOblique ff"}},
    {"/Times", {"-Roman ff", "-Bold ff", "-Italic ff", "-BoldItalic ff"}},
}};
constexpr std::string_view kSymbolFamily = "/Symbol";
constexpr int kSymbolFamilyNumber = 4;

// Width and height factors of the font matrix by TextMode 0-3.
constexpr std::array<float, 4> kTextWidthFactors = {1.65f, 1.33f, 1.72f, 0.999f};
constexpr std::array<float, 4> kTextHeightFactors = {1.0f, 0.82f, 0.82f, 0.82f};

constexpr std::array<std::string_view, 7> kPsDashTable = {
    "[] 0", "[1 5] 4", "[6 6] 3", "[1 3 4 4] 0", "[1 2 1 2 4 2] 0", "[5 2 3 2] 2", "[3 3] 1",
};
constexpr std::array<std::string_view, 3> kAnchorWords = {"lsh", "csh", "rsh"};

std::int32_t option(int code) { return hardcopyOption(code); }
bool encapsulated() { return option(kOptEncapsulated) != 0; }

// ---- numbers ---------------------------------------------------------------

// A real held inside what an Fw.d field can show.  A field of asterisks would
// reach the reader as an undefined name and stop the whole document.
double withinField(double value, int width, int decimals) {
  if (std::isnan(value)) return 0.0;
  const double step = std::pow(10.0, -decimals);
  const double largest = std::pow(10.0, width - decimals - 1) - step;
  const double lowest = -(std::pow(10.0, width - decimals - 2) - step);
  return std::clamp(value, lowest, largest);
}

std::string fixed(double value, int width, int decimals) {
  return formatF(withinField(value, width, decimals), width, decimals);
}

// Reals in Fw.d, each held to its field.  A blank goes between the fields: a
// number that fills its field would otherwise run into the one before it.
std::string fixedList(std::initializer_list<double> values, int width, int decimals) {
  std::vector<FormatItem> items;
  std::string format = "(";
  for (const double v : values) {
    if (!items.empty()) format += "1X,";
    format += "F" + std::to_string(width) + "." + std::to_string(decimals) + ",";
    items.emplace_back(withinField(v, width, decimals));
  }
  format.back() = ')';
  return fortranFormatList(format, items).value_or(std::string());
}

// The last number of a drawing line loses one zero of a whole value's ".00".
void shortenLastNumber(std::string& numbers) {
  if (numbers.size() >= 3 && numbers.compare(numbers.size() - 3, 3, ".00") == 0) numbers.back() = ' ';
}

std::string integerField(int value, std::string_view format, int width) {
  std::string field(static_cast<std::size_t>(width), ' ');
  IntegerToString(value, TextField(field.data(), width), format);
  return field;
}

// ---- lines -----------------------------------------------------------------

void writeLine(std::string_view line) {
  if (yyGrState.LineBeginMode == 1) YYPROUWriteBytes(kUnit, " ");
  YYPROUWriteText(kUnit, line);
}

std::string collapsed(std::string_view text) {
  std::string out;
  bool blankPending = false;
  for (const char c : text) {
    if (c == ' ') {
      blankPending = !out.empty();
      continue;
    }
    if (blankPending) out += ' ';
    blankPending = false;
    out += c;
  }
  return out;
}

// ---- colours ---------------------------------------------------------------

using Colour = std::array<float, 3>;

Colour psColour(std::int32_t value) {
  Colour c{};
  YYPsColour(value, c[0], c[1], c[2]);
  return c;
}

void writeColourIfChanged(bool record) {
  YYPsState& ps = yyPsState;
  if (ps.current == ps.written) return;
  if (record) ps.written = ps.current;
  YYPsTriple(ps.current[0], ps.current[1], ps.current[2], "g");
}

// ---- paths -----------------------------------------------------------------

bool pathFull() { return yyPsState.segments >= option(kOptPathSegments); }

bool continuesPath(float x, float y) {
  const YYGrState& s = yyGrState;
  return yyPsState.segments > 0 && s.PenX == x && s.PenY == y;
}

void lineTo(float x1, float y1, float x2, float y2) {
  YYGrState& s = yyGrState;
  s.PageBegun = -1;
  if (pathFull()) YYPsPaint(kPsStroke);
  if (!continuesPath(x1, y1)) YYPsPoint(x1, y1, "m");
  YYPsPoint(x2, y2, "l");
  ++yyPsState.segments;
  s.PenX = x2;
  s.PenY = y2;
}

void polyline() {
  YYGrState& s = yyGrState;
  const YYGrPointBuffer& b = yyGrPointBuffer;
  const int n = bufferedPointCount();
  s.PageBegun = -1;
  if (n < 1) return;
  if (pathFull()) YYPsPaint(kPsStroke);
  if (!continuesPath(b.x[0], b.y[0])) YYPsPoint(b.x[0], b.y[0], "m");
  for (std::size_t i = 1; i < static_cast<std::size_t>(n); ++i) {
    if (pathFull()) {
      YYPsPaint(kPsStroke);
      YYPsPoint(b.x[i - 1], b.y[i - 1], "m");
    }
    YYPsPoint(b.x[i], b.y[i], "l");
    ++yyPsState.segments;
  }
  s.PenX = b.x[static_cast<std::size_t>(n - 1)];
  s.PenY = b.y[static_cast<std::size_t>(n - 1)];
}

// A closed figure of the given corners, filled.
void fillCorners(std::initializer_list<std::pair<float, float>> corners) {
  bool first = true;
  for (const auto& [x, y] : corners) {
    YYPsPoint(x, y, first ? "m" : "l");
    first = false;
  }
  yyPsState.segments = static_cast<std::int32_t>(corners.size());
  YYPsPaint(kPsFill);
}

// The y scale of ellipses and arcs: "gsave 1.0 q scale newpath".  Nothing is
// drawn for a flat or undefined ratio, whose scale would leave no picture and
// whose divisions would not be numbers.
bool writeScaleLine(float q) {
  if (q == 0.0f || !std::isfinite(q)) return false;
  std::string line = "gsave 1.0          scale newpath";
  line.replace(10, 8, fixed(q, 8, 4));
  YYPsLine(line);
  return true;
}

void ellipse() {
  const YYGrState& s = yyGrState;
  const float q = s.AreaHeightFraction * s.R7 / s.AreaWidthFraction;
  if (!writeScaleLine(q)) return;
  YYPsTriple(s.R5 * s.DeviceScaleX, s.R1 * s.DeviceScaleY / q, s.R6 * s.DeviceScaleX, "90. 450. arc");
  writeColourIfChanged(false);
  YYPsLine(yyGrAttributes.FillStyle <= 2 ? "s" : "cf");
  YYPsLine("grestore");
}

void rectangle() {
  const YYGrState& s = yyGrState;
  float x1 = s.R5, y1 = s.R1, x2 = s.R6, y2 = s.R2;
  if (encapsulated()) {
    x1 = std::max(s.ViewportLeftReal, x1);
    y1 = std::max(s.ViewportBottomReal, y1);
    x2 = std::min(s.ViewportRightReal, x2);
    y2 = std::min(s.ViewportTopReal, y2);
  }
  fillCorners({{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}});
}

void polygon() {
  const YYGrPointBuffer& b = yyGrPointBuffer;
  const int n = bufferedPointCount();
  if (n < 1) return;
  YYPsPoint(b.x[0], b.y[0], "m");
  for (std::size_t i = 1; i < static_cast<std::size_t>(n); ++i) YYPsPoint(b.x[i], b.y[i], "l");
  yyPsState.segments = n;
  YYPsPaint(kPsFill);
}

// The odd shape records: fills of fill style 3 or more, and the ellipse also
// as an outline; their outlines otherwise reach the driver as lines.
void shape(std::int32_t opcode) {
  YYGrState& s = yyGrState;
  const YYGrAttributes& a = yyGrAttributes;
  YYPsState& ps = yyPsState;
  if (s.M == -1) {
    if (a.FillStyle > 0) YYPsPaint(kPsStroke);
    ps.current = psColour(ps.lineColour);
    return;
  }
  s.PageBegun = -1;
  if (a.FillStyle > 2 || (option(kOptMonochrome) != 0 && a.FillStyle > 0)) {
    YYPsPaint(kPsStroke);
    ps.current = psColour(currentColourOfMode(a));
    if (a.FillStyle == 3) {
      const Colour previous = psColour(previousColourOfMode(a));
      for (std::size_t i = 0; i < 3; ++i) ps.current[i] = (previous[i] + ps.current[i]) / 2.0f;
    }
  }
  if (a.FillStyle < 3 && opcode != kOpEllipsePattern) return;
  switch (opcode) {
    case kOpQuadPattern:
      fillCorners({{s.R5, s.R1}, {s.R6, s.R2}, {s.R7, s.R3}, {s.R8, s.R4}});
      break;
    case kOpRectanglePattern: rectangle(); break;
    case kOpTrianglePattern: fillCorners({{s.R5, s.R1}, {s.R6, s.R2}, {s.R7, s.R3}}); break;
    case kOpPolygonPattern: polygon(); break;
    case kOpPiePattern: YYPsArc(opcode); break;
    default: ellipse(); break;
  }
}

void colour() {
  const YYGrAttributes& a = yyGrAttributes;
  YYPsState& ps = yyPsState;
  const std::int32_t value =
      option(kOptMonochrome) != 0 && a.ColourNumber != 0 ? -1 : currentColourOfMode(a);
  ps.lineColour = value;
  const Colour next = psColour(value);
  if (next == ps.current) return;
  YYPsPaint(kPsStroke);
  ps.current = next;
}

// ---- text ------------------------------------------------------------------

void selectFont() {
  const YYGrState& s = yyGrState;
  YYPsState& ps = yyPsState;
  ps.fontPending = 0;
  int family = s.TextFamily;
  // A family the driver does not know keeps the font in force; with none
  // selected yet there would be nothing to show the text with.
  if (family < 1 || family > kSymbolFamilyNumber) {
    if (ps.fontSelected) return;
    family = 1;
  }
  const float w = std::clamp(s.CharWidth * s.AreaWidthDevice * s.DeviceScaleX, 1.0f, 999.0f);
  const float h = std::clamp(s.CharHeight * s.AreaHeightDevice * s.DeviceScaleY, 1.0f, 999.0f);
  const std::size_t mode = s.TextMode >= 0 && s.TextMode < 4 ? static_cast<std::size_t>(s.TextMode) : 0;
  std::string name;
  if (family == kSymbolFamilyNumber) {
    name = kSymbolFamily;
  } else {
    const int variant = ((s.TextStyle % 4) + 4) % 4 + 1;
    name = std::string(kFontFamilies[static_cast<std::size_t>(family - 1)].base) + "-" + std::to_string(variant);
  }
  const std::string width = text::withoutLeadingBlanks(fixed(w * kTextWidthFactors[mode], 5, 1));
  const std::string height = fixed(h * kTextHeightFactors[mode], 5, 1);
  YYPsLine(name + " ff [" + width + " 0 0 " + height + " 0 0] ms");
  ps.fontSelected = true;
}

// "(" text ")": parentheses and backslashes escaped, cut only between whole
// escape units so that no lone backslash meets the closing parenthesis.
std::string escapedText(std::string_view text) {
  std::string out = "(";
  for (const char c : text) {
    const bool escape = c == '(' || c == ')' || c == '\\';
    if (out.size() - 1 + (escape ? 2 : 1) > kEscapedTextLimit) break;
    if (escape) out += '\\';
    out += c;
  }
  return out;
}

void textRecord() {
  YYGrState& s = yyGrState;
  s.PageBegun = -1;
  YYPsPaint(kPsColourOnly);
  if (yyPsState.fontPending != 0) selectFont();
  const float px = s.R5 + kAnchorShift * s.CharStepX;
  const float py = s.R1 - kAnchorShift * s.CharStepY;
  float x = px, y = py;
  std::size_t align = 0;
  if (s.TextMode != 1 && (s.TextAlign == 1 || s.TextAlign == 2)) {
    align = static_cast<std::size_t>(s.TextAlign);
    const float ex = s.R7 + kAnchorShift * s.CharStepX;
    const float ey = s.R3 - kAnchorShift * s.CharStepY;
    x = align == 1 ? (px + ex) / 2.0f : ex;
    y = align == 1 ? (py + ey) / 2.0f : ey;
  }
  YYPsPoint(x, y, "m");
  const float a = std::trunc(s.CharAngle);
  if (s.CharAngle != 0.0f) YYPsReal(a, "ro");
  const std::size_t length = static_cast<std::size_t>(std::clamp(s.X1, 0, TEXT.length()));
  YYPsRawLine(escapedText(TEXT.view().substr(0, length)) + ") " + std::string(kAnchorWords[align]));
  if (s.CharAngle != 0.0f) YYPsReal(360.0f - a, "ro");
  s.PenX = -9999.0f;
  s.PenY = -9999.0f;
}

// ---- attributes ------------------------------------------------------------

void clipRectangle() {
  if (encapsulated()) return;
  const YYGrState& s = yyGrState;
  YYPsPaint(kPsStroke);
  YYPsLine("initclip");
  const float left = std::trunc(s.ViewportLeftReal);
  const float bottom = std::trunc(s.ViewportBottomReal);
  const float right = std::trunc(s.ViewportRightReal + 0.99f);
  const float top = std::trunc(s.ViewportTopReal + 0.99f);
  YYPsPoint(left, bottom, "m");
  YYPsPoint(right, bottom, "l");
  YYPsPoint(right, top, "l");
  YYPsPoint(left, top, "l");
  YYPsLine("clip");
  YYPsLine("newpath");
}

void lineStyle() {
  YYPsState& ps = yyPsState;
  const std::int32_t style = yyGrAttributes.LineStyle;
  if (style == ps.writtenLineStyle) return;
  YYPsPaint(kPsStroke);
  // A style the table lacks is drawn solid.
  const std::size_t entry = style >= 0 && style < 7 ? static_cast<std::size_t>(style) : 0;
  YYPsLine(std::string(kPsDashTable[entry]) + " d");
  ps.writtenLineStyle = style;
}

void lineWidth() {
  YYPsState& ps = yyPsState;
  const std::int32_t tenths = option(kOptLineWidthTenths);
  if (tenths == ps.writtenLineWidth) return;
  YYPsPaint(kPsStroke);
  YYPsReal(static_cast<float>(tenths) / 10.0f, "w");
  ps.writtenLineWidth = tenths;
}

// The join (0 miter, 1 round, 2 bevel) or cap digit; readers refuse others.
char modeDigit(int code) { return static_cast<char>('0' + std::clamp(option(code), 0, 2)); }

void lineJoin() {
  YYPsPaint(kPsStroke);
  std::string line = "  setlinejoin";
  line[0] = modeDigit(kOptLineJoin);
  YYPsLine(line);
  if (line[0] == '0') YYPsReal(5.0f, "setmiterlimit");
}

void lineCap() {
  YYPsPaint(kPsStroke);
  std::string line = "  setlinecap";
  line[0] = modeDigit(kOptLineCap);
  YYPsLine(line);
}

// ---- images ----------------------------------------------------------------

void writeImageData(const std::vector<std::int32_t>& colours) {
  std::string line;
  FixedText<6> hex;
  for (const std::int32_t rgb : colours) {
    int red = 0, green = 0, blue = 0;
    YYRGBSPLIT(rgb, red, green, blue);
    YYHexRGB(red, green, blue, hex);
    line += hex.view();
    if (line.size() >= kHexLineLength) {
      YYPsLine(line);
      line.clear();
    }
  }
  if (!line.empty()) YYPsLine(line);
}

void image() {
  YYGrState& s = yyGrState;
  YYPsPaint(kPsStroke);
  const long long width = s.X2;
  const long long height = s.Y2;
  // A side that is not positive holds no pixels, even when both are negative;
  // the pixel count need not fit the address space of the program.
  std::vector<std::int32_t> colours;
  if (!YYImageColoursTake(colours, width, height)) {
    s.M = kImageTooLarge;
    s.N = 0;
    return;
  }
  const int savedError = errorState.lastError;
  const int savedMode = errorState.reportingMode;
  errorState.lastError = 0;
  errorState.reportingMode = kReportSilent;
  IGrLoadImageData(TEXT.trimmed(), colours);
  errorState.reportingMode = savedMode;
  if (errorState.lastError != 0) {
    s.M = errorState.lastError;
    s.N = errorState.ioDetail;
    return;
  }
  errorState.lastError = savedError;
  s.PageBegun = -1;
  s.M = 0;
  YYPsLine("gsave");
  YYPsLine("/picstr " + integerField(static_cast<int>(std::min(3 * width, 2147483647LL)), "(I10)", 10) +
           " string def");
  YYPsPoint(std::trunc(s.ViewportLeftReal), std::trunc(s.ViewportBottomReal), "translate");
  YYPsPoint(s.ViewportRightReal - s.ViewportLeftReal, s.ViewportTopReal - s.ViewportBottomReal, "scale");
  const std::string w = std::to_string(width);
  const std::string h = std::to_string(height);
  YYPsLine(w + " " + h + " 8 [" + w + " 0 0 -" + h + " 0 " + h + "]");
  YYPsLine("{currentfile picstr readhexstring pop}");
  YYPsLine("false 3");
  YYPsLine("colorimage");
  writeImageData(colours);
  YYPsLine("grestore");
}

// ---- the plot --------------------------------------------------------------

void initialise() {
  YYGrState& s = yyGrState;
  YYDriverDefaults();
  hardcopyOption(kOptEncapsulated) = 0;
  hardcopyOption(kOptPageWidth) = 756;
  hardcopyOption(kOptPageHeight) = 540;
  hardcopyOption(kOptOffsetX) = 42;
  hardcopyOption(kOptOffsetY) = -20;
  hardcopyOption(kOptOrientation) = 1;
  hardcopyOption(kOptEndOfTransmission) = 1;
  hardcopyOption(kOptPathSegments) = 255;
  HardcopyDeviceDescription device;
  device.resolution = 600;
  device.colourCount = 256;
  device.colourMax = 256;
  device.toFile = 1;
  device.deviceWord3 = 1;
  device.trueColour = 1;
  device.platformLevel = 2;
  device.fullCircle = 360;
  device.deviceWord5 = 8;
  device.deviceWord6 = 1.7e38f;
  device.caps = kCaps;
  YYHardcopyDescribe(device);
  yyHardcopyOutputName = kDefaultOutput;
  s.ActiveDriver = kDriverNumber;
}

void writePageLine(int first, int second) {
  std::string line = "%%Page:          ";
  line.replace(8, 4, integerField(first, "(I4)", 4));
  line.replace(13, 4, integerField(second, "(I4)", 4));
  YYPsLine(line);
}

void writeFontSetUp() {
  constexpr std::string_view kCopyFont = "dup length dict begin";
  constexpr std::string_view kCopyEntries = "{1 index /FID ne {def} {pop pop} ifelse} forall";
  for (const FontFamily& family : kFontFamilies) {
    for (std::size_t v = 0; v < family.variants.size(); ++v) {
      YYPsLine(std::string(family.base) + std::string(family.variants[v]));
      YYPsLine(kCopyFont);
      YYPsLine(kCopyEntries);
      YYPsLine("/Encoding ISOLatin1Encoding def");
      YYPsLine("currentdict end " + std::string(family.base) + "-" + std::to_string(v + 1) +
               " exch definefont pop");
    }
  }
  YYPsLine(std::string(kSymbolFamily) + " ff");
  YYPsLine(kCopyFont);
  YYPsLine(kCopyEntries);
  YYPsLine("currentdict end /Symbol exch definefont pop");
}

void writeHeader() {
  const bool eps = encapsulated();
  const bool rotated = option(kOptOrientation) != 0;
  const float offsetX = eps ? 0.0f : static_cast<float>(option(kOptOffsetX));
  float offsetY = 0.0f;
  if (eps) {
    offsetY = rotated ? -static_cast<float>(option(kOptPageHeight)) : 0.0f;
  } else {
    offsetY = static_cast<float>(option(kOptOffsetY)) - (rotated ? 540.0f : 0.0f);
  }
  YYPsLine(eps ? kHeader : kHeader.substr(0, kPostScriptHeaderLength));
  if (eps) {
    std::string box = "%%BoundingBox: 0 0            ";
    const int across = rotated ? option(kOptPageHeight) : option(kOptPageWidth);
    const int up = rotated ? option(kOptPageWidth) : option(kOptPageHeight);
    box.replace(19, 5, integerField(across, "(I5)", 5));
    box.replace(25, 5, integerField(up, "(I5)", 5));
    YYPsLine(box);
  }
  if (yyGrState.X1 != 0) YYPsLine("%%Title: " + yyPlotTitle.str());
  YYPsLine("%%Creator: Q.V.R. PostScript driver");
  YYPsLine("%%EndComments");
  for (const std::string_view line : kProlog) YYPsLine(line);
  YYPsLine("%%EndProlog");
  writeFontSetUp();
  if (rotated) YYPsReal(90.0f, "ro");
  YYPsLine(fixedList({offsetX, offsetY}, 8, 1) + " translate");
  YYPsLine("newpath");
  yyPsState.page = 1;
  writePageLine(1, 1);
}

void beginPlot() {
  YYGrState& s = yyGrState;
  setDeviceScales(static_cast<float>(option(kOptPageWidth)), static_cast<float>(option(kOptPageHeight)));
  if (s.M <= 0 || !openPlotFile()) return;
  s.LineBeginMode = option(kOptLineBlank) != 0 ? 1 : 2;
  YYPsState& ps = yyPsState;
  ps.written = {-1.0f, -1.0f, -1.0f};
  ps.segments = 0;
  ps.fontPending = -1;
  ps.fontSelected = false;
  ps.writtenLineStyle = 0;
  ps.writtenLineWidth = 0;
  writeHeader();
}

void endPlot() {
  YYPsLine("%%EOF");
  if (!encapsulated()) {
    YYPsLine("initgraphics");
    if (option(kOptEndOfTransmission) != 0) YYPROUWriteBytes(kUnit, std::string_view(" \x04", 2));
  }
  YYPROUClose(kUnit);
}

void endPage() {
  YYGrState& s = yyGrState;
  s.PageBegun = 0;
  YYPsPaint(kPsStroke);
  if (!encapsulated()) {
    std::string copies = "/#copies     def";
    copies.replace(9, 3, integerField(std::clamp(option(kOptCopies), 1, 999), "(I3)", 3));
    YYPsLine(copies);
    YYPsLine("gsave showpage grestore");
  }
  if (s.N != 0) return;
  ++yyPsState.page;
  writePageLine(yyPsState.page, yyPsState.page);
}

}  // namespace

void YYPsLine(std::string_view text) { writeLine(collapsed(text.substr(0, std::min(text.size(), kLineLimit)))); }

void YYPsRawLine(std::string_view text) { writeLine(text.substr(0, std::min(text.size(), kLineLimit))); }

void YYPsPoint(float x, float y, std::string_view word) {
  const YYGrState& s = yyGrState;
  const float px = x * s.DeviceScaleX;
  const float py = y * s.DeviceScaleY;
  std::string numbers = fixedList({px, py}, 9, 2);
  shortenLastNumber(numbers);
  YYPsLine(numbers + " " + std::string(word));
}

void YYPsTriple(float a, float b, float c, std::string_view word) {
  std::string numbers = fixedList({a, b, c}, 9, 2);
  shortenLastNumber(numbers);
  YYPsLine(numbers + " " + std::string(word));
}

void YYPsReal(float a, std::string_view word) {
  std::string number = fixed(a, 9, 2);
  shortenLastNumber(number);
  YYPsLine(number + " " + std::string(word));
}

void YYPsColour(std::int32_t colour, float& red, float& green, float& blue) {
  red = green = blue = 0.0f;
  if (colour != -1) {
    int r = 0, g = 0, b = 0;
    YYColourComponents(colour, r, g, b);
    red = static_cast<float>(r) / 255.0f;
    green = static_cast<float>(g) / 255.0f;
    blue = static_cast<float>(b) / 255.0f;
  }
  const int inversion = option(kOptColourInversion);
  const auto allBelow = [&](float limit) { return red < limit && green < limit && blue < limit; };
  const auto allAbove = [&](float limit) { return red > limit && green > limit && blue > limit; };
  if (inversion == 1 || (inversion == 2 && (allBelow(0.04f) || allAbove(0.96f)))) {
    red = 1.0f - red;
    green = 1.0f - green;
    blue = 1.0f - blue;
  }
}

void YYPsPaint(int kind) {
  YYPsState& ps = yyPsState;
  if (kind != kPsColourOnly && ps.segments == 0) return;
  writeColourIfChanged(true);
  if (kind == kPsColourOnly) return;
  YYPsLine(kind == kPsFill ? "cf" : "s");
  ps.segments = 0;
}

void YYPsArc(std::int32_t opcode) {
  YYGrState& s = yyGrState;
  const YYGrAttributes& a = yyGrAttributes;
  s.PageBegun = -1;
  const float q = s.AreaHeightFraction / s.AreaWidthFraction;
  if (!writeScaleLine(q)) return;
  const bool closed = a.FillOutline <= 2 || a.FillStyle != 0;
  if (closed || opcode == kOpPiePattern) YYPsPoint(s.R5, s.R1 / q, "m");
  const std::string angles = fixedList({s.R7 / kRadiansPerDegree, s.R3 / kRadiansPerDegree}, 8, 1);
  YYPsTriple(s.R5 * s.DeviceScaleX, s.R1 * s.DeviceScaleY / q, s.R6 * s.DeviceScaleX, angles + " arc");
  writeColourIfChanged(false);
  YYPsLine(opcode == kOpPiePattern ? "cf" : closed ? "cs" : "s");
  YYPsLine("grestore");
}

void YYHexRGB(int red, int green, int blue, TextField out) {
  constexpr std::string_view kDigits = "0123456789abcdef";
  std::string hex;
  for (const int component : {red, green, blue}) {
    const int c = std::clamp(component, 0, 255);
    hex += kDigits[static_cast<std::size_t>(c / 16)];
    hex += kDigits[static_cast<std::size_t>(c % 16)];
  }
  out.assign(hex);
}

void YYGPOST(YYGrPrimitive& primitive) {
  YYGrState& s = yyGrState;
  switch (primitive) {
    case kOpInitialise:
      if (YYHardcopyProbeAnswered(kDriverNumber)) return;
      initialise();
      break;
    case kOpLine: lineTo(s.R5, s.R1, s.R6, s.R2); break;
    case kOpPoint: lineTo(s.R5, s.R1, s.R5, s.R1); break;
    case kOpPolyline: polyline(); break;
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
    case kOpCharSize: yyPsState.fontPending = -1; break;
    case kOpText: textRecord(); break;
    case kOpClip: clipRectangle(); break;
    case kOpLineStyle: lineStyle(); break;
    case kOpLineWidth: lineWidth(); break;
    case kOpArc: YYPsArc(primitive); break;
    case kOpLineJoin: lineJoin(); break;
    case kOpLineCap: lineCap(); break;
    case kOpImage: image(); break;
    default: break;
  }
}
