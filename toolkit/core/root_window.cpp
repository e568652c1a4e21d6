#include "toolkit/core/root_window.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "toolkit/core/child_windows.h"
#include "toolkit/core/error_reporter.h"
#include "toolkit/core/events.h"
#include "toolkit/core/menus_toolbars.h"
#include "toolkit/core/status_bar.h"
#include "toolkit/core/system_info.h"
#include "toolkit/core/toolkit_settings.h"
#include "toolkit/core/window_procs.h"
#include "toolkit/core/window_select.h"
#include "toolkit/core/window_table.h"
#include "toolkit/core/window_text.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/message_box.h"
#include "toolkit/dialogs/numeric_fields.h"
#include "toolkit/drivers/hardcopy_start_stop.h"
#include "toolkit/graphics/colours.h"
#include "toolkit/graphics/graphics_defaults.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/output_targets.h"
#include "toolkit/graphics/screen_gdi.h"
#include "toolkit/grid/grid_register.h"

namespace {

constexpr const char* kFrameClass = "ZANDROVEL";
constexpr const char* kClientClass = "ZNDVCLIENT";
constexpr const char* kBoxTitle = "Zandrovel Window";

[[noreturn]] void abortWith(const char* text) {
  MessageBoxA(nullptr, text, kBoxTitle, MB_OK | MB_ICONHAND);
  ExitProcess(0);
}

ATOM registerClass(const char* name, WNDPROC procedure, UINT style, bool withIcon) {
  WNDCLASSA wc{};
  wc.style = style;
  wc.lpfnWndProc = procedure;
  wc.hInstance = windowTable.module;
  wc.hIcon = withIcon ? LoadIconA(windowTable.module, "icon1") : nullptr;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = name;
  return RegisterClassA(&wc);
}

DWORD frameStyleOf(int flags) {
  DWORD style = WS_CAPTION | WS_CLIPCHILDREN;
  if (flags & kFlagSystemMenu) style |= WS_SYSMENU;
  if (flags & kFlagMinimiseBox) style |= WS_MINIMIZEBOX;
  if (flags & kFlagMaximiseBox) style |= WS_MAXIMIZEBOX;
  if (flags & kFlagMaximised) style |= WS_MAXIMIZE;
  if (!(flags & kFlagFixedSize)) style |= WS_THICKFRAME;
  return style;
}

// Rich edit 2.0 answers EM_POSFROMCHAR in a point structure (kind 3) or not (kind 2).
int probeRichEdit() {
  if (LoadLibraryA("riched20.dll") == nullptr) {
    LoadLibraryA("riched32.dll");
    return 1;
  }
  HWND probe = CreateWindowExA(0, "RichEdit20A", "", WS_POPUP | ES_MULTILINE, 0, 0, 10, 10, nullptr, nullptr,
                               windowTable.module, nullptr);
  if (probe == nullptr) return 2;
  SetWindowTextA(probe, "ab");
  POINTL first{-99, -99};
  POINTL second{-99, -99};
  SendMessageA(probe, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&first), 1);
  SendMessageA(probe, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&second), 1);
  DestroyWindow(probe);
  return first.x == -99 && first.y == -99 && second.x == -99 && second.y == -99 ? 2 : 3;
}

void buildPalette(int paletteColours) {
  const int entries = paletteColours + 18;
  yyGdiContext.PaletteRecord.assign(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * static_cast<std::size_t>(entries), 0);
  auto* logical = reinterpret_cast<LOGPALETTE*>(yyGdiContext.PaletteRecord.data());
  logical->palVersion = 0x300;
  logical->palNumEntries = static_cast<WORD>(entries);
  YYPaletteEntries(paletteColours, logical->palPalEntry);
  yyGdiContext.Palette = CreatePalette(logical);
}

}  // namespace

