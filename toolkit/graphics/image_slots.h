#pragma once
// The graphics engine's bitmap and enhanced-metafile slots, as far as picture
// fields of dialogs read them.

#include <windows.h>

#include <array>

constexpr int kImageSlots = 20;

struct YYBitmapSlot {
  HBITMAP bitmap = nullptr;
};

struct YYEmfSlot {
  HENHMETAFILE metafile = nullptr;  // null while the slot is still recording
  HDC recording = nullptr;
};

extern std::array<YYBitmapSlot, kImageSlots + 1> yyBitmapSlots;  // slots 1-20
extern std::array<YYEmfSlot, kImageSlots + 1> yyEmfSlots;
