// The raster image driver, driven opcode by opcode: the page it lays out for
// each colour depth, the shrinking of a page that cannot be allocated, and the
// images it writes, read back by the toolkit's own image reader.  The images
// of the format table stay in raster_images/ with a list of their expected
// pixels (name, width, height, pages, then each page's colours as hexadecimal
// RGB, red in the low byte, top row first), for the check by programs of their
// own (check_raster_images.py).

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

#include "raster_fixture.h"
#include "support/error_reports.h"
#include "toolkit/drivers/hardcopy_dispatch.h"
#include "toolkit/drivers/raster_image_driver.h"
#include "toolkit/drivers/raster_printer.h"
#include "toolkit/graphics/graphics_inquiry.h"
#include "toolkit/graphics/image_reading.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kImageFolder = "raster_images";

int failuresLeft = 0;
int allocations = 0;
std::int32_t largestAllocation = -1;  // words; larger pages fail when not -1

bool failingAllocator() {
  ++allocations;
  if (failuresLeft > 0) {
    --failuresLeft;
    return false;
  }
  if (largestAllocation >= 0 && yyRasterPage.totalWords > largestAllocation) return false;
  return YYRasterPageAllocate();
}

std::string fileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t littleEndian32(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<std::uint8_t>(bytes.at(at + static_cast<std::size_t>(i)));
  return value;
}

// An image read back: colours row by row, the top row first.
struct ReadImage {
  int width = 0;
  int height = 0;
  std::vector<std::int32_t> colours;
};

ReadImage readBack(const fs::path& path) {
  ReadImage image;
  std::array<std::int32_t, 5> info{};
  YYGrFileInfo(path.string(), info, 5);
  image.width = info[1];
  image.height = info[2];
  if (image.width <= 0 || image.height <= 0) return image;
  image.colours.assign(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height), -1);
  errorState.lastError = 0;
  IGrLoadImageData(path.string(), image.colours);
  if (errorState.lastError != 0) image.colours.clear();
  return image;
}

class RasterImage : public RasterPageTest {
 protected:
  void SetUp() override {
    RasterPageTest::SetUp();
    failuresLeft = 0;
    allocations = 0;
    largestAllocation = -1;
    yyRasterPageAllocator = failingAllocator;
    yyGrAttributes.HardcopyOpen = 1;
    fs::create_directories(kImageFolder);
  }
  void TearDown() override {
    yyRasterPageAllocator = YYRasterPageAllocate;
    RasterPageTest::TearDown();
  }

  static void driver(std::int32_t opcode) { YYGRASTIMG(opcode); }

  static void start() {
    yyGrState.N = 0;
    driver(kOpInitialise);
  }

  // Begins a plot of a width x rows page on the output file; the surface has
  // one unit per pixel and the whole page is the viewport.
  static void beginPlot(const std::string& output, int width, int rows) {
    hardcopyOption(kOptPageWidth) = width;
    hardcopyOption(kOptPageHeight) = rows;
    yyGrState.SurfaceWidth = width;
    yyGrState.SurfaceHeight = rows;
    yyGrState.SurfaceWidthReal = static_cast<float>(width) - 0.01f;
    yyGrState.SurfaceHeightReal = static_cast<float>(rows) - 0.01f;
    TEXT = output;
    yyGrAttributes.HardcopyOpen = 1;
    yyGrState.M = 1;
    driver(kOpBeginPlot);
    yyGrState.M = 0;
    if (yyGrAttributes.HardcopyOpen == 0) return;
    clipTo(0, 0, width - 1, rows - 1);
    driver(kOpLineWidth);
    driver(kOpLineStyle);
  }

  static void endPage() {
    yyGrState.N = 1;
    driver(kOpEndPage);
  }
  static void endPlot() {
    driver(kOpEndPlot);
    yyGrAttributes.HardcopyOpen = 0;
  }

