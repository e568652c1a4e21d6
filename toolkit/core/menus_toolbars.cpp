#include "toolkit/core/menus_toolbars.h"

#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

#include "toolkit/core/error_reporter.h"
#include "toolkit/core/window_procs.h"
#include "toolkit/core/window_table.h"
#include "toolkit/core/window_text.h"
#include "toolkit/graphics/graphics_defaults.h"
#include "toolkit/graphics/bitmap_view.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/grid/grid_editor.h"

namespace {

constexpr int kFailed = -1;
constexpr int kNoWindow = -2;
constexpr UINT kBarSwp = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;

WNDPROC toolbarClassProc = nullptr;

// A resource as a run of 16-bit words.
struct WordResource {
  const WORD* words = nullptr;
  std::size_t count = 0;
  WORD at(std::size_t i) const { return i < count ? words[i] : 0; }
};

const BYTE* findResource(int number, LPCSTR type, DWORD& size) {
  size = 0;
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(number), type);
  if (found == nullptr) return nullptr;
  HGLOBAL loaded = LoadResource(module, found);
  if (loaded == nullptr) return nullptr;
  size = SizeofResource(module, found);
  return static_cast<const BYTE*>(LockResource(loaded));
}

WordResource findWords(int number) {
  DWORD size = 0;
  const BYTE* data = findResource(number, MAKEINTRESOURCEA(10) /* RT_RCDATA */, size);
  return WordResource{reinterpret_cast<const WORD*>(data), data != nullptr ? size / 2 : 0};
}

bool isChildFrame(HWND frame) { return frame != nullptr && (GetWindowLongA(frame, GWL_STYLE) & WS_CHILD) != 0; }

LRESULT CALLBACK toolbarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // The toolbar does not size itself: the frame lays it out.
  if (message == WM_SIZE) return DefWindowProcA(window, message, wParam, lParam);
  return CallWindowProcA(toolbarClassProc, window, message, wParam, lParam);
}

int barExtent(HWND bar, int position) {
  if (bar == nullptr) return 0;
  RECT r{};
  GetWindowRect(bar, &r);
  return position == kToolbarLeft || position == kToolbarRight ? r.right - r.left : r.bottom - r.top;
}

// The bar that a bitmap view keeps at the top of its frame, above the
// window's own toolbars; none for other frames.
HWND viewOwnBar(HWND frame) {
  const WindowRecord* record = windowRecordOf(frame);
  return record != nullptr && record->kind == kRecordBitmapView ? record->embeddedDialog : nullptr;
}

// A bitmap view and a grid editor lay their frame out from their own copy of
// the window's toolbars: the record learns the new bar, and the frame is sized
// once so that its layout runs again; a maximised frame, whose size follows
// what it shows, grows by the change.
void toolbarToViewRecord(WindowSlot& s, int position, HWND bar, int change) {
  WindowRecord* record = windowRecordOf(s.frame);
  if (record == nullptr) return;
  const auto at = static_cast<std::size_t>(position);
  if (record->kind == kRecordBitmapView) {
    static_cast<BitmapViewRecord*>(record)->ViewToolbars[at] = bar;
  } else if (record->kind == kRecordGridEditor) {
    YYGridEditorOf(s.frame)->windowBars[at] = bar;
  } else {
    return;
  }
  if (IsIconic(s.frame)) return;
  RECT outer{};
  GetWindowRect(s.frame, &outer);
  int width = outer.right - outer.left;
  int height = outer.bottom - outer.top;
  if (IsZoomed(s.frame)) (position == kToolbarLeft || position == kToolbarRight ? width : height) += change;
  SetWindowPos(s.frame, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

int toolbarIndexOf(HWND bar, int id) {
  return static_cast<int>(SendMessageA(bar, TB_COMMANDTOINDEX, static_cast<WPARAM>(id), 0));
}

bool toolbarHas(HWND bar, int id) { return bar != nullptr && toolbarIndexOf(bar, id) >= 0; }

int totalButtons(const WindowSlot& s) {
  int total = 0;
  for (HWND bar : s.toolbars) {
    if (bar != nullptr) total += static_cast<int>(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0));
  }
  return total;
}

bool anyToolbar(const WindowSlot& s) {
  for (HWND bar : s.toolbars) {
    if (bar != nullptr) return true;
  }
  return false;
}

char* itemHelp(HMENU menu, UINT id, bool byPosition) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_DATA;
  if (!GetMenuItemInfoA(menu, id, byPosition, &info)) return nullptr;
  return reinterpret_cast<char*>(info.dwItemData);
}

