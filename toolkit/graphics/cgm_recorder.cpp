#include "toolkit/graphics/cgm_recorder.h"

#include <algorithm>

// No CGM slot can be made the target yet, so there is nothing to record into.
void YYGCGMMEM(YYGrPrimitive&) {}

// Nothing allocates a CGM byte buffer yet: only the descriptor words to clear.
void YYCgmMemRelease(int slot) {
  if (slot < 1 || slot > kMetafileSlots) return;
  auto& words = yyMetafileSlots[static_cast<std::size_t>(slot)].words;
  std::fill(words.begin() + kSlotBufferWord, words.end(), 0);
}
