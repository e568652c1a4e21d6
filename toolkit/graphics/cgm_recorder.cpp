#include "toolkit/graphics/cgm_recorder.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "toolkit/core/error_reporter.h"
#include "toolkit/graphics/colours.h"
#include "toolkit/graphics/polygon_fill.h"

std::array<CgmAttributeCache, kMetafileSlots + 1> yyCgmSlotCache;

namespace {

constexpr int kMetafileFull = 1062;
constexpr std::string_view kRecorderCaps = "00000110111111100010011011100";
constexpr int kDeviceUnitsPerInch = 600;
// Words 9-15 of a slot describe its buffer; word 11's bit 0 says it is allocated.
constexpr std::size_t kSlotBufferFlags = 11;
constexpr std::size_t kSlotBufferSpare = 10;
constexpr std::int32_t kBufferAllocated = 1;

// The recorder's colour and the aspect of the slot whose header was written last.
struct RecorderState {
  CgmRgb current;
  float slotAspect = 1.0f;
};
RecorderState recorder;

std::array<std::vector<std::uint8_t>, kMetafileSlots + 1> slotBuffers;

bool validSlot(int slot) { return slot >= 1 && slot <= kMetafileSlots; }
YYMetafileSlot& slotOf(int slot) { return yyMetafileSlots[static_cast<std::size_t>(slot)]; }
bool allocated(int slot) {
  return validSlot(slot) && (slotOf(slot).words[kSlotBufferFlags] & kBufferAllocated) != 0;
}

int targetSlot() { return yyGrAttributes.TargetId; }

void toSlot(std::string_view bytes) { YYGCGM1(bytes.data(), static_cast<int>(bytes.size())); }

const CgmCanvas kCanvas{toSlot, 1.0f, 1.0f};

CgmAttributeCache& cache() {
  const int slot = targetSlot();
  return yyCgmSlotCache[static_cast<std::size_t>(validSlot(slot) ? slot : 0)];
}

void putWords(CgmElementCode code, std::initializer_list<int> words) { cgmPutWords(toSlot, code, words); }

CgmRgb colourOf(std::int32_t colour) {
  CgmRgb c;
  YYColourComponents(colour, c.red, c.green, c.blue);
  return c;
}

CgmRgb fillColour() {
  const CgmRgb& c = recorder.current;
  if (yyGrAttributes.FillStyle != 3) return c;
  const CgmRgb p = colourOf(previousColourOfMode(yyGrAttributes));
  return {(c.red + p.red) / 2, (c.green + p.green) / 2, (c.blue + p.blue) / 2};
}

void initialise() {
  YYGrState& s = yyGrState;
  s.ShadeMode[kScreenSide] = 2;
  s.TrueColour[kScreenSide] = 1;
  s.PlatformLevel[kScreenSide] = 2;
  s.FullCircle[kScreenSide] = 360;
  s.DeviceWord5[kScreenSide] = 8;
  s.DeviceWord6[kScreenSide] = 1.7e38f;
  s.ScreenCaps = kRecorderCaps;
}

void lineColour() { cgmPutColourIfChanged(kCanvas, cgm::kLineColour, cache().lineColour, recorder.current); }

void putIntegerPoints(CgmElementCode code, std::initializer_list<std::pair<int, int>> points) {
  CgmElement e(code);
  for (const auto& [x, y] : points) e.point(x, y);
  cgmPut(toSlot, e);
}

// ELLIPSE from the integer centre and x radius; the y radius comes from the
// real x radius and the height ratio R7, as the page's aspect makes it.
void ellipseElement() {
  const YYGrState& s = yyGrState;
  const float across = s.SurfaceWidthReal * s.AreaWidthFraction;
  const float up = across != 0.0f
                       ? s.R7 * s.R6 * recorder.slotAspect * s.SurfaceHeightReal * s.AreaHeightFraction / across
                       : 0.0f;
  putIntegerPoints(cgm::kEllipse, {{s.X1, s.Y1}, {s.X1 + s.X2, s.Y1}, {s.X1, s.Y1 + static_cast<int>(up)}});
}

void ellipseOutline() {
  const YYGrAttributes& a = yyGrAttributes;
  CgmAttributeCache& c = cache();
  putWords(cgm::kEdgeVisibility, {1});
  cgmPutColourIfChanged(kCanvas, cgm::kEdgeColour, c.edgeColour, recorder.current);
  if (cgmChanged(c.edgeType, a.LineStyle)) putWords(cgm::kEdgeType, {cgmLineType(a.LineStyle)});
  if (cgmChanged(c.edgeWidth, a.LineWidthTenths)) putWords(cgm::kEdgeWidth, {4 * a.LineWidthTenths});
  putWords(cgm::kInteriorStyle, {cgm::kInteriorEmpty});
  ellipseElement();
  putWords(cgm::kEdgeVisibility, {0});
}

void filledShape(YYGrPrimitive opcode) {
  YYGrState& s = yyGrState;
  cgmPutColourIfChanged(kCanvas, cgm::kFillColour, cache().fillColour, fillColour());
  putWords(cgm::kInteriorStyle, {cgm::kInteriorSolid});
  switch (opcode) {
    case kOpEllipsePattern:
    case kOpEllipseSolid: ellipseElement(); break;
    case kOpQuadPattern:
    case kOpQuadSolid: putIntegerPoints(cgm::kPolygon, {{s.X1, s.Y1}, {s.X2, s.Y2}, {s.X3, s.Y3}, {s.X4, s.Y4}}); break;
    case kOpRectanglePattern:
    case kOpRectangleSolid:
      putIntegerPoints(cgm::kRectangle, {{std::max(s.ViewportLeft, s.X1), std::max(s.ViewportBottom, s.Y1)},
                                         {std::min(s.ViewportRight, s.X2), std::min(s.ViewportTop, s.Y2)}});
      break;
    case kOpTrianglePattern:
    case kOpTriangleSolid: putIntegerPoints(cgm::kPolygon, {{s.X1, s.Y1}, {s.X2, s.Y2}, {s.X3, s.Y3}}); break;
    case kOpPiePattern:
    case kOpPieSolid: {
      if (s.SurfaceAspect != 0.0f) s.R2 = s.R2 / s.SurfaceAspect * recorder.slotAspect;
      std::vector<CgmPoint> points = cgmPiePoints(s.R5, s.R1, s.R6, s.R2, s.R7, s.R3, s.SurfaceWidth);
      points.front() = {static_cast<float>(s.X1), static_cast<float>(s.Y1)};
      cgmPutPointList(kCanvas, cgm::kPolygon, points, true);
      break;
    }
    default: cgmPutPointList(kCanvas, cgm::kPolygon, cgmBufferPoints(), true); break;
  }
}

void characterSize() {
  YYGrState& s = yyGrState;
  CgmAttributeCache& c = cache();
  if (cgmChanged(c.fontIndex, cgmTextFontIndex(s.TextFamily, s.TextStyle))) putWords(cgm::kTextFontIndex, {c.fontIndex});
  const int height = static_cast<int>(s.CharHeight * 0.55f * s.AreaHeightDevice);
  if (cgmChanged(c.characterHeight, height)) putWords(cgm::kCharacterHeight, {height});
  const float cellWidth = s.CharWidth * s.AreaWidthDevice;
  const float cellHeight = s.CharHeight * s.AreaHeightDevice;
  if (cellWidth != 0.0f) s.CharColumnsPerSurface = s.SurfaceWidthReal / cellWidth;
  if (cellHeight != 0.0f) s.CharRowsPerSurface = s.SurfaceHeightReal / cellHeight;
}

void writeText() {
  CgmTextRequest request = cgmTextOfState(1.0f);
  request.colour = recorder.current;
  if (request.opaque) request.background = colourOf(previousColourOfMode(yyGrAttributes));
  cgmPutText(kCanvas, cache(), request);
}

// LINE WIDTH in the slot's VDC units; a slot without a page width has none.
void lineWidth() {
  const int slot = targetSlot();
  if (!validSlot(slot)) return;
  const auto& words = slotOf(slot).words;
  const std::int64_t pageWidth = words[kSlotWidthPoints];
  const std::int64_t width =
      pageWidth > 0 ? std::int64_t{words[kSlotDeviceWidth]} * yyGrAttributes.LineWidthTenths / (pageWidth * 10) : 0;
  putWords(cgm::kLineWidth, {static_cast<int>(width)});
}

void metafileHeader() {
  const int slot = targetSlot();
  if (!validSlot(slot)) return;
  auto& words = slotOf(slot).words;
  const int widthPoints = words[kSlotWidthPoints];
  const int heightPoints = words[kSlotHeightPoints];
  // A slot created without a page size must not stop the recording with a division by zero.
  recorder.slotAspect =
      heightPoints != 0 ? static_cast<float>(widthPoints) / static_cast<float>(heightPoints) : 1.0f;
  int width = 0;
  int height = 0;
  cgmVdcSize(kDeviceUnitsPerInch, kDeviceUnitsPerInch, widthPoints, heightPoints, width, height);
  words[kSlotDeviceWidth] = width;
  words[kSlotDeviceHeight] = height;
  cgmPutMetafileStart(toSlot, "QVR CGM File", kCgmWindowsFonts, width, height);
}

// The whole cell array is appended at once: a buffer too full for it keeps
// none of it rather than a cell array cut short.
void image() {
  YYGrState& s = yyGrState;
  std::vector<std::int32_t> colours;
  if (!cgmReadImageCells(s.X2, s.Y2, colours)) return;
  std::string element;
  for (const std::string& piece : cgmCellArrayPieces(s.ViewportLeft, s.ViewportTop, s.ViewportRight,
                                                     s.ViewportBottom, s.ViewportRight, s.ViewportTop, s.X2, s.Y2,
                                                     colours)) {
    element += piece;
  }
  toSlot(element);
}

void shadedTriangles(std::span<const std::int32_t>, std::span<const std::int32_t>,
                     std::span<const std::int32_t> colours, std::span<const YYTriangle> triangles,
                     std::int32_t& status) {
  cgmPutShadedTriangles(kCanvas, colours, triangles);
  status = 0;
}

}  // namespace