void setItemHelp(HMENU menu, UINT id, bool byPosition, char* text) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_DATA;
  info.dwItemData = reinterpret_cast<ULONG_PTR>(text);
  SetMenuItemInfoA(menu, id, byPosition, &info);
}

HWND frameOf(int slot) { return slotOf(slot).frame; }

}  // namespace

int YYMenuWorkSlot() {
  const int current = windowTable.currentSlot;
  return isValidSlot(current) && YYWindowHasBars(current) ? current : 0;
}

int YYWindowHasBars(int slot) {
  if (!isValidSlot(slot)) return 0;
  const WindowSlot& s = slotOf(slot);
  return s.menu != nullptr || anyToolbar(s) ? 1 : 0;
}

HMENU YYMenuLoad(int& number) {
  HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(number));
  if (menu == nullptr) {
    number = kFailed;
    return nullptr;
  }
  YYMenuIdsApply(menu, number);
  YYMenuGreyDisabled(menu);
  return menu;
}

void YYMenuIdsApply(HMENU menu, int number) {
  const WordResource r = findWords(number);
  if (r.words == nullptr || menu == nullptr) return;
  std::size_t i = 0;
  while (i < r.count) {
    const WORD id = r.at(i++);
    if (id == 0) break;
    std::vector<WORD> path;
    while (i < r.count && r.at(i) != 0) path.push_back(r.at(i++));
    ++i;  // the entry's closing 0
    if (path.empty()) continue;
    HMENU level = menu;
    for (std::size_t step = 0; step + 1 < path.size() && level != nullptr; ++step) {
      level = GetSubMenu(level, path[step] - 1);
    }
    if (level == nullptr) continue;
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID;
    info.wID = id;
    SetMenuItemInfoA(level, path.back() - 1u, TRUE, &info);
  }
}

void YYMenuGreyDisabled(HMENU menu) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
    if (state != 0xFFFFFFFF && (state & MF_DISABLED)) {
      EnableMenuItem(menu, static_cast<UINT>(i), MF_BYPOSITION | MF_GRAYED);
    }
    if (HMENU sub = GetSubMenu(menu, i); sub != nullptr) YYMenuGreyDisabled(sub);
  }
}

void YYMenuResourcesLoad(int slot, int number) {
  WindowSlot& s = slotOf(slot);
  s.accelerators = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(number));
  s.menuHelp = findResource(number, "QVRMENUSTRING", s.menuHelpSize);
}

const char* YYMenuStringFind(const BYTE* resource, DWORD size, UINT id) {
  if (resource == nullptr) return nullptr;
  DWORD at = 0;
  while (at + 2 <= size) {
    const WORD entry = static_cast<WORD>(resource[at] | (resource[at + 1] << 8));
    if (entry == 0) return nullptr;
    at += 2;
    const char* text = reinterpret_cast<const char*>(resource + at);
    const void* end = std::memchr(text, 0, size - at);
    if (end == nullptr) return nullptr;  // an unended text is not read past the resource
    if (entry == id) return text;
    at += static_cast<DWORD>(static_cast<const char*>(end) - text) + 1;
  }
  return nullptr;
}

const char* YYMenuItemHelpOf(HMENU menu, UINT id) {
  if (menu == nullptr) return nullptr;
  HMENU containing = nullptr;
  const int position = YYMenuItemFind(menu, static_cast<int>(id), containing);
  if (position < 0) return nullptr;
  return itemHelp(containing, static_cast<UINT>(position), true);
}

