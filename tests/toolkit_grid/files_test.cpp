// The comma-separated grid file written and read back, and the HTML page.
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>

#include "grid_fixture.h"
#include "support/write_failure.h"
#include "toolkit/grid/grid_files.h"
#include "toolkit/grid/grid_storage.h"

namespace grid_test {
namespace {

std::string readFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const std::string& name, const std::string& bytes) {
  std::ofstream(name, std::ios::binary) << bytes;
}

class GridFiles : public GridTest {
 protected:
  const std::string file = "grid_file_test.csv";
  const std::string page = "grid_file_test.html";
  void TearDown() override {
    std::remove(file.c_str());
    std::remove(page.c_str());
    GridTest::TearDown();
  }
  int checked(int row, int column = 2) {
    int state = -1;
    WGridGetCellCheckBox(0, column, row, state);
    return state;
  }
  int option(int column, int row) {
    int value = -1;
    WGridGetCellMenu(0, column, row, value);
    return value;
  }
};

TEST_F(GridFiles, TextAndCheckBoxRoundTrip) {
  define({kGridString, kGridCheckBox}, 2);
  putText(1, 1, "a,b");
  WGridPutCellCheckBox(0, 2, 1, 1);
  putText(1, 2, "x\"y\"");
  WGridSave(0, file);
  EXPECT_EQ(readFile(file), "\"a,b\",Yes\r\n\"x\"\"y\"\"\",No\r\n");
  YYGridResetModel(grid, 0);
  WGridLoad(0, file);
  EXPECT_EQ(lastError(), 0);
  EXPECT_EQ(text(1, 1), "a,b");
  EXPECT_EQ(text(1, 2), "x\"y\"");
  EXPECT_EQ(checked(1), 1);
  EXPECT_EQ(checked(2), 0);
}

TEST_F(GridFiles, NumbersMenusAndBlanksRoundTrip) {
  define({kGridInteger, kGridReal, kGridDouble, kGridMenu}, 3);
  grid.columnList[3].menuItems = {"Say \"hi\"", "East"};
  WGridPutCellInteger(0, 1, 1, -42);
  WGridPutCellReal(0, 2, 1, 2.5f, "(F6.2)");
  WGridPutCellDouble(0, 3, 2, 1.0e-7);
  WGridPutCellOption(0, 4, 1, 1);
  WGridPutCellOption(0, 4, 3, 2);
  WGridSave(0, file);
  const std::string written = readFile(file);
  EXPECT_EQ(written.substr(0, written.find('\n') + 1), "-42,2.50,,\"Say \"\"hi\"\"\"\r\n");
  YYGridResetModel(grid, 0);
  WGridLoad(0, file);
  EXPECT_EQ(lastError(), 0);
  WGridSave(0, file);
  EXPECT_EQ(readFile(file), written);
  EXPECT_EQ(option(4, 3), 2);
  double value = 0.0;
  WGridGetCellDouble(0, 3, 2, value);
  EXPECT_NEAR(value, 1.0e-7, 1.0e-12);  // five significant digits
  EXPECT_EQ(text(1, 2), "");  // a blank stays blank
  EXPECT_EQ(text(3, 1), "");
}

TEST_F(GridFiles, LoadCases) {
  define({kGridString, kGridCheckBox, kGridMenu}, 3);
  grid.columnList[2].menuItems = {"South", "East"};
  struct Case {
    const char* name;
    std::string bytes;
    std::string text1;
    int check1;
    std::string text2;
    int error;
  };
  const Case cases[] = {
      {"checks yes in any case", "a,yes\r\nb,YES\r\n", "a", 1, "b", 0},
      {"other words uncheck", "a,1\r\nb,True\r\n", "a", 0, "b", 0},
      {"an unquoted field with quotes loses its ends", "ab\"c\"d,No\n", "b\"c\"", 0, "", 0},
      {"doubled quotes turn into one", "\"a\"\"b\",Yes\n", "a\"b", 1, "", 0},
      {"a CR inside a field stays", "a\rb,No\r\n", "a\rb", 0, "", 0},
      {"a line break in a text ends the row", "\"one\ntwo\",Yes\r\n", "on", 0, "wo\",Ye", 0},
      {"leading blanks stay, trailing ones go", "  x  ,Yes\n", "  x", 1, "", 0},
      {"a last line without LF is lost", "a,Yes\nb,Yes", "a", 1, "", 0},
      {"a menu text matched without case", "a,No,east\n", "a", 0, "", 0},
      {"a menu text without option", "a,No,West\n", "a", 0, "", 1055},
      {"an empty menu field without an empty option", "a,No,\n", "a", 0, "", 1055},
      {"more rows than the grid", "a\nb\nc\nd\n", "a", 0, "b", 1054},
      {"more fields than columns", "a,No,East,extra\nb\n", "a", 0, "b", 1054},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (int row = 1; row <= 3; ++row) {
      putText(1, row, "old");
      WGridPutCellCheckBox(0, 2, row, 1);
      WGridPutCellOption(0, 3, row, 2);
    }
    lastError();
    writeFile(file, c.bytes);
    WGridLoad(0, file);
    EXPECT_EQ(lastError(), c.error);
    EXPECT_EQ(text(1, 1), c.text1);
    EXPECT_EQ(checked(1), c.check1);
    EXPECT_EQ(text(1, 2), c.text2);
  }
}

TEST_F(GridFiles, ShortFilesClearTheRestMenusToTheirFirstOption) {
  define({kGridString, kGridCheckBox, kGridMenu}, 3);
  grid.columnList[2].menuItems = {"South", "East"};
  for (int row = 1; row <= 3; ++row) {
    putText(1, row, "old");
    WGridPutCellCheckBox(0, 2, row, 1);
    WGridPutCellOption(0, 3, row, 2);
  }
  writeFile(file, "a\r\n");
  WGridLoad(0, file);
  EXPECT_EQ(text(1, 1), "a");
  EXPECT_EQ(checked(1), 0);
  EXPECT_EQ(option(3, 1), 2);  // a short row keeps its menu selections
  EXPECT_EQ(text(1, 2), "");
  EXPECT_EQ(checked(2), 0);
  EXPECT_EQ(option(3, 2), 1);  // the rows below: first option
  writeFile(file, "");
  WGridLoad(0, file);
  EXPECT_EQ(text(1, 1), "");
}

TEST_F(GridFiles, ModeOneGrowsUpToTheCapacity) {
  define({kGridString}, 1, 3);
  writeFile(file, "a\nb\n");
  WGridLoad(0, file, 1);
  EXPECT_EQ(grid.rows, 2);
  EXPECT_EQ(text(1, 2), "b");
  EXPECT_EQ(lastError(), 0);
  writeFile(file, "a\nb\nc\nd\n");
  WGridLoad(0, file, 1);
  EXPECT_EQ(grid.rows, 3);
  EXPECT_EQ(text(1, 3), "c");
  EXPECT_EQ(lastError(), 1054);
  writeFile(file, "a\nb\nc\nd\n");
  grid.rows = 1;
  WGridLoad(0, file);
  EXPECT_EQ(grid.rows, 1);
  EXPECT_EQ(lastError(), 1054);
}

TEST_F(GridFiles, AnOverlongFieldEndsTheLoad) {
  define({kGridString}, 2);
  writeFile(file, "\"" + std::string(70000, 'q') + "\nshort\n");
  WGridLoad(0, file);
  EXPECT_EQ(lastError(), 1054);
  EXPECT_EQ(text(1, 1), "");
}

TEST_F(GridFiles, BlocksAndMissingFiles) {
  define({kGridString, kGridString}, 3);
  putText(1, 2, "b1");
  putText(2, 2, "b2");
  WGridSave(0, file, {2, 9, 2, 2});
  EXPECT_EQ(readFile(file), "\"b2\"\r\n");
  WGridSave(0, file, {1, 0, std::nullopt, std::nullopt});
  EXPECT_EQ(readFile(file), "");
  WGridLoad(0, "no_such_folder\\grid.csv");
  EXPECT_EQ(lastError(), 1);
  EXPECT_EQ(text(1, 2), "b1");
  WGridSave(5, file);
  EXPECT_EQ(lastError(), 1005);
}

// A save that fails part way, or cannot begin, leaves the earlier file whole
// and nothing else in its folder.
TEST_F(GridFiles, AFailedSaveKeepsTheEarlierFile) {
  define({kGridString, kGridCheckBox}, 400);
  for (int row = 1; row <= 400; ++row) putText(1, row, "row " + std::to_string(row));
  struct Case {
    const char* name;
    void (*save)(const std::string& target);
  };
  const Case cases[] = {
      {"text", [](const std::string& target) { WGridSave(0, target); }},
      {"html", [](const std::string& target) { WGridSaveHTML(0, target); }},
  };
  const std::string folder = "grid_save_failure";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto prepare = [&] { return write_failure::earlierFileIn(folder, "grid.out", "earlier"); };
    auto save = [&] { c.save(folder + "\\grid.out"); };
    auto check = [&](int error) {
      return [&, error](const std::string& target) {
        EXPECT_EQ(lastError(), error);
        EXPECT_EQ(readFile(target), "earlier");
        EXPECT_EQ(write_failure::namesIn(folder), std::vector<std::string>{"grid.out"});
      };
    };
    write_failure::saveOntoFullDisk(prepare, save, check(2));
    write_failure::saveOntoRefusedTargets(prepare, save, check(1));
    // Without a failure the new content replaces the earlier.
    const std::string target = prepare();
    save();
    EXPECT_EQ(lastError(), 0);
    EXPECT_NE(readFile(target).find("row 400"), std::string::npos);
  }
}

