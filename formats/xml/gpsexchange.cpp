#include "formats/xml/gpsexchange.h"

#include <array>
#include <cmath>

#include "converter/debug_log.h"
#include "converter/identifiers.h"
#include "converter/log_display.h"
#include "converter/lookups.h"
#include "converter/symbol_tables.h"
#include "converter/text_helpers.h"
#include "formats/xml/xml_gathering.h"
#include "toolkit/core/number_format.h"
#include "toolkit/dialogs/message_box.h"

namespace {

// ---------------------------------------------------------------- reading

// The tags whose lines filtered gathering keeps: those of the elements the
// readers use, opening or closing.
constexpr std::array<FixedText<8>, 22> GPX_TAG_TABLE{"<wpt",    "<name>",   "<desc>", "<cmt>",   "<sym>",   "<time>",
                                                     "<ele>",   "<rte>",    "<rtept", "<trk>",   "<trkpt",  "</wpt>",
                                                     "</name>", "</desc>",  "</cmt>", "</sym>",  "</time>", "</ele>",
                                                     "</rte>",  "</rtept>", "</trk>", "</trkpt>"};

// Point tags whose attributes follow their name.
constexpr std::array<std::string_view, 3> kPointTagStarts{"<wpt", "<rtept", "<trkpt"};

// The elements whose text the readers take; a line break inside one is kept.
constexpr std::array<std::string_view, 6> kTextElements{"name", "desc", "cmt", "sym", "time", "ele"};

constexpr std::array<std::string_view, 1> kWaypointEnd{"</wpt>"};
constexpr std::array<std::string_view, 1> kRoutePointEnd{"</rtept>"};
constexpr std::array<std::string_view, 1> kTrackPointEnd{"</trkpt>"};
// A route or track header ends with its name, or, nameless, where its points or
// its end begin.
constexpr std::array<std::string_view, 2> kRouteHeaderEnd{"</name>", "</rte>"};
constexpr std::array<std::string_view, 1> kRouteHeaderNext{"<rtept"};
constexpr std::array<std::string_view, 2> kTrackHeaderEnd{"</name>", "</trk>"};
constexpr std::array<std::string_view, 2> kTrackHeaderNext{"<trkseg", "<trkpt"};

const GatherRules kWaypointRules{kWaypointEnd, {}, GPX_REQUIRED, false, kTextElements};
const GatherRules kRouteHeaderRules{kRouteHeaderEnd, kRouteHeaderNext, nullptr, false, kTextElements};
const GatherRules kRoutePointRules{kRoutePointEnd, {}, GPX_REQUIRED, false, kTextElements};
const GatherRules kTrackHeaderRules{kTrackHeaderEnd, kTrackHeaderNext, GPX_REQUIRED, false, kTextElements};
const GatherRules kTrackPointRules{kTrackPointEnd, {}, nullptr, false, kTextElements};

constexpr std::string_view kEndOfGpx = "</gpx>";
constexpr std::string_view kTooLongHint = "Maximum length is 1024 characters";
constexpr std::string_view kNumberHint = "Any valid number";
constexpr std::string_view kLatitudeRangeHint = "A number from -90 to 90";
constexpr std::string_view kLongitudeRangeHint = "A number from -180 to 180";

// What differs between the kinds of point.
struct PointKind {
  std::string_view defaultSymbol;
  bool memoryMapNames;  // waypoints may carry Memory-Map symbol names
  int messageWidth;     // the message field of the reader's error box
};
constexpr PointKind kWaypoint{"Waypoint", true, 30};
constexpr PointKind kRoutePoint{"Waypoint", false, 30};
constexpr PointKind kTrackPoint{"Dot", false, 40};

void reportFault(const PointKind& kind, std::string_view message, std::string_view hint) {
  ERROR(2, message.substr(0, static_cast<std::size_t>(kind.messageWidth)), hint, ELEMENT_FOR_REPORT(), "quit");
}

// The code of a name in a symbol table; nothing when the table lacks the name.
template <typename Table>
std::optional<std::int32_t> codeOf(std::string_view name, const Table& table) {
  const std::int32_t code = LOOKUP_CI(name, static_cast<int>(table.codes.size()), table.names, table.codes);
  // The lookup answers the first entry for a name it does not know.
  if (code != table.codes[0] || text::equal(name, table.names[0])) return code;
  return std::nullopt;
}

std::int32_t symbolNumber(std::string_view name, const PointKind& kind) {
  if (auto code = codeOf(name, MAPTECH_SYMBOLS)) return *code;
  if (auto code = codeOf(name, GARMIN_SYMBOLS)) return *code;
  if (kind.memoryMapNames) {
    if (auto code = codeOf(name, MEMORYMAP_SYMBOLS)) return *code;
  }
  return kNoSymbol;
}

// The texts a point takes, looked for all at once.
enum PointText : std::size_t { kName, kDescription, kComment, kElevation, kSymbol, kTime };
constexpr std::array<std::string_view, 6> kPointTexts{"name", "desc", "cmt", "ele", "sym", "time"};

// One buffer for every value of the file.
std::string& valueBuffer() {
  static std::string value;
  return value;
}

// A text value into its field; the default when the element lacks it or it is empty.
void takeText(std::string_view element, std::size_t opening, PointText which, TextField field,
              std::string_view fallback) {
  const std::optional<std::string_view> value = XML_TEXT_AT(element, kPointTexts[which], opening, valueBuffer());
  field.assign(value && !value->empty() ? *value : fallback);
}

// One coordinate from its attribute; false after the error box.  A number
// outside the coordinate's range (`isReal`) is as unreadable as no number.
bool takeCoordinate(std::string_view element, std::string_view attribute, float& value, const PointKind& kind,
                    std::string_view missing, std::string_view hint, std::string_view unreadable,
                    bool (*isReal)(double), std::string_view rangeHint) {
  const std::optional<std::string_view> text = XML_ATTRIBUTE(element, attribute);
  if (!text) {
    reportFault(kind, missing, hint);
    return false;
  }
  const std::optional<float> number = XML_NUMBER(*text);
  if (!number) {
    reportFault(kind, unreadable, kNumberHint);
    return false;
  }
  if (!isReal(*number)) {
    reportFault(kind, unreadable, rangeHint);
    return false;
  }
  value = *number;
  return true;
}

// Stores the gathered element as a point; false when the reader must stop.
bool storePoint(const PointKind& kind, const FixedText<64>& routeName) {
  POINT_RECORD* point = STORE_POINT();
  if (point == nullptr) return false;
  const std::string_view element = GATHERED_ELEMENT();
  point->DATE = FILE_DATE.view();
  point->TIME = FILE_TIME.view();
  point->PROXIMITY = 0.0f;
  point->ROUTE_NAME = routeName.view();
  if (!takeCoordinate(element, "lat", point->LATITUDE, kind, "Latitude keyword missing", R"(lat="decimal value")",
                      "Error reading latitude", isRealLatitude, kLatitudeRangeHint) ||
      !takeCoordinate(element, "lon", point->LONGITUDE, kind, "Longitude keyword missing", R"(lon="decimal value")",
                      "Error reading longitude", isRealLongitude, kLongitudeRangeHint)) {
    // A point without its position is no point: it leaves the list again.
    WITHDRAW_POINT();
    return false;
  }
  const auto openings = FIND_OPENING_TAGS(element, kPointTexts);
  takeText(element, openings[kName], kName, point->NAME, "");
  takeText(element, openings[kDescription], kDescription, point->DESCRIPTION, "");
  takeText(element, openings[kComment], kComment, point->COMMENT, "");
  if (openings[kTime] != std::string_view::npos) {
    XML_TIME_STAMP(element.substr(openings[kTime]), "<time>", point->DATE, point->TIME);
  }
  if (const auto ele = XML_TEXT_AT(element, kPointTexts[kElevation], openings[kElevation], valueBuffer())) {
    // An elevation that does not read as a finite number is left out, as one
    // that does not read at all.
    const std::optional<float> altitude = XML_NUMBER(*ele);
    if (altitude && isRealMeasure(*altitude)) point->ALTITUDE = *altitude;
  }
  takeText(element, openings[kSymbol], kSymbol, point->SYMBOL_NAME, kind.defaultSymbol);
  point->SYMBOL = symbolNumber(point->SYMBOL_NAME, kind);
  return true;
}

// Gathers a point element and stores it; false when the reader must stop, and
// `ended` true when the file ended inside the element.
bool readPoint(XmlLineSource& source, std::string_view first, const GatherRules& rules, const PointKind& kind,
               std::string_view tooLong, const FixedText<64>& routeName, bool& ended) {
  switch (GATHER_ELEMENT(source, first, rules)) {
    case Gathered::kEndOfFile:
      ended = true;
      return true;
    case Gathered::kTooLong:
      reportFault(kind, tooLong, kTooLongHint);
      return false;
    case Gathered::kComplete:
      break;
  }
  return storePoint(kind, routeName);
}

// The name of a gathered route or track header, cut to 64 characters.
void takeRunName(TextField name) {
  const std::optional<std::string> value = XML_TEXT(GATHERED_ELEMENT(), "name");
  name.assign(value ? std::string_view(*value) : std::string_view());
}

bool endsTheFile(std::string_view line) { return line.starts_with(kEndOfGpx); }

// What begins a route or track: its header first, then its points.
constexpr std::array<std::string_view, 2> kRouteStarts{"<rte>", "<rtept"};
constexpr std::array<std::string_view, 2> kTrackStarts{"<trk>", "<trkpt"};

// ---------------------------------------------------------------- writing

constexpr std::string_view kCreatorAddress = "http://www.tamsworth.example/carrowmapper";
constexpr std::string_view kSchemaInstance = "http://www.w3.org/2001/XMLSchema-instance";
constexpr std::string_view kGpxNamespace = "http://www.topografix.com/GPX/1/1";
constexpr std::string_view kGpxSchema = "http://www.topografix.com/GPX/1/1/gpx.xsd";
constexpr std::string_view kGarminNamespace = "http://www.garmin.com/xmlschemas/GpxExtensions/v3";
constexpr std::string_view kGarminSchema = "http://www.garmin.com/xmlschemas/GpxExtensionsv3.xsd";

constexpr int kOkOnly = 0;
constexpr int kExclamationIcon = 3;
// The status the allocation failure box reports: the system's "not enough memory".
constexpr int kAllocationStatus = 8;

// The storage behind gpxout::NameLists.
struct NameRecord {
  std::array<FixedText<128>, MAX_POINTS> names;
  std::array<std::int32_t, MAX_POINTS> counts{};
};
NameRecord GPX_NAME_LISTS;

void tagLine(XmlOutputFile& out, std::string_view indent, std::string_view name, std::string_view value) {
  out.line({indent, "<", name, ">", value, "</", name, ">"});
}

// A text element whose value is wrapped as CDATA wraps it.
void wrappedTagLine(XmlOutputFile& out, std::string_view indent, std::string_view name, std::string_view text) {
  FixedText<128> wrapped;
  tagLine(out, indent, name, XML_WRAPPED(text, wrapped));
}

bool hasAltitude(const POINT_RECORD& point) { return point.ALTITUDE != kNoValue && std::isfinite(point.ALTITUDE); }

// Closes the file and logs the line; a failed write gets the box instead.
void finishFile(XmlOutputFile& out, std::string_view routine, const std::string& logLine) {
  DEBUG_WRITE({"  Deallocate arrays"});
  if (!out.close()) {
    OUTPUT_FAILURE_BOX(FILE_NAMES.OUTPUT_FILE);
    DEBUG_MARK(DebugMark::kErrorExitSubroutine, routine);
    return;
  }
  SCROLL(logLine);
  DEBUG_MARK(DebugMark::kExitFromSubroutine, routine);
}

// Opens OUTPUT_FILE, writes the header and makes the work lists; false when the
// writer must stop.
bool startFile(XmlOutputFile& out, gpxout::NameLists& lists, std::string_view routine) {
  if (!out.create(FILE_NAMES.OUTPUT_FILE)) {
    OUTPUT_FAILURE_BOX(FILE_NAMES.OUTPUT_FILE);
    DEBUG_MARK(DebugMark::kErrorExitSubroutine, routine);
    return false;
  }
  gpxout::writeHeader(out);
  DEBUG_WRITE({"  Allocate arrays"});
  return lists.create(POINT_LIST.NPOINTS);
}

// A route or track writer: one group per run of equal ROUTE_NAME.
struct RunLayout {
  std::string_view routine;
  std::array<std::string_view, 2> closeGroup;  // lines that close an open run
  std::string_view group;                      // "rte" or "trk"
  std::string_view segment;                    // "<trkseg>" after a track's number
  std::string_view pointTag;                   // "rtept" or "trkpt"
  std::string_view pointIndent;                // before the point's tags
  std::string_view childIndent;                // before its children
  std::string_view defaultSymbol;
  std::string_view runs;  // " routes" or " tracks"
};

void writeRuns(const RunLayout& layout) {
  DEBUG_MARK(DebugMark::kSubroutine, layout.routine);
  XmlOutputFile out;
  gpxout::NameLists lists;
  if (!startFile(out, lists, layout.routine)) return;
  POINT_LIST.CURRENT_ROUTE.blank();
  POINT_LIST.NROUTES = 0;
  const auto closeRun = [&] {
    for (std::string_view line : layout.closeGroup) {
      if (!line.empty()) out.line(line);
    }
  };
  for (int i = 1; i <= POINT_LIST.NPOINTS; ++i) {
    const POINT_RECORD& point = POINT_LIST.POINT(i);
    if (i == 1 || !(point.ROUTE_NAME == POINT_LIST.CURRENT_ROUTE)) {
      if (POINT_LIST.NROUTES > 0) closeRun();
      out.line({"<", layout.group, ">"});
      wrappedTagLine(out, " ", "name", point.ROUTE_NAME);
      tagLine(out, " ", "number", WHOLE_NUMBER(POINT_LIST.NROUTES + 1));
      if (!layout.segment.empty()) out.line(layout.segment);
      POINT_LIST.CURRENT_ROUTE = point.ROUTE_NAME.view();
      POINT_LIST.NROUTES += 1;
    }
    gpxout::writePointStart(out, layout.pointIndent, layout.pointTag, point);
    gpxout::writePointChildren(out, point, i, lists, layout.childIndent, layout.defaultSymbol);
    out.line({layout.pointIndent, "</", layout.pointTag, ">"});
  }
  if (POINT_LIST.NROUTES > 0) closeRun();
  out.line(kEndOfGpx);
  finishFile(out, layout.routine,
             WHOLE_NUMBER(POINT_LIST.NPOINTS) + " points written to" + formatI(POINT_LIST.NROUTES, 3) +
                 std::string(layout.runs));
}

}  // namespace

