#pragma once
// The raster image driver: renders the page with the rasteriser into a page
// bitmap of the size and colour depth the options ask for and writes it, at
// each end of page, as a PCX, BMP or PNG image onto the plot output file.

#include <cstdint>

// Driver 6: opcodes 1, 18, 19 and 20 here, every other one to the rasteriser.
void YYGRASTIMG(std::int32_t& opcode);