void YYToolbarCreate(int& number, int slot, int position, int& newWidth, int& newHeight) {
  newWidth = -1;
  newHeight = -1;
  if (!slotHasFrame(slot)) {
    number = kNoWindow;
    return;
  }
  if (position < kToolbarTop || position > kToolbarBottom) position = kToolbarTop;
  WindowSlot& s = slotOf(slot);
  const int oldExtent = barExtent(s.toolbars[static_cast<std::size_t>(position)], position);
  if (HWND old = s.toolbars[static_cast<std::size_t>(position)]; old != nullptr) {
    DestroyWindow(old);
    s.toolbars[static_cast<std::size_t>(position)] = nullptr;
    if (!anyToolbar(s)) s.tips.clear();
  }
  HWND bar = nullptr;
  if (number != 0) {
    const WordResource r = findWords(number);
    if (r.words == nullptr || r.count < 2) {
      number = kFailed;
      return;
    }
    const int imageWidth = r.at(0);
    const int imageHeight = r.at(1);
    bar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_TOOLTIPS, 0, 0,
                          1, 1, s.frame, reinterpret_cast<HMENU>(static_cast<INT_PTR>(number)),
                          GetModuleHandleA(nullptr), nullptr);
    if (bar == nullptr) {
      number = kFailed;
      return;
    }
    WNDPROC previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(toolbarProc)));
    if (toolbarClassProc == nullptr) toolbarClassProc = previous;
    s.toolbars[static_cast<std::size_t>(position)] = bar;
    YYWindowBarsOrder(slot);
    SendMessageA(bar, TB_BUTTONSTRUCTSIZE, 20, 0);
    SendMessageA(bar, TB_SETBITMAPSIZE, 0, MAKELONG(imageWidth, imageHeight));
    SendMessageA(bar, TB_SETBUTTONSIZE, 0, MAKELONG(imageWidth + 6, imageHeight + 6));
    RECT client{};
    GetClientRect(s.frame, &client);
    int statusHeight = 0;
    if (s.statusBar != nullptr) {
      RECT sb{};
      GetWindowRect(s.statusBar, &sb);
      statusHeight = sb.bottom - sb.top;
    }
    if (position == kToolbarLeft || position == kToolbarRight) {
      const int width = imageWidth + 9;
      SetWindowLongPtrA(bar, GWLP_USERDATA, width);
      SetWindowPos(bar, nullptr, position == kToolbarLeft ? 0 : client.right - width, 0, width, client.bottom,
                   kBarSwp);
    } else {
      const int height = imageHeight + 12;
      const int y = position == kToolbarTop ? barExtent(viewOwnBar(s.frame), kToolbarTop)
                                            : client.bottom - statusHeight - height;
      SetWindowPos(bar, nullptr, 0, y, client.right, height, kBarSwp);
    }
    // One button per entry up to the closing pair of zero words.
    std::vector<TBBUTTON> buttons;
    int image = 0;
    for (std::size_t i = 2; i < r.count; ++i) {
      const WORD id = r.at(i);
      if (id == 0 && r.at(i + 1) == 0) break;
      TBBUTTON b{};
      if (id == 0) {
        b.fsStyle = TBSTYLE_SEP;
      } else {
        b.iBitmap = image++;
        b.idCommand = id;
        b.fsStyle = TBSTYLE_BUTTON;
        b.fsState = TBSTATE_ENABLED;
        if (s.menu != nullptr) {
          const UINT state = GetMenuState(s.menu, id, MF_BYCOMMAND);
          if (state != 0xFFFFFFFF) {
            b.fsState = 0;
            if (state & MF_CHECKED) b.fsState |= TBSTATE_CHECKED;
            if (!(state & MF_GRAYED)) b.fsState |= TBSTATE_ENABLED;
          }
        }
      }
      buttons.push_back(b);
    }
    TBADDBITMAP bitmap{GetModuleHandleA(nullptr), static_cast<UINT_PTR>(number)};
    SendMessageA(bar, TB_ADDBITMAP, static_cast<WPARAM>(image), reinterpret_cast<LPARAM>(&bitmap));
    SendMessageA(bar, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    const std::size_t total = static_cast<std::size_t>(totalButtons(s));
    if (s.tips.empty()) {
      s.tips.assign(buttons.size(), ToolbarTip{});
    } else if (s.tips.size() < total) {
      s.tips.resize(total);
    }
    if (position == kToolbarLeft || position == kToolbarRight) {
      RECT rows{};
      SendMessageA(bar, TB_SETROWS, MAKEWPARAM(static_cast<WORD>(buttons.size()), FALSE),
                   reinterpret_cast<LPARAM>(&rows));
    }
  }
  const int newExtent = barExtent(bar, position);
  toolbarToViewRecord(s, position, bar, newExtent - oldExtent);
  if (IsIconic(s.frame) || newExtent == oldExtent) return;
  RECT client{};
  GetClientRect(s.frame, &client);
  const int before = windowTable.lastResizeWidth;
  const int beforeHeight = windowTable.lastResizeHeight;
  SendMessageA(s.frame, WM_SIZE, IsZoomed(s.frame) ? SIZE_MAXIMIZED : SIZE_RESTORED,
               MAKELPARAM(client.right, client.bottom));
  if (s.client != nullptr) {
    RECT inner{};
    GetClientRect(s.client, &inner);
    newWidth = inner.right;
    newHeight = inner.bottom;
  } else {
    newWidth = before;
    newHeight = beforeHeight;
  }
}

