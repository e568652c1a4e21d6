#pragma once
// What the XML format tests share: a fresh converter state for each test, files
// to read and write in the test's own folder, and the fixtures.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

#include "box_watcher.h"
#include "converter/log_display.h"

namespace xml_tests {

// The bytes of a file; empty when it cannot be read.
std::string readBytes(const std::string& path);
void writeBytes(const std::string& path, std::string_view bytes);
bool fileExists(const std::string& path);
// A fixture of tests/formats_xml/fixtures, as a Windows path.
std::string fixturePath(std::string_view name);
// The last line of the log.
std::string lastLogLine();
// Lines joined with CR LF after each, as the writers end them.
std::string crlf(std::initializer_list<std::string_view> lines);

class XmlFormatTest : public ::testing::Test {
 protected:
  // Empties the list and the log, puts every setting and flag back to its start
  // value, names the input file's date and time, and watches for boxes.
  void SetUp() override;
  void TearDown() override;

  // Writes the text as the input file and runs the reader on it.
  void readText(void (*reader)(), std::string_view content, const char* name = "input.xml");
  // Runs the writer on OUTPUT_FILE = `name` and gives back what it wrote.
  std::string writeFile(void (*writer)(), const char* name = "output.xml");

  std::vector<SeenBox> boxes() const { return watcher_->boxes(); }

 private:
  std::unique_ptr<BoxWatcher> watcher_;
};

}  // namespace xml_tests
