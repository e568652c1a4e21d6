#include "toolkit/graphics/cgm_encoder.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "toolkit/core/error_reporter.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/image_reading.h"

namespace {

constexpr std::string_view kMetafileDescription = "QVR CGM driver v4";
constexpr std::string_view kPictureName = "QVR CGM Data";
constexpr int kPointsPerInch = 72;
constexpr int kImageNoMemory = 2;  // the colours of an image could not be had
constexpr int kTextFinal = 1;
constexpr int kBaseAlignment = 5;  // vertical: base line
// A pie arc has at most this many steps, however its angles came.
constexpr int kMostPieSteps = 8000;

constexpr std::array<std::string_view, 16> kUpperCaseFonts = {
    "COURIER",     "COURIER_BOLD", "COURIER_ITALIC", "COURIER_BOLD_ITALIC",
    "HELVETICA",   "HELVETICA_BOLD", "HELVETICA_OBLIQUE", "HELVETICA_BOLD_OBLIQUE",
    "TIMES_ROMAN", "TIMES_BOLD",   "TIMES_ITALIC",   "TIMES_BOLD_ITALIC",
    "SYMBOL",      "SYMBOL",       "SYMBOL",         "SYMBOL"};
constexpr std::array<std::string_view, 16> kPostScriptFonts = {
    "Courier",     "Courier-Bold", "Courier-Oblique", "Courier-BoldOblique",
    "Helvetica",   "Helvetica-Bold", "Helvetica-Oblique", "Helvetica-BoldOblique",
    "Times-Roman", "Times-Bold",   "Times-Italic",    "Times-BoldItalic",
    "Symbol",      "Symbol",       "Symbol",          "Symbol"};
constexpr std::array<std::string_view, 16> kWindowsFonts = {
    "Courier New",     "Courier New Bold",     "Courier New Italic",     "Courier New Bold Italic",
    "Arial",           "Arial Bold",           "Arial Italic",           "Arial Bold Italic",
    "Times New Roman", "Times New Roman Bold", "Times New Roman Italic", "Times New Roman Bold Italic",
    "Symbol",          "Symbol Italic",        "Symbol Bold",            "Symbol Bold Italic"};

void appendWord(std::string& out, int value) {
  const auto v = static_cast<std::uint16_t>(value);
  out += static_cast<char>(v >> 8);
  out += static_cast<char>(v & 0xFF);
}

// The row's runs of equal colours: a 16-bit count and the three bytes each,
// padded to an even length so that the next row starts on a word.
std::string rowRuns(std::span<const std::int32_t> row) {
  std::string runs;
  std::size_t i = 0;
  while (i < row.size()) {
    std::size_t j = i + 1;
    while (j < row.size() && row[j] == row[i] && j - i < 0x7FFF) ++j;
    appendWord(runs, static_cast<int>(j - i));
    const CgmRgb c = CgmRgb::fromValue(row[i]);
    runs += static_cast<char>(c.red);
    runs += static_cast<char>(c.green);
    runs += static_cast<char>(c.blue);
    i = j;
  }
  if (runs.size() % 2 != 0) runs += '\0';
  return runs;
}

// Length words and data of one stretch of parameters, split where a
// partition cannot hold it; `more` says whether a partition follows it.
void appendPartitions(std::string& out, std::string_view data, bool more) {
  // Partitions before the last keep an even length, so words stay aligned.
  constexpr std::size_t kEvenLimit = cgm::kPartitionLimit - 1;
  std::size_t at = 0;
  do {
    const std::size_t left = data.size() - at;
    const std::size_t size = left > static_cast<std::size_t>(cgm::kPartitionLimit) ? kEvenLimit : left;
    const bool follows = at + size < data.size() || more;
    appendWord(out, static_cast<int>(size) | (follows ? cgm::kContinuation : 0));
    out.append(data.substr(at, size));
    at += size;
  } while (at < data.size());
}

}  // namespace

