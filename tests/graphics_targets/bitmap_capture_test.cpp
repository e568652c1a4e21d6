// Captures of the drawing surface, read back by the image reader, and the
// writer's format details on DIBs of every depth.
#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <iterator>

#include "targets_fixture.h"
#include "toolkit/graphics/bitmap_capture.h"
#include "toolkit/graphics/image_reading.h"

namespace {

using BitmapCapture = TargetWindow;

std::vector<std::uint8_t> fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
int le16(const std::vector<std::uint8_t>& b, std::size_t at) { return b[at] | (b[at + 1] << 8); }

// A 5 x 3 picture of distinct colours, top row first.
constexpr std::array<std::int32_t, 15> kPicture = {
    0x0000FF, 0x00FF00, 0xFF0000, 0x000000, 0xFFFFFF,  //
    0x00FFFF, 0xFF00FF, 0xFFFF00, 0x808080, 0x404040,  //
    0x000080, 0x008000, 0x800000, 0xC0C0C0, 0x102030,
};

// Draws the picture into a bitmap target and captures it in each file mode;
// every file reads back to the same colours.  The files stay for the
// independent readers.
TEST_F(BitmapCapture, CapturesReadBackToTheDrawnColours) {
  const int number = bitmapTarget(5, 3);
  int status = -1;
  YYBitmapPutPixels(number - 1, kPicture, 0, 0, 4, 2, status);
  ASSERT_EQ(status, 0);
  for (const auto& [mode, name] : {std::pair{kCaptureBmp, "capture.bmp"}, std::pair{kCapturePcx, "capture.pcx"},
                                   std::pair{kCapturePng, "capture.png"}}) {
    SCOPED_TRACE(name);
    const std::string path = workFile(name);
    int error = -1, os = -1;
    YYSaveBitmap(mode, 0, 0, 4, 2, error, os, path.c_str());
    ASSERT_EQ(error, 0) << os;
    std::array<std::int32_t, 15> read{};
    YYErrorStateReset();
    IGrLoadImageData(path, read);
    EXPECT_EQ(errorState.lastError, 0);
    EXPECT_EQ(read, kPicture);
  }
  // A PCX of 5 x 3: L = 6 bytes a plane line, xmax 4, ymax 2, three planes on true colour.
  const std::vector<std::uint8_t> pcx = fileBytes(workFile("capture.pcx"));
  ASSERT_GE(pcx.size(), 128u);
  EXPECT_EQ(le16(pcx, 8), 4);
  EXPECT_EQ(le16(pcx, 10), 2);
  EXPECT_EQ(le16(pcx, 66), 6);
  EXPECT_EQ(le16(pcx, 70), 6);
  EXPECT_EQ(le16(pcx, 72), 3);
  EXPECT_EQ(pcx[65], 3);
  EXPECT_NE(pcx[pcx.size() - 769], 12);  // no palette trailer after three planes
}

TEST_F(BitmapCapture, OtherModesDoNothingAndBadRectanglesFail) {
  bitmapTarget(4, 4);
  int error = -1, os = -1;
  const std::string path = workFile("mode3.bmp");
  std::filesystem::remove(path);
  YYSaveBitmap(3, 0, 0, 3, 3, error, os, path.c_str());
  EXPECT_EQ(error, 0);
  EXPECT_FALSE(std::filesystem::exists(path));
  // Mode 0 leaves the capture on the clipboard.
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  YYSaveBitmap(kCaptureClipboard, 0, 0, 3, 3, error, os, nullptr);
  EXPECT_EQ(error, 0);
  ASSERT_TRUE(OpenClipboard(nullptr));
  BITMAP info{};
  EXPECT_NE(GetObjectA(GetClipboardData(CF_BITMAP), sizeof info, &info), 0);
  EXPECT_EQ(info.bmWidth, 4);
  CloseClipboard();
  YYSaveBitmap(kCaptureBmp, 3, 0, 0, 3, error, os, path.c_str());
  EXPECT_EQ(error, 1072);
  YYSaveBitmap(kCaptureBmp, 0, 0, 3, 3, error, os, "no_such_folder\\x.bmp");
  EXPECT_EQ(error, 1);
  EXPECT_NE(os, 0);
}

// A DIB block: header, table, bottom-up rows.
struct SyntheticDib {
  std::vector<std::uint8_t> block;
  BITMAPINFOHEADER& header() { return *reinterpret_cast<BITMAPINFOHEADER*>(block.data()); }
};

SyntheticDib dibOf(int bits, int width, int height, DWORD compression, const std::vector<std::uint8_t>& table,
                   const std::vector<std::uint8_t>& rowsBottomUp) {
  SyntheticDib dib;
  dib.block.resize(sizeof(BITMAPINFOHEADER) + table.size() + rowsBottomUp.size());
  auto& h = dib.header();
  h.biSize = sizeof(BITMAPINFOHEADER);
  h.biWidth = width;
  h.biHeight = height;
  h.biPlanes = 1;
  h.biBitCount = static_cast<WORD>(bits);
  h.biCompression = compression;
  const auto tableAt = dib.block.begin() + static_cast<std::ptrdiff_t>(sizeof(BITMAPINFOHEADER));
  std::copy(table.begin(), table.end(), tableAt);
  std::copy(rowsBottomUp.begin(), rowsBottomUp.end(), tableAt + static_cast<std::ptrdiff_t>(table.size()));
  return dib;
}

TEST(CaptureWriter, Rgb565PixelBecomesPcxPlaneBytes) {
  // One 2 x 1 row: 0xF800 (pure red in 5-6-5) and 0x07E0 (pure green); the three masks first.
  const std::vector<std::uint8_t> masks = {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0};
  SyntheticDib dib = dibOf(16, 2, 1, BI_BITFIELDS, masks, {0x00, 0xF8, 0xE0, 0x07});
  int os = 0;
  const std::string path = "work/rgb565.pcx";
  std::filesystem::create_directories("work");
  ASSERT_EQ(YYCaptureWriteDib(kCapturePcx, CaptureDib{dib.block, 2, 1}, path.c_str(), os), 0);
  const std::vector<std::uint8_t> bytes = fileBytes(path);
  ASSERT_EQ(bytes.size(), 128u + 8u);
  // Red line 248, 0; green line 0, 252; blue line 0, 0 (runs).
  const std::vector<std::uint8_t> body(bytes.begin() + 128, bytes.end());
  EXPECT_EQ(body, (std::vector<std::uint8_t>{0xC1, 248, 0, 0, 0xC1, 252, 0xC2, 0}));
}

TEST(CaptureWriter, OnePlaneFilesEndWithAFullPaletteTrailer) {
  // 4 bits, 16-entry table: entry 1 is red.  Row: indices 1, 0, 1.
  std::vector<std::uint8_t> table(16 * 4, 0);
  table[4 + 2] = 0xFF;
  SyntheticDib dib = dibOf(4, 3, 1, BI_RGB, table, {0x10, 0x10, 0, 0});
  int os = 0;
  std::filesystem::create_directories("work");
  ASSERT_EQ(YYCaptureWriteDib(kCapturePcx, CaptureDib{dib.block, 3, 1}, "work/four.pcx", os), 0);
  const std::vector<std::uint8_t> bytes = fileBytes("work/four.pcx");
  ASSERT_EQ(bytes.size(), 128u + 4u + 769u);
  EXPECT_EQ(bytes[65], 1);
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 128, bytes.begin() + 132),
            (std::vector<std::uint8_t>{1, 0, 1, 0}));
  const std::size_t trailer = bytes.size() - 769;
  EXPECT_EQ(bytes[trailer], 12);
  EXPECT_EQ(bytes[trailer + 4], 0xFF);  // entry 1 red
  EXPECT_EQ(bytes[trailer + 16 * 3 + 1], 0);  // padding beyond the 16 entries
}

