#include "platform/xlsodbc/cell_values.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace xlsodbc {
namespace {

using namespace std::chrono;

constexpr double kSecondsPerDay = 86400.0;

bool isText(SQLSMALLINT t) { return t == SQL_C_CHAR; }
bool isTimestamp(SQLSMALLINT t) { return t == SQL_C_TIMESTAMP || t == SQL_C_TYPE_TIMESTAMP; }
bool isDate(SQLSMALLINT t) { return t == SQL_C_DATE || t == SQL_C_TYPE_DATE; }
bool isTime(SQLSMALLINT t) { return t == SQL_C_TIME || t == SQL_C_TYPE_TIME; }

struct IntegerType {
  SQLSMALLINT type;
  int size;
  long double low, high;
};
constexpr IntegerType kIntegerTypes[] = {
    {SQL_C_BIT, 1, 0, 1},
    {SQL_C_TINYINT, 1, -128, 127},
    {SQL_C_STINYINT, 1, -128, 127},
    {SQL_C_UTINYINT, 1, 0, 255},
    {SQL_C_SHORT, 2, -32768, 32767},
    {SQL_C_SSHORT, 2, -32768, 32767},
    {SQL_C_USHORT, 2, 0, 65535},
    {SQL_C_LONG, 4, -2147483648.0L, 2147483647.0L},
    {SQL_C_SLONG, 4, -2147483648.0L, 2147483647.0L},
    {SQL_C_ULONG, 4, 0, 4294967295.0L},
    {SQL_C_SBIGINT, 8, -9223372036854775808.0L, 9223372036854775807.0L},
    {SQL_C_UBIGINT, 8, 0, 18446744073709551615.0L},
};
const IntegerType* integerType(SQLSMALLINT t) {
  for (const auto& i : kIntegerTypes)
    if (i.type == t) return &i;
  return nullptr;
}

// "yyyy-mm-dd", "yyyy-mm-dd hh:mm" or "yyyy-mm-dd hh:mm:ss".
std::optional<DateTime> parseDateText(std::string_view s) {
  DateTime t;
  int got = std::sscanf(std::string(s).c_str(), "%d-%d-%d %d:%d:%d", &t.year, &t.month, &t.day, &t.hour,
                        &t.minute, &t.second);
  if (got != 3 && got != 5 && got != 6) return std::nullopt;
  return t;
}

bool validDateTime(const DateTime& t) {
  const year_month_day ymd{year{t.year}, month{static_cast<unsigned>(t.month)}, day{static_cast<unsigned>(t.day)}};
  return t.month >= 1 && t.month <= 12 && t.day >= 1 && ymd.ok() && t.hour >= 0 && t.hour < 24 && t.minute >= 0 &&
         t.minute < 60 && t.second >= 0 && t.second < 62;
}

template <typename T>
void store(void* buffer, T value) {
  std::memcpy(buffer, &value, sizeof value);
}

Outcome numberToInteger(double d, const IntegerType& it, void* buffer) {
  const long double whole = std::trunc(static_cast<long double>(d));
  if (!std::isfinite(d) || whole < it.low || whole > it.high)
    return Outcome::failure("22003", "Numeric value out of range.");
  switch (it.size) {
    case 1: store(buffer, static_cast<std::uint8_t>(static_cast<std::int64_t>(whole))); break;
    case 2: store(buffer, static_cast<std::uint16_t>(static_cast<std::int64_t>(whole))); break;
    case 4: store(buffer, static_cast<std::uint32_t>(static_cast<std::int64_t>(whole))); break;
    default:
      if (whole > 9223372036854775807.0L)
        store(buffer, static_cast<std::uint64_t>(whole));
      else
        store(buffer, static_cast<std::int64_t>(whole));
      break;
  }
  if (whole != d) return Outcome::warning("01S07", "Fractional truncation.");
  return Outcome::ok();
}

Outcome numberToNumeric(double d, void* buffer) {
  SQL_NUMERIC_STRUCT n{};
  const long double whole = std::trunc(std::fabs(static_cast<long double>(d)));
  if (!std::isfinite(d) || whole >= 3.4e38L) return Outcome::failure("22003", "Numeric value out of range.");
  n.precision = 38;
  n.scale = 0;
  n.sign = d < 0 ? 0 : 1;
  long double rest = whole;
  for (int i = 0; i < SQL_MAX_NUMERIC_LEN; ++i) {
    const long double q = std::floor(rest / 256);
    n.val[i] = static_cast<SQLCHAR>(rest - q * 256);
    rest = q;
  }
  std::memcpy(buffer, &n, sizeof n);
  if (whole != std::fabs(d)) return Outcome::warning("01S07", "Fractional truncation.");
  return Outcome::ok();
}

double numericToNumber(const SQL_NUMERIC_STRUCT& n) {
  double value = 0, scale = 1;
  for (int i = 0; i < SQL_MAX_NUMERIC_LEN; ++i, scale *= 256) value += n.val[i] * scale;
  for (int s = 0; s < n.scale; ++s) value /= 10;
  return n.sign == 0 ? -value : value;
}

Outcome textToBuffer(const std::string& s, void* buffer, SQLLEN bufferLength, SQLLEN* indicator) {
  if (indicator) *indicator = static_cast<SQLLEN>(s.size());
  if (bufferLength <= 0) return Outcome::warning("01004", "String data, right truncated.");
  const std::size_t n = std::min<std::size_t>(s.size(), static_cast<std::size_t>(bufferLength - 1));
  std::memcpy(buffer, s.data(), n);
  static_cast<char*>(buffer)[n] = '\0';
  if (n < s.size()) return Outcome::warning("01004", "String data, right truncated.");
  return Outcome::ok();
}

std::string dateText(const DateTime& t) {
  char out[32];
  std::snprintf(out, sizeof out, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                t.second);
  return out;
}

}  // namespace

