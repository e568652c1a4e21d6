#pragma once
// The built-in stroke font: its installation, the strokes of one character,
// and text drawn as strokes through the routes.

#include <string_view>
#include <vector>

#include "toolkit/graphics/graphics_defaults.h"
#include "toolkit/graphics/graphics_state.h"

// A point of a glyph on the font's hexadecimal grid: x 0-15, y 0-15, y upward,
// baseline at y 2.
struct StrokePoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const StrokePoint&, const StrokePoint&) = default;
};
using Stroke = std::vector<StrokePoint>;

constexpr int kStrokeBaseline = 2;

// Assembles the built-in stroke text and start tables and installs them as
// "standard.chr" (selector 1: the alternative store).
void YYSTROKEFONTINIT(int selector = 0);

// The strokes of one character of the main font, in the order of its text;
// none for a code the font does not hold (blank, 127, 129-160, beyond 255).
std::vector<Stroke> strokeGlyph(int code);

// The advance width of one code in units of the nominal character width; a code
// the font does not hold advances like a blank.
float strokeAdvance(int code);

// Width of a text drawn with the stroke font at the current character size, in
// surface units along its reference line.
float strokeTextWidth(std::string_view text);

// Draws a text with the stroke font from the reference point (x, y) in surface
// units, placed by TextAlign (0 left end, 1 centre, 2 right end), at the current
// character size and angle.  Each stroke goes as one polyline (opcode 32) to the
// screen route and then to the hardcopy route; a caller that wants the strokes
// elsewhere (a recorder, one route only) passes its own routes.
using PrimitiveRoute = void (*)(YYGrPrimitive&);
void YYSTROKETEXT(float x, float y, std::string_view text, PrimitiveRoute screen = YYPRIMROUTE,
                  PrimitiveRoute hardcopy = YYDriverCommand);
