#pragma once
// Character size and angle of graphics text, and the stroke font's advance widths.

#include <array>
#include <string_view>

#include "toolkit/graphics/graphics_state.h"

// Default advance widths, in units of the nominal character width.
extern const std::array<float, kStrokeWidthsLow> kDefaultWidthsLow;    // codes 32-126, then 128
extern const std::array<float, kStrokeWidthsHigh> kDefaultWidthsHigh;  // codes 161-255

// Sets the character size as fractions of the area (0 or less: the default).
void YYCHARSIZESET(float width, float height);
// Announces the current character size to the routes.
void YYCHARSIZEAPPLY();
// Sets the character angle in degrees, normalised to [0, 360), and its direction terms.
void YYCHARANGLE(float angle);
// Restores advance widths: 0 all, else one code of 32-126, 128 or 161-255 (error 66 otherwise).
void YYCHSPACE(int code);
// Stores a stroke font: selector 1 the alternative store, else the main font.
void YYSTROKEFONTSET(float metric1, float metric2, float metric3, float metric4, int count, int flags,
                     int metricInt, int selector, std::string_view name, std::string_view strokeText,
                     const std::int32_t* startsLow, const std::int32_t* startsHigh);
