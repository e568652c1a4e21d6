#include "toolkit/graphics/graphics_state.h"

YYGrAttributes yyGrAttributes;
YYGrState yyGrState;
YYStrokeFont yyStrokeFont;
std::array<YYMetafileSlot, kMetafileSlots + 1> yyMetafileSlots{};
YYDrawTarget yyDrawTarget;
std::array<unsigned long, kGraphicsColours> yyColourTable{};
