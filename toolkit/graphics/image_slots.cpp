#include "toolkit/graphics/image_slots.h"

std::array<YYBitmapSlot, kImageSlots + 1> yyBitmapSlots{};
std::array<YYEmfSlot, kImageSlots + 1> yyEmfSlots{};
