#pragma once
// A workbook file on disk: read whole, and replaced only by a complete new file
// written beside it and then moved over it (the program's file replacement), so
// that a failure never leaves a broken workbook behind.

#include <optional>
#include <string>

#include "platform/xlsodbc/workbook.h"

namespace xlsodbc {

std::optional<xlsbook::Workbook> loadWorkbookFile(const std::string& path, std::string& why);

// Writes the workbook in the file's place, piece by piece as it is made.  `why`
// tells what failed.
bool saveWorkbookFile(const std::string& path, const xlsbook::Workbook& book, std::string& why);

}  // namespace xlsodbc
