#include "formats/xml/google.h"

#include <array>
#include <string>

#include "converter/converter_data.h"
#include "converter/debug_log.h"
#include "converter/log_display.h"
#include "converter/text_helpers.h"
#include "formats/xml/route_summary.h"
#include "formats/xml/xml_gathering.h"
#include "formats/xml/xml_output.h"
#include "formats/xml/xml_text.h"
#include "toolkit/core/number_format.h"

namespace {

// ---------------------------------------------------------------- reading

constexpr std::array<FixedText<16>, 10> KML_TAG_TABLE{
    "<Placemark>",  "<name>",  "<timePosition>",  "<Point>",  "<coordinates>",
    "</Placemark>", "</name>", "</timePosition>", "</Point>", "</coordinates>"};

constexpr std::array<std::string_view, 3> kTextElements{"name", "coordinates", "timePosition"};
constexpr std::array<std::string_view, 1> kPlacemarkEnd{"</Placemark>"};
const GatherRules kPlacemarkRules{kPlacemarkEnd, {}, KML_REQUIRED, true, kTextElements};

constexpr int kMessageWidth = 60;

void reportFault(std::string_view message, std::string_view hint) {
  ERROR(2, message.substr(0, kMessageWidth), hint, ELEMENT_FOR_REPORT(), "quit");
}

// Longitude, latitude and, when given, altitude of a coordinates text; false when
// it does not begin with at least two numbers.
bool readCoordinates(std::string_view text, POINT_RECORD& point) {
  std::array<float, 3> values{};
  int count = 0;
  while (count < 3) {
    if (count > 0) {
      // Numbers are separated by a comma or by blanks.
      const std::size_t next = text.find_first_not_of(" \t");
      text.remove_prefix(next == std::string_view::npos ? text.size() : next);
      if (text.starts_with(",")) text.remove_prefix(1);
    }
    std::size_t used = 0;
    const std::optional<float> value = XML_NUMBER(text, used);
    if (!value) break;
    values[static_cast<std::size_t>(count++)] = *value;
    text.remove_prefix(used);
  }
  if (count < 2) return false;
  point.LONGITUDE = values[0];
  point.LATITUDE = values[1];
  if (count == 3) point.ALTITUDE = values[2];
  return true;
}

// Stores the gathered placemark; false when the reader must stop.
bool storePlacemark() {
  POINT_RECORD* point = STORE_POINT();
  if (point == nullptr) return false;
  const std::string_view element = GATHERED_ELEMENT();
  point->DATE = FILE_DATE.view();
  point->TIME = FILE_TIME.view();
  point->SYMBOL_NAME = "Waypoint";
  point->PROXIMITY = 0.0f;
  point->ROUTE_NAME = "Point data";
  const auto fault = [](std::string_view message, std::string_view hint) {
    // A placemark without its position is no point: it leaves the list again.
    WITHDRAW_POINT();
    reportFault(message, hint);
    return false;
  };
  if (element.find("<coordinates>") == std::string_view::npos) {
    return fault("coordinates keyword missing", R"(<coordinates>"decimal value","decimal value"</coordinates>)");
  }
  const std::optional<std::string> coordinates = XML_TEXT(element, "coordinates");
  if (!coordinates || !readCoordinates(*coordinates, *point)) {
    return fault("Error reading longitude, latitude, altitude values", "Any valid number");
  }
  if (!isRealPoint(*point)) {
    return fault("Error reading longitude, latitude, altitude values",
                 "Longitude -180 to 180, latitude -90 to 90, a finite altitude");
  }
  if (const std::optional<std::string> name = XML_TEXT(element, "name")) point->DESCRIPTION = *name;
  XML_TIME_STAMP(element, "<timePosition>", point->DATE, point->TIME);
  return true;
}

// ---------------------------------------------------------------- writing

constexpr std::string_view kDeclaration = R"(<?xml version="1.0" encoding="UTF-8"?>)";
constexpr std::string_view kKml20 = "http://earth.google.com/kml/2.0";
constexpr std::string_view kKml21 = "http://earth.google.com/kml/2.1";

std::string rootTag(std::string_view space) { return "<kml xmlns=\"" + std::string(space) + "\">"; }

// The output file's name without folder and extension, wrapped like any text:
// a file name may hold an ampersand.
std::string documentName() {
  FixedText<128> name;
  carrowmapper::FILE(FILE_NAMES.OUTPUT_FILE, name);
  return XML_WRAPPED(name);
}

// A text inside the summary's character-data section: it cannot end the section.
std::string sectionText(std::string_view text) {
  std::string clean = xmltext::withoutControlCharacters(text::trimmed(text));
  std::string out;
  std::size_t from = 0;
  for (;;) {
    const std::size_t at = clean.find("]]>", from);
    if (at == std::string::npos) break;
    out.append(clean, from, at - from).append("]]]]><![CDATA[>");
    from = at + 3;
  }
  return out.append(clean, from, std::string::npos);
}

// Closes the file and logs the line; a failed write gets the box instead.
void finish(XmlOutputFile& out, std::string_view routine, const std::string& logLine) {
  if (!out.close()) {
    OUTPUT_FAILURE_BOX(FILE_NAMES.OUTPUT_FILE);
    DEBUG_MARK(DebugMark::kErrorExitSubroutine, routine);
    return;
  }
  RECORD_BUFFER = logLine;
  SCROLL(text::withoutLeadingBlanks(RECORD_BUFFER.str()));
  DEBUG_MARK(DebugMark::kExitFromSubroutine, routine);
}

bool create(XmlOutputFile& out, std::string_view routine) {
  if (out.create(FILE_NAMES.OUTPUT_FILE)) return true;
  OUTPUT_FAILURE_BOX(FILE_NAMES.OUTPUT_FILE);
  DEBUG_MARK(DebugMark::kErrorExitSubroutine, routine);
  return false;
}

// The coordinates line of a point: `before`, longitude,latitude[,altitude], `after`.
void coordinatesLine(XmlOutputFile& out, std::string_view before, const POINT_RECORD& point, bool withAltitude,
                     std::string_view after) {
  XmlNumberRoom longitude, latitude;
  if (withAltitude) {
    XmlNumberRoom altitude;
    out.line({before, XML_FIXED(point.LONGITUDE, longitude), ",", XML_FIXED(point.LATITUDE, latitude), ",",
              XML_FIXED(point.ALTITUDE, altitude), after});
  } else {
    out.line({before, XML_FIXED(point.LONGITUDE, longitude), ",", XML_FIXED(point.LATITUDE, latitude), after});
  }
}

// What differs between the route and the track writer.
struct RunLayout {
  std::string_view routine;
  std::string_view style;       // "lineRoute" or "lineTrack"
  std::string_view geomColour;
  std::string_view folder;      // "Routes" or "Tracks"
  std::string_view markerName;  // before the run's name in its marker
  bool trackRows;               // the track's rows of times, altitudes and speeds
  std::string_view runs;        // " routes" or " tracks"
};

void row(XmlOutputFile& out, std::string_view label, std::string_view value) {
  out.line("        <tr><td><b>" + std::string(label) + " </b>" + std::string(value) + "</td></tr>");
}

void writeRuns(const RunLayout& layout) {
  DEBUG_MARK(DebugMark::kSubroutine, layout.routine);
  GET_RTDETAILS();
  XmlOutputFile out(true);
  if (!create(out, layout.routine)) return;
  const std::string style(layout.style);
  out.line(kDeclaration);
  out.line(rootTag(kKml20));
  out.line(" <Document>");
  out.line(" <name>" + documentName() + "</name>");
  out.line("  <open>1</open>");
  out.line(R"(  <Style id="lineStyle">)");
  out.line("   <LineStyle>");
  out.line("    <color>64eeee17</color>");
  out.line("    <width>6</width>");
  out.line("   </LineStyle>");
  out.line("  </Style>");
  out.line("  <Style id=\"" + style + "\">");
  out.line("   <geomColor>" + std::string(layout.geomColour) + "</geomColor>");
  out.line("   <geomScale>2</geomScale>");
  out.line("  </Style>");
  out.line("  <Folder>");
  out.line("   <name>" + std::string(layout.folder) + "</name>");
  POINT_LIST.CURRENT_ROUTE.blank();
  POINT_LIST.NROUTES = 0;
  for (int i = 1; i <= POINT_LIST.NPOINTS; ++i) {
    const POINT_RECORD& point = POINT_LIST.POINT(i);
    if (i == 1 || !(point.ROUTE_NAME == POINT_LIST.CURRENT_ROUTE)) {
      if (POINT_LIST.NROUTES > 0) {
        out.line("       </coordinates>");
        out.line("      </LineString>");
        out.line("     </Placemark>");
        out.line("    </Folder>");
      }
      const std::string name = XML_WRAPPED(point.ROUTE_NAME);
      const RunSummaryEntry& summary = RUN_SUMMARY_ENTRY(POINT_LIST.NROUTES + 1);
      out.line("    <Folder>");
      out.line("     <name>" + name + "</name>");
      out.line("     <Placemark>");
      out.line("      <name>" + std::string(layout.markerName) + name + "</name>");
      out.line("      <Point>");
      coordinatesLine(out, "      <coordinates>", point, false, "</coordinates>");
      out.line("      </Point>");
      out.line("\t<Snippet maxLines=\"2\"></Snippet>");
      out.line("\t<description><![CDATA[<table>");
      row(out, "Name", sectionText(point.ROUTE_NAME));
      row(out, "Length", summary.LENGTH_TEXT.trimmed());
      if (layout.trackRows) {
        row(out, "Started", summary.STARTED_TEXT.trimmed());
        row(out, "Finished", summary.FINISHED_TEXT.trimmed());
        row(out, "Maximum altitude", summary.MAX_ALTITUDE_TEXT.trimmed());
        row(out, "Minimum altitude", summary.MIN_ALTITUDE_TEXT.trimmed());
        row(out, "Average speed", summary.AVERAGE_SPEED_TEXT.trimmed());
        row(out, "Maximum speed", summary.MAX_SPEED_TEXT.trimmed());
      } else {
        row(out, "Comment", sectionText(point.COMMENT.view().substr(0, 128)));
      }
      out.line("        </table>]]></description>");
      out.line("     </Placemark>");
      out.line("     <Placemark>");
      out.line("      <visibility>1</visibility>");
      out.line("      <styleUrl>#" + style + "</styleUrl>");
      out.line("      <LineString>");
      out.line("       <altitudeMode>clampedToGround</altitudeMode>");
      out.line("       <tessellate>1</tessellate>");
      out.line("       <coordinates>");
      POINT_LIST.CURRENT_ROUTE = point.ROUTE_NAME.view();
      POINT_LIST.NROUTES += 1;
    }
    coordinatesLine(out, "       ", point, point.ALTITUDE != kNoValue, "");
  }
  if (POINT_LIST.NPOINTS > 0) {
    out.line("        </coordinates>");
    out.line("       </LineString>");
    out.line("      </Placemark>");
    out.line("    </Folder>");
  }
  out.line("  </Folder>");
  out.line(" </Document>");
  out.line("</kml>");
  finish(out, layout.routine,
         formatI(POINT_LIST.NPOINTS, 5) + " points written to" + formatI(POINT_LIST.NROUTES, 3) +
             std::string(layout.runs));
}

}  // namespace

