#pragma once
// The graphics engine's global records that the rest of the toolkit reads or
// resets: current attributes, drawing state and metafile slots.

#include <array>

struct YYGrAttributes {
  int screenDriver = 0;  // non-zero once the screen driver is initialised
  int hardcopyOpen = 0;  // non-zero while a hardcopy is open
};
extern YYGrAttributes yyGrAttributes;

struct YYGrState {
  int activeDriver = 0;
  float aspectRatio = 1.32f;  // drawing surface width over height
};
extern YYGrState yyGrState;

constexpr int kMetafileSlots = 20;
struct YYMetafileSlot {
  int inUse = 0;
};
extern std::array<YYMetafileSlot, kMetafileSlots + 1> yyMetafileSlots;  // slots 1-20
