#include "formats/tabular/st2gpx.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "converter/converter_data.h"
#include "converter/debug_log.h"
#include "converter/log_display.h"
#include "converter/lookups.h"
#include "converter/symbol_tables.h"
#include "converter/text_helpers.h"
#include "formats/tabular/coordinate_parsers.h"
#include "formats/tabular/record_files.h"
#include "toolkit/core/error_reporter.h"
#include "toolkit/core/file_ops.h"
#include "toolkit/core/number_format.h"
#include "toolkit/core/processes.h"
#include "toolkit/core/strings.h"
#include "toolkit/dialogs/message_box.h"

namespace {

constexpr std::string_view kTemporaryFile = "st2gpx.tmp";
constexpr int kOkOnly = 0;
constexpr int kExclamationIcon = 3;
constexpr int kOsCommandFailed = 13;
constexpr std::string_view kQuit = "quit";

constexpr int kPushpinLimit = kRecordLength;
constexpr int kRouteLimit = 256;

bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

// --- text of the GPX elements ---

// Unicode characters of code page 1252's positions 128 to 159 (0 where the code
// page has none); its positions 160 to 255 are those of Unicode.
constexpr std::array<std::uint16_t, 32> kHighControls{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// A Unicode character as a code page 1252 byte; "?" where the code page lacks it.
char toCodePage(std::uint32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] != 0 && kHighControls[i] == c) return static_cast<char>(0x80 + i);
  }
  return '?';
}

// The bytes of the file as code page 1252: UTF-8 sequences become their
// character (a malformed sequence one "?"); single-byte files stay as they are.
std::string codePageText(std::string_view bytes, bool utf8) {
  if (!utf8) return std::string(bytes);
  std::string out;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      out += bytes[i++];
      continue;
    }
    const std::size_t extra = lead >= 0xC2 && lead < 0xE0 ? 1 : lead >= 0xE0 && lead < 0xF0 ? 2
                              : lead >= 0xF0 && lead < 0xF5 ? 3 : 0;
    std::uint32_t c = lead & (0x3Fu >> extra);
    std::size_t k = 1;
    while (k <= extra && i + k < bytes.size() && (static_cast<unsigned char>(bytes[i + k]) & 0xC0) == 0x80) {
      c = (c << 6) | (static_cast<unsigned char>(bytes[i + k]) & 0x3Fu);
      ++k;
    }
    out += extra == 0 || k <= extra ? '?' : toCodePage(c);
    i += k;
  }
  return out;
}

