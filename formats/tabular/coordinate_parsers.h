#pragma once
// Coordinate fields of the AutoRoute reader, and the free-form number reading
// that the tabular readers share.
//
// A free-form number: leading blanks are skipped and the number ends at the
// first blank, comma or slash or at the end of the text; an optional sign,
// digits with an optional decimal point, and an optional exponent (E or D).
// Anything else before that end makes the text unreadable.

#include <cstdint>
#include <optional>
#include <string_view>

#include "toolkit/core/fixed_text.h"

// The number at the start of the text; nothing when it is unreadable or does
// not fit a 32-bit real.
std::optional<float> readFreeReal(std::string_view text);
// The same for a 64-bit real.
std::optional<double> readFreeDouble(std::string_view text);
// A whole number in free form (no decimal point, no exponent).
std::optional<std::int32_t> readFreeInteger(std::string_view text);

// Status words of DMS and FROMEN.
constexpr std::int32_t kCoordinateStored = 0;
constexpr std::int32_t kCoordinateRefused = 1;
constexpr std::int32_t kCoordinateUnreadable = 3;

// One latitude (limit 90) or longitude (limit 180) in decimal degrees,
// Deg'Min"Sec or Deg:Min:Sec.  Every fault is shown in the "Data Error" box with
// the record; the value is stored only when the status is kCoordinateStored.
void DMS(std::string_view text, float& value, float limit, std::string_view record, std::int32_t& status);

// A national-grid easting and northing (six or more digits each) to WGS84
// degrees.  A position the grid conversion cannot place is refused like a bad
// number; latitude and longitude are stored only when the status is 0.
void FROMEN(std::string_view easting, std::string_view northing, float& latitude, float& longitude,
            std::string_view record, std::int32_t& status);

// True when the text, without trailing blanks, is at least six digits and
// nothing else.
bool N6(std::string_view text);
