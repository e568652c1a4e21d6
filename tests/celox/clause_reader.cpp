// A console program for check_clauses.py: it reads the sheet "Clauses" of a
// workbook through Celox.dll once for each condition and order of a list, and
// writes down what each read gave, for comparison with the rows that the
// script's own filter and sort choose from the same cells.
//   clause_reader WORKBOOK CASES RESULTS
// CASES holds one read a line: the condition, a tab, the order (code page 1252).
// RESULTS gets for each read the line "read <result>\t<the library's error text>",
// then a line for each row read: Id, Name, Amount, When and Code, tab-separated.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <windows.h>

#include <sql.h>
#include <sqlext.h>

#include "spreadsheet/celox.h"

namespace {

constexpr char kSheet[] = "Clauses";
constexpr std::int32_t kTextLength = 80;

CeloxColumnBinding binding(const char* name, void* data, std::int32_t count, std::int32_t cType,
                           std::int32_t elementLength) {
  CeloxColumnBinding b{};
  std::memset(b.columnName, ' ', sizeof b.columnName);
  std::memcpy(b.columnName, name, std::strlen(name));
  b.data = data;
  b.elementCount = count;
  b.cType = cType;
  b.elementLength = elementLength;
  return b;
}

// The error text on one line.
std::string lastErrorText() {
  char buffer[kCeloxMessageLength] = {};
  CeloxGetErrorMessages(buffer, sizeof buffer);
  std::string text(buffer, strnlen(buffer, sizeof buffer));
  for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.replace(at, 2, " / ");
  return text;
}

std::string textAt(const std::vector<char>& column, std::int32_t row) {
  const char* element = column.data() + static_cast<std::ptrdiff_t>(row) * kTextLength;
  return std::string(element, strnlen(element, kTextLength));
}

// Every digit a double needs to come back unchanged.
std::string numberText(double d) {
  char text[32];
  std::snprintf(text, sizeof text, "%.17g", d);
  return text;
}

// "yyyy-mm-dd hh:mm:ss", or nothing for the zero bytes of an empty cell.
std::string stampText(const SQL_TIMESTAMP_STRUCT& t) {
  if (t.year == 0) return {};
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
  return text;
}

// One read of every row with the condition and the order.
void readOnce(CeloxConnection connection, std::int32_t rows, const std::string& condition, const std::string& order,
              std::ofstream& out) {
  std::vector<double> id(static_cast<std::size_t>(rows)), amount(static_cast<std::size_t>(rows));
  std::vector<char> name(static_cast<std::size_t>(rows * kTextLength)), code(name.size());
  std::vector<SQL_TIMESTAMP_STRUCT> when(static_cast<std::size_t>(rows));
  CeloxColumnBinding columns[] = {
      binding("Id", id.data(), rows, SQL_C_DOUBLE, 8), binding("Name", name.data(), rows, SQL_C_CHAR, kTextLength),
      binding("Amount", amount.data(), rows, SQL_C_DOUBLE, 8), binding("[When]", when.data(), rows, SQL_C_TIMESTAMP, 16),
      binding("Code", code.data(), rows, SQL_C_CHAR, kTextLength)};
  const std::int32_t read = CeloxReadRows(connection, kSheet, 5, -1, columns, condition.c_str(), order.c_str());
  out << "read " << read << '\t' << lastErrorText() << '\n';
  for (std::int32_t r = 0; r < read; ++r) {
    const auto at = static_cast<std::size_t>(r);
    out << numberText(id[at]) << '\t' << textAt(name, r) << '\t' << numberText(amount[at]) << '\t'
        << stampText(when[at]) << '\t' << textAt(code, r) << '\n';
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: clause_reader WORKBOOK CASES RESULTS\n");
    return 2;
  }
  std::ifstream cases(argv[2], std::ios::binary);
  std::ofstream out(argv[3], std::ios::binary | std::ios::trunc);
  if (!cases || !out) {
    std::fprintf(stderr, "cannot open %s or %s\n", argv[2], argv[3]);
    return 2;
  }
  CeloxConnection connection = CeloxOpenEXCELFile(argv[1]);
  if (!connection) {
    std::fprintf(stderr, "cannot open the workbook %s: %s\n", argv[1], lastErrorText().c_str());
    return 1;
  }
  CeloxSetErrorLevel(1);
  const std::int32_t rows = CeloxGetRowCount(connection, kSheet);
  if (rows < 1) {
    std::fprintf(stderr, "the sheet %s has no rows: %s\n", kSheet, lastErrorText().c_str());
    CeloxCloseEXCELFile(connection);
    return 1;
  }
  for (std::string line; std::getline(cases, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t tab = line.find('\t');
    readOnce(connection, rows, line.substr(0, tab), tab == std::string::npos ? "" : line.substr(tab + 1), out);
  }
  CeloxCloseEXCELFile(connection);
  return out ? 0 : 1;
}
