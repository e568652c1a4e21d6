#pragma once
// The GDI drawing set of the Windows metafile driver: it records a Windows
// metafile (plain, or in a file with the placeable header) or an enhanced
// metafile, and at the end writes the file or puts the picture on the
// clipboard.  Points are logical units of the metafile, y downward.

#include <windows.h>

#include <cstdint>
#include <span>
#include <string_view>

#include "toolkit/drivers/hardcopy_gdi.h"

// Kinds of metafile (hardcopy option 27).
enum YYMetaKind : int { kMetaPlain = 0, kMetaPlaceable = 1, kMetaEnhanced = 2 };

struct YYMetaContext : YYHardcopyGdiState {
  HDC MetaDc = nullptr;
  int MetaKind = kMetaPlain;  // 0 again after the close
  int ToClipboard = 0;
  int PenOption = 0;          // non-zero: built-in dash styles in enhanced metafiles
  int HimetricWidth = 0;      // picture size in 0.01 mm
  int HimetricHeight = 0;
  int ExtentWidth = 0;        // window extent set at the open
  int ExtentHeight = 0;
  int MetaResolution = 0;     // LOGPIXELSX of an enhanced metafile's reference device
  HANDLE PlaceableFile = INVALID_HANDLE_VALUE;  // the file whose header is written at the open
  bool ClipSaved = false;     // a Windows metafile's state saved before its clip rectangle
};
extern YYMetaContext yyMetaContext;

// Status words of the open and the close.
constexpr int kMetaDone = 0;
constexpr int kMetaFailed = 1;

// Opens a metafile of width x height units of 1/720 inch; an enhanced metafile
// gets them back in pixels of its reference device.  Kinds other than plain (0)
// and enhanced (2) write the placeable header (right, bottom, checksum) to a
// file.  The description is the enhanced metafile's (application NUL picture
// NUL NUL).  Answers kMetaFailed, with nothing left open, when no metafile or
// file could be made.
int YYMetaOpen(int& width, int& height, int kind, int penOption, int right, int bottom, std::uint16_t checksum,
               int clipboard, std::string_view fileName, std::string_view description);
// Ends the recording: writes the file or puts the picture on the clipboard.
// Answers kMetaFailed when the picture could not be completed or delivered.
int YYMetaClose();
// Plays a stored metafile file (kind 2 enhanced, 1 placeable, else plain) into
// (x1, y1)-(x2, y2) of device 0 (the screen's context), 10 (the printer's) or
// 11 (the metafile being recorded).  error 1: the file cannot be read; 2: its
// contents are no metafile, or the rectangle is empty.
void YYMetaPlay(int kind, int x1, int y1, int x2, int y2, int device, int& error, std::string_view fileName);

void YYMetaSetColour(int red, int green, int blue);
void YYMetaGreyColour(int& red, int& green, int& blue);
void YYMetaSetLineStyle(int style);
void YYMetaSetLineWidth(int width);
void YYMetaDashPattern();
void YYMetaPen();
void YYMetaLine(int x1, int y1, int x2, int y2);
void YYMetaPolyline(int n);
void YYMetaSetPoint(int x, int y, int i);
void YYMetaPolygon(int n);
void YYMetaRectangle(int x1, int y1, int x2, int y2);
void YYMetaEllipse(int cx, int cy, int rx, int ry, int fillStyle);
void YYMetaPie(int cx, int cy, int rx, int ry, int xs, int ys, int xe, int ye);
void YYMetaArc(int cx, int cy, int rx, int ry, int xs, int ys, int xe, int ye, int closure);
void YYMetaPixel(int x, int y);
void YYMetaFillPixel(const std::int32_t& x, const std::int32_t& y, const std::int32_t& rgb);
void YYMetaShadedTriangles(std::span<const std::int32_t> deviceX, std::span<const std::int32_t> deviceY,
                           std::span<const std::int32_t> colours, std::span<const YYTriangle> triangles,
                           std::int32_t& status);
void YYMetaClipRect(int left, int top, int right, int bottom);
void YYMetaTextExtent(int& width, std::string_view text);
void YYMetaFont(int width, int height, int angle, int fontKind, int style, std::string_view face);
void YYMetaText(int x1, int y1, int x2, int y2, int align, int opaque, std::string_view text);
