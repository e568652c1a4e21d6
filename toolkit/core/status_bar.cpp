#include "toolkit/core/status_bar.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "toolkit/core/fixed_text.h"
#include "toolkit/core/window_table.h"

StatusPanes statusPanes;

namespace {
HWND currentStatusBar() {
  const int slot = windowTable.currentSlot;
  return isValidSlot(slot) ? slotOf(slot).statusBar : nullptr;
}

int styleFlag(int style) {
  switch (style) {
    case 0:
      return SBT_NOBORDERS;
    case 2:
      return SBT_POPOUT;
    default:
      return 0;
  }
}

int paneStyle(int pane) {
  return statusPanes.styles[static_cast<std::size_t>(windowTable.currentSlot)][static_cast<std::size_t>(pane)];
}
}  // namespace

void WindowStatusPanes(int count, std::span<const int> widths, std::span<const int> styles) {
  if (count <= 0 || count > kMaxStatusPanes) return;
  if (static_cast<int>(widths.size()) < count) return;
  int edge = 0;
  for (int i = 1; i <= count; ++i) {
    const std::size_t at = static_cast<std::size_t>(i - 1);
    const int style = at < styles.size() ? styles[at] : 1;
    if (widths[at] == -1) {
      YYStatusPaneSet(i, -1, style);
      break;
    }
    int px = 0;
    int unused = 0;
    YYScaleToPixels(widths[at], 0, px, unused);
    edge += px;
    YYStatusPaneSet(i, edge, style);
  }
  YYStatusPanesApply(count);
}

void YYStatusPaneSet(int pane, int rightEdge, int style) {
  if (pane < 1 || pane > kMaxStatusPanes || !isValidSlot(windowTable.currentSlot)) return;
  statusPanes.edges[static_cast<std::size_t>(pane)] = rightEdge;
  statusPanes.styles[static_cast<std::size_t>(windowTable.currentSlot)][static_cast<std::size_t>(pane)] =
      styleFlag(style);
}

void YYStatusPanesApply(int count) {
  HWND bar = currentStatusBar();
  if (bar == nullptr || count <= 0 || count > kMaxStatusPanes) return;
  SendMessageA(bar, SB_SETPARTS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(&statusPanes.edges[1]));
  for (int part = 0; part < count; ++part) {
    // The text is measured first, so that a text longer than the buffer is
    // cut to it instead of overrunning it.
    const int length = LOWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, static_cast<WPARAM>(part), 0));
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(bar, SB_GETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text.data()));
    text.resize(std::min<std::size_t>(std::char_traits<char>::length(text.c_str()), kStatusTextLength));
    SendMessageA(bar, SB_SETTEXTA, static_cast<WPARAM>(part | paneStyle(part + 1)),
                 reinterpret_cast<LPARAM>(text.c_str()));
  }
  InvalidateRect(bar, nullptr, TRUE);
  UpdateWindow(bar);
}

void WindowStatusText(int pane, std::string_view text) {
  if (pane < 1 || pane > kMaxStatusPanes) return;
  std::string shown = windowsText(text);
  if (shown.size() > kStatusTextLength) shown.resize(kStatusTextLength);
  YYStatusTextSet(pane, shown.c_str());
}

void YYStatusTextSet(int pane, const char* text) {
  HWND bar = currentStatusBar();
  if (bar == nullptr || pane < 1 || pane > kMaxStatusPanes) return;
  const int part = pane - 1;
  SendMessageA(bar, SB_SETTEXTA, static_cast<WPARAM>(part | paneStyle(pane)), reinterpret_cast<LPARAM>(text));
  RECT r{};
  SendMessageA(bar, SB_GETRECT, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(&r));
  InvalidateRect(bar, &r, TRUE);
  UpdateWindow(bar);
}

void YYStatusStylesClear(int slot) {
  if (isValidSlot(slot)) statusPanes.styles[static_cast<std::size_t>(slot)].fill(0);
}

void YYScaleToPixels(int x, int y, int& px, int& py) {
  px = static_cast<int>(static_cast<long long>(windowTable.clientWidth - 1) * x / 9999);
  py = static_cast<int>(static_cast<long long>(windowTable.clientHeight - 1) * y / 9999);
}

void YYPixelsToUnits(int px, int py, int& x, int& y) {
  const int w = windowTable.clientWidth;
  const int h = windowTable.clientHeight;
  x = w <= 1 ? 0 : static_cast<int>((static_cast<double>(px) + 0.5) * 9999.0 / w);
  y = h <= 1 ? 0 : static_cast<int>((static_cast<double>(py) + 0.5) * 9999.0 / h);
}
