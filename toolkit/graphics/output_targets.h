#pragma once
// Output targets: which surface screen-side drawing goes to, and the metafile slots.

// Target 1 window, 2 memory bitmap, 3 picture field of the current dialog, 4 metafile slot.
void IGrSelect(int target, int id);
// Frees metafile slot 1-20.
void WMetafileDestroy(int slot);
