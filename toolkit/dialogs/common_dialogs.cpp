#include "toolkit/dialogs/common_dialogs.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "toolkit/core/scoped_handle.h"
#include "toolkit/core/window_table.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/message_box.h"
#include "toolkit/drivers/printer_device.h"

namespace {

// ---- Colour chooser ----

std::array<COLORREF, 16> customColours{};
bool customColoursSet = false;

// ---- Page set-up ----

// The printer choice of the last accepted page set-up, kept for the run.
struct PageSetupState {
  GlobalMemory devMode;
  GlobalMemory devNames;
  POINT paper{};
  DWORD unitsFlag = 0;
};
PageSetupState pageSetup;

// Takes the handles that the dialog hands back; any it replaced it has freed.
void keepHandles(const PAGESETUPDLGA& record) {
  if (record.hDevMode != pageSetup.devMode.get()) {
    pageSetup.devMode.release();
    pageSetup.devMode.reset(record.hDevMode);
  }
  if (record.hDevNames != pageSetup.devNames.get()) {
    pageSetup.devNames.release();
    pageSetup.devNames.reset(record.hDevNames);
  }
}

// The default printer's page in the units; false when there is no printer.
bool defaultPage(DWORD unitsFlag, PAGESETUPDLGA& record) {
  record = PAGESETUPDLGA{};
  record.lStructSize = sizeof record;
  record.Flags = PSD_RETURNDEFAULT | unitsFlag;
  return PageSetupDlgA(&record) != FALSE;
}

template <typename T>
class LockedMemory {
 public:
  explicit LockedMemory(HGLOBAL memory)
      : memory_(memory), data_(memory != nullptr ? static_cast<T*>(GlobalLock(memory)) : nullptr) {}
  ~LockedMemory() {
    if (data_ != nullptr) GlobalUnlock(memory_);
  }
  LockedMemory(const LockedMemory&) = delete;
  LockedMemory& operator=(const LockedMemory&) = delete;
  T* get() const { return data_; }
  T* operator->() const { return data_; }

 private:
  HGLOBAL memory_;
  T* data_;
};

void copyName(std::string& target, const DEVNAMES* names, WORD offset) {
  const char* text = reinterpret_cast<const char*>(names) + offset;
  target.assign(text, strnlen(text, kBrowseDirectoryLength - 1));
}

void keepPrinterChoice(const DEVMODEA* mode) {
  if (mode != nullptr) {
    yyPrinterSettings.paperSize = mode->dmPaperSize;
    yyPrinterSettings.paperLength = mode->dmPaperLength;
    yyPrinterSettings.paperWidth = mode->dmPaperWidth;
    yyPrinterSettings.scale = mode->dmScale;
    yyPrinterSettings.defaultSource = mode->dmDefaultSource;
    yyPrinterSettings.printQuality = mode->dmPrintQuality;
    yyPrinterSettings.colour = mode->dmColor;
    yyPrinterSettings.duplex = mode->dmDuplex;
    yyPrinterSettings.yResolution = mode->dmYResolution;
    yyPrinterSettings.trueTypeOption = mode->dmTTOption;
    yyPrinterSettings.collate = mode->dmCollate;
    yyPrinterSettings.mediaType = static_cast<int>(mode->dmMediaType);
    yyPrinterSettings.ditherType = static_cast<int>(mode->dmDitherType);
  }
  const LockedMemory<DEVNAMES> names(pageSetup.devNames.get());
  if (names.get() != nullptr) {
    copyName(yyChosenPrinter.driver, names.get(), names->wDriverOffset);
    copyName(yyChosenPrinter.device, names.get(), names->wDeviceOffset);
    copyName(yyChosenPrinter.port, names.get(), names->wOutputOffset);
    yyChosenPrinter.chosen = 1;
  }
  yyPrinterSettings.pageSetupRemembered = 1;
}

int printerColours(const DEVMODEA* mode) {
  HDC context = CreateICA(yyChosenPrinter.driver.c_str(), yyChosenPrinter.device.c_str(),
                          yyChosenPrinter.port.c_str(), mode);
  if (context == nullptr) return 0;
  const int colours = GetDeviceCaps(context, NUMCOLORS);
  DeleteDC(context);
  return colours;
}

// ---- Folder browser ----

constexpr const char* kDefaultBrowseTitle = "Select Directory";
// The shell's browse dialog shows the caller's title in this static control.
constexpr int kBrowseTitleControl = 0x3742;
constexpr int kEditHeightDialogUnits = 13;

struct BrowseState {
  char* directory = nullptr;
  int flags = 0;
  HWND edit = nullptr;
  WNDPROC shellProcedure = nullptr;
  bool initialised = false;
};
BrowseState browse;

std::string classNameOf(HWND window) {
  std::array<char, 64> name{};
  GetClassNameA(window, name.data(), static_cast<int>(name.size()));
  return name.data();
}

// The static text that shows the title: the shell's title control, else the
// first static text of the dialog.
HWND titleControl(HWND dialog) {
  if (HWND title = GetDlgItem(dialog, kBrowseTitleControl); title != nullptr) return title;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (lstrcmpiA(classNameOf(child).c_str(), "Static") == 0) return child;
  }
  return nullptr;
}