// Stored text of an element: the file's encoding turned into code page 1252,
// and outside CDATA the predefined entities and character references decoded.
std::string elementText(std::string_view raw, bool utf8, bool cdata) {
  const std::string bytes = codePageText(raw, utf8);
  if (cdata) return bytes;
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '&') {
      out += bytes[i];
      continue;
    }
    const std::size_t end = bytes.find(';', i);
    if (end == std::string::npos || end - i > 10) {
      out += bytes[i];
      continue;
    }
    const std::string_view name = std::string_view(bytes).substr(i + 1, end - i - 1);
    static constexpr std::array<std::pair<std::string_view, char>, 5> kEntities{
        {{"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}}};
    bool known = false;
    for (const auto& [entity, character] : kEntities) {
      if (name == entity) {
        out += character;
        known = true;
      }
    }
    if (!known && name.size() > 1 && name[0] == '#') {
      const bool hex = name[1] == 'x' || name[1] == 'X';
      const std::string_view digits = name.substr(hex ? 2 : 1);
      std::uint32_t c = 0;
      bool good = !digits.empty();
      for (char d : digits) {
        const int v = d >= '0' && d <= '9'                ? d - '0'
                      : hex && d >= 'a' && d <= 'f'       ? d - 'a' + 10
                      : hex && d >= 'A' && d <= 'F'       ? d - 'A' + 10
                                                          : -1;
        if (v < 0 || c > 0x10FFFF) {
          good = false;
          break;
        }
        c = c * (hex ? 16 : 10) + static_cast<std::uint32_t>(v);
      }
      if (good) {
        out += toCodePage(c);
        known = true;
      }
    }
    if (!known) {
      out += bytes[i];
      continue;
    }
    i = end;
  }
  return out;
}

// The text between the opening marker and the closing one; nothing when the
// opening marker is absent, an empty text when the closing one is.
std::optional<std::string_view> between(std::string_view record, std::string_view open, std::string_view close) {
  const std::size_t start = record.find(open);
  if (start == std::string_view::npos) return std::nullopt;
  const std::string_view rest = record.substr(start + open.size());
  const std::size_t end = rest.find(close);
  if (end == std::string_view::npos) return std::string_view{};
  return rest.substr(0, end);
}

// An element's text, in CDATA or plain.
std::optional<std::string> elementOf(std::string_view record, std::string_view tag, bool utf8) {
  const std::string open = std::string("<").append(tag).append(">");
  const std::string close = std::string("</").append(tag).append(">");
  if (const auto cdata = between(record, open + "<![CDATA[", "]]>" + close)) return elementText(*cdata, utf8, true);
  if (const auto plain = between(record, open, close)) return elementText(*plain, utf8, false);
  return std::nullopt;
}

// The encoding that an XML declaration names: only UTF-8 (the default) and the
// single-byte Latin ones are told apart.
bool declaresUtf8(std::string_view declaration) {
  return IStringFindNoCase(declaration, "iso-8859-1") == 0 && IStringFindNoCase(declaration, "windows-1252") == 0;
}

// --- running ST2GPX ---

void deleteIfPresent(const std::string& name) {
  if (!YYOsFileExists(name.c_str())) return;
  DEBUG_WRITE({"Deleting file ", name});
  IOsDeleteFile(name);
}

// ST2GPX's output lives as long as the reading: it goes on every way out, read
// whole or stopped by a fault, unless debug output keeps it for a look.
class TemporaryOutput {
 public:
  TemporaryOutput() = default;
  TemporaryOutput(const TemporaryOutput&) = delete;
  TemporaryOutput& operator=(const TemporaryOutput&) = delete;
  ~TemporaryOutput() {
    if (!isTrue(DEBUG_FLAG)) deleteIfPresent(std::string(kTemporaryFile));
  }
};

// Runs ST2GPX on INPUT_FILE and opens its output.  False, after the box and with
// STOP_FLAG set, when there is no output to read.
bool runSt2gpx(TextInputFile& output) {
  SCROLL("Running ST2GPX v0.5 utility to extract PushPin data");
  DEBUG_WRITE({"Running ST2GPX v0.5 utility to extract PushPin data"});
  const std::string temporary(kTemporaryFile);
  deleteIfPresent(temporary);

  // The program and both files quoted: folders may hold blanks.
  std::string command = "\"";
  command.append(FILE_NAMES.PROGRAM_FOLDER.trimmed()).append("st2gpx_05\\st2gpx.exe\" -G \"").append(temporary);
  command.append("\" \"").append(FILE_NAMES.INPUT_FILE.trimmed()).append("\"");
  DEBUG_WRITE({"Issuing command in ..."});
  DEBUG_WRITE({command + ", 3"});
  WErrorStatusQuery(1);  // only this command's failure counts
  IOsCommand(command, kCommandHidden | kCommandWait);
  if (WErrorStatusQuery(1) == kOsCommandFailed) DEBUG_WRITE({"OS command error:", WErrorStatusQuery(3)});

  // ST2GPX leaves a file "null" beside its output.
  FixedText<256> leftOver(kTemporaryFile);
  ROOT(leftOver);
  deleteIfPresent(leftOver.str() + "null");

  DEBUG_WRITE({"Read GPX data from file ", temporary});
  if (!YYOsFileExists(temporary.c_str())) {
    DEBUG_WRITE({"The ST2GPX utility failed to produce the file"});
    DEBUG_WRITE({temporary});
    DEBUG_WRITE({"Exiting program"});
    WMessageBox(kOkOnly, kExclamationIcon, 1, "The ST2GPX utility failed to produce the file -\r" + temporary, "Error");
    STOP_FLAG = kLogicalTrue;
    return false;
  }
  if (!output.open(temporary)) {
    FILE_ERROR_BOX("The file could not be opened:", temporary);
    STOP_FLAG = kLogicalTrue;
    return false;
  }
  DEBUG_WRITE({"File opened"});
  return true;
}

// --- gathering one element over several lines ---

enum class Joined { kComplete, kEndOfFile, kTooLong };

// Appends lines to the record until it holds the closing tag.  Each line goes
// right after the last character of the one before; a record whose next free
// position lies beyond the limit without the tag is too long.
Joined joinUntil(TextInputFile& file, TextField record, int& used, std::string_view closing, int limit) {
  FixedText<kRecordLength> line;
  int length = 0;
  while (!contains(record.view(), closing)) {
    if (used + 1 > limit) return Joined::kTooLong;
    if (!file.readLine(line, length)) return Joined::kEndOfFile;
    record.part(used + 1, length).assign(line.view().substr(0, static_cast<std::size_t>(length)));
    used = std::min(used + length, record.length());
  }
  return Joined::kComplete;
}

// --- one point ---

struct Fault {
  std::string_view message;
  std::string_view hint;
};
constexpr Fault kLatitudeMissing{"Latitude keyword missing", "lat=\"decimal value\""};
constexpr Fault kLatitudeUnreadable{"Error reading latitude", "Any valid number"};
constexpr Fault kLongitudeMissing{"Longitude keyword missing", "lon=\"decimal value\""};
constexpr Fault kLongitudeUnreadable{"Error reading longitude", "Any valid number"};
constexpr Fault kPushpinTooLong{"<wpt...</wpt> record too long", "Maximum length is 1024 characters"};
constexpr Fault kRouteTooLong{"<rte>...</name> record too lon", "Maximum length is 256 characters"};
constexpr Fault kRoutePointTooLong{"<rtept...</rtept> record too l", "Maximum length is 256 characters"};

// The value of a coordinate attribute: from after its opening quote to the next
// quote (or the end of the record).
std::optional<float> attribute(std::string_view record, std::string_view name, bool& present) {
  const std::string marker = std::string(name) + "=\"";
  const std::size_t at = record.find(marker);
  present = at != std::string_view::npos;
  if (!present) return std::nullopt;
  std::string_view value = record.substr(at + marker.size());
  value = value.substr(0, value.find('"'));
  return readFreeReal(value);
}

// Fills what pushpins and route points share: position, name, description, time
// and elevation; the rest gets the defaults of a pushpin.  A fault comes back
// with its texts; nothing is stored then.
std::optional<Fault> readCommonFields(std::string_view record, bool utf8, POINT_RECORD& point) {
  point = POINT_RECORD{};
  point.DATE = FILE_DATE;
  point.TIME = FILE_TIME;
  point.ALTITUDE = kNoValue;
  point.SYMBOL = kNoSymbol;
  point.SYMBOL_NAME = "Waypoint";
  point.PROXIMITY = 0.0f;
  point.ROUTE_NAME = "Point data";

  bool present = false;
  const std::optional<float> latitude = attribute(record, "lat", present);
  if (!present) return kLatitudeMissing;
  if (!latitude || !isRealLatitude(*latitude)) return kLatitudeUnreadable;
  const std::optional<float> longitude = attribute(record, "lon", present);
  if (!present) return kLongitudeMissing;
  if (!longitude || !isRealLongitude(*longitude)) return kLongitudeUnreadable;
  point.LATITUDE = *latitude;
  point.LONGITUDE = *longitude;

  if (const auto name = elementOf(record, "name", utf8)) point.DESCRIPTION = *name;
  if (const auto description = elementOf(record, "desc", utf8)) point.COMMENT = *description;

  if (const std::size_t at = record.find("<time>"); at != std::string_view::npos) {
    // yyyy-mm-ddThh:mm:ss; a zone or fraction after it does not matter.
    const FixedText<19> t(record.substr(at + 6));
    const std::string_view v = t.view();
    point.TIME = v.substr(11, 8);
    point.DATE = std::string(v.substr(8, 2)) + "/" + std::string(v.substr(5, 2)) + "/" + std::string(v.substr(0, 4));
  }
  // An elevation that is not a finite number leaves the point without one.
  if (const auto elevation = between(record, "<ele>", "</ele>")) {
    const std::optional<float> metres = readFreeReal(*elevation);
    if (metres && isRealMeasure(*metres)) point.ALTITUDE = *metres;
  }
  return std::nullopt;
}

// Shows the fault of a record: the program ends once the box is closed.
void reportFault(const Fault& fault, std::string_view record) {
  ERROR(2, fault.message, fault.hint, record, kQuit);
}

// Stores one pushpin; false when reading must stop.
bool storePushpin(std::string_view record, bool utf8) {
  return STORE_FILLED_POINT([&](POINT_RECORD& pushpin) {
    if (const std::optional<Fault> fault = readCommonFields(record, utf8, pushpin)) {
      reportFault(*fault, record);
      DEBUG_WRITE({fault->message});
      DEBUG_WRITE({fault->hint});
      DEBUG_WRITE({text::trimmed(record)});
      DEBUG_MARK(DebugMark::kErrorExitSubroutine, "read_axe");
      return false;
    }
    // A pushpin symbol number becomes the Garmin symbol in the same place; a
    // symbol that is not a number leaves the point without one.
    if (const auto symbol = elementOf(record, "sym", utf8)) {
      if (const std::optional<std::int32_t> number = readFreeInteger(*symbol)) {
        pushpin.SYMBOL = LOOKUP_II(*number, 16, PUSHPIN_SYMBOL_CODES, GARMIN_SYMBOLS.codes);
        LOOKUP_IC(pushpin.SYMBOL, 16, GARMIN_SYMBOLS.codes, GARMIN_SYMBOLS.names, pushpin.SYMBOL_NAME);
      }
    }
    return true;
  });
}

// Stores one route point of the current route; false when reading must stop.
bool storeRoutePoint(std::string_view record, bool utf8) {
  return STORE_FILLED_POINT([&](POINT_RECORD& routePoint) {
    if (const std::optional<Fault> fault = readCommonFields(record, utf8, routePoint)) {
      reportFault(*fault, record);
      return false;
    }
    // Route symbols travel by name: the Maptech code of that name, "Dot" when
    // the name is not one of Maptech's.
    if (const auto symbol = elementOf(record, "sym", utf8)) routePoint.SYMBOL_NAME = *symbol;
    routePoint.SYMBOL = LOOKUP_CI(routePoint.SYMBOL_NAME, 16, MAPTECH_SYMBOLS.names, MAPTECH_SYMBOLS.codes);
    routePoint.ROUTE_NAME = POINT_LIST.CURRENT_ROUTE;
    return true;
  });
}

// The route's name: in CDATA up to the first "]", else the plain element.
std::string routeName(std::string_view record, bool utf8) {
  constexpr std::string_view kCdataName = "<name><![CDATA[";
  if (const std::size_t at = record.find(kCdataName); at != std::string_view::npos) {
    const std::string_view rest = record.substr(at + kCdataName.size());
    return elementText(rest.substr(0, rest.find(']')), utf8, true);
  }
  if (const auto plain = between(record, "<name>", "</name>")) return elementText(*plain, utf8, false);
  return {};
}

void noteDeclaration(std::string_view line, bool& utf8) {
  if (contains(line, "<?xml")) utf8 = declaresUtf8(line);
}

}  // namespace

