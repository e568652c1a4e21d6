#pragma once
// The pen-plotter line writer that the HP-GL and HP-GL/2 drivers share.
//
// A command line is built in a 50-character buffer and written on plot unit 2
// with the plotter's compact spacing: the first two characters as they are,
// then every run of blanks that stands between two written characters as one
// blank, all other blanks dropped.  In line-begin mode 1 (`LineBeginMode` of
// the graphics state) each line, labels and raw lines included, starts with
// one blank.  Coordinates are surface units times DeviceScaleX/DeviceScaleY,
// truncated toward zero.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "toolkit/core/fixed_text.h"

constexpr int kHpglLineLength = 50;
extern FixedText<kHpglLineLength> yyHpglLineBuffer;

// The dash patterns appended to "LT", by line style 0-6.  Entry 1 depends on
// the plotter: each driver's initialisation writes it, and it keeps the value
// written last.
constexpr int kHpglLineStyles = 7;
extern std::array<FixedText<4>, kHpglLineStyles> yyHpglLineTypes;

// The line as the compact spacing rule makes it of the given characters
// (without the leading blank of line-begin mode 1).
std::string hpglCompactLine(std::string_view characters);

// An integer field of `width` columns (Iw), the value limited to what the
// field holds, so that a number out of range never turns into asterisks.
std::string hpglIntegerField(double value, int width);
// The same for a field that follows another number: limited to width - 1
// digits, so that a blank or the sign always parts the two.
std::string hpglNumberField(double value, int width);

// The two-letter command and trunc(x * DeviceScaleX), trunc(y * DeviceScaleY),
// each I6, as one line ("PU1234 567").
void YYHpglPoint(std::string_view command, float x, float y);
// " LB" or "LB" (line-begin mode 1 or 2), then the text exactly as given.
void YYHpglLabel(std::string_view text);
// The text as one line, through the buffer and the spacing rule.
void YYHpglCommand(std::string_view text);
// The buffer as the caller filled it, up to its last non-blank character.
void YYHpglLine();
// The text as one line without the spacing rule and without the buffer's
// length limit (still with the leading blank of line-begin mode 1).
void YYHpglRawLine(std::string_view text);

// Surface coordinates in plotter units, truncated toward zero.
std::int32_t hpglPlotterX(float x);
std::int32_t hpglPlotterY(float y);

// Truncation toward zero that also survives values no int32 holds.
std::int32_t hpglTruncate(float value);

// The pen position both drivers keep in PenX/PenY (surface units).
bool hpglPenAt(float x, float y);
void hpglPenTo(float x, float y);
// Lifts the pen to (x, y) unless it is there already.
void hpglPenUpTo(float x, float y);
// Draws from (x1, y1) to (x2, y2), lifting the pen to the start only when it
// is elsewhere, and leaves it at the end.
void hpglStroke(float x1, float y1, float x2, float y2);
void hpglPenUnknown();
// DI with the direction of the current character angle.
void hpglCharacterAngle();
// Point i of the point buffer.
float hpglBufferX(int i);
float hpglBufferY(int i);

// P1 and P2 of the plot in plotter units, from options 1-4.
struct HpglPlotWindow {
  std::int32_t p1x = 0, p1y = 0, p2x = 0, p2y = 0;
};
HpglPlotWindow hpglPlotWindow(float unitsPerPoint);
// The four corners in (4I7), as IP and IW take them.
std::string hpglWindowNumbers(std::int32_t left, std::int32_t bottom, std::int32_t right, std::int32_t top);
// DeviceScaleX/Y := 32760 / SurfaceWidthReal, 32760 / SurfaceHeightReal.
void hpglSetDeviceScales();
// Opcode 24: the viewport as the plotter's input window "IW", then the
// scaling restored.
void hpglClip(const HpglPlotWindow& window, float unitsPerPoint);