// Palette PNGs of 1, 4 and 8 bits: colour type 3 with 2, 16 and 256 entries.
TEST(CaptureWriter, PalettePngsCarryTheirDepthAndTable) {
  struct Case {
    int bits;
    std::uint8_t row;  // first byte of the row
    int entries;
  };
  const Case cases[] = {{1, 0x80, 2}, {4, 0x10, 16}, {8, 0x01, 256}};
  std::filesystem::create_directories("work");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bits);
    std::vector<std::uint8_t> table(static_cast<std::size_t>(c.entries) * 4, 0xFF);  // white ...
    table[4] = table[5] = table[6] = 0;  // ... but entry 1 black
    SyntheticDib dib = dibOf(c.bits, 2, 2, BI_RGB, table, {c.row, 0, 0, 0, c.row, 0, 0, 0});
    const std::string path = "work/palette" + std::to_string(c.bits) + ".png";
    int os = 0;
    ASSERT_EQ(YYCaptureWriteDib(kCapturePng, CaptureDib{dib.block, 2, 2}, path.c_str(), os), 0);
    const std::vector<std::uint8_t> bytes = fileBytes(path);
    ASSERT_GT(bytes.size(), 33u);
    EXPECT_EQ(bytes[24], c.bits);  // IHDR depth
    EXPECT_EQ(bytes[25], 3);       // colour type
    EXPECT_EQ((bytes[33] << 24) | (bytes[34] << 16) | (bytes[35] << 8) | bytes[36], c.entries * 3);  // PLTE length
    std::array<std::int32_t, 4> read{};
    YYErrorStateReset();
    IGrLoadImageData(path, read);
    EXPECT_EQ(errorState.lastError, 0);
    EXPECT_EQ(read, (std::array<std::int32_t, 4>{0, 0xFFFFFF, 0, 0xFFFFFF}));
  }
}

