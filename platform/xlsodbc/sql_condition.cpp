#include "platform/xlsodbc/sql_condition.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "platform/xlsodbc/sql_statement.h"

namespace xlsodbc {
namespace {

// Parentheses and NOTs nest at most this deep: a statement of 20480 characters
// could nest thousands deep, more than the stack holds.
constexpr int kMaxNesting = 64;

// Words that are part of the clauses, never a column's plain name.
constexpr std::string_view kReservedWords[] = {"AND", "OR",    "NOT",  "LIKE",  "BETWEEN", "IN",   "IS",
                                               "NULL", "ORDER", "BY",  "ASC",   "DESC",    "WHERE", "SELECT",
                                               "FROM", "GROUP", "HAVING"};

constexpr struct {
  std::string_view symbol;
  Comparison comparison;
} kComparisons[] = {{"=", Comparison::Equal},        {"<>", Comparison::NotEqual},
                    {"<", Comparison::Less},         {"<=", Comparison::LessOrEqual},
                    {">", Comparison::Greater},      {">=", Comparison::GreaterOrEqual}};

// The 1904 date system counts its days from 1 January 1904, day 1462 of the 1900 system.
constexpr double k1904Offset = 1462;

bool isReserved(const Token& t) {
  return t.kind == Token::Kind::Word &&
         std::any_of(std::begin(kReservedWords), std::end(kReservedWords),
                     [&](std::string_view w) { return sameName(t.text, w); });
}

bool isNumeric(const Value& v) {
  return v.kind == Value::Kind::Number || v.kind == Value::Kind::Date || v.kind == Value::Kind::Boolean;
}

// Dates compare to the second, so that a date written as #...# equals the cell
// that shows the same date and time whatever rounding its serial carries.
int compareNumbers(const Value& a, const Value& b) {
  const bool seconds = a.kind == Value::Kind::Date || b.kind == Value::Kind::Date;
  const double x = seconds ? std::round(a.number * 86400.0) : a.number;
  const double y = seconds ? std::round(b.number * 86400.0) : b.number;
  return x < y ? -1 : x > y ? 1 : 0;
}

int compareTexts(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(foldCase(a[i])), y = static_cast<unsigned char>(foldCase(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

// "yyyy-mm-dd" or "mm/dd/yyyy", either with "hh:mm" or "hh:mm:ss" after a blank.
std::optional<DateTime> readDate(std::string_view text) {
  DateTime t;
  const char* at = text.data();
  const char* end = text.data() + text.size();
  const auto number = [&](int& into, std::size_t fewest, std::size_t most) {
    const char* from = at;
    const auto [stop, ec] = std::from_chars(at, end, into);
    if (ec != std::errc() || static_cast<std::size_t>(stop - from) < fewest ||
        static_cast<std::size_t>(stop - from) > most)
      return false;
    at = stop;
    return true;
  };
  const auto separator = [&](char c) {
    if (at == end || *at != c) return false;
    ++at;
    return true;
  };
  while (at != end && *at == ' ') ++at;
  int first = 0;
  if (!number(first, 1, 4)) return std::nullopt;
  if (separator('-')) {
    t.year = first;
    if (!number(t.month, 1, 2) || !separator('-') || !number(t.day, 1, 2)) return std::nullopt;
  } else if (separator('/')) {
    t.month = first;
    if (!number(t.day, 1, 2) || !separator('/') || !number(t.year, 4, 4)) return std::nullopt;
  } else {
    return std::nullopt;
  }
  if (at != end && *at == ' ') {
    while (at != end && *at == ' ') ++at;
    if (at != end) {
      if (!number(t.hour, 1, 2) || !separator(':') || !number(t.minute, 1, 2)) return std::nullopt;
      if (separator(':') && !number(t.second, 1, 2)) return std::nullopt;
    }
  }
  while (at != end && *at == ' ') ++at;
  if (at != end) return std::nullopt;
  return t;
}

Condition ofKind(Condition::Kind kind) {
  Condition c;
  c.kind = kind;
  return c;
}

// Reads a condition by descending through its grammar, loosest binding first:
//   condition := allOf { OR allOf }
//   allOf     := negation { AND negation }
//   negation  := NOT negation | predicate
//   predicate := ( condition )
//              | operand IS [NOT] NULL
//              | operand [NOT] LIKE operand
//              | operand [NOT] BETWEEN operand AND operand
//              | operand [NOT] IN ( operand { , operand } )
//              | operand ( = | <> | < | <= | > | >= ) operand
//   operand   := column | [column] | number | + number | - number | 'text' | #date#
// AND and OR gather all their parts into one node, so that a long chain does
// not make a deep tree.
class ConditionParser {
 public:
  explicit ConditionParser(Tokens& tokens) : t_(tokens) {}

  std::optional<Condition> anyOf() { return joined("OR", Condition::Kind::Any, &ConditionParser::allOf); }

 private:
  std::optional<Operand> operand() {
    const Token& token = t_.peek();
    Operand o;
    switch (token.kind) {
      case Token::Kind::Name:
        if (token.text.empty()) break;
        o.column = t_.take().text;
        return o;
      case Token::Kind::Word:
        if (isReserved(token)) break;
        o.column = t_.take().text;
        return o;
      case Token::Kind::Text:
        o.value = Value::ofText(t_.take().text);
        return o;
      case Token::Kind::Number:
        return number(1);
      case Token::Kind::Date: {
        const auto when = readDate(token.text);
        const auto serial = when ? toSerial(*when, false) : std::nullopt;
        if (!serial) {
          fail("#" + token.text + "# is not a date");
          return std::nullopt;
        }
        t_.take();
        o.date = *serial;
        return o;
      }
      case Token::Kind::Symbol:
        if (token.text == "-" || token.text == "+") {
          const bool minus = token.text == "-";
          t_.take();
          if (t_.peek().kind == Token::Kind::Number) return number(minus ? -1 : 1);
          fail("a number expected");
          return std::nullopt;
        }
        break;
      default:
        break;
    }
    fail("a column or a value expected");
    return std::nullopt;
  }

  std::optional<Condition> allOf() { return joined("AND", Condition::Kind::All, &ConditionParser::negation); }

  // One part, or two or more joined by the keyword into one node of the kind.
  std::optional<Condition> joined(std::string_view keyword, Condition::Kind kind,
                                  std::optional<Condition> (ConditionParser::*part)()) {
    auto first = (this->*part)();
    if (!first || !t_.isKeyword(keyword)) return first;
    Condition group = ofKind(kind);
    group.parts.push_back(std::move(*first));
    while (t_.keyword(keyword)) {
      auto next = (this->*part)();
      if (!next) return std::nullopt;
      group.parts.push_back(std::move(*next));
    }
    return group;
  }

  std::optional<Condition> negation() {
    if (!t_.isKeyword("NOT")) return predicate();
    if (!deeper()) return std::nullopt;
    t_.take();
    auto inner = negation();
    --depth_;
    if (!inner) return std::nullopt;
    Condition c = ofKind(Condition::Kind::Not);
    c.parts.push_back(std::move(*inner));
    return c;
  }

  std::optional<Condition> predicate() {
    if (t_.isSymbol("(")) {
      if (!deeper()) return std::nullopt;
      t_.take();
      auto inner = anyOf();
      --depth_;
      if (!inner) return std::nullopt;
      if (!t_.symbol(")")) {
        fail("\")\" expected");
        return std::nullopt;
      }
      return inner;
    }
    Condition c;
    auto tested = operand();
    if (!tested) return std::nullopt;
    c.operands.push_back(std::move(*tested));
    if (t_.keyword("IS")) {
      c.kind = Condition::Kind::IsNull;
      c.negated = t_.keyword("NOT");
      if (!t_.keyword("NULL")) {
        fail("NULL expected");
        return std::nullopt;
      }
      return c;
    }
    c.negated = t_.keyword("NOT");
    if (t_.keyword("LIKE")) {
      c.kind = Condition::Kind::Like;
      if (!addOperand(c)) return std::nullopt;
      return c;
    }
    if (t_.keyword("BETWEEN")) {
      c.kind = Condition::Kind::Between;
      if (!addOperand(c)) return std::nullopt;
      if (!t_.keyword("AND")) {
        fail("AND expected");
        return std::nullopt;
      }
      if (!addOperand(c)) return std::nullopt;
      return c;
    }
    if (t_.keyword("IN")) {
      c.kind = Condition::Kind::In;
      if (!t_.symbol("(")) {
        fail("\"(\" expected");
        return std::nullopt;
      }
      do {
        if (!addOperand(c)) return std::nullopt;
      } while (t_.symbol(","));
      if (!t_.symbol(")")) {
        fail("\",\" or \")\" expected");
        return std::nullopt;
      }
      return c;
    }
    if (c.negated) {
      fail("LIKE, BETWEEN or IN expected");
      return std::nullopt;
    }
    for (const auto& k : kComparisons) {
      if (t_.symbol(k.symbol)) {
        c.kind = Condition::Kind::Compare;
        c.comparison = k.comparison;
        if (!addOperand(c)) return std::nullopt;
        return c;
      }
    }
    fail("a comparison (=, <>, <, <=, >, >=), LIKE, BETWEEN, IN or IS expected");
    return std::nullopt;
  }

  bool addOperand(Condition& c) {
    auto o = operand();
    if (o) c.operands.push_back(std::move(*o));
    return o.has_value();
  }

  std::optional<Operand> number(int sign) {
    const Token token = t_.peek();
    double d = 0;
    const auto [end, ec] = std::from_chars(token.text.data(), token.text.data() + token.text.size(), d);
    if (ec != std::errc() || end != token.text.data() + token.text.size() || !std::isfinite(d)) {
      fail("not a number");
      return std::nullopt;
    }
    t_.take();
    Operand o;
    o.value = Value::ofNumber(sign * d);
    return o;
  }

  bool deeper() {
    if (++depth_ <= kMaxNesting) return true;
    fail("parentheses and NOT nested more than " + std::to_string(kMaxNesting) + " deep");
    return false;
  }

  void fail(const std::string& what) { t_.fail("Syntax error in the WHERE clause: " + what + t_.location()); }

  Tokens& t_;
  int depth_ = 0;
};

bool bindOperand(Operand& o, std::span<const std::string> columns, bool date1904, const char* clause,
                 SqlError& error) {
  if (o.date) {
    o.value.kind = Value::Kind::Date;
    o.value.number = *o.date - (date1904 ? k1904Offset : 0);
  }
  if (o.column.empty()) return true;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (sameName(columns[i], o.column)) {
      o.index = static_cast<int>(i);
      return true;
    }
  }
  error.state = "42S22";
  error.message = "The column \"" + o.column + "\" of the " + clause + " clause does not exist.";
  return false;
}

const Value& valueOf(const Operand& o, std::span<const Value> row) {
  return o.index >= 0 ? row[static_cast<std::size_t>(o.index)] : o.value;
}

Truth truthOf(bool b) { return b ? Truth::True : Truth::False; }

Truth negate(Truth t) { return t == Truth::Unknown ? t : truthOf(t == Truth::False); }

Truth compare(const Value& a, Comparison how, const Value& b) {
  const auto order = compareValues(a, b);
  if (!order) return Truth::Unknown;
  switch (how) {
    case Comparison::Equal: return truthOf(*order == 0);
    case Comparison::NotEqual: return truthOf(*order != 0);
    case Comparison::Less: return truthOf(*order < 0);
    case Comparison::LessOrEqual: return truthOf(*order <= 0);
    case Comparison::Greater: return truthOf(*order > 0);
    case Comparison::GreaterOrEqual: return truthOf(*order >= 0);
  }
  return Truth::Unknown;
}

// AND of the parts when `all`, OR when not: a deciding part settles it, and
// otherwise any unknown part leaves it unknown.
Truth combine(const std::vector<Condition>& parts, bool all, std::span<const Value> row, bool date1904) {
  const Truth deciding = all ? Truth::False : Truth::True;
  bool unknown = false;
  for (const auto& part : parts) {
    const Truth t = evaluate(part, row, date1904);
    if (t == deciding) return deciding;
    unknown = unknown || t == Truth::Unknown;
  }
  return unknown ? Truth::Unknown : negate(deciding);
}

}  // namespace

std::optional<Condition> parseCondition(Tokens& tokens) { return ConditionParser(tokens).anyOf(); }

std::optional<std::vector<SortKey>> parseSortKeys(Tokens& tokens) {
  std::vector<SortKey> keys;
  do {
    const Token& token = tokens.peek();
    if ((token.kind != Token::Kind::Word && token.kind != Token::Kind::Name) || token.text.empty() ||
        isReserved(token)) {
      tokens.fail("Syntax error in the ORDER BY clause: a column name expected" + tokens.location());
      return std::nullopt;
    }
    SortKey key;
    key.column.column = tokens.take().text;
    if (!tokens.keyword("ASC")) key.descending = tokens.keyword("DESC");
    keys.push_back(std::move(key));
  } while (tokens.symbol(","));
  return keys;
}

bool bindCondition(Condition& condition, std::span<const std::string> columns, bool date1904, SqlError& error) {
  for (auto& o : condition.operands)
    if (!bindOperand(o, columns, date1904, "WHERE", error)) return false;
  for (auto& part : condition.parts)
    if (!bindCondition(part, columns, date1904, error)) return false;
  return true;
}

bool bindSortKeys(std::vector<SortKey>& keys, std::span<const std::string> columns, SqlError& error) {
  for (auto& key : keys)
    if (!bindOperand(key.column, columns, false, "ORDER BY", error)) return false;
  return true;
}

void columnsRead(const Condition& condition, std::vector<bool>& read) {
  for (const auto& o : condition.operands)
    if (o.index >= 0 && static_cast<std::size_t>(o.index) < read.size()) read[static_cast<std::size_t>(o.index)] = true;
  for (const auto& part : condition.parts) columnsRead(part, read);
}

Truth evaluate(const Condition& c, std::span<const Value> row, bool date1904) {
  switch (c.kind) {
    case Condition::Kind::All: return combine(c.parts, true, row, date1904);
    case Condition::Kind::Any: return combine(c.parts, false, row, date1904);
    case Condition::Kind::Not: return negate(evaluate(c.parts.front(), row, date1904));
    case Condition::Kind::Compare:
      return compare(valueOf(c.operands[0], row), c.comparison, valueOf(c.operands[1], row));
    case Condition::Kind::IsNull:
      return truthOf((valueOf(c.operands[0], row).kind == Value::Kind::Null) != c.negated);
    default:
      break;
  }
  const Value& tested = valueOf(c.operands[0], row);
  Truth t = Truth::Unknown;
  if (c.kind == Condition::Kind::Like) {
    const Value& pattern = valueOf(c.operands[1], row);
    if (tested.kind != Value::Kind::Null && pattern.kind != Value::Kind::Null)
      t = truthOf(likeMatch(textOf(tested, date1904), textOf(pattern, date1904)));
  } else if (c.kind == Condition::Kind::Between) {
    const Truth low = compare(tested, Comparison::GreaterOrEqual, valueOf(c.operands[1], row));
    const Truth high = compare(tested, Comparison::LessOrEqual, valueOf(c.operands[2], row));
    t = low == Truth::False || high == Truth::False ? Truth::False
        : low == Truth::True && high == Truth::True ? Truth::True
                                                    : Truth::Unknown;
  } else {  // In: equal to one of the list; unknown when no item is equal but one could not be compared
    bool unknown = false;
    t = Truth::False;
    for (std::size_t i = 1; i < c.operands.size() && t != Truth::True; ++i) {
      const Truth equal = compare(tested, Comparison::Equal, valueOf(c.operands[i], row));
      if (equal == Truth::True) t = Truth::True;
      unknown = unknown || equal == Truth::Unknown;
    }
    if (t == Truth::False && unknown) t = Truth::Unknown;
  }
  return c.negated ? negate(t) : t;
}

std::optional<int> compareValues(const Value& a, const Value& b) {
  using Kind = Value::Kind;
  if (a.kind == Kind::Null || b.kind == Kind::Null) return std::nullopt;
  if (a.kind == Kind::Text && b.kind == Kind::Text) return compareTexts(a.text, b.text);
  if (isNumeric(a) && isNumeric(b)) return compareNumbers(a, b);
  // A text meets a number: compared as numbers when the text reads as one.
  const Value& text = a.kind == Kind::Text ? a : b;
  const auto number = parseNumber(text.text);
  if (!number) return std::nullopt;
  Value read = Value::ofNumber(*number);
  return a.kind == Kind::Text ? compareNumbers(read, b) : compareNumbers(a, read);
}

int sortOrder(const Value& a, const Value& b) {
  const auto rank = [](const Value& v) { return v.kind == Value::Kind::Null ? 0 : isNumeric(v) ? 1 : 2; };
  const int ra = rank(a), rb = rank(b);
  if (ra != rb) return ra < rb ? -1 : 1;
  if (ra == 0) return 0;
  return ra == 1 ? compareNumbers(a, b) : compareTexts(a.text, b.text);
}

}  // namespace xlsodbc
