// Enhanced-metafile entries and memory bitmap slots.
#include <array>
#include <fstream>
#include <functional>

#include "targets_fixture.h"

namespace {

using EmfSlots = TargetWindow;
using BitmapSlots = TargetWindow;

std::int32_t le32At(const std::string& path, std::streamoff at) {
  std::ifstream in(path, std::ios::binary);
  in.seekg(at);
  std::array<unsigned char, 4> b{};
  in.read(reinterpret_cast<char*>(b.data()), 4);
  return static_cast<std::int32_t>(b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24));
}

TEST_F(EmfSlots, FrameIsTheSizeInHundredthsOfAMillimetreAndSavingTwiceWorks) {
  int width = 0, height = 0;
  YYEMFCREATE(2, 720, 360, width, height);
  EXPECT_GT(width, 0);
  EXPECT_NEAR(static_cast<double>(width) / height, 2.0, 0.05);
  const std::string first = workFile("frame1.emf");
  const std::string second = workFile("frame2.emf");
  int status = -1, error = -1;
  YYEMFSAVE(2, status, error, first);
  EXPECT_EQ(status, 0);
  YYEMFSAVE(2, status, error, second);  // finds the recording closed
  EXPECT_EQ(status, 0);
  for (const std::string& path : {first, second}) {
    EXPECT_EQ(le32At(path, 24), 0);
    EXPECT_EQ(le32At(path, 28), 0);
    EXPECT_EQ(le32At(path, 32), 25400);
    EXPECT_EQ(le32At(path, 36), 12700);
  }
  // Closed: it cannot be a target again.
  YYEMFSELECT(2, width, height, status);
  EXPECT_EQ(status, 1);
  EXPECT_NE(yyEmfSlots[2].RecordingDc, nullptr);
  YYEMFCLIP(2);  // and the clipboard copy leaves the slot its own metafile
  EXPECT_NE(yyEmfSlots[2].Metafile, nullptr);
}

