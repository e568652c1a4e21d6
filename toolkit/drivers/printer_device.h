#pragma once
// The toolkit's access to the default printer: which printer it is and what
// page it offers.

#include <array>
#include <string>

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

// Keep the floating-point control word safe across calls into the printer system.
void YYFpuSave();
void YYFpuRestore();

// Reads the default printer from the "Device" entry of the "windows" profile
// section; 1 on success, 0 when there is none.
int YYDefaultPrinter();

// The default printer's paper (long side first) and page in points, with a
// one-inch margin, orientation 1, copies 1 and its colour count.  error is 0, or
// the Windows code when there is no printer; the page values are then 0.
void YYPrinterCaps(int& paperWidth, int& paperHeight, int& pageWidth, int& pageHeight, int& offsetX,
                   int& offsetY, int& orientation, int& copies, int& colourCount, int& error);
