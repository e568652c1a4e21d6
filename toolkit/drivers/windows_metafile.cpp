#include "toolkit/drivers/windows_metafile.h"

#include <string>

#include "toolkit/core/error_reporter.h"
#include "toolkit/drivers/hardcopy_dispatch.h"
#include "toolkit/drivers/hardcopy_gdi.h"
#include "toolkit/drivers/hardcopy_setup.h"
#include "toolkit/drivers/metafile_gdi.h"
#include "toolkit/graphics/image_drawing.h"

YYWindowsMetafile yyWindowsMetafile;

namespace {

constexpr std::string_view kDeviceName = "YYGWINMETA";
constexpr std::string_view kDefaultTitle = "Zandrovel graphic";
constexpr std::string_view kApplicationName = "QVR metafile driver";
constexpr int kDefaultPageWidth = 756;   // points
constexpr int kDefaultPageHeight = 540;
constexpr int kResolution = 600;
constexpr int kColours = 256;
// The placeable header's constant words XORed: key, 1000 units per inch, zeros.
constexpr std::uint16_t kPlaceableChecksumBase = 0x54F9;

void metaPolygon(int n, int) { YYMetaPolygon(n); }
const YYGdiDriverSet kMetafileSet{YYMetaSetPoint, metaPolygon, YYMetaRectangle, YYMetaEllipse,
                                  YYMetaPie,      YYMetaArc,   YYMetaPolyline,
                                  YYMetaLine,     YYMetaPixel, YYMetaTextExtent};

bool enhanced() { return yyWindowsMetafile.enhanced != 0; }

void initialise() {
  YYGrState& s = yyGrState;
  YYDriverDefaults();
  hardcopyOption(1) = kDefaultPageWidth;
  hardcopyOption(2) = kDefaultPageHeight;
  s.ResolutionX = s.ResolutionY = kResolution;
  s.HardcopyColourCount = s.HardcopyColourMax = kColours;
  hardcopyOption(27) = kMetaPlaceable;
  hardcopyOption(29) = 0;
  yyHardcopyOutputName = "";
  hardcopyWindowsDeviceWords(kWindowsMetafileDriver);
}

void failed() {
  YYErrorReport(1, kDeviceName);
  yyGrAttributes.HardcopyOpen = 0;
}

void beginPlot() {
  YYWindowsMetafile& d = yyWindowsMetafile;
  YYGrState& s = yyGrState;
  if (s.M > 0) {
    const int pageWidth = hardcopyOption(1);
    const int pageHeight = hardcopyOption(2);
    d.enhanced = hardcopyOption(27) == kMetaEnhanced ? 1 : 0;
    const int right = pageWidth * 1000 / 72;
    const int bottom = pageHeight * 1000 / 72;
    const auto checksum = static_cast<std::uint16_t>((right ^ bottom ^ kPlaceableChecksumBase) & 0xFFFF);
    d.width = pageWidth * 10;
    d.height = pageHeight * 10;
    if (s.X1 == 0) yyPlotTitle = kDefaultTitle;
    std::string description(kApplicationName);
    description += '\0';
    description += yyPlotTitle.trimmed();
    description += '\0';
    description += '\0';
    if (YYMetaOpen(d.width, d.height, hardcopyOption(27), hardcopyOption(29), right, bottom, checksum, s.N,
                   TEXT.trimmed(), description) != kMetaDone) {
      failed();
      return;
    }
    if (enhanced() && pageWidth != 0) d.scale = static_cast<float>(d.width) / static_cast<float>(pageWidth * 10);
    d.colours.previous = kWhiteComponents;
  }
  if (s.SurfaceWidthReal != 0.0f) s.DeviceScaleX = static_cast<float>(d.width) / s.SurfaceWidthReal;
  if (s.SurfaceHeightReal != 0.0f) s.DeviceScaleY = static_cast<float>(d.height) / s.SurfaceHeightReal;
}

void selectColour() {
  YYDriverColours& c = yyWindowsMetafile.colours;
  c.previous = c.current;
  c.current = hardcopyCurrentComponents();
  YYMetaGreyColour(c.current.red, c.current.green, c.current.blue);
  YYMetaSetColour(c.current.red, c.current.green, c.current.blue);
}

void filledShape(YYGrPrimitive opcode) {
  const bool colouredFill = yyGrAttributes.FillStyle > 2;
  if (!hardcopyFillColours(yyWindowsMetafile.colours, colouredFill, YYMetaGreyColour, YYMetaSetColour)) return;
  hardcopyShape(kMetafileSet, opcode, hardcopyPageAspect());
}

void drawText() {
  YYGrState& s = yyGrState;
  s.PageBegun = -1;
  const POINT start = hardcopyDevicePoint(s.R5 + s.CharStepX / 4, s.R1 - s.CharStepY / 4);
  const POINT end = hardcopyDevicePoint(s.R7 + s.CharStepX / 4, s.R3 - s.CharStepY / 4);
  YYMetaText(start.x, start.y, end.x, end.y, hardcopyTextAlignment(), hardcopyTextOpaque(),
             hardcopyTextOperand(s.X1));
  s.X4 = 0;
}

void lineWidth() {
  const int tenths = hardcopyOption(9);
  YYMetaSetLineWidth(enhanced() ? static_cast<int>(static_cast<float>(tenths) * yyWindowsMetafile.scale) : tenths);
}

}  // namespace

void YYGWINMETA(YYGrPrimitive& primitive) {
  YYGrState& s = yyGrState;
  switch (primitive) {
    case kOpInitialise:
      if (s.N == kDriverProbe) {
        s.N = kWindowsMetafileDriver;
        return;
      }
      initialise();
      break;
    case kOpBeginPlot: beginPlot(); break;
    case kOpEndPlot:
      if (YYMetaClose() != kMetaDone) failed();
      break;
    case kOpEndPage: s.PageBegun = 0; break;
    case kOpColour:
    case kOpColourRefresh: selectColour(); break;
    case kOpEllipsePattern:
    case kOpQuadPattern:
    case kOpRectanglePattern:
    case kOpTrianglePattern:
    case kOpPiePattern:
    case kOpPolygonPattern: filledShape(primitive); break;
    case kOpCharSize:
    case kOpCharAngle: {
      const YYFontRequest request = hardcopyFontRequest();
      YYMetaFont(request.width, request.height, request.angle, s.TextFont, request.style, s.FontName.trimmed());
      break;
    }
    case kOpText: drawText(); break;
    case kOpClip: {
      const RECT clip = hardcopyViewportRectangle(true);
      YYMetaClipRect(clip.left, clip.top, clip.right, clip.bottom);
      break;
    }
    case kOpTextExtent:
      // A Windows metafile has no device to measure text on.
      if (enhanced()) hardcopyTextExtentStep(kMetafileSet, yyWindowsMetafile.textWidth);
      break;
    case kOpLineStyle: YYMetaSetLineStyle(yyGrAttributes.LineStyle); break;
    case kOpLineWidth: lineWidth(); break;
    case kOpImage: hardcopyImage(kImageTargetMetafile); break;
    case kOpShadedPolygon:
      hardcopyShadedPolygon(enhanced() ? s.ShadeMode[kHardcopySide] : 1, yyMetaContext.MetaDc, YYMetaFillPixel,
                            YYMetaShadedTriangles);
      break;
    default: hardcopyLineStep(kMetafileSet, primitive); break;
  }
}
