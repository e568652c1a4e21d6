#include "toolkit/drivers/cgm_driver.h"

#include <algorithm>
#include <string>
#include <vector>

#include "toolkit/core/binary_files.h"
#include "toolkit/core/error_reporter.h"
#include "toolkit/drivers/hardcopy_dispatch.h"
#include "toolkit/drivers/hardcopy_options.h"
#include "toolkit/drivers/hardcopy_setup.h"
#include "toolkit/drivers/plot_output.h"
#include "toolkit/graphics/colours.h"
#include "toolkit/graphics/polygon_fill.h"

YYCgmFileState yyCgmFile;

namespace {

constexpr std::string_view kDefaultOutput = "zndvplot.cgm";
constexpr std::string_view kDefaultTitle = "QVR CGM File";
constexpr std::string_view kCaps = "00000110111111100010011011100";
constexpr int kDefaultPageWidth = 756;  // points
constexpr int kDefaultPageHeight = 540;
constexpr int kResolution = 600;
constexpr int kColours = 256;

void toFileAsIs(std::string_view bytes) { YYPROUWriteBytes(kPlotUnitFile, bytes); }
void beginNextPicture();

// Every element stands inside a picture: the first one after the end of a
// page begins the next picture.
void toPlotFile(std::string_view bytes) {
  if (yyCgmFile.plotOpen && !yyCgmFile.pictureOpen) beginNextPicture();
  toFileAsIs(bytes);
}

CgmCanvas canvas() { return {toPlotFile, yyGrState.DeviceScaleX, yyGrState.DeviceScaleY}; }

void put(const CgmElement& e) { cgmPut(toPlotFile, e); }
void putWords(CgmElementCode code, std::initializer_list<int> words) { cgmPutWords(toPlotFile, code, words); }

// A colour of the current colour mode, split and adjusted as the file writes it.
CgmRgb fileColour(std::int32_t colour) {
  CgmRgb c;
  YYColourComponents(colour, c.red, c.green, c.blue);
  YYCgmGreyColour(c.red, c.green, c.blue);
  return c;
}
CgmRgb previousColour() { return fileColour(previousColourOfMode(yyGrAttributes)); }

CgmRgb meanColour(const CgmRgb& a, const CgmRgb& b) {
  return {(a.red + b.red) / 2, (a.green + b.green) / 2, (a.blue + b.blue) / 2};
}

// Width in VDC of a line or edge of option 9 tenths of a point.
int vdcLineWidth() {
  const int pageWidth = hardcopyOption(kOptPageWidth);
  if (pageWidth <= 0) return 0;
  return static_cast<int>(std::int64_t{yyCgmFile.vdcWidth} * hardcopyOption(kOptLineWidthTenths) / (pageWidth * 10));
}

void initialise() {
  YYGrState& s = yyGrState;
  if (YYHardcopyProbeAnswered(kCgmDriver)) return;
  YYDriverDefaults();
  hardcopyOption(kOptPageWidth) = kDefaultPageWidth;
  hardcopyOption(kOptPageHeight) = kDefaultPageHeight;
  hardcopyOption(kOptOffsetX) = 0;
  hardcopyOption(kOptOffsetY) = 0;
  hardcopyOption(kOptOrientation) = 0;
  hardcopyOption(kOptCgmFonts) = kCgmWindowsFonts;
  HardcopyDeviceDescription device;
  device.resolution = kResolution;
  device.colourCount = kColours;
  device.colourMax = kColours;
  device.toFile = 0;
  device.deviceWord1 = device.deviceWord2 = device.deviceWord3 = 1;
  device.shadeMode = 2;
  device.trueColour = 1;
  device.platformLevel = 2;
  device.fullCircle = 360;
  device.deviceWord5 = 8;
  device.deviceWord6 = 1.7e38f;
  device.caps = kCaps;
  YYHardcopyDescribe(device);
  yyHardcopyOutputName = kDefaultOutput;
  s.ActiveDriver = kCgmDriver;
}

void setScales() {
  YYGrState& s = yyGrState;
  if (s.SurfaceWidthReal != 0.0f) s.DeviceScaleX = static_cast<float>(yyCgmFile.vdcWidth) / s.SurfaceWidthReal;
  if (s.SurfaceHeightReal != 0.0f) s.DeviceScaleY = static_cast<float>(yyCgmFile.vdcHeight) / s.SurfaceHeightReal;
}

void beginPlot() {
  YYGrState& s = yyGrState;
  YYCgmFileState& d = yyCgmFile;
  if (s.M > 0) {
    const int pageWidth = hardcopyOption(kOptPageWidth);
    const int pageHeight = hardcopyOption(kOptPageHeight);
    d.pageAspect = pageHeight != 0 ? static_cast<float>(pageWidth) / static_cast<float>(pageHeight) : 1.0f;
    const int earlierError = errorState.lastError;
    errorState.lastError = 0;
    YYPROU(kPlotUnitFile);
    if (errorState.lastError != 0) {
      yyGrAttributes.HardcopyOpen = 0;
      return;
    }
    errorState.lastError = earlierError;
    const std::string title = s.X1 == 0 ? std::string(kDefaultTitle) : yyPlotTitle.str();
    cgmVdcSize(s.ResolutionX, s.ResolutionY, pageWidth, pageHeight, d.vdcWidth, d.vdcHeight);
    const int fonts = std::clamp(hardcopyOption(kOptCgmFonts), 0, kCgmFontChoices - 1);
    cgmPutMetafileStart(toFileAsIs, title, fonts, d.vdcWidth, d.vdcHeight);
    d.cache = CgmAttributeCache{};
    d.plotOpen = true;
    d.pictureOpen = true;
  }
  setScales();
}

void selectColour() { yyCgmFile.current = fileColour(currentColourOfMode(yyGrAttributes)); }

void lineColour() { cgmPutColourIfChanged(canvas(), cgm::kLineColour, yyCgmFile.cache.lineColour, yyCgmFile.current); }

void line() {
  YYGrState& s = yyGrState;
  // Like every drawing step, so that the hardcopy stop ends the picture.
  s.PageBegun = -1;
  lineColour();
  const CgmPoint points[] = {{s.R5, s.R1}, {s.R6, s.R2}};
  cgmPutPointList(canvas(), cgm::kPolyline, points, false);
}

void point() {
  YYGrState& s = yyGrState;
  s.PageBegun = -1;
  lineColour();
  const CgmPoint points[] = {{s.R5, s.R1}, {s.R5, s.R1}};
  cgmPutPointList(canvas(), cgm::kPolyline, points, false);
}

void polyline() {
  yyGrState.PageBegun = -1;
  lineColour();
  cgmPutPointList(canvas(), cgm::kPolyline, cgmBufferPoints(), true);
}

void ellipse() {
  YYGrState& s = yyGrState;
  YYCgmFileState& d = yyCgmFile;
  const bool outline = yyGrAttributes.FillStyle < 3;
  if (outline) {
    putWords(cgm::kEdgeVisibility, {1});
    cgmPutColourIfChanged(canvas(), cgm::kEdgeColour, d.cache.edgeColour, d.current);
    if (cgmChanged(d.cache.edgeType, yyGrAttributes.LineStyle)) {
      putWords(cgm::kEdgeType, {cgmLineType(yyGrAttributes.LineStyle)});
    }
    if (cgmChanged(d.cache.edgeWidth, hardcopyOption(kOptLineWidthTenths))) putWords(cgm::kEdgeWidth, {vdcLineWidth()});
  }
  putWords(cgm::kInteriorStyle, {outline ? cgm::kInteriorEmpty : cgm::kInteriorSolid});
  const float across = s.SurfaceWidthReal * s.AreaWidthFraction;
  const float ratio = across != 0.0f ? d.pageAspect * s.SurfaceHeightReal * s.AreaHeightFraction / across : 0.0f;
  const CgmCanvas c = canvas();
  put(CgmElement(cgm::kEllipse)
          .point(c.x(s.R5), c.y(s.R1))
          .point(c.x(s.R5 + s.R6), c.y(s.R1))
          .point(c.x(s.R5), c.y(s.R1 + s.R6 * s.R7 * ratio)));
  if (outline) putWords(cgm::kEdgeVisibility, {0});
}

void pie() {
  YYGrState& s = yyGrState;
  if (s.SurfaceAspect != 0.0f) s.R2 = s.R2 / s.SurfaceAspect * yyCgmFile.pageAspect;
  cgmPutPointList(canvas(), cgm::kPolygon, cgmPiePoints(s.R5, s.R1, s.R6, s.R2, s.R7, s.R3, s.SurfaceWidth), true);
}

void filledShape(YYGrPrimitive opcode) {
  YYGrState& s = yyGrState;
  YYCgmFileState& d = yyCgmFile;
  const int fillStyle = yyGrAttributes.FillStyle;
  if (s.M == -1) return;
  s.PageBegun = -1;
  if (fillStyle <= 2 && opcode != kOpEllipsePattern) return;
  const CgmRgb fill = fillStyle == 3 ? meanColour(d.current, previousColour()) : d.current;
  cgmPutColourIfChanged(canvas(), cgm::kFillColour, d.cache.fillColour, fill);
  if (opcode == kOpEllipsePattern) {
    ellipse();
    return;
  }
  putWords(cgm::kInteriorStyle, {cgm::kInteriorSolid});
  switch (opcode) {
    case kOpQuadPattern: {
      const CgmPoint points[] = {{s.R5, s.R1}, {s.R6, s.R2}, {s.R7, s.R3}, {s.R8, s.R4}};
      cgmPutPointList(canvas(), cgm::kPolygon, points, false);
      break;
    }
    case kOpRectanglePattern: {
      const CgmPoint corners[] = {{std::max(s.ViewportLeftReal, s.R5), std::max(s.ViewportBottomReal, s.R1)},
                                  {std::min(s.ViewportRightReal, s.R6), std::min(s.ViewportTopReal, s.R2)}};
      cgmPutPointList(canvas(), cgm::kRectangle, corners, false);
      break;
    }
    case kOpTrianglePattern: {
      const CgmPoint points[] = {{s.R5, s.R1}, {s.R6, s.R2}, {s.R7, s.R3}};
      cgmPutPointList(canvas(), cgm::kPolygon, points, false);
      break;
    }
    case kOpPiePattern: pie(); break;
    default: cgmPutPointList(canvas(), cgm::kPolygon, cgmBufferPoints(), true); break;
  }
}

void characterSize() {
  const YYGrState& s = yyGrState;
  CgmAttributeCache& cache = yyCgmFile.cache;
  if (cgmChanged(cache.fontIndex, cgmTextFontIndex(s.TextFamily, s.TextStyle))) {
    putWords(cgm::kTextFontIndex, {cache.fontIndex});
  }
  const int height = static_cast<int>(s.CharHeight * 0.55f * s.AreaHeightDevice * s.DeviceScaleY);
  if (cgmChanged(cache.characterHeight, height)) putWords(cgm::kCharacterHeight, {height});
}

void writeText() {
  YYGrState& s = yyGrState;
  s.PageBegun = -1;
  CgmTextRequest request = cgmTextOfState(s.DeviceScaleX);
  request.colour = yyCgmFile.current;
  if (request.opaque) request.background = previousColour();
  cgmPutText(canvas(), yyCgmFile.cache, request);
}

void clip() {
  const YYGrState& s = yyGrState;
  putWords(cgm::kClipIndicator, {1});
  const CgmPoint corners[] = {{s.ViewportLeftReal, s.ViewportBottomReal}, {s.ViewportRightReal, s.ViewportTopReal}};
  cgmPutPointList(canvas(), cgm::kClipRectangle, corners, false);
}

void lineType() { putWords(cgm::kLineType, {cgmLineType(yyGrAttributes.LineStyle)}); }
void lineWidth() { putWords(cgm::kLineWidth, {vdcLineWidth()}); }

void characterAngle() {
  const YYGrState& s = yyGrState;
  cgmPutCharacterOrientation(toPlotFile, s.DeviceScaleX * s.CharWidth * s.AreaWidthDevice, s.CharSinOverAspect,
                             s.CharCos, s.CharSinTimesAspect);
}

void lineJoin() {
  const int join = hardcopyOption(kOptLineJoin);
  if (cgmChanged(yyCgmFile.cache.lineJoin, join)) putWords(cgm::kLineJoin, {join + 2});
}

void lineCap() {
  const int cap = hardcopyOption(kOptLineCap);
  if (cgmChanged(yyCgmFile.cache.lineCap, cap)) putWords(cgm::kLineCap, {cap + 2, 1});
}

// The rows go straight to the file's handle, so that a short write is seen
// and stops the image there.
void image() {
  YYGrState& s = yyGrState;
  std::vector<std::int32_t> colours;
  if (!cgmReadImageCells(s.X2, s.Y2, colours)) return;
  s.PageBegun = -1;
  const CgmCanvas c = canvas();
  const std::vector<std::string> pieces =
      cgmCellArrayPieces(c.x(s.ViewportLeftReal), c.y(s.ViewportTopReal), c.x(s.ViewportRightReal),
                         c.y(s.ViewportBottomReal), c.x(s.ViewportRightReal), c.y(s.ViewportTopReal), s.X2, s.Y2,
                         colours);
  toPlotFile(pieces.front());
  std::int32_t handle = kNoFile;
  YYPROUHandle(kPlotUnitFile, handle);
  for (std::size_t i = 1; i < pieces.size(); ++i) {
    const std::string& row = pieces[i];
    int written = 0;
    int error = 0;
    YYFileWriteChars(handle, row.data(), static_cast<int>(row.size()), written, error);
    if (written < static_cast<int>(row.size())) {
      s.M = 2;
      s.N = error;
      return;
    }
  }
}

void shadedTriangles(std::span<const std::int32_t>, std::span<const std::int32_t>,
                     std::span<const std::int32_t> colours, std::span<const YYTriangle> triangles,
                     std::int32_t& status) {
  cgmPutShadedTriangles(canvas(), colours, triangles);
  status = 0;
}

void shadedPolygon() {
  yyGrState.PageBegun = -1;
  cgmFillShadedPolygon(canvas(), shadedTriangles);
}

// A picture starts with the metafile's defaults: the attributes in force are
// written again, the cached ones as they are next needed.
void beginNextPicture() {
  YYCgmFileState& d = yyCgmFile;
  d.pictureOpen = true;
  cgmPutPictureStart(toFileAsIs, d.vdcWidth, d.vdcHeight);
  d.cache = CgmAttributeCache{};
  clip();
  lineType();
  lineWidth();
  lineJoin();
  lineCap();
  characterSize();
  characterAngle();
}

// Attributes that arrive between two pictures are written with the next one.
bool betweenPictures() { return yyCgmFile.plotOpen && !yyCgmFile.pictureOpen; }

}  // namespace

