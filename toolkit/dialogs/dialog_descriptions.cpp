#include "toolkit/dialogs/dialog_descriptions.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <string>

#include "toolkit/core/number_conversion.h"
#include "toolkit/core/window_table.h"
#include "toolkit/dialogs/controls.h"
#include "toolkit/dialogs/dialog_init.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/field_values.h"
#include "toolkit/dialogs/numeric_fields.h"
#include "toolkit/dialogs/tree_views.h"
#include "toolkit/grid/grid_field.h"

namespace {

enum Section : int {
  kNoSection = -1,
  kRanges,
  kMenus,
  kChecks,
  kTabs,
  kGrids,
  kColours,
  kTrackbars,
  kLengths,
  kDialogSection,
  kFormats,
  kTreeviews,
  kFonts,
};

// Tried in this order, each as a prefix of the line.
constexpr std::array<std::string_view, 12> kHeaders = {
    "[Ranges]", "[Menus]",  "[Checks]", "[Tabs]",      "[Grids]",     "[Colours]",
    "[Trackbars]", "[Lengths]", "[Dialog]", "[Formats]", "[Treeviews]", "[Fonts]"};

constexpr std::size_t kItemLimit = 1024;  // characters kept of an item or label line

// Truncation toward zero into the 32-bit range.
int truncated(double v) {
  if (std::isnan(v)) return 0;
  return static_cast<int>(std::clamp(v, -2147483648.0, 2147483647.0));
}

// Walks the description text.  Every read is bounded by the text, which ends
// at its first NUL; a NUL follows the last character so that the toolkit's
// NUL-ended readers can be used on it.
class Reader {
 public:
  explicit Reader(std::string_view description) {
    const std::size_t nul = description.find('\0');
    text_.assign(description.substr(0, nul));
  }

  std::size_t size() const { return text_.size(); }
  const char* at(std::size_t i) const { return text_.c_str() + std::min(i, text_.size()); }
  char charAt(std::size_t i) const { return i < text_.size() ? text_[i] : '\0'; }
  std::size_t lineEnd(std::size_t from) const {
    const std::size_t lf = text_.find('\n', std::min(from, text_.size()));
    return lf == std::string::npos ? text_.size() : lf;
  }
  std::size_t skipBlanks(std::size_t i, std::size_t limit) const {
    while (i < limit && text_[i] == ' ') ++i;
    return i;
  }
  std::size_t skipToBlank(std::size_t i, std::size_t limit) const {
    while (i < limit && text_[i] != ' ') ++i;
    return i;
  }
  // The next value after the current one: to the next blank, then over blanks.
  std::size_t nextValue(std::size_t i, std::size_t limit) const { return skipBlanks(skipToBlank(i, limit), limit); }
  int integerAt(std::size_t i, std::size_t limit) const {
    if (i >= limit) return 0;
    return YYParseInt(at(i));
  }
  // A word: from i to the next blank, line end or end of the text.
  std::string_view wordAt(std::size_t i, std::size_t limit) const {
    const std::size_t end = skipToBlank(i, limit);
    return std::string_view(text_).substr(i, end - i);
  }
  std::string_view span(std::size_t from, std::size_t to) const {
    return std::string_view(text_).substr(from, to > from ? to - from : 0);
  }

 private:
  std::string text_;
};

struct Line {
  std::size_t start = 0;   // first non-blank character
  std::size_t end = 0;     // the line feed, or the end of the text
  std::size_t values = 0;  // first value after the id
  int id = 0;
  HWND control = nullptr;
};

class DescriptionApplier {
 public:
  DescriptionApplier(HWND dialog, std::string_view description, int mode)
      : dialog_(dialog), reader_(description), mode_(mode) {}