std::optional<double> parseNumber(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  if (s.empty()) return std::nullopt;
  if (s.front() == '+') s.remove_prefix(1);
  double d = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), d);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return d;
}

std::string textOf(const Value& v, bool date1904) {
  switch (v.kind) {
    case Value::Kind::Null: return {};
    case Value::Kind::Text: return v.text;
    case Value::Kind::Date: return dateText(fromSerial(v.number, date1904));
    case Value::Kind::Boolean: return v.number != 0 ? "1" : "0";
    default: return numberText(v.number);
  }
}

void Value::setCell(const xlsbook::Cell* c) {
  using xlsbook::CellKind;
  number = 0;
  text.clear();
  if (!c) {
    kind = Kind::Null;
    return;
  }
  switch (c->kind) {
    case CellKind::Number: kind = Kind::Number; number = c->number; break;
    case CellKind::Date: kind = Kind::Date; number = c->number; break;
    case CellKind::Text: kind = Kind::Text; text.assign(c->text()); break;
    case CellKind::Boolean: kind = Kind::Boolean; number = c->number; break;
    case CellKind::Error:
    default: kind = Kind::Null; break;
  }
}

bool isSupportedCType(SQLSMALLINT t) {
  return isText(t) || t == SQL_C_NUMERIC || t == SQL_C_FLOAT || t == SQL_C_DOUBLE || isTimestamp(t) ||
         isDate(t) || isTime(t) || integerType(t) != nullptr;
}

std::optional<double> toSerial(const DateTime& t, bool date1904) {
  if (!validDateTime(t)) return std::nullopt;
  const sys_days d{year_month_day{year{t.year}, month{static_cast<unsigned>(t.month)}, day{static_cast<unsigned>(t.day)}}};
  const double fraction = (t.hour * 3600 + t.minute * 60 + t.second) / kSecondsPerDay;
  if (date1904) {
    const auto days = (d - sys_days{year{1904} / January / 1}).count();
    if (days < 0) return std::nullopt;
    return days + fraction;
  }
  // The 1900 system counts a 29 February 1900 that never was.
  const sys_days march1900{year{1900} / March / 1};
  if (d >= march1900) return (d - sys_days{year{1899} / December / 30}).count() + fraction;
  const auto days = (d - sys_days{year{1899} / December / 31}).count();
  if (days < 1) return std::nullopt;
  return days + fraction;
}

DateTime fromSerial(double serial, bool date1904) {
  long long seconds = std::llround(serial * kSecondsPerDay);
  long long days = seconds / 86400;
  long long rest = seconds % 86400;
  if (rest < 0) {
    rest += 86400;
    --days;
  }
  sys_days epoch = date1904 ? sys_days{year{1904} / January / 1} : sys_days{year{1899} / December / 30};
  if (!date1904 && days < 61 && days > 0) epoch = sys_days{year{1899} / December / 31};
  const year_month_day ymd{epoch + std::chrono::days{days}};
  DateTime t;
  t.year = static_cast<int>(ymd.year());
  t.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
  t.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
  t.hour = static_cast<int>(rest / 3600);
  t.minute = static_cast<int>(rest / 60 % 60);
  t.second = static_cast<int>(rest % 60);
  return t;
}

