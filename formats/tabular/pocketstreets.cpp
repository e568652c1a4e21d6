#include "formats/tabular/pocketstreets.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string>

#include "converter/converter_data.h"
#include "converter/debug_log.h"
#include "converter/log_display.h"
#include "formats/tabular/text_lines.h"
#include "toolkit/core/number_format.h"
#include "toolkit/dialogs/message_box.h"

namespace {

constexpr int kOkOnly = 0;
constexpr int kInformationIcon = 4;
constexpr std::size_t kHeaderStart = 12;  // bytes before the pushpin count
constexpr std::size_t kHeaderRest = 16;   // bytes after it
// Degrees per radian as the file's program has it: a 32-bit constant, not 180/pi.
constexpr float kDegreesPerRadian = 57.29578f;
constexpr std::int8_t kNegateLongitude = 2;
constexpr std::int8_t kLongitudeLess180 = 3;

bool readInt32(ByteStreamReader& file, std::int32_t& value) {
  std::array<unsigned char, 4> b{};
  if (!file.read(b.data(), b.size())) return false;
  value = static_cast<std::int32_t>(static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
                                    static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24);
  return true;
}

bool readInt8(ByteStreamReader& file, std::int8_t& value) {
  unsigned char b = 0;
  if (!file.read(&b, 1)) return false;
  value = static_cast<std::int8_t>(b);
  return true;
}

bool readDouble(ByteStreamReader& file, double& value) {
  std::array<unsigned char, 8> b{};
  if (!file.read(b.data(), b.size())) return false;
  std::uint64_t bits = 0;
  for (std::size_t i = b.size(); i-- > 0;) bits = bits << 8 | b[i];
  std::memcpy(&value, &bits, sizeof value);
  return true;
}

// A text of `count` 16-bit characters, each kept as its low byte; no characters
// when the count is 0 or negative.
bool readText(ByteStreamReader& file, std::int8_t count, std::string& text) {
  for (int k = 0; k < count; ++k) {
    std::array<unsigned char, 2> unit{};
    if (!file.read(unit.data(), unit.size())) return false;
    text += static_cast<char>(unit[0]);
  }
  return true;
}

bool readCountedText(ByteStreamReader& file, std::string& text, const char* label) {
  std::int8_t count = 0;
  if (!readInt8(file, count)) return false;
  if (!readText(file, count, text)) return false;
  DEBUG_WRITE({label, static_cast<int>(count), text});
  return true;
}

// The rest of pushpin j after its id; false when the file ends inside it.
bool readPushpin(ByteStreamReader& file, int j, POINT_RECORD& point) {
  std::int8_t flag = 0;
  double latitude = 0.0;
  double longitude = 0.0;
  std::int32_t layout = 0;
  std::int32_t symbol = 0;
  if (!readInt8(file, flag) || !readDouble(file, latitude) || !readDouble(file, longitude) ||
      !readInt32(file, layout) || !readInt32(file, symbol)) {
    return false;
  }
  DEBUG_WRITE({"  j=", j, "flag=", static_cast<int>(flag), " coords=", latitude, longitude});
  DEBUG_WRITE({"layout=", layout, "  symbol=", symbol});
  std::string first;
  std::string second;
  if (!readCountedText(file, first, "1:nuc=")) return false;
  std::int8_t count2 = 0;
  if (!readInt8(file, count2)) return false;
  DEBUG_WRITE({" # chars=", static_cast<int>(count2)});
  if (count2 == 0) {
    if (!readCountedText(file, second, "2:nuc=")) return false;
  } else if (count2 > 0) {
    if (!readText(file, count2, second)) return false;
    DEBUG_WRITE({"2:nuc=", static_cast<int>(count2), second});
    if (!readCountedText(file, second, "3:nuc=")) return false;
  } else {
    unsigned char skipped = 0;
    if (!file.read(&skipped, 1)) return false;
  }
  double east = longitude * static_cast<double>(kDegreesPerRadian);
  if (flag == kNegateLongitude) east = -east;
  if (flag == kLongitudeLess180) east -= 180.0;
  point = POINT_RECORD{};
  point.LATITUDE = static_cast<float>(latitude * static_cast<double>(kDegreesPerRadian));
  point.LONGITUDE = static_cast<float>(east);
  point.DESCRIPTION = first;
  point.COMMENT = second;
  point.NAME.blank();
  giveFileDefaults(point);
  point.SYMBOL = kNoSymbol;
  point.SYMBOL_NAME = "Waypoint";
  point.ROUTE_NAME = "Point data";
  point.COLOUR.blank();
  return true;
}

void readPushpins() {
  ByteStreamReader file;
  if (!openInputFile(file)) return;
  std::array<unsigned char, kHeaderStart> start{};
  std::array<unsigned char, kHeaderRest> rest{};
  std::int32_t pins = 0;
  if (!file.read(start.data(), start.size()) || !readInt32(file, pins) || !file.read(rest.data(), rest.size())) {
    file.close();
    WMessageBox(kOkOnly, kInformationIcon, 1,
                "This file is too short for a\rPocket Streets pushpin file.\rPlease select a different file.",
                "File Format Error");
    return;
  }
  DEBUG_WRITE({"npins=", pins});
  // The count may be anything; the end of the file ends the loop long before a
  // large one would.
  for (int j = 1; j <= pins; ++j) {
    std::int32_t pinId = 0;
    if (!readInt32(file, pinId)) break;
    DEBUG_WRITE({"  pin_id=", pinId});
    POINT_RECORD point;
    // A pushpin cut short by the end of the file is not a point.
    if (!readPushpin(file, j, point)) break;
    // Bytes that give no place on the globe are a damaged pushpin: the reading
    // ends there, as at a pushpin cut short, but the user is told.
    if (!isRealPoint(point)) {
      WMessageBox(kOkOnly, kInformationIcon, 1,
                  "Pushpin" + formatI(j, 6) + " has no valid position.\rThe file is damaged.", "File Format Error");
      break;
    }
    POINT_RECORD* stored = STORE_POINT();
    if (stored == nullptr) return;
    *stored = point;
  }
  file.close();
  SCROLL(countLine(POINT_LIST.NREAD, " points read"));
}

}  // namespace

void READ_PSP() { runLogged("read_psp", readPushpins); }
