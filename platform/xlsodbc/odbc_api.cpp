// The ODBC functions that the spreadsheet library calls, implemented over our
// workbook layer: each worksheet is a table named after the sheet with "$".
#include <algorithm>
#include <cstring>
#include <set>

#include "platform/xlsodbc/odbc_handles.h"
#include "platform/xlsodbc/row_selection.h"
#include "platform/xlsodbc/table_view.h"
#include "platform/xlsodbc/workbook_file.h"

namespace xlsodbc {
namespace {

constexpr std::string_view kMessagePrefix = "[Carrowmapper][Excel workbook layer] ";
constexpr std::string_view kDriverName = "{Microsoft Excel Driver (*.xls)}";
constexpr std::size_t kMaxSheetNameLength = 31;
constexpr std::size_t kMaxColumns = 256;
constexpr std::size_t kMaxRows = 65536;

std::set<Handle*>& liveHandles() {
  static std::set<Handle*> handles;
  return handles;
}

template <typename T>
T* checked(SQLHANDLE h, SQLSMALLINT type) {
  auto* p = static_cast<Handle*>(h);
  if (!p || !liveHandles().count(p) || p->type != type) return nullptr;
  return static_cast<T*>(p);
}

std::string textArgument(const SQLCHAR* text, SQLINTEGER length) {
  if (!text) return {};
  const char* s = reinterpret_cast<const char*>(text);
  if (length == SQL_NTS) return std::string(s);
  return std::string(s, static_cast<std::size_t>(std::max<SQLINTEGER>(length, 0)));
}

class ListResult : public ResultSet {
 public:
  explicit ListResult(std::size_t columns) : columns_(columns) {}
  std::vector<std::vector<Value>> rows;
  std::size_t columnCount() const override { return columns_; }
  bool next() override { return ++at_ < rows.size(); }
  void value(std::size_t c, Value& into) const override {
    if (c < rows[at_].size())
      into = rows[at_][c];
    else
      into.setCell(nullptr);
  }

 private:
  std::size_t columns_;
  std::size_t at_ = static_cast<std::size_t>(-1);
};

// The rows a SELECT yields, each a row's cells or nullptr for a row without any.
class RowListResult : public ResultSet {
 public:
  RowListResult(std::vector<std::uint16_t> columns, std::vector<const xlsbook::Row*> rows)
      : columns_(std::move(columns)), rows_(std::move(rows)) {}
  std::size_t columnCount() const override { return columns_.size(); }
  bool next() override { return ++at_ < rows_.size(); }
  void value(std::size_t c, Value& into) const override { valueIn(rows_[at_], columns_[c], into); }