  // A short line of pixels, in surface units (one per pixel).
  static void dot(int column, int row, int length = 1) {
    points({{static_cast<float>(column), static_cast<float>(row)},
            {static_cast<float>(column + length - 1), static_cast<float>(row)}});
    driver(kOpLine);
  }
};

TEST_F(RasterImage, ProbeAndInitialiseDescribeTheDevice) {
  hardcopyOption(kOptPageWidth) = 77;
  yyGrState.N = kDriverProbe;
  driver(kOpInitialise);
  EXPECT_EQ(yyGrState.N, 6);
  EXPECT_EQ(hardcopyOption(kOptPageWidth), 77);

  hardcopyOption(kOptOrientation) = 1;
  hardcopyOption(kOptImageFormat) = 3;
  start();
  EXPECT_EQ(hardcopyOption(kOptPageWidth), 640);
  EXPECT_EQ(hardcopyOption(kOptPageHeight), 480);
  EXPECT_EQ(hardcopyOption(kOptOrientation), 0);
  EXPECT_EQ(hardcopyOption(kOptColourDepth), 8);
  EXPECT_EQ(hardcopyOption(kOptImageFormat), 0);
  EXPECT_EQ(hardcopyOption(kOptLineWidthTenths), 5);  // the common reset ran first
  EXPECT_EQ(yyGrState.HardcopyColourCount, 256);
  EXPECT_EQ(yyGrState.HardcopyColourMax, 256);
  EXPECT_EQ(yyGrState.HardcopyToFile, 0);
  EXPECT_EQ(yyGrState.HardcopyCaps.view(), "00000111111111110010011111000");
  EXPECT_EQ(yyHardcopyOutputName.str(), "zndvplot.pcx");
  EXPECT_EQ(yyGrState.ActiveDriver, 6);
}

TEST_F(RasterImage, BothRasterDriversAreDispatchedByTheirNumbers) {
  EXPECT_EQ(hardcopyDriver(kRasterPrinterDriver), &YYGRASTPRN);
  EXPECT_EQ(hardcopyDriver(kRasterImageDriver), &YYGRASTIMG);
  for (const int number : {kRasterPrinterDriver, kRasterImageDriver}) {
    yyHardcopyDriverNumber = number;
    yyGrState.N = kDriverProbe;
    YYGrPrimitive op = kOpInitialise;
    YYHCDISPATCH(op);
    EXPECT_EQ(yyGrState.N, number);
  }
  yyHardcopyDriverNumber = kWindowsPrinterDriver;
}

TEST_F(RasterImage, BeginPlotLaysThePageOutByColourDepth) {
  struct Case {
    int depth;
    int bits, planes, kind, wordsPerRow;
    std::uint32_t clearWord;
    int trueColour;
  };
  // A 40 x 3 page.
  const Case cases[] = {
      {24, 24, 1, 4, 40, 0xFFFFFFFFu, 1},  // starts white
      {8, 8, 1, 3, 10, 0u, 1},
      {4, 4, 4, 2, 2, 0u, 1},
      {1, 1, 1, 1, 2, 0u, 0},
      {2, 1, 1, 1, 2, 0u, 0},  // a depth no writer knows makes a one-bit page
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.depth);
    start();
    hardcopyOption(kOptColourDepth) = c.depth;
    hardcopyOption(kOptColourInversion) = 2;
    yyGrState.TrueColour[kHardcopySide] = 1;
    beginPlot(kScratchOutput, 40, 3);
    ASSERT_EQ(yyGrAttributes.HardcopyOpen, 1);
    EXPECT_EQ(yyRasterPage.bitsPerPixel, c.bits);
    EXPECT_EQ(yyRasterPage.planesMinusOne + 1, c.planes);
    EXPECT_EQ(yyGrState.RasterWord, c.planes);
    EXPECT_EQ(yyRasterPage.storageKind, c.kind);
    EXPECT_EQ(yyRasterPage.wordsPerRow, c.wordsPerRow);
    EXPECT_EQ(yyRasterPage.totalWords, c.wordsPerRow * 3 * c.planes);
    EXPECT_EQ(yyGrState.TrueColour[kHardcopySide], c.trueColour);
    EXPECT_EQ(hardcopyOption(kOptColourInversion), 0);
    EXPECT_FLOAT_EQ(yyRasterPage.horizontalResolution, 150.0f);
    EXPECT_FLOAT_EQ(yyRasterPage.verticalResolution, 150.0f);
    EXPECT_FLOAT_EQ(yyGrState.DeviceScaleX, 1.0f);
    ASSERT_EQ(yyRasterPage.buffer.size(), static_cast<std::size_t>(yyRasterPage.totalWords) + 1);
    EXPECT_TRUE(std::all_of(yyRasterPage.buffer.begin(), yyRasterPage.buffer.end(),
                            [&c](std::uint32_t w) { return w == c.clearWord; }));
    endPlot();
    EXPECT_TRUE(yyRasterPage.buffer.empty());
  }
}

