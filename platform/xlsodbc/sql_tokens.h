#pragma once
// The words, names, literals and symbols of an SQL text, one at a time, for the
// statement parser and the parser of row conditions and sort orders.  A failure
// is kept as the statement's error, naming the text where reading stopped.

#include <string>
#include <string_view>

namespace xlsodbc {

struct SqlError {
  const char* state = "42000";
  std::string message;
};

struct Token {
  enum class Kind {
    Word,    // a keyword or a plain name
    Name,    // a name in [brackets] or `backquotes`, without them
    Number,  // digits with an optional fraction and exponent
    Text,    // a 'text', its doubled quotes made single
    Date,    // a #date#, without the #
    Symbol,  // one of ( ) , * ? = < > <= >= <> + - and any other single character
    End
  };
  Kind kind = Kind::End;
  std::string text;
  std::size_t at = 0;  // where the token starts in the statement
};

class Tokens {
 public:
  Tokens(std::string_view text, SqlError& error);

  const Token& peek() const { return current_; }
  Token take();
  bool failed() const { return failed_; }

  // Takes the current token when it is that keyword (in any case) or symbol.
  bool keyword(std::string_view word);
  bool symbol(std::string_view symbol);
  bool isKeyword(std::string_view word) const;
  bool isSymbol(std::string_view symbol) const;

  // The same, failing with "<what> expected" when the token is another.
  bool expectKeyword(std::string_view word);
  bool expectSymbol(std::string_view symbol);

  // Fails the statement, once: the first failure is the one reported.
  bool fail(std::string message);
  // " near "<the statement from the current token on>"." or " at the end of
  // the statement.", to follow a failure's description.
  std::string location() const;

 private:
  void advance();

  std::string_view text_;
  std::size_t at_ = 0;
  Token current_;
  SqlError& error_;
  bool failed_ = false;
};

}  // namespace xlsodbc