std::uint16_t cgmHeaderWord(CgmElementCode code, int length) {
  return static_cast<std::uint16_t>(code.elementClass * 4096 + code.id * 32 + length);
}

CgmElement& CgmElement::word(int value) {
  appendWord(parameters_, value);
  return *this;
}

CgmElement& CgmElement::byte(int value) {
  parameters_ += static_cast<char>(value & 0xFF);
  return *this;
}

CgmElement& CgmElement::colour(const CgmRgb& c) { return byte(c.red).byte(c.green).byte(c.blue).byte(0); }

CgmElement& CgmElement::string(std::string_view text) {
  if (text.size() < static_cast<std::size_t>(cgm::kLongStringMark)) {
    byte(static_cast<int>(text.size()));
    parameters_.append(text);
    return *this;
  }
  byte(cgm::kLongStringMark);
  std::size_t at = 0;
  do {
    const std::size_t size = std::min<std::size_t>(text.size() - at, cgm::kPartitionLimit);
    const bool more = at + size < text.size();
    word(static_cast<int>(size) | (more ? cgm::kContinuation : 0));
    parameters_.append(text.substr(at, size));
    at += size;
  } while (at < text.size());
  return *this;
}

CgmElement& CgmElement::raw(std::string_view bytes) {
  parameters_.append(bytes);
  return *this;
}

CgmElement& CgmElement::partition() {
  partitionEnds_.push_back(parameters_.size());
  long_ = true;
  return *this;
}

std::string CgmElement::bytes() const {
  std::string out;
  const int n = length();
  if (n <= cgm::kShortFormLimit && !long_) {
    appendWord(out, cgmHeaderWord(code_, n));
    out += parameters_;
  } else {
    appendWord(out, cgmHeaderWord(code_, cgm::kLongFormMark));
    std::size_t start = 0;
    for (const std::size_t end : partitionEnds_) {
      appendPartitions(out, std::string_view(parameters_).substr(start, end - start), true);
      start = end;
    }
    appendPartitions(out, std::string_view(parameters_).substr(start), false);
  }
  if (n % 2 != 0) out += '\0';
  return out;
}

void cgmPut(CgmSink sink, const CgmElement& element) { sink(element.bytes()); }

void cgmPutWords(CgmSink sink, CgmElementCode code, std::initializer_list<int> words) {
  CgmElement e(code);
  for (const int w : words) e.word(w);
  cgmPut(sink, e);
}

void cgmPutColour(CgmSink sink, CgmElementCode code, const CgmRgb& c) { cgmPut(sink, CgmElement(code).colour(c)); }

int cgmLineType(int lineStyle) {
  return lineStyle >= 0 && lineStyle < static_cast<int>(kCgmLineTypes.size())
             ? kCgmLineTypes[static_cast<std::size_t>(lineStyle)]
             : kCgmLineTypes[0];
}

std::span<const std::string_view> cgmFontNames(int choice) {
  switch (choice) {
    case 0: return kUpperCaseFonts;
    case 1: return kPostScriptFonts;
    default: return kWindowsFonts;
  }
}

int cgmTextFontIndex(int family, int style) {
  const int f = family >= 1 && family <= 4 ? family : 1;
  return 4 * (f - 1) + (style & 3) + 1;
}

void cgmVdcSize(int resolutionX, int resolutionY, int widthPoints, int heightPoints, int& width, int& height) {
  std::int64_t w = std::int64_t{resolutionX} * widthPoints / kPointsPerInch;
  std::int64_t h = std::int64_t{resolutionY} * heightPoints / kPointsPerInch;
  const std::int64_t larger = std::max(w, h);
  if (larger > cgm::kVdcLimit) {
    w = w * cgm::kVdcLimit / larger;
    h = h * cgm::kVdcLimit / larger;
  }
  width = static_cast<int>(w);
  height = static_cast<int>(h);
}