void YYGCGM1(const char* bytes, int n) {
  if (n <= 0) return;
  const int slot = targetSlot();
  if (!allocated(slot)) {
    YYErrorReport(kMetafileFull, "YYGCGM1");
    return;
  }
  auto& words = slotOf(slot).words;
  std::vector<std::uint8_t>& buffer = slotBuffers[static_cast<std::size_t>(slot)];
  const std::int64_t used = words[kSlotBytesUsed];
  const std::int64_t capacity = std::min<std::int64_t>(words[kSlotCapacity], static_cast<std::int64_t>(buffer.size()));
  if (used < 0 || used + n > capacity) {
    YYErrorReport(kMetafileFull, "YYGCGM1");
    return;
  }
  std::memcpy(buffer.data() + used, bytes, static_cast<std::size_t>(n));
  words[kSlotBytesUsed] = static_cast<std::int32_t>(used + n);
}

bool YYCgmMemAllocate(int slot, int capacity) {
  if (!validSlot(slot) || capacity < 0) return false;
  YYCgmMemRelease(slot);
  slotBuffers[static_cast<std::size_t>(slot)].assign(static_cast<std::size_t>(capacity), 0);
  auto& words = slotOf(slot).words;
  words[kSlotCapacity] = capacity;
  words[kSlotBytesUsed] = 0;
  words[kSlotBufferWord] = slot;
  words[kSlotBufferFlags] |= kBufferAllocated;
  yyCgmSlotCache[static_cast<std::size_t>(slot)] = CgmAttributeCache{};
  return true;
}

