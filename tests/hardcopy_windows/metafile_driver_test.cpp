// The Windows metafile driver writes WMF and EMF files and clipboard pictures.
// Its files of the scene stay in the test's folder, where
// check_windows_drivers.sh reads them with wmf2svg and emf2svg-conv.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "toolkit/drivers/metafile_gdi.h"
#include "toolkit/drivers/windows_metafile.h"
#include "toolkit/graphics/graphics_inquiry.h"
#include "toolkit/graphics/image_drawing.h"
#include "windows_drivers_fixture.h"

namespace windows_drivers {
namespace {

std::vector<std::uint8_t> fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

unsigned word16(const std::vector<std::uint8_t>& b, std::size_t at) { return b[at] | (b[at + 1] << 8); }
std::uint32_t word32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return word16(b, at) | (static_cast<std::uint32_t>(word16(b, at + 2)) << 16);
}

// One record of a Windows metafile: its function and its 16-bit parameters.
struct WmfRecord {
  unsigned function;
  std::vector<int> parameters;
};

// Walks the records after the 18-byte header that starts at `start`.
std::vector<WmfRecord> wmfRecords(const std::vector<std::uint8_t>& bytes, std::size_t start) {
  std::vector<WmfRecord> records;
  std::size_t at = start + 18;
  while (at + 6 <= bytes.size()) {
    const std::uint32_t words = word32(bytes, at);
    if (words < 3 || at + words * 2 > bytes.size()) break;
    WmfRecord record{word16(bytes, at + 4), {}};
    for (std::size_t p = at + 6; p < at + words * 2; p += 2) {
      record.parameters.push_back(static_cast<std::int16_t>(word16(bytes, p)));
    }
    records.push_back(record);
    if (record.function == 0) break;
    at += words * 2;
  }
  return records;
}

int CALLBACK keepRecord(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data) {
  auto* list = reinterpret_cast<std::vector<std::vector<std::uint8_t>>*>(data);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(record);
  list->emplace_back(bytes, bytes + record->nSize);
  return 1;
}

// Record types of an enhanced metafile with the parameters of each.
std::vector<std::vector<std::uint8_t>> emfRecords(HENHMETAFILE picture) {
  std::vector<std::vector<std::uint8_t>> records;
  EnumEnhMetaFile(nullptr, picture, keepRecord, &records, nullptr);
  return records;
}

std::map<DWORD, int> emfTypeCounts(const std::vector<std::vector<std::uint8_t>>& records) {
  std::map<DWORD, int> counts;
  for (const auto& r : records) ++counts[word32(r, 0)];
  return counts;
}

class MetafileDriver : public WindowsDrivers {
 protected:
  void SetUp() override {
    WindowsDrivers::SetUp();
    initialise(kWindowsMetafileDriver);
  }
  void TearDown() override {
    if (yyMetaContext.MetaDc != nullptr) YYMetaClose();
    WindowsDrivers::TearDown();
  }
  static void drawFile(const std::string& name, int kind) {
    DeleteFileA(name.c_str());
    setOption(27, kind);
    beginPlot(name);
    ASSERT_EQ(yyGrAttributes.HardcopyOpen, 1);
    drawScene();
    endPlot();
    ASSERT_EQ(errorState.lastError, 0);
  }
};

TEST_F(MetafileDriver, OpcodeOneDescribesTheDeviceAndTheProbeChangesOnlyN) {
  EXPECT_EQ(option(1), 756);
  EXPECT_EQ(option(2), 540);
  EXPECT_EQ(option(8), 1);
  EXPECT_EQ(option(9), 5);
  EXPECT_EQ(option(27), 1);
  EXPECT_EQ(yyGrState.ResolutionX, 600);
  EXPECT_EQ(yyGrState.HardcopyColourCount, 256);
  EXPECT_EQ(yyGrState.ActiveDriver, 11);
  EXPECT_EQ(yyGrState.HardcopyCaps.view(), "00000111111111100010011011110");
  EXPECT_TRUE(yyHardcopyOutputName.trimmed().empty());

  setOption(1, 300);
  yyHardcopyOutputName = "kept.wmf";
  yyGrState.ActiveDriver = 4;
  yyGrState.N = kDriverProbe;
  send(kOpInitialise);
  EXPECT_EQ(yyGrState.N, 11);
  EXPECT_EQ(option(1), 300);
  EXPECT_EQ(yyHardcopyOutputName.trimmed(), "kept.wmf");
  EXPECT_EQ(yyGrState.ActiveDriver, 4);
}

// The box of the placeable header is in 1/1000 inch, the picture in 1/720 inch.
TEST_F(MetafileDriver, PlaceableFileBeginsWithTheExactHeaderThenMappingModeAndExtent) {
  drawFile("scene.wmf", 1);
  const auto bytes = fileBytes("scene.wmf");
  ASSERT_GT(bytes.size(), 200u);
  const unsigned checksum = 10500 ^ 7500 ^ 0x54F9;
  const std::vector<std::uint8_t> header = {0xD7, 0xCD, 0xC6, 0x9A, 0, 0, 0, 0, 0, 0, 0x04, 0x29, 0x4C, 0x1D,
                                            0xE8, 0x03, 0,    0,    0, 0, static_cast<std::uint8_t>(checksum & 0xFF),
                                            static_cast<std::uint8_t>(checksum >> 8)};
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 22), header);
  EXPECT_EQ(word16(bytes, 24), 9u);  // the metafile header follows at once
  EXPECT_EQ(word32(bytes, 28) * 2 + 22, bytes.size());

  const auto records = wmfRecords(bytes, 22);
  ASSERT_GE(records.size(), 3u);
  EXPECT_EQ(records[0].function, 0x0103u);  // mapping mode
  EXPECT_EQ(records[0].parameters.at(0), MM_ANISOTROPIC);
  EXPECT_EQ(records[1].function, 0x020Cu);  // window extent: y, then x
  EXPECT_EQ(records[1].parameters, (std::vector<int>{5401, 7561}));
  EXPECT_EQ(records.back().function, 0u);

  std::map<unsigned, int> counts;
  for (const auto& r : records) ++counts[r.function];
  for (unsigned function : {0x0213u /* line */, 0x0325u /* polyline */, 0x041Bu /* rectangle */,
                            0x0324u /* polygon */, 0x0418u /* ellipse */, 0x081Au /* pie */, 0x0817u /* arc */,
                            0x02FBu /* font */, 0x0F43u /* rows of the shading */}) {
    EXPECT_GT(counts[function], 0) << std::hex << function;
  }
  EXPECT_GT(counts[0x0521u] + counts[0x0A32u], 1);  // two texts

  // The box spans the rectangle's corners, one further right and down.
  const float sx = 7560 / (kSurfaceWidth - 0.01f);
  const float sy = 5400 / (kSurfaceHeight - 0.01f);
  const std::vector<int> box = {static_cast<int>((kSurfaceHeight - 0.01f - 420) * sy) + 2,
                                static_cast<int>(sx * 750) + 2, static_cast<int>((kSurfaceHeight - 0.01f - 560) * sy),
                                static_cast<int>(sx * 450)};
  EXPECT_TRUE(std::any_of(records.begin(), records.end(),
                          [&](const WmfRecord& r) { return r.function == 0x041Bu && r.parameters == box; }));
}

