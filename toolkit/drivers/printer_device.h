#pragma once
// The toolkit's access to the default printer: which printer it is, what page
// it offers, device contexts with the kept settings, and the print of the window.

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

// The printer that printing goes to: filled from the default printer on first use.
struct YYChosenPrinter {
  int chosen = 0;
  std::string device;
  std::string driver;
  std::string port;
};
extern YYChosenPrinter yyChosenPrinter;

// Printer settings kept from the page set-up dialog; -1 (99999 for the last two)
// means not set.
struct YYPrinterSettings {
  int paperSize = -1;
  int paperLength = -1;
  int paperWidth = -1;
  int scale = -1;
  int defaultSource = -1;
  int printQuality = -1;
  int colour = -1;
  int duplex = -1;
  int yResolution = -1;
  int trueTypeOption = -1;
  int collate = -1;
  int mediaType = 99999;
  int ditherType = 99999;
  int pageSetupRemembered = 0;  // the page set-up dialog reuses its handles while set
};
extern YYPrinterSettings yyPrinterSettings;

// The x87 control word kept by YYFpuSave.  A 64-bit program does its floating
// point in SSE registers, so their control and status word is kept beside it.
extern std::uint16_t yyFpuControlWord;
extern std::uint32_t yyFpuSseControlWord;

// Splits a "Device" profile value "device,driver,port" into the printer's names;
// blanks after each comma are skipped, blanks before a comma kept.  False, and
// the printer untouched, when the value has fewer than two commas (an empty
// value among them): then there is no printer to talk to.
bool YYPrinterEntrySplit(std::string_view entry, YYChosenPrinter& printer);

// Keep the floating-point control word safe across calls into the printer system.
void YYFpuSave();
void YYFpuRestore();

// Reads the default printer from the "Device" entry of the "windows" profile
// section; 1 on success, 0 when there is none or the entry names no driver and
// port.
int YYDefaultPrinter();

// The default printer's paper (long side first) and page in points, with a
// one-inch margin, orientation 1, copies 1 and its colour count.  error is 0, or
// the Windows code when there is no printer; the page values are then 0.
void YYPrinterCaps(int& paperWidth, int& paperHeight, int& pageWidth, int& pageHeight, int& offsetX,
                   int& offsetY, int& orientation, int& copies, int& colourCount, int& error);

// A device context on the chosen printer, landscape for a non-zero orientation,
// with the copies and every kept setting that the printer supports; null when
// the printer cannot be opened.  The caller deletes it.
HDC YYPrinterCreateDC(int orientation, int copies);

// The print of the window: starts a document and a page on the chosen printer
// whose logical (0,0) lies offsetX, offsetY points from the paper's corner and
// whose picture area is pageWidth x pageHeight points.  error 1 when the printer
// gives no device context or refuses the document.
void YYPrinterStartPage(int pageWidth, int pageHeight, int offsetX, int offsetY, int& error, int orientation,
                        int copies, std::string_view documentName);
// Copies the rectangle (x1,y1)-(x2,y2), inclusive, of the current drawing target
// onto the whole dump page; error 1 when any step fails.
void YYPrinterBitmap(int x1, int y1, int x2, int y2, int& error);
// Ends the page and the document and releases the dump's device context.
void YYPrinterEndPage();

// Size in bytes of the colour table that follows a DIB's header (core or info).
int YYDibColourCount(const BITMAPINFOHEADER& header);