std::span<const std::uint8_t> YYCgmMemBytes(int slot) {
  if (!allocated(slot)) return {};
  const auto& buffer = slotBuffers[static_cast<std::size_t>(slot)];
  const auto used = static_cast<std::size_t>(std::clamp<std::int32_t>(slotOf(slot).words[kSlotBytesUsed], 0,
                                                                      static_cast<std::int32_t>(buffer.size())));
  return {buffer.data(), used};
}

void YYCgmMemRelease(int slot) {
  if (!validSlot(slot)) return;
  auto& buffer = slotBuffers[static_cast<std::size_t>(slot)];
  buffer.clear();
  buffer.shrink_to_fit();
  auto& words = slotOf(slot).words;
  words[kSlotBufferWord] = 0;
  words[kSlotBufferFlags] &= ~kBufferAllocated;
  words[kSlotBufferSpare] = 0;
}

void YYGCGMMEM(YYGrPrimitive& primitive) {
  YYGrState& s = yyGrState;
  switch (primitive) {
    case kOpInitialise: initialise(); break;
    case kOpLine:
      lineColour();
      putIntegerPoints(cgm::kPolyline, {{s.X1, s.Y1}, {s.X2, s.Y2}});
      break;
    case kOpColour:
    case kOpColourRefresh: recorder.current = colourOf(currentColourOfMode(yyGrAttributes)); break;
    case kOpEllipseOutline: ellipseOutline(); break;
    case kOpEllipsePattern:
    case kOpEllipseSolid:
    case kOpQuadPattern:
    case kOpQuadSolid:
    case kOpRectanglePattern:
    case kOpRectangleSolid:
    case kOpTrianglePattern:
    case kOpTriangleSolid:
    case kOpPiePattern:
    case kOpPieSolid:
    case kOpPolygonPattern:
    case kOpPolygonSolid: filledShape(primitive); break;
    case kOpBeginPlot: cache() = CgmAttributeCache{}; break;
    case kOpEndPlot:
      cgmPut(toSlot, CgmElement(cgm::kEndPicture));
      cgmPut(toSlot, CgmElement(cgm::kEndMetafile));
      break;
    case kOpCharSize: characterSize(); break;
    case kOpText: writeText(); break;
    case kOpClip:
      putWords(cgm::kClipIndicator, {1});
      putIntegerPoints(cgm::kClipRectangle, {{s.ViewportLeft, s.ViewportBottom}, {s.ViewportRight, s.ViewportTop}});
      break;
    case kOpPoint:
      lineColour();
      putIntegerPoints(cgm::kPolyline, {{s.X1, s.Y1}, {s.X1, s.Y1}});
      break;
    case kOpLineStyle: putWords(cgm::kLineType, {cgmLineType(yyGrAttributes.LineStyle)}); break;
    case kOpLineWidth: lineWidth(); break;
    case kOpReadPixel: s.X1 = -1; break;  // a metafile has no pixels to read
    case kOpPolyline:
      lineColour();
      cgmPutPointList(kCanvas, cgm::kPolyline, cgmBufferPoints(), true);
      break;
    case kOpCharAngle:
      cgmPutCharacterOrientation(toSlot, s.CharWidth * s.AreaWidthDevice, s.CharSinOverAspect, s.CharCos,
                                 s.CharSinTimesAspect);
      break;
    case kOpImage: image(); break;
    case kOpMetafileHeader: metafileHeader(); break;
    case kOpShadedPolygon: cgmFillShadedPolygon(kCanvas, shadedTriangles); break;
    default: break;
  }
}