void YYPaletteEntries(int n, PALETTEENTRY* entries) {
  auto set = [&](int i, int r, int g, int b) {
    entries[i] = PALETTEENTRY{static_cast<BYTE>(r), static_cast<BYTE>(g), static_cast<BYTE>(b), 0};
  };
  if (n == 16) {
    static constexpr std::array<COLORREF, 16> kSixteen = {
        RGB(0xFF, 0xFF, 0xFF), RGB(0x00, 0x00, 0xBF), RGB(0x00, 0xBF, 0x00), RGB(0x00, 0xBF, 0xBF),
        RGB(0xBF, 0x00, 0x00), RGB(0xBF, 0x00, 0xBF), RGB(0xBF, 0xBF, 0x00), RGB(0x40, 0x40, 0x40),
        RGB(0xBF, 0xBF, 0xBF), RGB(0x00, 0x00, 0xFF), RGB(0x00, 0xFF, 0x00), RGB(0x00, 0xFF, 0xFF),
        RGB(0xFF, 0x00, 0x00), RGB(0xFF, 0x00, 0xFF), RGB(0xFF, 0xFF, 0x00), RGB(0x00, 0x00, 0x00)};
    for (int i = 0; i < 16; ++i) {
      const COLORREF c = kSixteen[static_cast<std::size_t>(i)];
      set(i, GetRValue(c), GetGValue(c), GetBValue(c));
    }
  } else {
    const int k = n / 16;
    const int d = 1024 / n;
    for (int j = 0; j < k; ++j) {
      const int falling = 0xFF - j * d;
      const int bright = 0xFF - (k - 1 - j) * d;
      const int dark = 0xBF - (k - 1 - j) * d;
      set(j, falling, falling, falling);
      for (int hue = 0; hue < 6; ++hue) {
        // red, yellow, green, cyan, blue, magenta: which components carry the ramp
        static constexpr std::array<std::array<int, 3>, 6> kHues = {
            {{1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 1, 1}, {0, 0, 1}, {1, 0, 1}}};
        const auto& h = kHues[static_cast<std::size_t>(hue)];
        const int band = 1 + 2 * hue;
        set(band * k + j, h[0] * bright, h[1] * bright, h[2] * bright);
        set((band + 1) * k + j, h[0] * dark, h[1] * dark, h[2] * dark);
      }
      const int rising = (k - 1 - j) * d;
      set(13 * k + j, rising, rising, rising);
      set(14 * k + j, 0x40 + rising, 0x40 + rising, 0x40 + rising);
      set(15 * k + j, 0xBF - j * d, 0xBF - j * d, 0xBF - j * d);
    }
  }
  for (int i = 0; i < kWindowColours; ++i) {
    const COLORREF c = windowColours[static_cast<std::size_t>(i)];
    set(n + i, GetRValue(c), GetGValue(c), GetBValue(c));
  }
}

int YYCombinedDialogProbe(int dialogNumber, SIZE& size) {
  HWND probeParent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, windowTable.module,
                                     nullptr);
  HWND dialog = CreateDialogParamA(windowTable.module, MAKEINTRESOURCEA(dialogNumber), probeParent, YYNullDialogProc, 0);
  int result = -1;
  if (dialog != nullptr) {
    const LONG style = GetWindowLongA(dialog, GWL_STYLE);
    const bool accepted = (style & WS_CHILD) && (style & DS_CONTROL) && !(style & WS_CAPTION) && !(style & WS_SYSMENU);
    if (accepted) {
      RECT r{};
      GetWindowRect(dialog, &r);
      size.cx = r.right - r.left;
      size.cy = r.bottom - r.top;
      result = 0;
    } else {
      result = -2;
    }
    DestroyWindow(dialog);
  }
  if (probeParent != nullptr) DestroyWindow(probeParent);
  return result;
}