TEST(QuoteDoubling, IsBoundedByTheField) {
  std::string field = "a\"b   ";
  YYDoubleQuotes(TextField(field.data(), static_cast<int>(field.size())));
  EXPECT_EQ(field, "a\"\"b  ");
  std::string full = "\"\"\"";
  YYDoubleQuotes(TextField(full.data(), 3));
  EXPECT_EQ(full, "\"\"\"");  // cut at the field's end, nothing written beyond
  std::string pairs = "a\"\"\"\"\"b  ";
  YYUndoubleQuotes(TextField(pairs.data(), static_cast<int>(pairs.size())));
  EXPECT_EQ(pairs, "a\"\"\"b    ");
}

class GridHtml : public GridFiles {
 protected:
  std::string html(const GridBlock& block, const GridHtmlOptions& options) {
    WGridSaveHTML(0, page, block, options);
    return readFile(page);
  }
  static std::string lines(std::initializer_list<const char*> list) {
    std::string out;
    for (const char* line : list) out += std::string(line) + "\r\n";
    return out;
  }
};

TEST_F(GridHtml, PagePerOption) {
  define({kGridString, kGridCheckBox}, 1);
  putText(1, 1, "x");
  WGridPutCellCheckBox(0, 2, 1, 1);
  const std::string row = lines({"<tr>", "<td align=left>", "x", "</td>", "<td align=center>",
                                 "<font face=\"Symbol\">&middot;</font>", "</td>", "</tr>"});
  EXPECT_EQ(html({}, {}), lines({"<html>", "<head>", "</head>", "<body>", "<table border=0 cellpadding=5>"}) + row +
                              lines({"</table>", "</body>", "</html>"}));
  GridHtmlOptions fragment;
  fragment.options = kHtmlTableOnly | kHtmlCentred | kHtmlCheckLetters;
  fragment.title = "Points  ";
  fragment.border = 2;
  EXPECT_EQ(html({}, fragment),
            lines({"<center>", "<h2>Points</h2>", "<table border=2 cellpadding=5>", "<tr>", "<td align=left>", "x",
                   "</td>", "<td align=center>", "Y", "</td>", "</tr>", "</table>", "</center>"}));
  GridHtmlOptions titled;
  titled.title = "   ";
  titled.pageColour = 255;
  titled.border = -3;
  EXPECT_EQ(html({1, 0, std::nullopt, std::nullopt}, titled),
            lines({"<html>", "<head>", "<title></title>", "</head>", "<body bgcolor=#ff0000>",
                   "<table border=0 cellpadding=5>", "<tr>", "</tr>", "</table>", "</body>", "</html>"}));
}

