#include "platform/xlsodbc/sql_statement.h"

#include <cctype>

namespace xlsodbc {
namespace {

char lowerByte(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

struct Token {
  enum class Kind { Word, Name, Symbol, End } kind = Kind::End;
  std::string text;  // Name: bracketed, brackets removed; Symbol: one character
};

class Tokens {
 public:
  Tokens(std::string_view text, SqlError& error) : text_(text), error_(error) { advance(); }

  const Token& peek() const { return current_; }
  Token take() {
    Token t = current_;
    advance();
    return t;
  }
  bool failed() const { return failed_; }

  bool keyword(std::string_view word) {
    if (current_.kind == Token::Kind::Word && sameName(current_.text, word)) {
      advance();
      return true;
    }
    return false;
  }
  bool symbol(char c) {
    if (current_.kind == Token::Kind::Symbol && current_.text[0] == c) {
      advance();
      return true;
    }
    return false;
  }
  bool expectKeyword(std::string_view word) {
    if (keyword(word)) return true;
    return fail("Syntax error: " + std::string(word) + " expected" + near());
  }
  bool expectSymbol(char c) {
    if (symbol(c)) return true;
    return fail(std::string("Syntax error: \"") + c + "\" expected" + near());
  }
  // A plain or bracketed name.
  std::optional<std::string> name() {
    if (current_.kind == Token::Kind::Word || current_.kind == Token::Kind::Name) {
      std::string s = take().text;
      if (!s.empty()) return s;
    }
    fail("Syntax error: a name expected" + near());
    return std::nullopt;
  }
  bool fail(std::string message) {
    if (!failed_) {
      failed_ = true;
      error_.state = "42000";
      error_.message = std::move(message);
    }
    return false;
  }
  std::string near() const {
    if (current_.kind == Token::Kind::End) return " at the end of the statement.";
    return " near \"" + current_.text + "\".";
  }

 private:
  void advance() {
    while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) ++at_;
    current_ = {};
    if (at_ >= text_.size()) return;
    const char c = text_[at_];
    if (c == '[' || c == '`') {
      const char close = c == '[' ? ']' : '`';
      const std::size_t end = text_.find(close, at_ + 1);
      if (end == std::string_view::npos) {
        fail(std::string("Syntax error: a name without its closing \"") + close + "\".");
        at_ = text_.size();
        return;
      }
      current_ = {Token::Kind::Name, std::string(text_.substr(at_ + 1, end - at_ - 1))};
      at_ = end + 1;
      return;
    }
    if (std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' || static_cast<unsigned char>(c) >= 0x80) {
      std::size_t end = at_;
      while (end < text_.size() && (std::isalnum(static_cast<unsigned char>(text_[end])) || text_[end] == '_' ||
                                    text_[end] == '$' || static_cast<unsigned char>(text_[end]) >= 0x80))
        ++end;
      current_ = {Token::Kind::Word, std::string(text_.substr(at_, end - at_))};
      at_ = end;
      return;
    }
    current_ = {Token::Kind::Symbol, std::string(1, c)};
    ++at_;
  }

  std::string_view text_;
  std::size_t at_ = 0;
  Token current_;
  SqlError& error_;
  bool failed_ = false;
};

bool atEnd(Tokens& t) {
  if (t.peek().kind == Token::Kind::End) return true;
  if (t.peek().kind == Token::Kind::Word &&
      (sameName(t.peek().text, "WHERE") || sameName(t.peek().text, "ORDER") || sameName(t.peek().text, "GROUP")))
    return t.fail("Only plain column lists can be read: WHERE, ORDER BY and GROUP BY clauses are not supported.");
  return t.fail("Syntax error: unexpected text" + t.near());
}

std::optional<SqlStatement> parseSelect(Tokens& t) {
  SqlStatement s;
  if (t.keyword("COUNT")) {
    if (!t.expectSymbol('(') || !t.expectSymbol('*') || !t.expectSymbol(')')) return std::nullopt;
    s.kind = SqlStatement::Kind::Count;
  } else {
    s.kind = SqlStatement::Kind::Select;
    do {
      if (t.peek().kind == Token::Kind::Symbol && t.peek().text == "*") {
        t.fail("Syntax error: name the columns to read; \"*\" is not supported.");
        return std::nullopt;
      }
      auto n = t.name();
      if (!n) return std::nullopt;
      s.columns.push_back(*n);
    } while (t.symbol(','));
  }
  if (!t.expectKeyword("FROM")) return std::nullopt;
  auto table = t.name();
  if (!table) return std::nullopt;
  s.table = *table;
  if (!atEnd(t)) return std::nullopt;
  return s;
}

std::optional<SqlStatement> parseCreate(Tokens& t) {
  SqlStatement s;
  s.kind = SqlStatement::Kind::CreateTable;
  if (!t.expectKeyword("TABLE")) return std::nullopt;
  auto table = t.name();
  if (!table || !t.expectSymbol('(')) return std::nullopt;
  s.table = *table;
  do {
    auto column = t.name();
    if (!column) return std::nullopt;
    if (t.peek().kind != Token::Kind::Word) {
      t.fail("Syntax error: a column type expected" + t.near());
      return std::nullopt;
    }
    s.columns.push_back(*column);
    s.types.push_back(t.take().text);
    if (t.symbol('(')) {  // a length, as in TEXT(255)
      if (t.peek().kind != Token::Kind::Word) {
        t.fail("Syntax error: a length expected" + t.near());
        return std::nullopt;
      }
      t.take();
      if (!t.expectSymbol(')')) return std::nullopt;
    }
  } while (t.symbol(','));
  if (!t.expectSymbol(')') || !atEnd(t)) return std::nullopt;
  return s;
}

std::optional<SqlStatement> parseInsert(Tokens& t) {
  SqlStatement s;
  s.kind = SqlStatement::Kind::Insert;
  if (!t.expectKeyword("INTO")) return std::nullopt;
  auto table = t.name();
  if (!table || !t.expectSymbol('(')) return std::nullopt;
  s.table = *table;
  do {
    auto column = t.name();
    if (!column) return std::nullopt;
    s.columns.push_back(*column);
  } while (t.symbol(','));
  if (!t.expectSymbol(')') || !t.expectKeyword("VALUES") || !t.expectSymbol('(')) return std::nullopt;
  std::size_t markers = 0;
  do {
    if (!t.symbol('?')) {
      t.fail("Only parameter markers (?) can be inserted" + t.near());
      return std::nullopt;
    }
    ++markers;
  } while (t.symbol(','));
  if (!t.expectSymbol(')') || !atEnd(t)) return std::nullopt;
  if (markers != s.columns.size()) {
    t.fail("Insert value list does not match column list.");
    return std::nullopt;
  }
  return s;
}

}  // namespace

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lowerByte(a[i]) != lowerByte(b[i])) return false;
  return true;
}

bool likeMatch(std::string_view text, std::string_view pattern) {
  // Iterative matching with one backtrack point for the last "%".
  std::size_t t = 0, p = 0, starP = std::string_view::npos, starT = 0;
  while (t < text.size()) {
    if (p < pattern.size() && (pattern[p] == '_' || lowerByte(pattern[p]) == lowerByte(text[t]))) {
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