void YYCombinedDialogFit(int& dialog, int& width, int& height, int& flags) {
  if (dialog <= 0) return;
  SIZE size{};
  const int probe = YYCombinedDialogProbe(dialog, size);
  if (probe == 0) {
    width = size.cx;
    height = size.cy;
    flags = (flags | kFlagFixedSize) & ~(kFlagMaximiseBox | kFlagMaximised);
  } else {
    dialog = probe;
  }
}

int YYCombinedDialogAttach(int slot, int dialogNumber, bool hidden) {
  WindowSlot& s = slotOf(slot);
  int number = dialogNumber;
  YYDialogCreate(number, dialogNumber, slot);
  if (number < 0) return -1;
  const int dialogSlot = dialogTable.currentSlot;
  HWND dialog = currentDialogWindow();
  DialogRecord* record = dialogRecordOf(dialog);
  if (record == nullptr) return -1;
  // The dialog is part of its window: the window's keys serve it, and the
  // window is where the focus goes back to.
  record->combinedWindow = s.frame;
  auto* windowRecord = new WindowRecord{};
  windowRecord->kind = kRecordCombinedDialog;
  windowRecord->dialog = dialog;
  SetWindowLongPtrA(s.frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(windowRecord));
  record->ownerWindow = s.frame;
  record->reactivationWindow = s.frame;
  if (!hidden) YYCombinedDialogShow(slot);
  return dialogSlot;
}

void YYCombinedDialogShow(int slot) {
  const WindowRecord* windowRecord = windowRecordOf(slotOf(slot).frame);
  if (windowRecord == nullptr || windowRecord->kind != kRecordCombinedDialog) return;
  HWND dialog = windowRecord->dialog;
  DialogRecord* record = dialogRecordOf(dialog);
  const int dialogSlot = loadedSlotOf(dialog);
  if (record == nullptr || dialogSlot < 1) return;
  if (record->shown == 1) {
    ShowWindow(dialog, SW_SHOWNOACTIVATE);
    return;
  }
  // Shown modeless at the window's top left, whichever dialog the program
  // has current meanwhile.
  const int currentSlot = dialogTable.currentSlot;
  dialogTable.currentSlot = dialogSlot;
  int mode = kShowModeless;
  YYDialogShow(0, 0, 0, 0, mode, 0, 1);
  dialogTable.currentSlot = currentSlot;
  record->ownerWindow = slotOf(slot).frame;
  record->reactivationWindow = slotOf(slot).frame;
}

void YYCombinedDialogRelease(int slot) {
  WindowSlot& s = slotOf(slot);
  WindowRecord* record = windowRecordOf(s.frame);
  if (record == nullptr || record->kind != kRecordCombinedDialog) return;
  HWND dialog = record->dialog;
  if (const int dialogSlot = loadedSlotOf(dialog); dialogSlot >= 1) {
    // Unloading makes no dialog current; a program's other current dialog stays so.
    HWND current = currentDialogWindow();
    const int currentIdentifier = dialogTable.currentIdentifier;
    int hide = dialogSlot;
    YYDialogHide(hide);
    YYDialogUnload(0, dialogSlot);
    if (current != nullptr && current != dialog) {
      dialogTable.currentSlot = loadedSlotOf(current) >= 1 ? loadedSlotOf(current) : 0;
      dialogTable.currentIdentifier = currentIdentifier;
    } else {
      dialogTable.currentIdentifier = 0;
    }
  }
  delete record;
  SetWindowLongPtrA(s.frame, GWLP_USERDATA, 0);
}

