#pragma once
// Output targets: which surface screen-side drawing goes to, and the metafile slots.

#include <optional>

// Target 1 window (id: window index, else the current window), 2 memory bitmap
// (id 1-20, else 1), 3 picture field of the current dialog (id: field, else 0),
// 4 metafile slot (id 1-20, else 1).  A failed switch returns to the current
// window and reports 1019.
void IGrSelect(int target, std::optional<int> id = std::nullopt);
// Makes metafile slot 1-20 the drawing target; status 1 when it holds nothing to draw into.
void YYSLOTTARGET(int slot, int& status, int& width, int& height);
// Makes memory bitmap index 0-19 the drawing target; status 1 for an empty slot.
void YYBMPTARGET(int index, int& status, int& width, int& height);
// Frees metafile slot 1-20; error 1060 for a slot out of range or empty.
void WMetafileDestroy(int slot);
