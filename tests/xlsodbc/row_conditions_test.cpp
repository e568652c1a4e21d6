// Row conditions and sort orders as the layer applies them to a small sheet:
// NULL in every kind of test, texts against numbers, dates in both date
// systems, stable orders, and the clauses it cannot read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/xlsodbc/row_selection.h"

namespace {

using xlsodbc::DateTime;

// The sheet "T" (Id, Word, Amount, When):
//   1  apple   3      2007-03-05 14:07:09
//   2  Banana  -      -
//   3  -       -1     2010-01-01
//   4  APPLE   3      2007-03-05 14:07:09
//   -  (a row without cells)
//   6  12      '7.5'  -                    (a number in Word, a text in Amount)
class SmallSheet {
 public:
  explicit SmallSheet(bool date1904) {
    book_.date1904 = date1904;
    xlsbook::addWorksheet(book_, "T", {"Id", "Word", "Amount", "When"});
    xlsbook::Sheet& sheet = book_.sheets.back();
    const DateTime march{2007, 3, 5, 14, 7, 9}, january{2010, 1, 1, 0, 0, 0};
    add(sheet, {number(0, 1), text(1, "apple"), number(2, 3), date(3, march)});
    add(sheet, {number(0, 2), text(1, "Banana")});
    add(sheet, {number(0, 3), number(2, -1), date(3, january)});
    add(sheet, {number(0, 4), text(1, "APPLE"), number(2, 3), date(3, march)});
    add(sheet, {});
    add(sheet, {number(0, 6), number(1, 12), text(2, "7.5")});
  }

  // The Ids of the rows the statement's clauses yield, in their order; 0 for the
  // row without cells.  Empty, with the error, when the clauses are refused.
  std::vector<int> ids(const std::string& clauses, std::string* error = nullptr) {
    xlsodbc::SqlError failure;
    auto statement = xlsodbc::parseSql("SELECT Id FROM [T$] " + clauses, failure);
    std::optional<std::vector<const xlsbook::Row*>> rows;
    if (statement) {
      const xlsbook::Sheet& sheet = book_.sheets.back();
      rows = xlsodbc::selectRows(sheet, xlsodbc::viewOf(sheet), *statement, book_.date1904, failure);
    }
    if (error) *error = failure.message;
    std::vector<int> out;
    if (!rows) return out;
    xlsodbc::Value id;
    for (const xlsbook::Row* cells : *rows) {
      xlsodbc::valueIn(cells, 0, id);
      out.push_back(static_cast<int>(id.number));
    }
    return out;
  }

 private:
  static void add(xlsbook::Sheet& sheet, std::vector<xlsbook::Cell> cells) {
    xlsbook::appendRow(sheet, xlsbook::Row(cells.begin(), cells.end()));
  }
  static xlsbook::Cell number(std::uint16_t column, double value, xlsbook::CellKind kind = xlsbook::CellKind::Number) {
    xlsbook::Cell c;
    c.column = column;
    c.kind = kind;
    c.number = value;
    return c;
  }
  static xlsbook::Cell text(std::uint16_t column, std::string_view value) {
    xlsbook::Cell c;
    c.column = column;
    c.setText(value);
    return c;
  }
  xlsbook::Cell date(std::uint16_t column, const DateTime& when) const {
    return number(column, *xlsodbc::toSerial(when, book_.date1904), xlsbook::CellKind::Date);
  }

