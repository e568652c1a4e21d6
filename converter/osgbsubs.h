#pragma once
// British national grid: WGS84 latitude and longitude to and from lettered
// OSGB36 grid references, through a 7-parameter Helmert datum shift and a
// Transverse Mercator projection.  Callers put a position into slot SLOT, call a
// routine with SLOT and take the result from that slot.

#include <array>
#include <cstdint>

#include "toolkit/core/fixed_text.h"

// Positions by slot number -2 to 10: -2 the projection origin, -1 the work slot
// of the inverse projection, 0 the callers' slot.
struct OsgbSlots {
  static constexpr int kFirst = -2;
  static constexpr int kLast = 10;
  static constexpr bool valid(int slot) { return slot >= kFirst && slot <= kLast; }

  std::array<double, kLast - kFirst + 1> latitude{};   // degrees
  std::array<double, kLast - kFirst + 1> longitude{};  // degrees, east positive
  std::array<double, kLast - kFirst + 1> easting{};    // grid metres
  std::array<double, kLast - kFirst + 1> northing{};   // grid metres

  double& LATITUDE(int slot) { return latitude[index(slot)]; }
  double& LONGITUDE(int slot) { return longitude[index(slot)]; }
  double& EASTING(int slot) { return easting[index(slot)]; }
  double& NORTHING(int slot) { return northing[index(slot)]; }

 private:
  static std::size_t index(int slot) { return static_cast<std::size_t>(slot - kFirst); }
};
extern OsgbSlots OSGB_SLOTS;

constexpr std::int32_t kOriginSlot = -2;
constexpr std::int32_t kWorkSlot = -1;
// The slot of every caller, the same for the whole run.
inline constexpr std::int32_t SLOT = 0;

struct OsgbConstants {
  double degreesToRadians;
  double airySemiMajorAxis;
  double projectionE2;        // Airy first eccentricity squared (semi-minor axis 6356256.9)
  double projectionSecondE2;  // Airy second eccentricity squared
  double arcA0, arcA2, arcA4;  // meridian-arc coefficients
  double datumE2;             // Airy first eccentricity squared (semi-minor axis 6356256.91)
  double grsSemiMajorAxis;
  double grsE2;
  double scaleToOsgb;    // Helmert scale, WGS84 to OSGB36
  double scaleToWgs;     // Helmert scale, OSGB36 to WGS84
  double rotationX, rotationY, rotationZ;           // radians, magnitudes
  double translationX, translationY, translationZ;  // metres, magnitudes
  // Offsets of the letters "ABCDEFGHJKLMNOPQRSTUVWXYZ" in their 5 by 5 square,
  // in hundreds: the column (0 to 400 from the left) and the row (0 to 400 from
  // the bottom).
  std::array<std::int32_t, 25> columnOffset;
  std::array<std::int32_t, 25> rowOffset;
};
extern OsgbConstants OSGB_CONSTANTS;

// Central-meridian scale factor.  It is 0.9996, not the published 0.9996012717:
// the origin's northing below (0.9996 times the meridian arc of 49 degrees plus
// 100000, to the metre) was derived with it, and the two belong together.
inline constexpr double kScaleFactor = 0.9996;
inline constexpr double kOriginNorthing = 5527056.0;

// Fills the constants, the letter tables and the origin slot.
void SETUP();

// WGS84 degrees to a lettered reference of 14 characters ("TQ 30269 79640"), or
// "Invalid OS ref." for a position outside the lettered grid.
void TOOSGB(float latitude, float longitude, TextField reference);

// A lettered reference (upper-cased in place) to WGS84 degrees.  A reference that
// cannot be read, or whose position cannot be converted, shows the
// "OSGB Format Error" box, sets STOP_FLAG and leaves latitude and longitude as
// they were.
void FROMOSGB(TextField reference, float& latitude, float& longitude);

// Datum shifts: WGS84 latitude, longitude (degrees) and height (metres) to OSGB36
// (Airy) and back (height 0, dropped).
void HELTRANS(double& latitude, double& longitude, double& height);
void REVHELMERT(double& latitude, double& longitude);

// Projects the slot's OSGB36 latitude and longitude into its grid easting and
// northing (for the origin slot without the origin's offset).
void LLTOCOORDS(std::int32_t slot);
// The inverse: the slot's easting and northing to its latitude and longitude, by
// iteration.  False, with the slot's latitude and longitude left alone, when the
// slot is not one of the callers' (the "Error" box and STOP_FLAG) or when the
// iteration does not settle, as for positions far outside the grid.
bool COORDSTOLL(std::int32_t slot);

// The lettered reference of the slot's easting and northing, or
// "Invalid OS reference" when they lie outside the lettered grid.
FixedText<25> OSREFERENCE(std::int32_t slot);

// Reads a reference of two letters and an even number of digits (blanks and
// other characters between them are skipped; the text is upper-cased in place)
// into the slot's easting and northing.  "-1" on success, "0" on failure.
FixedText<25> REFTOCOORDS(TextField reference, std::int32_t slot);