TEST_F(MetafileDriver, KindsZeroAndUndefinedGivePlainAndPlaceableFiles) {
  drawFile("scene_plain.wmf", 0);
  const auto plain = fileBytes("scene_plain.wmf");
  ASSERT_GT(plain.size(), 18u);
  EXPECT_NE(word32(plain, 0), 0x9AC6CDD7u);
  EXPECT_EQ(word16(plain, 2), 9u);
  EXPECT_EQ(wmfRecords(plain, 0).front().function, 0x0103u);

  // An undefined kind is taken as the placeable one, picture and all.
  drawFile("scene_kind5.wmf", 5);
  const auto odd = fileBytes("scene_kind5.wmf");
  ASSERT_GT(odd.size(), 40u);
  EXPECT_EQ(word32(odd, 0), 0x9AC6CDD7u);
  EXPECT_EQ(word32(odd, 28) * 2 + 22, odd.size());
}

TEST_F(MetafileDriver, EnhancedFileHasFrameDescriptionAndEveryKindOfRecord) {
  yyPlotTitle = "Harbour chart";
  DeleteFileA("scene.emf");
  setOption(27, 2);
  beginPlot("scene.emf", 0, 1);
  ASSERT_EQ(yyGrAttributes.HardcopyOpen, 1);
  drawScene();
  endPlot();
  ASSERT_EQ(errorState.lastError, 0);

  HENHMETAFILE picture = GetEnhMetaFileA("scene.emf");
  ASSERT_NE(picture, nullptr);
  ENHMETAHEADER header{};
  GetEnhMetaFileHeader(picture, sizeof header, &header);
  EXPECT_EQ(header.rclFrame.right, 26670);  // 7560 / 720 inch in 0.01 mm
  EXPECT_EQ(header.rclFrame.bottom, 19050);
  char description[128] = {};
  const UINT length = GetEnhMetaFileDescriptionA(picture, sizeof description, description);
  EXPECT_EQ(std::string(description, length), std::string("QVR metafile driver\0Harbour chart\0\0", 35));

  const auto records = emfRecords(picture);
  auto counts = emfTypeCounts(records);
  for (DWORD type : {EMR_EXTSELECTCLIPRGN, EMR_ELLIPSE, EMR_PIE, EMR_ARC, EMR_RECTANGLE, EMR_EXTCREATEFONTINDIRECTW}) {
    EXPECT_GT(counts[type], 0) << type;
  }
  EXPECT_GT(counts[EMR_POLYGON16] + counts[EMR_POLYGON], 0);
  EXPECT_GT(counts[EMR_POLYLINE16] + counts[EMR_POLYLINE], 0);
  EXPECT_GT(counts[EMR_EXTTEXTOUTA] + counts[EMR_EXTTEXTOUTW], 1);
  EXPECT_GT(counts[EMR_GRADIENTFILL] + counts[EMR_SETPIXELV], 0);
  // The dashed polyline's pen is a geometric pen with a dash array of its
  // own (Wine records it in the plain pen record).
  EXPECT_TRUE(std::any_of(records.begin(), records.end(), [](const auto& r) {
    const DWORD type = word32(r, 0);
    const DWORD style = type == EMR_EXTCREATEPEN ? word32(r, 28) : type == EMR_CREATEPEN ? word32(r, 12) : 0;
    return (style & PS_STYLE_MASK) == PS_USERSTYLE && (style & PS_TYPE_MASK) == PS_GEOMETRIC;
  }));
  DeleteEnhMetaFile(picture);
}