 private:
  std::vector<std::uint16_t> columns_;
  std::vector<const xlsbook::Row*> rows_;
  std::size_t at_ = static_cast<std::size_t>(-1);
};

// Connection-string keys, case-insensitive; a value in braces may hold ";".
std::map<std::string, std::string> parseConnectionString(const std::string& s) {
  std::map<std::string, std::string> keys;
  std::size_t at = 0;
  while (at < s.size()) {
    const std::size_t eq = s.find('=', at);
    if (eq == std::string::npos) break;
    std::string key = s.substr(at, eq - at);
    for (auto& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    while (!key.empty() && key.front() == ' ') key.erase(key.begin());
    std::size_t end;
    if (eq + 1 < s.size() && s[eq + 1] == '{') {
      end = s.find('}', eq + 1);
      end = end == std::string::npos ? s.size() : end + 1;
    } else {
      end = s.find(';', eq + 1);
      if (end == std::string::npos) end = s.size();
    }
    keys[key] = s.substr(eq + 1, end - eq - 1);
    at = end + 1;
  }
  return keys;
}

bool validSheetName(const std::string& name) {
  if (name.empty() || name.size() > kMaxSheetNameLength) return false;
  return name.find_first_of("[]:*?/\\") == std::string::npos;
}

bool knownColumnType(const std::string& type) {
  static constexpr std::string_view kTypes[] = {
      "TEXT", "CHAR", "VARCHAR", "MEMO", "LONGCHAR", "NUMBER", "DOUBLE", "FLOAT", "REAL", "INTEGER", "INT",
      "SMALLINT", "BYTE", "LONG", "CURRENCY", "MONEY", "DECIMAL", "NUMERIC", "DATETIME", "DATE", "TIME",
      "TIMESTAMP", "LOGICAL", "BIT", "YESNO", "BOOLEAN"};
  return std::any_of(std::begin(kTypes), std::end(kTypes), [&](std::string_view t) { return sameName(t, type); });
}

// Any open cursors of the connection see the old workbook model: close them
// before the model is replaced.
void closeCursors(Connection& c) {
  for (Statement* s : c.statements) s->result.reset();
}

SQLRETURN writeWorkbook(Connection& c, Handle& reportTo) {
  closeCursors(c);
  std::string why;
  if (!saveWorkbookFile(c.path, *c.book, why)) return reportTo.fail("HY000", why);
  c.unread = true;
  return SQL_SUCCESS;
}

// The model matches the file once what the last save wrote is read back; false,
// with the failure on `reportTo`, when it cannot be.
bool catchUpWithFile(Connection& c, Handle& reportTo) {
  if (!c.unread) return true;
  std::string why;
  auto reloaded = loadWorkbookFile(c.path, why);
  c.unread = false;
  if (!reloaded) {
    reportTo.fail("HY000", "The workbook written to " + c.path + " could not be read back: " + why);
    return false;
  }
  c.book.reset();
  c.book.emplace(std::move(*reloaded));
  return true;
}

// Rows inserted through the statement are written when it is closed, once for
// all of them.
SQLRETURN writePendingRows(Statement& s) {
  if (!s.rowsInserted) return SQL_SUCCESS;
  s.rowsInserted = false;
  // A model not yet read back is the one last saved: nothing new to write.
  if (!s.connection->book || s.connection->unread || !s.connection->book->changed()) return SQL_SUCCESS;
  const SQLRETURN rc = writeWorkbook(*s.connection, s);
  // Rows that could not be saved are not in the workbook: the model is read
  // back from the file, as it still is, before it is used again.
  if (rc != SQL_SUCCESS) s.connection->unread = true;
  return rc;
}

xlsbook::Sheet* resolveWorksheet(Statement& s, const std::string& table) {
  if (!catchUpWithFile(*s.connection, s)) return nullptr;
  const auto sheetName = worksheetOfTable(table);
  xlsbook::Sheet* sheet = sheetName ? s.connection->book->findWorksheet(*sheetName) : nullptr;
  if (!sheet)
    s.fail("42S02", "The table \"" + table + "\" does not exist; a worksheet is addressed by its name and \"$\".");
  return sheet;
}

SQLRETURN prepare(Statement& s, const std::string& text) {
  if (SQLRETURN rc = writePendingRows(s); rc != SQL_SUCCESS) return rc;
  s.result.reset();
  s.prepared.reset();
  s.insertColumns.clear();
  SqlError error;
  auto parsed = parseSql(text, error);
  if (!parsed) return s.fail(error.state, error.message);
  if (parsed->kind == SqlStatement::Kind::Insert) {
    if (s.connection->readOnly) return s.fail("HY000", "The workbook is open read-only.");
    xlsbook::Sheet* sheet = resolveWorksheet(s, parsed->table);
    if (!sheet) return SQL_ERROR;
    const TableView view = viewOf(*sheet);
    for (const auto& name : parsed->columns) {
      const int at = view.hasHeader ? view.find(name) : -1;
      if (at < 0) return s.fail("42S22", "The column \"" + name + "\" does not exist in \"" + parsed->table + "\".");
      s.insertColumns.push_back(view.columns[static_cast<std::size_t>(at)].sheetColumn);
    }
  }
  s.prepared = std::move(parsed);
  return SQL_SUCCESS;
}

SQLRETURN executeCount(Statement& s) {
  xlsbook::Sheet* sheet = resolveWorksheet(s, s.prepared->table);
  if (!sheet) return SQL_ERROR;
  auto result = std::make_unique<ListResult>(1);
  result->rows.push_back({Value::ofNumber(viewOf(*sheet).rowCount())});
  s.result = std::move(result);
  return SQL_SUCCESS;
}

SQLRETURN executeSelect(Statement& s) {
  xlsbook::Sheet* sheet = resolveWorksheet(s, s.prepared->table);
  if (!sheet) return SQL_ERROR;
  const TableView view = viewOf(*sheet);
  std::vector<std::uint16_t> columns;
  for (const auto& name : s.prepared->columns) {
    const int at = view.find(name);
    if (at < 0)
      return s.fail("42S22", "The column \"" + name + "\" does not exist in \"" + s.prepared->table + "\".");
    columns.push_back(view.columns[static_cast<std::size_t>(at)].sheetColumn);
  }
  SqlError error;
  auto rows = selectRows(*sheet, view, *s.prepared, s.connection->book->date1904, error);
  if (!rows) return s.fail(error.state, error.message);
  s.result = std::make_unique<RowListResult>(std::move(columns), std::move(*rows));
  return SQL_SUCCESS;
}

SQLRETURN executeCreate(Statement& s) {
  Connection& c = *s.connection;
  if (c.readOnly) return s.fail("HY000", "The workbook is open read-only.");
  if (!catchUpWithFile(c, s)) return SQL_ERROR;
  std::string name = s.prepared->table;
  if (name.size() > 1 && name.back() == '$') name.pop_back();
  if (!validSheetName(name))
    return s.fail("42000", "\"" + name + "\" cannot name a worksheet: 1 to 31 characters without [ ] : * ? / \\.");
  for (const auto& sheet : c.book->sheets)
    if (sameName(sheet.name, name)) return s.fail("42S01", "The table \"" + name + "\" already exists.");
  const auto& columns = s.prepared->columns;
  if (columns.size() > kMaxColumns) return s.fail("42000", "A worksheet holds at most 256 columns.");
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (!knownColumnType(s.prepared->types[i]))
      return s.fail("42000", "The column type \"" + s.prepared->types[i] + "\" is not known.");
    for (std::size_t k = 0; k < i; ++k)
      if (sameName(columns[k], columns[i]))
        return s.fail("42S21", "The column \"" + columns[i] + "\" is named twice.");
  }
  xlsbook::addWorksheet(*c.book, name, columns);
  if (SQLRETURN rc = writeWorkbook(c, s); rc != SQL_SUCCESS) {
    c.book->sheets.pop_back();
    return rc;
  }
  return SQL_SUCCESS;
}

SQLRETURN executeInsert(Statement& s) {
  const std::string table = s.prepared->table;
  xlsbook::Sheet* sheet = resolveWorksheet(s, table);
  if (!sheet) return SQL_ERROR;
  if (sheet->nextFreeRow >= kMaxRows) return s.fail("HY000", "The worksheet is full: it holds at most 65536 rows.");
  // The cells are gathered first, so that the row in the sheet takes no more
  // room than its cells need.
  std::vector<xlsbook::Cell>& cells = s.insertedCells;
  cells.clear();
  for (std::size_t i = 0; i < s.insertColumns.size(); ++i) {
    const auto p = s.parameters.find(static_cast<SQLUSMALLINT>(i + 1));
    if (p == s.parameters.end()) return s.fail("07002", "COUNT field incorrect: parameter " + std::to_string(i + 1) + " is not bound.");
    std::optional<xlsbook::Cell> cell;
    const Binding& b = p->second;
    Outcome o = fromCBuffer(b.cType, b.buffer, b.bufferLength, b.indicator, s.connection->book->date1904, cell);
    if (o.error) return s.fail(o.state, o.message + " (parameter " + std::to_string(i + 1) + ")");
    if (cell) {
      cell->column = s.insertColumns[i];
      cells.push_back(*cell);
    }
  }
  xlsbook::Row row(cells.begin(), cells.end(), sheet->rows.get_allocator());
  std::sort(row.begin(), row.end(), [](const auto& a, const auto& b) { return a.column < b.column; });
  xlsbook::appendRow(*sheet, std::move(row));
  s.rowsInserted = true;
  return SQL_SUCCESS;
}

SQLRETURN execute(Statement& s) {
  if (!s.prepared) return s.fail("HY010", "Function sequence error: no statement prepared.");
  s.result.reset();
  switch (s.prepared->kind) {
    case SqlStatement::Kind::Count: return executeCount(s);
    case SqlStatement::Kind::Select: return executeSelect(s);
    case SqlStatement::Kind::CreateTable: return executeCreate(s);
    case SqlStatement::Kind::Insert: return executeInsert(s);
  }
  return SQL_ERROR;
}

void freeStatement(Statement* s) {
  auto& list = s->connection->statements;
  list.erase(std::remove(list.begin(), list.end(), s), list.end());
  liveHandles().erase(s);
  delete s;
}

SQLRETURN closeStatement(Statement& s) {
  s.result.reset();
  return writePendingRows(s);
}

std::string fullMessage(const Diagnostic& d) { return std::string(kMessagePrefix) + d.message; }

}  // namespace
}  // namespace xlsodbc

