#pragma once
// OziExplorer waypoint (.wpt), route (.rte) and track (.plt) files: text lines
// of comma-separated fields after a short header, altitudes and proximities in
// feet, dates and times as one day count.

#include <string_view>

#include "toolkit/core/fixed_text.h"

void READ_OZI_WPT();
void WRITE_OZI_WPT();
void READ_OZI_RTE();
void WRITE_OZI_RTE();
void READ_OZI_PLT();
void WRITE_OZI_PLT();

// Date (dd/mm/yyyy) and time (hh:mm:ss) to the files' date-time value: days since
// 30 December 1899, the time of day as its fraction, right-aligned in 16 columns
// with 7 decimals.  A date that is blank or whose month is not 1-12 gives a
// blank value.
void TOTDATETIME(std::string_view date, std::string_view time, TextField text);
// A date-time value to date and time; every step truncates.  A blank or
// unreadable value gives a blank date and 00:00:00, as does a day count whose
// year is not 1-9999 for the date.
void FROMTDATETIME(std::string_view text, TextField date, TextField time);
