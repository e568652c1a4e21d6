#pragma once
// ToolkitSettings: the global values that start-up sets and the rest of the
// toolkit reads.

struct ToolkitSettings {
  // When on, the locale's decimal separator is accepted in place of "." when
  // reading numbers and replaces "." when writing reals.  Start-up sets it off.
  bool decimalSeparatorSwitch = false;
  char localeDecimalSeparator = '.';
};
extern ToolkitSettings toolkitSettings;
