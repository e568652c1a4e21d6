#pragma once
// The data rows a SELECT yields from a worksheet: those its row condition holds
// for, in the order it asks for, or every data row in the sheet's order.

#include <optional>
#include <vector>

#include "platform/xlsodbc/sql_statement.h"
#include "platform/xlsodbc/table_view.h"

namespace xlsodbc {

// One entry a row: its cells, or nullptr for a row without any.  The condition
// and the order of the statement are tied to the table's columns first; nothing,
// with `error` naming the column, when one of them names none.
std::optional<std::vector<const xlsbook::Row*>> selectRows(const xlsbook::Sheet& sheet, const TableView& view,
                                                           SqlStatement& statement, bool date1904, SqlError& error);

}  // namespace xlsodbc
