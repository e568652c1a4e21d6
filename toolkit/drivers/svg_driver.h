#pragma once
// The SVG driver (hardcopy driver 3): the drawing as a flat SVG document, one
// element per line, on plot unit 2.  A stroke group carries colour, dash array,
// width, join and cap of the outlines inside it; a fill group wraps each filled
// shape, a text group the texts of one font.  y is flipped: SVG grows downward.

#include <array>
#include <cstdint>
#include <string>

#include "toolkit/core/fixed_text.h"
#include "toolkit/graphics/graphics_state.h"

void YYGSVG(YYGrPrimitive& primitive);

// The written form of a coordinate or size: "(F8.2)" without its blanks and
// without trailing decimal zeros, a whole number without its point ("12",
// "12.5", "-3", "0").  first and last are the columns of the text in the field;
// a value too wide for 8 columns is written as asterisks (error 18).
void YYSvgNumber(float value, TextField text, int& first, int& last);
std::string svgNumber(float value);

// The path of a pie (opcode 13) or arc (opcode 34) from the operands.
void YYSvgArc(std::int32_t opcode);

// The driver's memory between records.
struct YYSvgState {
  // The stroke group written last: red, green, blue, width, line style, join,
  // cap; red = -1 while no stroke group is open.
  std::array<std::int32_t, 7> writtenKey{-1, -1, -1, -1, -1, -1, -1};
  FixedText<6> strokeColour;
  FixedText<6> fillColour;
  std::int32_t clipCounter = 0;
  std::int32_t clipFlag = 0;   // -1 while the newest clip path applies
  // Groups opened inside the stroke group (fills and texts), so that every
  // "</g>" written closes a group that is open.
  std::int32_t innerGroups = 0;
};
extern YYSvgState yySvgState;
