#pragma once
// The hardcopy option words 1-29.

#include <array>
#include <cstdint>

constexpr int kHardcopyOptionCount = 29;
extern std::array<std::int32_t, kHardcopyOptionCount + 1> yyHardcopyOptions;  // options 1-29

// Sets one hardcopy option; numbers outside 1-29 change nothing.
void YYHCOPTION(int option, std::int32_t value);
