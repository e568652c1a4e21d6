#include "converter/converter_data.h"

#include <cmath>
#include <memory>
#include <string>

#include "toolkit/core/number_format.h"
#include "toolkit/dialogs/message_box.h"

PointList POINT_LIST;
ConverterSettings CONVERTER_SETTINGS;
std::array<std::int32_t, 6> FILTER_INDICES{};
GarminSettings GARMIN_SETTINGS;
MaptechSettings MAPTECH_SETTINGS;
OziExplorerSettings OZIEXPLORER_SETTINGS;
TomTomSettings TOMTOM_SETTINGS;
GpxSettings GPX_SETTINGS;
FileNames FILE_NAMES;
FixedText<10> FILE_DATE;
FixedText<8> FILE_TIME;
FixedText<10> DEFAULT_DATE;
FixedText<8> DEFAULT_TIME;
FixedText<kRecordLength> RECORD_BUFFER;
FixedText<kRecordLength> XML_RECORD_BUFFER;
CompanionFiles COMPANION_FILES;
Logical DEBUG_FLAG = kLogicalFalse;
Logical STOP_FLAG = kLogicalFalse;

namespace {
constexpr int kOkOnly = 0;
constexpr int kInformationIcon = 4;
}  // namespace

void STORAGE_LIMIT_BOX() {
  const std::string text = "Too many POI entries in file.\rMaximum is" + formatI(MAX_POINTS, 6);
  WMessageBox(kOkOnly, kInformationIcon, 1, text, "Storage limit");
}

POINT_RECORD* STORE_POINT() {
  if (POINT_LIST.NPOINTS < 0) POINT_LIST.NPOINTS = 0;
  if (POINT_LIST.NPOINTS >= MAX_POINTS) {
    // The count stays at the limit: a list that claimed one point more than it
    // holds would send every later loop over it past its end.
    STORAGE_LIMIT_BOX();
    STOP_FLAG = kLogicalTrue;
    return nullptr;
  }
  POINT_LIST.NPOINTS += 1;
  POINT_LIST.NREAD += 1;
  POINT_RECORD& point = POINT_LIST.POINT(POINT_LIST.NPOINTS);
  // A slot may hold a point of an earlier file: start from no values, made in
  // place rather than copied from a new record.
  std::destroy_at(&point);
  std::construct_at(&point);
  return &point;
}

void WITHDRAW_POINT() {
  if (POINT_LIST.NPOINTS > 0) POINT_LIST.NPOINTS -= 1;
  if (POINT_LIST.NREAD > 0) POINT_LIST.NREAD -= 1;
}

bool isRealLatitude(double latitude) { return std::isfinite(latitude) && std::fabs(latitude) <= 90.0; }

bool isRealLongitude(double longitude) { return std::isfinite(longitude) && std::fabs(longitude) <= 180.0; }

bool isRealMeasure(double value) { return std::isfinite(value); }

bool isRealPoint(const POINT_RECORD& point) {
  return isRealLatitude(point.LATITUDE) && isRealLongitude(point.LONGITUDE) && isRealMeasure(point.ALTITUDE) &&
         isRealMeasure(point.PROXIMITY);
}
