#include "converter/osgbsubs.h"

#include <cmath>
#include <string>
#include <string_view>

#include "converter/converter_data.h"
#include "toolkit/core/number_format.h"
#include "toolkit/core/strings.h"
#include "toolkit/dialogs/message_box.h"

namespace {

constexpr std::string_view kLetters = "ABCDEFGHJKLMNOPQRSTUVWXYZ";
// The same 5 by 5 square read from its bottom row upwards.
constexpr std::string_view kSquareFromBottom = "VWXYZQRSTULMNOPFGHJKABCDE";
constexpr std::string_view kInvalidReference = "Invalid OS reference";

// The origin of the projection: 49N 2W.  Grid northing = projected northing -
// kOriginNorthing; the origin's easting puts the central meridian at grid
// easting 400000.
constexpr double kOriginLatitude = 49.0;
constexpr double kOriginLongitude = -2.0;
constexpr double kOriginEasting = -400000.0;

// Offsets that make every lettered easting and northing non-negative: the first
// letter's 500 km squares start 1000 km west and 500 km south of the false origin.
constexpr double kLetterEastShift = 1000000.0;
constexpr double kLetterNorthShift = 500000.0;
constexpr double kLetteredExtent = 2500000.0;

// The inverse projection converges in a handful of turns anywhere near Britain;
// a position that needs more lies far outside the grid.
constexpr int kMaxTurns = 100;

constexpr int kOkOnly = 0;
constexpr int kExclamationIcon = 3;

OsgbConstants builtInConstants() {
  OsgbConstants c{};
  c.degreesToRadians = std::atan(1.0) / 45.0;
  c.airySemiMajorAxis = 6377563.396;
  c.projectionE2 = 0.0066705428871142326;
  c.projectionSecondE2 = 0.006715337836151743;
  c.arcA0 = 1.0050342138054473;
  c.arcA2 = 0.005044926648548604;
  c.arcA4 = 1.0550523258929638e-05;
  c.datumE2 = 0.006670539761597337;
  c.grsSemiMajorAxis = 6378137.0;
  c.grsE2 = 0.006694380035512838;
  c.scaleToOsgb = 1.0000204894;
  c.scaleToWgs = 0.9999795106;
  c.rotationX = 7.281901490122e-07;
  c.rotationY = 1.197489792317e-06;
  c.rotationZ = 4.0826160085431e-06;
  c.translationX = 446.448;
  c.translationY = 125.157;
  c.translationZ = 542.06;
  for (std::size_t i = 0; i < kLetters.size(); ++i) {
    c.columnOffset[i] = static_cast<std::int32_t>(i % 5) * 100;
    c.rowOffset[i] = static_cast<std::int32_t>(4 - i / 5) * 100;
  }
  return c;
}

void placeOrigin(OsgbSlots& slots) {
  slots.LATITUDE(kOriginSlot) = kOriginLatitude;
  slots.LONGITUDE(kOriginSlot) = kOriginLongitude;
  slots.EASTING(kOriginSlot) = kOriginEasting;
  slots.NORTHING(kOriginSlot) = kOriginNorthing;
}

OsgbSlots slotsWithOrigin() {
  OsgbSlots slots;
  placeOrigin(slots);
  return slots;
}

struct Geocentric {
  double x, y, z;
};

// One Helmert step: X' = s X - rz Y + ry Z + tx and so on, with signed parameters.
Geocentric helmert(const Geocentric& g, double s, double rx, double ry, double rz, double tx, double ty,
                   double tz) {
  return {s * g.x - rz * g.y + ry * g.z + tx, rz * g.x + s * g.y - rx * g.z + ty, -ry * g.x + rx * g.y + s * g.z + tz};
}

// Latitude on an ellipsoid from geocentric coordinates by fixed-point refinement.
// `nuOfLast` receives the radius of curvature of the last refinement's start.
double geodeticLatitude(const Geocentric& g, double a, double e2, int refinements, double& nuOfLast) {
  const double p = std::hypot(g.x, g.y);
  double phi = std::atan2(g.z, p * (1.0 - e2));
  nuOfLast = 0.0;
  for (int k = 0; k < refinements; ++k) {
    const double sine = std::sin(phi);
    nuOfLast = a / std::sqrt(1.0 - e2 * sine * sine);
    phi = std::atan2(g.z + e2 * nuOfLast * sine, p);
  }
  return phi;
}

void showBox(const std::string& text, std::string_view title) {
  WMessageBox(kOkOnly, kExclamationIcon, 1, text, title);
}

void refuseReference(TextField reference, std::string_view reason) {
  showBox(reference.str() + "\rInvalid OS reference -\r" + std::string(reason), "OSGB Format Error");
  STOP_FLAG = kLogicalTrue;
}

// Up to five digits, padded on the right with zeros: "12" is 12000.
double fiveDigitValue(std::string_view digits) {
  int value = 0;
  for (std::size_t i = 0; i < 5; ++i) value = value * 10 + (i < digits.size() ? digits[i] - '0' : 0);
  return value;
}

int letterIndex(char letter) { return static_cast<int>(kLetters.find(letter)); }

}  // namespace

