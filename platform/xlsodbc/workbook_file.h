#pragma once
// A workbook file on disk: read whole, and replaced only by a complete new file
// written beside it and then moved over it, so that a failure never leaves a
// broken workbook behind.

#include <optional>
#include <string>

#include "platform/xlsodbc/workbook.h"

namespace xlsodbc {

std::optional<xlsbook::Workbook> loadWorkbookFile(const std::string& path, std::string& why);

// Writes the workbook in the file's place; on success `written` holds the bytes
// of the file, from which the model that matches it is read back.  `why` tells
// what failed.
bool saveWorkbookFile(const std::string& path, const xlsbook::Workbook& book, xlsio::Bytes& written,
                      std::string& why);

}  // namespace xlsodbc
