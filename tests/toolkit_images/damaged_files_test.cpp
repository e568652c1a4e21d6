// Every routine that reads a file a user or another program supplies, fed
// damaged and oversized files: each answers with a failure status, lets no
// exception out, takes no more memory than the file can fill and leaves
// nothing behind (memory, GDI objects, open files, filled slots).
//
// The program's allocations are watched through its own operator new: the
// largest single request and the peak of live bytes during a case.

#include <gtest/gtest.h>

#include <windows.h>

#include <psapi.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "image_files_support.h"
#include "toolkit/core/error_reporter.h"
#include "toolkit/drivers/metafile_gdi.h"
#include "toolkit/graphics/graphics_inquiry.h"
#include "toolkit/graphics/image_drawing.h"
#include "toolkit/graphics/image_reading.h"
#include "toolkit/graphics/image_slots.h"
#include "toolkit/graphics/screen_gdi.h"
#include "toolkit/grid/grid_cells.h"
#include "toolkit/grid/grid_files.h"
#include "toolkit/grid/grid_model.h"

// ---- allocation watch ---------------------------------------------------------

namespace {

std::atomic<std::size_t> liveBytes{0};
std::atomic<std::size_t> peakBytes{0};
std::atomic<std::size_t> largestRequest{0};
constexpr std::size_t kHeader = 16;  // keeps the block's size, and the alignment

void* watchedAllocation(std::size_t size) {
  std::size_t largest = largestRequest.load();
  while (size > largest && !largestRequest.compare_exchange_weak(largest, size)) {
  }
  if (size > SIZE_MAX - kHeader) return nullptr;
  auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
  if (block == nullptr) return nullptr;
  *reinterpret_cast<std::size_t*>(block) = size;
  const std::size_t now = liveBytes += size;
  std::size_t peak = peakBytes.load();
  while (now > peak && !peakBytes.compare_exchange_weak(peak, now)) {
  }
  return block + kHeader;
}

void watchedRelease(void* p) {
  if (p == nullptr) return;
  auto* block = static_cast<unsigned char*>(p) - kHeader;
  liveBytes -= *reinterpret_cast<std::size_t*>(block);
  std::free(block);
}

}  // namespace

