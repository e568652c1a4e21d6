#include "toolkit/grid/grid_files.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "toolkit/core/binary_files.h"
#include "toolkit/core/error_reporter.h"
#include "toolkit/core/number_conversion.h"
#include "toolkit/core/os_paths.h"
#include "toolkit/grid/grid_cells.h"
#include "toolkit/grid/grid_rows.h"
#include "toolkit/grid/grid_storage.h"

namespace {

constexpr int kLineBuffer = 65000;
constexpr int kErrorOpen = 1;
constexpr int kErrorReadWrite = 2;
constexpr int kErrorFileTooBig = 1054;
constexpr int kErrorNoOption = 1055;
constexpr int kFormattedFileDetail = 1;
constexpr int kBinaryFileDetail = 2;

// A save that could not begin, or failed while it wrote: the number, with the
// Windows code as the I/O detail of the given kind.
void reportSaveFailure(int number, DWORD code, int detailKind, std::string_view routine) {
  errorState.ioDetailKind = detailKind;
  errorState.ioDetail = static_cast<int>(code != 0 ? code : ERROR_GEN_FAILURE);
  YYErrorReport(number, routine);
}

// The file name as the file routines take it: up to a NUL, without trailing blanks.
std::string_view fileNameOf(std::string_view name) { return significantText(name.substr(0, name.find('\0'))); }

struct Span {
  int firstColumn, lastColumn, firstRow, lastRow;  // 0-based, inclusive
};

Span clipped(const GridRecord& grid, const GridBlock& block) {
  return {std::max(block.firstColumn.value_or(1), 1) - 1, std::min(block.lastColumn.value_or(grid.columns), grid.columns) - 1,
          std::max(block.firstRow.value_or(1), 1) - 1, std::min(block.lastRow.value_or(grid.rows), grid.rows) - 1};
}

std::string doubledQuotes(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    out.push_back(c);
    if (c == '"') out.push_back('"');
  }
  return out;
}

std::string quoted(std::string_view text) {
  // The field, its quotes and its separator fit the line buffer: a longer text is cut.
  std::string inner = doubledQuotes(text);
  inner.resize(std::min<std::size_t>(inner.size(), kLineBuffer - 4));
  return "\"" + inner + "\"";
}

std::string fieldOf(const GridRecord& grid, int column, int row) {
  const GridColumn& c = grid.columnList[static_cast<std::size_t>(column)];
  std::string text;
  switch (c.type) {
    case kGridString:
      YYGridCellString(grid, column, row, text, kLineBuffer - 1);
      return quoted(text.substr(0, std::min(text.find('\0'), text.size())));
    case kGridCheckBox: {
      int state = 0;
      YYGridCellCheck(grid, column, row, state);
      return state == 1 ? "Yes" : "No";
    }
    case kGridMenu: {
      int option = 0;
      YYGridCellMenu(grid, column, row, option);
      return option == 0 ? std::string() : quoted(YYGridMenuItemText(grid, column, option));
    }
    default:
      YYGridCellString(grid, column, row, text, kLineBuffer);
      return text.substr(0, std::min(text.find('\0'), text.size()));
  }
}

// The loader's place in the grid and its mode.
struct LoadState {
  GridRecord& grid;
  int mode = 0;
  int row = 0;
  int column = 0;
};

