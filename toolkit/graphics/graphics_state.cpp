#include "toolkit/graphics/graphics_state.h"

YYGrAttributes yyGrAttributes;
YYGrState yyGrState;
std::array<YYMetafileSlot, kMetafileSlots + 1> yyMetafileSlots{};