TEST_F(MetafileDriver, TextExtentIsMeasuredOnEnhancedMetafilesOnly) {
  struct ExtentCase {
    int kind;
    int n;
    bool measured;
  };
  for (const auto& c : {ExtentCase{1, 7, false}, ExtentCase{2, 1, true}}) {
    setOption(27, c.kind);
    beginPlot(c.kind == 2 ? "extent.emf" : "extent.wmf");
    ASSERT_EQ(yyGrAttributes.HardcopyOpen, 1);
    TEXT = "Carrowmapper";
    yyGrState.M = 12;
    yyGrState.N = 7;
    yyGrState.R5 = -3.0f;
    send(kOpTextExtent);
    EXPECT_EQ(yyGrState.N, c.n) << c.kind;
    if (c.measured) {
      // Twelve characters at 5% of the height are some 20 to 40 surface units each.
      EXPECT_GT(yyGrState.R5, 100.0f);
      EXPECT_LT(yyGrState.R5, 600.0f);
    } else {
      EXPECT_EQ(yyGrState.R5, -3.0f);
    }
    yyGrState.M = 0;
    endPlot();
  }
}

TEST_F(MetafileDriver, ClipboardTakesTheEnhancedPictureOrAMetafilePictureAndNoFile) {
  setOption(27, 2);
  beginPlot("", 1);
  ASSERT_EQ(yyGrAttributes.HardcopyOpen, 1);
  drawScene();
  endPlot();
  ASSERT_TRUE(OpenClipboard(nullptr));
  ASSERT_TRUE(IsClipboardFormatAvailable(CF_ENHMETAFILE));
  auto counts = emfTypeCounts(emfRecords(static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE))));
  EXPECT_GT(counts[EMR_PIE], 0);
  EXPECT_GT(counts[EMR_EXTTEXTOUTA] + counts[EMR_EXTTEXTOUTW], 1);
  CloseClipboard();

  DeleteFileA("not_written.wmf");
  setOption(27, 1);
  beginPlot("not_written.wmf", 1);
  drawScene();
  endPlot();
  EXPECT_EQ(GetFileAttributesA("not_written.wmf"), INVALID_FILE_ATTRIBUTES);
  ASSERT_TRUE(OpenClipboard(nullptr));
  ASSERT_TRUE(IsClipboardFormatAvailable(CF_METAFILEPICT));
  HANDLE block = GetClipboardData(CF_METAFILEPICT);
  ASSERT_NE(block, nullptr);
  const auto* picture = static_cast<const METAFILEPICT*>(GlobalLock(block));
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->mm, MM_ANISOTROPIC);
  EXPECT_EQ(picture->xExt, 26670);
  EXPECT_EQ(picture->yExt, 19050);
  EXPECT_GT(GetMetaFileBitsEx(picture->hMF, 0, nullptr), 200u);
  GlobalUnlock(block);
  CloseClipboard();
}

