#pragma once
// The SQL the layer understands: the statements the spreadsheet library sends.
//   SELECT COUNT(*) FROM [Sheet$]
//   SELECT a, [b c] FROM [Sheet$]
//   CREATE TABLE Sheet (a TEXT, [b c] NUMBER, ...)
//   INSERT INTO [Sheet$] (a, [b c]) VALUES (?, ?)
// Names may be bracketed or plain; keywords are case-insensitive.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace xlsodbc {

struct SqlStatement {
  enum class Kind { Count, Select, CreateTable, Insert } kind = Kind::Select;
  std::string table;                 // as written, brackets removed
  std::vector<std::string> columns;  // selected, inserted or created columns
  std::vector<std::string> types;    // CREATE TABLE: each column's type word
};

struct SqlError {
  const char* state = "42000";
  std::string message;
};

std::optional<SqlStatement> parseSql(std::string_view text, SqlError& error);

// The worksheet a table name addresses: "Sheet$" names the worksheet Sheet;
// nothing for a name without the "$".
std::optional<std::string> worksheetOfTable(std::string_view table);

// Case-insensitive name comparison, as the driver compares sheet and column names.
bool sameName(std::string_view a, std::string_view b);

// SQL LIKE matching with "%" and "_", case-insensitive.
bool likeMatch(std::string_view text, std::string_view pattern);

}  // namespace xlsodbc
