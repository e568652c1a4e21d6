#pragma once
// Shared pieces of the device-format tests: answering the converter's message
// boxes in-process, resetting the converter's records, files and points.

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "converter/converter_data.h"

namespace device_test {

struct Box {
  std::string title;
  std::string text;  // the box's static texts, lines split by CR
};

// While alive, every message box of this thread is recorded and answered with
// OK as soon as it opens.
class BoxAnswerer {
 public:
  BoxAnswerer();
  ~BoxAnswerer();
  BoxAnswerer(const BoxAnswerer&) = delete;
  BoxAnswerer& operator=(const BoxAnswerer&) = delete;

  const std::vector<Box>& boxes() const;
  // The titles and texts of the boxes so far, "title: text" each, joined by "|".
  std::string summary() const;
  void clear();

 private:
  HHOOK hook_ = nullptr;
};

// Empties the point list and the log, clears STOP_FLAG and puts every setting
// back to its start value; fixed file and default dates and times.
void resetConverter();

// The last line of the log, without trailing blanks; "" when the log is empty.
std::string lastLog();
// Every line of the log, joined by "|".
std::string allLog();

// A folder of its own for one test, made empty, and made the current folder
// while the object lives.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& name);
  ~ScratchFolder();
  // The full Windows path of a file in the folder.
  std::string path(std::string_view file) const;

 private:
  std::string folder_;
  std::string previous_;
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, std::string_view bytes);
// A fixture of the source tree, by name.
std::string fixturePath(std::string_view name);
std::string fixture(std::string_view name);
// A Unix path of the build (under Wine, drive Z:) as a Windows path.
std::string windowsPath(std::string_view unixPath);

// Runs a reader on a file.
void readFileWith(void (*reader)(), const std::string& path);
// Runs a writer into a file and gives back what it wrote.
std::string writeFileWith(void (*writer)(), const std::string& path);

// Appends a point to POINT_LIST (no storage limit).
POINT_RECORD& addPoint(float longitude, float latitude, std::string_view description = "",
                       std::string_view name = "");

// The text followed by the number.  It is built by appending: GCC 12 warns
// wrongly about a literal put before a temporary string.
std::string numbered(std::string text, long long number);

// Splits a text into its lines (line feed ends a line; a carriage return before
// it is kept).
std::vector<std::string> lines(const std::string& text);

}  // namespace device_test
