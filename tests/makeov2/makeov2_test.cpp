#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ov2_compiler.h"

namespace {

using makeov2::encodeOv2;
using makeov2::parsePointText;

std::vector<unsigned char> bytes(std::initializer_list<int> list) {
  std::vector<unsigned char> v;
  for (int b : list) v.push_back(static_cast<unsigned char>(b));
  return v;
}

TEST(MakeOv2Compiler, ReadsTheConvertersTextFile) {
  const auto r = parsePointText(
      ";* Created by Carrowmapper version 1 on 10/12/2026\r\n"
      ";* Longitude, Latitude, \"Name\"\r\n"
      "  -1.23450,  52.10000,\"Tesco, High Street\"\r\n"
      "   0.00001, -33.99999,\"\"\r\n"
      " 179.99999,  89.99999,\"say \"hi\"\"\r\n"
      ";*     3 POI records written.\r\n");
  ASSERT_TRUE(r.ok) << r.reason;
  ASSERT_EQ(r.points.size(), 3u);
  EXPECT_EQ(r.points[0].longitude, -123450);
  EXPECT_EQ(r.points[0].latitude, 5210000);
  EXPECT_EQ(r.points[0].name, "Tesco, High Street");
  EXPECT_EQ(r.points[1].longitude, 1);
  EXPECT_EQ(r.points[1].latitude, -3399999);
  EXPECT_EQ(r.points[1].name, "");
  EXPECT_EQ(r.points[2].name, "say \"hi\"");
}

TEST(MakeOv2Compiler, RefusesMalformedLinesAndSaysWhere) {
  const char* bad[] = {
      "1.0,2.0\n",                 // no name
      "abc,2.0,\"x\"\n",           // not a number
      "1.0,,\"x\"\n",              // empty latitude
      "1.0,2.0,x\n",               // name without quotes
      "1.0,2.0,\"x\n",             // unclosed quote
      "181.0,2.0,\"x\"\n",         // outside the globe
      "1.0,91.0,\"x\"\n",
  };
  for (const char* line : bad) {
    const auto r = parsePointText(std::string(";* header\n") + line);
    EXPECT_FALSE(r.ok) << line;
    EXPECT_EQ(r.badLine, 2) << line;
    EXPECT_TRUE(r.points.empty());
  }
}

TEST(MakeOv2Compiler, EncodesLittleEndianTypeTwoRecords) {
  const auto out = encodeOv2({{-123450, 5210000, "AB"}});
  EXPECT_EQ(out, bytes({2, 16, 0, 0, 0,                 // type, length 13 + 2 + NUL
                        0xC6, 0x1D, 0xFE, 0xFF,         // -123450
                        0x90, 0x7F, 0x4F, 0x00,         // 5210000
                        'A', 'B', 0}));
  EXPECT_TRUE(encodeOv2({}).empty());
}

// --- the program itself, as the converter runs it ---

std::string programPath() { return std::string(CARROW_PROGRAM_DIR) + "/MakeOV2_v1-1.exe"; }

int runMakeOv2(const std::string& arguments) {
  std::string commandLine = "\"" + programPath() + "\" " + arguments;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &si, &pi)) {
    return -1;
  }
  WaitForSingleObject(pi.hProcess, 30000);
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return static_cast<int>(code);
}

void writeText(const char* name, const std::string& text) {
  std::ofstream(name, std::ios::binary) << text;
}

std::vector<unsigned char> readBytes(const char* name) {
  std::ifstream in(name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(MakeOv2Program, WritesTheOverlayNamedInQuotes) {
  writeText("makeov2.tmp", ";* x\r\n   1.00000,   2.00000,\"P\"\r\n");
  CreateDirectoryA("out dir", nullptr);
  DeleteFileA("out dir\\my overlay.ov2");
  ASSERT_EQ(runMakeOv2("makeov2.tmp \"out dir\\my overlay.ov2\""), 0);
  EXPECT_EQ(readBytes("out dir\\my overlay.ov2"),
            bytes({2, 15, 0, 0, 0, 0xA0, 0x86, 0x01, 0, 0x40, 0x0D, 0x03, 0, 'P', 0}));
}

TEST(MakeOv2Program, WritesNothingForMalformedInputOrMissingArguments) {
  writeText("bad.tmp", "1.0,2.0,\"ok\"\r\nnot a point\r\n");
  DeleteFileA("bad.ov2");
  EXPECT_EQ(runMakeOv2("bad.tmp bad.ov2"), 3);
  EXPECT_EQ(GetFileAttributesA("bad.ov2"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(runMakeOv2("missing.tmp bad.ov2"), 2);
  EXPECT_EQ(GetFileAttributesA("bad.ov2"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(runMakeOv2("only-one-argument"), 1);
}

}  // namespace
