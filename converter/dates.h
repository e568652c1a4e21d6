#pragma once
// Dates (dd/mm/yyyy, 10 characters) and times (hh:mm:ss, 8 characters) of
// points, in local time, and the DD-MMM-YY form of the Garmin PCX5 files.

#include <string_view>

#include "toolkit/core/fixed_text.h"

// Last-write date and time of the file; blank when there is no such file.
void FILEDATETIME(std::string_view path, TextField date, TextField time);

// dd/mm/yyyy to DD-MMM-YY (05/01/2007 gives 05-JAN-07).  A month that is not 1-12
// (a blank date among them) leaves blanks in place of -MMM-.
void TODD_MMM_YY(std::string_view date, TextField text);

// DD-MMM-YY to dd/mm/yyyy.  The century is the current one unless the two-digit
// year lies beyond this year's, which makes it the last one.  Month letters that
// match no month, or a year that is not two digits, give a blank date.
void FROMDD_MMM_YY(std::string_view text, TextField date);
// The same with the current year given.
void FROMDD_MMM_YY(std::string_view text, TextField date, int currentYear);

// Today's date and the current time.
void CDATE(TextField date);
void CTIME(TextField time);