// Each failed allocation is reported and shrinks the page by about 5% in
// each direction, until one succeeds.
TEST_F(RasterImage, FailedAllocationsShrinkThePageAndAreEachReported) {
  start();
  failuresLeft = 2;
  EXPECT_EQ(reportsOf(34, [] { beginPlot(kScratchOutput, 640, 480); }), 2);
  EXPECT_EQ(allocations, 3);
  EXPECT_EQ(yyGrAttributes.HardcopyOpen, 1);
  EXPECT_EQ(yyRasterPage.width, 575);
  EXPECT_EQ(yyRasterPage.rows, 431);
  EXPECT_EQ(errorState.lastError, 34);
  endPlot();
}

// A page past the 32-bit word counts, or larger than memory, shrinks until it
// fits, keeping its shape; a page that can no longer shrink ends the plot.
TEST_F(RasterImage, PagesTooLargeForMemoryShrinkUntilTheyFit) {
  start();
  hardcopyOption(kOptColourDepth) = 24;
  largestAllocation = 1000000;
  beginPlot(kScratchOutput, 400000, 300000);
  ASSERT_EQ(yyGrAttributes.HardcopyOpen, 1);
  EXPECT_LE(yyRasterPage.totalWords, 1000000);
  EXPECT_GT(yyRasterPage.totalWords, 800000);
  EXPECT_NEAR(static_cast<double>(yyRasterPage.width) / yyRasterPage.rows, 4.0 / 3.0, 0.01);
  endPlot();

  start();
  largestAllocation = 0;  // nothing can be allocated at all
  beginPlot(kScratchOutput, 3, 2);
  EXPECT_EQ(yyGrAttributes.HardcopyOpen, 0);
  EXPECT_EQ(errorState.lastError, 34);
  EXPECT_TRUE(yyRasterPage.buffer.empty());
}

TEST_F(RasterImage, AnOutputThatCannotBeOpenedEndsThePlot) {
  start();
  beginPlot("no_such_folder/zndvplot.pcx", 8, 8);
  EXPECT_EQ(yyGrAttributes.HardcopyOpen, 0);
  EXPECT_EQ(errorState.lastError, 1);  // the open's own report
  EXPECT_TRUE(yyRasterPage.buffer.empty());
  // A page drawn on regardless is dropped, not read from the freed page.
  yyGrState.PageBegun = -1;
  driver(kOpEndPage);
  EXPECT_EQ(yyGrState.PageBegun, 0);
}

