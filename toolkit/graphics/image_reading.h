#pragma once
// Reads a BMP, PCX or PNG file into colours, one integer per pixel: the top row
// first, each row left to right, red in bits 0-7, green 8-15, blue 16-23.  The
// drivers that cannot hand an image file to their device whole use it.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

// The array must hold width x height colours as the file inquiry reports them;
// a file whose size is not positive or does not fit is refused (error 27).
// Failures are reported under "IGrLoadImageData".
void IGrLoadImageData(std::string_view fileName, std::span<std::int32_t> colours);

// Room for the colours of an image of width x height pixels, the array the
// drivers hand to IGrLoadImageData: zero colours when a side is not positive;
// false, with the array empty, when the system cannot give the room.
bool YYImageColoursTake(std::vector<std::int32_t>& colours, std::int64_t width, std::int64_t height);
