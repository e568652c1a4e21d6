// The CGM and PIC inquiry: files written by driver 9 and the recorder read
// back, and hand-made files for what those never write.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "cgm_fixture.h"
#include "toolkit/graphics/graphics_inquiry.h"

namespace cgm_test {
namespace {

using CgmInquiry = CgmWriters;
using Bytes = std::vector<std::uint8_t>;

// Hand-made elements, short form, padded.
Bytes element(int c, int id, const Bytes& parameters = {}) {
  const int header = c * 4096 + id * 32 + static_cast<int>(parameters.size());
  // The header, the parameters and, after an odd count, a zero byte.
  Bytes out(2 + parameters.size() + parameters.size() % 2, 0);
  out[0] = static_cast<std::uint8_t>(header >> 8);
  out[1] = static_cast<std::uint8_t>(header & 0xFF);
  std::copy(parameters.begin(), parameters.end(), out.begin() + 2);
  return out;
}
Bytes words(std::initializer_list<int> values) {
  Bytes out;
  for (const int v : values) {
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  }
  return out;
}
Bytes longs(std::initializer_list<std::int32_t> values) {
  Bytes out;
  for (const std::int32_t v : values) {
    for (int k = 3; k >= 0; --k) out.push_back(static_cast<std::uint8_t>((v >> (8 * k)) & 0xFF));
  }
  return out;
}
Bytes reals(std::initializer_list<float> values) {
  Bytes out;
  for (const float f : values) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &f, 4);
    for (int k = 3; k >= 0; --k) out.push_back(static_cast<std::uint8_t>(bits >> (8 * k)));
  }
  return out;
}
Bytes join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

const Bytes kBegin = element(0, 1, {0});
const Bytes kEndPicture = element(0, 5);
const Bytes kEndMetafile = element(0, 2);

struct Inquiry {
  std::int32_t pictures = -7;
  float aspect = -7.0f;
  int error = 0;
};
Inquiry inquire(const std::string& path) {
  errorState.lastError = 0;
  Inquiry r;
  YYINFOCGM(path, static_cast<int>(path.size()), r.pictures, r.aspect);
  r.error = errorState.lastError;
  return r;
}

// A PIC file: the 17-byte header the graphics inquiry recognises, then commands.
Bytes picHeader() { return {1, 0, 0, 0, 1, 0, 8, 0, 68, 0, 0, 0, 0, 12, 0, 0, 0}; }

struct PicCount {
  std::int32_t pictures;
  int error;
};
PicCount countPictures(const Bytes& bytes, std::int32_t given = -1) {
  writeBytes("graph.pic", bytes);
  errorState.lastError = 0;
  errorState.ioDetailKind = 0;
  errorState.ioDetail = 99;
  PicCount r{given, 0};
  YYCNTPIC("graph.pic", 9, r.pictures);
  r.error = errorState.lastError;
  return r;
}

TEST_F(CgmInquiry, FilesOfDriverNineReadBack) {
  beginFile("one.cgm");
  point(1, 10, 10);
  point(2, 50, 50);
  send(kOpLine);
  endFile();
  const Inquiry one = inquire("one.cgm");
  EXPECT_EQ(one.error, 0);
  EXPECT_EQ(one.pictures, 1);
  EXPECT_FLOAT_EQ(one.aspect, 6300.0f / 4500.0f);

  beginFile("three.cgm");
  send(kOpEndPage);
  send(kOpEndPage);
  endFile();
  EXPECT_EQ(inquire("three.cgm").pictures, 3);
  // Blank pages are empty pictures, each begun and ended.
  const Decoded three = fileElements("three.cgm");
  EXPECT_EQ(count(three, 0, 3), 3);
  EXPECT_EQ(count(three, 0, 5), 3);

  initialise();
  hardcopyOption(kOptPageWidth) = 2000;
  hardcopyOption(kOptPageHeight) = 5000;
  TEXT = "tall.cgm";
  yyGrState.M = 1;
  yyGrState.X1 = 0;
  yyGrAttributes.HardcopyOpen = 1;
  send(kOpBeginPlot);
  endFile();
  EXPECT_FLOAT_EQ(inquire("tall.cgm").aspect, 13106.0f / 32767.0f);

  std::array<std::int32_t, 6> info{};
  info.fill(-5);
  YYGrFileInfo("one.cgm", info, 6);
  EXPECT_EQ(info[0], kFileCgm);
  EXPECT_EQ(info[1], 1000);
  EXPECT_EQ(info[2], static_cast<std::int32_t>(1000 / (6300.0f / 4500.0f)));
  EXPECT_EQ(info[3], 1);
  EXPECT_EQ(info[4], -1);
}

TEST_F(CgmInquiry, ARecordedSlotWrittenOutReadsBack) {
  beginSlot(1, 300, 600, 8192);
  point(1, 1, 1);
  point(2, 9, 9);
  record(kOpLine);
  record(kOpEndPlot);
  writeBytes("slot.cgm", slotBytes(1));
  const Inquiry r = inquire("slot.cgm");
  EXPECT_EQ(r.error, 0);
  EXPECT_EQ(r.pictures, 1);
  EXPECT_FLOAT_EQ(r.aspect, 2500.0f / 5000.0f);
}

