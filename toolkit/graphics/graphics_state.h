#pragma once
// The graphics engine's global records that the rest of the toolkit reads or
// resets: current attributes, drawing state and metafile slots.

#include <array>

#include "toolkit/core/fixed_text.h"

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

// The stroke font: whether text is drawn with it, and the font file's name.
struct YYStrokeFont {
  int active = 0;
  FixedText<260> name{"standard.chr"};
};
extern YYStrokeFont yyStrokeFont;

constexpr int kMetafileSlots = 20;
struct YYMetafileSlot {
  int inUse = 0;
};
extern std::array<YYMetafileSlot, kMetafileSlots + 1> yyMetafileSlots;  // slots 1-20

// The drawing target and the scaling from user units to its pixels, as the
// window and dialog code reads and switches them.
enum DrawTargetKind : int { kTargetWindow = 1, kTargetBitmap = 2, kTargetField = 3, kTargetMetafile = 4 };

struct YYDrawTarget {
  int kind = kTargetWindow;
  int id = 0;       // window slot, field id, bitmap or metafile slot
  int dialog = 0;   // the dialog of a field target
  void* dc = nullptr;      // HDC of the target
  void* window = nullptr;  // HWND of the target
  int deviceWidth = 0;     // pixels - 1
  int deviceHeight = 0;
  float surfaceWidth = 0.0f;
  float surfaceHeight = 0.0f;
  float xOffset = 0.0f;
  float yOffset = 0.0f;
  float xScale = 1.0f;
  float yScale = 1.0f;
  // The current area as fractions of the surface, and the user-unit ranges.
  float areaX1 = 0.0f, areaY1 = 0.0f, areaX2 = 1.0f, areaY2 = 1.0f;
  float userXMin = 0.0f, userXMax = 1.0f, userYMin = 0.0f, userYMax = 1.0f;
  int displayColours = 0;  // palette colour count on a 256-colour display
  int drawMode = 0;        // 13 = R2_COPYPEN once the root window exists
  bool initialised = false;  // set by the graphics defaults
};
extern YYDrawTarget yyDrawTarget;

constexpr int kGraphicsColours = 256;
extern std::array<unsigned long, kGraphicsColours> yyColourTable;  // COLORREF values

// Text cell size of window text output, in window units (the graphics engine sets it).
void YYGraphicsAreaSet(int cellWidth, int cellHeight);
// Follows a new client size when the drawing target is window `id` of that kind.
void YYGraphicsAreaResize(int kind, int id, int width, int height);
// A window's client size changed: when it is the current drawing window,
// the text cell and the graphics follow.
void YYWindowResized(int slot, int width, int height);
struct EventRecord;
void YYPixelsToUser(float px, float py, float& ux, float& uy, const EventRecord& record);
void YYPixelsToUserPlain(float px, float py, float& ux, float& uy);
void YYColourDefaults();
void YYGraphicsDefaults(int driverOptions, int option2, int option3, int option4, int option5);
void YYGdiRealizePaletteEntry(int index, unsigned long rgb, int mode);
void YYGdiSelectTarget();
void WMetafileDestroy(int slot);
