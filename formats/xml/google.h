#pragma once
// KML files for globe viewers: point placemarks read into POINT_LIST, and points,
// routes and tracks written from it (routes and tracks as folders of a marker
// with a summary table and a line).

#include <string_view>

// The placemarks that hold a Point, appended to POINT_LIST; a placemark's name
// becomes the point's DESCRIPTION.
void READ_KML_POINTS();

// True when the first tag among the first `count` characters of the line is one
// of the tags the KML reader uses, opening or closing.
bool KML_REQUIRED(int count, std::string_view line);

void WRITE_KML_POINTS();
void WRITE_KML_ROUTE();
void WRITE_KML_TRACK();