bool YYFrameBarsBuild(int slot, int flags, const std::array<int, 4>& toolbars, bool centredX, bool centredY) {
  WindowSlot& s = slotOf(slot);
  RECT frame{};
  GetWindowRect(s.frame, &frame);
  if (HWND parent = GetParent(s.frame); parent != nullptr && (GetWindowLongA(s.frame, GWL_STYLE) & WS_CHILD)) {
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&frame), 2);
  }
  const bool maximised = (flags & kFlagMaximised) != 0;
  bool anyBar = false;
  auto grow = [&](int extent, bool sideways) {
    if (sideways) {
      frame.right += extent;
      if (centredX && !maximised) OffsetRect(&frame, -extent / 2, 0);
    } else {
      frame.bottom += extent;
      if (centredY && !maximised) OffsetRect(&frame, 0, -extent / 2);
    }
  };
  for (int position = kToolbarTop; position <= kToolbarBottom; ++position) {
    int number = toolbars[static_cast<std::size_t>(position)];
    if (number == 0) continue;
    int w = 0;
    int h = 0;
    YYToolbarCreate(number, slot, position, w, h);
    HWND bar = s.toolbars[static_cast<std::size_t>(position)];
    if (bar == nullptr) continue;
    anyBar = true;
    RECT r{};
    GetWindowRect(bar, &r);
    const bool sideways = position == kToolbarLeft || position == kToolbarRight;
    grow(sideways ? r.right - r.left : r.bottom - r.top, sideways);
  }
  YYStatusStylesClear(slot);
  if (flags & kFlagStatusBar) {
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN |
                        ((flags & kFlagFixedSize) ? 0 : SBARS_SIZEGRIP);
    s.statusBar = CreateWindowExA(0, STATUSCLASSNAMEA, "", style, 0, 0, frame.right - frame.left, 10, s.frame,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusBarId)), windowTable.module,
                                  nullptr);
    if (s.statusBar != nullptr) {
      anyBar = true;
      RECT r{};
      GetWindowRect(s.statusBar, &r);
      grow(r.bottom - r.top, false);
    }
  }
  if (anyBar) {
    SetWindowPos(s.frame, nullptr, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOZORDER);
    if (s.statusBar != nullptr) SendMessageA(s.statusBar, WM_SIZE, 0, 0);
  }
  RECT client{};
  GetClientRect(s.frame, &client);
  auto extentOf = [](HWND w, bool sideways) -> int {
    if (w == nullptr) return 0;
    RECT r{};
    GetWindowRect(w, &r);
    return sideways ? r.right - r.left : r.bottom - r.top;
  };
  client.top += extentOf(s.toolbars[kToolbarTop], false);
  client.bottom -= extentOf(s.toolbars[kToolbarBottom], false) + extentOf(s.statusBar, false);
  client.left += extentOf(s.toolbars[kToolbarLeft], true);
  client.right -= extentOf(s.toolbars[kToolbarRight], true);
  s.client = CreateWindowExA(0, kClientClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                             client.left, client.top, client.right - client.left, client.bottom - client.top, s.frame,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)), windowTable.module, nullptr);
  return s.client != nullptr;
}

