// Output targets and metafile slots.
#include "toolkit/graphics/output_targets.h"

#include "toolkit/core/error_reporter.h"
#include "toolkit/core/window_table.h"
#include "toolkit/graphics/graphics_defaults.h"
#include "toolkit/graphics/graphics_state.h"

// Only windows can be targets so far, and the window code has already made the
// current window's context the drawing context: selecting a window takes its
// size into the graphics state and lets the screen driver describe it.
void IGrSelect(int target, int id) {
  if (target != kTargetWindow) {
    YYErrorReport(1019, "IGrSelect");
    return;
  }
  YYGrAttributes& a = yyGrAttributes;
  a.CgmRoute = 0;
  a.TargetKind = kTargetWindow;
  a.TargetId = id;
  a.TargetDialog = 0;
  YYGraphicsAreaResize(kTargetWindow, id, windowTable.clientWidth, windowTable.clientHeight);
  YYGrPrimitive op = kOpInitialise;
  YYPRIMROUTE(op);
}

// Nothing records a metafile yet, so freeing is clearing the slot.
void WMetafileDestroy(int slot) {
  if (slot < 1 || slot > kMetafileSlots || !yyMetafileSlots[static_cast<std::size_t>(slot)].inUse()) {
    YYErrorReport(1060, "WMetafileDestroy");
    return;
  }
  yyMetafileSlots[static_cast<std::size_t>(slot)] = YYMetafileSlot{};
}
