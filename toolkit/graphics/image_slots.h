#pragma once
// The graphics engine's image slots: 20 enhanced-metafile entries behind the
// metafile slots of kind 3, and 20 memory bitmaps compatible with the screen.
// Both are indexed 0-19 here; the interface numbers them 1-20.

#include <windows.h>

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

constexpr int kImageSlots = 20;

constexpr bool isImageSlotIndex(int index) { return index >= 0 && index < kImageSlots; }

// Status words of the bitmap operations.
enum BitmapStatus : int {
  kBitmapOk = 0,
  kBitmapInvalid = 1021,     // "Invalid bitmap handle"
  kBitmapInView = 1036,      // "Can't destroy bitmap while in use by bitmap viewer"
  kBitmapTransfer = 1066,    // "Error during bitmap put/get operation"
};

// ---- Enhanced-metafile slots ----

// Empty: no RecordingDc.  Recording: RecordingDc, no Metafile.  Closed:
// Metafile present, RecordingDc kept only as the "in use" mark.
struct YYEmfSlot {
  HDC RecordingDc = nullptr;
  HENHMETAFILE Metafile = nullptr;
  bool ScreenMark = false;  // RecordingDc is a screen context that a load took
};
extern std::array<YYEmfSlot, kImageSlots> yyEmfSlots;

// Starts a recording of width x height points; the size in pixels of the
// reference device comes back.
void YYEMFCREATE(int n, int width, int height, int& pixelWidth, int& pixelHeight);
// Makes the recording the drawing context; status 1 when there is none to select.
void YYEMFSELECT(int n, int width, int height, int& status);
void YYEMFCLIP(int n);
// Status 1 with the system error when the file cannot be written.
void YYEMFSAVE(int n, int& status, int& systemError, std::string_view fileName);
// Status 1 cannot open, 2 short read (or a size of 0 or less, or records that
// are not a sound metafile), with the system error.
void YYEMFLOAD(int n, int size, int& status, int& systemError, std::string_view fileName);
// True when the bytes are an enhanced metafile the system can play safely: a
// header record (size at least 88, at least one handle, a total size within
// the bytes) and a chain of whole records, each of a size that is a multiple
// of 4 and at least 8, that ends with the end-of-file record.
bool YYEmfRecordsSound(std::span<const BYTE> bytes);
void YYEMFPLAY(int n, int left, int top, int right, int bottom);
void YYEMFDELETE(int n);
// The closed metafile of entry n, closing a recording first; null when the entry is empty.
HENHMETAFILE YYEmfClosedMetafile(int n);

// ---- Bitmap slots ----

struct YYBitmapSlot {
  HBITMAP bitmap = nullptr;
  int width = 0;
  int height = 0;
};
extern std::array<YYBitmapSlot, kImageSlots> yyBitmapSlots;

enum BitmapTransferMode : int { kTransferCopy = 0, kTransferOr = 1, kTransferAnd = 2, kTransferXor = 3 };

// Number 1-20 of the new bitmap, 0 when no slot is free or it cannot be made.
void YYBitmapCreate(int& number, int width, int height, std::int32_t rgb);
void YYBitmapDelete(int index, int& status);
void YYBitmapSize(int index, int& width, int& height);
void YYBitmapMode(int mode);
void YYBitmapGet(int index, int x, int y, int width, int height, int& status);
// Direction 0: drawing to bitmap; other: bitmap to drawing.
void YYBitmapBlit(int index, int sx, int sy, int dx, int dy, int width, int height, int direction, int& status);
void YYBitmapPut(int index, int stretch, int x, int y, int width, int height, int& status);
// The rectangle's pixels, row by row; a rectangle larger than the array is refused.
void YYBitmapGetPixels(int index, std::span<std::int32_t> colours, int x1, int y1, int x2, int y2, int& status);
void YYBitmapPutPixels(int index, std::span<const std::int32_t> colours, int x1, int y1, int x2, int y2,
                       int& status);
void YYBitmapLoadResource(int index, int resourceId, int& status);
void YYBitmapResourceSize(int resourceId, int& width, int& height);
void YYBitmapToClipboard(int index, int& status);
// The ROP of the current transfer mode.
DWORD bitmapTransferRop();