bool KML_REQUIRED(int count, std::string_view line) {
  if (count <= 0) return false;
  const std::string_view examined = line.substr(0, std::min(static_cast<std::size_t>(count), line.size()));
  const std::size_t open = xmltext::findChar(examined, '<');
  if (open == std::string_view::npos) return false;
  const std::size_t close = xmltext::findChar(examined, '>', open + 1);
  if (close == std::string_view::npos) return false;
  std::string tag(examined.substr(open, close - open + 1));
  // A tag with attributes counts by its name.
  const std::size_t blank = tag.find_first_of(" \t");
  if (blank != std::string::npos) tag = tag.substr(0, blank) + ">";
  const FixedText<16> padded(tag);
  for (const FixedText<16>& wanted : KML_TAG_TABLE) {
    if (padded.view() == wanted.view()) return true;
  }
  return false;
}

void READ_KML_POINTS() {
  DEBUG_MARK(DebugMark::kSubroutine, "read_kml_points");
  XmlLineSource source;
  if (!OPEN_XML_INPUT(source)) return;
  XML_RECORD_BUFFER.blank();
  std::string_view line;
  while (source.next(line)) {
    if (line.starts_with("</kml>")) break;
    const std::size_t start = FIND_START_TAG(line, "<Placemark");
    if (start == std::string::npos) continue;
    const Gathered gathered = GATHER_ELEMENT(source, line.substr(start), kPlacemarkRules);
    if (gathered == Gathered::kEndOfFile) break;
    if (gathered == Gathered::kTooLong) {
      reportFault("<Placemark>...</Placemark> record too long", "Maximum length is 1024 characters");
      return;
    }
    // Placemarks of lines, polygons and folders are passed over.
    if (FIND_START_TAG(GATHERED_ELEMENT(), "<Point") == std::string::npos) continue;
    if (!storePlacemark()) return;
  }
  RECORD_BUFFER = formatI(POINT_LIST.NREAD, 5) + " points read";
  SCROLL(text::withoutLeadingBlanks(RECORD_BUFFER.str()));
  DEBUG_MARK(DebugMark::kExitFromSubroutine, "read_kml_points");
}

