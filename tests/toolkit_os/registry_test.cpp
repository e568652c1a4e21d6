#include "toolkit/core/registry.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "toolkit/core/error_reporter.h"

namespace {

constexpr const char* kKey = "HKEY_CURRENT_USER\\Software\\CarrowmapperTests\\Registry";
constexpr const char* kSubKey = "Software\\CarrowmapperTests";

class Registry : public ::testing::Test {
 protected:
  void SetUp() override {
    YYErrorStateReset();
    RegDeleteTreeA(HKEY_CURRENT_USER, kSubKey);
  }
  void TearDown() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, kSubKey);
    YYErrorStateReset();
  }
  // Reads into a text of `length` characters; returns the text.
  static std::string get(int length, const char* name, int& type, int& size) {
    std::string text(static_cast<std::size_t>(length), '#');
    IOsRegistryGet(kKey, TextField(text.data(), length), name, &type, &size);
    return text;
  }
};

TEST_F(Registry, TextValuesFitOrReport1023) {
  IOsRegistryPut(kKey, "ab", "Two");
  ASSERT_EQ(WErrorStatusQuery(1), 0);
  struct ReadCase {
    int length;
    const char* text;
    int size;
    int error;
  };
  const ReadCase cases[] = {
      {2, "ab", 2, 0},
      {5, "ab   ", 2, 0},
      {1, " ", 2, 1023},  // too short: blank, but the type and the full length come back
  };
  for (const auto& c : cases) {
    int type = 0, size = 0;
    EXPECT_EQ(get(c.length, "Two", type, size), c.text) << c.length;
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, c.size);
    EXPECT_EQ(WErrorStatusQuery(1), c.error) << c.length;
  }
}

TEST_F(Registry, TrailingBlanksOfAWrittenTextAreStored) {
  IOsRegistryPut(kKey, FixedText<4>("12").view(), "Padded", 1);
  BYTE raw[16] = {};
  DWORD size = sizeof raw;
  DWORD type = 0;
  ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, "Software\\CarrowmapperTests\\Registry", "Padded", RRF_RT_ANY, &type,
                         raw, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(raw), 5), std::string("12  \0", 5));
  int readType = 0, length = 0;
  EXPECT_EQ(get(4, "Padded", readType, length), "12  ");
  EXPECT_EQ(length, 4);
}

TEST_F(Registry, OtherTypesMoveRawBytes) {
  IOsRegistryPut(kKey, std::string_view("\x01\x02\x00\x00", 4), "Number", REG_DWORD);
  DWORD number = 0;
  DWORD size = sizeof number;
  ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, "Software\\CarrowmapperTests\\Registry", "Number", RRF_RT_REG_DWORD,
                         nullptr, &number, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(number, 0x0201u);
  int type = 0, length = 0;
  const std::string text = get(6, "Number", type, length);
  EXPECT_EQ(type, REG_DWORD);
  EXPECT_EQ(length, 4);
  EXPECT_EQ(text, std::string("\x01\x02\x00\x00  ", 6));
}

TEST_F(Registry, MissingKeysValuesAndDefaultValue) {
  int type = 0, length = 7;
  EXPECT_EQ(get(4, "Anything", type, length), "    ");
  EXPECT_EQ(type, kRegistryNoKey);
  EXPECT_EQ(length, 0);

  IOsRegistryPut(kKey, "default");  // no name: the key's default value
  EXPECT_EQ(get(4, "Missing", type, length), "    ");
  EXPECT_EQ(type, kRegistryNoValue);
  EXPECT_EQ(length, 0);
  EXPECT_EQ(WErrorStatusQuery(1), 0);

  std::string text(10, '#');
  IOsRegistryGet(kKey, TextField(text.data(), 10), "   ", &type, &length);
  EXPECT_EQ(text, "default   ");
  EXPECT_EQ(length, 7);

  // Without a text only the type and length are asked for.
  type = length = 0;
  IOsRegistryGet(kKey, std::nullopt, {}, &type, &length);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(length, 7);
  EXPECT_EQ(WErrorStatusQuery(1), 0);
}

TEST_F(Registry, RootNamesMustBeExact) {
  for (const char* path : {"hkey_current_user\\Software", "HKEY_CURRENT_USER", "HKCU\\Software", "\\Software"}) {
    std::string text = "####";
    int type = 0, length = 9;
    IOsRegistryGet(path, TextField(text.data(), 4), "x", &type, &length);
    EXPECT_EQ(WErrorStatusQuery(1), 1050) << path;
    EXPECT_EQ(text, "    ");
    EXPECT_EQ(type, kRegistryNoKey);
    EXPECT_EQ(length, 0);
    IOsRegistryPut(path, "x", "x");
    EXPECT_EQ(WErrorStatusQuery(1), 1050) << path;
  }
  EXPECT_TRUE(YYRegistryRootKey("HKEY_LOCAL_MACHINE   ").has_value());
  EXPECT_EQ(*YYRegistryRootKey("HKEY_DYN_DATA"), HKEY_DYN_DATA);
}

TEST_F(Registry, AKeyThatCannotBeCreatedReports13) {
  IOsRegistryPut("HKEY_CURRENT_USER\\Software\\CarrowmapperTests\\" + std::string(300, 'k'), "x", "x");
  EXPECT_EQ(WErrorStatusQuery(1), 13);
  EXPECT_NE(WErrorStatusQuery(3), 0);
}

TEST_F(Registry, DeleteWrappers) {
  IOsRegistryPut(kKey, "v", "Gone");
  int status = -1;
  YYRegDeleteValue(HKEY_CURRENT_USER, status, "Software\\CarrowmapperTests\\Registry", "Gone");
  EXPECT_EQ(status, 0);
  int type = 0, length = 0;
  get(2, "Gone", type, length);
  EXPECT_EQ(type, kRegistryNoValue);
  YYRegDeleteValue(HKEY_CURRENT_USER, status, "Software\\CarrowmapperTests\\Nothing", "Gone");
  EXPECT_EQ(status, ERROR_FILE_NOT_FOUND);
  YYRegDeleteKey(HKEY_CURRENT_USER, status, "Software\\CarrowmapperTests\\Registry");
  EXPECT_EQ(status, 0);
  get(2, "Gone", type, length);
  EXPECT_EQ(type, kRegistryNoKey);
}

}  // namespace
