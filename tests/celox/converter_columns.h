#pragma once
// The twelve columns the converter's Excel reader and writer bind, with the
// column definitions of the worksheet it creates, and a reproducible set of point values
// (check_large_workbook.py computes the same ones).

#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "celox_test_support.h"

namespace celox_test {

constexpr char kPointsTableDefinition[] =
    "Points ([OS Grid Reference] TEXT, Latitude NUMBER, Longitude NUMBER, Name TEXT, Information TEXT, "
    "[Name 2] TEXT, [Date and Time] DATETIME, Altitude NUMBER, Proximity NUMBER, [Symbol name] TEXT, "
    "[Route or Track name] TEXT, [Colour name] TEXT)";

struct PointRow {
  std::string osgb, name, information, name2, symbol, route, colour;
  double latitude = 0, longitude = 0, altitude = 0, proximity = 0;
  SQL_TIMESTAMP_STRUCT when{};
};

// Point i (from 1) of the reproducible set; texts are code page 1252 bytes.
inline PointRow samplePoint(int i) {
  PointRow p;
  char buffer[64];
  if (i % 3 != 0) {
    std::snprintf(buffer, sizeof buffer, "TQ %05d %05d", i % 100000, (i * 7) % 100000);
    p.osgb = buffer;
  }
  p.latitude = (500000 + i) / 10000.0;
  p.longitude = -(i % 18000) / 100.0;
  std::snprintf(buffer, sizeof buffer, "Point %05d", i);
  p.name = buffer;
  p.information = "Info for point " + std::to_string(i) + " \x96 M\xFCnster";
  p.name2 = "P" + std::to_string(i);
  const int day = i % 365, second = i % 86400;
  // 5 March 2007 plus `day` days.
  static constexpr int kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int month = 3, dayOfMonth = 5 + day, year = 2007;
  const auto daysIn = [](int y, int m) {
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return kMonthDays[m - 1] + (m == 2 && leap ? 1 : 0);
  };
  while (dayOfMonth > daysIn(year, month)) {
    dayOfMonth -= daysIn(year, month);
    if (++month > 12) {
      month = 1;
      ++year;
    }
  }
  p.when = {static_cast<SQLSMALLINT>(year), static_cast<SQLUSMALLINT>(month), static_cast<SQLUSMALLINT>(dayOfMonth),
            static_cast<SQLUSMALLINT>(second / 3600), static_cast<SQLUSMALLINT>(second / 60 % 60),
            static_cast<SQLUSMALLINT>(second % 60), 0};
  p.altitude = i % 2 == 0 ? -9999.0 : i * 0.5;
  p.proximity = (i % 10) * 1.5;
  if (i % 4 != 0) p.symbol = "Waypoint";
  p.route = "Track " + std::to_string(i / 1000 + 1);
  if (i % 5 == 0) p.colour = "Red";
  return p;
}

struct ConverterColumns {
  explicit ConverterColumns(int rows)
      : rows(rows), osgb(rows, 17), name(rows, 129), information(rows, 129), name2(rows, 129), symbol(rows, 21),
        route(rows, 65), colour(rows, 7), latitude(rows), longitude(rows), altitude(rows), proximity(rows),
        when(rows) {}

  int rows;
  TextColumn osgb, name, information, name2, symbol, route, colour;
  std::vector<double> latitude, longitude, altitude, proximity;
  std::vector<SQL_TIMESTAMP_STRUCT> when;

  std::array<CeloxColumnBinding, 12> bindings() {
    return {binding("[OS Grid Reference]", osgb.bytes.data(), rows, 1, 17),
            binding("Latitude", latitude.data(), rows, 8, 8),
            binding("Longitude", longitude.data(), rows, 8, 8),
            binding("Name", name.bytes.data(), rows, 1, 129),
            binding("Information", information.bytes.data(), rows, 1, 129),
            binding("[Name 2]", name2.bytes.data(), rows, 1, 129),
            binding("[Date and Time]", when.data(), rows, 11, 16),
            binding("Altitude", altitude.data(), rows, 8, 8),
            binding("Proximity", proximity.data(), rows, 8, 8),
            binding("[Symbol name]", symbol.bytes.data(), rows, 1, 21),
            binding("[Route or Track name]", route.bytes.data(), rows, 1, 65),
            binding("[Colour name]", colour.bytes.data(), rows, 1, 7)};
  }

  void put(int row, const PointRow& p) {
    osgb.set(row, p.osgb);
    name.set(row, p.name);
    information.set(row, p.information);
    name2.set(row, p.name2);
    symbol.set(row, p.symbol);
    route.set(row, p.route);
    colour.set(row, p.colour);
    latitude[row - 1] = p.latitude;
    longitude[row - 1] = p.longitude;
    altitude[row - 1] = p.altitude;
    proximity[row - 1] = p.proximity;
    when[row - 1] = p.when;
  }

  // Differences between row `row` and the point, as text ("" when equal).
  std::string differences(int row, const PointRow& p) {
    std::string d;
    const auto text = [&](const char* what, TextColumn& c, const std::string& want) {
      if (c.text(row) != want) d += std::string(what) + " '" + c.text(row) + "' not '" + want + "'; ";
    };
    const auto number = [&](const char* what, double got, double want) {
      if (got != want) d += std::string(what) + " " + std::to_string(got) + " not " + std::to_string(want) + "; ";
    };
    text("osgb", osgb, p.osgb);
    text("name", name, p.name);
    text("information", information, p.information);
    text("name2", name2, p.name2);
    text("symbol", symbol, p.symbol);
    text("route", route, p.route);
    text("colour", colour, p.colour);
    number("latitude", latitude[row - 1], p.latitude);
    number("longitude", longitude[row - 1], p.longitude);
    number("altitude", altitude[row - 1], p.altitude);
    number("proximity", proximity[row - 1], p.proximity);
    const auto& t = when[row - 1];
    const auto& w = p.when;
    if (t.year != w.year || t.month != w.month || t.day != w.day || t.hour != w.hour || t.minute != w.minute ||
        t.second != w.second || t.fraction != 0)
      d += "timestamp differs; ";
    return d;
  }
};

}  // namespace celox_test
