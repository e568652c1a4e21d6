#include "toolkit/drivers/windows_printer.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "toolkit/core/error_reporter.h"
#include "toolkit/drivers/hardcopy_dispatch.h"
#include "toolkit/drivers/hardcopy_gdi.h"
#include "toolkit/drivers/hardcopy_setup.h"
#include "toolkit/drivers/printer_device.h"
#include "toolkit/drivers/printer_gdi.h"
#include "toolkit/graphics/image_drawing.h"
#include "toolkit/graphics/polygon_fill.h"

YYWindowsPrinter yyWindowsPrinter;

namespace {

constexpr std::string_view kDeviceName = "XXWIN";
constexpr std::string_view kDefaultTitle = "Zandrovel graphic";
constexpr int kMaxHardcopyColours = 256;

const YYGdiDriverSet kPrinterSet{YYPrnSetPoint, YYPrnPolygon, YYPrnRectangle, YYPrnEllipse,
                                 YYPrnPie,      YYPrnArc,     YYPrnPolyline,
                                 YYPrnLine,     YYPrnDot,     YYPrnTextExtent};

bool monochrome() { return hardcopyOption(7) == 1; }

void initialise() {
  YYWindowsPrinter& d = yyWindowsPrinter;
  YYGrState& s = yyGrState;
  YYDriverDefaults();
  if (s.M != kKeepPrinterSettings) {
    YYFpuSave();
    YYPrinterCaps(yyDumpSettings.paperWidth, yyDumpSettings.paperHeight, hardcopyOption(1),
                  hardcopyOption(2), hardcopyOption(3), hardcopyOption(4), hardcopyOption(5),
                  hardcopyOption(8), d.colourCount, d.error);
    YYFpuRestore();
    s.HardcopyColourCount = d.colourCount;
    s.HardcopyColourMax = kMaxHardcopyColours;
    yyDumpSettings.printerPresent = d.error == 0 ? 1 : 0;
    // GDI answers -1 for every device of more than 256 colours: a colour
    // printer, however many colours it reports, is not a monochrome one.
    hardcopyOption(7) = d.colourCount >= 0 && d.colourCount <= 2 ? 1 : 0;
  }
  hardcopyWindowsDeviceWords(kWindowsPrinterDriver);
}

void beginPlot() {
  YYWindowsPrinter& d = yyWindowsPrinter;
  YYGrState& s = yyGrState;
  if (s.M > 0) {
    if (d.error == 0) {
      if (s.X1 == 0) yyPlotTitle = kDefaultTitle;
      const std::string title(yyPlotTitle.trimmed());
      YYPrnStartDoc(hardcopyOption(1), hardcopyOption(2), hardcopyOption(3), hardcopyOption(4), s.ResolutionX,
                    s.ResolutionY, d.documentColours, d.documentError, hardcopyOption(5), hardcopyOption(8), title);
    } else {
      d.documentError = d.error;
    }
    if (d.documentError != 0) {
      errorState.ioDetail = d.documentError;
      errorState.ioDetailKind = 2;
      YYErrorReport(1, kDeviceName);
      yyGrAttributes.HardcopyOpen = 0;
      return;
    }
    d.resolutionX = static_cast<float>(s.ResolutionX);
    d.resolutionY = static_cast<float>(s.ResolutionY);
    d.pageWidth = s.ResolutionX * hardcopyOption(1) / 72;
    d.pageHeight = s.ResolutionY * hardcopyOption(2) / 72;
    s.HardcopyColourCount = std::min(d.documentColours, kMaxHardcopyColours);
    d.colours.previous = kWhiteComponents;
  }
  if (s.SurfaceWidth != 0) s.DeviceScaleX = static_cast<float>(d.pageWidth) / static_cast<float>(s.SurfaceWidth);
  if (s.SurfaceHeight != 0) s.DeviceScaleY = static_cast<float>(d.pageHeight) / static_cast<float>(s.SurfaceHeight);
}

void selectColour() {
  YYDriverColours& c = yyWindowsPrinter.colours;
  const YYGrAttributes& a = yyGrAttributes;
  c.previous = c.current;
  if (!monochrome()) {
    c.current = hardcopyCurrentComponents();
    YYPrnGreyColour(c.current.red, c.current.green, c.current.blue);
  } else {
    const bool white = a.ColourMode == kColourRgb ? a.CurrentRGB == 0xFFFFFF : a.ColourNumber == 0;
    c.current = white ? kWhiteComponents : YYRgbComponents{};
  }
  YYPrnSetColour(c.current.red, c.current.green, c.current.blue);
}

void filledShape(YYGrPrimitive opcode) {
  const int fillStyle = yyGrAttributes.FillStyle;
  const bool colouredFill = (fillStyle > 0 && monochrome()) || fillStyle > 2;
  if (!hardcopyFillColours(yyWindowsPrinter.colours, colouredFill, YYPrnGreyColour, YYPrnSetColour)) return;
  hardcopyShape(kPrinterSet, opcode, hardcopyPageAspect());
}

void makeFont() {
  YYWindowsPrinter& d = yyWindowsPrinter;
  const YYFontRequest request = hardcopyFontRequest();
  int height = request.height;
  YYPrnFont(request.width, height, d.ascent, request.angle, yyGrState.TextFont, request.style,
            yyGrState.FontName.trimmed());
  d.cellHeight = height;
}

void drawText() {
  YYGrState& s = yyGrState;
  const YYWindowsPrinter& d = yyWindowsPrinter;
  s.PageBegun = -1;
  const float lift = static_cast<float>(d.ascent - d.cellHeight / 2);
  const float dx = s.DeviceScaleX != 0.0f ? lift * s.CharSinOverAspect / s.DeviceScaleX : 0.0f;
  const float dy = s.DeviceScaleY != 0.0f ? lift * s.CharCos / s.DeviceScaleY : 0.0f;
  const POINT start = hardcopyDevicePoint(s.R5 + dx, s.R1 - dy);
  const POINT end = hardcopyDevicePoint(s.R7 + dx, s.R3 - dy);
  YYPrnText(start.x, start.y, end.x, end.y, hardcopyTextAlignment(), hardcopyTextOpaque(),
            hardcopyTextOperand(s.X1));
  s.X4 = 0;
}

void lineWidth() {
  const YYWindowsPrinter& d = yyWindowsPrinter;
  const double tenths = hardcopyOption(9);
  const int wx = std::max(1, static_cast<int>(tenths * d.resolutionX / 720.0 + 0.5));
  const int wy = std::max(1, static_cast<int>(tenths * d.resolutionY / 720.0 + 0.5));
  YYPrnSetLineWidth((wx + wy - 2) / 2);
}

}  // namespace

