#pragma once
// Short unique names for formats that limit waypoint names, and the plane
// distance of the route and track summaries.

#include <cstdint>
#include <span>
#include <string_view>

#include "converter/text_list.h"
#include "toolkit/core/fixed_text.h"

// An upper-case identifier of letters only: the letters run together when the
// text holds one word ("London" gives LONDON), else the first three letters of
// each word ("Tower Bridge" gives TOWBRI); "W" when the text holds no letter.
void UCIDNT(std::string_view text, TextField result);

// The first maxlen characters of the name, numbered when they equal those of an
// earlier candidate of the same output run: PARIS, PARIS, PARIS give PARIS,
// PARIS1, PARIS2 (maxlen 6).  names and counts belong to the caller for the whole
// run and are indexed by the running index 1, 2, 3 ... of the point written; n is
// their length.  An index outside 1 to n stores nothing and numbers nothing.
void UNIQUENAME(std::string_view name, int maxlen, int index, TextList names, std::span<std::int32_t> counts,
                int n, TextField result);

// Distance in metres between two points by a plane approximation around the
// first one; longitudes are not wrapped.
void FLAT_EARTH(float lat1, float lon1, float lat2, float lon2, float& distance);