TEST_F(MetafileDriver, AFileThatCannotBeMadeIsReportedAndClosesTheHardcopy) {
  for (int kind : {0, 1, 2}) {
    YYErrorStateReset();
    setOption(27, kind);
    beginPlot("no_such_folder\\picture.wmf");
    EXPECT_EQ(yyGrAttributes.HardcopyOpen, 0) << kind;
    EXPECT_EQ(errorState.lastError, 1) << kind;
    drawScene();  // records that still arrive draw nowhere
    send(kOpEndPlot);
    EXPECT_EQ(yyMetaContext.MetaDc, nullptr);
  }
}

TEST_F(MetafileDriver, ScaleOnlyBeginPlotChangesOnlyTheDeviceScales) {
  setOption(27, 0);
  beginPlot("rescale.wmf");
  const YYGrState before = yyGrState;
  yyGrState.SurfaceWidth = 400;
  yyGrState.SurfaceWidthReal = 399.99f;
  yyGrState.M = -1;
  send(kOpBeginPlot);
  EXPECT_FLOAT_EQ(yyGrState.DeviceScaleX, 7560 / 399.99f);
  EXPECT_FLOAT_EQ(yyGrState.DeviceScaleY, before.DeviceScaleY);
  EXPECT_EQ(yyMetaContext.MetaKind, 0);
  EXPECT_NE(yyMetaContext.MetaDc, nullptr);
  yyGrState.M = 0;
  endPlot();
}

// Opcode 38 stretches an image file over the viewport as one bitmap record;
// a missing file answers its status pair and records nothing.
TEST_F(MetafileDriver, ImageFileIsStretchedIntoTheMetafile) {
  DeleteFileA("image.emf");
  setOption(27, 2);
  beginPlot("image.emf", 0, 1);
  ASSERT_EQ(yyGrAttributes.HardcopyOpen, 1);
  yyGrState.X1 = kFilePng;
  yyGrState.X2 = 1;  // stretched
  TEXT = std::string("Z:") + CARROW_SOURCE_DIR + "/tests/toolkit_images/fixtures/png_rgb8.png";
  send(kOpImage);
  EXPECT_EQ(yyGrState.M, 0);
  EXPECT_EQ(yyGrState.PageBegun, -1);
  TEXT = "no_such_image.png";
  send(kOpImage);
  EXPECT_EQ(yyGrState.M, 1);
  yyGrState.M = 0;
  endPlot();

  HENHMETAFILE picture = GetEnhMetaFileA("image.emf");
  ASSERT_NE(picture, nullptr);
  auto counts = emfTypeCounts(emfRecords(picture));
  EXPECT_EQ(counts[EMR_STRETCHDIBITS], 1);
  DeleteEnhMetaFile(picture);
}

// A stored Windows metafile is played into an enhanced one; an empty rectangle
// or a missing file is refused.
TEST_F(MetafileDriver, PlayDrawsAStoredFileAndRefusesBadArguments) {
  drawFile("played.wmf", 1);
  int width = 7560, height = 5400;
  ASSERT_EQ(YYMetaOpen(width, height, 2, 0, 0, 0, 0, 0, "played.emf", std::string_view("test\0\0", 6)), kMetaDone);
  int error = -1;
  YYMetaPlay(1, 0, 0, 100, 100, 11, error, "played.wmf");
  EXPECT_EQ(error, 0);
  YYMetaPlay(1, 10, 0, 10, 100, 11, error, "played.wmf");
  EXPECT_EQ(error, 2);
  YYMetaPlay(1, 0, 0, 100, 100, 11, error, "no_such_file.wmf");
  EXPECT_EQ(error, 1);
  ASSERT_EQ(YYMetaClose(), kMetaDone);
  HENHMETAFILE picture = GetEnhMetaFileA("played.emf");
  ASSERT_NE(picture, nullptr);
  auto counts = emfTypeCounts(emfRecords(picture));
  EXPECT_GT(counts[EMR_PIE], 0);
  DeleteEnhMetaFile(picture);
}

}  // namespace
}  // namespace windows_drivers
