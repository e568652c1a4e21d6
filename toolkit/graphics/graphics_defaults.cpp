// The graphics defaults that opening the root window sets.
#include <windows.h>

#include "toolkit/core/window_table.h"
#include "toolkit/drivers/hardcopy_setup.h"
#include "toolkit/drivers/windows_printer.h"
#include "toolkit/graphics/graphics_state.h"

void YYGraphicsDefaults(int driverOptions, int option2, int option3, int option4, int option5) {
  YYHardcopyStartStop("S", " ");
  YYDrawTarget& t = yyDrawTarget;
  // The root window is the drawing target, its whole client area the area,
  // user units 0-1 across it.
  t.kind = kTargetWindow;
  t.id = 0;
  t.areaX1 = 0.0f;
  t.areaY1 = 0.0f;
  t.areaX2 = 1.0f;
  t.areaY2 = 1.0f;
  t.userXMin = 0.0f;
  t.userXMax = 1.0f;
  t.userYMin = 0.0f;
  t.userYMax = 1.0f;
  t.initialised = true;
  yyGrAttributes.screenDriver = 1;
  yyGrAttributes.hardcopyOpen = 0;
  YYGraphicsAreaResize(kTargetWindow, 0, windowTable.clientWidth, windowTable.clientHeight);
  YYGWINPRN(1);
  yyGrState.activeDriver = 0;
}
