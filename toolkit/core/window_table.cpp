#include "toolkit/core/window_table.h"

#include <algorithm>

WindowTable windowTable;

const std::array<COLORREF, 16> kStandardWindowColours = {
    RGB(0x00, 0x00, 0x00), RGB(0xBF, 0x00, 0x00), RGB(0xBF, 0xBF, 0x00), RGB(0x00, 0xBF, 0x00),
    RGB(0x00, 0xBF, 0xBF), RGB(0x00, 0x00, 0xBF), RGB(0xBF, 0x00, 0xBF), RGB(0xBF, 0xBF, 0xBF),
    RGB(0x40, 0x40, 0x40), RGB(0xFF, 0x00, 0x00), RGB(0xFF, 0xFF, 0x00), RGB(0x00, 0xFF, 0x00),
    RGB(0x00, 0xFF, 0xFF), RGB(0x00, 0x00, 0xFF), RGB(0xFF, 0x00, 0xFF), RGB(0xFF, 0xFF, 0xFF),
};

std::array<COLORREF, kWindowColours> windowColours = [] {
  std::array<COLORREF, kWindowColours> colours{};
  std::copy(kStandardWindowColours.begin(), kStandardWindowColours.end(), colours.begin());
  colours[16] = RGB(0, 0, 0);
  colours[17] = RGB(0xFF, 0xFF, 0xFF);
  return colours;
}();

WindowRecord* windowRecordOf(HWND frame) {
  if (frame == nullptr) return nullptr;
  return reinterpret_cast<WindowRecord*>(GetWindowLongPtrA(frame, GWLP_USERDATA));
}

int windowRecordKindOf(HWND frame) {
  const WindowRecord* record = windowRecordOf(frame);
  return record != nullptr ? record->kind : kRecordNone;
}

bool isValidSlot(int slot) { return slot >= 0 && slot <= kMaxWindowSlot; }

bool slotHasFrame(int slot) { return isValidSlot(slot) && windowTable.slots[static_cast<std::size_t>(slot)].frame != nullptr; }

WindowSlot& slotOf(int slot) { return windowTable.slots[static_cast<std::size_t>(slot)]; }

void YYScreenMeasure(int& width, int& height, int& colourCount) {
  HDC screen = GetDC(nullptr);
  width = GetDeviceCaps(screen, HORZRES);
  height = GetDeviceCaps(screen, VERTRES);
  const int planes = GetDeviceCaps(screen, PLANES);
  const int bits = std::min(GetDeviceCaps(screen, BITSPIXEL), 24);
  ReleaseDC(nullptr, screen);
  const int power = std::min(planes * bits, 30);
  colourCount = 1 << power;
}

bool isPaletteDisplay() { return windowTable.colourCount == 256; }

COLORREF displayColour(HDC dc, COLORREF colour) {
  if (!isPaletteDisplay() || dc == nullptr) return colour;
  // Marked as a palette colour, so that GDI takes it from the window's
  // palette rather than from the few static system colours.
  return GetNearestColor(dc, colour) | 0x02000000;
}
