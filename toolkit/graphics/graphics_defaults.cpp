// The graphics defaults that opening the root window sets.
#include "toolkit/graphics/graphics_defaults.h"

#include "toolkit/core/window_table.h"
#include "toolkit/drivers/hardcopy_setup.h"
#include "toolkit/drivers/windows_printer.h"
#include "toolkit/graphics/graphics_area.h"

void YYGraphicsDefaults(std::string_view, int, int, int) {
  YYHardcopyStartStop("S", " ");
  YYGrState& s = yyGrState;
  YYGrAttributes& a = yyGrAttributes;
  a.TargetKind = kTargetWindow;
  a.TargetId = 0;
  s.AreaX1 = s.AreaY1 = 0.0f;
  s.AreaX2 = s.AreaY2 = 1.0f;
  s.UnitsX1 = s.UnitsY1 = 0.0f;
  s.UnitsX2 = s.UnitsY2 = 1.0f;
  s.UserRangeX = s.UserRangeY = 1.0f;
  a.ScreenDriverOn = 1;
  a.HardcopyOpen = 0;
  YYGraphicsAreaResize(kTargetWindow, 0, windowTable.clientWidth, windowTable.clientHeight);
  YYGWINPRN(1);
  s.ActiveDriver = 0;
}