// A small picture on each depth, written in each format: the reader gives back
// the colours that were drawn, the top row first.
TEST_F(RasterImage, ImagesHoldThePixelsThatWereDrawn) {
  const int kWidth = 13;  // odd, and not a whole byte of one-bit pixels
  const int kRows = 5;
  struct Depth {
    int depth;
    int ink, paper;  // colour numbers of the default table
  };
  const Depth depths[] = {{24, 47, 0}, {8, 111, 0}, {4, 175, 0}, {1, 223, 0}};
  struct Format {
    int option;
    const char* extension;
    std::string_view signature;
  };
  const Format formats[] = {
      {0, "pcx", std::string_view("\x0a", 1)},
      {1, "bmp", "BM"},
      {2, "bmp", "BM"},
      {3, "png", "\x89PNG"},
      {7, "pcx", std::string_view("\x0a", 1)},  // out of range: PCX
  };
  std::ofstream expected(fs::path(kImageFolder) / "expected_formats.txt");
  for (const Depth& d : depths) {
    for (const Format& f : formats) {
      const std::string name = "depth" + std::to_string(d.depth) + "_format" + std::to_string(f.option) + "." + f.extension;
      SCOPED_TRACE(name);
      const fs::path path = fs::path(kImageFolder) / name;
      start();
      hardcopyOption(kOptColourDepth) = d.depth;
      hardcopyOption(kOptImageFormat) = f.option;
      beginPlot(path.string(), kWidth, kRows);
      ASSERT_EQ(yyGrAttributes.HardcopyOpen, 1);
      // Every depth's page starts as white paper.
      colourNumber(d.ink);
      dot(0, kRows - 1, kWidth);  // the whole top row
      dot(2, 0, 3);               // three pixels of the bottom row
      dot(kWidth - 1, 2);         // the right end of the middle row
      endPage();
      endPlot();

      const std::string bytes = fileBytes(path);
      ASSERT_GE(bytes.size(), f.signature.size());
      EXPECT_EQ(bytes.substr(0, f.signature.size()), f.signature);
      std::int32_t ink = yyColourTable[static_cast<std::size_t>(d.ink)];
      std::int32_t paper = yyColourTable[static_cast<std::size_t>(d.paper)];
      // A one-bit PCX carries no palette: readers take a set bit as white, so
      // the page comes back as its negative.
      if (d.depth == 1 && std::string_view(f.extension) == "pcx") std::swap(ink, paper);
      std::vector<std::int32_t> want(kWidth * kRows, paper);
      for (int c = 0; c < kWidth; ++c) want[static_cast<std::size_t>(c)] = ink;
      for (int c = 2; c <= 4; ++c) want[static_cast<std::size_t>((kRows - 1) * kWidth + c)] = ink;
      want[static_cast<std::size_t>(2 * kWidth + kWidth - 1)] = ink;
      const ReadImage got = readBack(path);
      EXPECT_EQ(got.width, kWidth);
      EXPECT_EQ(got.height, kRows);
      EXPECT_EQ(got.colours, want);
      expected << name << ' ' << kWidth << ' ' << kRows << ' ' << 1;
      for (const std::int32_t colour : want) expected << ' ' << std::hex << colour << std::dec;
      expected << '\n';
    }
  }
}

// The run-length BMP gets its sizes at the end of the plot; a 24-bit BMP
// written under the same option is plain and not touched.
TEST_F(RasterImage, RunLengthBmpSizesAreCompletedAtEndOfPlot) {
  for (const int depth : {8, 4, 24}) {
    SCOPED_TRACE(depth);
    const fs::path path = fs::path(kImageFolder) / ("completed" + std::to_string(depth) + ".bmp");
    start();
    hardcopyOption(kOptColourDepth) = depth;
    hardcopyOption(kOptImageFormat) = 2;
    beginPlot(path.string(), 64, 8);
    colourNumber(47);
    dot(0, 3, 64);
    endPage();
    endPlot();
    const std::string bytes = fileBytes(path);
    ASSERT_GT(bytes.size(), 54u);
    EXPECT_EQ(littleEndian32(bytes, 2), bytes.size());
    EXPECT_EQ(littleEndian32(bytes, 30), depth == 8 ? 1u : depth == 4 ? 2u : 0u);
    const int paletteBytes = depth == 24 ? 0 : 4 << depth;
    EXPECT_EQ(littleEndian32(bytes, 34), depth == 24 ? 0u : bytes.size() - 54 - static_cast<std::size_t>(paletteBytes));
    const ReadImage got = readBack(path);
    ASSERT_EQ(got.colours.size(), 64u * 8u);
    EXPECT_EQ(got.colours[4 * 64 + 10], yyColourTable[47]);
    EXPECT_EQ(got.colours[0], yyColourTable[0]);
  }
}