void YYRootWindowCreate(int x, int y, int& width, int& height, int flags, int menuNumber,
                        const std::array<int, 4>& toolbars, int paletteColours, int& dialog, const char* title) {
  windowTable.module = GetModuleHandleA(nullptr);
  eventEnableTable = kEventEnableDefaults;
  WindowSlot& root = slotOf(0);

  UnregisterClassA(kFrameClass, windowTable.module);
  windowTable.frameAtom = registerClass(kFrameClass, YYFrameWindowProc, 0, true);
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  if (const ATOM known = static_cast<ATOM>(GetClassInfoExA(windowTable.module, kClientClass, &existing)); known != 0) {
    windowTable.clientAtom = known;
  } else {
    windowTable.clientAtom =
        registerClass(kClientClass, YYClientWindowProc, CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, false);
  }
  if (windowTable.frameAtom == 0 || windowTable.clientAtom == 0) abortWith("Failed to register class - aborting.");

  LoadLibraryA("comctl32.dll");
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  root.frame = CreateWindowExA(0, kFrameClass, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, windowTable.module,
                               nullptr);
  if (root.frame == nullptr) abortWith("Failed to create window - aborting.");
  YYNumericFieldClasses();
  YYGridRegister();
  windowTable.richEditKind = probeRichEdit();
  windowTable.findReplaceMessage = RegisterWindowMessageA("commdlg_FindReplace");
  YYDialogManagerOpen();
  windowTable.lastResizeWidth = width;
  windowTable.lastResizeHeight = height;

  YYCombinedDialogFit(dialog, width, height, flags);

  DestroyWindow(root.frame);
  root.frame = nullptr;
  int menuId = menuNumber;
  HMENU menu = menuNumber != 0 ? YYMenuLoad(menuId) : nullptr;

  const DWORD style = frameStyleOf(flags);
  const DWORD exStyle = (flags & kFlagTopmost) ? WS_EX_TOPMOST : 0;
  RECT r{0, 0, width, height};
  AdjustWindowRectEx(&r, style, menu != nullptr, exStyle);
  const int frameWidth = r.right - r.left;
  const int frameHeight = r.bottom - r.top;
  const bool centredX = x == kCentred;
  const bool centredY = y == kCentred;
  if (centredX) x = (windowTable.screenWidth - frameWidth) / 2;
  if (centredY) y = (windowTable.screenHeight - frameHeight) / 2;

  root.frame = CreateWindowExA(exStyle, kFrameClass, title, style, x, y, frameWidth, frameHeight, nullptr, menu,
                               windowTable.module, nullptr);
  if (root.frame == nullptr) abortWith("Failed to create window - aborting.");
  if (menu != nullptr) {
    root.menu = menu;
    YYMenuResourcesLoad(0, menuNumber);
  }
  RECT placed{};
  GetWindowRect(root.frame, &placed);
  windowTable.rootPosition = POINT{placed.left, placed.top};

  if (!YYFrameBarsBuild(0, flags, toolbars, centredX, centredY)) abortWith("Failed to create window - aborting.");
  if (!(flags & kFlagMaximised)) {
    // A menu bar that wraps, or bars whose size differs from the estimate,
    // would change the client size: the frame is corrected to the size asked for.
    RECT client{};
    GetClientRect(root.client, &client);
    const int dx = width - client.right;
    const int dy = height - client.bottom;
    if (dx != 0 || dy != 0) {
      GetWindowRect(root.frame, &placed);
      const int nx = centredX ? placed.left - dx / 2 : placed.left;
      const int ny = centredY ? placed.top - dy / 2 : placed.top;
      SetWindowPos(root.frame, nullptr, nx, ny, placed.right - placed.left + dx, placed.bottom - placed.top + dy,
                   SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOZORDER);
    }
  }

  const bool hidden = (flags & kFlagHidden) != 0;
  if (dialog > 0) {
    dialog = YYCombinedDialogAttach(0, dialog, hidden);
    windowTable.combinedDialog = dialog > 0;
  }

  RECT client{};
  if (hidden) {
    ShowWindow(root.frame, SW_HIDE);
    windowTable.hidden = true;
    if (flags & kFlagMaximised) {
      GetClientRect(root.frame, &client);
      SendMessageA(root.frame, WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(client.right, client.bottom));
    }
  } else {
    windowTable.hidden = false;
    if (flags & kFlagMaximised) {
      ShowWindow(root.frame, SW_SHOWMAXIMIZED);
      GetClientRect(root.frame, &client);
      SendMessageA(root.frame, WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(client.right, client.bottom));
    } else {
      ShowWindow(root.frame, SW_SHOWNORMAL);
    }
    ValidateRect(root.client, nullptr);
    if (const WindowRecord* record = windowRecordOf(root.frame); record != nullptr && record->dialog != nullptr) {
      UpdateWindow(record->dialog);
    }
  }

  yyGdiContext.DrawDc = GetDC(root.client);
  SetBkMode(yyGdiContext.DrawDc, TRANSPARENT);
  SetTextAlign(yyGdiContext.DrawDc, TA_BASELINE);
  GetClientRect(root.client, &client);
  windowTable.clientWidth = width = client.right;
  windowTable.clientHeight = height = client.bottom;
  windowTable.lastResizeWidth = width;
  windowTable.lastResizeHeight = height;

  textAttributes.textColour = 0;
  textAttributes.backgroundColour = 15;
  std::copy(kStandardWindowColours.begin(), kStandardWindowColours.end(), windowColours.begin());
  windowColours[16] = GetSysColor(COLOR_WINDOWTEXT);
  windowColours[17] = GetSysColor(COLOR_WINDOW);
  windowTable.currentSlot = 0;
  yyGrAttributes.TargetKind = kTargetWindow;
  yyGrAttributes.TargetId = 0;
  yyGdiContext.DrawWindow = root.client;
  yyGdiContext.ClipRegion.reset();
  windowTable.toolkitPen = nullptr;
  windowTable.toolkitBrush = nullptr;
  eventState.timedWait = false;

  windowTable.paletteColours = paletteColours;
  if (isPaletteDisplay()) {
    buildPalette(paletteColours);
    // Text and fills go through the drawing context: it draws in the palette's colours too.
    SelectPalette(yyGdiContext.DrawDc, yyGdiContext.Palette, FALSE);
    RealizePalette(yyGdiContext.DrawDc);
  }

  if (yyGdiContext.PatternBitmap == nullptr) yyGdiContext.PatternBitmap = CreateCompatibleBitmap(yyGdiContext.DrawDc, 8, 8);
  yyGdiContext.RopCode = R2_COPYPEN;
  // Geometric pens with user dash arrays exist on the NT platform only.
  yyGdiContext.StyledPens = toolkitSettings.ntFlag != 0 ? 1 : 0;
  yyGdiContext.ReferenceResolution = toolkitSettings.pixelsPerInch;
  YYGdiDashPattern();

  windowTable.msimg32 = LoadLibraryA("msimg32.dll");
  yyGradientFill = windowTable.msimg32 != nullptr
                       ? reinterpret_cast<GradientFillFunction>(GetProcAddress(windowTable.msimg32, "GradientFill"))
                       : nullptr;
  windowTable.mapi32 = LoadLibraryA("mapi32.dll");
  windowTable.mapiSendMail = windowTable.mapi32 != nullptr ? GetProcAddress(windowTable.mapi32, "MAPISendMail") : nullptr;

  YYEventsClear();
  if (!hidden) SetFocus(root.client);
  windowTable.ownerWindow = root.frame;
}