std::string fieldText(std::string_view raw, bool endsLine) {
  // Only the CR of a CR LF line end is no part of the field.
  if (endsLine && !raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
  if (raw.find('"') == std::string_view::npos) return std::string(text::trimmed(raw));
  std::string text(raw);
  text = text.size() >= 2 ? text.substr(1, text.size() - 2) : std::string();
  std::vector<char> bytes(text.begin(), text.end());
  if (!bytes.empty()) YYUndoubleQuotes(TextField(bytes.data(), static_cast<int>(bytes.size())));
  return std::string(text::trimmed(std::string_view(bytes.data(), bytes.size())));
}

void storeNumber(GridRecord& grid, int column, int row, const std::string& text) {
  if (text::isBlank(text)) {
    YYGridClearCellApi(grid, column, row, 0);
    return;
  }
  const int before = errorState.lastError;
  errorState.lastError = 0;
  double value = 0.0;
  switch (grid.columnList[static_cast<std::size_t>(column)].type) {
    case kGridInteger: {
      int v = 0;
      IStringToInteger(text, v);
      value = v;
      break;
    }
    case kGridReal: {
      float v = 0.0f;
      IStringToReal(text, v);
      value = v;
      break;
    }
    default:
      YYStringToDouble(text, value);
      break;
  }
  if (errorState.lastError == 0) YYGridPutCellValue(grid, column, row, value);
  if (errorState.lastError != 0) {
    const int failure = errorState.lastError;
    YYGridClearCellApi(grid, column, row, 0);
    errorState.lastError = failure;
  } else {
    errorState.lastError = before;
  }
}

// Stores one field; false when the load must stop.
bool storeField(LoadState& s, std::string_view raw, bool endsLine) {
  GridRecord& grid = s.grid;
  if (s.row >= grid.rows) {
    if (s.mode != 1 || s.row >= grid.rowsAllocated) {
      YYErrorReport(kErrorFileTooBig, "WGridLoad");
      return false;
    }
    YYGridSetRows(grid, s.row + 1, false);
  }
  if (s.column >= grid.columns) {
    YYErrorReport(kErrorFileTooBig, "WGridLoad");
  } else {
    const std::string text = fieldText(raw, endsLine);
    switch (grid.columnList[static_cast<std::size_t>(s.column)].type) {
      case kGridString:
        YYGridCellStore(grid, s.column, s.row, 0.0, text, "");
        break;
      case kGridCheckBox:
        YYGridCellSetCheck(grid, s.column, s.row, YYGridSameTextIgnoringCase(text, "YES") ? 1 : 0);
        break;
      case kGridMenu: {
        int notFound = 0;
        YYGridMenuByText(grid, s.column, s.row, notFound, text);
        if (notFound != 0) YYErrorReport(kErrorNoOption, "WGridLoad");
        break;
      }
      default:
        storeNumber(grid, s.column, s.row, text);
        break;
    }
  }
  if (endsLine) {
    for (int column = s.column + 1; column < grid.columns; ++column) YYGridClearCellApi(grid, column, s.row, 1);
    ++s.row;
    s.column = 0;
  } else {
    ++s.column;
  }
  return true;
}

// The whole file; false (reported) when it could not be read.
bool readAll(int handle, std::string& content) {
  int size = 0;
  IFileSeek(handle, size, 2);
  int start = 0;
  IFileSeek(handle, start, 0);
  if (size < 0) return false;
  content.assign(static_cast<std::size_t>(size), ' ');
  int done = 0;
  while (done < size) {
    const int count = std::min(kLineBuffer, size - done);
    int got = 0;
    IFileReadChar(handle, TextField(content.data() + done, count), count, got);
    if (got < count) return false;
    done += got;
  }
  return true;
}

std::string hexColour(int r, int g, int b) {
  std::array<char, 8> text{};
  std::snprintf(text.data(), text.size(), "%02x%02x%02x", r & 0xFF, g & 0xFF, b & 0xFF);
  return text.data();
}

}  // namespace

void YYDoubleQuotes(TextField text) {
  const int used = text.trimmedLength();
  if (text.view().substr(0, static_cast<std::size_t>(used)).find('"') == std::string_view::npos) return;
  const std::string doubled = doubledQuotes(text.view().substr(0, static_cast<std::size_t>(used)));
  text.assign(doubled);
}