  xlsbook::Workbook book_;
};

struct Case {
  const char* clauses;
  std::vector<int> ids;
};

void expectRows(SmallSheet& sheet, const Case& k) {
  std::string error;
  EXPECT_EQ(sheet.ids(k.clauses, &error), k.ids) << k.clauses << " " << error;
}

TEST(RowConditions, EachConditionChoosesItsRows) {
  const Case cases[] = {
      {"", {1, 2, 3, 4, 0, 6}},
      {"WHERE Amount = 3", {1, 4}},
      // NULL matches neither a comparison nor its NOT; the text 7.5 reads as a number.
      {"WHERE NOT Amount = 3", {3, 6}},
      {"WHERE Amount <> 3", {3, 6}},
      {"WHERE Amount > -1.5e0", {1, 3, 4, 6}},
      {"WHERE Word = 'APPLE'", {1, 4}},
      {"WHERE Word = 12", {6}},
      {"WHERE Word = '12'", {6}},
      {"WHERE Word > 'b'", {2}},  // a text that is no number never meets the number 12
      {"WHERE Amount IN (3, 7.5)", {1, 4, 6}},
      // Row 3's number cannot meet 'x': no item equal and one unknown make IN
      // unknown, and its NOT too.  Row 6's text meets 'x' as a text.
      {"WHERE Amount NOT IN (3, 'x')", {6}},
      {"WHERE Amount NOT IN (3)", {3, 6}},
      {"WHERE Amount IS NULL", {2, 0}},
      {"WHERE Word IS NOT NULL AND Amount IS NULL", {2}},
      // False AND unknown is false, so its NOT holds for row 2.
      {"WHERE NOT (Amount > 2 AND Word LIKE 'a%')", {2, 3, 6}},
      {"WHERE Amount > 2 OR Word = 'banana'", {1, 2, 4, 6}},
      {"WHERE Word LIKE '1_'", {6}},
      {"WHERE Word NOT LIKE '%p%'", {2, 6}},
      {"WHERE Amount BETWEEN -1 AND 3", {1, 3, 4}},
      {"WHERE Amount BETWEEN 3 AND -1", {}},
      {"WHERE Amount NOT BETWEEN 0 AND 5", {3, 6}},
      {"WHERE Amount > Id", {1, 6}},
      {"where [amount] >= +3 and word like 'A%'", {1, 4}},
  };
  SmallSheet sheet(false);
  for (const Case& k : cases) expectRows(sheet, k);
}

TEST(RowConditions, DatesMatchInBothDateSystems) {
  const Case cases[] = {
      {"WHERE [When] = #2007-03-05 14:07:09#", {1, 4}},
      {"WHERE [When] = #3/5/2007 14:07:09#", {1, 4}},
      {"WHERE [When] = #2007-03-05 14:07#", {}},
      {"WHERE [When] < #1/1/2010#", {1, 4}},
      {"WHERE [When] BETWEEN #2007-03-05# AND #2010-01-01#", {1, 3, 4}},
      {"WHERE [When] >= #2010-01-01 00:00:00# OR [When] IS NULL", {2, 3, 0, 6}},
  };
  for (bool date1904 : {false, true}) {
    SmallSheet sheet(date1904);
    for (const Case& k : cases) expectRows(sheet, k);
  }
}

TEST(RowConditions, OrdersPutNullFirstAndKeepTiesInSheetOrder) {
  const Case cases[] = {
      {"ORDER BY Amount", {2, 0, 3, 1, 4, 6}},
      {"ORDER BY Amount DESC", {6, 1, 4, 3, 2, 0}},
      // Empty first, then numbers, then texts without regard to case.
      {"ORDER BY Word ASC, Id DESC", {3, 0, 6, 4, 1, 2}},
      {"WHERE Amount IS NOT NULL ORDER BY [When] DESC, Id", {3, 1, 4, 6}},
      {"where amount >= 3 order by id desc", {6, 4, 1}},
  };
  SmallSheet sheet(false);
  for (const Case& k : cases) expectRows(sheet, k);
}

TEST(RowConditions, LongChainsAndDeepNestingWithinTheLimitWork) {
  SmallSheet sheet(false);
  std::string anyOf = "WHERE Id = -1";
  for (int i = 0; i < 1400; ++i) anyOf += " OR Id = " + std::to_string(i % 5 == 0 ? 4 : 1000 + i);
  EXPECT_EQ(sheet.ids(anyOf), (std::vector<int>{4}));
  const std::string nested = "WHERE " + std::string(30, '(') + "NOT NOT Id = 2" + std::string(30, ')');
  EXPECT_EQ(sheet.ids(nested), (std::vector<int>{2}));
}

std::string repeated(std::string_view text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

TEST(RowConditions, ClausesThatCannotBeReadNameWhereReadingStopped) {
  struct Refusal {
    std::string clauses;
    std::string message;
  };
  const Refusal refusals[] = {
      {"WHERE Amount >", "a column or a value expected at the end of the statement."},
      {"WHERE", "a column or a value expected at the end of the statement."},
      {"WHERE Amount => 3", "a column or a value expected near \"> 3\"."},
      {"WHERE Word = 'it''s", "a text without its closing quote near \"'it''s\"."},
      {"WHERE [Amount > 3", "a name without its closing ] near \"[Amount > 3\"."},
      {"WHERE (Amount > 3", "\")\" expected at the end of the statement."},
      {"WHERE Amount BETWEEN 1 3", "AND expected near \"3\"."},
      {"WHERE Amount IN ()", "a column or a value expected near \")\"."},
      {"WHERE Amount IN (1, 2", "\",\" or \")\" expected at the end of the statement."},
      {"WHERE Amount IS 3", "NULL expected near \"3\"."},
      {"WHERE Amount NOT = 3", "LIKE, BETWEEN or IN expected near \"= 3\"."},
      {"WHERE Amount 3", "a comparison (=, <>, <, <=, >, >=), LIKE, BETWEEN, IN or IS expected near \"3\"."},
      {"WHERE Amount > - 'x'", "a number expected near \"'x'\"."},
      {"WHERE Amount > 1e999", "not a number near \"1e999\"."},
      {"WHERE [When] > #2009-13-45#", "#2009-13-45# is not a date near \"#2009-13-45#\"."},
      {"WHERE [When] > #yesterday#", "#yesterday# is not a date"},
      {"WHERE Amount = NULL", "a column or a value expected near \"NULL\"."},
      {"WHERE Amount > 3 Word", "AND, OR, ORDER BY or the end of the statement expected near \"Word\"."},
      {"WHERE Amount > 3 GROUP BY Word", "near \"GROUP BY Word\"."},
      {"Amount > 3", "WHERE, ORDER BY or the end of the statement expected near \"Amount > 3\"."},
      {"WHERE Amount > 3 ORDER Amount", "BY expected near \"Amount\"."},
      {"ORDER BY", "ORDER BY clause: a column name expected at the end of the statement."},
      {"ORDER BY 1", "ORDER BY clause: a column name expected near \"1\"."},
      {"ORDER BY Amount SIDEWAYS", "\",\" or the end of the statement expected near \"SIDEWAYS\"."},
      // Deeper than the stack allows to follow: refused, not a crash.
      {"WHERE " + repeated("(", 10000) + "Id = 1" + repeated(")", 10000), "nested more than 64 deep"},
      {"WHERE " + repeated("NOT ", 4000) + "Id = 1", "nested more than 64 deep"},
      // Read, but naming no column of the table.
      {"WHERE Missing > 3", "The column \"Missing\" of the WHERE clause does not exist."},
      {"ORDER BY Id, [Mis sing]", "The column \"Mis sing\" of the ORDER BY clause does not exist."},
  };
  SmallSheet sheet(false);
  for (const Refusal& k : refusals) {
    std::string error;
    EXPECT_TRUE(sheet.ids(k.clauses, &error).empty()) << k.clauses.substr(0, 80);
    EXPECT_NE(error.find(k.message), std::string::npos) << k.clauses.substr(0, 80) << "\n" << error;
  }
}

TEST(RowConditions, TextsCompareWithoutRegardToCaseInTheCodePage) {
  EXPECT_EQ(xlsodbc::compareValues(xlsodbc::Value::ofText("\xC6R\xD8 \x8A"), xlsodbc::Value::ofText("\xE6r\xF8 \x9A")), 0);
  EXPECT_LT(*xlsodbc::compareValues(xlsodbc::Value::ofText("Zulu"), xlsodbc::Value::ofText("\xE6r\xF8")), 0);
  EXPECT_LT(*xlsodbc::compareValues(xlsodbc::Value::ofText("abc"), xlsodbc::Value::ofText("ABCD")), 0);
  EXPECT_TRUE(xlsodbc::likeMatch("\xC6R\xD8", "\xE6%"));
}

}  // namespace