void cgmPutMetafileStart(CgmSink sink, std::string_view title, int fontChoice, int vdcWidth, int vdcHeight) {
  cgmPut(sink, CgmElement(cgm::kBeginMetafile).string(title));
  cgmPutWords(sink, cgm::kMetafileVersion, {1});
  cgmPut(sink, CgmElement(cgm::kMetafileDescription).string(kMetafileDescription));
  cgmPutWords(sink, cgm::kVdcType, {0});
  cgmPutWords(sink, cgm::kIntegerPrecision, {16});
  cgmPutWords(sink, cgm::kRealPrecision, {1, 16, 16});
  cgmPutWords(sink, cgm::kIndexPrecision, {16});
  CgmElement fonts(cgm::kFontList);
  for (const std::string_view name : cgmFontNames(fontChoice)) fonts.string(name);
  cgmPut(sink, fonts.longForm());
  cgmPutWords(sink, cgm::kColourPrecision, {8});
  cgmPut(sink, CgmElement(cgm::kColourValueExtent).byte(0).byte(0).byte(0).byte(255).byte(255).byte(255));
  cgmPutPictureStart(sink, vdcWidth, vdcHeight);
}

void cgmPutPictureStart(CgmSink sink, int vdcWidth, int vdcHeight) {
  cgmPut(sink, CgmElement(cgm::kBeginPicture).string(kPictureName));
  cgmPutWords(sink, cgm::kLineWidthMode, {0});
  cgmPutWords(sink, cgm::kEdgeWidthMode, {0});
  cgmPutWords(sink, cgm::kColourSelectionMode, {1});
  cgmPutWords(sink, cgm::kVdcIntegerPrecision, {16});
  cgmPutWords(sink, cgm::kVdcExtent, {0, 0, vdcWidth, vdcHeight});
  cgmPut(sink, CgmElement(cgm::kBeginPictureBody));
  cgmPutWords(sink, cgm::kTextAlignment, {1, kBaseAlignment, 0, 0, 0, 0});
}

bool cgmChanged(std::int32_t& cached, std::int32_t value) {
  if (cached == value) return false;
  cached = value;
  return true;
}

int CgmCanvas::x(float v) const { return static_cast<int>(v * scaleX); }
int CgmCanvas::y(float v) const { return static_cast<int>(v * scaleY); }

void cgmPutColourIfChanged(const CgmCanvas& canvas, CgmElementCode code, std::int32_t& cached, const CgmRgb& c) {
  if (cgmChanged(cached, c.value())) cgmPutColour(canvas.sink, code, c);
}

std::vector<CgmPoint> cgmBufferPoints() {
  const int n = std::clamp(yyGrState.N, 0, kPointBufferSize);
  std::vector<CgmPoint> points;
  points.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    points.push_back({yyGrPointBuffer.x[static_cast<std::size_t>(i)], yyGrPointBuffer.y[static_cast<std::size_t>(i)]});
  }
  return points;
}

CgmTextRequest cgmTextOfState(float widthScale) {
  // The text's start moves this much of a character step towards the base line.
  constexpr float kTextOffset = 0.38f;
  const YYGrState& s = yyGrState;
  const int n = std::clamp(s.X1, 0, kTextOperandLength);
  CgmTextRequest request;
  request.opaque = s.TextPerCharacter == 0 && s.TextMode != 1 && (s.TextStyle & 8) != 0;
  request.alignment = s.TextMode == 1 ? 1 : s.TextAlign + 1;
  request.text = TEXT.view().substr(0, static_cast<std::size_t>(n));
  CgmPoint p{s.R5 + kTextOffset * s.CharStepX, s.R1 - kTextOffset * s.CharStepY};
  request.restricted = s.TextMode != 1;
  if (request.restricted) {
    const float dx = s.R7 - s.R5;
    const float dy = s.R3 - s.R1;
    const CgmPoint e{p.x + dx, p.y + dy};
    if (s.TextAlign == 1) p = {(p.x + e.x) / 2, (p.y + e.y) / 2};
    if (s.TextAlign == 2) p = e;
    request.deltaWidth = static_cast<int>(std::sqrt(dx * dx + dy * dy) * widthScale);
  }
  request.start = p;
  return request;
}