void YYUndoubleQuotes(TextField text) {
  const int used = text.trimmedLength();
  std::string out;
  for (int i = 0; i < used; ++i) {
    out.push_back(text.data()[i]);
    if (text.data()[i] == '"' && i + 1 < used && text.data()[i + 1] == '"') ++i;
  }
  out.append(static_cast<std::size_t>(text.length() - used), ' ');
  text.assign(out);
}

void YYGridHtmlLine(FileReplacement& file, std::string_view text, int& status) {
  if (status != 0) return;
  if (!file.write(std::string(text) + "\r\n")) status = file.error() != 0 ? static_cast<int>(file.error()) : -1;
}

void WGridSave(int grid, std::string_view fileName, const GridBlock& block) {
  constexpr std::string_view kRoutine = "WGridSave";
  GridRecord* record = YYGridForRoutine(grid, kRoutine);
  if (record == nullptr) return;
  const Span span = clipped(*record, block);
  // The new file takes the old one's place only once it is whole, so a failed
  // save leaves the earlier file as it was.
  FileReplacement file;
  if (!file.begin(fileNameOf(fileName))) {
    reportSaveFailure(kErrorOpen, file.error(), kBinaryFileDetail, kRoutine);
    return;
  }
  // Fields are gathered and written a block at a time: a write per field
  // costs more than the fields themselves on a grid of many rows.
  constexpr std::size_t kWriteBlock = 1 << 16;
  std::string pending;
  pending.reserve(kWriteBlock + kLineBuffer);
  for (int row = span.firstRow; row <= span.lastRow; ++row) {
    for (int column = span.firstColumn; column <= span.lastColumn; ++column) {
      pending += fieldOf(*record, column, row);
      pending += column == span.lastColumn ? "\r\n" : ",";
      if (pending.size() >= kWriteBlock || (row == span.lastRow && column == span.lastColumn)) {
        if (!file.write(pending)) {
          reportSaveFailure(kErrorReadWrite, file.error(), kBinaryFileDetail, kRoutine);
          return;
        }
        pending.clear();
      }
    }
  }
  if (!file.commit()) reportSaveFailure(kErrorReadWrite, file.error(), kBinaryFileDetail, kRoutine);
}

void WGridLoad(int grid, std::string_view fileName, int mode) {
  GridRecord* record = YYGridForRoutine(grid, "WGridLoad");
  if (record == nullptr) return;
  int handle = kNoFile;
  IFileOpen(fileName, 0, handle);
  if (handle == kNoFile) return;
  std::string content;
  if (!readAll(handle, content)) {
    YYFileClose(handle);
    return;
  }
  LoadState state{*record, mode};
  std::size_t start = 0;
  int quotes = 0;
  for (std::size_t i = 0; i < content.size(); ++i) {
    const char c = content[i];
    if (i - start >= static_cast<std::size_t>(kLineBuffer)) {
      // No field with its terminator may be longer than the line buffer.
      YYErrorReport(kErrorFileTooBig, "WGridLoad");
      break;
    }
    if (c == '"') ++quotes;
    const bool endsLine = c == '\n';
    if (!endsLine && !(c == ',' && quotes % 2 == 0)) continue;
    if (!storeField(state, std::string_view(content).substr(start, i - start), endsLine)) break;
    start = i + 1;
    quotes = 0;
  }
  // The rows the file did not fill are emptied, the last line without LF too.
  for (int row = state.row; row < record->rows; ++row) {
    for (int column = 0; column < record->columns; ++column) YYGridClearCellApi(*record, column, row, 2);
  }
  YYFileClose(handle);
}

