#pragma once
// Maptech mark (.mxf), route (.rxf) and track (.txf) files: comma-separated
// lines without a header.

#include <cstdint>

void READ_MXF();
void WRITE_MXF();
void READ_RXF();
void WRITE_RXF();
void READ_TXF();
void WRITE_TXF();

// The Maptech symbol chosen in the Maptech options, for points without a symbol.
std::int32_t maptechChosenSymbol();
