#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "converter/converter_data.h"
#include "converter/osgbsubs.h"
#include "converter_helpers/box_answer.h"
#include "support/child_process.h"

namespace {

double degrees(double d, double m, double s) { return d + m / 60.0 + s / 3600.0; }

// Metres between two positions given in degrees (small distances).
double metresApart(double lat1, double lon1, double lat2, double lon2) {
  const double radians = std::acos(-1.0) / 180.0;
  const double dNorth = (lat2 - lat1) * 111200.0;
  const double dEast = (lon2 - lon1) * 111200.0 * std::cos(lat1 * radians);
  return std::hypot(dNorth, dEast);
}

class Grid : public ::testing::Test {
 protected:
  void SetUp() override {
    SETUP();
    STOP_FLAG = kLogicalFalse;
  }

  // WGS84 degrees to grid metres, as TOOSGB computes them before truncation.
  static void toGrid(double latitude, double longitude, double& easting, double& northing) {
    double height = 0.0;
    OSGB_SLOTS.LATITUDE(SLOT) = latitude;
    OSGB_SLOTS.LONGITUDE(SLOT) = longitude;
    HELTRANS(OSGB_SLOTS.LATITUDE(SLOT), OSGB_SLOTS.LONGITUDE(SLOT), height);
    LLTOCOORDS(SLOT);
    easting = OSGB_SLOTS.EASTING(SLOT);
    northing = OSGB_SLOTS.NORTHING(SLOT);
  }

