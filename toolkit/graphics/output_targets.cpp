// Output targets and metafile slots.
#include "toolkit/graphics/output_targets.h"

#include <windows.h>

#include "toolkit/core/error_reporter.h"
#include "toolkit/core/window_select.h"
#include "toolkit/core/window_table.h"
#include "toolkit/dialogs/controls.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/graphics/cgm_recorder.h"
#include "toolkit/graphics/graphics_defaults.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/image_slots.h"
#include "toolkit/graphics/screen_gdi.h"

namespace {

constexpr int kInvalidWindowHandle = 1003;
constexpr int kInvalidTarget = 1019;
constexpr int kInvalidMetafile = 1060;

YYMetafileSlot& slotAt(int slot) { return yyMetafileSlots[static_cast<std::size_t>(slot)]; }

// Gives up the drawing context of the target being left, by that target's
// kind, before a switch to another kind: a bitmap's memory context is
// deleted, a field's or window's context goes back to its window, a metafile
// recording stays with its slot.  The current pen and font are taken out
// first, so that they survive for the next context.  Between windows the
// window selection itself trades the contexts.
void releaseDrawingContext(std::int32_t nextKind) {
  YYGdiContext& g = yyGdiContext;
  HDC dc = g.DrawDc;
  const std::int32_t kind = yyGrAttributes.TargetKind;
  if (dc == nullptr || (kind == kTargetWindow && nextKind == kTargetWindow)) return;
  if (g.OldPen != nullptr) SelectObject(dc, g.OldPen);
  if (g.OldFont != nullptr) SelectObject(dc, g.OldFont);
  g.OldPen = nullptr;
  g.OldFont = nullptr;
  if (kind == kTargetWindow || kind == kTargetField) {
    YYDrawDcRestoreObjects(dc);
    // A context that a caller installed without a window stays the caller's.
    if (g.DrawWindow != nullptr) ReleaseDC(g.DrawWindow, dc);
  } else if (kind == kTargetBitmap) {
    DeleteDC(dc);
  }
  g.DrawDc = nullptr;
  g.DrawBitmap = nullptr;
  g.DrawWindow = nullptr;
  g.MetafileTarget = 0;
}

// A window context made afresh carries the current pen and font again.
void selectPenAndFont() {
  YYGdiContext& g = yyGdiContext;
  if (g.DrawDc == nullptr) return;
  if (g.Pen && g.OldPen == nullptr) g.OldPen = SelectObject(g.DrawDc, g.Pen.get());
  if (g.Font && g.OldFont == nullptr) g.OldFont = SelectObject(g.DrawDc, g.Font.get());
}

// Selects the window and tells whether the selection itself failed.  Only a
// 1003 raised by this call counts: a stale one must not fail the switch, and
// the last-error word keeps what it had.
bool reselectWindow(int window) {
  const int before = errorState.lastError;
  errorState.lastError = 0;
  YYWindowReselect(window);
  if (errorState.lastError == kInvalidWindowHandle) return false;
  errorState.lastError = before;
  return true;
}

bool selectWindow(std::optional<int> id) {
  YYGrAttributes& a = yyGrAttributes;
  a.TargetId = id.value_or(windowTable.currentIndex);
  a.TargetDialog = 0;
  // Before the root window exists (a program that only draws off screen)
  // the surface is the window size on record, with no context to select.
  if (!slotHasFrame(0)) {
    YYGraphicsAreaResize(kTargetWindow, a.TargetId, windowTable.clientWidth, windowTable.clientHeight);
    return true;
  }
  if (!reselectWindow(a.TargetId)) return false;
  selectPenAndFont();
  return true;
}

bool selectBitmap(std::optional<int> id) {
  YYGrAttributes& a = yyGrAttributes;
  a.TargetId = id.value_or(1);
  a.TargetDialog = 0;
  int status = 1, width = 0, height = 0;
  YYBMPTARGET(a.TargetId - 1, status, width, height);
  if (status != 0) return false;
  YYGraphicsAreaResize(kTargetBitmap, a.TargetId, width, height);
  return true;
}

bool selectField(std::optional<int> id) {
  YYGrAttributes& a = yyGrAttributes;
  const DialogRecord* dialog = currentDialogRecord();
  if (currentDialogWindow() == nullptr || dialog == nullptr) return false;
  int field = id.value_or(0);
  a.TargetId = field;
  a.TargetDialog = dialog->identifier;
  int width = 0, height = 0;
  YYFieldBackBufferCreate(field, width, height);
  if (field == -1) return false;
  YYGraphicsAreaResize(kTargetField, a.TargetId, width, height);
  return true;
}

bool selectSlot(std::optional<int> id) {
  YYGrAttributes& a = yyGrAttributes;
  a.TargetId = id.value_or(1);
  a.TargetDialog = 0;
  int status = 1, width = 0, height = 0;
  YYSLOTTARGET(a.TargetId, status, width, height);
  if (status > 0) return false;
  YYGraphicsAreaResize(kTargetMetafile, a.TargetId, width, height);
  return true;
}

// Back to the current window after a failed switch; no opcode is sent.
void fallBackToWindow() {
  YYGrAttributes& a = yyGrAttributes;
  a.TargetId = windowTable.currentIndex;
  a.TargetDialog = 0;
  a.TargetKind = kTargetWindow;
  if (reselectWindow(a.TargetId)) selectPenAndFont();
  YYGraphicsAreaResize(kTargetWindow, a.TargetId, windowTable.clientWidth, windowTable.clientHeight);
  YYErrorReport(kInvalidTarget, "IGrSelect");
}

void toScreenRoute(YYGrOpcode opcode) {
  YYGrPrimitive op = opcode;
  YYPRIMROUTE(op);
}

}  // namespace