void WindowOpen2(const RootWindowOptions& options) {
  if (windowTable.rootOpen) return;
  YYScreenMeasure(windowTable.screenWidth, windowTable.screenHeight, windowTable.colourCount);
  const int flags = options.flags.value_or(7);
  const int x = options.x.value_or(kCentred);
  const int y = options.y.value_or(kCentred);
  int width = options.width.value_or(0);
  int height = options.height.value_or(0);
  if (width <= 0) width = windowTable.screenWidth * 80 / 100;
  if (height <= 0) height = windowTable.screenHeight * 80 / 100;
  const int menu = options.menu.value_or(0);
  int dialog = options.dialog.value_or(0);
  int paletteColours = options.paletteColours.value_or(16);
  if (paletteColours != 16 && paletteColours != 32 && paletteColours != 64 && paletteColours != 128) {
    paletteColours = 16;
  }
  windowTable.clientWidth = width;
  windowTable.clientHeight = height;
  const std::string title = windowsText(options.title.value_or(""));

  YYRootWindowCreate(x, y, width, height, flags, menu, options.toolbars, paletteColours, dialog, title.c_str());

  if (dialog > 0) {
    dialogTable.currentSlot = dialog;
    dialogTable.currentIdentifier = options.dialog.value_or(0);
  }
  if (dialog == -1) YYErrorReport(1007, "WindowOpen2");
  if (dialog == -2) YYErrorReport(1045, "WindowOpen2");
  if (isPaletteDisplay()) toolkitSettings.colourDepthCode = paletteColours;
  yyGrAttributes.DisplayDepth = toolkitSettings.colourDepthCode;

  windowTable.rootFlags = flags;
  windowTable.rootOpen = true;
  windowTable.currentIndex = 0;
  YYTextAttributesReset();
  YYColourDefaults();
  YYGraphicsDefaults(" ");
}

