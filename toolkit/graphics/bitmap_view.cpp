#include "toolkit/graphics/bitmap_view.h"

// No bitmap view can be opened yet: every window answers as a plain window.
void YYBMPVIEWINFO(int, int, int& value) { value = 0; }