bool GPX_REQUIRED(int count, std::string_view line) {
  count = std::min({count, kLongestElement, static_cast<int>(line.size())});
  if (count <= 0) return false;
  const std::string_view examined = line.substr(0, static_cast<std::size_t>(count));
  const std::size_t open = xmltext::findChar(examined, '<');
  if (open == std::string_view::npos) return false;
  const std::size_t close = xmltext::findChar(examined, '>', open + 1);
  if (close == std::string_view::npos) return false;
  std::string_view tag = examined.substr(open, close - open + 1);
  // Attributes after these names do not matter.
  for (std::string_view name : kPointTagStarts) {
    if (tag.starts_with(name)) tag = name;
  }
  // Every line of an element passes here: the tag, cut or padded to the eight
  // bytes of the table's entries, is compared as one word with each.
  static const std::array<std::uint64_t, GPX_TAG_TABLE.size()> kTagWords = [] {
    std::array<std::uint64_t, GPX_TAG_TABLE.size()> words{};
    for (std::size_t k = 0; k < words.size(); ++k) words[k] = xmltext::scan::eightBytes(GPX_TAG_TABLE[k].data());
    return words;
  }();
  const std::uint64_t word = xmltext::scan::paddedWord(tag);
  return std::find(kTagWords.begin(), kTagWords.end(), word) != kTagWords.end();
}