  void run() {
    std::size_t pos = 0;
    Section section = kNoSection;
    while (pos < reader_.size()) {
      Line line;
      line.end = reader_.lineEnd(pos);
      line.start = reader_.skipBlanks(pos, line.end);
      if (const int header = headerAt(line.start); header >= 0) {
        section = static_cast<Section>(header);
        pos = line.end + 1;
        continue;
      }
      // A line of blanks carries no id; nothing is applied for it.
      if (line.start == line.end) {
        pos = line.end + 1;
        continue;
      }
      line.id = reader_.integerAt(line.start, line.end);
      line.control = GetDlgItem(dialog_, line.id);
      const std::size_t blank = reader_.skipToBlank(line.start, line.end);
      line.values = reader_.skipBlanks(blank, line.end);
      const bool hasValues = blank < line.end;
      pos = apply(section, line, hasValues);
    }
  }

 private:
  int headerAt(std::size_t i) const {
    for (std::size_t h = 0; h < kHeaders.size(); ++h) {
      const std::string_view header = kHeaders[h];
      if (i + header.size() <= reader_.size() && reader_.span(i, i + header.size()) == header) {
        return static_cast<int>(h);
      }
    }
    return -1;
  }

  // Applies one data line and answers where the next line starts.
  std::size_t apply(Section section, const Line& line, bool hasValues) {
    const std::size_t next = line.end + 1;
    if (section == kDialogSection) {
      if (DialogRecord* record = dialogRecordOf(dialog_); record != nullptr) record->dialogOption = line.id != 0 ? 1 : 0;
      return next;
    }
    if (!hasValues) return next;
    switch (section) {
      case kRanges:
        ranges(line);
        return next;
      case kMenus:
        return menus(line);
      case kChecks:
        if (controlKindOf(line.control) == kKindButton) {
          CheckDlgButton(dialog_, line.id, static_cast<UINT>(reader_.integerAt(line.values, line.end)));
        }
        return next;
      case kTabs:
        return tabs(line);
      case kGrids:
        return grids(line);
      case kColours:
        colours(line);
        return next;
      case kTrackbars:
        trackbars(line);
        return next;
      case kLengths:
        lengths(line);
        return next;
      case kFormats:
        formats(line);
        return next;
      case kTreeviews:
        if (controlKindOf(line.control) == kKindTree) {
          const int menu = reader_.integerAt(line.values, line.end);
          const int selected = reader_.integerAt(reader_.nextValue(line.values, line.end), line.end);
          if (menu != 0) YYTreeFromMenu(line.control, menu, selected);
        }
        return next;
      case kFonts:
        fonts(line);
        return next;
      default:
        return next;
    }
  }

  // The integer at the position from the first 17 characters of a control's text.
  static int integerOfText(HWND control) {
    std::array<char, 18> text{};
    GetWindowTextA(control, text.data(), static_cast<int>(text.size()));
    return YYParseInt(text.data());
  }

  void ranges(const Line& line) {
    if (line.control == nullptr) return;
    const std::string_view first = reader_.wordAt(line.values, line.end);
    const std::size_t secondAt = reader_.nextValue(line.values, line.end);
    const std::string_view second = reader_.wordAt(secondAt, line.end);
    if (first.empty() || second.empty()) return;
    double minimum = 0.0;
    double maximum = 0.0;
    YYTEXTTOINT(minimum, first);
    YYTEXTTOINT(maximum, second);
    switch (controlKindOf(line.control)) {
      case kKindProgress:
        SendMessageA(line.control, PBM_SETRANGE, 0,
                     MAKELPARAM(static_cast<WORD>(truncated(minimum)), static_cast<WORD>(truncated(maximum))));
        SendMessageA(line.control, PBM_SETPOS, static_cast<WPARAM>(integerOfText(line.control)), 0);
        break;
      case kKindTrackbar:
        SendMessageA(line.control, TBM_SETRANGEMIN, FALSE, truncated(minimum));
        SendMessageA(line.control, TBM_SETRANGEMAX, FALSE, truncated(maximum));
        SendMessageA(line.control, TBM_SETPOS, TRUE, integerOfText(line.control));
        break;
      default: {
        int id = line.id;
        YYFieldRangeStore(id, minimum, maximum, dialog_);
        break;
      }
    }
  }

