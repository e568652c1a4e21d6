#pragma once
// A grid written to and read from a comma-separated text file, and written as
// an HTML page or table.  Blocks are 1-based: first column, last column, first
// row, last row; an absent first is 1, an absent last the grid's count.

#include <windows.h>

#include <optional>
#include <string_view>

#include "toolkit/core/file_replacement.h"
#include "toolkit/core/fixed_text.h"

struct GridBlock {
  std::optional<int> firstColumn;
  std::optional<int> lastColumn;
  std::optional<int> firstRow;
  std::optional<int> lastRow;
};

// Options of the HTML file.
constexpr int kHtmlTableOnly = 1;
constexpr int kHtmlCentred = 2;
constexpr int kHtmlCheckLetters = 4;
constexpr int kHtmlNoColours = 8;

struct GridHtmlOptions {
  int options = 0;
  std::optional<std::string_view> title;
  int border = 0;
  std::optional<int> pageColour;  // 0x00BBGGRR
};

// The savers replace an existing file only with a complete new one.
void WGridSave(int grid, std::string_view fileName, const GridBlock& block = {});
// Mode 1 lets the grid grow up to its rows allocated.
void WGridLoad(int grid, std::string_view fileName, int mode = 0);
void WGridSaveHTML(int grid, std::string_view fileName, const GridBlock& block = {},
                   const GridHtmlOptions& html = {});

// Doubles every double quote up to the text's last non-blank character; what
// no longer fits the field is cut.
void YYDoubleQuotes(TextField text);
// Turns every pair of adjacent double quotes into one (left to right, without
// overlap) up to the last non-blank character; the freed bytes become blanks.
void YYUndoubleQuotes(TextField text);
// Writes the text and CR LF while status is 0; status takes the write's
// failure (the Windows code, -1 when there is none).
void YYGridHtmlLine(FileReplacement& file, std::string_view text, int& status);