void READ_GPX() {
  DEBUG_MARK(DebugMark::kSubroutine, "read_gpx");
  XmlLineSource source;
  if (!OPEN_XML_INPUT(source)) return;
  XML_RECORD_BUFFER.blank();
  const FixedText<64> pointData("Point data");
  std::string_view line;
  bool ended = false;
  while (!ended && source.next(line)) {
    if (endsTheFile(line)) break;
    const std::size_t start = FIND_START_TAG(line, "<wpt");
    if (start == std::string::npos) continue;
    if (!readPoint(source, line.substr(start), kWaypointRules, kWaypoint, "<wpt...</wpt> record too long", pointData,
                   ended)) {
      return;
    }
  }
  SCROLL(WHOLE_NUMBER(POINT_LIST.NREAD) + " points read");
  DEBUG_MARK(DebugMark::kExitFromSubroutine, "read_gpx");
}

void READ_GPX_ROUTE() {
  DEBUG_MARK(DebugMark::kSubroutine, "read_gpx_route");
  XmlLineSource source;
  if (!OPEN_XML_INPUT(source)) return;
  XML_RECORD_BUFFER.blank();
  POINT_LIST.NROUTES = 0;
  std::string_view line;
  bool ended = false;
  while (!ended && source.next(line)) {
    if (endsTheFile(line)) break;
    std::size_t which = 0;
    const std::size_t start = FIND_FIRST_TAG(line, kRouteStarts, which);
    if (start == std::string::npos) continue;
    const std::string_view first = line.substr(start);
    if (which == 0) {
      POINT_LIST.NROUTES += 1;
      const Gathered gathered = GATHER_ELEMENT(source, first, kRouteHeaderRules);
      if (gathered == Gathered::kEndOfFile) break;
      if (gathered == Gathered::kTooLong) {
        reportFault(kRoutePoint, "<rte>...</name> record too long", kTooLongHint);
        return;
      }
      takeRunName(POINT_LIST.CURRENT_ROUTE);
    } else if (!readPoint(source, first, kRoutePointRules, kRoutePoint, "<rtept...</rtept> record too long",
                          POINT_LIST.CURRENT_ROUTE, ended)) {
      return;
    }
  }
  SCROLL(WHOLE_NUMBER(POINT_LIST.NREAD) + " points read from" + formatI(POINT_LIST.NROUTES, 3) + " routes");
  DEBUG_MARK(DebugMark::kExitFromSubroutine, "read_gpx_route");
}

