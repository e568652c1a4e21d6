#pragma once
// The row condition (WHERE) and sort order (ORDER BY) of a SELECT, as a
// workbook driver reads them:
//   WHERE Amount > 4 AND ([When] < #2009-01-01# OR Name LIKE 'o''b%')
//   WHERE Code IN ('a1', 'b2') AND Amount BETWEEN -1 AND 3.5 AND Note IS NOT NULL
//   ORDER BY Name, [When] DESC
// A condition is parsed into a small tree, tied to the columns of the table it
// reads, and then evaluated for each row.  An empty cell is NULL: a comparison
// with it is neither true nor false, so it matches neither the comparison nor
// its NOT.  Texts compare without regard to case.

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/xlsodbc/cell_values.h"
#include "platform/xlsodbc/sql_tokens.h"

namespace xlsodbc {

// A column, or a number, text or date written in the statement.
struct Operand {
  std::string column;          // the column's name; empty for a value
  Value value;                 // a number or a text; a date once bound
  std::optional<double> date;  // a #date#: its serial in the 1900 date system
  int index = -1;              // the column's position in the table, once bound
};

enum class Comparison { Equal, NotEqual, Less, LessOrEqual, Greater, GreaterOrEqual };

struct Condition {
  enum class Kind { All, Any, Not, Compare, Like, Between, In, IsNull };  // All: AND, Any: OR
  Kind kind = Kind::All;
  Comparison comparison = Comparison::Equal;
  bool negated = false;           // NOT LIKE, NOT BETWEEN, NOT IN, IS NOT NULL
  std::vector<Operand> operands;  // the tested value first, then what it is tested against
  std::vector<Condition> parts;   // All, Any: two or more; Not: one
};

struct SortKey {
  Operand column;
  bool descending = false;
};

// Reads the condition that follows WHERE, or the columns that follow ORDER BY;
// nothing, with the failure kept in the tokens, when the text is no such clause.
std::optional<Condition> parseCondition(Tokens& tokens);
std::optional<std::vector<SortKey>> parseSortKeys(Tokens& tokens);

// Ties every column of the condition or the order to its position among the
// table's column names, and dates to the workbook's date system.  False, with
// the error naming the column, when a name is not among them.
bool bindCondition(Condition& condition, std::span<const std::string> columns, bool date1904, SqlError& error);
bool bindSortKeys(std::vector<SortKey>& keys, std::span<const std::string> columns, SqlError& error);

// The columns (positions) that a condition reads.
void columnsRead(const Condition& condition, std::vector<bool>& read);

enum class Truth { False, True, Unknown };

// The condition for one row, whose values are given by column position.
Truth evaluate(const Condition& condition, std::span<const Value> row, bool date1904);

// How two values compare: below 0, 0 or above 0; nothing when either is NULL or
// a text that is no number meets a number.
std::optional<int> compareValues(const Value& a, const Value& b);

// The order of ORDER BY, for any two values: NULL first, then numbers and dates,
// then texts.
int sortOrder(const Value& a, const Value& b);

}  // namespace xlsodbc
