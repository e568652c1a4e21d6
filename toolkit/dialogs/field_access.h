#pragma once
// The fields of the current dialog, named by control id: put and get of
// texts, numbers, check boxes, radio groups and menus, ranges and states.
// Failures are reported under the routine's own name: 1005 no dialog loaded,
// 1006 no such field (or the wrong kind), 1009 a value out of range, 1010 no
// value (the result is then -999 or -999.0), 1011 a refused menu option.

#include <windows.h>

#include <optional>
#include <string_view>

#include "toolkit/core/fixed_text.h"
#include "toolkit/core/text_array.h"

// What a field is.
enum FieldTypeCode : int {
  kFieldOther = 0,
  kFieldLabel = 1,
  kFieldPicture = 2,
  kFieldGroupBox = 3,
  kFieldText = 4,
  kFieldInteger = 5,
  kFieldReal = 6,
  kFieldDouble = 7,
  kFieldPushButton = 8,
  kFieldCheckBox = 9,
  kFieldRadioButton = 10,
  kFieldCombo = 11,
  kFieldList = 12,
  kFieldTab = 13,
  kFieldProgress = 14,
  kFieldGrid = 15,
  kFieldTrackbar = 16,
  kFieldTree = 17,
};

enum FieldState : int { kFieldDisabled = 0, kFieldEnabled = 1, kFieldReadOnly = 2, kFieldHidden = 3 };

// List kinds of list and combo fields.
enum ListKind : int { kListSingle = 1, kListDropDown = 2, kListEditCombo = 3, kListMultiple = 4 };

void WDialogPutString(int field, std::string_view text);
void WDialogGetString(int field, TextField text);
void WDialogGetStringLength(int field, int& length);
void WDialogPutInteger(int field, int value);
void WDialogPutReal(int field, float value, std::optional<std::string_view> format = std::nullopt);
void WDialogPutDouble(int field, double value, std::optional<std::string_view> format = std::nullopt);
void WDialogGetInteger(int field, int& value);
void WDialogGetReal(int field, float& value);
void WDialogPutCheckBox(int field, int state);
void WDialogGetCheckBox(int field, int& state);
void WDialogPutRadioButton(int field);
void WDialogGetRadioButton(int field, int& position);
// Options count from 1.
void WDialogPutOption(int field, int option);
void WDialogGetMenu(int field, int& option, std::optional<TextField> text = std::nullopt);
void WDialogPutMenu(int field, const TextArray& items, int count, int option,
                    std::optional<std::string_view> text = std::nullopt);
// Both bounds omitted remove the range.
void WDialogRangeInteger(int field, std::optional<int> minimum = std::nullopt,
                         std::optional<int> maximum = std::nullopt);
void WDialogFieldState(int field, int state);
// Caret position counts from 1; omitted, the field's text is selected.
void WDialogSetField(int field, std::optional<int> caret = std::nullopt);

// Back ends on one control of the current dialog: field comes back -1 when
// there is no such control or it is of the wrong kind, -2 when it holds no value.
void YYFieldTextPut(int& field, double value, std::string_view text, std::string_view format);
void YYFieldTextGet(int& field, char* buffer, int size);
void YYFieldTextLength(int& field, int& length);
void YYNumericFieldGet(int& field, double& value);
void YYFieldFormatGet(int& field, TextField format, int size);
void YYFieldRangeCheck(int& field, double value);
void YYFieldRangeSet(int& field, double minimum, double maximum);
void YYCheckBoxPut(int& field, int state);
void YYCheckBoxGet(int& field, int& state);
void YYRadioGroupBounds(int& field, int& first, int& last);
void YYRadioPut(int& field);
void YYRadioGet(int& field, int& position);
void YYListKind(int& field, int& kind);
void YYListGet(int& field, int& option, int wantText, TextField text);
void YYComboGet(int& field, int& option, int wantText, TextField text);
void YYListSelect(int kind, int& field, int index);
void YYListItemAdd(int kind, int& field, const char* text);
void YYComboTextPut(int& field, const char* text);
void YYFieldClear(int& field);
void YYFieldStateSet(int& field, int state, int noUpdate);
void YYFieldStateQuery(int& field, int& state);
void YYFieldTypeQuery(int& field, int& type);
// kind: 2 icon resource, 3 bitmap slot, 4 metafile slot, other a bitmap resource.
void YYFieldImagePut(int& field, int image, int kind);
void YYFieldOptionSet(int& field, int option, int flag);
void YYFieldRect(int& field, int& left, int& top, int& width, int& height, int mode);
// 1 wholly inside the rectangle, 2 partly, 0 wholly outside.
int YYFieldVisibility(HWND control, const RECT& dialogClient);
void YYDialogUnitSize(int& width, int& height);

// The state a control's styles show: 3 hidden, 0 disabled, 2 read-only, 1 enabled.
int fieldStateFromStyles(HWND control);
