#pragma once
// What the rest of the toolkit needs of the hardcopy drivers: the start-up
// defaults, the version text, and stopping any hardcopy at shut-down.

#include "toolkit/core/fixed_text.h"

struct YYRasterDevice {
  int deviceCode = 0;
  int plotterModel = 0;
  int hpgl2Model = 0;
  int deviceGiven = 0;
  int plotterGiven = 0;
  int hpgl2Given = 0;
};
extern YYRasterDevice yyRasterDevice;

struct YYDumpSettings {
  int printerPresent = 0;
  int dumpKind = 0;
  FixedText<260> fileName;
};
extern YYDumpSettings yyDumpSettings;

extern FixedText<260> yyHardcopyOutputName;

void YYHardcopyDevice(int deviceCode);
void YYPlotterModel(int modelCode);
void YYHpgl2Model(int model);
void YYHardcopyFileNames(int dumpKind = 0);
// Kind 2 gives the toolkit version text "5.10g", any other kind a blank.
void YYCodeText(TextField out, int kind);
// Option "S" ends any hardcopy in progress.
void YYHardcopyStartStop(std::string_view option, std::string_view second);