void WindowOpenRecord(const WindowSettings& settings, std::optional<int> paletteColours) {
  RootWindowOptions options;
  options.flags = settings.flags;
  options.x = settings.x < 0 ? kCentred : settings.x;
  options.y = settings.y < 0 ? kCentred : settings.y;
  options.width = settings.width <= 0 ? -1 : settings.width;
  options.height = settings.height <= 0 ? -1 : settings.height;
  options.menu = settings.menu;
  options.title = settings.title.view();
  options.paletteColours = paletteColours;
  WindowOpen2(options);
}

void YYRootWindowClose() {
  HDC dc = yyGdiContext.DrawDc;
  YYGdiRelease();
  if (yyGdiContext.PatternBitmap != nullptr) DeleteObject(yyGdiContext.PatternBitmap);
  yyGdiContext.PatternBitmap = nullptr;
  YYDrawDcRestoreObjects(dc);
  if (windowTable.toolkitPen != nullptr) DeleteObject(windowTable.toolkitPen);
  if (windowTable.toolkitBrush != nullptr) DeleteObject(windowTable.toolkitBrush);
  windowTable.toolkitPen = nullptr;
  windowTable.toolkitBrush = nullptr;
  if (dc != nullptr) SelectPalette(dc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
  if (yyGdiContext.Palette != nullptr) DeleteObject(yyGdiContext.Palette);
  yyGdiContext.Palette = nullptr;
  yyGdiContext.PaletteRecord.clear();
  for (int slot = 0; slot <= kMaxWindowSlot; ++slot) YYCombinedDialogRelease(slot);
  YYDialogManagerClose();
  windowTable.activeModelessDialog = nullptr;
  windowTable.activeModelessOwnerSlot = -1;
  windowTable.ownerWindow = nullptr;
  windowTable.combinedDialog = false;
  if (windowTable.msimg32 != nullptr) FreeLibrary(windowTable.msimg32);
  if (windowTable.helpLibrary != nullptr) FreeLibrary(windowTable.helpLibrary);
  if (windowTable.mapi32 != nullptr) FreeLibrary(windowTable.mapi32);
  windowTable.msimg32 = windowTable.helpLibrary = windowTable.mapi32 = nullptr;
  yyGradientFill = nullptr;
  windowTable.mapiSendMail = nullptr;
  for (int slot = 0; slot <= kMaxWindowSlot; ++slot) YYWindowMciClose(slot);
  YYTextFontRelease();
  if (dc != nullptr) ReleaseDC(slotOf(0).client, dc);
  yyGdiContext.DrawDc = nullptr;
  yyGdiContext.DrawWindow = nullptr;
  for (int slot = kMaxWindowSlot; slot >= 0; --slot) {
    WindowSlot& s = slotOf(slot);
    if (s.frame != nullptr && IsWindow(s.frame)) DestroyWindow(s.frame);
    s.frame = s.client = s.statusBar = nullptr;
    s.tips.clear();
  }
  windowTable.currentSlot = 0;
  for (WindowSlot& s : windowTable.slots) s.toolbars.fill(nullptr);
  eventEnableTable = kEventEnableDefaults;
}

void WShutdown() {
  YYHardcopyStartStop("S", " ");
  for (int slot = 1; slot <= kMetafileSlots; ++slot) {
    if (yyMetafileSlots[static_cast<std::size_t>(slot)].kind() != kSlotEmpty) WMetafileDestroy(slot);
  }
  YYRootWindowClose();
  YYLastResultsReset();
  windowTable.rootOpen = false;
  windowTable.rootFlags = -1;
}
