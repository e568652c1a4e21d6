#pragma once
// The SQL the layer understands: the statements the spreadsheet library sends.
//   SELECT COUNT(*) FROM [Sheet$]
//   SELECT a, [b c] FROM [Sheet$] WHERE a > 4 ORDER BY [b c] DESC
//   CREATE TABLE Sheet (a TEXT, [b c] NUMBER, ...)
//   INSERT INTO [Sheet$] (a, [b c]) VALUES (?, ?)
// Names may be bracketed or plain; keywords are case-insensitive.  The row
// conditions and sort orders are read in sql_condition.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/xlsodbc/sql_condition.h"
#include "platform/xlsodbc/sql_tokens.h"

namespace xlsodbc {

struct SqlStatement {
  enum class Kind { Count, Select, CreateTable, Insert } kind = Kind::Select;
  std::string table;                 // as written, brackets removed
  std::vector<std::string> columns;  // selected, inserted or created columns
  std::vector<std::string> types;    // CREATE TABLE: each column's type word
  std::optional<Condition> where;    // SELECT: the rows wanted, when not all
  std::vector<SortKey> orderBy;      // SELECT: the rows' order, when not the sheet's
};

std::optional<SqlStatement> parseSql(std::string_view text, SqlError& error);

// The worksheet a table name addresses: "Sheet$" names the worksheet Sheet;
// nothing for a name without the "$".
std::optional<std::string> worksheetOfTable(std::string_view table);

// A letter of code page 1252 in lower case, any other byte as it is: how the
// driver sets case aside when it compares names and texts.
char foldCase(char c);

// Case-insensitive name comparison, as the driver compares sheet and column names.
bool sameName(std::string_view a, std::string_view b);

// SQL LIKE matching with "%" and "_", case-insensitive.
bool likeMatch(std::string_view text, std::string_view pattern);

}  // namespace xlsodbc
