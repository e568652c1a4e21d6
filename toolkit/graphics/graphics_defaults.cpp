// The routes of every primitive, the graphics defaults of a new root window,
// and the sizing calls of the window code.
#include "toolkit/graphics/graphics_defaults.h"

#include <array>

#include "toolkit/core/strings.h"
#include "toolkit/core/window_table.h"
#include "toolkit/core/window_text.h"
#include "toolkit/drivers/hardcopy_dispatch.h"
#include "toolkit/drivers/hardcopy_options.h"
#include "toolkit/drivers/hardcopy_setup.h"
#include "toolkit/drivers/hardcopy_start_stop.h"
#include "toolkit/graphics/cgm_recorder.h"
#include "toolkit/graphics/characters.h"
#include "toolkit/graphics/colours.h"
#include "toolkit/graphics/graphics_area.h"
#include "toolkit/graphics/output_targets.h"
#include "toolkit/graphics/presentation_graphics.h"
#include "toolkit/graphics/screen_driver.h"
#include "toolkit/graphics/stroke_font.h"

namespace {
constexpr std::int32_t kDefaultCurrentColour = 223;  // black in the default table
constexpr std::int32_t kWhite = 16777215;

void toScreen(YYGrOpcode opcode) {
  YYGrPrimitive op = opcode;
  YYPRIMROUTE(op);
}

void areaAndCharacterDefaults() {
  YYGrState& s = yyGrState;
  s.AreaX1 = 0.0f;
  s.AreaX2 = 1.0f;
  s.AreaY2 = 1.0f;
  s.AreaY1 = 0.0f;
  s.UserRangeY = 1.0f;
  s.UserRangeX = 1.0f;
  s.AreaWidthFraction = 1.0f;
  s.AreaHeightFraction = 1.0f;
  s.CharWidth = 0.013333f;
  s.CharHeight = 0.04f;
  s.CharAngle = 0.0f;
  s.TextStyle = 0;
  s.TextSizeHold = 0;
  s.TextPerCharacter = 0;
  s.TextMode = 0;
  s.TextFont = 1;
  s.TextFamily = 1;
  s.TextAlign = 1;
  s.FontName.blank();
  s.CharSinOverAspect = 0.0f;
  s.CharCos = 1.0f;
  s.CharSinTimesAspect = 0.0f;
}

void lineAndColourDefaults() {
  YYGrAttributes& a = yyGrAttributes;
  a.DrawFlag = 0;
  a.DrawMode = 0;
  a.ColourMode = kColourIndexed;
  a.PreviousColourNumber = 0;
  a.ColourNumber = kDefaultCurrentColour;
  a.PreviousRGB = kWhite;
  a.CurrentRGB = 0;
  a.LineStyle = 0;
  a.LineWidth = 1;
  a.LineWidthTenths = 5;
}

// Opcode 1 reaches the selected hardcopy driver even with no hardcopy open;
// with "P" an active driver's options survive it.
void hardcopyDeviceDefaults(bool keepOptions) {
  const bool save = yyGrState.ActiveDriver != 0 && keepOptions;
  std::array<std::int32_t, kHardcopyOptionCount + 1> savedOptions{};
  FixedText<260> savedName;
  if (save) {
    for (int code = 1; code <= kHardcopyOptionCount; ++code) {
      savedOptions[static_cast<std::size_t>(code)] = hardcopyOption(code);
    }
    savedName = yyHardcopyOutputName.view();
  }
  for (int code = 1; code <= kHardcopyOptionCount; ++code) hardcopyOption(code) = 0;
  yyGrState.M = save ? kKeepPrinterSettings : 0;
  YYGrPrimitive op = kOpInitialise;
  YYHCDISPATCH(op);
  yyGrState.M = 0;
  if (!save) return;
  yyHardcopyOutputName = savedName.view();
  for (int code = 1; code <= kHardcopyOptionCount; ++code) {
    YYHCOPTION(code, savedOptions[static_cast<std::size_t>(code)]);
  }
}
}  // namespace

void YYPRIMROUTE(YYGrPrimitive& primitive) {
  if (yyGrAttributes.CgmRoute == 0) {
    YYGAPI(primitive);
  } else {
    YYGCGMMEM(primitive);
  }
}

void YYDriverCommand(YYGrPrimitive& primitive) {
  if (yyGrAttributes.HardcopyOpen > 0) YYHCDISPATCH(primitive);
}

void YYGraphicsDefaults(std::string_view options, int, int, int) {
  YYGrAttributes& a = yyGrAttributes;
  areaAndCharacterDefaults();
  lineAndColourDefaults();
  a.ScreenDriverOn = YYHasCharAnyCase(options, 'H') ? 0 : 1;
  IGrSelect(kTargetWindow, windowTable.currentIndex);
  if (a.ScreenDriverOn == 1) {
    toScreen(kOpBeginPlot);
    a.DeviceColourCount = a.DisplayDepth;
    a.ColourCount = a.DisplayDepth;
    // Selecting the previous number first leaves both in their places.
    const std::int32_t previous = a.PreviousColourNumber;
    const std::int32_t current = a.ColourNumber;
    IGrColourN(previous);
    IGrColourN(current);
    toScreen(kOpDrawMode);
    toScreen(kOpLineStyle);
    toScreen(kOpLineWidth);
    toScreen(kOpCharSize);
  }
  YYCHARSIZEAPPLY();
  YYCHSPACE(0);
  YYSTROKEFONTINIT(0);
  yyGrState.PageBegun = 0;
  YYHardcopyStartStop("S", " ");
  hardcopyDeviceDefaults(YYHasCharAnyCase(options, 'P'));
  IGrUnits(0.0f, 0.0f, 1.0f, 1.0f);
  a.FillStyle = 0;
  a.FillFallback = 0;
  a.FillPatternGroup = 1;
  YYPgDefaults();
}

void YYTextCellSet(int cellWidth, int cellHeight) {
  textAttributes.cellWidthUnits = cellWidth;
  textAttributes.cellHeightUnits = cellHeight;
  YYTextSizeToPixels();
}

void YYGraphicsAreaResize(int kind, int id, int width, int height) {
  YYGrAttributes& a = yyGrAttributes;
  if (a.TargetKind != kind || a.TargetId != id) return;
  YYGrState& s = yyGrState;
  s.SurfaceWidth = width;
  s.SurfaceHeight = height;
  a.DeviceMaxX = width - 1;
  a.DeviceMaxY = height - 1;
  s.SurfaceWidthReal = static_cast<float>(width) - 0.01f;
  s.SurfaceHeightReal = static_cast<float>(height) - 0.01f;
  s.SurfaceAspect = height != 0 ? static_cast<float>(width) / static_cast<float>(height) : 1.0f;
  a.ClearHeight = height;
  a.ClearWidth = width;
  s.M = -1;
  YYGrPrimitive op = kOpBeginPlot;
  YYDriverCommand(op);
  IGrArea(s.AreaX1, s.AreaY1, s.AreaX2, s.AreaY2);
}

void YYWindowResized(int window, int width, int height) {
  if (window != windowTable.currentIndex) return;
  windowTable.clientWidth = width;
  windowTable.clientHeight = height;
  YYTextSizeToPixels();
  YYGraphicsAreaResize(kTargetWindow, window, width, height);
}
