#pragma once
// The HP-GL pen-plotter driver (hardcopy driver 1): primitives become HP-GL
// command lines on plot unit 2, for ten plotter models of four kinds.
//
// Besides plain HP-GL it writes extended records, scale commands with a
// negative first limit ("SC-k ..."), that carry what HP-GL cannot say (RGB
// values, fill words, corners of shapes the plotter does not fill, character
// attributes, the plotter model).  Each is followed, on its line or later, by
// "SC0 32760 0 32760", so a plotter draws the same picture with or without
// them.  They are written only while option 18 is non-zero.

#include <cstdint>
#include <string_view>

#include "toolkit/graphics/graphics_state.h"

// The driver entry of the dispatch.
void YYGHPGL(YYGrPrimitive& primitive);

// Extended record k: "SC-" k, a, b and c + 32760, then ";SC0 32760 0 32760"
// when restore is set.
void YYHpglRecord(int k, bool restore, std::int32_t a, std::int32_t b, std::int32_t c);
// A corner in plotter units as a k = 9 record.
void YYHpglVertexRecord(float x, float y);
// Two reals, unscaled, as a k = 9 record.
void YYHpglRealRecord(float a, float b);
// An arc (opcode 34) or a pie sector (opcode 13) from the operands, followed by
// the caller's restoring line.
void YYHpglArc(YYGrPrimitive primitive, std::string_view restoringText);

// What the HP-GL/2 driver shares of the shape drawing.
//
// trunc(option 2 x AreaWidthFraction x 32760 / (option 1 x AreaHeightFraction
// x factor)): the y limit that makes a circle of the plotter's user units look
// round on the area; false when the divisor is 0.
bool hpglAspectRatio(float factor, std::int32_t& ratio);
// The circle of an ellipse centred at (R5, R1) with x radius R6, drawn after
// the pen has moved to the centre, with the ratio of hpglAspectRatio(R7): the
// scale line, CI and, for a filled one, the polygon-mode brackets; the pen ends
// at the centre and the scaling is restored.
void hpglEllipse(std::int32_t ratio, bool filled);
// The line that restores the plotter's user units.
inline constexpr std::string_view kHpglScaleRestore = "SC0 32760 0 32760";
// The arc steps in two halves, so that the HP-GL/2 driver can put its comment
// record between them: the move to the centre (pie sectors, and arcs drawn as
// sectors because they are filled or outlined) and the rest, with the line
// that puts the pen down before a plain arc.
bool hpglArcIsSector();
void hpglArcMoveToCentre(YYGrPrimitive primitive);
void hpglArcDraw(YYGrPrimitive primitive, std::string_view restoringText, std::string_view penDownLine);