void READ_GPX_TRACK() {
  DEBUG_MARK(DebugMark::kSubroutine, "read_gpx_track");
  // The menu offers 1, 5 and 10; anything else keeps every point.
  const int filter = std::max(1, CONVERTER_SETTINGS.TRACK_FILTER);
  if (filter > 1) SCROLL("Track filter is set to " + WHOLE_NUMBER(filter));
  XmlLineSource source;
  if (!OPEN_XML_INPUT(source)) return;
  XML_RECORD_BUFFER.blank();
  POINT_LIST.NROUTES = 0;
  POINT_LIST.NTRACKPOINTS = 0;
  std::string_view line;
  while (source.next(line)) {
    if (endsTheFile(line)) break;
    std::size_t which = 0;
    const std::size_t start = FIND_FIRST_TAG(line, kTrackStarts, which);
    if (start == std::string::npos) continue;
    const std::string_view first = line.substr(start);
    if (which == 0) {
      POINT_LIST.NROUTES += 1;
      POINT_LIST.TRACK_POSITION = 0;
      const Gathered gathered = GATHER_ELEMENT(source, first, kTrackHeaderRules);
      if (gathered == Gathered::kEndOfFile) break;
      if (gathered == Gathered::kTooLong) {
        reportFault(kTrackPoint, "<trk>...</name> record too long", kTooLongHint);
        STOP_FLAG = kLogicalTrue;
        return;
      }
      takeRunName(POINT_LIST.CURRENT_ROUTE);
      continue;
    }
    const Gathered gathered = GATHER_ELEMENT(source, first, kTrackPointRules);
    if (gathered == Gathered::kEndOfFile) break;
    if (gathered == Gathered::kTooLong) {
      reportFault(kTrackPoint, "<trkpt...</trkpt> record too long", kTooLongHint);
      STOP_FLAG = kLogicalTrue;
      return;
    }
    // The filter passes over a point without looking at it.
    if (POINT_LIST.TRACK_POSITION % filter == 0 && !storePoint(kTrackPoint, POINT_LIST.CURRENT_ROUTE)) {
      STOP_FLAG = kLogicalTrue;
      return;
    }
    XML_RECORD_BUFFER.blank();
    POINT_LIST.TRACK_POSITION += 1;
    POINT_LIST.NTRACKPOINTS += 1;
  }
  std::string read = WHOLE_NUMBER(POINT_LIST.NREAD);
  if (filter > 1) read += " of " + formatI(POINT_LIST.NTRACKPOINTS, 4);
  SCROLL(read + " points read from" + formatI(POINT_LIST.NROUTES, 3) + " tracks");
  DEBUG_MARK(DebugMark::kExitFromSubroutine, "read_gpx_track");
}

