#include "platform/xlsodbc/sql_statement.h"

namespace xlsodbc {
namespace {

// A plain or bracketed name.
std::optional<std::string> name(Tokens& t) {
  if (t.peek().kind == Token::Kind::Word || t.peek().kind == Token::Kind::Name) {
    std::string s = t.take().text;
    if (!s.empty()) return s;
  }
  t.fail("Syntax error: a name expected" + t.location());
  return std::nullopt;
}

bool atEnd(Tokens& t, const char* expected) {
  if (t.peek().kind == Token::Kind::End) return true;
  return t.fail(std::string("Syntax error: ") + expected + t.location());
}

std::optional<SqlStatement> parseSelect(Tokens& t) {
  SqlStatement s;
  if (t.keyword("COUNT")) {
    if (!t.expectSymbol("(") || !t.expectSymbol("*") || !t.expectSymbol(")")) return std::nullopt;
    s.kind = SqlStatement::Kind::Count;
  } else {
    s.kind = SqlStatement::Kind::Select;
    do {
      if (t.isSymbol("*")) {
        t.fail("Syntax error: name the columns to read; \"*\" is not supported.");
        return std::nullopt;
      }
      auto n = name(t);
      if (!n) return std::nullopt;
      s.columns.push_back(*n);
    } while (t.symbol(","));
  }
  if (!t.expectKeyword("FROM")) return std::nullopt;
  auto table = name(t);
  if (!table) return std::nullopt;
  s.table = *table;
  if (s.kind == SqlStatement::Kind::Count) {
    if (!atEnd(t, "the end of the statement expected")) return std::nullopt;
    return s;
  }
  if (t.keyword("WHERE")) {
    s.where = parseCondition(t);
    if (!s.where) return std::nullopt;
  }
  if (t.keyword("ORDER")) {
    if (!t.expectKeyword("BY")) return std::nullopt;
    auto keys = parseSortKeys(t);
    if (!keys) return std::nullopt;
    s.orderBy = std::move(*keys);
  }
  const char* expected = s.orderBy.empty() ? (s.where ? "AND, OR, ORDER BY or the end of the statement expected"
                                                      : "WHERE, ORDER BY or the end of the statement expected")
                                           : "\",\" or the end of the statement expected";
  if (!atEnd(t, expected)) return std::nullopt;
  return s;
}

std::optional<SqlStatement> parseCreate(Tokens& t) {
  SqlStatement s;
  s.kind = SqlStatement::Kind::CreateTable;
  if (!t.expectKeyword("TABLE")) return std::nullopt;
  auto table = name(t);
  if (!table || !t.expectSymbol("(")) return std::nullopt;
  s.table = *table;
  do {
    auto column = name(t);
    if (!column) return std::nullopt;
    if (t.peek().kind != Token::Kind::Word) {
      t.fail("Syntax error: a column type expected" + t.location());
      return std::nullopt;
    }
    s.columns.push_back(*column);
    s.types.push_back(t.take().text);
    if (t.symbol("(")) {  // a length, as in TEXT(255)
      if (t.peek().kind != Token::Kind::Number) {
        t.fail("Syntax error: a length expected" + t.location());
        return std::nullopt;
      }
      t.take();
      if (!t.expectSymbol(")")) return std::nullopt;
    }
  } while (t.symbol(","));
  if (!t.expectSymbol(")") || !atEnd(t, "the end of the statement expected")) return std::nullopt;
  return s;
}

std::optional<SqlStatement> parseInsert(Tokens& t) {
  SqlStatement s;
  s.kind = SqlStatement::Kind::Insert;
  if (!t.expectKeyword("INTO")) return std::nullopt;
  auto table = name(t);
  if (!table || !t.expectSymbol("(")) return std::nullopt;
  s.table = *table;
  do {
    auto column = name(t);
    if (!column) return std::nullopt;
    s.columns.push_back(*column);
  } while (t.symbol(","));
  if (!t.expectSymbol(")") || !t.expectKeyword("VALUES") || !t.expectSymbol("(")) return std::nullopt;
  std::size_t markers = 0;
  do {
    if (!t.symbol("?")) {
      t.fail("Only parameter markers (?) can be inserted" + t.location());
      return std::nullopt;
    }
    ++markers;
  } while (t.symbol(","));
  if (!t.expectSymbol(")") || !atEnd(t, "the end of the statement expected")) return std::nullopt;
  if (markers != s.columns.size()) {
    t.fail("Insert value list does not match column list.");
    return std::nullopt;
  }
  return s;
}

}  // namespace

char foldCase(char c) {
  const auto b = static_cast<unsigned char>(c);
  // A-Z, and the capitals of code page 1252: À to Þ but the multiplication
  // sign, Š, Œ, Ž and Ÿ.
  if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7)) return static_cast<char>(b + 0x20);
  if (b == 0x8A || b == 0x8C || b == 0x8E) return static_cast<char>(b + 0x10);
  if (b == 0x9F) return static_cast<char>(0xFF);
  return c;
}

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (foldCase(a[i]) != foldCase(b[i])) return false;
  return true;
}

bool likeMatch(std::string_view text, std::string_view pattern) {
  // Iterative matching with one backtrack point for the last "%".
  std::size_t t = 0, p = 0, starP = std::string_view::npos, starT = 0;
  while (t < text.size()) {
    if (p < pattern.size() && (pattern[p] == '_' || foldCase(pattern[p]) == foldCase(text[t]))) {
      ++t;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '%') {
      starP = p++;
      starT = t;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      t = ++starT;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '%') ++p;
  return p == pattern.size();
}

std::optional<std::string> worksheetOfTable(std::string_view table) {
  if (table.size() < 2 || table.back() != '$') return std::nullopt;
  return std::string(table.substr(0, table.size() - 1));
}

std::optional<SqlStatement> parseSql(std::string_view text, SqlError& error) {
  Tokens t(text, error);
  std::optional<SqlStatement> s;
  if (t.keyword("SELECT"))
    s = parseSelect(t);
  else if (t.keyword("CREATE"))
    s = parseCreate(t);
  else if (t.keyword("INSERT"))
    s = parseInsert(t);
  else
    t.fail("Syntax error: only SELECT, CREATE TABLE and INSERT statements are supported.");
  if (t.failed()) return std::nullopt;
  return s;
}

}  // namespace xlsodbc
