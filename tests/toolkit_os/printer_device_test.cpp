#include "toolkit/drivers/printer_device.h"

#include <gtest/gtest.h>
#include <windows.h>
#if defined(__x86_64__)
#include <xmmintrin.h>
#endif

#include <cstdint>
#include <cstring>

#include "toolkit/core/error_reporter.h"
#include "toolkit/drivers/hardcopy_setup.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/screen_gdi.h"

namespace {

std::uint16_t x87ControlWord() {
  std::uint16_t word = 0;
  __asm__ volatile("fnstcw %0" : "=m"(word));
  return word;
}
void setX87ControlWord(std::uint16_t word) { __asm__ volatile("fldcw %0" : : "m"(word)); }

// Each case starts with no printer chosen, so the default printer is read
// afresh; the kept settings are put back afterwards.
class PrinterDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    yyChosenPrinter = YYChosenPrinter{};
    yyPrinterSettings = YYPrinterSettings{};
  }
  void TearDown() override {
    yyChosenPrinter = YYChosenPrinter{};
    yyPrinterSettings = YYPrinterSettings{};
    yyGdiContext.DrawDc = nullptr;
  }
  static void chooseMissingPrinter() {
    yyChosenPrinter.chosen = 1;
    yyChosenPrinter.device = "No Such Printer";
    yyChosenPrinter.driver = "wineps.drv";
    yyChosenPrinter.port = "CUPS:NoSuchPrinter";
  }
};

TEST(PrinterEntry, SplitsDeviceDriverAndPortOrFindsNoPrinter) {
  struct EntryCase {
    const char* entry;
    bool printer;
    const char* device;
    const char* driver;
    const char* port;
  };
  const EntryCase cases[] = {
      {"PDF,wineps.drv,CUPS:PDF", true, "PDF", "wineps.drv", "CUPS:PDF"},
      {"Office Laser , winspool,  LPT1:", true, "Office Laser ", "winspool", "LPT1:"},
      {"A,B,C,D", true, "A", "B", "C,D"},
      {"A,,", true, "A", "", ""},
      {"", false, "", "", ""},
      {"PDF", false, "", "", ""},
      {"PDF,wineps.drv", false, "", "", ""},
  };
  for (const auto& c : cases) {
    YYChosenPrinter printer;
    EXPECT_EQ(YYPrinterEntrySplit(c.entry, printer), c.printer) << c.entry;
    EXPECT_EQ(printer.device, c.device) << c.entry;
    EXPECT_EQ(printer.driver, c.driver) << c.entry;
    EXPECT_EQ(printer.port, c.port) << c.entry;
  }
}

// The test run's CUPS PDF printer: A4 at 300 dpi, so 2479 x 3508 dots.
TEST_F(PrinterDevice, CapsOfThePdfPrinterGiveALandscapeA4PageWithInchMargins) {
  yyPrinterSettings.paperSize = DMPAPER_LETTER;
  yyPrinterSettings.pageSetupRemembered = 1;
  int paperWidth = -1, paperHeight = -1, pageWidth = -1, pageHeight = -1, offsetX = -1, offsetY = -1;
  int orientation = -1, copies = -1, colours = 0, error = -1;
  YYPrinterCaps(paperWidth, paperHeight, pageWidth, pageHeight, offsetX, offsetY, orientation, copies, colours,
                error);
  ASSERT_EQ(error, 0);
  EXPECT_EQ(yyChosenPrinter.chosen, 1);
  EXPECT_EQ(yyChosenPrinter.device, "PDF");
  EXPECT_EQ(yyChosenPrinter.driver, "wineps.drv");
  EXPECT_EQ(yyChosenPrinter.port, "CUPS:PDF");
  EXPECT_EQ(paperWidth, 841);
  EXPECT_EQ(paperHeight, 594);
  EXPECT_EQ(pageWidth, 697);
  EXPECT_EQ(pageHeight, 450);
  EXPECT_EQ(offsetX, 72);
  EXPECT_EQ(offsetY, 72);
  EXPECT_EQ(orientation, 1);
  EXPECT_EQ(copies, 1);
  EXPECT_NE(colours, 0);
  // The first choice of the default printer forgets the page set-up's printer,
  // and every inquiry forgets the kept settings.
  EXPECT_EQ(yyPrinterSettings.pageSetupRemembered, 0);
  EXPECT_EQ(yyPrinterSettings.paperSize, -1);
}

TEST_F(PrinterDevice, APrinterThatDoesNotAnswerGivesAnErrorAndNoPage) {
  chooseMissingPrinter();
  int paperWidth = -1, paperHeight = -1, pageWidth = -1, pageHeight = -1, offsetX = -1, offsetY = -1;
  int orientation = -1, copies = -1, colours = -1, error = 0;
  YYPrinterCaps(paperWidth, paperHeight, pageWidth, pageHeight, offsetX, offsetY, orientation, copies, colours,
                error);
  EXPECT_NE(error, 0);
  for (int value : {paperWidth, paperHeight, pageWidth, pageHeight, offsetX, offsetY, orientation, copies, colours}) {
    EXPECT_EQ(value, 0);
  }
  EXPECT_EQ(YYPrinterCreateDC(1, 1), nullptr);
  int startError = 0;
  YYPrinterStartPage(697, 450, 72, 72, startError, 1, 1, "dump");
  EXPECT_EQ(startError, 1);
  int bitmapError = 0;
  YYPrinterBitmap(0, 0, 9, 9, bitmapError);  // no page started
  EXPECT_EQ(bitmapError, 1);
  YYPrinterEndPage();
}