void WMenuToolbar(int number, std::optional<int> window, std::optional<int> position) {
  const int slot = window.value_or(0);
  int place = position.value_or(1);
  if (place < 1 || place > 4) place = 1;
  if (!slotHasFrame(slot)) {
    YYErrorReport(1003, "WMenuToolbar");
    return;
  }
  int width = 0;
  int height = 0;
  YYToolbarCreate(number, slot, place - 1, width, height);
  if (number == kFailed) {
    YYErrorReport(1002, "WMenuToolbar");
    return;
  }
  if (number == kNoWindow) {
    YYErrorReport(1003, "WMenuToolbar");
    return;
  }
  if (width >= 0 && slot == windowTable.currentIndex) {
    windowTable.clientWidth = width;
    windowTable.clientHeight = height;
    YYTextCellSet(textAttributes.cellWidthUnits, textAttributes.cellHeightUnits);
    YYGraphicsAreaResize(kTargetWindow, slot, width, height);
  }
}

void WMenuSetState(int id, int mode, int state) {
  if (mode < 1 || mode > 2 || state < 0 || state > 1) return;
  int result = state;
  if (mode == 1) {
    YYMenuItemEnable(id, result);
  } else {
    YYMenuItemCheck(id, result);
  }
  if (result == -1) YYErrorReport(1001, "WMenuSetState");
}

void YYMenuItemCheck(int id, int& state) {
  const int slot = YYMenuWorkSlot();
  WindowSlot& s = slotOf(slot);
  const bool on = state == 1;
  const DWORD previous = s.menu != nullptr
                             ? CheckMenuItem(s.menu, static_cast<UINT>(id), MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED))
                             : 0xFFFFFFFF;
  if (previous == 0xFFFFFFFF) state = -1;
  for (HWND bar : s.toolbars) {
    if (!toolbarHas(bar, id)) continue;
    SendMessageA(bar, TB_CHECKBUTTON, static_cast<WPARAM>(id), MAKELONG(on ? TRUE : FALSE, 0));
    state = 1;
    UpdateWindow(bar);
  }
}