void IGrSelect(int target, std::optional<int> id) {
  // An unknown target changes nothing: not even the route, which would
  // otherwise leave a CGM slot selected but drawn on the screen.
  if (target < kTargetWindow || target > kTargetMetafile) return;
  YYGrAttributes& a = yyGrAttributes;
  const std::int32_t routeBefore = a.CgmRoute;
  a.CgmRoute = 0;
  releaseDrawingContext(target);
  a.TargetKind = target;
  bool selected = false;
  switch (target) {
    case kTargetWindow: selected = selectWindow(id); break;
    case kTargetBitmap: selected = selectBitmap(id); break;
    case kTargetField: selected = selectField(id); break;
    default: selected = selectSlot(id); break;
  }
  if (!selected) {
    fallBackToWindow();
    return;
  }
  toScreenRoute(kOpInitialise);
  // Entering a CGM slot starts its plot; leaving one gives the screen back
  // its line width, style, colours and viewport.
  if (routeBefore == 1 || a.CgmRoute == 1) {
    for (const YYGrOpcode op : {kOpBeginPlot, kOpLineWidth, kOpLineStyle, kOpColourRefresh, kOpClip}) {
      toScreenRoute(op);
    }
    if (a.WindowSelectOption != 0) toScreenRoute(kOpCharSize);
  }
}

void YYSLOTTARGET(int slot, int& status, int& width, int& height) {
  status = 1;
  if (slot < 1 || slot > kMetafileSlots) return;
  const YYMetafileSlot& s = slotAt(slot);
  if (!s.inUse() || s.kind() == kSlotEmpty) return;
  if (s.kind() == kSlotEnhanced) {
    width = s.words[kSlotDeviceWidth];
    height = s.words[kSlotDeviceHeight];
    yyGrAttributes.CgmRoute = 0;
    YYEMFSELECT(slot - 1, width, height, status);
  } else if (s.kind() == kSlotCgm) {
    width = s.words[kSlotDeviceWidth];
    height = s.words[kSlotDeviceHeight];
    yyGrAttributes.CgmRoute = 1;
    status = 0;
  }
}

void YYBMPTARGET(int index, int& status, int& width, int& height) {
  status = 1;
  if (!isImageSlotIndex(index)) return;
  const YYBitmapSlot& slot = yyBitmapSlots[static_cast<std::size_t>(index)];
  if (slot.bitmap == nullptr) return;
  YYGdiContext& g = yyGdiContext;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  if (dc == nullptr || SelectObject(dc, slot.bitmap) == nullptr) {
    // Selected elsewhere (a view, another context): it cannot be drawn into.
    if (dc != nullptr) DeleteDC(dc);
    return;
  }
  width = slot.width;
  height = slot.height;
  g.DrawBitmap = slot.bitmap;
  g.DrawDc = dc;
  g.DrawWindow = nullptr;
  if (g.PatternBitmap != nullptr) DeleteObject(g.PatternBitmap);
  g.PatternBitmap = CreateCompatibleBitmap(dc, 8, 8);
  g.PatternDirty = 1;
  SetROP2(dc, g.RopCode);
  SetBkMode(dc, TRANSPARENT);
  g.OldPen = g.Pen ? SelectObject(dc, g.Pen.get()) : nullptr;
  g.OldFont = g.Font ? SelectObject(dc, g.Font.get()) : nullptr;
  YYGdiDashPattern();
  if (g.Palette != nullptr) {
    SelectPalette(dc, g.Palette, FALSE);
    RealizePalette(dc);
  }
  status = 0;
}

void WMetafileDestroy(int slot) {
  if (slot < 1 || slot > kMetafileSlots) {
    YYErrorReport(kInvalidMetafile, "WMetafileDestroy");
    return;
  }
  YYMetafileSlot& s = slotAt(slot);
  switch (s.kind()) {
    case kSlotEmpty:
      YYErrorReport(kInvalidMetafile, "WMetafileDestroy");
      break;
    case kSlotEnhanced:
      YYEMFDELETE(slot - 1);
      break;
    case kSlotCgm:
      YYCgmMemRelease(slot);
      break;
    default:
      break;
  }
  for (const MetafileSlotWord word : {kSlotKind, kSlotInUse, kSlotWidthPoints, kSlotHeightPoints, kSlotCapacity,
                                      kSlotBytesUsed}) {
    s.words[word] = 0;
  }
}
