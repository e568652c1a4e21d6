#pragma once
// Plot output units: every driver that writes a file writes it through YYPROU.
// A unit is a small integer (the drivers all use unit 2) that holds the handle
// of the file opened on the name in TEXT.  Failures are reported under "YYPROU"
// and leave YYPlotOutputStatus at -1, which the raster writers test to stop.

#include <array>
#include <cstdint>
#include <string_view>

// Entry 0 holds the byte count of the last write; units are 1 to kPlotUnits.
constexpr int kPlotUnits = 9;
constexpr int kPlotUnitFile = 2;  // the unit every driver of this system uses
extern std::array<std::int32_t, kPlotUnits + 1> YYPlotOutputUnits;
// 0 after a successful open, -1 after a failed open or write.
extern std::int32_t YYPlotOutputStatus;

// Opens (creates or empties) the file named by the first token of TEXT on unit.
void YYPROU(const std::int32_t& unit);
// Writes every byte of the characters, raw.
void YYPROUWriteBytes(const std::int32_t& unit, std::string_view characters);
// Writes the text followed by carriage return and line feed, in one write.
void YYPROUWriteText(const std::int32_t& unit, std::string_view text);
// Writes the first count bytes of the point buffer taken as bytes, then
// carriage return and line feed when flag is odd.
void YYPROUWriteRecord(const std::int32_t& unit, const std::int32_t& count, const std::int32_t& flag);
void YYPROUClose(const std::int32_t& unit);
// The unit's operating-system handle, for writers that write on their own.
void YYPROUHandle(const std::int32_t& unit, std::int32_t& handle);

// ---- steps the drivers that write a plot file share ------------------------

// Opens plot unit 2 on the name in TEXT for a plot.  On failure the hardcopy
// is marked closed and the open's own report stays the last error; a good
// open leaves the last error as it was.
bool openPlotFile();
// The device scales: so many output units across and up the surface's real
// size.  A surface of no size leaves its scale as it was.
void setDeviceScales(float unitsAcross, float unitsUp);
// The count of the point buffer, held to what the buffer holds.
int bufferedPointCount();