void YYMenuItemEnable(int id, int& state) {
  const int slot = YYMenuWorkSlot();
  WindowSlot& s = slotOf(slot);
  const bool on = state == 1;
  const BOOL previous = s.menu != nullptr
                            ? EnableMenuItem(s.menu, static_cast<UINT>(id), MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED))
                            : -1;
  if (previous == -1) {
    state = -1;
  } else {
    YYMenuBarRefresh(id, slot);
  }
  for (HWND bar : s.toolbars) {
    if (!toolbarHas(bar, id)) continue;
    SendMessageA(bar, TB_ENABLEBUTTON, static_cast<WPARAM>(id), MAKELONG(on ? TRUE : FALSE, 0));
    state = 1;
    UpdateWindow(bar);
  }
}

void YYMenuItemStateQuery(int id, int mode, int& state) {
  const WindowSlot& s = slotOf(YYMenuWorkSlot());
  const UINT menuState = s.menu != nullptr ? GetMenuState(s.menu, static_cast<UINT>(id), MF_BYCOMMAND) : 0xFFFFFFFF;
  if (menuState != 0xFFFFFFFF) {
    state = mode == 1 ? ((menuState & MF_GRAYED) ? 0 : 1) : ((menuState & MF_CHECKED) ? 1 : 0);
    return;
  }
  for (HWND bar : s.toolbars) {
    if (!toolbarHas(bar, id)) continue;
    const UINT message = mode == 1 ? TB_ISBUTTONENABLED : TB_ISBUTTONCHECKED;
    state = SendMessageA(bar, message, static_cast<WPARAM>(id), 0) ? 1 : 0;
    return;
  }
  state = -1;
}

void YYMenuItemTextSet(int& id, std::string_view text) {
  const int slot = YYMenuWorkSlot();
  HMENU menu = slotOf(slot).menu;
  const std::string shown = windowsText(text);
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_TYPE;
  info.fType = MFT_STRING;
  info.dwTypeData = const_cast<char*>(shown.c_str());
  if (menu == nullptr || !SetMenuItemInfoA(menu, static_cast<UINT>(id), FALSE, &info)) {
    id = kFailed;
    return;
  }
  YYMenuBarRefresh(id, slot);
}

void YYMenuItemHelpSet(int& id, std::string_view text) {
  const int slot = YYMenuWorkSlot();
  WindowSlot& s = slotOf(slot);
  HMENU containing = nullptr;
  const int position = s.menu != nullptr ? YYMenuItemFind(s.menu, id, containing) : -1;
  if (position < 0) {
    id = kFailed;
    return;
  }
  const std::string shown = windowsText(text);
  char* block = nullptr;
  if (!shown.empty()) {
    block = new char[shown.size() + 1];
    std::memcpy(block, shown.c_str(), shown.size() + 1);
  }
  char* old = itemHelp(containing, static_cast<UINT>(position), true);
  setItemHelp(containing, static_cast<UINT>(position), true, block);
  if (itemHelp(containing, static_cast<UINT>(position), true) != block) {
    delete[] block;
    id = kFailed;
    return;
  }
  delete[] old;
  if (old == nullptr && block != nullptr) ++s.itemHelpCount;
  if (old != nullptr && block == nullptr) --s.itemHelpCount;
}

void YYMenuItemInsert(int& referenceId, int offset, int newId, std::string_view text) {
  const int slot = YYMenuWorkSlot();
  HMENU menu = slotOf(slot).menu;
  HMENU containing = nullptr;
  const int position = menu != nullptr ? YYMenuItemFind(menu, referenceId, containing) : -1;
  if (position < 0) {
    referenceId = kFailed;
    return;
  }
  int at = position + offset - 1;
  if (at > GetMenuItemCount(containing) || at < 0) at = GetMenuItemCount(containing);
  const std::string shown = windowsText(text);
  const BOOL done = newId == 0 ? InsertMenuA(containing, static_cast<UINT>(at), MF_BYPOSITION | MF_SEPARATOR, 0, nullptr)
                               : InsertMenuA(containing, static_cast<UINT>(at), MF_BYPOSITION | MF_STRING,
                                             static_cast<UINT_PTR>(newId), shown.c_str());
  if (!done) {
    referenceId = kFailed;
    return;
  }
  DrawMenuBar(frameOf(slot));
}