void YYCgmGreyColour(int& red, int& green, int& blue) {
  const int inversion = hardcopyOption(kOptColourInversion);
  const bool white = red > 245 && green > 245 && blue > 245;
  const bool black = red < 10 && green < 10 && blue < 10;
  if (inversion == 1 || (inversion == 2 && (white || black))) {
    red = 255 - red;
    green = 255 - green;
    blue = 255 - blue;
  }
}

void YYGCGMFILE(YYGrPrimitive& primitive) {
  YYGrState& s = yyGrState;
  switch (primitive) {
    case kOpInitialise: initialise(); break;
    case kOpLine: line(); break;
    case kOpColour:
    case kOpColourRefresh: selectColour(); break;
    case kOpEllipsePattern:
    case kOpQuadPattern:
    case kOpRectanglePattern:
    case kOpTrianglePattern:
    case kOpPiePattern:
    case kOpPolygonPattern: filledShape(primitive); break;
    case kOpBeginPlot: beginPlot(); break;
    case kOpEndPlot:
      // A picture nothing was drawn on still needs its end, or the file is cut.
      if (yyCgmFile.pictureOpen) put(CgmElement(cgm::kEndPicture));
      yyCgmFile.pictureOpen = false;
      yyCgmFile.plotOpen = false;
      cgmPut(toFileAsIs, CgmElement(cgm::kEndMetafile));
      YYPROUClose(kPlotUnitFile);
      break;
    case kOpEndPage:
      // A page ended with nothing drawn since the last one is an empty picture.
      s.PageBegun = 0;
      put(CgmElement(cgm::kEndPicture));
      yyCgmFile.pictureOpen = false;
      break;
    case kOpCharSize:
      if (!betweenPictures()) characterSize();
      break;
    case kOpText: writeText(); break;
    case kOpClip:
      if (!betweenPictures()) clip();
      break;
    case kOpPoint: point(); break;
    case kOpLineStyle:
      if (!betweenPictures()) lineType();
      break;
    case kOpLineWidth:
      if (!betweenPictures()) lineWidth();
      break;
    case kOpPolyline: polyline(); break;
    case kOpCharAngle:
      if (!betweenPictures()) characterAngle();
      break;
    case kOpLineJoin:
      if (!betweenPictures()) lineJoin();
      break;
    case kOpLineCap:
      if (!betweenPictures()) lineCap();
      break;
    case kOpImage: image(); break;
    case kOpShadedPolygon: shadedPolygon(); break;
    default: break;
  }
}