namespace gpxout {

void writeHeader(XmlOutputFile& out) {
  out.line(R"(<?xml version="1.0" encoding="ISO-8859-1" standalone="yes"?>)");
  out.line("<gpx");
  out.line(R"( version="1.1")");
  out.line(" creator=\"Carrowmapper " + VERSION.str() + " - " + std::string(kCreatorAddress) + "\"");
  out.line("xmlns:xsi=\"" + std::string(kSchemaInstance) + "\"");
  out.line("xmlns=\"" + std::string(kGpxNamespace) + "\"");
  out.line("xsi:schemaLocation=\"" + std::string(kGpxNamespace) + " " + std::string(kGpxSchema) + "\">");
}

bool NameLists::create(int entries) {
  const auto count = static_cast<std::size_t>(std::max(entries, 0));
  if (count > GPX_NAME_LISTS.names.size()) {
    names = {};
    counts = {};
    const std::string text = "Could not allocate arrays. Runtime error =" + formatI(kAllocationStatus, 6);
    DEBUG_WRITE({text});
    WMessageBox(kOkOnly, kExclamationIcon, 1, text, "Carrowmapper");
    return false;
  }
  names = std::span(GPX_NAME_LISTS.names).first(count);
  counts = std::span(GPX_NAME_LISTS.counts).first(count);
  std::fill(names.begin(), names.end(), FixedText<128>());
  std::fill(counts.begin(), counts.end(), 0);
  firsts = UniqueNameIndex();
  return true;
}

std::optional<std::string_view> pointName(const POINT_RECORD& point, int index, NameLists& lists,
                                          FixedText<128>& room) {
  FixedText<128> name;
  if (!point.NAME.isBlank()) {
    name = point.NAME.view();
  } else if (!point.DESCRIPTION.isBlank()) {
    name = point.DESCRIPTION.view();
  } else {
    return std::nullopt;
  }
  if (GPX_SETTINGS.UPPER_CASE != 0) {
    FixedText<128> identifier;
    UCIDNT(name, identifier);
    name = identifier.view();
  }
  if (GPX_SETTINGS.UNIQUE_NAMES != 0 && index >= 1 && index <= static_cast<int>(lists.names.size())) {
    FixedText<128> unique;
    const int longest = GPX_SETTINGS.NAME_LENGTH == 1 ? 10 : 128;
    UNIQUENAME(name, longest, index, lists.names, lists.counts, static_cast<int>(lists.names.size()), lists.firsts,
               unique);
    name = unique.view();
  }
  // The wrapped name may be a view of `name`, which ends here: it goes to `room`.
  FixedText<128> wrapped;
  room = XML_WRAPPED(name, wrapped);
  return room.trimmed();
}

void writePointChildren(XmlOutputFile& out, const POINT_RECORD& point, int index, NameLists& lists,
                        std::string_view indent, std::string_view defaultSymbol, bool descriptionFirst) {
  if (hasAltitude(point)) {
    XmlNumberRoom altitude;
    tagLine(out, indent, "ele", XML_FIXED(point.ALTITUDE, altitude));
  }
  if (const auto time = GPX_TIME_TEXT(point)) tagLine(out, indent, "time", time->view());
  FixedText<128> name;
  if (const auto wrapped = pointName(point, index, lists, name)) tagLine(out, indent, "name", *wrapped);
  const auto comment = [&] {
    if (!point.COMMENT.isBlank()) wrappedTagLine(out, indent, "cmt", point.COMMENT);
  };
  const auto description = [&] {
    if (!point.DESCRIPTION.isBlank()) wrappedTagLine(out, indent, "desc", point.DESCRIPTION);
  };
  if (descriptionFirst) {
    description();
    comment();
  } else {
    comment();
    description();
  }
  if (point.SYMBOL_NAME.isBlank()) {
    tagLine(out, indent, "sym", defaultSymbol);
  } else {
    wrappedTagLine(out, indent, "sym", point.SYMBOL_NAME);
  }
}

void writePointStart(XmlOutputFile& out, std::string_view indent, std::string_view tag, const POINT_RECORD& point) {
  XmlNumberRoom latitude, longitude;
  out.line({indent, "<", tag, " lat=\"", XML_FIXED(point.LATITUDE, latitude), "\" lon=\"",
            XML_FIXED(point.LONGITUDE, longitude), "\">"});
}

}  // namespace gpxout