std::string numberText(double d) {
  char out[64];
  if (std::isfinite(d) && d == std::trunc(d) && std::fabs(d) < 1e15) {
    std::snprintf(out, sizeof out, "%.0f", d);
    return out;
  }
  const auto [end, ec] = std::to_chars(out, out + sizeof out, d);
  return ec == std::errc() ? std::string(out, end) : std::string();
}

Outcome toCBuffer(const Value& v, SQLSMALLINT cType, void* buffer, SQLLEN bufferLength, SQLLEN* indicator,
                  bool date1904) {
  using Kind = Value::Kind;
  const auto setNull = [&] {
    if (!indicator) return Outcome::failure("22002", "Indicator variable required but not supplied.");
    *indicator = SQL_NULL_DATA;
    return Outcome::ok();
  };
  if (v.kind == Kind::Null) return setNull();

  if (isText(cType)) {
    if (v.kind == Kind::Text) return textToBuffer(v.text, buffer, bufferLength, indicator);
    return textToBuffer(textOf(v, date1904), buffer, bufferLength, indicator);
  }

  // Every other type wants a number or a date; a text counts when it reads as one.
  // Each is worked out only for the types that want it.
  if (isTimestamp(cType) || isDate(cType) || isTime(cType)) {
    std::optional<DateTime> when;
    if (v.kind == Kind::Text) {
      when = parseDateText(v.text);
      if (when && !validDateTime(*when)) when.reset();
    } else if (v.kind != Kind::Boolean) {
      when = fromSerial(v.number, date1904);
    }
    if (!when) return setNull();
    if (isTimestamp(cType)) {
      SQL_TIMESTAMP_STRUCT ts{};
      ts.year = static_cast<SQLSMALLINT>(when->year);
      ts.month = static_cast<SQLUSMALLINT>(when->month);
      ts.day = static_cast<SQLUSMALLINT>(when->day);
      ts.hour = static_cast<SQLUSMALLINT>(when->hour);
      ts.minute = static_cast<SQLUSMALLINT>(when->minute);
      ts.second = static_cast<SQLUSMALLINT>(when->second);
      std::memcpy(buffer, &ts, sizeof ts);
      if (indicator) *indicator = sizeof ts;
    } else if (isDate(cType)) {
      SQL_DATE_STRUCT d{static_cast<SQLSMALLINT>(when->year), static_cast<SQLUSMALLINT>(when->month),
                        static_cast<SQLUSMALLINT>(when->day)};
      std::memcpy(buffer, &d, sizeof d);
      if (indicator) *indicator = sizeof d;
    } else {
      SQL_TIME_STRUCT t{static_cast<SQLUSMALLINT>(when->hour), static_cast<SQLUSMALLINT>(when->minute),
                        static_cast<SQLUSMALLINT>(when->second)};
      std::memcpy(buffer, &t, sizeof t);
      if (indicator) *indicator = sizeof t;
    }
    return Outcome::ok();
  }

  const std::optional<double> number = v.kind == Kind::Text ? parseNumber(v.text) : std::optional<double>(v.number);
  if (!number) return setNull();
  if (cType == SQL_C_DOUBLE) {
    store(buffer, *number);
    if (indicator) *indicator = sizeof(double);
    return Outcome::ok();
  }
  if (cType == SQL_C_FLOAT) {
    if (std::isfinite(*number) && std::fabs(*number) > 3.402823466e38)
      return Outcome::failure("22003", "Numeric value out of range.");
    store(buffer, static_cast<float>(*number));
    if (indicator) *indicator = sizeof(float);
    return Outcome::ok();
  }
  if (cType == SQL_C_NUMERIC) {
    if (indicator) *indicator = sizeof(SQL_NUMERIC_STRUCT);
    return numberToNumeric(*number, buffer);
  }
  if (const IntegerType* it = integerType(cType)) {
    if (indicator) *indicator = it->size;
    if (cType == SQL_C_BIT && (*number < 0 || *number >= 2))
      return Outcome::failure("22003", "Numeric value out of range.");
    return numberToInteger(*number, *it, buffer);
  }
  return Outcome::failure("HY003", "Program type out of range.");
}

