#include "toolkit/graphics/graphics_state.h"

YYGrState yyGrState;
YYGrAttributes yyGrAttributes;
YYGrPointBuffer yyGrPointBuffer;
TextOperand TEXT;
YYStrokeFont yyStrokeFontAlternative;
std::array<YYMetafileSlot, kMetafileSlots + 1> yyMetafileSlots{};

std::int32_t currentColourOfMode(const YYGrAttributes& attributes) {
  return attributes.ColourMode == kColourRgb ? attributes.CurrentRGB : attributes.ColourNumber;
}

std::int32_t previousColourOfMode(const YYGrAttributes& attributes) {
  return attributes.ColourMode == kColourRgb ? attributes.PreviousRGB : attributes.PreviousColourNumber;
}