OsgbSlots OSGB_SLOTS = slotsWithOrigin();
OsgbConstants OSGB_CONSTANTS = builtInConstants();

void SETUP() {
  OSGB_CONSTANTS = builtInConstants();
  placeOrigin(OSGB_SLOTS);
}

void HELTRANS(double& latitude, double& longitude, double& height) {
  const OsgbConstants& c = OSGB_CONSTANTS;
  const double phi = latitude * c.degreesToRadians;
  const double lambda = longitude * c.degreesToRadians;
  const double sine = std::sin(phi);
  const double nu = c.grsSemiMajorAxis / std::sqrt(1.0 - c.grsE2 * sine * sine);
  const Geocentric wgs{(nu + height) * std::cos(phi) * std::cos(lambda),
                       (nu + height) * std::cos(phi) * std::sin(lambda),
                       ((1.0 - c.grsE2) * nu + height) * sine};
  const Geocentric osgb = helmert(wgs, c.scaleToOsgb, -c.rotationX, -c.rotationY, -c.rotationZ, -c.translationX,
                                  c.translationY, -c.translationZ);
  double nuOfLast = 0.0;
  const double phi2 = geodeticLatitude(osgb, c.airySemiMajorAxis, c.datumE2, 2, nuOfLast);
  latitude = phi2 / c.degreesToRadians;
  longitude = std::atan2(osgb.y, osgb.x) / c.degreesToRadians;
  height = std::hypot(osgb.x, osgb.y) / std::cos(phi2) - nuOfLast;
}

void REVHELMERT(double& latitude, double& longitude) {
  const OsgbConstants& c = OSGB_CONSTANTS;
  const double phi = latitude * c.degreesToRadians;
  const double lambda = longitude * c.degreesToRadians;
  const double sine = std::sin(phi);
  const double nu = c.airySemiMajorAxis / std::sqrt(1.0 - c.datumE2 * sine * sine);
  const Geocentric osgb{nu * std::cos(phi) * std::cos(lambda), nu * std::cos(phi) * std::sin(lambda),
                        (1.0 - c.datumE2) * nu * sine};
  const Geocentric wgs = helmert(osgb, c.scaleToWgs, c.rotationX, c.rotationY, c.rotationZ, c.translationX,
                                 -c.translationY, c.translationZ);
  double nuOfLast = 0.0;
  latitude = geodeticLatitude(wgs, c.grsSemiMajorAxis, c.grsE2, 3, nuOfLast) / c.degreesToRadians;
  longitude = std::atan2(wgs.y, wgs.x) / c.degreesToRadians;
}

