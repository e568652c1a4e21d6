#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/core/error_reporter.h"
#include "toolkit/graphics/memory_compression.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The PNG writer's room for a compressed copy.
int roomFor(int length) { return length + length / 1000 + 14; }

// Adler-32 as RFC 1950 defines it, computed here without zlib.
std::uint32_t adler32Of(const Bytes& data) {
  std::uint32_t a = 1;
  std::uint32_t b = 0;
  for (std::uint8_t byte : data) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

Bytes compressed(const Bytes& source) {
  const int length = static_cast<int>(source.size());
  Bytes out(static_cast<std::size_t>(roomFor(length)));
  int written = static_cast<int>(out.size());
  WCompress(source.data(), out.data(), length, written);
  out.resize(static_cast<std::size_t>(written));
  return out;
}

Bytes pseudoRandom(std::size_t n) {
  Bytes b(n);
  std::uint32_t s = 12345;
  for (auto& v : b) {
    s = s * 1103515245u + 12345u;
    v = static_cast<std::uint8_t>(s >> 16);
  }
  return b;
}

class MemoryCompression : public ::testing::Test {
 protected:
  void SetUp() override {
    YYErrorStateReset();
    // The debug-log mode builds the message, so that its zlib text can be read.
    YYErrorModeSet(kReportDebugLog);
  }
  void TearDown() override { YYErrorStateReset(); }

  static void expectZlibFailure(const char* routine, int status, const char* statusText) {
    EXPECT_EQ(errorState.lastError, 1044);
    EXPECT_EQ(errorState.osError, status);
    EXPECT_EQ(errorState.message.str(), std::string("Routine:") + routine +
                                            " Error=1044:Zlib compression/decompression error: " +
                                            statusText);
  }
};

TEST_F(MemoryCompression, RoundTripsAZlibStreamOfEachKindOfData) {
  Bytes image;
  for (int row = 0; row < 300; ++row) {
    image.push_back(0);  // a PNG filter byte, then a row of grey steps
    for (int x = 0; x < 400; ++x) image.push_back(static_cast<std::uint8_t>((x + row) & 0xF0));
  }
  const std::string words = "Routes, tracks and waypoints.";
  const std::vector<Bytes> sources = {
      Bytes{}, Bytes{42}, Bytes(words.begin(), words.end()), image, pseudoRandom(70000)};
  for (const Bytes& source : sources) {
    SCOPED_TRACE(source.size());
    const Bytes stream = compressed(source);
    ASSERT_GE(stream.size(), 6u);
    // RFC 1950: deflate with a 32K window, a header check that divides by 31,
    // no preset dictionary, and the Adler-32 of the data at the end, big-endian.
    EXPECT_EQ(stream[0], 0x78);
    EXPECT_EQ((stream[0] * 256 + stream[1]) % 31, 0);
    EXPECT_EQ(stream[1] & 0x20, 0);
    const std::size_t e = stream.size();
    const std::uint32_t trailer = (std::uint32_t{stream[e - 4]} << 24) | (stream[e - 3] << 16) |
                                  (stream[e - 2] << 8) | stream[e - 1];
    EXPECT_EQ(trailer, adler32Of(source));

    Bytes back(source.size() + 1, 0xEE);
    int length = static_cast<int>(source.size());  // room exactly as long as the source
    WUnCompress(stream.data(), back.data(), static_cast<int>(stream.size()), length);
    EXPECT_EQ(length, static_cast<int>(source.size()));
    EXPECT_TRUE(std::equal(source.begin(), source.end(), back.begin()));
    EXPECT_EQ(back.back(), 0xEE);  // nothing past the room
  }
  EXPECT_EQ(errorState.lastError, 0);
  EXPECT_TRUE(errorState.message.isBlank());
  EXPECT_LT(compressed(image).size(), image.size() / 10);
}

TEST_F(MemoryCompression, TooLittleRoomToCompressIsABufferError) {
  const Bytes source = pseudoRandom(5000);
  const int fits = static_cast<int>(compressed(source).size());
  Bytes out(static_cast<std::size_t>(fits));
  int length = fits - 1;
  WCompress(source.data(), out.data(), static_cast<int>(source.size()), length);
  EXPECT_EQ(length, 0);
  expectZlibFailure("WCompress", -5, "buffer error");
}

struct DamageCase {
  const char* name;
  void (*damage)(Bytes& stream, int& room);
  int status;
  const char* text;
};

TEST_F(MemoryCompression, DamagedOrShortStreamsGiveError1044AndNoLength) {
  const Bytes source = pseudoRandom(3000);
  const Bytes stream = compressed(source);
  const DamageCase cases[] = {
      {"not a zlib stream", [](Bytes& s, int&) { s = Bytes{'P', 'N', 'G', 0, 1, 2, 3, 4}; }, -3,
       "data error"},
      {"checksum changed", [](Bytes& s, int&) { s.back() ^= 0x01; }, -3, "data error"},
      {"stream cut short", [](Bytes& s, int&) { s.resize(s.size() / 2); }, -3, "data error"},
      {"room one byte short", [](Bytes&, int& room) { room -= 1; }, -5, "buffer error"},
  };
  for (const DamageCase& c : cases) {
    SCOPED_TRACE(c.name);
    YYErrorStateReset();
    YYErrorModeSet(kReportDebugLog);
    Bytes input = stream;
    int length = static_cast<int>(source.size());
    c.damage(input, length);
    Bytes out(source.size(), 0);
    WUnCompress(input.data(), out.data(), static_cast<int>(input.size()), length);
    EXPECT_EQ(length, 0);
    expectZlibFailure("WUnCompress", c.status, c.text);
  }
}

TEST_F(MemoryCompression, LowerRoutinesAnswerTheStatusAndReportNothing) {
  const Bytes source = pseudoRandom(100);
  Bytes out(200);
  int length = 200;
  int status = 99;
  YYCompressC(source.data(), out.data(), 100, length, status);
  EXPECT_EQ(status, 0);
  EXPECT_GT(length, 100);  // random bytes do not shrink

  Bytes back(100);
  int backLength = 10;
  YYUnCompressC(out.data(), back.data(), length, backLength, status);
  EXPECT_EQ(status, -5);
  EXPECT_EQ(errorState.lastError, 0);

  // A negative length never reaches zlib.
  int negative = -1;
  length = 200;
  YYCompressC(source.data(), out.data(), negative, length, status);
  EXPECT_EQ(status, -2);
  EXPECT_EQ(length, 0);
  length = 200;
  WUnCompress(out.data(), back.data(), negative, length);
  EXPECT_EQ(length, 0);
  expectZlibFailure("WUnCompress", -2, "stream error");
}

}  // namespace
