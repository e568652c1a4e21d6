#pragma once
// Moving values between worksheet cells and the C buffers of ODBC bindings: a
// cell converted into a bound column's buffer on fetch, a bound parameter's
// buffer turned into a cell on insert, and the spreadsheet date serials.

#include "platform/xlsodbc/odbc.h"

#include <optional>
#include <string>
#include <string_view>

#include "platform/xlsodbc/workbook.h"

namespace xlsodbc {

// A cell's value as a result column carries it; Null for an empty cell.
struct Value {
  enum class Kind { Null, Number, Date, Text, Boolean } kind = Kind::Null;
  double number = 0;
  std::string text;

  static Value ofText(std::string s) { return {Kind::Text, 0, std::move(s)}; }
  static Value ofNumber(double d) { return {Kind::Number, d, {}}; }
  // The value of a cell (nullptr: an empty one), the text's buffer used again.
  void setCell(const xlsbook::Cell* c);
};

// How a conversion went, as ODBC tells it: a warning keeps the value, an error
// does not.
struct Outcome {
  const char* state = nullptr;  // nullptr: clean
  std::string message;
  bool error = false;
  static Outcome ok() { return {}; }
  static Outcome warning(const char* s, std::string m) { return {s, std::move(m), false}; }
  static Outcome failure(const char* s, std::string m) { return {s, std::move(m), true}; }
};

// Whether the C type is one this layer converts to and from.
bool isSupportedCType(SQLSMALLINT cType);

// Fills the buffer (and the length or NULL indicator) with the value.
Outcome toCBuffer(const Value& v, SQLSMALLINT cType, void* buffer, SQLLEN bufferLength, SQLLEN* indicator,
                  bool date1904);

// The cell a parameter buffer gives; nothing for an empty value (NULL, an empty
// text, or a date of all zeros).
Outcome fromCBuffer(SQLSMALLINT cType, const void* buffer, SQLLEN bufferLength, const SQLLEN* indicator,
                    bool date1904, std::optional<xlsbook::Cell>& cell);

// Spreadsheet date serials (days since the workbook's epoch, the time of day as
// the fraction).
struct DateTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
std::optional<double> toSerial(const DateTime& t, bool date1904);
DateTime fromSerial(double serial, bool date1904);

// The text a number shows in a text column: integers without decimals, other
// values with as many digits as they need.
std::string numberText(double d);

// The text a value shows in a text column; a date as "yyyy-mm-dd hh:mm:ss".
std::string textOf(const Value& v, bool date1904);

// A text that is a number, blanks around it allowed.
std::optional<double> parseNumber(std::string_view s);

}  // namespace xlsodbc