using namespace xlsodbc;

SQLRETURN SQL_API SQLAllocHandle(SQLSMALLINT type, SQLHANDLE input, SQLHANDLE* output) {
  if (!output) return SQL_ERROR;
  *output = SQL_NULL_HANDLE;
  Handle* made = nullptr;
  switch (type) {
    case SQL_HANDLE_ENV:
      made = new Environment();
      break;
    case SQL_HANDLE_DBC: {
      auto* env = checked<Environment>(input, SQL_HANDLE_ENV);
      if (!env) return SQL_INVALID_HANDLE;
      env->diagnostics.clear();
      if (env->odbcVersion == 0) return env->fail("HY010", "Function sequence error: set the ODBC version first.");
      auto* c = new Connection(env);
      env->connections.push_back(c);
      made = c;
      break;
    }
    case SQL_HANDLE_STMT: {
      auto* c = checked<Connection>(input, SQL_HANDLE_DBC);
      if (!c) return SQL_INVALID_HANDLE;
      c->diagnostics.clear();
      if (!c->connected) return c->fail("08003", "Connection not open.");
      auto* s = new Statement(c);
      c->statements.push_back(s);
      made = s;
      break;
    }
    default:
      return SQL_ERROR;
  }
  liveHandles().insert(made);
  *output = made;
  return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLFreeHandle(SQLSMALLINT type, SQLHANDLE handle) {
  switch (type) {
    case SQL_HANDLE_ENV: {
      auto* env = checked<Environment>(handle, SQL_HANDLE_ENV);
      if (!env) return SQL_INVALID_HANDLE;
      env->diagnostics.clear();
      if (!env->connections.empty()) return env->fail("HY010", "Function sequence error: connections are still allocated.");
      liveHandles().erase(env);
      delete env;
      return SQL_SUCCESS;
    }
    case SQL_HANDLE_DBC: {
      auto* c = checked<Connection>(handle, SQL_HANDLE_DBC);
      if (!c) return SQL_INVALID_HANDLE;
      c->diagnostics.clear();
      if (c->connected) return c->fail("HY010", "Function sequence error: disconnect first.");
      auto& list = c->environment->connections;
      list.erase(std::remove(list.begin(), list.end(), c), list.end());
      liveHandles().erase(c);
      delete c;
      return SQL_SUCCESS;
    }
    case SQL_HANDLE_STMT: {
      auto* s = checked<Statement>(handle, SQL_HANDLE_STMT);
      if (!s) return SQL_INVALID_HANDLE;
      s->diagnostics.clear();
      if (SQLRETURN rc = closeStatement(*s); rc != SQL_SUCCESS) return rc;
      freeStatement(s);
      return SQL_SUCCESS;
    }
    default:
      return SQL_ERROR;
  }
}

SQLRETURN SQL_API SQLSetEnvAttr(SQLHENV handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER) {
  auto* env = checked<Environment>(handle, SQL_HANDLE_ENV);
  if (!env) return SQL_INVALID_HANDLE;
  env->diagnostics.clear();
  if (attribute != SQL_ATTR_ODBC_VERSION) return env->fail("HYC00", "Optional feature not implemented.");
  const auto version = static_cast<SQLINTEGER>(reinterpret_cast<std::intptr_t>(value));
  if (version != SQL_OV_ODBC2 && version != SQL_OV_ODBC3) return env->fail("HY024", "Invalid attribute value.");
  env->odbcVersion = version;
  return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLSetConnectAttr(SQLHDBC handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER) {
  auto* c = checked<Connection>(handle, SQL_HANDLE_DBC);
  if (!c) return SQL_INVALID_HANDLE;
  c->diagnostics.clear();
  const auto v = static_cast<SQLUINTEGER>(reinterpret_cast<std::uintptr_t>(value));
  if (attribute == SQL_ATTR_AUTOCOMMIT) {
    // Every statement takes effect by itself; there are no transactions.
    if (v != SQL_AUTOCOMMIT_ON) return c->fail("HYC00", "Transactions are not supported.");
    return SQL_SUCCESS;
  }
  return c->fail("HYC00", "Optional feature not implemented.");
}

SQLRETURN SQL_API SQLDriverConnect(SQLHDBC handle, SQLHWND, SQLCHAR* in, SQLSMALLINT inLength, SQLCHAR* out,
                                   SQLSMALLINT outMax, SQLSMALLINT* outLength, SQLUSMALLINT) {
  auto* c = checked<Connection>(handle, SQL_HANDLE_DBC);
  if (!c) return SQL_INVALID_HANDLE;
  c->diagnostics.clear();
  if (c->connected) return c->fail("08002", "Connection name in use.");
  const std::string text = textArgument(in, inLength);
  auto keys = parseConnectionString(text);
  if (!sameName(keys["DRIVER"], kDriverName))
    return c->fail("IM002", "Data source name not found and no default driver specified.");
  const std::string path = keys["DBQ"];
  if (path.empty()) return c->fail("08001", "No workbook is named (DBQ).");
  std::string why;
  auto book = loadWorkbookFile(path, why);
  if (!book) return c->fail("HY000", why, -1);
  c->book.reset();
  c->book.emplace(std::move(*book));
  c->path = path;
  c->readOnly = sameName(keys["READONLY"], "TRUE") || keys["READONLY"] == "1";
  c->connected = true;
  if (outLength) *outLength = static_cast<SQLSMALLINT>(std::min<std::size_t>(text.size(), 32767));
  if (out && outMax > 0) {
    const std::size_t n = std::min<std::size_t>(text.size(), static_cast<std::size_t>(outMax - 1));
    std::memcpy(out, text.data(), n);
    out[n] = 0;
    if (n < text.size()) return c->warn("01004", "String data, right truncated.");
  }
  return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLDisconnect(SQLHDBC handle) {
  auto* c = checked<Connection>(handle, SQL_HANDLE_DBC);
  if (!c) return SQL_INVALID_HANDLE;
  c->diagnostics.clear();
  if (!c->connected) return c->fail("08003", "Connection not open.");
  SQLRETURN rc = SQL_SUCCESS;
  // Statements still open go with the connection; rows they inserted are written first.
  while (!c->statements.empty()) {
    Statement* s = c->statements.back();
    if (closeStatement(*s) != SQL_SUCCESS) {
      for (const auto& d : s->diagnostics) c->diagnostics.push_back(d);
      rc = SQL_SUCCESS_WITH_INFO;
    }
    freeStatement(s);
  }
  c->connected = false;
  c->book.reset();
  c->unread = false;
  return rc;
}

SQLRETURN SQL_API SQLPrepare(SQLHSTMT handle, SQLCHAR* text, SQLINTEGER length) {
  auto* s = checked<Statement>(handle, SQL_HANDLE_STMT);
  if (!s) return SQL_INVALID_HANDLE;
  s->diagnostics.clear();
  if (!text) return s->fail("HY009", "Invalid use of null pointer.");
  return prepare(*s, textArgument(text, length));
}

SQLRETURN SQL_API SQLExecute(SQLHSTMT handle) {
  auto* s = checked<Statement>(handle, SQL_HANDLE_STMT);
  if (!s) return SQL_INVALID_HANDLE;
  s->diagnostics.clear();
  return execute(*s);
}

SQLRETURN SQL_API SQLExecDirect(SQLHSTMT handle, SQLCHAR* text, SQLINTEGER length) {
  auto* s = checked<Statement>(handle, SQL_HANDLE_STMT);
  if (!s) return SQL_INVALID_HANDLE;
  s->diagnostics.clear();
  if (!text) return s->fail("HY009", "Invalid use of null pointer.");
  if (SQLRETURN rc = prepare(*s, textArgument(text, length)); rc != SQL_SUCCESS) return rc;
  return execute(*s);
}

SQLRETURN SQL_API SQLBindCol(SQLHSTMT handle, SQLUSMALLINT column, SQLSMALLINT cType, SQLPOINTER buffer,
                             SQLLEN bufferLength, SQLLEN* indicator) {
  auto* s = checked<Statement>(handle, SQL_HANDLE_STMT);
  if (!s) return SQL_INVALID_HANDLE;
  s->diagnostics.clear();
  if (column == 0) return s->fail("07009", "Invalid descriptor index: bookmarks are not supported.");
  if (!buffer) {
    s->columns.erase(column);
    return SQL_SUCCESS;
  }
  if (!isSupportedCType(cType)) return s->fail("HY003", "Program type out of range.");
  if (bufferLength < 0) return s->fail("HY090", "Invalid string or buffer length.");
  s->columns[column] = {cType, buffer, bufferLength, indicator};
  return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLBindParameter(SQLHSTMT handle, SQLUSMALLINT number, SQLSMALLINT direction, SQLSMALLINT cType,
                                   SQLSMALLINT, SQLULEN, SQLSMALLINT, SQLPOINTER buffer, SQLLEN bufferLength,
                                   SQLLEN* indicator) {
  auto* s = checked<Statement>(handle, SQL_HANDLE_STMT);
  if (!s) return SQL_INVALID_HANDLE;
  s->diagnostics.clear();
  if (number == 0) return s->fail("07009", "Invalid descriptor index.");
  if (direction != SQL_PARAM_INPUT) return s->fail("HY105", "Invalid parameter type: only input parameters are supported.");
  if (!isSupportedCType(cType)) return s->fail("HY003", "Program type out of range.");
  if (!buffer && !indicator) return s->fail("HY009", "Invalid use of null pointer.");
  s->parameters[number] = {cType, buffer, bufferLength, indicator};
  return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLFetch(SQLHSTMT handle) {
  auto* s = checked<Statement>(handle, SQL_HANDLE_STMT);
  if (!s) return SQL_INVALID_HANDLE;
  s->diagnostics.clear();
  if (!s->result) return s->fail("24000", "Invalid cursor state: no result to fetch from.");
  if (!s->result->next()) return SQL_NO_DATA;
  SQLRETURN rc = SQL_SUCCESS;
  const bool date1904 = s->connection->book && s->connection->book->date1904;
  for (const auto& [number, b] : s->columns) {
    if (number > s->result->columnCount()) return s->fail("07009", "Invalid descriptor index: column " + std::to_string(number) + ".");
    s->result->value(number - 1u, s->fetched);
    Outcome o = toCBuffer(s->fetched, b.cType, b.buffer, b.bufferLength, b.indicator, date1904);
    if (!o.state) continue;
    const std::string message = o.message + " (column " + std::to_string(number) + ")";
    if (o.error) return s->fail(o.state, message);
    rc = s->warn(o.state, message);
  }
  return rc;
}

SQLRETURN SQL_API SQLFreeStmt(SQLHSTMT handle, SQLUSMALLINT option) {
  auto* s = checked<Statement>(handle, SQL_HANDLE_STMT);
  if (!s) return SQL_INVALID_HANDLE;
  s->diagnostics.clear();
  switch (option) {
    case SQL_CLOSE: return closeStatement(*s);
    case SQL_DROP: return SQLFreeHandle(SQL_HANDLE_STMT, handle);
    case SQL_UNBIND: s->columns.clear(); return SQL_SUCCESS;
    case SQL_RESET_PARAMS: s->parameters.clear(); return SQL_SUCCESS;
    default: return s->fail("HY092", "Invalid attribute/option identifier.");
  }
}

SQLRETURN SQL_API SQLColumns(SQLHSTMT handle, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT, SQLCHAR* table,
                             SQLSMALLINT tableLength, SQLCHAR* column, SQLSMALLINT columnLength) {
  auto* s = checked<Statement>(handle, SQL_HANDLE_STMT);
  if (!s) return SQL_INVALID_HANDLE;
  s->diagnostics.clear();
  if (SQLRETURN rc = closeStatement(*s); rc != SQL_SUCCESS) return rc;
  s->prepared.reset();
  const std::string tablePattern = table ? textArgument(table, tableLength) : "%";
  const std::string columnPattern = column ? textArgument(column, columnLength) : "%";
  if (!catchUpWithFile(*s->connection, *s)) return SQL_ERROR;
  const auto& book = *s->connection->book;
  const int version = s->connection->environment->odbcVersion;
  std::string catalogue = s->connection->path;
  if (catalogue.size() > 4 && sameName(catalogue.substr(catalogue.size() - 4), ".xls")) catalogue.resize(catalogue.size() - 4);

  auto result = std::make_unique<ListResult>(18);
  for (const auto& sheet : book.sheets) {
    if (!sheet.isWorksheet()) continue;
    const std::string tableName = sheet.name + "$";
    if (!likeMatch(tableName, tablePattern)) continue;
    const TableView view = viewOf(sheet);
    for (std::size_t i = 0; i < view.columns.size(); ++i) {
      if (!likeMatch(view.columns[i].name, columnPattern)) continue;
      const ColumnType t = typeOf(sheet, view, i, version);
      const bool text = t.sqlType == SQL_VARCHAR;
      const bool stamp = t.sqlType == SQL_TIMESTAMP || t.sqlType == SQL_TYPE_TIMESTAMP;
      const auto num = [](double d) { return Value::ofNumber(d); };
      std::vector<Value> row{Value::ofText(catalogue), Value{}, Value::ofText(tableName),
                             Value::ofText(view.columns[i].name), num(t.sqlType), Value::ofText(t.name),
                             num(t.size), num(text ? 510 : stamp ? 16 : t.sqlType == SQL_BIT ? 1 : 8),
                             stamp ? num(0) : Value{}, t.sqlType == SQL_DOUBLE ? num(2) : Value{}, num(SQL_NULLABLE),
                             Value{}, Value{}, num(stamp ? SQL_DATETIME : t.sqlType), stamp ? num(SQL_CODE_TIMESTAMP) : Value{},
                             text ? num(510) : Value{}, num(static_cast<double>(i + 1)), Value::ofText("YES")};
      result->rows.push_back(std::move(row));
    }
  }
  s->result = std::move(result);
  return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLError(SQLHENV env, SQLHDBC dbc, SQLHSTMT stmt, SQLCHAR* state, SQLINTEGER* native,
                           SQLCHAR* message, SQLSMALLINT bufferLength, SQLSMALLINT* textLength) {
  Handle* h = nullptr;
  if (stmt)
    h = checked<Statement>(stmt, SQL_HANDLE_STMT);
  else if (dbc)
    h = checked<Connection>(dbc, SQL_HANDLE_DBC);
  else if (env)
    h = checked<Environment>(env, SQL_HANDLE_ENV);
  if (!h) return SQL_INVALID_HANDLE;
  if (h->diagnostics.empty()) return SQL_NO_DATA;
  const Diagnostic d = h->diagnostics.front();
  h->diagnostics.erase(h->diagnostics.begin());
  if (state) {
    std::memset(state, 0, 6);
    std::memcpy(state, d.state.data(), std::min<std::size_t>(d.state.size(), 5));
  }
  if (native) *native = d.native;
  const std::string text = fullMessage(d);
  if (textLength) *textLength = static_cast<SQLSMALLINT>(std::min<std::size_t>(text.size(), 32767));
  if (message && bufferLength > 0) {
    const std::size_t n = std::min<std::size_t>(text.size(), static_cast<std::size_t>(bufferLength - 1));
    std::memcpy(message, text.data(), n);
    message[n] = 0;
    if (n < text.size()) return SQL_SUCCESS_WITH_INFO;
  }
  return SQL_SUCCESS;
}
