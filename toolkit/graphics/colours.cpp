// The graphics colour table.
#include "toolkit/graphics/colours.h"

#include <windows.h>

#include "toolkit/core/window_table.h"

std::array<std::int32_t, kGraphicsColours> yyColourTable{};

// The 16 standard colours first, then a grey ramp over the rest.
void YYColourDefaults() {
  for (int i = 0; i < kGraphicsColours; ++i) {
    if (i < static_cast<int>(kStandardWindowColours.size())) {
      yyColourTable[static_cast<std::size_t>(i)] =
          static_cast<std::int32_t>(kStandardWindowColours[static_cast<std::size_t>(i)]);
    } else {
      const int level = (i - 16) * 255 / (kGraphicsColours - 17);
      yyColourTable[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(RGB(level, level, level));
    }
  }
}
