#pragma once
// Capture of a rectangle of the current screen drawing surface: to the
// clipboard, or as a BMP, PCX or PNG file in the display's own colour depth.

#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

enum CaptureMode : int { kCaptureClipboard = 0, kCaptureBmp = 1, kCapturePcx = 2, kCapturePng = 15 };

// Error codes of a capture: 0, 1 file not created, 2 short write, 1044
// compression failed (zlib status in osError), 1072 no bitmap or memory.
enum CaptureError : int {
  kCaptureOk = 0,
  kCaptureNoFile = 1,
  kCaptureShortWrite = 2,
  kCaptureCompress = 1044,
  kCaptureNoBitmap = 1072,
};

// Captures x1..x2, y1..y2 of the drawing context; any other mode does nothing.
void YYSaveBitmap(const int& mode, const int& x1, const int& y1, const int& x2, const int& y2, int& error,
                  int& osError, const char* fileName);
// One PCX run: a single value below 192 alone, else (192 + count, value).
// 0, or 2 when the write falls short.
int YYPcxWriteRun(std::uint8_t value, int count, HANDLE file);
// Bytes of the colour table after an info header or OS/2 core header,
// including the three masks of BI_BITFIELDS.
int YYDibPaletteSize(const BITMAPINFOHEADER& header);

// A packed DIB as GetDIBits gives it: info header, colour table, bits.
struct CaptureDib {
  std::span<const std::uint8_t> block;
  int width = 0;   // pixels written (the capture width)
  int height = 0;
};
// Writes the DIB as file mode 1, 2 or 15; the error code, osError beside it.
int YYCaptureWriteDib(int mode, const CaptureDib& dib, const char* fileName, int& osError);