// Start-up without a printer: the dump knows there is none, and nothing is
// reported, so no box stands in the way of the program.
TEST_F(PrinterDevice, StartUpDefaultsWithoutAPrinterMarkItAbsentSilently) {
  chooseMissingPrinter();
  errorState.lastError = 0;
  yyDumpSettings.printerPresent = 1;
  YYHardcopyFileNames();
  EXPECT_EQ(yyDumpSettings.printerPresent, 0);
  EXPECT_EQ(yyDumpSettings.paperWidth, 0);
  EXPECT_EQ(yyDumpSettings.pageWidth, 0);
  EXPECT_EQ(yyDumpSettings.pageHeight, 0);
  EXPECT_EQ(yyDumpSettings.resetFlags, 3);
  EXPECT_EQ(errorState.lastError, 0);
}

TEST_F(PrinterDevice, TheControlWordSurvivesThePrinterInquiry) {
  const std::uint16_t original = x87ControlWord();
  const std::uint16_t unusual = 0x027F;  // 53-bit precision, every exception masked
  setX87ControlWord(unusual);
#if defined(__x86_64__)
  const unsigned int sseOriginal = _mm_getcsr();
  const unsigned int sseUnusual = (sseOriginal & ~0x6000u) | 0x6000u;  // round toward zero
  _mm_setcsr(sseUnusual);
#endif
  YYHardcopyFileNames();
  EXPECT_EQ(x87ControlWord(), unusual);
  YYFpuSave();
  setX87ControlWord(original);
#if defined(__x86_64__)
  EXPECT_EQ(_mm_getcsr(), sseUnusual);
  _mm_setcsr(sseOriginal);
#endif
  YYFpuRestore();  // brings back what was saved
  EXPECT_EQ(yyFpuControlWord, unusual);
  EXPECT_EQ(x87ControlWord(), unusual);
#if defined(__x86_64__)
  EXPECT_EQ(_mm_getcsr(), sseUnusual);
  _mm_setcsr(sseOriginal);
#endif
  setX87ControlWord(original);
}

// The device context follows the orientation asked for and the kept settings
// the printer supports; unset settings keep the printer's own (A4).  Wine's
// PostScript driver keeps what a process asked for as that printer's settings
// for the rest of the process, so the last case puts A4 upright back.
TEST_F(PrinterDevice, DeviceContextsTakeOrientationAndKeptSettings) {
  ASSERT_EQ(YYDefaultPrinter(), 1);
  struct DcCase {
    int orientation;
    int paperSize;
    int physicalWidth, physicalHeight;
  };
  for (const auto& c : {DcCase{1, -1, 3508, 2479}, DcCase{0, -1, 2479, 3508}, DcCase{0, DMPAPER_LETTER, 2550, 3300},
                        DcCase{1, DMPAPER_LETTER, 3300, 2550}, DcCase{0, DMPAPER_A4, 2479, 3508}}) {
    yyPrinterSettings.paperSize = c.paperSize;
    HDC dc = YYPrinterCreateDC(c.orientation, 2);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetDeviceCaps(dc, PHYSICALWIDTH), c.physicalWidth) << c.orientation << '/' << c.paperSize;
    EXPECT_EQ(GetDeviceCaps(dc, PHYSICALHEIGHT), c.physicalHeight) << c.orientation << '/' << c.paperSize;
    DeleteDC(dc);
  }
}

TEST(DibColourTable, SizeFollowsTheHeaderKindBitsAndColoursUsed) {
  struct TableCase {
    bool core;
    int bits;
    unsigned long used;
    int size;
  };
  for (const auto& c : {TableCase{false, 1, 0, 8}, TableCase{false, 4, 0, 64}, TableCase{false, 8, 0, 1024},
                        TableCase{false, 16, 0, 0}, TableCase{false, 24, 0, 0}, TableCase{false, 8, 5, 20},
                        TableCase{false, 24, 3, 12}, TableCase{true, 4, 0, 48}, TableCase{true, 8, 0, 768},
                        TableCase{true, 24, 0, 0}}) {
    BITMAPINFOHEADER header{};
    if (c.core) {
      BITMAPCOREHEADER core{};
      core.bcSize = sizeof core;
      core.bcBitCount = static_cast<WORD>(c.bits);
      static_assert(sizeof core <= sizeof header);
      std::memcpy(&header, &core, sizeof core);
    } else {
      header.biSize = sizeof header;
      header.biBitCount = static_cast<WORD>(c.bits);
      header.biClrUsed = c.used;
    }
    EXPECT_EQ(YYDibColourCount(header), c.size) << c.core << '/' << c.bits << '/' << c.used;
  }
}

// The print of a 16-colour drawing onto the PDF printer goes through every step.
TEST_F(PrinterDevice, ScreenDumpPrintsTheDrawingOnThePdfPrinter) {
  ASSERT_EQ(YYDefaultPrinter(), 1);
  HDC screen = GetDC(nullptr);
  HDC target = CreateCompatibleDC(screen);
  HBITMAP picture = CreateCompatibleBitmap(screen, 64, 48);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(target, picture);
  RECT all{0, 0, 64, 48};
  FillRect(target, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  RECT ink{8, 8, 40, 30};
  FillRect(target, &ink, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  yyGdiContext.DrawDc = target;

  int error = -1;
  YYPrinterStartPage(697, 450, 72, 72, error, 1, 1, "Carrowmapper dump test");
  ASSERT_EQ(error, 0);
  YYPrinterBitmap(0, 0, 63, 47, error);
  EXPECT_EQ(error, 0);
  YYPrinterBitmap(10, 10, 9, 20, error);  // an empty rectangle
  EXPECT_EQ(error, 1);
  YYPrinterEndPage();

  SelectObject(target, old);
  DeleteObject(picture);
  DeleteDC(target);
}

}  // namespace
