// NMEA 0183 logs of TomTom devices (.pgl, .log), read as one track.
#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "converter/converter_data.h"
#include "converter/debug_log.h"
#include "converter/field_splitters.h"
#include "converter/log_display.h"
#include "converter/text_helpers.h"
#include "formats/device/device_files.h"
#include "formats/device/tomtom.h"
#include "toolkit/core/number_format.h"
#include "toolkit/dialogs/message_box.h"

namespace {

using device::wholeNumber;

constexpr int kSatelliteSlots = 12;
constexpr float kUnknownDop = 9999.0f;

// Commas a sentence needs before the fields that are read from it.
constexpr int kFixCommas = 9;
constexpr int kSatelliteCommas = 17;
constexpr int kRmcCommas = 8;
constexpr int kVtgCommas = 7;

struct Fix {
  int hour = 0;
  int minute = 0;
  double seconds = 0.0;
  int latitudeDegrees = 0;
  double latitudeMinutes = 0.0;
  char latitudeHemisphere = 'N';
  int longitudeDegrees = 0;
  double longitudeMinutes = 0.0;
  char longitudeHemisphere = 'E';
  float altitude = 0.0f;
  std::string altitudeText;
};

// The working state of one reading.
struct LogState {
  bool pending = false;
  Fix fix;
  float hdop = kUnknownDop;
  float pdop = kUnknownDop;
  float vdop = 0.0f;
  std::array<std::int32_t, kSatelliteSlots> satellites{};
  int satelliteCount = 0;
  bool speedKnown = false;
  float mph = 0.0f;
  float kph = 0.0f;
  float course = 0.0f;
  int errors = 0;
};

int commaCount(std::string_view line) { return static_cast<int>(std::count(line.begin(), line.end(), ',')); }

// "*" and the two upper-case hexadecimal digits of the XOR of the characters
// between "$" and "*" (the 2nd to the 3rd-last character of the line).
std::string checksumText(std::string_view line) {
  const int n = static_cast<int>(line.size());
  const int last = n <= 5 ? 2 : n - 3;
  unsigned value = 0;
  for (int c = 2; c <= last && c <= n; ++c) value ^= static_cast<unsigned char>(line[static_cast<std::size_t>(c - 1)]);
  static constexpr char kHex[] = "0123456789ABCDEF";
  return std::string{'*', kHex[(value >> 4) & 0xF], kHex[value & 0xF]};
}

// Digits only, as whole number; false for anything else or nothing.
bool readDigits(std::string_view text, int& value) {
  if (text.empty()) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

// Degrees in the first `digits` characters and minutes after them.
bool readAngle(std::string_view field, std::size_t digits, int& degrees, double& minutes) {
  return field.size() > digits && readDigits(field.substr(0, digits), degrees) &&
         device::readReal(field.substr(digits), minutes);
}

enum class FixOutcome { kFix, kNoFix, kMalformed };

// The fields of a "$GPGGA" sentence.  A receiver without a fix sends the
// sentence with fix quality 0 or an empty one; that is no position.
FixOutcome readFix(std::string_view line, Fix& fix, float& hdop) {
  if (commaCount(line) < kFixCommas) return FixOutcome::kMalformed;
  std::array<FixedText<64>, 9> fields;
  int position = 8;
  for (auto& field : fields) GET_CSV_FIELD(line, position, field);
  const std::string_view time = text::trimmed(fields[0].view());
  const std::string_view latitude = text::trimmed(fields[1].view());
  const std::string_view longitude = text::trimmed(fields[3].view());
  std::int32_t quality = 0;
  if (fields[5].isBlank()) return FixOutcome::kNoFix;
  if (!device::readInteger(fields[5].view(), quality)) return FixOutcome::kMalformed;
  if (quality == 0) return FixOutcome::kNoFix;
  if (time.size() < 6 || !readDigits(time.substr(0, 2), fix.hour) || !readDigits(time.substr(2, 2), fix.minute) ||
      !device::readReal(time.substr(4), fix.seconds) || fix.hour > 23 || fix.minute > 59 || fix.seconds < 0.0 ||
      fix.seconds >= 61.0) {
    return FixOutcome::kMalformed;
  }
  if (!readAngle(latitude, 2, fix.latitudeDegrees, fix.latitudeMinutes) ||
      !readAngle(longitude, 3, fix.longitudeDegrees, fix.longitudeMinutes)) {
    return FixOutcome::kMalformed;
  }
  fix.latitudeHemisphere = fields[2].column(1);
  fix.longitudeHemisphere = fields[4].column(1);
  if (!(text::equal(fields[2], "N") || text::equal(fields[2], "S")) || !(text::equal(fields[4], "E") || text::equal(fields[4], "W"))) {
    return FixOutcome::kMalformed;
  }
  // Degrees and minutes that add up to no place on the globe are a damaged sentence.
  if (!isRealLatitude(fix.latitudeDegrees + fix.latitudeMinutes / 60.0) ||
      !isRealLongitude(fix.longitudeDegrees + fix.longitudeMinutes / 60.0)) {
    return FixOutcome::kMalformed;
  }
  float altitude = 0.0f;
  if (!device::readReal(fields[8].view(), altitude) || !isRealMeasure(altitude)) return FixOutcome::kMalformed;
  fix.altitude = altitude;
  fix.altitudeText = text::withoutLeadingBlanks(formatF(altitude, 8, 1));
  float value = 0.0f;
  if (device::readReal(fields[7].view(), value)) hdop = value;
  return FixOutcome::kFix;
}

std::string twoDigits(int value) { return formatI(value, 2, 2); }

// Stores the pending fix unless the track filter or the PDOP limit drops it;
// false when the storage limit ends the reading.
bool storeFix(const LogState& s, std::string_view route) {
  const int filter = std::max(1, CONVERTER_SETTINGS.TRACK_FILTER);
  if (POINT_LIST.TRACK_POSITION % filter != 0) return true;
  if (s.pdop > CONVERTER_SETTINGS.PDOP_LIMIT) return true;
  POINT_RECORD* p = STORE_POINT();
  if (p == nullptr) return false;
  const Fix& f = s.fix;
  const double latitude = f.latitudeDegrees + f.latitudeMinutes / 60.0;
  const double longitude = f.longitudeDegrees + f.longitudeMinutes / 60.0;
  p->LATITUDE = static_cast<float>(f.latitudeHemisphere == 'N' ? latitude : -latitude);
  p->LONGITUDE = static_cast<float>(f.longitudeHemisphere == 'W' ? -longitude : longitude);
  p->ALTITUDE = f.altitude;
  p->DATE = FILE_DATE.view();
  p->TIME = twoDigits(f.hour) + ":" + twoDigits(f.minute) + ":" + twoDigits(static_cast<int>(f.seconds));
  std::string satellites;
  for (int k = 0; k < s.satelliteCount; ++k) satellites += formatI(s.satellites[static_cast<std::size_t>(k)], 3);
  const std::string speed = "Speed (mph/kph): " + formatF(s.mph, 5, 1) + "/" + formatF(s.kph, 5, 1);
  const std::string course = "Course (true): " + formatF(s.course, 6, 1) + ", Altitude (m): " + f.altitudeText;
  if (s.speedKnown) {
    p->DESCRIPTION = speed;
    p->COMMENT = s.satelliteCount > 0 ? course + ", Satellites: " + satellites : course;
  } else {
    p->DESCRIPTION = "Altitude (m): " + f.altitudeText;
    if (s.satelliteCount > 0) p->COMMENT = "Satellites: " + satellites;
  }
  p->PROXIMITY = 0.0f;
  p->SYMBOL = kNoSymbol;
  p->SYMBOL_NAME = "Dot";
  p->ROUTE_NAME = route;
  return true;
}

// A "$GPGSA" sentence: the satellites of the fix and its dilutions of precision.
// False when a satellite number cannot be read (the sentence is used all the same).
bool readSatellites(std::string_view line, LogState& s) {
  bool readable = true;
  s.satellites.fill(0);
  s.satelliteCount = 0;
  std::array<std::size_t, kSatelliteCommas> commas{};
  std::size_t found = 0;
  for (std::size_t i = 0; i < line.size() && found < commas.size(); ++i) {
    if (line[i] == ',') commas[found++] = i;
  }
  // The satellites follow the mode and the fix type: between commas 3 and 15.
  for (int k = 0; k < kSatelliteSlots; ++k) {
    const std::size_t start = commas[static_cast<std::size_t>(2 + k)] + 1;
    const std::string_view field = line.substr(start, commas[static_cast<std::size_t>(3 + k)] - start);
    std::int32_t number = 0;
    if (text::isBlank(field)) continue;
    if (!device::readInteger(field, number)) {
      readable = false;
      continue;
    }
    s.satellites[static_cast<std::size_t>(k)] = number;
  }
  for (std::int32_t number : s.satellites) {
    if (number != 0) s.satellites[static_cast<std::size_t>(s.satelliteCount++)] = number;
  }
  std::fill(s.satellites.begin() + s.satelliteCount, s.satellites.end(), 0);
  FIELDR(line, 15, s.pdop);
  FIELDR(line, 16, s.hdop);
  FIELDR(line, 17, s.vdop);
  return readable;
}

void noteError(LogState& s, std::string_view kind, std::string_view line) {
  if (s.errors == 0) DEBUG_WRITE({"** Errors were detected in the following NMEA sentences"});
  ++s.errors;
  DEBUG_WRITE({std::string(text::trimmed(kind)) + ": " + std::string(text::trimmed(line))});
}

}  // namespace

void FIELDR(std::string_view sentence, int n, float& value) {
  value = 0.0f;
  std::size_t position = 0;
  for (int comma = 0; comma < n; ++comma) {
    const std::size_t found = sentence.find(',', position);
    if (found == std::string_view::npos) return;
    position = found + 1;
  }
  const std::string_view rest = sentence.substr(position);
  const std::string_view field = rest.substr(0, std::min(rest.find(','), rest.find('*')));
  float read = 0.0f;
  if (device::readReal(field, read)) value = read;
}

void READ_PGL() {
  DEBUG_MARK(DebugMark::kSubroutine, "read_gpl");
  FixedText<64> route;
  carrowmapper::FILE(FILE_NAMES.INPUT_FILE.view(), route);
  device::InputFile in;
  if (!device::openInput(in)) return;
  LogState s;
  POINT_LIST.TRACK_POSITION = 0;
  int length = 0;
  while (in.readLine(RECORD_BUFFER, length)) {
    const std::string_view line = RECORD_BUFFER.view().substr(0, static_cast<std::size_t>(length));
    std::string_view error;
    if (line.find(checksumText(line)) == std::string_view::npos) {
      error = "Checksum";
    } else {
      const std::string_view kind = line.substr(0, 6);
      if (kind == "$GPGGA") {
        if (s.pending && !storeFix(s, route.view())) return;
        s.pending = false;
        switch (readFix(line, s.fix, s.hdop)) {
          case FixOutcome::kFix:
            s.pending = true;
            POINT_LIST.TRACK_POSITION += 1;
            break;
          case FixOutcome::kNoFix:
            break;
          case FixOutcome::kMalformed:
            error = "Record";
            break;
        }
      } else if (kind == "$GPGSA") {
        if (commaCount(line) < kSatelliteCommas) {
          error = "Record";
        } else if (!readSatellites(line, s)) {
          error = "SatNos";
        }
      } else if (kind == "$GPRMC") {
        if (commaCount(line) < kRmcCommas) {
          error = "Record";
        } else {
          float knots = 0.0f;
          FIELDR(line, 8, s.course);
          FIELDR(line, 7, knots);
          s.mph = knots * 1.1508f;
          s.kph = knots * 1.8519f;
          s.speedKnown = true;
        }
      } else if (kind == "$GPVTG") {
        if (commaCount(line) < kVtgCommas) {
          error = "Record";
        } else {
          FIELDR(line, 1, s.course);
          FIELDR(line, 7, s.kph);
          s.mph = s.kph * 0.621f;
          s.speedKnown = true;
        }
      }
    }
    if (!error.empty()) noteError(s, error, line);
  }
  if (s.pending && !storeFix(s, route.view())) return;
  in.close();
  if (s.errors != 0) {
    WMessageBox(0, 4, 1, "Some NMEA sentences contained errors\rEnable debug output and re-run\rto see the errors",
                "Carrowmapper Error");
  }
  if (CONVERTER_SETTINGS.TRACK_FILTER > 1) {
    SCROLL(text::withoutLeadingBlanks(formatI(POINT_LIST.NREAD, 5) + " of " +
                                        formatI(POINT_LIST.TRACK_POSITION, 4) + " points read from 1 track"));
  } else {
    SCROLL(wholeNumber(POINT_LIST.NREAD) + " points read from 1 track");
  }
  DEBUG_MARK(DebugMark::kExitFromSubroutine, "read_gpl");
}