void setDirectory(const char* path) {
  const std::size_t n = strnlen(path, kBrowseDirectoryLength);
  std::memcpy(browse.directory, path, n);
  browse.directory[n] = '\0';
}

void browseInitialise(HWND dialog) {
  HWND title = titleControl(dialog);
  RECT place{0, 0, 0, 0};
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
  if (title != nullptr) {
    ShowWindow(title, SW_HIDE);
    const int length = GetWindowTextLengthA(title);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    GetWindowTextA(title, text.data(), length + 1);
    SetWindowTextA(dialog, text.c_str());
    GetWindowRect(title, &place);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    if (HFONT own = reinterpret_cast<HFONT>(SendMessageA(title, WM_GETFONT, 0, 0)); own != nullptr) font = own;
  }
  RECT height{0, 0, 0, kEditHeightDialogUnits};
  MapDialogRect(dialog, &height);
  browse.edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", browse.directory,
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, place.left, place.top,
                                place.right - place.left, height.bottom, dialog,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kBrowsePathField)),
                                reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE)), nullptr);
  if (browse.edit != nullptr) {
    SendMessageA(browse.edit, EM_LIMITTEXT, kBrowseDirectoryLength, 0);
    if (font != nullptr) SendMessageA(browse.edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  browse.initialised = true;
  SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(browse.directory));
  if ((browse.flags & (kBrowseNoCheck | kBrowseOfferCreate)) != 0) SendMessageA(dialog, BFFM_ENABLEOK, 0, TRUE);
  browse.shellProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&YYDirectoryBrowseProc)));
}

int CALLBACK browseCallback(HWND dialog, UINT message, LPARAM lParam, LPARAM) {
  if (message == BFFM_INITIALIZED) {
    browseInitialise(dialog);
  } else if (message == BFFM_SELCHANGED && browse.initialised) {
    // Selections the shell makes while it sets itself up would overwrite the
    // caller's folder before it is shown: only those after it count.
    std::array<char, MAX_PATH + 1> path{};
    if (lParam != 0 && SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(lParam), path.data())) {
      setDirectory(path.data());
      if (browse.edit != nullptr) SetWindowTextA(browse.edit, browse.directory);
    } else {
      SendMessageA(dialog, BFFM_ENABLEOK, 0, FALSE);
    }
  }
  return 0;
}

// ---- Shared ----

// The owner of a common dialog, with the other windows disabled while it runs.
class CommonDialogRun {
 public:
  CommonDialogRun() : owner_(YYModalBoxOwner()) { YYModalBoxBegin(owner_); }
  ~CommonDialogRun() { YYModalBoxEnd(owner_); }
  CommonDialogRun(const CommonDialogRun&) = delete;
  CommonDialogRun& operator=(const CommonDialogRun&) = delete;
  HWND owner() const { return owner_; }

 private:
  HWND owner_;
};

}  // namespace