// Every end of page appends an image; a page with nothing drawn writes none.
TEST_F(RasterImage, EachPageAppendsAnImageToTheFile) {
  constexpr int kWidth = 20;
  constexpr int kRows = 10;
  constexpr std::array<int, 3> kInk = {47, 175, 111};
  std::ofstream expected(fs::path(kImageFolder) / "expected_pages.txt");
  for (const int format : {0, 1, 3}) {
    SCOPED_TRACE(format);
    const char* extension = format == 0 ? "pcx" : format == 1 ? "bmp" : "png";
    const fs::path single = fs::path(kImageFolder) / (std::string("single.") + extension);
    const fs::path pages = fs::path(kImageFolder) / (std::string("pages.") + extension);
    for (const fs::path& path : {single, pages}) {
      start();
      hardcopyOption(kOptColourDepth) = 8;
      hardcopyOption(kOptImageFormat) = format;
      beginPlot(path.string(), kWidth, kRows);
      const int count = path == single ? 1 : 3;
      expected << path.filename().string() << ' ' << kWidth << ' ' << kRows << ' ' << count;
      for (int page = 0; page < count; ++page) {
        colourNumber(kInk[static_cast<std::size_t>(page)]);
        dot(page, 5, 10);  // row 4 from the top
        endPage();
        EXPECT_EQ(yyGrState.PageBegun, 0);
        endPage();  // nothing drawn since: no image
        for (int i = 0; i < kWidth * kRows; ++i) {
          const bool inked = i / kWidth == 4 && i % kWidth >= page && i % kWidth < page + 10;
          expected << ' ' << std::hex << yyColourTable[static_cast<std::size_t>(inked ? kInk[static_cast<std::size_t>(page)] : 0)]
                   << std::dec;
        }
      }
      expected << '\n';
      endPlot();
    }
    const std::string one = fileBytes(single);
    const std::string three = fileBytes(pages);
    ASSERT_FALSE(one.empty());
    // The first image is the first page, whole; two more follow it.
    EXPECT_EQ(three.substr(0, one.size()), one);
    EXPECT_GT(three.size(), 2 * one.size());
    if (format != 0) {
      const std::string signature = one.substr(0, 4);
      int images = 0;
      for (std::size_t at = three.find(signature); at != std::string::npos; at = three.find(signature, at + 1)) ++images;
      EXPECT_EQ(images, 3);
    }
    const ReadImage first = readBack(pages);
    ASSERT_EQ(first.colours.size(), static_cast<std::size_t>(kWidth * kRows));
    EXPECT_EQ(first.colours[4 * kWidth + 0], yyColourTable[47]);
    EXPECT_EQ(first.colours[4 * kWidth + 10], yyColourTable[0]);
  }
}

// The four planes of a four-bit page hold each colour block's pixel value in
// the order the writers read them: every block of 16 colour numbers comes
// back as a colour of its own block.
TEST_F(RasterImage, FourBitPagesKeepEachColourBlock) {
  const fs::path path = fs::path(kImageFolder) / "blocks4.bmp";
  start();
  hardcopyOption(kOptColourDepth) = 4;
  hardcopyOption(kOptImageFormat) = 1;
  beginPlot(path.string(), 16, 2);
  for (int block = 0; block < 16; ++block) {
    colourNumber(16 * block + 15);
    dot(block, 0);
    dot(block, 1);
  }
  endPage();
  endPlot();
  const ReadImage got = readBack(path);
  ASSERT_EQ(got.colours.size(), 32u);
  for (int block = 0; block < 16; ++block) {
    SCOPED_TRACE(block);
    // Blocks 1-14 show their last colour; block 0 white and block 15 its first.
    const int number = block == 0 ? 0 : block == 15 ? 240 : 16 * block + 15;
    EXPECT_EQ(got.colours[static_cast<std::size_t>(block)], yyColourTable[static_cast<std::size_t>(number)]);
  }
}