TEST_F(GridHtml, ColoursHeadingsAndLabels) {
  define({kGridInteger, kGridMenu}, 2);
  grid.style = kGridHeadingStyle | kGridRowLabelStyle;
  grid.columnList[0].title = "Count";
  grid.columnList[0].alignment = 2;
  grid.columnList[1].title = "Way";
  grid.columnList[1].menuItems = {"South"};
  WGridLabelRow(0, 1, "first");
  WGridPutCellInteger(0, 1, 1, 7);
  WGridPutCellOption(0, 2, 1, 1);
  WGridPutCellOption(0, 2, 2, 0);
  YYGridSetCellColour(grid, 0, 0, {255, 0, 16}, {0, 128, 255});
  GridHtmlOptions tableOnly;
  tableOnly.options = kHtmlTableOnly;
  const std::string expected =
      lines({"<table border=0 cellpadding=5>", "<tr>", "<td></td>", "<td align=center>", "Count", "</td>",
             "<td align=center>", "Way", "</td>", "</tr>", "<tr>", "<td align=left>", "first", "</td>",
             "<td align=right bgcolor=#0080ff>", "<font color=#ff0010>", "7", "</font>", "</td>", "<td align=left>",
             "South", "</td>", "</tr>", "<tr>", "<td align=left>", "", "</td>", "<td align=right>", "", "</td>",
             "<td align=left>", " ", "</td>", "</tr>", "</table>"});
  EXPECT_EQ(html({}, tableOnly), expected);
  tableOnly.options |= kHtmlNoColours;
  EXPECT_EQ(html({}, tableOnly).find("color"), std::string::npos);
  WGridSaveHTML(0, "no_such_folder\\page.html");
  EXPECT_EQ(lastError(), 1);
}

}  // namespace
}  // namespace grid_test