void* operator new(std::size_t size) {
  if (void* p = watchedAllocation(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  if (void* p = watchedAllocation(size)) return p;
  throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return watchedAllocation(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return watchedAllocation(size); }
void operator delete(void* p) noexcept { watchedRelease(p); }
void operator delete[](void* p) noexcept { watchedRelease(p); }
void operator delete(void* p, std::size_t) noexcept { watchedRelease(p); }
void operator delete[](void* p, std::size_t) noexcept { watchedRelease(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { watchedRelease(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { watchedRelease(p); }

namespace {

using namespace image_test;

// ---- damaged files --------------------------------------------------------------

struct Damaged {
  std::string what;
  Bytes bytes;
};

void put32(Bytes& b, std::size_t at, std::uint32_t v, bool bigEndian = false) {
  if (b.size() < at + 4) b.resize(at + 4, 0);
  for (std::size_t i = 0; i < 4; ++i) {
    const std::uint32_t shift = bigEndian ? 24 - 8 * static_cast<std::uint32_t>(i) : 8 * static_cast<std::uint32_t>(i);
    b[at + i] = static_cast<std::uint8_t>((v >> shift) & 0xFF);
  }
}
void put16(Bytes& b, std::size_t at, std::uint32_t v) {
  if (b.size() < at + 2) b.resize(at + 2, 0);
  b[at] = static_cast<std::uint8_t>(v & 0xFF);
  b[at + 1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
}

// A 32-bit field of a file set to a value.
struct FieldDamage {
  std::size_t offset;
  std::uint32_t value;
  bool bigEndian;
  int width;  // 2 or 4 bytes
};

constexpr std::uint32_t kHuge[] = {0x7FFFFFF0u, 0x40000000u, 0xFFFFFFFEu, 0x80000000u};

// Cuts at several places, a header field at each huge value, and noise.
std::vector<Damaged> damagedVersions(const std::string& name, const Bytes& valid,
                                     std::initializer_list<FieldDamage> fields) {
  std::vector<Damaged> out;
  for (const std::size_t length : {std::size_t{0}, std::size_t{1}, std::size_t{10}, std::size_t{20},
                                   std::size_t{40}, valid.size() / 2, valid.size() - 1}) {
    if (length < valid.size()) out.push_back({name + " cut to " + std::to_string(length), Bytes(valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(length))});
  }
  for (const FieldDamage& f : fields) {
    for (const std::uint32_t v : kHuge) {
      Bytes b = valid;
      if (f.width == 2) {
        put16(b, f.offset, f.bigEndian ? ((v >> 8) & 0xFF) | ((v & 0xFF) << 8) : v & 0xFFFF);
      } else {
        put32(b, f.offset, f.value != 0 ? f.value : v, f.bigEndian);
      }
      out.push_back({name + " field at " + std::to_string(f.offset) + " = " + std::to_string(f.value != 0 ? f.value : v), b});
      if (f.value != 0) break;
    }
  }
  std::mt19937 random(static_cast<unsigned>(valid.size()));
  for (int round = 0; round < 3; ++round) {
    Bytes b = valid;
    for (int k = 0; k < 6; ++k) b[random() % b.size()] = static_cast<std::uint8_t>(random());
    out.push_back({name + " noise " + std::to_string(round), b});
  }
  return out;
}

// The issue's own files: a 62-byte BMP whose size field asks for 2 GB, a PNG
// whose width passes a 64-bit check, and a short PNG whose tiny data claims a
// huge image.
Bytes bmpOfSixtyTwoBytes() {
  Bytes b(62, 0);
  b[0] = 'B';
  b[1] = 'M';
  put32(b, 2, 62);
  put32(b, 10, 62);
  put32(b, 14, 40);
  put32(b, 18, 1);
  put32(b, 22, 1);
  put16(b, 26, 1);
  put16(b, 28, 1);
  put32(b, 34, 0x7FFFFFF0u);
  return b;
}

Bytes pngOf(std::uint32_t width, std::uint32_t height, int depth, int type, const Bytes& data) {
  Bytes b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  auto chunk = [&b](const char* type, const Bytes& body) {
    Bytes head(8, 0);
    put32(head, 0, static_cast<std::uint32_t>(body.size()), true);
    head[4] = static_cast<std::uint8_t>(type[0]);
    head[5] = static_cast<std::uint8_t>(type[1]);
    head[6] = static_cast<std::uint8_t>(type[2]);
    head[7] = static_cast<std::uint8_t>(type[3]);
    b.insert(b.end(), head.begin(), head.end());
    b.insert(b.end(), body.begin(), body.end());
    b.insert(b.end(), {0, 0, 0, 0});  // the reader passes the CRC over
  };
  Bytes ihdr(13, 0);
  put32(ihdr, 0, width, true);
  put32(ihdr, 4, height, true);
  ihdr[8] = static_cast<std::uint8_t>(depth);
  ihdr[9] = static_cast<std::uint8_t>(type);
  chunk("IHDR", ihdr);
  chunk("IDAT", data);
  chunk("IEND", {});
  return b;
}

// A zlib stream of a few bytes that inflates to a few bytes.
const Bytes kTinyZlib = {0x78, 0x9C, 0x63, 0x60, 0x00, 0x00, 0x00, 0x02, 0x00, 0x01};

// A small enhanced metafile, recorded by the system: a rectangle and a line.
Bytes smallEnhancedMetafile() {
  const RECT frame{0, 0, 2000, 1000};
  HDC dc = CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr);
  Rectangle(dc, 1, 1, 40, 20);
  MoveToEx(dc, 0, 0, nullptr);
  LineTo(dc, 30, 30);
  HENHMETAFILE metafile = CloseEnhMetaFile(dc);
  Bytes bytes(GetEnhMetaFileBits(metafile, 0, nullptr));
  GetEnhMetaFileBits(metafile, static_cast<UINT>(bytes.size()), bytes.data());
  DeleteEnhMetaFile(metafile);
  return bytes;
}

std::vector<Damaged> damagedEnhancedMetafiles() {
  const Bytes valid = smallEnhancedMetafile();
  std::vector<Damaged> out;
  auto with = [&](const char* what, std::size_t at, std::uint32_t value) {
    Bytes b = valid;
    put32(b, at, value);
    out.push_back({what, b});
  };
  with("header size 0", 4, 0);
  with("header size past the file", 4, 0x7FFFFFF0u);
  with("no handles", 56, 0);
  with("total size past the file", 48, 0x40000000u);
  with("second record of size 0", 4 + (valid[4] | valid[5] << 8), 0);
  with("second record of an odd size", 4 + (valid[4] | valid[5] << 8), 13);
  with("second record past the file", 4 + (valid[4] | valid[5] << 8), 0x7FFFFFF0u);
  with("not a header record", 0, 2);
  // A chain without its end record.
  out.push_back({"no end record", Bytes(valid.begin(), valid.end() - 20)});
  for (const std::size_t length : {std::size_t{0}, std::size_t{8}, std::size_t{87}}) {
    out.push_back({"cut to " + std::to_string(length), Bytes(valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(length))});
  }
  return out;
}

// A binary CGM of one picture: BEGIN METAFILE, BEGIN PICTURE, BEGIN PICTURE
// BODY, END PICTURE, END METAFILE.
const Bytes kSmallCgm = {0x00, 0x22, 0x01, 'x', 0x00, 0x62, 0x01, 'p', 0x00, 0x80, 0x00, 0xA0, 0x00, 0x40};

// ---- what is left behind --------------------------------------------------------

// What the process holds, before and after a case.
struct Holdings {
  std::size_t liveBytes;
  DWORD gdiObjects;
  static Holdings now() { return {::liveBytes.load(), GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)}; }
};

std::size_t virtualPeak() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  return GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters) ? counters.PeakPagefileUsage : 0;
}

// Memory a file of `size` bytes may fill: its own bytes many times over (a
// deflate stream inflates up to 1032 times), and a fixed allowance.
std::size_t allowanceFor(std::size_t size) { return 2 * 1024 * 1024 + 2100 * size; }

class DamagedFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    YYErrorStateReset();
    YYErrorModeSet(kReportSilent);
    startPeak_ = virtualPeak();
  }
  void TearDown() override {
    // No case asked the system for room that its file could not fill.
    EXPECT_LT(virtualPeak(), startPeak_ + 512u * 1024 * 1024);
  }

  // Runs one routine on the file: it must not throw, must stay within the
  // file's allowance and must leave nothing behind; the file must be free to go.
  void exercise(const Damaged& file, const std::string& routine, const std::function<void(const std::string&)>& call) {
    SCOPED_TRACE(file.what + " through " + routine);
    const std::string path = scratchPath("damaged.bin");
    writeAll(path, file.bytes);
    largestRequest = 0;
    peakBytes = liveBytes.load();
    const std::size_t start = peakBytes.load();
    Holdings before{};
    try {
      call(path);  // a first call may set up what lives on (fonts, caches)
      before = Holdings::now();
      call(path);
    } catch (...) {
      ADD_FAILURE() << "an exception left the routine";
      return;
    }
    const std::size_t allowance = allowanceFor(file.bytes.size());
    EXPECT_LE(largestRequest.load(), allowance) << "asked for room the file cannot fill";
    EXPECT_LE(peakBytes.load() - start, allowance) << "held room the file cannot fill";
    const Holdings after = Holdings::now();
    EXPECT_EQ(after.liveBytes, before.liveBytes) << "memory left behind";
    EXPECT_EQ(after.gdiObjects, before.gdiObjects) << "GDI objects left behind";
    EXPECT_TRUE(DeleteFileA(path.c_str())) << "the file is still open";
  }

  std::size_t startPeak_ = 0;
};

}  // namespace

// The drawing answers a failure status for every one of these files.
class DamagedImages : public DamagedFiles {
 protected:
  void SetUp() override {
    DamagedFiles::SetUp();
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateCompatibleBitmap(dc_, 16, 16);
    old_ = SelectObject(dc_, bitmap_);
    saved_ = yyGdiContext.DrawDc;
    yyGdiContext.DrawDc = dc_;
  }
  void TearDown() override {
    yyGdiContext.DrawDc = saved_;
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
    DamagedFiles::TearDown();
  }
  // Each file through the inquiry, the reader and the drawing.
  void all(const std::vector<Damaged>& files, int kind) {
    for (const Damaged& file : files) {
      exercise(file, "the inquiry", [](const std::string& path) {
        std::array<std::int32_t, kFileInfoEntries> info{};
        YYGrFileInfo(path, info, kFileInfoEntries);
      });
      exercise(file, "the reader", [](const std::string& path) {
        std::vector<std::int32_t> colours(64 * 64);
        errorState.lastError = 0;
        IGrLoadImageData(path, colours);
      });
      exercise(file, "the drawing", [kind](const std::string& path) {
        int error = -1;
        int osError = 0;
        YYDrawImageFile(kind, kImageTargetScreen, 0, 0, 10, 10, 1, error, osError, path.c_str());
        EXPECT_NE(error, -1);
      });
    }
  }
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  HDC saved_ = nullptr;
};

TEST_F(DamagedImages, TheIssuesFilesFailWithoutTakingTheRoomTheyAskFor) {
  Bytes bmpFixture = readAll(fixturePath("bmp24.bmp"));
  put32(bmpFixture, 34, 0x40000000u);
  const std::vector<Damaged> files = {
      {"62-byte BMP asking for 2 GB", bmpOfSixtyTwoBytes()},
      {"BMP fixture whose size field asks for 1 GB", bmpFixture},
      {"PNG of width 0xFFFFFFFE", pngOf(0xFFFFFFFEu, 1, 1, 3, kTinyZlib)},
      {"short PNG claiming 30000 x 30000", pngOf(30000, 30000, 8, 2, kTinyZlib)},
      {"short PNG claiming 100000 x 5000 palette pixels", pngOf(100000, 5000, 8, 3, kTinyZlib)},
  };
  for (const Damaged& file : files) {
    SCOPED_TRACE(file.what);
    const int kind = file.what.find("PNG") != std::string::npos ? kFilePng : kFileBmp;
    all({file}, kind);
    const std::string path = scratchPath("issue.bin");
    writeAll(path, file.bytes);
    int error = 0;
    int osError = 0;
    YYDrawImageFile(kind, kImageTargetScreen, 0, 0, 10, 10, 1, error, osError, path.c_str());
    EXPECT_NE(error, 0);
  }
}

TEST_F(DamagedImages, DamagedBmpFilesFail) {
  const Bytes valid = readAll(fixturePath("bmp24.bmp"));
  all(damagedVersions("bmp24", valid,
                      {{2, 0, false, 4}, {10, 0, false, 4}, {14, 0, false, 4}, {18, 0, false, 4},
                       {22, 0, false, 4}, {34, 0, false, 4}, {46, 0, false, 4}}),
      kFileBmp);
  const Bytes runs = readAll(fixturePath("bmp_rle8.bmp"));
  all(damagedVersions("bmp_rle8", runs, {{18, 0, false, 4}, {22, 0, false, 4}, {34, 0, false, 4}}), kFileBmp);
}

TEST_F(DamagedImages, DamagedPcxFilesFail) {
  for (const char* name : {"pcx8x1.pcx", "pcx8x3.pcx", "pcx1x4.pcx"}) {
    const Bytes valid = readAll(fixturePath(name));
    all(damagedVersions(name, valid,
                        {{8, 0, false, 2}, {10, 0, false, 2}, {66, 0, false, 2}, {4, 0, false, 2}}),
        kFilePcx);
  }
}

TEST_F(DamagedImages, DamagedPngFilesFail) {
  for (const char* name : {"png_rgb8.png", "png_p8.png", "png_rgba.png"}) {
    const Bytes valid = readAll(fixturePath(name));
    // Width, height and the first chunk's length after the header.
    all(damagedVersions(name, valid, {{16, 0, true, 4}, {20, 0, true, 4}, {33, 0, true, 4}}), kFilePng);
  }
}

TEST_F(DamagedImages, ValidFilesStillDrawAfterTheGuards) {
  for (const char* name : {"bmp24.bmp", "bmp_rle8.bmp", "bmp_rle4.bmp", "pcx8x1.pcx", "pcx8x3.pcx", "pcx1x4.pcx",
                           "png_rgb8.png", "png_p2.png", "png_filters.png"}) {
    SCOPED_TRACE(name);
    const std::string path = fixturePath(name);
    std::array<std::int32_t, kFileInfoEntries> info{};
    YYGrFileInfo(path, info, kFileInfoEntries);
    int error = -1;
    int osError = 0;
    YYDrawImageFile(info[0], kImageTargetScreen, 0, 0, 10, 10, 1, error, osError, path.c_str());
    EXPECT_EQ(error, 0);
  }
}

TEST_F(DamagedFiles, DamagedPlotFilesAreCountedOrRefused) {
  std::vector<Damaged> files = damagedVersions("cgm", kSmallCgm, {{0, 0x003F7FFFu, true, 4}, {4, 0x007FFFFFu, true, 4}});
  // A long-form element whose length word claims 32767 bytes.
  files.push_back({"CGM long form past the end", {0x00, 0x3F, 0x7F, 0xFF, 0x01, 'x'}});
  const std::string pic = "\x01\x00\x00\x00\x01\x00\x08\x00\x44\x00\x00\x00\x00\x0c\x7f\x09\x06";
  for (const Damaged& d : damagedVersions("pic", Bytes(pic.begin(), pic.end()), {})) files.push_back(d);
  const std::string hpgl = "IN;SP1;PA10,10;PD20,20;PG;PU;PA0,0;PG;\r\n";
  for (const Damaged& d : damagedVersions("hpgl", Bytes(hpgl.begin(), hpgl.end()), {})) files.push_back(d);
  files.push_back({"HP-GL of one long line", Bytes(200000, 'P')});
  for (const Damaged& file : files) {
    exercise(file, "the CGM count", [](const std::string& path) {
      std::int32_t pictures = 0;
      float aspect = 0.0f;
      YYINFOCGM(path, static_cast<int>(path.size()), pictures, aspect);
    });
    exercise(file, "the PIC count", [](const std::string& path) {
      std::int32_t pictures = 0;
      YYCNTPIC(path, static_cast<int>(path.size()), pictures);
    });
    exercise(file, "the HP-GL count", [](const std::string& path) {
      std::int32_t pages = 0;
      YYCNTHPG(path, pages);
    });
  }
  // The damaged CGM files are refused, not counted.
  for (const Damaged& file : {files[1], files.back()}) {
    SCOPED_TRACE(file.what);
    const std::string path = scratchPath("count.cgm");
    writeAll(path, file.bytes);
    errorState.lastError = 0;
    std::int32_t pictures = 0;
    float aspect = 0.0f;
    YYINFOCGM(path, static_cast<int>(path.size()), pictures, aspect);
    EXPECT_NE(errorState.lastError, 0);
  }
}

TEST_F(DamagedFiles, DamagedEnhancedMetafilesAreNotLoadedNorPlayed) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, 32, 32);
  HGDIOBJ old = SelectObject(dc, bitmap);
  HDC saved = yyGdiContext.DrawDc;
  yyGdiContext.DrawDc = dc;
  constexpr int kSlot = 3;
  for (const Damaged& file : damagedEnhancedMetafiles()) {
    exercise(file, "the slot's load and play", [&file](const std::string& path) {
      int status = -1;
      int systemError = 0;
      YYEMFLOAD(kSlot, static_cast<int>(file.bytes.size()), status, systemError, path);
      EXPECT_NE(status, 0);
      EXPECT_EQ(YYEmfClosedMetafile(kSlot), nullptr);  // the slot stays empty
      YYEMFPLAY(kSlot, 0, 0, 20, 20);
    });
    exercise(file, "the metafile play", [](const std::string& path) {
      int error = 0;
      YYMetaPlay(kMetaEnhanced, 0, 0, 20, 20, 0, error, path);
      EXPECT_NE(error, 0);
    });
  }
  // A byte count far beyond the file is a short read, found before room is taken.
  const Damaged valid{"valid", smallEnhancedMetafile()};
  exercise(valid, "a load of 2 GB", [](const std::string& path) {
    int status = -1;
    int systemError = 0;
    YYEMFLOAD(kSlot, 0x7FFFFFF0, status, systemError, path);
    EXPECT_EQ(status, 2);
  });
  // The valid file loads and plays.
  const std::string path = scratchPath("valid.emf");
  writeAll(path, valid.bytes);
  int status = -1;
  int systemError = 0;
  YYEMFLOAD(kSlot, static_cast<int>(valid.bytes.size()), status, systemError, path);
  EXPECT_EQ(status, 0);
  EXPECT_NE(YYEmfClosedMetafile(kSlot), nullptr);
  YYEMFPLAY(kSlot, 0, 0, 20, 20);
  YYEMFDELETE(kSlot);
  yyGdiContext.DrawDc = saved;
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

namespace {
GridRecord* loadedGrid = nullptr;
}  // namespace

TEST_F(DamagedFiles, DamagedGridFilesLoadWithoutHarm) {
  GridRecord grid;
  GridColumn text;
  text.type = kGridString;
  text.textWidth = 20;
  GridColumn number;
  number.type = kGridInteger;
  number.textWidth = 11;
  grid.columnList = {text, number};
  grid.columns = grid.columnsDefined = 2;
  grid.rowsAllocated = grid.rows = 4;
  grid.labels.assign(4, std::string());
  for (GridColumn& column : grid.columnList) ASSERT_TRUE(YYGridAllocateColumn(column, grid.rowsAllocated));
  grid.defined = 1;
  loadedGrid = &grid;
  yyGridOfCurrentWindow = [] { return loadedGrid; };
  const std::string csv = "name,count\r\n\"a, b\",12\r\n\"c\"\"d\",34\r\n";
  std::vector<Damaged> files = damagedVersions("grid text", Bytes(csv.begin(), csv.end()), {});
  files.push_back({"one line of 300000 characters", Bytes(300000, 'x')});
  files.push_back({"an open quote to the end", Bytes(100000, '"')});
  files.push_back({"NUL bytes", Bytes(5000, 0)});
  for (const Damaged& file : files) {
    exercise(file, "the grid's load", [](const std::string& path) { WGridLoad(0, path); });
  }
  yyGridOfCurrentWindow = nullptr;
  loadedGrid = nullptr;
}