void WRITE_KML_POINTS() {
  constexpr std::string_view kRoutine = "write_kml_points";
  DEBUG_MARK(DebugMark::kSubroutine, kRoutine);
  XmlOutputFile out(true);
  if (!create(out, kRoutine)) return;
  out.line(kDeclaration);
  out.line(rootTag(kKml21));
  out.line("<Document>");
  out.line(" <name>" + documentName() + "</name>");
  for (int i = 1; i <= POINT_LIST.NPOINTS; ++i) {
    const POINT_RECORD& point = POINT_LIST.POINT(i);
    FixedText<128> wrapped;
    out.line(" <Placemark>");
    out.line({"  <name>", XML_WRAPPED(point.DESCRIPTION, wrapped), "</name>"});
    if (!point.COMMENT.isBlank()) out.line({"  <description>", XML_WRAPPED(point.COMMENT, wrapped), "</description>"});
    out.line("  <Point>");
    coordinatesLine(out, "   <coordinates>", point, false, "</coordinates>");
    out.line("  </Point>");
    out.line(" </Placemark>");
  }
  out.line("</Document>");
  out.line("</kml>");
  finish(out, kRoutine, formatI(POINT_LIST.NPOINTS, 5) + " points written");
}

void WRITE_KML_ROUTE() {
  writeRuns({"write_kml_route", "lineRoute", "ffeeee17", "Routes", "", false, " routes"});
}

void WRITE_KML_TRACK() {
  writeRuns({"write_kml_track", "lineTrack", "ff0000ff", "Tracks", "Track: ", true, " tracks"});
}
