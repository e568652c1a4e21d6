#pragma once
// Garmin files: PCX5 2.00 text files of waypoints (.wpt), routes (.rte) and
// tracks (.trk), and the waypoints of MapSource's GDB database (.gdb).  Readers
// append to POINT_LIST from FILE_NAMES INPUT_FILE; writers write POINT_LIST to
// FILE_NAMES OUTPUT_FILE.  None takes arguments.

#include <array>
#include <cstdint>
#include <string_view>

#include "toolkit/core/fixed_text.h"

void READ_WPT();
void WRITE_WPT();
void READ_RTE();
void WRITE_RTE();
void READ_TRK();
void WRITE_TRK();
void READ_GDB_WPT();
void WRITE_GDB_WPT();

// Column starts and ends of a PCX5 column-title line, 1-based; a title that is
// missing has start 0.  Waypoint lines ("H IDNT ..."): the record letter, IDNT,
// LATITUDE, LONGITUDE, DATE, TIME, ALT, DESCRIPTION, PROXIMITY, SYMBOL.  Each
// column ends two before the next title found; the last runs to the end of the
// line buffer.
using WaypointColumns = std::array<std::int32_t, 10>;
void READ_H_IDNT(std::string_view line, WaypointColumns& starts, WaypointColumns& ends);
// Track lines ("H  LATITUDE ..."): the record letter, LATITUDE, LONGITUDE, DATE,
// TIME, ALT.
using TrackColumns = std::array<std::int32_t, 6>;
void READ_H_LATITUDE(std::string_view line, TrackColumns& starts, TrackColumns& ends);

// GDB times: seconds since 1 January 1970 00:00:00 of the calendar, leap years
// included.  TOUNIXEPOCH is false, leaving seconds alone, for a date that is not a
// real dd/mm/yyyy date, a time that is neither blank (midnight) nor a real
// hh:mm:ss, or a moment the 32-bit count cannot hold.
bool TOUNIXEPOCH(std::string_view date, std::string_view time, std::int32_t& seconds);
void FROMUNIXEPOCH(std::int32_t seconds, TextField date, TextField time);