TEST_F(CgmInquiry, HandMadeFiles) {
  struct Case {
    const char* what;
    Bytes bytes;
    std::int32_t pictures;
    float aspect;
    int error;
  };
  const Bytes extent43 = element(2, 6, words({0, 0, 400, 300}));
  const Case cases[] = {
      {"no END PICTURE", join({kBegin, extent43, kEndMetafile}), 1, 4.0f / 3.0f, 0},
      {"no extent at all", join({kBegin, kEndPicture, kEndMetafile}), 1, 1.0f, 0},
      {"two pictures, no END METAFILE", join({kBegin, extent43, kEndPicture, kEndPicture}), 2, 4.0f / 3.0f, 2},
      {"maximum extent after the extent",
       join({kBegin, extent43, element(1, 17, words({0, 0, 100, 200})), kEndMetafile}), 1, 0.5f, 0},
      {"maximum extent before the extent",
       join({kBegin, element(1, 17, words({0, 0, 100, 200})), extent43, kEndMetafile}), 1, 0.5f, 0},
      {"a later extent replaces an earlier one",
       join({kBegin, extent43, element(2, 6, words({10, 10, 30, 20})), kEndMetafile}), 1, 2.0f, 0},
      {"negative coordinates", join({kBegin, element(2, 6, words({-100, -50, 100, 50})), kEndMetafile}), 1, 2.0f, 0},
      {"32-bit VDC integers",
       join({kBegin, element(3, 1, words({32})), element(2, 6, longs({0, 0, 70000, 35000})), kEndMetafile}), 1, 2.0f,
       0},
      {"32-bit integers, then the VDC precision read as one",
       join({kBegin, element(1, 4, words({32})), element(3, 1, longs({32})),
             element(2, 6, longs({0, 0, 90000, 30000})), kEndMetafile}),
       1, 3.0f, 0},
      {"real VDC", join({kBegin, element(1, 3, words({1})), element(2, 6, reals({0.0f, 0.0f, 2.5f, 0.5f})), kEndMetafile}),
       1, 5.0f, 0},
      {"a zero height", join({kBegin, element(2, 6, words({0, 7, 300, 7})), kEndMetafile}), 1, 1.0f, 0},
      {"defaults replacement holding an extent",
       join({kBegin, element(1, 12, element(2, 6, words({0, 0, 600, 200}))), kEndPicture, kEndMetafile}), 1, 3.0f, 0},
      {"an empty file", {}, 1, 1.0f, 2},
      {"a header cut short", Bytes{0x00}, 1, 1.0f, 2},
      {"parameters cut short", join({kBegin, Bytes{0x20, 0xC8, 0, 0, 1}}), 1, 1.0f, 2},
  };
  for (const Case& c : cases) {
    writeBytes("hand.cgm", c.bytes);
    const Inquiry r = inquire("hand.cgm");
    EXPECT_EQ(r.pictures, c.pictures) << c.what;
    EXPECT_FLOAT_EQ(r.aspect, c.aspect) << c.what;
    EXPECT_EQ(r.error, c.error) << c.what;
  }
}

TEST_F(CgmInquiry, LongFormsAndPartitionsAreWalkedAndOverlongExtentsSkipped) {
  // A polyline of 40 bytes in two partitions (24 + 16), then END PICTURE.
  Bytes partitioned = {0x40, 0x3F, 0x80, 24};
  for (int i = 0; i < 24; ++i) partitioned.push_back(0x00);
  partitioned.insert(partitioned.end(), {0x00, 16});
  for (int i = 0; i < 16; ++i) partitioned.push_back(0x00);
  // A VDC EXTENT of 80 bytes (long form): too long for the parameter buffer.
  Bytes overlong = {0x20, 0xDF, 0x00, 80};
  const Bytes values = words({0, 0, 900, 100});
  overlong.insert(overlong.end(), values.begin(), values.end());
  overlong.resize(4 + 80, 0);
  // An odd long-form length is followed by its pad byte.
  Bytes odd = {0x40, 0x9F, 0x00, 33};
  odd.resize(4 + 34, 0x41);
  odd.back() = 0;
  writeBytes("long.cgm", join({kBegin, element(2, 6, words({0, 0, 300, 100})), partitioned, overlong, odd,
                               kEndPicture, kEndMetafile}));
  const Inquiry r = inquire("long.cgm");
  EXPECT_EQ(r.error, 0);
  EXPECT_EQ(r.pictures, 1);
  EXPECT_FLOAT_EQ(r.aspect, 3.0f);
}