// An image file drawn into the viewport: stretched over the clip rectangle,
// its first row at the top; a file that cannot be read changes nothing and
// answers its error.
TEST_F(RasterImage, ImageFilesAreStretchedOverTheViewport) {
  // A 2 x 2 image: red, green over blue, white.
  const fs::path source = fs::path(kImageFolder) / "source.bmp";
  start();
  hardcopyOption(kOptColourDepth) = 24;
  hardcopyOption(kOptImageFormat) = 1;
  beginPlot(source.string(), 2, 2);
  colourRgb(rgb(255, 0, 0));
  dot(0, 1);
  colourRgb(rgb(0, 255, 0));
  dot(1, 1);
  colourRgb(rgb(0, 0, 255));
  dot(0, 0);
  endPage();
  endPlot();

  start();
  hardcopyOption(kOptColourDepth) = 24;
  beginPlot(kScratchOutput, 10, 8);
  clipTo(2, 1, 7, 6);  // 6 x 6 pixels
  TEXT = source.string();
  yyGrState.X2 = 2;
  yyGrState.Y2 = 2;
  yyGrState.PageBegun = 0;
  errorState.lastError = 77;
  driver(kOpImage);
  EXPECT_EQ(yyGrState.M, 0);
  EXPECT_EQ(errorState.lastError, 77);
  EXPECT_NE(yyGrState.PageBegun, 0);
  // The page starts with every word all ones: white, and the top byte set.
  const auto at = [](int c, int r) { return pixel(c, r) & 0xFFFFFF; };
  EXPECT_EQ(at(2, 6), rgb(255, 0, 0));
  EXPECT_EQ(at(4, 4), rgb(255, 0, 0));
  EXPECT_EQ(at(5, 4), rgb(0, 255, 0));
  EXPECT_EQ(at(7, 6), rgb(0, 255, 0));
  EXPECT_EQ(at(2, 3), rgb(0, 0, 255));
  EXPECT_EQ(at(4, 1), rgb(0, 0, 255));
  EXPECT_EQ(at(7, 1), rgb(255, 255, 255));
  // Outside the viewport the page stays white.
  EXPECT_EQ(at(1, 6), rgb(255, 255, 255));
  EXPECT_EQ(at(2, 7), rgb(255, 255, 255));
  EXPECT_EQ(at(2, 0), rgb(255, 255, 255));

  // A missing file: nothing drawn, no message, the error in M.
  const std::vector<std::uint32_t> before = yyRasterPage.buffer;
  TEXT = "raster_images/missing.bmp";
  yyGrState.M = 5;
  errorState.lastError = 0;
  errorState.reportingMode = kReportStatusBar;
  driver(kOpImage);
  EXPECT_NE(yyGrState.M, 0);
  EXPECT_EQ(yyGrState.M, errorState.lastError);
  EXPECT_EQ(yyGrState.N, errorState.ioDetail);
  EXPECT_EQ(errorState.reportingMode, kReportStatusBar);
  EXPECT_EQ(yyRasterPage.buffer, before);
  errorState.reportingMode = kReportSilent;

  // Sizes that give no array are refused the same way.
  TEXT = source.string();
  for (const auto& [w, h] : {std::pair{0, 2}, std::pair{-3, 2}, std::pair{1, 1}}) {
    yyGrState.X2 = w;
    yyGrState.Y2 = h;
    yyGrState.M = 0;
    driver(kOpImage);
    EXPECT_NE(yyGrState.M, 0) << w << " x " << h;
    EXPECT_EQ(yyRasterPage.buffer, before);
  }
  endPlot();
}

}  // namespace
