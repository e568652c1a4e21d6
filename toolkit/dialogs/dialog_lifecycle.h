#pragma once
// How dialogs enter and leave the dialog table and how they are shown:
// modal (a copy runs in its own loop), modeless, or semi-modeless (every other
// toolkit window and dialog disabled while it is shown).

#include <windows.h>

#include <optional>
#include <string_view>

// Creates the dialog hidden from its template and description and makes it
// current; an identifier that is loaded already just becomes current.
void WDialogLoad(int templateNumber, std::optional<int> identifier = std::nullopt);
void WDialogSelect(int identifier);
// x, y: pixels for a top-level dialog, window units of the root window for a
// child-style one; -1 centres.  Mode: DialogShowMode, modeless by default.
void WDialogShow(std::optional<int> x = std::nullopt, std::optional<int> y = std::nullopt,
                 std::optional<int> focusField = std::nullopt, std::optional<int> mode = std::nullopt);
void WDialogHide();
// Tab-pages flag 0 (or none) unloads the dialog's tab pages with it.
void WDialogUnload(std::optional<int> tabPagesFlag = std::nullopt);
// Icon 0 is the program's "icon1", another number that icon resource, -1 no change.
void WDialogTitle(std::optional<std::string_view> title = std::nullopt, std::optional<int> iconId = std::nullopt);
void YYDialogShowAtClient(int focusField, int mode);

// templateNumber comes back -1 (table full or creation failed) or -2 (no template).
void YYDialogCreate(int& templateNumber, int identifier, int ownerSlot);
void YYDialogLoad(int& templateNumber, int identifier);
void YYDialogSelect(int& identifier);
// mode comes back as the result: 0, -1 mode corrected, -2 parent hidden,
// -3 parent combined with a dialog.
void YYDialogShow(int x, int y, int convertedX, int convertedY, int& mode, int focusField, int keepWhenParentHidden);
// slot: 0 the current dialog; comes back 0, -1 (combined with a window) or -2 (a tab page).
void YYDialogHide(int& slot);
void YYDialogUnload(int tabPagesFlag, int slot);
void YYDialogDestroy(HWND dialog, int tabPagesFlag, int slot);
void YYTabPagesAttach(HWND dialog);
void YYTabPagesDetach(HWND dialog);
void YYDialogCentre(HWND dialog);
void YYDialogsDisable(HWND leaveOut, int alsoWindows);
void YYDialogsEnable(HWND window, int alsoWindows);
// iconId comes back -2 when the icon cannot be loaded.
void YYDialogCaption(int& iconId, int titleFlag, std::string_view title);
// Width and height in dialog units; result -1 for a dialog combined with a window.
void YYDialogResize(int width, int height, int& result);
void YYTrackbarNoSelection(int value);

// The root window opens: the control classes are learned and the window core
// is told about the dialog table.
void YYDialogManagerOpen();
// The root window closes: every dialog is destroyed and the table emptied.
void YYDialogManagerClose();
