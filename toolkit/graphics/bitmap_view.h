#pragma once
// The bitmap-view window: a child window of class "QVRBITMAP" that takes the
// place of a toolkit window's client area and shows a memory bitmap at its
// natural size, scrolled by scroll bars, keys, the wheel or dragging.

#include <windows.h>

#include "toolkit/core/window_table.h"

enum BitmapViewMode : int { kViewModal = 1, kViewPlain = 2, kViewModeless = 3 };
enum BitmapViewOption : int { kViewOwnKeys = 1, kViewDrag = 2 };
constexpr int kViewNoFullSize = -999;
constexpr int kViewerControlId = 1001;

// The view's record: the toolkit's window record (kind bitmap view), so that
// the window code recognises the frame, followed by the view's own words.
// Owned by the view; both the viewer and the frame carry its address.
struct BitmapViewRecord : WindowRecord {
  std::array<HWND, 4> ViewToolbars{};  // top, left, right, bottom; none in modal mode
  HWND ViewWindow = nullptr;
  HWND ViewStatusBar = nullptr;
  int ViewMode = kViewPlain;
  int ViewClosed = 0;
  HBITMAP ViewBitmap = nullptr;
  int ViewWidth = 0, ViewHeight = 0;
  int ViewFullWidth = kViewNoFullSize, ViewFullHeight = kViewNoFullSize;
  int ViewOptions = 0;
  int ViewDragging = 0, ViewDragX = 0, ViewDragY = 0, ViewDragH = 0, ViewDragV = 0;
  HWND ViewFrame = nullptr;
  WNDPROC FrameProcedure = nullptr;  // the toolkit frame procedure it replaced
};

// Shows bitmap index 0-19 in the current window.  Status (preset by the
// caller): 1 root window, 2 empty or invalid slot, 3 bitmap selected
// elsewhere, 4 window converted to another kind, 5 a child-style window
// runs the view plainly, 6 no record or viewer, 9 client has child windows.
void YYBitmapView(int index, int scrollX, int scrollY, int mode, int options, int& status);
// Shows the slot's bitmap in the view, fitting the frame to it where it can.
void YYBitmapViewShow(BitmapViewRecord& record, int index, int scrollX, int scrollY);

// Code 3 slot shown (1-20), 4 horizontal scroll, 5 vertical scroll, 101 bitmap
// width, 102 bitmap height, 103 vertical position + page (+ scroll bar); 0
// for a window that is not a bitmap view.
void YYBMPVIEWINFO(int window, int code, int& value);

// True when a toolkit window (slots 1-20) shows the bitmap in a view.
bool YYBitmapShownInView(HBITMAP bitmap);