void WGridSaveHTML(int grid, std::string_view fileName, const GridBlock& block, const GridHtmlOptions& html) {
  constexpr std::string_view kRoutine = "WGridSaveHTML";
  GridRecord* record = YYGridForRoutine(grid, kRoutine);
  if (record == nullptr) return;
  const GridRecord& g = *record;
  const Span span = clipped(g, block);
  FileReplacement file;
  if (!file.begin(fileNameOf(fileName))) {
    reportSaveFailure(kErrorOpen, file.error(), kFormattedFileDetail, kRoutine);
    return;
  }
  int status = 0;
  auto line = [&](std::string_view text) { YYGridHtmlLine(file, text, status); };
  // A failed write ends the page; the earlier file stays as it was.
  auto checked = [&]() {
    if (status == 0) return true;
    reportSaveFailure(kErrorReadWrite, static_cast<DWORD>(status), kFormattedFileDetail, kRoutine);
    return false;
  };
  const bool tableOnly = (html.options & kHtmlTableOnly) != 0;
  const bool centred = (html.options & kHtmlCentred) != 0;
  const std::string title = html.title.has_value() ? std::string(text::trimmed(*html.title)) : std::string();
  if (!tableOnly) {
    line("<html>");
    line("<head>");
    if (html.title.has_value()) line("<title>" + title + "</title>");
    line("</head>");
    if (html.pageColour.has_value()) {
      const int colour = *html.pageColour;
      line("<body bgcolor=#" + hexColour(colour, colour >> 8, colour >> 16) + ">");
    } else {
      line("<body>");
    }
  }
  if (centred) line("<center>");
  if (!title.empty()) line("<h2>" + title + "</h2>");
  line("<table border=" + std::to_string(std::max(html.border, 0)) + " cellpadding=5>");
  if (!checked()) return;
  const bool labels = YYGridHasRowLabels(g);
  if (YYGridHasHeading(g)) {
    line("<tr>");
    if (labels) line("<td></td>");
    for (int column = span.firstColumn; column <= span.lastColumn; ++column) {
      line("<td align=center>");
      line(YYGridGetColumnTitle(g, column + 1).substr(0, 1023));
      line("</td>");
    }
    line("</tr>");
    if (!checked()) return;
  }
  static constexpr std::array<std::string_view, 3> kAlign = {"left", "center", "right"};
  for (int row = span.firstRow; row <= span.lastRow; ++row) {
    line("<tr>");
    if (labels) {
      line("<td align=left>");
      line(YYGridGetRowLabel(g, row));
      line("</td>");
    }
    for (int column = span.firstColumn; column <= span.lastColumn; ++column) {
      const GridColumn& c = g.columnList[static_cast<std::size_t>(column)];
      GridRgb text;
      GridRgb background;
      if ((html.options & kHtmlNoColours) == 0) YYGridGetCellColour(g, column, row, text, background);
      int alignment = 0;
      YYGridColumnAlign(g, column, alignment);
      std::string open = "<td align=" + std::string(kAlign[static_cast<std::size_t>(std::clamp(alignment, 0, 2))]);
      if (background.set()) open += " bgcolor=#" + hexColour(background.r, background.g, background.b);
      line(open + ">");
      if (text.set()) line("<font color=#" + hexColour(text.r, text.g, text.b) + ">");
      std::string content;
      if (c.type == kGridCheckBox) {
        int state = 0;
        YYGridCellCheck(g, column, row, state);
        if ((html.options & kHtmlCheckLetters) != 0) {
          content = state == 1 ? "Y" : "N";
        } else {
          content = state == 1 ? "<font face=\"Symbol\">&middot;</font>" : "&nbsp;";
        }
      } else if (c.type == kGridMenu) {
        int option = 0;
        YYGridCellMenu(g, column, row, option);
        content = option == 0 ? " " : YYGridMenuItemText(g, column, option);
      } else {
        YYGridCellString(g, column, row, content, 1023);
      }
      line(content);
      if (text.set()) line("</font>");
      line("</td>");
    }
    line("</tr>");
    if (!checked()) return;
  }
  line("</table>");
  if (centred) line("</center>");
  if (!tableOnly) {
    line("</body>");
    line("</html>");
  }
  if (checked() && !file.commit()) reportSaveFailure(kErrorReadWrite, file.error(), kFormattedFileDetail, kRoutine);
}