void YYGWINPRN(YYGrPrimitive& primitive) {
  YYGrState& s = yyGrState;
  switch (primitive) {
    case kOpInitialise:
      if (s.N == kDriverProbe) {
        s.N = kWindowsPrinterDriver;
        return;
      }
      initialise();
      break;
    case kOpBeginPlot: beginPlot(); break;
    case kOpEndPlot: YYPrnEndDoc(); break;
    case kOpEndPage:
      s.PageBegun = 0;
      YYPrnEndPage();
      break;
    case kOpColour:
    case kOpColourRefresh: selectColour(); break;
    case kOpEllipsePattern:
    case kOpQuadPattern:
    case kOpRectanglePattern:
    case kOpTrianglePattern:
    case kOpPiePattern:
    case kOpPolygonPattern: filledShape(primitive); break;
    case kOpCharSize:
    case kOpCharAngle: makeFont(); break;
    case kOpText: drawText(); break;
    case kOpClip: {
      const RECT clip = hardcopyViewportRectangle(true);
      YYPrnClipRect(clip.left, clip.top, clip.right, clip.bottom);
      break;
    }
    case kOpTextExtent: hardcopyTextExtentStep(kPrinterSet, yyWindowsPrinter.textWidth); break;
    case kOpLineStyle: YYPrnSetLineStyle(yyGrAttributes.LineStyle); break;
    case kOpLineWidth: lineWidth(); break;
    case kOpImage: hardcopyImage(kImageTargetPrinter); break;
    case kOpShadedPolygon:
      hardcopyShadedPolygon(s.ShadeMode[kHardcopySide], yyPrnContext.PrinterDc, YYPrnFillPixel, YYPrnShadedTriangles);
      break;
    default: hardcopyLineStep(kPrinterSet, primitive); break;
  }
}