std::vector<CgmPoint> cgmPiePoints(float cx, float cy, float rx, float ry, float start, float end,
                                   int surfaceWidth) {
  int divisor = 25;
  if (surfaceWidth != 0) divisor += static_cast<int>(std::trunc(rx)) * 75 / surfaceWidth;
  // A negative radius could make the step zero or negative: the arc would never end.
  if (divisor < 1) divisor = 1;
  const double step = std::numbers::pi / divisor;
  std::vector<CgmPoint> points{{cx, cy}};
  double a = start;
  for (int k = 0; a < end && k < kMostPieSteps; ++k, a = start + k * step) {
    points.push_back({cx + rx * static_cast<float>(std::cos(a)), cy + ry * static_cast<float>(std::sin(a))});
  }
  points.push_back({cx + rx * std::cos(end), cy + ry * std::sin(end)});
  return points;
}

void cgmPutPointList(const CgmCanvas& canvas, CgmElementCode code, std::span<const CgmPoint> points, bool longForm) {
  CgmElement e(code);
  for (const CgmPoint& p : points) e.point(canvas.x(p.x), canvas.y(p.y));
  if (longForm) e.longForm();
  cgmPut(canvas.sink, e);
}

void cgmPutText(const CgmCanvas& canvas, CgmAttributeCache& cache, const CgmTextRequest& request) {
  const CgmSink sink = canvas.sink;
  if (request.opaque) {
    cgmPutWords(sink, cgm::kTransparency, {0});
    cgmPutColourIfChanged(canvas, cgm::kAuxiliaryColour, cache.auxiliaryColour, request.background);
  }
  cgmPutColourIfChanged(canvas, cgm::kTextColour, cache.textColour, request.colour);
  if (cgmChanged(cache.textAlignment, request.alignment)) {
    cgmPutWords(sink, cgm::kTextAlignment, {request.alignment, kBaseAlignment, 0, 0, 0, 0});
  }
  const int x = canvas.x(request.start.x);
  const int y = canvas.y(request.start.y);
  if (request.restricted) {
    const int deltaHeight = static_cast<int>(static_cast<float>(cache.characterHeight) * 1.25f);
    cgmPut(sink, CgmElement(cgm::kRestrictedText)
                     .word(request.deltaWidth)
                     .word(deltaHeight)
                     .point(x, y)
                     .word(kTextFinal)
                     .string(request.text));
  } else {
    cgmPut(sink, CgmElement(cgm::kText).point(x, y).word(kTextFinal).string(request.text));
  }
  if (request.opaque) cgmPutWords(sink, cgm::kTransparency, {1});
}

void cgmPutCharacterOrientation(CgmSink sink, float k, float sinOverAspect, float cosine, float sinTimesAspect) {
  const float up = 1.2f * k;
  cgmPutWords(sink, cgm::kCharacterOrientation,
              {static_cast<int>(-sinOverAspect * up), static_cast<int>(cosine * up), static_cast<int>(cosine * k),
               static_cast<int>(sinTimesAspect * k)});
}

std::vector<std::string> cgmCellArrayPieces(int px, int py, int qx, int qy, int rx, int ry, int columns, int rows,
                                            std::span<const std::int32_t> colours) {
  constexpr int kLocalColourPrecision = 8;
  constexpr int kRunLength = 0;
  CgmElement head(cgm::kCellArray);
  head.point(px, py).point(qx, qy).point(rx, ry).word(columns).word(rows).word(kLocalColourPrecision).word(kRunLength);
  std::vector<std::string> pieces;
  std::string first;
  appendWord(first, cgmHeaderWord(cgm::kCellArray, cgm::kLongFormMark));
  const bool anyRow = rows > 0 && columns > 0;
  appendPartitions(first, head.parameters(), anyRow);
  pieces.push_back(std::move(first));
  if (!anyRow) return pieces;
  const auto width = static_cast<std::size_t>(columns);
  for (int r = 0; r < rows; ++r) {
    const auto row = colours.subspan(static_cast<std::size_t>(r) * width, width);
    std::string piece;
    appendPartitions(piece, rowRuns(row), r + 1 < rows);
    pieces.push_back(std::move(piece));
  }
  return pieces;
}