void YYColourChooser(int& red, int& green, int& blue, int& status, int& extendedError) {
  if (!customColoursSet) {
    std::copy(kStandardWindowColours.begin(), kStandardWindowColours.end(), customColours.begin());
    customColoursSet = true;
  }
  CHOOSECOLORA choice{};
  choice.lStructSize = sizeof choice;
  choice.rgbResult = RGB(red & 0xFF, green & 0xFF, blue & 0xFF);
  choice.lpCustColors = customColours.data();
  choice.Flags = CC_RGBINIT | CC_FULLOPEN;
  BOOL chosen = FALSE;
  {
    const CommonDialogRun run;
    choice.hwndOwner = run.owner();
    chosen = ChooseColorA(&choice);
  }
  if (chosen) {
    red = GetRValue(choice.rgbResult);
    green = GetGValue(choice.rgbResult);
    blue = GetBValue(choice.rgbResult);
    status = 1;
    extendedError = 0;
  } else {
    status = 0;
    extendedError = static_cast<int>(CommDlgExtendedError());
  }
}

void YYPageSetup(int& paperWidth, int& paperHeight, int& printableWidth, int& printableHeight, int& leftMargin,
                 int& topMargin, int& orientation, int& copies, int units, int& colourCount, int& status) {
  status = 0;
  HWND activeBefore = activeModelessDialog();
  const DWORD unitsFlag = units < kPageUnitsMillimetres ? PSD_INTHOUSANDTHSOFINCHES : PSD_INHUNDREDTHSOFMILLIMETERS;
  PAGESETUPDLGA defaults{};
  if (yyPrinterSettings.pageSetupRemembered != 0 && pageSetup.devMode) {
    if (unitsFlag != pageSetup.unitsFlag) {
      if (!defaultPage(unitsFlag, defaults)) return;
      pageSetup.paper = defaults.ptPaperSize;
      // Only the paper size in the new units is wanted of the default page.
      const GlobalMemory defaultMode{defaults.hDevMode};
      const GlobalMemory defaultNames{defaults.hDevNames};
    }
  } else {
    pageSetup.devMode.reset();
    pageSetup.devNames.reset();
    // No printer at all: there is nothing to set up.
    if (!defaultPage(unitsFlag, defaults)) return;
    pageSetup.devMode.reset(defaults.hDevMode);
    pageSetup.devNames.reset(defaults.hDevNames);
    pageSetup.paper = defaults.ptPaperSize;
  }
  pageSetup.unitsFlag = unitsFlag;

  {
    const LockedMemory<DEVMODEA> mode(pageSetup.devMode.get());
    if (mode.get() != nullptr) {
      const short wanted = orientation == 1 ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
      if (mode->dmOrientation != wanted) {
        std::swap(pageSetup.paper.x, pageSetup.paper.y);
        mode->dmOrientation = wanted;
        mode->dmFields |= DM_ORIENTATION;
      }
      mode->dmCopies = static_cast<short>(copies);
      mode->dmFields |= DM_COPIES;
    }
  }

  PAGESETUPDLGA record{};
  record.lStructSize = sizeof record;
  record.hDevMode = pageSetup.devMode.get();
  record.hDevNames = pageSetup.devNames.get();
  record.Flags = unitsFlag | PSD_MARGINS;
  // A printable area larger than the paper would give negative margins,
  // which the dialog cannot show: they become 0.
  record.rtMargin.left = std::max(leftMargin, 0);
  record.rtMargin.top = std::max(topMargin, 0);
  record.rtMargin.right = std::max<LONG>(pageSetup.paper.x - printableWidth - leftMargin, 0);
  record.rtMargin.bottom = std::max<LONG>(pageSetup.paper.y - printableHeight - topMargin, 0);
  BOOL accepted = FALSE;
  {
    const CommonDialogRun run;
    record.hwndOwner = run.owner();
    accepted = PageSetupDlgA(&record);
  }
  keepHandles(record);
  if (accepted) {
    pageSetup.paper = record.ptPaperSize;
    paperWidth = record.ptPaperSize.x;
    paperHeight = record.ptPaperSize.y;
    printableWidth = record.ptPaperSize.x - record.rtMargin.left - record.rtMargin.right;
    printableHeight = record.ptPaperSize.y - record.rtMargin.top - record.rtMargin.bottom;
    leftMargin = record.rtMargin.left;
    topMargin = record.rtMargin.top;
    const LockedMemory<DEVMODEA> mode(pageSetup.devMode.get());
    if (mode.get() != nullptr) {
      orientation = mode->dmOrientation == DMORIENT_LANDSCAPE ? 1 : 0;
      copies = mode->dmCopies;
    }
    keepPrinterChoice(mode.get());
    colourCount = printerColours(mode.get());
    status = 1;
  }
  setActiveModelessDialog(activeBefore);
}

