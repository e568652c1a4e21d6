#include "toolkit/drivers/hardcopy_options.h"

std::array<std::int32_t, kHardcopyOptionCount + 1> yyHardcopyOptions{};

// The drivers that read the options are not built yet: setting one stores it.
void YYHCOPTION(int option, std::int32_t value) {
  if (option < 1 || option > kHardcopyOptionCount) return;
  yyHardcopyOptions[static_cast<std::size_t>(option)] = value;
}
