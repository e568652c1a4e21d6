#include "toolkit/core/error_reporter.h"
#include "toolkit/graphics/graphics_state.h"

// Frees metafile slot 1-20.  Nothing records a metafile yet, so freeing is
// clearing the slot.
void WMetafileDestroy(int slot) {
  if (slot < 1 || slot > kMetafileSlots || yyMetafileSlots[static_cast<std::size_t>(slot)].inUse == 0) {
    YYErrorReport(1060, "WMetafileDestroy");
    return;
  }
  yyMetafileSlots[static_cast<std::size_t>(slot)] = YYMetafileSlot{};
}