void READ_AXE() {
  DEBUG_MARK(DebugMark::kSubroutine, "read_axe");
  // Made before the file, so that the file is closed before the output goes.
  const TemporaryOutput output;
  TextInputFile file;
  if (!runSt2gpx(file)) return;

  TextField record = XML_RECORD_BUFFER;
  record.blank();
  bool utf8 = true;
  int used = 0;
  while (record.view().substr(0, 6) != "</gpx>") {
    if (!file.readLine(record, used)) break;
    noteDeclaration(record.view(), utf8);
    if (!contains(record.view(), "<wpt")) continue;
    const Joined joined = joinUntil(file, record, used, "</wpt>", kPushpinLimit);
    if (joined == Joined::kEndOfFile) break;
    if (joined == Joined::kTooLong) {
      reportFault(kPushpinTooLong, record.view());
      DEBUG_WRITE({kPushpinTooLong.message});
      DEBUG_WRITE({kPushpinTooLong.hint});
      DEBUG_WRITE({record.trimmed()});
      DEBUG_MARK(DebugMark::kErrorExitSubroutine, "read_axe");
      return;
    }
    if (!storePushpin(record.view(), utf8)) return;
  }
  file.close();
  SCROLL_COUNT(formatI(POINT_LIST.NREAD, 5) + " points read");
  DEBUG_MARK(DebugMark::kExitFromSubroutine, "read_axe");
}