  std::size_t menus(const Line& line) {
    const int count = reader_.integerAt(line.values, line.end);
    const int initial = reader_.integerAt(reader_.nextValue(line.values, line.end), line.end);
    const bool list = controlKindOf(line.control) == kKindList;
    if (line.control != nullptr) SendMessageA(line.control, list ? LB_RESETCONTENT : CB_RESETCONTENT, 0, 0);
    std::size_t pos = line.end + 1;
    for (int i = 0; i < count && pos < reader_.size(); ++i) {
      const std::size_t end = reader_.lineEnd(pos);
      std::string item(reader_.span(pos, std::min(end, pos + kItemLimit)));
      item.resize(static_cast<std::size_t>(text::trimmedLength(item)));
      if (line.control != nullptr) {
        SendMessageA(line.control, list ? LB_ADDSTRING : CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
      }
      pos = end + 1;
    }
    if (line.control != nullptr) {
      const int index = mode_ == kGridTemplateMode ? 0 : initial - 1;
      if (index != -1) SendMessageA(line.control, list ? LB_SETCURSEL : CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    return pos;
  }

  std::size_t tabs(const Line& line) {
    const int count = reader_.integerAt(line.values, line.end);
    const int initialPage = reader_.integerAt(reader_.nextValue(line.values, line.end), line.end);
    HWND tab = controlKindOf(line.control) == kKindTab ? line.control : nullptr;
    const int slotBefore = dialogTable.currentSlot;
    std::size_t pos = line.end + 1;
    for (int i = 0; i < count && pos < reader_.size(); ++i) {
      const std::size_t end = reader_.lineEnd(pos);
      const std::size_t idAt = reader_.skipBlanks(pos, end);
      const int pageId = reader_.integerAt(idAt, end);
      const std::size_t labelAt = reader_.nextValue(idAt, end);
      std::string label(reader_.span(labelAt, std::min(end, labelAt + kItemLimit)));
      if (!label.empty()) label.pop_back();  // the blank that ends a well-formed line
      pos = end + 1;
      if (tab == nullptr) continue;
      TCITEMA item{};
      item.mask = TCIF_TEXT;
      item.pszText = label.data();
      const int index = static_cast<int>(SendMessageA(tab, TCM_INSERTITEMA, static_cast<WPARAM>(i),
                                                      reinterpret_cast<LPARAM>(&item)));
      if (index >= 0) tabItemDataSet(tab, index, TabItemData{pageId, 0});
      int number = pageId;
      if (pageId > 0) YYDialogCreate(number, pageId, 0);
    }
    dialogTable.currentSlot = slotBefore;
    if (tab != nullptr) {
      const int n = static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
      int select = 0;
      for (int i = 0; i < n; ++i) {
        TabItemData data;
        if (tabItemDataGet(tab, i, data) && data.pageId == initialPage) {
          select = i;
          break;
        }
      }
      if (n > 0) SendMessageA(tab, TCM_SETCURSEL, static_cast<WPARAM>(select), 0);
    }
    return pos;
  }

  std::size_t grids(const Line& line) {
    if (controlKindOf(line.control) != kKindGrid) return line.end + 1;
    int consumed = 0;
    YYGridFromText(line.control, reader_.at(line.values), consumed);
    const std::size_t behind = std::min(reader_.size(), line.values + static_cast<std::size_t>(std::max(consumed, 0)));
    return reader_.lineEnd(behind) + 1;
  }

  void colours(const Line& line) {
    std::array<int, 6> v{};
    std::size_t pos = line.values;
    for (std::size_t i = 0; i < v.size(); ++i) {
      v[i] = reader_.integerAt(pos, line.end);
      pos = reader_.nextValue(pos, line.end);
    }
    if (line.control == nullptr) return;
    YYFieldColourStore(line.control, 1, v[0], v[1], v[2]);
    YYFieldColourStore(line.control, 2, v[3], v[4], v[5]);
  }

  void trackbars(const Line& line) {
    if (controlKindOf(line.control) != kKindTrackbar) return;
    std::array<int, 5> v{};
    std::size_t pos = line.values;
    for (std::size_t i = 0; i < v.size(); ++i) {
      v[i] = reader_.integerAt(pos, line.end);
      pos = reader_.nextValue(pos, line.end);
    }
    HWND bar = line.control;
    SendMessageA(bar, TBM_SETTICFREQ, static_cast<WPARAM>(v[0]), 0);
    SendMessageA(bar, TBM_SETLINESIZE, 0, v[1]);
    SendMessageA(bar, TBM_SETPAGESIZE, 0, v[2]);
    if ((GetWindowLongA(bar, GWL_STYLE) & TBS_ENABLESELRANGE) == 0) return;
    if (v[3] == v[4]) {
      SendMessageA(bar, TBM_CLEARSEL, TRUE, 0);
    } else {
      SendMessageA(bar, TBM_SETSELSTART, FALSE, v[3]);
      SendMessageA(bar, TBM_SETSELEND, FALSE, v[4]);
    }
  }

  void lengths(const Line& line) {
    if (line.control == nullptr) return;
    const int length = reader_.integerAt(line.values, line.end);
    const ControlKind kind = controlKindOf(line.control);
    if (isEditLike(kind)) SendMessageA(line.control, EM_LIMITTEXT, static_cast<WPARAM>(length), 0);
    if (kind == kKindCombo) SendMessageA(line.control, CB_LIMITTEXT, static_cast<WPARAM>(length), 0);
    if (FieldRecord* record = fieldRecordOf(line.control); record != nullptr) record->maximumLength = length;
  }

  void formats(const Line& line) {
    FieldRecord* record = fieldRecordOf(line.control);
    if (record == nullptr || line.values >= line.end) return;
    record->format = std::make_shared<const std::string>(reader_.span(line.values, line.end));
  }

  void fonts(const Line& line) {
    if (line.control == nullptr) return;
    const int points = reader_.integerAt(line.values, line.end);
    const std::size_t faceAt = reader_.nextValue(line.values, line.end);
    std::size_t comma = faceAt;
    while (comma < line.end && reader_.charAt(comma) != ',') ++comma;
    if (comma >= line.end) return;  // no face name ends here
    const std::string face(reader_.span(faceAt, std::min(comma, faceAt + LF_FACESIZE - 1)));
    const std::size_t weightAt = reader_.skipBlanks(comma + 1, line.end);
    const int weight = reader_.integerAt(weightAt, line.end);
    const int italic = reader_.integerAt(reader_.nextValue(weightAt, line.end), line.end);
    HDC screen = CreateCompatibleDC(nullptr);
    const int height = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
    DeleteDC(screen);
    HFONT font = CreateFontA(height, 0, 0, 0, weight, italic == 1 ? TRUE : FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_MODERN,
                             face.c_str());
    if (font != nullptr) SendMessageA(line.control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }

  HWND dialog_;
  Reader reader_;
  int mode_;
};

}  // namespace

void YYDialogDescriptionApply(HWND dialog, std::string_view description, int mode) {
  DescriptionApplier(dialog, description, mode).run();
}

void YYDialogDescriptionLoad(HWND dialog, int resourceNumber, int mode) {
  HMODULE module = windowTable.module != nullptr ? windowTable.module : GetModuleHandleA(nullptr);
  HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(resourceNumber), reinterpret_cast<LPCSTR>(RT_RCDATA));
  if (resource == nullptr) return;
  HGLOBAL loaded = LoadResource(module, resource);
  const char* bytes = static_cast<const char*>(LockResource(loaded));
  const DWORD size = SizeofResource(module, resource);
  if (bytes == nullptr || size == 0) return;
  YYDialogDescriptionApply(dialog, std::string_view(bytes, size), mode);
}