void YYMenuItemDelete(int& id) {
  const int slot = YYMenuWorkSlot();
  WindowSlot& s = slotOf(slot);
  HMENU containing = nullptr;
  const int position = s.menu != nullptr ? YYMenuItemFind(s.menu, id, containing) : -1;
  if (position < 0) {
    id = kFailed;
    return;
  }
  if (char* old = itemHelp(containing, static_cast<UINT>(position), true); old != nullptr) {
    delete[] old;
    --s.itemHelpCount;
  }
  if (!DeleteMenu(s.menu, static_cast<UINT>(id), MF_BYCOMMAND)) {
    id = kFailed;
    return;
  }
  if (containing == s.menu) DrawMenuBar(s.frame);
}

void YYToolbarTipSet(int& id, std::string_view text, int length) {
  const int slot = YYMenuWorkSlot();
  WindowSlot& s = slotOf(slot);
  bool owned = false;
  for (HWND bar : s.toolbars) owned = owned || toolbarHas(bar, id);
  if (!owned || s.tips.empty()) {
    id = kFailed;
    return;
  }
  ToolbarTip* entry = nullptr;
  for (ToolbarTip& t : s.tips) {
    if (t.commandId == id) entry = &t;
  }
  if (entry == nullptr) {
    for (ToolbarTip& t : s.tips) {
      if (t.commandId == 0) entry = &t;
    }
  }
  if (entry == nullptr) {
    id = kFailed;
    return;
  }
  if (length == 1) {
    *entry = ToolbarTip{};
    return;
  }
  entry->commandId = id;
  entry->text = text.substr(0, std::min<std::size_t>(text.size(), 79));
}

int YYMenuItemFind(HMENU menu, int id, HMENU& containing) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    if (static_cast<int>(GetMenuItemID(menu, i)) == id) {
      containing = menu;
      return i;
    }
    if (HMENU sub = GetSubMenu(menu, i); sub != nullptr) {
      MENUITEMINFOA info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_ID;
      if (GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info) && static_cast<int>(info.wID) == id) {
        containing = menu;
        return i;
      }
      const int inside = YYMenuItemFind(sub, id, containing);
      if (inside >= 0) return inside;
    }
  }
  return -1;
}

void YYMenuBarRefresh(int id, int slot) {
  const WindowSlot& s = slotOf(slot);
  HMENU containing = nullptr;
  if (s.menu != nullptr && YYMenuItemFind(s.menu, id, containing) >= 0 && containing == s.menu) DrawMenuBar(s.frame);
}

void YYMenuTextsCopy(HMENU popup, HMENU windowMenu) {
  const int count = GetMenuItemCount(popup);
  for (int i = 0; i < count; ++i) {
    if (HMENU sub = GetSubMenu(popup, i); sub != nullptr) {
      YYMenuTextsCopy(sub, windowMenu);
      continue;
    }
    const UINT id = GetMenuItemID(popup, i);
    if (id == 0 || id == 0xFFFFFFFF) continue;
    char text[101] = {};
    MENUITEMINFOA source{};
    source.cbSize = sizeof source;
    source.fMask = MIIM_STATE | MIIM_TYPE;
    source.dwTypeData = text;
    source.cch = sizeof text - 1;
    if (!GetMenuItemInfoA(windowMenu, id, FALSE, &source)) continue;
    source.dwTypeData = text;
    SetMenuItemInfoA(popup, static_cast<UINT>(i), TRUE, &source);
  }
}

void YYMenuItemDataFree(HMENU menu, int slot) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    if (char* text = itemHelp(menu, static_cast<UINT>(i), true); text != nullptr) {
      delete[] text;
      setItemHelp(menu, static_cast<UINT>(i), true, nullptr);
    }
    if (HMENU sub = GetSubMenu(menu, i); sub != nullptr) YYMenuItemDataFree(sub, slot);
  }
  if (isValidSlot(slot)) slotOf(slot).itemHelpCount = 0;
}