void YYDirectoryBrowse(int titleMode, int& status, int flags, char* directory, const char* title) {
  browse = BrowseState{};
  browse.directory = directory;
  browse.flags = flags;
  directory[kBrowseDirectoryLength] = '\0';
  BROWSEINFOA info{};
  info.pidlRoot = nullptr;
  info.pszDisplayName = nullptr;
  info.lpszTitle = titleMode == 1 && title != nullptr ? title : kDefaultBrowseTitle;
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  info.lpfn = browseCallback;
  // The display name is the shell's to fill; it is not handed on.
  std::array<char, MAX_PATH + 1> displayName{};
  info.pszDisplayName = displayName.data();
  LPITEMIDLIST chosen = nullptr;
  {
    const CommonDialogRun run;
    info.hwndOwner = run.owner();
    chosen = SHBrowseForFolderA(&info);
  }
  if (chosen != nullptr) {
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator != nullptr) {
      allocator->Free(chosen);
      allocator->Release();
    }
    status = kBrowseChosen;
  } else {
    status = kBrowseCancelled;
  }
  browse = BrowseState{};
}

LRESULT CALLBACK YYDirectoryBrowseProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  const WNDPROC shell = browse.shellProcedure;
  if (message == WM_COMMAND && LOWORD(wParam) == IDOK && browse.directory != nullptr && browse.edit != nullptr) {
    std::array<char, kBrowseDirectoryLength + 1> typed{};
    GetWindowTextA(browse.edit, typed.data(), static_cast<int>(typed.size()));
    setDirectory(typed.data());
    SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(typed.data()));
    // The selection may have put the shell's spelling of the folder into the
    // caller's buffer; what was typed is what is checked and returned.
    setDirectory(typed.data());
    const DWORD attributes = GetFileAttributesA(typed.data());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
      if ((browse.flags & kBrowseOfferCreate) != 0) {
        if (MessageBoxA(dialog, "The specified directory does not exist.\nDo you wish to create it?",
                        "Create Directory?", MB_ICONQUESTION | MB_YESNO) != IDYES) {
          return 0;
        }
        if (!CreateDirectoryA(typed.data(), nullptr)) {
          MessageBoxA(dialog, "An error occured creating\nthe specified directory.", "Error",
                      MB_ICONEXCLAMATION | MB_OK);
          return 0;
        }
      } else if ((browse.flags & kBrowseNoCheck) == 0) {
        MessageBoxA(dialog, "The specified directory does not exist.\nSpecify a valid directory.",
                    "Invalid Directory", MB_ICONEXCLAMATION | MB_OK);
        return 0;
      }
    } else if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      MessageBoxA(dialog, "The specified path is not a valid directory name.\nSpecify a valid directory.",
                  "Invalid Directory", MB_ICONEXCLAMATION | MB_OK);
      return 0;
    }
  }
  return shell != nullptr ? CallWindowProcA(shell, dialog, message, wParam, lParam)
                          : DefWindowProcA(dialog, message, wParam, lParam);
}

void YYLocaleMeasure(int& units) {
  std::array<char, 4> measure{};
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IMEASURE, measure.data(), static_cast<int>(measure.size()));
  units = measure[0] == '1' && measure[1] == '\0' ? 1 : 2;
}
