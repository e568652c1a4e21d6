#pragma once
// The six numeric field classes: edit controls that take only the characters
// of a number, keep the last valid value in their record, and do not let the
// focus go while the text is not a number in the field's range.

#include <windows.h>

// Registers INTEGEREDIT, INTEGERSPIN, REALEDIT, REALSPIN, DOUBLEEDIT and
// DOUBLESPIN once.
void YYNumericFieldClasses();
// 1 when the field is invalid and the focus was put back; 0 when valid, not a
// numeric field, or left pending for a button click.
int YYFieldValidate(HWND field, HWND gettingFocus, int strict);
void YYFieldRefocus(HWND gotFocus, HWND invalidField, int leftByTab);
// field comes back -1 when there is no such control.
void YYFieldRangeStore(int& field, double minimum, double maximum, HWND dialog);
void YYIntegerSpinSteps(int& field, int smallStep, int largeStep);
void YYRealSpinSteps(int& field, float smallStep, float largeStep);
void YYDoubleSpinSteps(int& field, double smallStep, double largeStep);

LRESULT CALLBACK YYIntegerEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK YYIntegerSpinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK YYRealEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK YYRealSpinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK YYDoubleEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK YYDoubleSpinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK YYSpinArrowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
