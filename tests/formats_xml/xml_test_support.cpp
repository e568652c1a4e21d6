#include "xml_test_support.h"

#include <windows.h>

#include <fstream>
#include <sstream>

#include "converter/converter_data.h"
#include "converter/log_display.h"

namespace xml_tests {

std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void writeBytes(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool fileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string fixturePath(std::string_view name) {
  std::string path = std::string("Z:") + CARROW_SOURCE_DIR + "/tests/formats_xml/fixtures/" + std::string(name);
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

std::string lastLogLine() {
  if (LOG_DISPLAY.LOG_COUNT <= 0) return {};
  return LOG_DISPLAY.LOG_LINES[static_cast<std::size_t>(LOG_DISPLAY.LOG_COUNT - 1)].str();
}

std::string crlf(std::initializer_list<std::string_view> lines) {
  std::string out;
  for (std::string_view line : lines) out.append(line).append("\r\n");
  return out;
}

void XmlFormatTest::SetUp() {
  POINT_LIST.NPOINTS = 0;
  POINT_LIST.NREAD = 0;
  POINT_LIST.NROUTES = 0;
  POINT_LIST.CURRENT_ROUTE.blank();
  POINT_LIST.NTRACKPOINTS = 0;
  POINT_LIST.TRACK_POSITION = 0;
  STOP_FLAG = kLogicalFalse;
  DEBUG_FLAG = kLogicalFalse;
  CONVERTER_SETTINGS = ConverterSettings{};
  GPX_SETTINGS = GpxSettings{};
  FILE_NAMES = FileNames{};
  LOG_DISPLAY = LogDisplay{};
  FILE_DATE = "01/02/2003";
  FILE_TIME = "04:05:06";
  XML_RECORD_BUFFER.blank();
  RECORD_BUFFER.blank();
  watcher_ = std::make_unique<BoxWatcher>();
}

void XmlFormatTest::TearDown() { watcher_.reset(); }

void XmlFormatTest::readText(void (*reader)(), std::string_view content, const char* name) {
  writeBytes(name, content);
  FILE_NAMES.INPUT_FILE = name;
  reader();
}

std::string XmlFormatTest::writeFile(void (*writer)(), const char* name) {
  DeleteFileA(name);
  FILE_NAMES.OUTPUT_FILE = name;
  writer();
  return readBytes(name);
}

}  // namespace xml_tests
