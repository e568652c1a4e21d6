#pragma once
// Field splitters: cursors over one text record.  The caller keeps a position (1
// for the first field); each call gives the field that starts there and moves the
// position on to the next field.  Blanks at the end of the record never belong
// to a field, a missing field is a blank field, and nothing outside the record is
// ever read, whatever position the caller passes.

#include <cstdint>
#include <string_view>

#include "converter/converter_data.h"
#include "toolkit/core/fixed_text.h"

// The field up to the next TAB.
void GET_TABBED_FIELD(std::string_view record, int& position, TextField field);
// The field up to the next comma; double quotes are ordinary characters.
void GET_CSV_FIELD(std::string_view record, int& position, TextField field);
// The next word; only the blank separates words.
void GET_FIELD(std::string_view record, int& position, TextField field);
// The field up to the next comma outside double quotes, without its surrounding
// quotes.  at_end is true when no field follows it; status is 2 when the record
// ends inside quotes, else 0.
void GET_QCSV_FIELD(std::string_view record, int& position, TextField field, Logical& atEnd,
                    std::int32_t& status);

// A hemisphere letter and a number in a zero-filled field: the format holds "A,"
// and one edit descriptor, as "(A,F8.5)"; every blank of the field but its last
// becomes "0", so 1.5 south gives S01.50000 and a blank.
void COORD_DEG(std::string_view letter, float value, std::string_view format, TextField field);
