#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

#include "converter/converter_data.h"
#include "converter/debug_log.h"

namespace {

std::string readFile(const char* name) {
  std::ifstream in(name, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(DebugLog, WritesOneLinePerWriteOnlyInDebugMode) {
  DEBUG_FLAG = kLogicalTrue;
  ASSERT_TRUE(DEBUG_LOG.open("debug_test.txt"));
  DEBUG_WRITE({"Carrowmapper version ", VERSION.trimmed(), " ", BUILD_DATE});
  DEBUG_MARK(DebugMark::kSubroutine, "READ_GPX");
  DEBUG_WRITE({"  Points read", 42, "of", -7});
  DEBUG_WRITE({"  Latitude", 51.5f});
  DEBUG_MARK(DebugMark::kExitFromSubroutine, "READ_GPX");
  DEBUG_MARK(DebugMark::kFunction, "OSREFERENCE");
  DEBUG_MARK(DebugMark::kExitFromFunction, "OSREFERENCE");
  DEBUG_MARK(DebugMark::kErrorExitSubroutine, "WRITE_OV2");
  DEBUG_MARK(DebugMark::kExitSubroutine, "SAVE");
  DEBUG_FLAG = kLogicalFalse;
  DEBUG_WRITE({"not written"});
  DEBUG_LOG.close();
  EXPECT_EQ(readFile("debug_test.txt"),
            " Carrowmapper version 3.21 17/10/2007\r\n"
            " Subroutine READ_GPX\r\n"
            "   Points read 42of -7\r\n"
            "   Latitude 51.50000\r\n"
            " Exit from Subroutine READ_GPX\r\n"
            " Function OSREFERENCE\r\n"
            " Exit from Function OSREFERENCE\r\n"
            " Error Exit from Subroutine WRITE_OV2\r\n"
            " Exit Subroutine SAVE\r\n");
  DeleteFileA("debug_test.txt");
}

TEST(DebugLog, ASecondWriterIsRefusedWhileTheLogIsHeld) {
  ASSERT_TRUE(DEBUG_LOG.open("debug_held.txt"));
  DebugLogFile second;
  EXPECT_FALSE(second.open("debug_held.txt"));
  DEBUG_LOG.close();
  EXPECT_TRUE(second.open("debug_held.txt"));
  second.close();
  DeleteFileA("debug_held.txt");
}

TEST(DebugLog, ReopeningWritesFromTheStart) {
  DEBUG_FLAG = kLogicalTrue;
  ASSERT_TRUE(DEBUG_LOG.open("debug_again.txt"));
  DEBUG_WRITE({std::string(100, 'x')});
  DEBUG_LOG.close();
  ASSERT_TRUE(DEBUG_LOG.open("debug_again.txt"));
  DEBUG_WRITE({"short"});
  DEBUG_LOG.close();
  DEBUG_FLAG = kLogicalFalse;
  EXPECT_EQ(readFile("debug_again.txt"), " short\r\n");
  DeleteFileA("debug_again.txt");
}

}  // namespace