void LLTOCOORDS(std::int32_t slot) {
  if (!OsgbSlots::valid(slot)) return;
  const OsgbConstants& c = OSGB_CONSTANTS;
  const double a = c.airySemiMajorAxis;
  const double e2 = c.projectionE2;
  const double dlambda = (OSGB_SLOTS.LONGITUDE(slot) - OSGB_SLOTS.LONGITUDE(kOriginSlot)) * c.degreesToRadians;
  const double phi = OSGB_SLOTS.LATITUDE(slot) * c.degreesToRadians;
  const double t = std::tan(phi);
  const double t2 = t * t;
  const double cosine = std::cos(phi);
  const double sine = std::sin(phi);
  const double A = dlambda * cosine;
  const double A2 = A * A;
  const double eta2 = c.projectionSecondE2 * cosine * cosine;
  const double nu = a / std::sqrt(1.0 - e2 * sine * sine);

  const double C3 = (1.0 - t2 + eta2) / 6.0;
  const double C5 = (5.0 - 18.0 * t2 + t2 * t2 + (14.0 - 58.0 * t2) * eta2) / 120.0;
  const double C7 = (61.0 - 479.0 * t2 + 179.0 * t2 * t2 - t2 * t2 * t2) / 5040.0;
  const double easting = kScaleFactor * nu * A * (1.0 + A2 * (C3 + A2 * (C5 + A2 * C7)));

  const double arc =
      a * (1.0 - e2) * (c.arcA0 * phi - (c.arcA2 / 2.0) * std::sin(2.0 * phi) + (c.arcA4 / 4.0) * std::sin(4.0 * phi));
  const double D4 = (5.0 - t2 + 9.0 * eta2 + 4.0 * eta2 * eta2) / 12.0;
  const double D6 = (61.0 - 58.0 * t2 + t2 * t2 + 270.0 * eta2 - 330.0 * t2 * eta2) / 360.0;
  const double northing = kScaleFactor * arc + (kScaleFactor * nu * t / 2.0) * A2 * (1.0 + A2 * (D4 + A2 * D6));

  if (slot == kOriginSlot) {
    OSGB_SLOTS.EASTING(slot) = easting;
    OSGB_SLOTS.NORTHING(slot) = northing;
  } else {
    OSGB_SLOTS.EASTING(slot) = easting - OSGB_SLOTS.EASTING(kOriginSlot);
    OSGB_SLOTS.NORTHING(slot) = northing - OSGB_SLOTS.NORTHING(kOriginSlot);
  }
}

bool COORDSTOLL(std::int32_t slot) {
  if (slot < 0 || !OsgbSlots::valid(slot)) {
    showBox("Bad index for COORDStoLL", "Error");
    STOP_FLAG = kLogicalTrue;
    return false;
  }
  const OsgbConstants& c = OSGB_CONSTANTS;
  const double degreesPerMetre = 1.0 / (c.airySemiMajorAxis * c.degreesToRadians);
  OSGB_SLOTS.LATITUDE(kWorkSlot) = 52.0;
  OSGB_SLOTS.LONGITUDE(kWorkSlot) = -3.0;
  for (int turn = 0; turn < kMaxTurns; ++turn) {
    LLTOCOORDS(kWorkSlot);
    const double dE = OSGB_SLOTS.EASTING(slot) - OSGB_SLOTS.EASTING(kWorkSlot);
    const double dN = OSGB_SLOTS.NORTHING(slot) - OSGB_SLOTS.NORTHING(kWorkSlot);
    // Written so that a difference that is not a number never counts as settled.
    if (!(std::abs(dE) + std::abs(dN) < 1.0e30)) return false;
    double& latitude = OSGB_SLOTS.LATITUDE(kWorkSlot);
    double& longitude = OSGB_SLOTS.LONGITUDE(kWorkSlot);
    latitude += degreesPerMetre * dN;
    longitude += degreesPerMetre * dE / std::cos(latitude * c.degreesToRadians);
    if (std::abs(dE) + std::abs(dN) < 1.0) {
      // Far enough north the series still settles, on a latitude beyond the pole.
      if (!(std::abs(latitude) <= 90.0)) return false;
      OSGB_SLOTS.LATITUDE(slot) = latitude;
      OSGB_SLOTS.LONGITUDE(slot) = longitude;
      return true;
    }
  }
  return false;
}

