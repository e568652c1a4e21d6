#pragma once
// The figures of every route or track of the point list (length, start and
// finish, lowest and highest altitude, average and highest speed) as ready-made
// texts for the KML route and track writers.

#include <array>
#include <cstdint>
#include <string_view>

#include "converter/converter_data.h"
#include "toolkit/core/fixed_text.h"

struct RunSummaryEntry {
  FixedText<32> LENGTH_TEXT;         // "12.35 km  7.67 mi"
  FixedText<32> STARTED_TEXT;        // "17/10/2007 14:05:09" or "not available"
  FixedText<32> FINISHED_TEXT;
  FixedText<32> MIN_ALTITUDE_TEXT;   // "123 m  405 ft" or "not available"
  FixedText<32> MAX_ALTITUDE_TEXT;
  FixedText<32> AVERAGE_SPEED_TEXT;  // "18.00 kph  11.18 mph" or "not available"
  FixedText<32> MAX_SPEED_TEXT;
};

// One entry per run, in the order the runs begin.  Every run has at least one
// point, so the table holds as many runs as the list can.
extern std::array<RunSummaryEntry, MAX_POINTS> RUN_SUMMARY;
// The entries filled by the last GET_RTDETAILS.
extern std::int32_t RUN_COUNT;

// Entry r, counted from 1.
inline RunSummaryEntry& RUN_SUMMARY_ENTRY(int r) { return RUN_SUMMARY[static_cast<std::size_t>(r - 1)]; }

// Fills RUN_SUMMARY for every run of consecutive points with one ROUTE_NAME.
// Leaves CURRENT_ROUTE at the last run's name and NROUTES at the number of runs.
void GET_RTDETAILS();

// Seconds from date1 time1 to date2 time2 (dd/mm/yyyy, hh:mm:ss); negative when
// the second is earlier.  Beyond the 32-bit range the result stays at its end.
void TIMEINTERVAL(std::string_view date1, std::string_view time1, std::string_view date2, std::string_view time2,
                  std::int32_t& seconds);

// The day number of date2 less that of date1, exact from 1901 to 2099.
void GETNDAYS(std::string_view date1, std::string_view date2, std::int32_t& days);
