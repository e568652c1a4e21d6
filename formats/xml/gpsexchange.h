#pragma once
// GPX 1.1 files: waypoints, routes and tracks read into POINT_LIST and written
// from it.  Readers read INPUT_FILE and append; writers write OUTPUT_FILE.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "converter/converter_data.h"
#include "converter/identifiers.h"
#include "formats/xml/xml_output.h"

void READ_GPX();        // waypoints (wpt)
void READ_GPX_ROUTE();  // routes (rte with their rtept)
void READ_GPX_TRACK();  // tracks (trk with their trkpt), thinned by the track filter

// True when the first tag among the first `count` characters of the line is one
// of the tags the GPX readers use, opening or closing.
bool GPX_REQUIRED(int count, std::string_view line);

void WRITE_GPX();        // every point as a waypoint
void WRITE_GPX_ROUTE();  // each run of one route name as a route
void WRITE_GPX_TRACK();  // each run of one track name as a track of one segment

// What the GPX writers and the Mapopolis writer share.
namespace gpxout {

// The declaration and the gpx start tag.
void writeHeader(XmlOutputFile& out);

// The work lists that make names unique over one file, one entry per point of
// the list.  They are views of one global record of MAX_POINTS entries, kept
// for the life of the program as the point list is, so that no save first waits
// for several megabytes of fresh memory; one writer uses them at a time.
struct NameLists {
  std::span<FixedText<128>> names;
  std::span<std::int32_t> counts;
  UniqueNameIndex firsts;
  // False, after the "Could not allocate arrays" box, when they cannot hold the
  // entries.
  bool create(int entries);
};

// The wrapped name of point `index` (1-based) under the GPX options, made in
// `room`; nothing when the point has neither a name nor a description.
std::optional<std::string_view> pointName(const POINT_RECORD& point, int index, NameLists& lists,
                                         FixedText<128>& room);

// The children of a point, as far as it has them: elevation, time, name, comment
// and description (the other way round when descriptionFirst), and the symbol,
// `defaultSymbol` for a point without one.  Each line begins with `indent`.
void writePointChildren(XmlOutputFile& out, const POINT_RECORD& point, int index, NameLists& lists,
                        std::string_view indent, std::string_view defaultSymbol, bool descriptionFirst = false);

// The line of the start tag of a point element ("wpt", "rtept", "trkpt") with its
// position, after `indent`.
void writePointStart(XmlOutputFile& out, std::string_view indent, std::string_view tag, const POINT_RECORD& point);

}  // namespace gpxout