void YYWindowBarsOrder(int slot) {
  const WindowSlot& s = slotOf(slot);
  const WindowRecord* record = windowRecordOf(s.frame);
  HWND after = HWND_TOP;
  auto place = [&](HWND w) {
    if (w == nullptr) return;
    SetWindowPos(w, after, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOCOPYBITS | SWP_NOACTIVATE);
    after = w;
  };
  if (record != nullptr && record->kind == kRecordBitmapView) place(record->embeddedDialog);
  place(s.statusBar);
  for (HWND bar : s.toolbars) place(bar);
}

void YYWindowMenuSet(int& number, int slot) {
  if (!slotHasFrame(slot) || isChildFrame(slotOf(slot).frame) ||
      windowRecordKindOf(slotOf(slot).frame) == kRecordBitmapView) {
    number = kNoWindow;
    return;
  }
  WindowSlot& s = slotOf(slot);
  RECT clientBefore{};
  if (s.client != nullptr) GetClientRect(s.client, &clientBefore);
  const bool hadMenu = s.menu != nullptr;
  if (s.menu != nullptr) YYMenuItemDataFree(s.menu, slot);
  if (number == 0) {
    HMENU old = s.menu;
    SetMenu(s.frame, nullptr);
    if (old != nullptr) DestroyMenu(old);
    if (s.accelerators != nullptr) DestroyAcceleratorTable(s.accelerators);
    s.menu = nullptr;
    s.accelerators = nullptr;
    s.menuHelp = nullptr;
    s.menuHelpSize = 0;
    return;
  }
  HMENU menu = YYMenuLoad(number);
  if (menu == nullptr) return;
  HMENU old = s.menu;
  SetMenu(s.frame, menu);
  if (old != nullptr) DestroyMenu(old);
  if (s.accelerators != nullptr) DestroyAcceleratorTable(s.accelerators);
  s.menu = menu;
  YYMenuResourcesLoad(slot, number);
  const WindowRecord* record = windowRecordOf(s.frame);
  if (record != nullptr && record->kind == kRecordChildDialog) {
    // The dialog keeps its client size under the new menu bar.
    RECT frame{};
    GetWindowRect(s.frame, &frame);
    RECT clientNow{};
    GetClientRect(s.client, &clientNow);
    int extra = clientBefore.bottom - clientNow.bottom;
    if (IsZoomed(s.frame) && !hadMenu) extra += GetSystemMetrics(SM_CYMENU);
    SetWindowPos(s.frame, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top + extra,
                 SWP_NOMOVE | SWP_NOZORDER);
    if (record->dialog != nullptr) {
      RECT c{};
      GetClientRect(s.client, &c);
      SendMessageA(record->dialog, WM_SIZE, SIZE_RESTORED, MAKELPARAM(c.right, c.bottom));
    }
  }
}

void YYPopupMenu(int& number, int x, int y) {
  HMENU loaded = YYMenuLoad(number);
  if (loaded == nullptr) return;
  HMENU holder = CreatePopupMenu();
  AppendMenuA(holder, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(loaded), "Dummy");
  HMENU popup = GetSubMenu(holder, 0);
  const int slot = windowTable.currentSlot;
  HMENU windowMenu = slotOf(YYMenuSlotOf(slot)).menu;
  if (windowMenu != nullptr) YYMenuTextsCopy(popup, windowMenu);
  windowTable.popupMenuHelp = findResource(number, "QVRMENUSTRING", windowTable.popupMenuHelpSize);
  POINT p{x, y};
  ClientToScreen(slotOf(slot).client, &p);
  TrackPopupMenu(popup, TPM_LEFTBUTTON, p.x, p.y, 0, slotOf(slot).frame, nullptr);
  DestroyMenu(holder);  // destroys the loaded menu with it
  windowTable.popupMenuHelp = nullptr;
  windowTable.popupMenuHelpSize = 0;
}
