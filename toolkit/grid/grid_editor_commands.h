#pragma once
// The grid editor's commands.  Each works on the editor's grid as grid 0 with
// the editor's window made current, asks through dialogs that the program
// supplies (numbers below), the file selector and message boxes, and leaves
// the last error code as it found it (saving keeps an error that arose).
// The first argument is always the editor's window index.

#include <string>
#include <string_view>

// Dialog templates the program supplies, and their fields.
constexpr int kFindDialog = 32106;
constexpr int kGotoCellDialog = 32107;
constexpr int kGotoLineDialog = 32108;
constexpr int kSortDialog = 32109;
constexpr int kPrintDialog = 32112;
constexpr int kSaveHtmlDialog = 32114;

// Settings kept between calls, for the whole program.
struct GridEditorSortSettings {
  int order = 1;  // 1 ascending, 2 descending
  int caseSensitive = 0;
};
struct GridEditorHtmlSettings {
  int tableOnly = 0;
  int checkLetters = 0;
  int centre = 0;
  int colours = 1;
  std::string title;  // at most 1024 characters
  int border = 1;
};
extern GridEditorSortSettings yyGridEditorSort;
extern GridEditorHtmlSettings yyGridEditorHtml;

void YYGEDGOTO(int window, int kind);
void YYGEDFIND(int window, int mode, int& matchCase, int& numericColumns, std::string& findText);
void YYGEDDELETE(int window, int rowLabels, int rowCount);
void YYGEDINSERT(int window, int rowLabels, int rowCount, int position);
void YYGEDSORT(int window, int rowLabels, int& done);
void YYGEDPRINT(int window, int firstRow, int lastRow, int firstColumn, int lastColumn, int& printed);
void YYGEDSAVEHTML(int window, int firstRow, int lastRow, int firstColumn, int lastColumn, int& success, int backup,
                   std::string_view fileName);
void YYGEDSAVECSV(int window, int saveAs, int& success, int& filterIndex, int backup, std::string& fileName,
                  std::string_view filterText);
void YYGEDLOADCSV(int window, int ask, int rowCount, int& success, int& filterIndex, std::string& fileName,
                  std::string_view filterText);
void YYGEDSAVEPROMPT(int window, int unsaved, int& proceed, int& filterIndex, int backup, std::string& fileName,
                     std::string_view filterText);

// The HTML file proposed for an editor file: its extension, if its last
// component has one, becomes ".htm", else ".htm" is appended; empty stays empty.
std::string YYGridHtmlNameProposal(std::string_view fileName);
