#include "platform/xlsodbc/sql_tokens.h"

#include "platform/xlsodbc/sql_statement.h"

namespace xlsodbc {
namespace {

// A failure quotes this much of the statement from where reading stopped.
constexpr std::size_t kQuotedLength = 40;

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isWordByte(char c) {
  const auto b = static_cast<unsigned char>(c);
  return isDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == '$' || b >= 0x80;
}

}  // namespace

Tokens::Tokens(std::string_view text, SqlError& error) : text_(text), error_(error) { advance(); }

Token Tokens::take() {
  Token t = current_;
  advance();
  return t;
}

bool Tokens::isKeyword(std::string_view word) const {
  return current_.kind == Token::Kind::Word && sameName(current_.text, word);
}

bool Tokens::isSymbol(std::string_view symbol) const {
  return current_.kind == Token::Kind::Symbol && current_.text == symbol;
}

bool Tokens::keyword(std::string_view word) {
  if (!isKeyword(word)) return false;
  advance();
  return true;
}

bool Tokens::symbol(std::string_view symbol) {
  if (!isSymbol(symbol)) return false;
  advance();
  return true;
}

bool Tokens::expectKeyword(std::string_view word) {
  if (keyword(word)) return true;
  return fail("Syntax error: " + std::string(word) + " expected" + location());
}

bool Tokens::expectSymbol(std::string_view symbol) {
  if (this->symbol(symbol)) return true;
  return fail("Syntax error: \"" + std::string(symbol) + "\" expected" + location());
}

bool Tokens::fail(std::string message) {
  if (!failed_) {
    failed_ = true;
    error_.state = "42000";
    error_.message = std::move(message);
  }
  return false;
}

std::string Tokens::location() const {
  if (current_.kind == Token::Kind::End) return " at the end of the statement.";
  std::string_view rest = text_.substr(current_.at);
  while (!rest.empty() && isSpace(rest.back())) rest.remove_suffix(1);
  if (rest.size() <= kQuotedLength) return " near \"" + std::string(rest) + "\".";
  return " near \"" + std::string(rest.substr(0, kQuotedLength)) + "...\".";
}

void Tokens::advance() {
  while (at_ < text_.size() && isSpace(text_[at_])) ++at_;
  current_ = {};
  current_.at = at_;
  if (at_ >= text_.size()) return;
  const char c = text_[at_];
  // Reads up to the closing character; false, with the failure, when there is none.
  const auto enclosed = [&](Token::Kind kind, char close, const char* what) {
    const std::size_t end = text_.find(close, at_ + 1);
    if (end == std::string_view::npos) {
      current_.kind = Token::Kind::Symbol;
      current_.text.assign(1, c);
      fail("Syntax error: " + std::string(what) + " without its closing " + close + location());
      current_ = {Token::Kind::End, {}, text_.size()};
      at_ = text_.size();
      return;
    }
    current_.kind = kind;
    current_.text.assign(text_.substr(at_ + 1, end - at_ - 1));
    at_ = end + 1;
  };

  if (c == '[') return enclosed(Token::Kind::Name, ']', "a name");
  if (c == '`') return enclosed(Token::Kind::Name, '`', "a name");
  if (c == '#') return enclosed(Token::Kind::Date, '#', "a date");
  if (c == '\'') {
    // Two quotes in a row stand for one quote in the text.
    std::string text;
    std::size_t i = at_ + 1;
    for (;; ++i) {
      if (i >= text_.size()) {
        current_.kind = Token::Kind::Symbol;
        current_.text = "'";
        fail("Syntax error: a text without its closing quote" + location());
        current_ = {Token::Kind::End, {}, text_.size()};
        at_ = text_.size();
        return;
      }
      if (text_[i] != '\'') {
        text += text_[i];
      } else if (i + 1 < text_.size() && text_[i + 1] == '\'') {
        text += '\'';
        ++i;
      } else {
        break;
      }
    }
    current_.kind = Token::Kind::Text;
    current_.text = std::move(text);
    at_ = i + 1;
    return;
  }
  if (isDigit(c) || (c == '.' && at_ + 1 < text_.size() && isDigit(text_[at_ + 1]))) {
    std::size_t end = at_;
    while (end < text_.size() && isDigit(text_[end])) ++end;
    if (end < text_.size() && text_[end] == '.')
      for (++end; end < text_.size() && isDigit(text_[end]);) ++end;
    if (end < text_.size() && (text_[end] == 'e' || text_[end] == 'E')) {
      std::size_t exponent = end + 1;
      if (exponent < text_.size() && (text_[exponent] == '+' || text_[exponent] == '-')) ++exponent;
      if (exponent < text_.size() && isDigit(text_[exponent])) {
        end = exponent;
        while (end < text_.size() && isDigit(text_[end])) ++end;
      }
    }
    // Digits run on into letters: a plain name such as 2nd, not a number.
    if (end >= text_.size() || !isWordByte(text_[end])) {
      current_.kind = Token::Kind::Number;
      current_.text.assign(text_.substr(at_, end - at_));
      at_ = end;
      return;
    }
  }
  if (isWordByte(c)) {
    std::size_t end = at_;
    while (end < text_.size() && isWordByte(text_[end])) ++end;
    current_.kind = Token::Kind::Word;
    current_.text.assign(text_.substr(at_, end - at_));
    at_ = end;
    return;
  }
  current_.kind = Token::Kind::Symbol;
  const std::string_view two = text_.substr(at_, 2);
  current_.text.assign(two == "<=" || two == ">=" || two == "<>" ? two : text_.substr(at_, 1));
  at_ += current_.text.size();
}

}  // namespace xlsodbc