TEST_F(CgmInquiry, TruncatedAndRandomFilesEndTheScanWithoutHarm) {
  beginFile("whole.cgm");
  bufferPoints({{1, 1}, {100, 100}, {200, 50}});
  send(kOpPolyline);
  endFile();
  const Bytes whole = readFile("whole.cgm");
  ASSERT_GT(whole.size(), 300u);
  for (std::size_t n = 0; n < whole.size(); ++n) {
    writeBytes("cut.cgm", Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n)));
    const Inquiry r = inquire("cut.cgm");
    EXPECT_EQ(r.error, 2) << "cut at " << n;
    EXPECT_GE(r.pictures, 1) << "cut at " << n;
    EXPECT_TRUE(std::isfinite(r.aspect)) << "cut at " << n;
  }
  // Random bytes: a fixed generator, so that a failure repeats.
  std::uint32_t state = 12345;
  for (int file = 0; file < 60; ++file) {
    Bytes noise(static_cast<std::size_t>(64 + file * 13));
    for (std::uint8_t& b : noise) {
      state = state * 1664525u + 1013904223u;
      b = static_cast<std::uint8_t>(state >> 24);
    }
    writeBytes("noise.cgm", noise);
    const Inquiry r = inquire("noise.cgm");
    EXPECT_GE(r.pictures, 1) << "file " << file;
    EXPECT_TRUE(std::isfinite(r.aspect)) << "file " << file;
    Bytes pic = picHeader();
    pic.insert(pic.end(), noise.begin(), noise.end());
    EXPECT_GE(countPictures(pic).pictures, 1) << "file " << file;
  }
}

TEST_F(CgmInquiry, AFileThatCannotBeOpenedLeavesTheResults) {
  const Inquiry r = inquire("no_such_file.cgm");
  EXPECT_EQ(r.error, 1);
  EXPECT_EQ(r.pictures, -7);
  EXPECT_FLOAT_EQ(r.aspect, -7.0f);
  std::int32_t pictures = -3;
  errorState.lastError = 0;
  YYCNTPIC("no_such_file.pic", 16, pictures);
  EXPECT_EQ(errorState.lastError, 1);
  EXPECT_EQ(pictures, -3);
}

TEST_F(CgmInquiry, OnlyTheGivenLengthOfTheNameCounts) {
  writeBytes("named.cgm", join({kBegin, kEndPicture, kEndPicture, kEndMetafile}));
  std::int32_t pictures = 0;
  float aspect = 0;
  YYINFOCGM("named.cgm and more", 9, pictures, aspect);
  EXPECT_EQ(pictures, 2);
}

TEST_F(CgmInquiry, PicCommandsAreCountedWithTheirOperands) {
  struct Case {
    const char* what;
    Bytes commands;
    std::int32_t pictures;
    int error;
  };
  const Case cases[] = {
      {"no picture command", {}, 1, 0},
      {"every operand form, three pictures",
       {96,                                  // a picture
        160, 96, 97, 98, 99,                 // operands that look like pictures
        48, 1, 100, 100, 100, 100, 100, 100, 100, 100,
        167, 105,                            // one operand byte
        168, 7, 'a', 'b', 'c', 0,            // one byte, then up to a zero
        172, 101, 102, 103, 104, 162, 111, 111, 111, 111,
        224, 0, 110, 110, 110, 110,
        111,                                 // a picture
        112, 95, 1, 2,                       // not pictures, no operands
        103},                                // a picture
       3, 0},
      {"operands cut short", {96, 96, 160, 1, 2}, 2, 2},
      {"a string without its zero", {100, 168, 1, 'x', 'y'}, 1, 2},
      {"a count byte missing", {100, 100, 100, 48}, 3, 2},
  };
  for (const Case& c : cases) {
    Bytes bytes = picHeader();
    bytes.insert(bytes.end(), c.commands.begin(), c.commands.end());
    const PicCount r = countPictures(bytes);
    EXPECT_EQ(r.pictures, c.pictures) << c.what;
    EXPECT_EQ(r.error, c.error) << c.what;
  }
}

TEST_F(CgmInquiry, APicHeaderCutShortKeepsTheCallersCount) {
  const Bytes header = picHeader();
  const Bytes shortHeader(header.begin(), header.begin() + 10);
  PicCount r = countPictures(shortHeader, -1);
  EXPECT_EQ(r.pictures, -1);
  EXPECT_EQ(r.error, 2);
  EXPECT_EQ(errorState.ioDetailKind, 2);
  EXPECT_EQ(errorState.ioDetail, 0);
  EXPECT_EQ(countPictures(shortHeader, 0).pictures, 1);
  EXPECT_EQ(countPictures(shortHeader, 4).pictures, 4);
}

TEST_F(CgmInquiry, TheGraphicsInquiryCountsPicPicturesWhenAsked) {
  Bytes bytes = picHeader();
  bytes.insert(bytes.end(), {96, 97, 98, 160, 0, 0, 0, 0});
  writeBytes("info.pic", bytes);
  std::array<std::int32_t, 6> info{};
  info.fill(-5);
  YYGrFileInfo("info.pic", info, 4);
  EXPECT_EQ(info[0], kFileLotusPic);
  EXPECT_EQ(info[1], 3201);
  EXPECT_EQ(info[2], 2312);
  EXPECT_EQ(info[3], 3);
  EXPECT_EQ(info[4], -5) << "entries beyond those asked are left alone";
  info.fill(-5);
  YYGrFileInfo("info.pic", info, 3);
  EXPECT_EQ(info[3], -5);
}

}  // namespace
}  // namespace cgm_test
