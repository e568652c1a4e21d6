#include "toolkit/core/error_texts.h"

#include <array>
#include <string_view>

namespace {

// Numbers 1 to 66; the blank ones are numbers no routine reports any more.
constexpr std::array<std::string_view, 66> kGeneralTexts = {
    "Error opening file or device",
    "Error reading/writing file or device",
    "Error closing file or device",
    "Number too large in string to numeric conversion",
    "Graphics not supported on requested printer",
    "", "", "", "",
    "No substring found",
    "More than one decimal point in number",
    "Invalid character detected",
    "Operating system error",
    "", "",
    "X or Y graphics unit range is invalid",
    "",
    "Numeric to string conversion error",
    "",
    "Circle/ellipse radius <=0, height ratio<=0 or arc angle=0",
    "Length of axis-parallel side of a parallelogram is =<0",
    "Width/height=0 for a rectangle/triangle/parallelogram",
    "No program name specified to IOsExecute",
    "Too many data values specified for a stacked plot",
    "Too many bytes in char set during conversion from ASCII",
    "",
    "Image file format not supported",
    "Borders cross in simple polygon definition",
    "", "", "", "", "",
    "Requested page size too large for raster image buffer",
    "", "", "", "", "",
    "Number of files matched by IOsDirInfo/List exceeds array size",
    "",
    "Unknown colour name/number specified to IGrColour/IGrColourN",
    "Contour heights must increase monotonically",
    "Invalid X and/or Y range in IGrArea/IGrViewport/IGrReplayArea",
    "",
    "No graphics hardcopy driver currently selected",
    "", "",
    "Fill too complex in IGrPolygonComplex",
    "",
    "A search box contains too many points in IPgXYZToGrid",
    "", "",
    "Mismatched driver/device in hardcopy options file",
    "Source and target file names same in copy command",
    "", "",
    "Min value greater than max value in IPgHighLow",
    "", "", "", "",
    "Windows printer not available",
    "Bit image transfer failed in IGrPrintImage",
    "",
    "Invalid character code in WGrTextWidth",
};

// Numbers 1001 to 1086.
constexpr std::array<std::string_view, 86> kWindowTexts = {
    "Invalid menu item",
    "Unable to load menu from resource",
    "Invalid window handle",
    "General error in common dialog",
    "No dialogs currently loaded",
    "Invalid field identifier",
    "Unable to load dialog from resource",
    "Unable to select specified dialog",
    "Attempt to store an out of range dialog field value",
    "Field value undefined",
    "Option number out of range or invalid item ID",
    "Invalid tab number specified",
    "Invalid range specified for progress bar",
    "Invalid dialog mode requested",
    "Invalid bitmap/icon identifier",
    "Unable to display window/dialog. Parent window hidden",
    "Cell co-ordinates out of range",
    "Too many rows for grid field to hold",
    "Invalid target drawing surface",
    "Bitmap creation failed",
    "Invalid bitmap handle",
    "Only child windows can be converted into editors or viewers",
    "Variable too small to receive text",
    "Invalid editor mode requested",
    "Editor can't have menu in InsideParent child window",
    "User menu not supported with modal editor or grid window",
    "General problem initializing editor",
    "Current window is not a text editor",
    "Invalid range specified for trackbar",
    "General help viewer error",
    "Not a valid help file extension",
    "Editor does not have a command line",
    "Editor can't have command line in InsideParent child window",
    "External process timed out before completion",
    "Failed to enable OpenGL graphics",
    "Can't destroy bitmap while in use by bitmap viewer",
    "Specified bitmap is already in use",
    "Child window is already converted to a different type",
    "Invalid bitmap viewer mode requested",
    "General problem initializing bitmap viewer",
    "X server modal dialog/window pixmap resources are low",
    "X server modal dialog/window pixmap resources are exhausted",
    "Invalid bitmap bitwise mode requested",
    "Zlib compression/decompression error",
    "Specified dialog has wrong style to be combined with a window",
    "Parent window is combined with a dialog",
    "Current dialog which is combined with a window",
    "Item identifier already exists in treeview field",
    "Treeview item is not a branch",
    "Invalid pre-defined registry key",
    "Grid window can't have menu in InsideParent child window",
    "Invalid grid window mode requested",
    "General problem initializing grid window",
    "Data file contains more row or columns than grid field",
    "Unable to match value from file with menu cell option",
    "Parent window is converted to a special type",
    "Cannot convert window when InsideParent windows exist",
    "No name specified for user-defined font",
    "Metafile creation failed",
    "Invalid metafile handle",
    "Unsupported metafile format",
    "CGM memory metafile full",
    "Cannot save image when drawable is a metafile",
    "Cannot print image when drawable is a metafile",
    "Bitmap operation on memory metafile not allowed",
    "Error during bitmap put/get operation",
    "Invalid editor buffer",
    "No more editor buffers available",
    "Cannot hide or unload a sub-dialog",
    "Cannot set format in non-RTF editor window",
    "Graphical input not allowed in memory bitmap/metafile",
    "API error during bit image save",
    "3D model vertex limit exceeded. Increase MAXVERTEX.",
    "3D model facet limit exceeded. Increase MAXFACET.",
    "3D model material number invalid",
    "3D model workspace full. Increase MAXWORK.",
    "3D model internal error: Workspace empty.",
    "Unsupported 3D model file format",
    "Insufficient space to add data from 3D model file",
    "Unable to add one or more materials from a 3D model file",
    "ZNDVAX.DLL not found",
    "MAPI32.DLL not found. Unable to send e-mail",
    "Error invoking e-mail program",
    "Error encoding e-mail attachments",
    "At least one e-mail recipient must be specified",
    "Unsupported or invalid .wav sound file",
};

// zlib statuses -6 to 2, indexed by status + 6.
constexpr std::array<std::string_view, 9> kZlibTexts = {
    "incompatible version", "buffer error", "insufficient memory", "data error",
    "stream error",         "file error",   "",                    "stream end",
    "need dictionary",
};

// The last system message, between its making and its copy to the caller.
std::array<char, 300> systemMessage;

std::string_view systemText(int code) {
  systemMessage.fill(' ');
  if (code == 0) return {};
  YYOsErrorText(static_cast<DWORD>(code), systemMessage.data(), static_cast<DWORD>(systemMessage.size()));
  std::size_t end = 0;
  while (end < systemMessage.size() && systemMessage[end] != '\0') ++end;
  std::fill(systemMessage.begin() + static_cast<std::ptrdiff_t>(end), systemMessage.end(), ' ');
  return {systemMessage.data(), systemMessage.size()};
}

}  // namespace

void YYErrorText(int number, TextField out, int kind) {
  std::string_view chosen;
  switch (kind) {
    case kTableText:
      if (number >= 1 && number <= 66) {
        chosen = kGeneralTexts[static_cast<std::size_t>(number - 1)];
      } else if (number >= 1001 && number <= 1086) {
        chosen = kWindowTexts[static_cast<std::size_t>(number - 1001)];
      }
      break;
    case kSystemText:
      chosen = systemText(number);
      break;
    case kZlibText:
      if (number >= -6 && number <= 2) chosen = kZlibTexts[static_cast<std::size_t>(number + 6)];
      break;
    default:
      return;
  }
  out.assign(chosen);
}

DWORD YYOsErrorText(DWORD code, char* buffer, DWORD size) {
  return FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                        1024, buffer, size, nullptr);
}
