#pragma once
// The handles of our ODBC layer: environment, connection (one open workbook)
// and statement, each with the diagnostic records that SQLError hands out.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/xlsodbc/cell_values.h"
#include "platform/xlsodbc/odbc.h"
#include "platform/xlsodbc/sql_statement.h"
#include "platform/xlsodbc/workbook.h"

namespace xlsodbc {

struct Diagnostic {
  std::string state;
  SQLINTEGER native = 0;
  std::string message;
};

struct Handle {
  explicit Handle(SQLSMALLINT t) : type(t) {}
  virtual ~Handle() = default;
  SQLSMALLINT type;
  std::vector<Diagnostic> diagnostics;

  SQLRETURN fail(const char* state, std::string message, SQLINTEGER native = 0) {
    diagnostics.push_back({state, native, std::move(message)});
    return SQL_ERROR;
  }
  SQLRETURN warn(const char* state, std::string message) {
    diagnostics.push_back({state, 0, std::move(message)});
    return SQL_SUCCESS_WITH_INFO;
  }
};

struct Connection;
struct Statement;

struct Environment : Handle {
  Environment() : Handle(SQL_HANDLE_ENV) {}
  SQLINTEGER odbcVersion = 0;
  std::vector<Connection*> connections;
};

struct Connection : Handle {
  explicit Connection(Environment* e) : Handle(SQL_HANDLE_DBC), environment(e) {}
  Environment* environment;
  bool connected = false;
  bool readOnly = false;
  std::string path;
  std::optional<xlsbook::Workbook> book;
  // `book` is to be read from the file again when the model is next needed:
  // after a save, so that a connection closed straight after it never pays for
  // reading it, and after a failed save, whose changes the file does not hold.
  bool unread = false;
  std::vector<Statement*> statements;
};

// The rows a statement produced, read one at a time by SQLFetch.
class ResultSet {
 public:
  virtual ~ResultSet() = default;
  virtual std::size_t columnCount() const = 0;
  virtual bool next() = 0;
  // The value of a column (from 0) of the current row into `into`.
  virtual void value(std::size_t column, Value& into) const = 0;
};

struct Binding {
  SQLSMALLINT cType = 0;
  SQLPOINTER buffer = nullptr;
  SQLLEN bufferLength = 0;
  SQLLEN* indicator = nullptr;
};

struct Statement : Handle {
  explicit Statement(Connection* c) : Handle(SQL_HANDLE_STMT), connection(c) {}
  Connection* connection;
  std::optional<SqlStatement> prepared;
  std::vector<std::uint16_t> insertColumns;  // sheet columns of a prepared INSERT
  std::vector<xlsbook::Cell> insertedCells;  // the row being inserted, before it goes into the sheet
  std::map<SQLUSMALLINT, Binding> columns;
  std::map<SQLUSMALLINT, Binding> parameters;
  std::unique_ptr<ResultSet> result;
  Value fetched;  // the value being fetched: its text buffer serves row after row
  bool rowsInserted = false;  // inserted rows wait to be written when the statement is closed
};

}  // namespace xlsodbc
