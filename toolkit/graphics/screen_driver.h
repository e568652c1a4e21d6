#pragma once
// The screen driver: executes one primitive on the current screen target.

#include <cstdint>

#include "toolkit/core/fixed_text.h"
#include "toolkit/graphics/graphics_state.h"

// What the screen driver keeps between primitives: the font it made last, and
// the realisation modes its palette opcodes left behind.
struct YYScreenCache {
  std::int32_t FontCacheWidth = -1;   // -1: no font made since opcode 18
  std::int32_t FontCacheHeight = -1;
  std::int32_t FontCacheAngle = -1;
  std::int32_t FontCacheKind = -1;
  std::int32_t FontCacheStyle = -1;
  FixedText<kFontNameLength> FontCacheName;  // blank unless TextFont was 0
  std::int32_t FontCellHeight = 0;
  std::int32_t FontAscent = 0;
  std::int32_t FontAlphabetWidth = 0;  // extent of the 52 letters, text mode 0
  std::int32_t PaletteBatch = 0;       // 0 or 3
  std::int32_t RefreshMode = 0;
  std::int32_t FontsMade = 0;          // fonts made since start-up, for diagnosis
};
extern YYScreenCache yyScreenCache;

void YYGAPI(YYGrPrimitive& primitive);