FixedText<25> OSREFERENCE(std::int32_t slot) {
  if (!OsgbSlots::valid(slot)) return FixedText<25>(kInvalidReference);
  const double east = OSGB_SLOTS.EASTING(slot) + kLetterEastShift;
  const double north = OSGB_SLOTS.NORTHING(slot) + kLetterNorthShift;
  // Only the 25 squares of 500 km have letters; beyond them the letter
  // arithmetic would run into a neighbouring row and name the wrong place.
  if (!(east >= 0.0 && east < kLetteredExtent && north >= 0.0 && north < kLetteredExtent)) {
    return FixedText<25>(kInvalidReference);
  }
  int e = static_cast<int>(east);
  int n = static_cast<int>(north);
  const int c1 = e / 500000;
  const int r1 = n / 500000;
  e -= 500000 * c1;
  n -= 500000 * r1;
  const int c2 = e / 100000;
  const int r2 = n / 100000;
  const auto letter = [](int row, int column) { return kSquareFromBottom[static_cast<std::size_t>(5 * row + column)]; };
  std::string reference;
  reference += letter(r1, c1);
  reference += letter(r2, c2);
  reference.append(" ").append(formatI(e - 100000 * c2, 5, 5));
  reference.append(" ").append(formatI(n - 100000 * r2, 5, 5));
  return FixedText<25>(reference);
}

FixedText<25> REFTOCOORDS(TextField reference, std::int32_t slot) {
  IStringUpper(reference);
  if (!OsgbSlots::valid(slot)) return FixedText<25>("0");
  constexpr std::size_t kKept = 25;
  std::string digits;
  std::string letters;
  for (char ch : reference.trimmed()) {
    if (ch >= '0' && ch <= '9') {
      if (digits.size() < kKept) digits += ch;
    } else if (kLetters.find(ch) != std::string_view::npos) {
      if (letters.size() < kKept) letters += ch;
    }
  }
  if (letters.size() != 2 || digits.empty() || digits.size() % 2 != 0) return FixedText<25>("0");
  const std::size_t half = digits.size() / 2;
  const std::string_view all(digits);
  const OsgbConstants& c = OSGB_CONSTANTS;
  const auto first = static_cast<std::size_t>(letterIndex(letters[0]));
  const auto second = static_cast<std::size_t>(letterIndex(letters[1]));
  OSGB_SLOTS.EASTING(slot) = 5000.0 * c.columnOffset[first] + 1000.0 * c.columnOffset[second] +
                             fiveDigitValue(all.substr(0, half)) - kLetterEastShift;
  OSGB_SLOTS.NORTHING(slot) = 5000.0 * c.rowOffset[first] + 1000.0 * c.rowOffset[second] +
                              fiveDigitValue(all.substr(half)) - kLetterNorthShift;
  return FixedText<25>("-1");
}

void TOOSGB(float latitude, float longitude, TextField reference) {
  double& lat = OSGB_SLOTS.LATITUDE(SLOT);
  double& lon = OSGB_SLOTS.LONGITUDE(SLOT);
  lat = latitude;
  lon = longitude;
  double height = 0.0;
  HELTRANS(lat, lon, height);
  LLTOCOORDS(SLOT);
  const FixedText<25> lettered = OSREFERENCE(SLOT);
  reference.assign(text::equal(lettered, kInvalidReference) ? std::string_view("Invalid OS ref.") : lettered.trimmed());
}

void FROMOSGB(TextField reference, float& latitude, float& longitude) {
  IStringUpper(reference);
  if (!text::equal(REFTOCOORDS(reference, SLOT), "-1")) {
    refuseReference(reference, "needs 2 letters and an even number of digits");
    return;
  }
  if (!COORDSTOLL(SLOT)) {
    refuseReference(reference, "position lies outside the grid");
    return;
  }
  double& lat = OSGB_SLOTS.LATITUDE(SLOT);
  double& lon = OSGB_SLOTS.LONGITUDE(SLOT);
  REVHELMERT(lat, lon);
  latitude = static_cast<float>(lat);
  longitude = static_cast<float>(lon);
}
