#include "toolkit/drivers/hardcopy_setup.h"

YYRasterDevice yyRasterDevice;
YYDumpSettings yyDumpSettings;
FixedText<260> yyHardcopyOutputName;

// The drivers are not built yet: their start-up calls record their argument and
// nothing is ever in progress to stop.
void YYHardcopyDevice(int deviceCode) { yyRasterDevice.deviceCode = deviceCode; }
void YYPlotterModel(int modelCode) { yyRasterDevice.plotterModel = modelCode; }
void YYHpgl2Model(int model) { yyRasterDevice.hpgl2Model = model; }
void YYHardcopyFileNames(int dumpKind) { yyDumpSettings.dumpKind = dumpKind == 2 ? 2 : 10; }
void YYCodeText(TextField out, int kind) { out.assign(kind == 2 ? "5.10g" : ""); }
void YYHardcopyStartStop(std::string_view option, std::string_view second) {}