Outcome fromCBuffer(SQLSMALLINT cType, const void* buffer, SQLLEN bufferLength, const SQLLEN* indicator,
                    bool date1904, std::optional<xlsbook::Cell>& cell) {
  using xlsbook::CellKind;
  cell.reset();
  if (indicator && *indicator == SQL_NULL_DATA) return Outcome::ok();
  if (!buffer) return Outcome::failure("HY009", "Invalid use of null pointer.");
  const auto number = [&](double d, CellKind kind = CellKind::Number) {
    xlsbook::Cell c;
    c.kind = kind;
    c.number = d;
    cell = std::move(c);
    return Outcome::ok();
  };

  if (isText(cType)) {
    // A NUL-ended text, or exactly the given length; never more than the buffer.
    const char* s = static_cast<const char*>(buffer);
    std::size_t n;
    const std::size_t limit = bufferLength > 0 ? static_cast<std::size_t>(bufferLength) : 0;
    if (!indicator || *indicator == SQL_NTS) {
      n = limit > 0 ? strnlen(s, limit) : std::strlen(s);
    } else if (*indicator >= 0) {
      n = static_cast<std::size_t>(*indicator);
      if (limit > 0) n = std::min(n, limit);
    } else {
      return Outcome::failure("HY090", "Invalid string or buffer length.");
    }
    if (n == 0) return Outcome::ok();
    if (n > 32767) return Outcome::failure("22001", "String data, right truncated: a cell holds at most 32767 characters.");
    // The cell views the caller's buffer: appendRow copies the text into the workbook.
    xlsbook::Cell c;
    c.setText(std::string_view(s, n));
    cell = c;
    return Outcome::ok();
  }
  if (cType == SQL_C_DOUBLE) {
    double d;
    std::memcpy(&d, buffer, sizeof d);
    if (!std::isfinite(d)) return Outcome::failure("22003", "Numeric value out of range.");
    return number(d);
  }
  if (cType == SQL_C_FLOAT) {
    float f;
    std::memcpy(&f, buffer, sizeof f);
    if (!std::isfinite(f)) return Outcome::failure("22003", "Numeric value out of range.");
    return number(f);
  }
  if (cType == SQL_C_NUMERIC) {
    SQL_NUMERIC_STRUCT n;
    std::memcpy(&n, buffer, sizeof n);
    return number(numericToNumber(n));
  }
  if (isTimestamp(cType) || isDate(cType) || isTime(cType)) {
    DateTime t;
    if (isTimestamp(cType)) {
      SQL_TIMESTAMP_STRUCT ts;
      std::memcpy(&ts, buffer, sizeof ts);
      if (ts.year == 0 && ts.month == 0 && ts.day == 0 && ts.hour == 0 && ts.minute == 0 && ts.second == 0)
        return Outcome::ok();  // no date at all: an empty cell
      t = {ts.year, ts.month, ts.day, ts.hour, ts.minute, ts.second};
    } else if (isDate(cType)) {
      SQL_DATE_STRUCT d;
      std::memcpy(&d, buffer, sizeof d);
      if (d.year == 0 && d.month == 0 && d.day == 0) return Outcome::ok();
      t = {d.year, d.month, d.day, 0, 0, 0};
    } else {
      SQL_TIME_STRUCT tm;
      std::memcpy(&tm, buffer, sizeof tm);
      if (tm.hour > 23 || tm.minute > 59 || tm.second > 61)
        return Outcome::failure("22008", "Datetime field overflow.");
      return number((tm.hour * 3600 + tm.minute * 60 + tm.second) / kSecondsPerDay, CellKind::Date);
    }
    const auto serial = toSerial(t, date1904);
    if (!serial) return Outcome::failure("22008", "Datetime field overflow: the workbook cannot hold this date.");
    return number(*serial, CellKind::Date);
  }
  if (const IntegerType* it = integerType(cType)) {
    std::int64_t v = 0;
    switch (it->size) {
      case 1: v = it->low < 0 ? static_cast<std::int8_t>(*static_cast<const std::uint8_t*>(buffer))
                              : *static_cast<const std::uint8_t*>(buffer); break;
      case 2: {
        std::uint16_t u;
        std::memcpy(&u, buffer, 2);
        v = it->low < 0 ? static_cast<std::int16_t>(u) : u;
        break;
      }
      case 4: {
        std::uint32_t u;
        std::memcpy(&u, buffer, 4);
        v = it->low < 0 ? static_cast<std::int32_t>(u) : static_cast<std::int64_t>(u);
        break;
      }
      default: std::memcpy(&v, buffer, 8); break;
    }
    if (cType == SQL_C_BIT) return number(v != 0 ? 1 : 0, CellKind::Boolean);
    return number(static_cast<double>(v));
  }
  return Outcome::failure("HY003", "Program type out of range.");
}

}  // namespace xlsodbc
