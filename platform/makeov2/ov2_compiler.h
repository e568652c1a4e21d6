#pragma once
// Compiles the converter's point text file into a TomTom OV2 overlay.
//
// Input lines: comment lines starting with ';', blank lines, and point lines
//   <longitude>,<latitude>,"<name>"
// where the name runs from the first double quote after the second comma to the
// last double quote of the line (so a name may itself hold quotes).
// Output: one type-2 record per point, little-endian: type byte 2, the record's
// total length (32-bit), longitude and latitude in 1e-5 degrees (32-bit), and the
// name with its closing NUL.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace makeov2 {

struct Poi {
  std::int32_t longitude = 0;  // 1e-5 degrees
  std::int32_t latitude = 0;
  std::string name;
};

struct ParseResult {
  bool ok = false;
  int badLine = 0;  // 1-based line of the first malformed line
  std::string reason;
  std::vector<Poi> points;
};

ParseResult parsePointText(std::string_view text);
std::vector<unsigned char> encodeOv2(const std::vector<Poi>& points);

}  // namespace makeov2
