#pragma once
// The PostScript and EPS file driver (hardcopy driver 2): a small
// self-contained document on plot unit 2, Encapsulated PostScript when option
// 22 is non-zero.  The PostScript graphics state follows the engine lazily:
// line segments that join are collected into one path, painted only when
// something forces it, and the colour is written only when something is
// painted in a colour other than the one written last.

#include <array>
#include <cstdint>
#include <string_view>

#include "toolkit/core/fixed_text.h"
#include "toolkit/graphics/graphics_state.h"

void YYGPOST(YYGrPrimitive& primitive);

// The driver's state between records.
struct YYPsState {
  std::int32_t segments = 0;  // segments in the open path; 0 = no path open
  std::array<float, 3> current{};               // red, green, blue 0-1 the next paint uses
  std::array<float, 3> written{-1.0f, -1.0f, -1.0f};  // last written with "g"
  std::int32_t lineColour = -1;    // the colour value opcode 3 chose; -1 black
  std::int32_t page = 0;
  std::int32_t writtenLineStyle = 0;
  std::int32_t writtenLineWidth = 0;  // option 9 as last written
  std::int32_t fontPending = -1;      // -1: select the font before the next text
  bool fontSelected = false;          // a font was selected in this plot
};
extern YYPsState yyPsState;

// The line writers.  Every line goes to plot unit 2 and ends CR LF; with
// LineBeginMode 1 a blank goes before it.
// The text, cut to 255 characters, with runs of blanks made one and no blanks
// at either end.
void YYPsLine(std::string_view text);
// The text, cut to 255 characters, as it stands.
void YYPsRawLine(std::string_view text);
// The point scaled to the page, then the word.
void YYPsPoint(float x, float y, std::string_view word);
// Three reals unscaled, then the word.
void YYPsTriple(float a, float b, float c, std::string_view word);
// One real unscaled, then the word.
void YYPsReal(float a, std::string_view word);

// The fractions 0-1 of a colour of the current colour mode (-1 is black),
// after the colour inversion of option 6.
void YYPsColour(std::int32_t colour, float& red, float& green, float& blue);

enum PsPaintKind : int { kPsStroke = 1, kPsFill = 2, kPsColourOnly = 3 };
// Finishes the open path: stroked, filled, or only the colour brought up to date.
void YYPsPaint(int kind);

// The pie (opcode 13) or arc (opcode 34) of the current record.
void YYPsArc(std::int32_t opcode);

// Six lower-case hexadecimal digits of red, green and blue 0-255 (255, 128, 0
// gives ff8000), into the first six columns of out.
void YYHexRGB(int red, int green, int blue, TextField out);