  static std::string toosgb(float latitude, float longitude) {
    FixedText<25> reference("#");
    TOOSGB(latitude, longitude, reference);
    return reference.str();
  }
};

TEST_F(Grid, WgsPositionsMeetPublishedGridReferencesWithinTheHelmertShiftsAccuracy) {
  // Published ETRS89 positions (within centimetres of WGS84 here) with their
  // National Grid coordinates from the Ordnance Survey's transformation.
  const struct {
    const char* where;
    double latitude, longitude, easting, northing;
  } published[] = {
      // Test point TP01 of the OSTN15 developer pack (St Mary's, Isles of Scilly).
      {"TP01", 49.92226393730, -6.29977752014, 91492.146, 11318.804},
      // Caister water tower, the worked example of the Ordnance Survey's guide.
      {"Caister", 52.658007833, 1.716073973, 651409.792, 313177.448},
      // TR 143 599, near Canterbury.
      {"TR143599", 51.297880, 1.072628, 614300.0, 159900.0},
  };
  for (const auto& p : published) {
    double e = 0.0, n = 0.0;
    toGrid(p.latitude, p.longitude, e, n);
    EXPECT_LT(std::hypot(e - p.easting, n - p.northing), 5.0) << p.where << " " << e << " " << n;
  }
}

TEST_F(Grid, ProjectionMeetsThePublishedWorkedExamples) {
  // On the Airy ellipsoid, without datum shift: the guide's worked example and
  // the Transverse Mercator example of EPSG guidance note 7-2.  The scale factor
  // of 0.9996 puts these a fraction of a metre from the published figures.
  const struct {
    double latitude, longitude, easting, northing;
  } examples[] = {
      {degrees(52, 39, 27.2531), degrees(1, 43, 4.5177), 651409.903, 313177.270},
      {50.5, 0.5, 577274.99, 69740.49},
  };
  for (const auto& x : examples) {
    OSGB_SLOTS.LATITUDE(SLOT) = x.latitude;
    OSGB_SLOTS.LONGITUDE(SLOT) = x.longitude;
    LLTOCOORDS(SLOT);
    EXPECT_NEAR(OSGB_SLOTS.EASTING(SLOT), x.easting, 1.0);
    EXPECT_NEAR(OSGB_SLOTS.NORTHING(SLOT), x.northing, 1.0);
    // And back by the inverse.
    ASSERT_TRUE(COORDSTOLL(SLOT));
    EXPECT_LT(metresApart(OSGB_SLOTS.LATITUDE(SLOT), OSGB_SLOTS.LONGITUDE(SLOT), x.latitude, x.longitude), 1.0);
  }
  // The origin's own projected northing is the origin northing less 100 km.
  LLTOCOORDS(kOriginSlot);
  EXPECT_NEAR(OSGB_SLOTS.NORTHING(kOriginSlot) + 100000.0, 5527056.0, 0.5);
  EXPECT_NEAR(OSGB_SLOTS.EASTING(kOriginSlot), 0.0, 1e-6);
}

TEST_F(Grid, LetteredReferencesOfPositions) {
  EXPECT_EQ(toosgb(51.5007f, -0.1246f), "TQ 30269 79640");
  // Caister water tower: published TG 51409 13177, a metre or two away by the
  // Helmert shift.
  FixedText<25> caister(toosgb(52.658007833f, 1.716073973f));
  EXPECT_EQ(caister.str().substr(0, 3), "TG ");
  ASSERT_EQ(REFTOCOORDS(caister, SLOT).str(), "-1");
  EXPECT_LT(std::hypot(OSGB_SLOTS.EASTING(SLOT) - 651409.0, OSGB_SLOTS.NORTHING(SLOT) - 313177.0), 5.0);
  // Beyond the lettered grid, far west or south.
  EXPECT_EQ(toosgb(51.0f, -40.0f), "Invalid OS ref.");
  EXPECT_EQ(toosgb(30.0f, -2.0f), "Invalid OS ref.");
  EXPECT_EQ(toosgb(52.0f, 20.0f), "Invalid OS ref.");
}

TEST_F(Grid, RoundTripReturnsToTheStartingPosition) {
  for (double latitude = 50.0; latitude <= 60.5; latitude += 0.5) {
    for (double longitude = -7.5; longitude <= 2.0; longitude += 0.5) {
      double e = 0.0, n = 0.0;
      toGrid(latitude, longitude, e, n);
      ASSERT_TRUE(COORDSTOLL(SLOT)) << latitude << " " << longitude;
      double lat = OSGB_SLOTS.LATITUDE(SLOT);
      double lon = OSGB_SLOTS.LONGITUDE(SLOT);
      REVHELMERT(lat, lon);
      EXPECT_LT(metresApart(latitude, longitude, lat, lon), 1.0) << latitude << " " << longitude;

      // Through the lettered reference: whole metres and the inverse's stopping rule.
      FixedText<25> reference;
      TOOSGB(static_cast<float>(latitude), static_cast<float>(longitude), reference);
      float backLat = 0.0f, backLon = 0.0f;
      FROMOSGB(reference, backLat, backLon);
      EXPECT_LT(metresApart(latitude, longitude, backLat, backLon), 2.0) << reference.str();
    }
  }
  EXPECT_FALSE(isTrue(STOP_FLAG));
}

struct ReferenceCase {
  const char* reference;
  const char* result;
  double easting, northing;
};

TEST_F(Grid, ReadsReferencesOfTwoLettersAndAnEvenNumberOfDigits) {
  const ReferenceCase cases[] = {
      {"su1234", "-1", 412000, 134000},
      {"SU 12345 67890", "-1", 412345, 167890},
      {"SU1234567890", "-1", 412345, 167890},
      {"S U-12345/67890", "-1", 412345, 167890},
      {"SU123456789012", "-1", 412345, 178901},
      {"SV0000000000", "-1", 0, 0},
      {"HP 60000 99999", "-1", 460000, 1299999},
      {"ZZ99", "-1", 1490000, -410000},  // any two letters are accepted
      {"SU123", "0", -1, -1},
      {"S12", "0", -1, -1},
      {"SUX12", "0", -1, -1},
      {"SU", "0", -1, -1},
      {"SI1234", "0", -1, -1},  // I is no grid letter
      {"", "0", -1, -1},
  };
  for (const auto& c : cases) {
    OSGB_SLOTS.EASTING(SLOT) = -1;
    OSGB_SLOTS.NORTHING(SLOT) = -1;
    FixedText<30> reference(c.reference);
    EXPECT_EQ(REFTOCOORDS(reference, SLOT).str(), c.result) << c.reference;
    EXPECT_EQ(OSGB_SLOTS.EASTING(SLOT), c.easting) << c.reference;
    EXPECT_EQ(OSGB_SLOTS.NORTHING(SLOT), c.northing) << c.reference;
  }
  FixedText<10> lower("su1234");
  REFTOCOORDS(lower, SLOT);
  EXPECT_EQ(lower.str(), "SU1234");
}

TEST_F(Grid, OnlyThe25SquaresOf500KmHaveLetters) {
  const struct {
    double easting, northing;
    const char* reference;
  } cases[] = {
      {530269.7, 179640.2, "TQ 30269 79640"},
      {0.0, 0.0, "SV 00000 00000"},
      {-1000000.0, -500000.0, "VV 00000 00000"},
      {1499999.9, 1999999.9, "EE 99999 99999"},
      {460000.0, 1299999.0, "HP 60000 99999"},
      // Outside the letters: west, east, south and north of them, and no number.
      {-1000000.5, 0.0, "Invalid OS reference"},
      {-1300000.0, 600000.0, "Invalid OS reference"},
      {1500000.0, 0.0, "Invalid OS reference"},
      {1600000.0, 0.0, "Invalid OS reference"},
      {0.0, -500001.0, "Invalid OS reference"},
      {0.0, 2000000.0, "Invalid OS reference"},
      {0.0, 1.0e12, "Invalid OS reference"},
      {std::nan(""), 0.0, "Invalid OS reference"},
  };
  for (const auto& c : cases) {
    OSGB_SLOTS.EASTING(SLOT) = c.easting;
    OSGB_SLOTS.NORTHING(SLOT) = c.northing;
    EXPECT_EQ(OSREFERENCE(SLOT).str(), c.reference) << c.easting << " " << c.northing;
  }
}

TEST_F(Grid, TheInverseGivesUpOnPositionsItCannotReach) {
  // North of the pole the series settles on a latitude beyond it; further out it never settles.
  for (double northing : {1.0e7, 1.0e9}) {
    OSGB_SLOTS.EASTING(SLOT) = 0.0;
    OSGB_SLOTS.NORTHING(SLOT) = northing;
    OSGB_SLOTS.LATITUDE(SLOT) = 12.5;
    OSGB_SLOTS.LONGITUDE(SLOT) = 34.5;
    EXPECT_FALSE(COORDSTOLL(SLOT)) << northing;
    EXPECT_EQ(OSGB_SLOTS.LATITUDE(SLOT), 12.5);
    EXPECT_EQ(OSGB_SLOTS.LONGITUDE(SLOT), 34.5);
  }
  OSGB_SLOTS.EASTING(SLOT) = 1.0e7;
  EXPECT_FALSE(COORDSTOLL(SLOT));
  // Every lettered position converts.
  for (double e = -1000000.0; e < 1500000.0; e += 100000.0) {
    for (double n = -500000.0; n < 2000000.0; n += 100000.0) {
      OSGB_SLOTS.EASTING(SLOT) = e;
      OSGB_SLOTS.NORTHING(SLOT) = n;
      EXPECT_TRUE(COORDSTOLL(SLOT)) << e << " " << n;
    }
  }
  EXPECT_FALSE(isTrue(STOP_FLAG));
}

TEST_F(Grid, HelmertShiftsAreNearlyInverse) {
  double lat = 55.0, lon = -3.0, height = 0.0;
  HELTRANS(lat, lon, height);
  // OSGB36 lies about 100 m east and 50 m north-ish of WGS84 here, with the
  // ellipsoid some 50 m lower.
  EXPECT_GT(metresApart(55.0, -3.0, lat, lon), 50.0);
  EXPECT_NEAR(height, -50.0, 10.0);
  REVHELMERT(lat, lon);
  EXPECT_LT(metresApart(55.0, -3.0, lat, lon), 0.05);
}

// --- refusals with a box run in children ---

// Exit code: 1 when STOP_FLAG is set, 2 when the position was left alone.
void convertReference(const char* text) {
  SETUP();
  FixedText<30> reference(text);
  float latitude = 1.5f, longitude = 2.5f;
  FROMOSGB(reference, latitude, longitude);
  ExitProcess((isTrue(STOP_FLAG) ? 1 : 0) | (latitude == 1.5f && longitude == 2.5f ? 2 : 0));
}

testing_support::ChildScenario badReference("bad-reference", [] { convertReference("su123"); });
testing_support::ChildScenario goodReference("good-reference", [] { convertReference("tq3026979640"); });
testing_support::ChildScenario badSlot("bad-slot", [] {
  SETUP();
  const bool converted = COORDSTOLL(-1);
  ExitProcess((isTrue(STOP_FLAG) ? 1 : 0) | (converted ? 0 : 2));
});

TEST(GridRefusals, AMalformedReferenceShowsTheFormatBoxAndStops) {
  box_answer::Seen seen;
  const int code = testing_support::runChildScenario(
      "bad-reference", [&](DWORD pid) { box_answer::answer(pid, "OSGB Format Error", seen); });
  EXPECT_EQ(code, 3);
  EXPECT_EQ(seen.boxes, 1);
  EXPECT_EQ(seen.text, "SU123\rInvalid OS reference -\rneeds 2 letters and an even number of digits");
}

TEST(GridRefusals, AGoodReferenceShowsNoBox) {
  box_answer::Seen seen;
  const int code = testing_support::runChildScenario(
      "good-reference", [&](DWORD pid) { box_answer::answer(pid, "OSGB Format Error", seen); });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(seen.boxes, 0);
}

TEST(GridRefusals, ABadSlotForTheInverseShowsTheErrorBox) {
  box_answer::Seen seen;
  const int code =
      testing_support::runChildScenario("bad-slot", [&](DWORD pid) { box_answer::answer(pid, "Error", seen); });
  EXPECT_EQ(code, 3);
  EXPECT_EQ(seen.text, "Bad index for COORDStoLL");
}

}  // namespace
