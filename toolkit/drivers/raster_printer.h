#pragma once
// The raster printer driver: renders the page with the rasteriser at a
// resolution of the selected raster printer and sends it as PCL, ESC/P2 or
// ESC/P graphics.

#include <cstdint>

// Driver 4: opcodes 1, 18 and 20 here, every other one to the rasteriser.
void YYGRASTPRN(std::int32_t& opcode);
