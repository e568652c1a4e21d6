#pragma once
// The colour table, the device lookup tables and colour selection.  Colour
// integers hold red in bits 0-7, green in 8-15, blue in 16-23.

#include <array>
#include <cstdint>

constexpr int kGraphicsColours = 256;
extern std::array<std::int32_t, kGraphicsColours> yyColourTable;

void YYColourDefaults();
