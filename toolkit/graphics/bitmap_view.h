#pragma once
// Facts of a bitmap-view window.

// Code 3 slot shown, 4 horizontal scroll, 5 vertical scroll, 101 bitmap width,
// 102 bitmap height, 103 vertical position + page (+ scroll bar); 0 for a
// window that is not a bitmap view.
void YYBMPVIEWINFO(int window, int code, int& value);