void WRITE_GPX() {
  constexpr std::string_view kRoutine = "write_gpx";
  DEBUG_MARK(DebugMark::kSubroutine, kRoutine);
  FixedText<128> base;
  carrowmapper::FILE(FILE_NAMES.OUTPUT_FILE, base);
  const std::string type = XML_WRAPPED("Marks:" + base.str());
  XmlOutputFile out;
  gpxout::NameLists lists;
  if (!startFile(out, lists, kRoutine)) return;
  const bool extension = GPX_SETTINGS.PROXIMITY > 0.0f;
  const std::string proximity = XML_FIXED(GPX_SETTINGS.PROXIMITY, 7, 1);
  for (int i = 1; i <= POINT_LIST.NPOINTS; ++i) {
    const POINT_RECORD& point = POINT_LIST.POINT(i);
    gpxout::writePointStart(out, "", "wpt", point);
    gpxout::writePointChildren(out, point, i, lists, " ", "Waypoint");
    tagLine(out, " ", "type", type);
    // Only a point whose own proximity is zero gets the option's proximity.
    if (extension && point.PROXIMITY == 0.0f) {
      out.line(" <extensions>");
      out.line("  <gpxx:WaypointExtension xmlns:gpxx=\"" + std::string(kGarminNamespace) + "\" xmlns:xsi=\"" +
               std::string(kSchemaInstance) + "\" xsi:schemaLocation=\"" + std::string(kGarminNamespace) + " " +
               std::string(kGarminSchema) + "\">");
      tagLine(out, "   ", "gpxx:Proximity", proximity);
      out.line("   <gpxx:DisplayMode>SymbolAndName</gpxx:DisplayMode>");
      out.line("  </gpxx:WaypointExtension>");
      out.line(" </extensions>");
    }
    out.line("</wpt>");
  }
  out.line(kEndOfGpx);
  finishFile(out, kRoutine, WHOLE_NUMBER(POINT_LIST.NPOINTS) + " points written");
}

void WRITE_GPX_ROUTE() {
  writeRuns({"write_gpx_route", {"</rte>", ""}, "rte", "", "rtept", "", " ", "Waypoint", " routes"});
}

void WRITE_GPX_TRACK() {
  writeRuns({"write_gpx_track", {"</trkseg>", "</trk>"}, "trk", "<trkseg>", "trkpt", " ", "  ", "Dot", " tracks"});
}