TEST(CaptureWriter, PcxRunsAndPaletteSizes) {
  std::filesystem::create_directories("work");
  const std::string path = "work/runs.bin";
  struct Run {
    std::uint8_t value;
    int count;
    std::vector<std::uint8_t> bytes;
  };
  const Run runs[] = {{5, 1, {5}}, {191, 1, {191}}, {192, 1, {193, 192}}, {7, 2, {194, 7}}, {0, 63, {255, 0}}};
  for (const Run& r : runs) {
    {
      const FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
      ASSERT_TRUE(file);
      EXPECT_EQ(YYPcxWriteRun(r.value, r.count, file.get()), 0);
    }
    EXPECT_EQ(fileBytes(path), r.bytes) << int(r.value) << " x " << r.count;
  }
  // A handle open only for reading takes no bytes: the short write gives 2.
  const FileHandle readOnly(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_EQ(YYPcxWriteRun(1, 1, readOnly.get()), 2);

  struct Size {
    int bits;
    DWORD used;
    DWORD compression;
    int bytes;
  };
  const Size sizes[] = {{1, 0, BI_RGB, 8},       {4, 0, BI_RGB, 64},     {8, 0, BI_RGB, 1024}, {8, 20, BI_RGB, 80},
                        {4, 300, BI_RGB, 64},     {24, 0, BI_RGB, 0},     {16, 0, BI_BITFIELDS, 12},
                        {32, 0, BI_BITFIELDS, 12}};
  for (const Size& s : sizes) {
    BITMAPINFOHEADER h{};
    h.biSize = sizeof h;
    h.biBitCount = static_cast<WORD>(s.bits);
    h.biClrUsed = s.used;
    h.biCompression = s.compression;
    EXPECT_EQ(YYDibPaletteSize(h), s.bytes) << s.bits << " bits, " << s.used << " used";
  }
  BITMAPCOREHEADER core{sizeof(BITMAPCOREHEADER), 1, 1, 1, 8};
  BITMAPINFOHEADER coreAtStart{};
  std::memcpy(&coreAtStart, &core, sizeof core);
  EXPECT_EQ(YYDibPaletteSize(coreAtStart), 768);
}

}  // namespace
