#pragma once
// Draws a BMP, PCX or PNG file into a rectangle of a device context: the file
// becomes a device-independent bitmap that StretchDIBits draws.  Nothing is
// reported: the caller gets a status pair, an error code and the system's code
// (0 done, 1 open, 2 read or memory, 27 kind not supported, 1044 zlib).

#include <windows.h>

#include <cstdint>
#include <vector>

// The drawing targets, by driver number.
enum ImageTarget : int { kImageTargetScreen = 0, kImageTargetPrinter = 10, kImageTargetMetafile = 11 };

// A device-independent bitmap: the BITMAPINFO (header, masks, colour table)
// and the rows, bottom-up unless the header's height is negative.
struct ImageDib {
  std::vector<std::uint8_t> info;
  std::vector<std::uint8_t> bits;
  int sourceWidth = 0;  // columns to draw (a PCX row may hold one more)
  int height = 0;
  const BITMAPINFO* bitmapInfo() const { return reinterpret_cast<const BITMAPINFO*>(info.data()); }
};

// Stretch 0: the image at its own size with its top-left corner at (x1, y1),
// clipped by the target's clip region; otherwise stretched to x1..x2, y1..y2.
void YYDrawImageFile(const int& kind, const int& target, const int& x1, const int& y1, const int& x2,
                     const int& y2, const int& stretch, int& error, int& osError, const char* fileName);

// The bitmap of a file of the kind (1 BMP, 2 PCX, 15 PNG); answers the error code.
int YYImageFileToDib(int kind, const char* fileName, ImageDib& dib, int& osError);
// Reads a BMP file into a bitmap: 0, 1, 2 or 27.
int YYReadFileToMemory(const char* fileName, ImageDib& dib, int& osError);
// One run of PCX data: 0, or 2 when a byte cannot be read.
int YYPcxReadRun(std::uint8_t& value, int& count, int handle);
