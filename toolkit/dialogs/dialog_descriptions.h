#pragma once
// Dialog descriptions: the text resource (RT_RCDATA, numbered like the
// dialog template) that gives a dialog's controls what a template cannot say:
// list items, ranges, check states, tab pages, grids, colours, trackbar
// settings, text limits, number formats, trees and fonts.

#include <windows.h>

#include <string_view>

constexpr int kGridTemplateMode = -1;

// Reads the description with that number, if there is one, and applies it.
// Mode -1 marks a grid's template dialog; any other value is an ordinary dialog.
void YYDialogDescriptionLoad(HWND dialog, int resourceNumber, int mode);
// Applies a description text; reading stops at its first NUL or its end.
void YYDialogDescriptionApply(HWND dialog, std::string_view description, int mode);