TEST_F(EmfSlots, FailedLoadsLeaveTheEntryEmpty) {
  int width = 0, height = 0;
  YYEMFCREATE(0, 100, 100, width, height);
  const std::string path = workFile("small.emf");
  int status = -1, error = -1;
  YYEMFSAVE(0, status, error, path);
  ASSERT_EQ(status, 0);
  const auto size = static_cast<int>(std::filesystem::file_size(path));
  struct Case {
    const char* what;
    int size;
    std::string file;
    int status;
  };
  const Case cases[] = {
      {"file shorter than the count", size + 10, path, 2},
      {"count of 0", 0, path, 2},
      {"negative count", -5, path, 2},
      {"missing file", size, workFile("missing.emf"), 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    YYEMFCREATE(5, 10, 10, width, height);  // the entry is in use before
    YYEMFLOAD(5, c.size, status, error, c.file);
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(yyEmfSlots[5].RecordingDc, nullptr);
    EXPECT_EQ(yyEmfSlots[5].Metafile, nullptr);
  }
  YYEMFLOAD(5, size, status, error, path);
  EXPECT_EQ(status, 0);
  EXPECT_NE(yyEmfSlots[5].Metafile, nullptr);
}

TEST_F(EmfSlots, IndexOutsideTheTableIsRefusedByEveryOperation) {
  for (const int n : {-1, 20}) {
    SCOPED_TRACE(n);
    int width = 7, height = 7, status = -1, error = 0;
    YYEMFCREATE(n, 72, 72, width, height);
    EXPECT_EQ(width, 0);
    YYEMFSELECT(n, 10, 10, status);
    EXPECT_EQ(status, 1);
    status = -1;
    YYEMFSAVE(n, status, error, workFile("never.emf"));
    EXPECT_EQ(status, 1);
    status = -1;
    YYEMFLOAD(n, 100, status, error, workFile("never.emf"));
    EXPECT_EQ(status, 1);
    YYEMFPLAY(n, 0, 0, 10, 10);
    YYEMFCLIP(n);
    YYEMFDELETE(n);
  }
  EXPECT_FALSE(std::filesystem::exists(workFile("never.emf")));
}

TEST_F(BitmapSlots, TwentyBitmapsFillTheTableAndADeletedSlotIsReused) {
  for (int i = 1; i <= kImageSlots; ++i) {
    int number = 0;
    YYBitmapCreate(number, 4, 3, kWhite);
    EXPECT_EQ(number, i);
  }
  int number = -1;
  YYBitmapCreate(number, 4, 3, kWhite);
  EXPECT_EQ(number, 0);
  int status = -1;
  YYBitmapDelete(4, status);
  EXPECT_EQ(status, 0);
  YYBitmapDelete(4, status);
  EXPECT_EQ(status, 1021);
  YYBitmapCreate(number, 8, 2, kWhite);
  EXPECT_EQ(number, 5);
  int width = 0, height = 0;
  YYBitmapSize(4, width, height);
  EXPECT_EQ(width, 8);
  EXPECT_EQ(height, 2);
}

TEST_F(BitmapSlots, IndexOutOfRangeOrEmptyGives1021InEveryOperation) {
  std::array<std::int32_t, 4> colours{};
  const std::function<void(int, int&)> operations[] = {
      [](int i, int& s) { YYBitmapDelete(i, s); },
      [](int i, int& s) { YYBitmapGet(i, 0, 0, 2, 2, s); },
      [](int i, int& s) { YYBitmapBlit(i, 0, 0, 0, 0, 2, 2, 1, s); },
      [](int i, int& s) { YYBitmapPut(i, 0, 0, 0, 2, 2, s); },
      [&](int i, int& s) { YYBitmapGetPixels(i, colours, 0, 0, 1, 1, s); },
      [&](int i, int& s) { YYBitmapPutPixels(i, colours, 0, 0, 1, 1, s); },
      [](int i, int& s) { YYBitmapLoadResource(i, 1, s); },
      [](int i, int& s) { YYBitmapToClipboard(i, s); },
  };
  for (const int index : {-1, 0, 20, 1000}) {
    for (std::size_t k = 0; k < std::size(operations); ++k) {
      SCOPED_TRACE(testing::Message() << "index " << index << " operation " << k);
      int status = 0;
      operations[k](index, status);
      EXPECT_EQ(status, 1021);
    }
    int width = 9, height = 9;
    YYBitmapSize(index, width, height);
    EXPECT_EQ(width + height, 0);
  }
}

TEST_F(BitmapSlots, PixelsRoundTripAndTransferModesCombine) {
  int number = 0;
  YYBitmapCreate(number, 3, 2, 0x0000FF);
  ASSERT_EQ(number, 1);
  std::array<std::int32_t, 6> read{};
  int status = -1;
  YYBitmapGetPixels(0, read, 0, 0, 2, 1, status);
  ASSERT_EQ(status, 0);
  for (const std::int32_t c : read) EXPECT_EQ(c, 0x0000FF);
  const std::array<std::int32_t, 6> written = {0x000000, 0xFFFFFF, 0x00FF00, 0xFF0000, 0x808080, 0x0000FF};
  YYBitmapPutPixels(0, written, 0, 0, 2, 1, status);
  ASSERT_EQ(status, 0);
  YYBitmapGetPixels(0, read, 0, 0, 2, 1, status);
  EXPECT_EQ(read, written);
  // Element (y - y1) x width + (x - x1) of a sub-rectangle.
  std::array<std::int32_t, 2> column{};
  YYBitmapGetPixels(0, column, 1, 0, 1, 1, status);
  EXPECT_EQ(column[0], 0xFFFFFF);
  EXPECT_EQ(column[1], 0x808080);
  // A rectangle larger than the array, or outside the bitmap, is refused untouched.
  std::array<std::int32_t, 2> small{7, 7};
  YYBitmapGetPixels(0, small, 0, 0, 2, 1, status);
  EXPECT_EQ(status, 1066);
  EXPECT_EQ(small[0], 7);
  YYBitmapGetPixels(0, small, 2, 1, 3, 1, status);
  EXPECT_EQ(status, 1066);

  // Bitmap to a bitmap target with xor, twice, leaves the target as it was.
  const int target = bitmapTarget(3, 2);
  YYBitmapMode(3);
  YYBitmapPut(0, 0, 0, 0, 3, 2, status);
  EXPECT_EQ(status, 0);
  IGrSelect(kTargetWindow);
  YYBitmapGetPixels(target - 1, read, 0, 0, 2, 1, status);
  EXPECT_EQ(read[0], 0xFFFFFF);  // white xor black
  EXPECT_EQ(read[1], 0x000000);  // white xor white
  IGrSelect(kTargetBitmap, target);
  YYBitmapPut(0, 0, 0, 0, 3, 2, status);
  YYBitmapMode(7);  // ignored: still xor
  YYBitmapPut(0, 0, 0, 0, 3, 2, status);
  YYBitmapPut(0, 0, 0, 0, 3, 2, status);
  YYBitmapMode(0);
  IGrSelect(kTargetWindow);
  YYBitmapGetPixels(target - 1, read, 0, 0, 2, 1, status);
  for (const std::int32_t c : read) EXPECT_EQ(c, kWhite);

  // Get copies the drawing's block to the bitmap's corner.
  IGrSelect(kTargetBitmap, 1);  // draws into bitmap 1 ...
  YYBitmapGet(target - 1, 1, 0, 2, 2, status);  // ... and copies its block into the other
  EXPECT_EQ(status, 0);
  IGrSelect(kTargetWindow);
  std::array<std::int32_t, 4> corner{};
  YYBitmapGetPixels(target - 1, corner, 0, 0, 1, 1, status);
  EXPECT_EQ(corner, (std::array<std::int32_t, 4>{0xFFFFFF, 0x00FF00, 0x808080, 0x0000FF}));
}

// Resource 100 is 3 x 2: red, green, blue over white, black, grey.
TEST_F(BitmapSlots, ResourcesLoadClippedToTheSlot) {
  int width = 0, height = 0;
  YYBitmapResourceSize(100, width, height);
  EXPECT_EQ(width, 3);
  EXPECT_EQ(height, 2);
  YYBitmapResourceSize(4242, width, height);
  EXPECT_EQ(width + height, 0);
  int number = 0;
  YYBitmapCreate(number, 2, 3, 0x00FFFF);
  int status = -1;
  YYBitmapLoadResource(number - 1, 100, status);
  ASSERT_EQ(status, 0);
  std::array<std::int32_t, 6> read{};
  YYBitmapGetPixels(number - 1, read, 0, 0, 1, 2, status);
  EXPECT_EQ(read, (std::array<std::int32_t, 6>{0x0000FF, 0x00FF00, 0xFFFFFF, 0x000000, 0x00FFFF, 0x00FFFF}));
  YYBitmapLoadResource(number - 1, 4242, status);
  EXPECT_EQ(status, 1066);
}

TEST_F(BitmapSlots, ClipboardTakesACopyAndTheSlotKeepsItsBitmap) {
  int number = 0;
  YYBitmapCreate(number, 4, 4, 0x00FF00);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  int status = -1;
  YYBitmapToClipboard(number - 1, status);
  EXPECT_EQ(status, 0);
  ASSERT_TRUE(OpenClipboard(nullptr));
  auto* copy = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  EXPECT_NE(copy, nullptr);
  EXPECT_NE(copy, yyBitmapSlots[static_cast<std::size_t>(number - 1)].bitmap);
  CloseClipboard();
  EXPECT_NE(yyBitmapSlots[static_cast<std::size_t>(number - 1)].bitmap, nullptr);

  // A closed metafile goes there as an enhanced metafile.
  int w = 0, h = 0;
  YYEMFCREATE(0, 72, 72, w, h);
  YYEMFCLIP(0);
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_ENHMETAFILE));
}

TEST_F(BitmapSlots, DeletingTheCurrentTargetLeavesNoDanglingContext) {
  const int number = bitmapTarget(5, 5);
  int status = -1;
  YYBitmapDelete(number - 1, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(yyGdiContext.DrawDc, nullptr);
  EXPECT_EQ(yyGdiContext.DrawBitmap, nullptr);
  IGrSelect(kTargetWindow);
  EXPECT_NE(yyGdiContext.DrawDc, nullptr);
}

}  // namespace