void cgmPutShadedTriangle(const CgmCanvas& canvas, const std::array<CgmPoint, 3>& v,
                          const std::array<std::int32_t, 3>& colours) {
  constexpr int kTriangular = 3;
  const CgmSink sink = canvas.sink;
  cgmPutWords(sink, cgm::kFillReferencePoint, {canvas.x(v[0].x), canvas.y(v[0].y)});
  CgmElement interior(cgm::kInterpolatedInterior);
  interior.word(kTriangular)
      .point(canvas.x(v[1].x - v[0].x), canvas.y(v[1].y - v[0].y))
      .point(canvas.x(v[2].x - v[0].x), canvas.y(v[2].y - v[0].y))
      .word(0);
  for (const std::int32_t c : colours) {
    const CgmRgb rgb = CgmRgb::fromValue(c);
    interior.byte(rgb.red).byte(rgb.green).byte(rgb.blue);
  }
  interior.byte(0);
  cgmPut(sink, interior);
  cgmPutWords(sink, cgm::kInteriorStyle, {cgm::kInteriorInterpolated});
  cgmPutPointList(canvas, cgm::kPolygon, v, false);
}

void cgmPutShadedTriangles(const CgmCanvas& canvas, std::span<const std::int32_t> colours,
                           std::span<const YYTriangle> triangles) {
  for (const YYTriangle& t : triangles) {
    std::array<CgmPoint, 3> vertices{};
    std::array<std::int32_t, 3> vertexColours{};
    for (std::size_t k = 0; k < 3; ++k) {
      const auto v = static_cast<std::size_t>(std::clamp(t[k], 1, kPolygonVertices) - 1);
      vertices[k] = {yyGrPointBuffer.x[v], yyGrPointBuffer.y[v]};
      vertexColours[k] = v < colours.size() ? colours[v] : 0;
    }
    cgmPutShadedTriangle(canvas, vertices, vertexColours);
  }
}

bool cgmReadImageCells(int columns, int rows, std::vector<std::int32_t>& colours) {
  YYGrState& s = yyGrState;
  const bool fits = columns > 0 && rows > 0 && columns <= cgm::kPartitionLimit && rows <= cgm::kPartitionLimit;
  // An image too large for the memory the program can have fails like a file
  // that cannot be read, and the recording goes on.
  if (!YYImageColoursTake(colours, fits ? columns : 0, fits ? rows : 0)) {
    s.M = kImageNoMemory;
    s.N = 0;
    return false;
  }
  const int mode = errorState.reportingMode;
  const int lastError = errorState.lastError;
  YYErrorModeSet(kReportSilent);
  errorState.lastError = 0;
  IGrLoadImageData(TEXT.view(), colours);
  const int failure = errorState.lastError;
  YYErrorModeSet(mode);
  errorState.lastError = lastError;
  if (failure != 0) {
    s.M = failure;
    s.N = errorState.ioDetail;
    colours.clear();
    return false;
  }
  s.M = 0;
  return true;
}

void cgmFillShadedPolygon(const CgmCanvas& canvas, YYTriangleRoutine triangles) {
  YYPolygonWork& work = yyPolygonWork;
  const int n = std::clamp(work.vertexCount, 0, kPolygonVertices);
  for (std::size_t k = 0; k < static_cast<std::size_t>(n); ++k) {
    work.deviceX[k] = canvas.x(yyGrPointBuffer.x[k]);
    work.deviceY[k] = canvas.y(yyGrPointBuffer.y[k]);
  }
  YYPolygonFill(kShadeTriangles, 0, 0, 0, 0, nullptr, triangles);
}