void READ_AXE_ROUTE() {
  DEBUG_MARK(DebugMark::kSubroutine, "read_axe");
  const TemporaryOutput output;
  TextInputFile file;
  if (!runSt2gpx(file)) return;

  TextField record = RECORD_BUFFER;
  record.blank();
  POINT_LIST.NROUTES = 0;
  bool utf8 = true;
  int used = 0;
  // Each line starts a fresh record: nothing of the record before it remains.
  while (file.readLine(record, used)) {
    noteDeclaration(record.view(), utf8);
    if (contains(record.view(), "<rte>")) {
      POINT_LIST.NROUTES += 1;
      const Joined joined = joinUntil(file, record, used, "</name>", kRouteLimit);
      if (joined == Joined::kTooLong) {
        reportFault(kRouteTooLong, record.view());
        return;
      }
      if (joined == Joined::kEndOfFile) break;
      POINT_LIST.CURRENT_ROUTE = routeName(record.view(), utf8);
    } else if (contains(record.view(), "<rtept")) {
      const Joined joined = joinUntil(file, record, used, "</rtept>", kRouteLimit);
      if (joined == Joined::kTooLong) {
        reportFault(kRoutePointTooLong, record.view());
        return;
      }
      if (joined == Joined::kEndOfFile) break;
      if (!storeRoutePoint(record.view(), utf8)) return;
    }
    if (record.view().substr(0, 6) == "</gpx>") break;
  }
  file.close();
  SCROLL_COUNT(formatI(POINT_LIST.NREAD, 5) + " points read from" + formatI(POINT_LIST.NROUTES, 3) + " routes");
  DEBUG_MARK(DebugMark::kExitFromSubroutine, "read_gpx_route");
}
