#pragma once
// The TomTom name of a point, shared by the OV2, OVR and ASC writers.

#include "toolkit/core/fixed_text.h"

namespace device {

// The field that TOMTOM_SETTINGS NAME_SOURCE chooses (NAME, the first 128
// characters of COMMENT, or otherwise of DESCRIPTION); when it is blank, the
// trimmed BLANK_NAME_PREFIX, a blank and the point's position in the list.
void tomtomName(int position, FixedText<128>& name);

}  // namespace device
