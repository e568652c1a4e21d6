#include "formats/xml/route_summary.h"

#include <cmath>
#include <limits>
#include <string>

#include "converter/identifiers.h"
#include "formats/xml/xml_output.h"
#include "toolkit/core/number_format.h"

std::array<RunSummaryEntry, MAX_POINTS> RUN_SUMMARY;
std::int32_t RUN_COUNT = 0;

namespace {

constexpr float kMetresToKilometres = 0.001f;
constexpr float kMetresToMiles = 0.000621371f;
constexpr float kMetresToFeet = 3.28084f;
constexpr float kToKilometresPerHour = 3.6f;
constexpr float kToMilesPerHour = 2.236936f;
// The lowest and highest altitude before any altitude has been seen.
constexpr float kNoLowest = 99999.0f;
constexpr float kNoHighest = -99999.0f;
constexpr std::string_view kNotAvailable = "not available";
constexpr int kFigureColumns = 8;

// Days before each month, the quarters making every fourth year from 1901 one
// day longer from March on.
constexpr std::array<float, 12> kDaysBeforeMonth{0.0f,    31.0f,   59.25f,  90.25f,  120.25f, 151.25f,
                                                 181.25f, 212.25f, 243.25f, 273.25f, 304.25f, 334.25f};

// The whole number in columns first..first+count-1 (counted from 1); 0 where the
// columns hold anything but digits.
int columnsNumber(std::string_view text, int first, int count) {
  int value = 0;
  for (int c = first; c < first + count; ++c) {
    const std::size_t i = static_cast<std::size_t>(c - 1);
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return 0;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

float dayNumber(std::string_view date) {
  const int day = columnsNumber(date, 1, 2);
  const int month = columnsNumber(date, 4, 2);
  const int year = columnsNumber(date, 7, 4);
  const float before = month >= 1 && month <= 12 ? kDaysBeforeMonth[static_cast<std::size_t>(month - 1)] : 0.0f;
  return std::trunc(static_cast<float>(year - 1901) * 365.25f + before + static_cast<float>(day));
}

int secondsOfDay(std::string_view time) {
  return columnsNumber(time, 1, 2) * 3600 + columnsNumber(time, 4, 2) * 60 + columnsNumber(time, 7, 2);
}

std::string figure(float value) { return text::withoutLeadingBlanks(formatF(value, kFigureColumns, 2)); }

// A whole number of metres or feet, rounded half away from zero.
std::string wholeFigure(float value) {
  // Far beyond what eight columns hold; lround could not take it.
  if (!(std::fabs(value) < 1.0e9f)) return std::string(kFigureColumns, '*');
  return text::withoutLeadingBlanks(formatI(std::lround(value), kFigureColumns));
}

std::string altitudeText(float metres) {
  return wholeFigure(metres) + " m  " + wholeFigure(metres * kMetresToFeet) + " ft";
}

std::string speedText(float metresPerSecond) {
  return figure(metresPerSecond * kToKilometresPerHour) + " kph  " + figure(metresPerSecond * kToMilesPerHour) +
         " mph";
}

std::string stampText(const POINT_RECORD& point) {
  return std::string(point.DATE.trimmed()) + " " + std::string(point.TIME.view());
}

bool validStamp(const POINT_RECORD& point) { return VALID_TIME_STAMP(point.DATE.view(), point.TIME.view()); }

// The figures of the run being measured.
struct Accumulators {
  float distance = 0.0f;
  float highestSpeed = 0.0f;
  float lowest = kNoLowest;
  float highest = kNoHighest;

  void altitude(const POINT_RECORD& point) {
    if (point.ALTITUDE == kNoValue) return;
    if (point.ALTITUDE < lowest) lowest = point.ALTITUDE;
    if (point.ALTITUDE > highest) highest = point.ALTITUDE;
  }
};

void finishRun(const POINT_RECORD& first, const POINT_RECORD& last, const Accumulators& run) {
  RUN_COUNT += 1;
  RunSummaryEntry& entry = RUN_SUMMARY_ENTRY(RUN_COUNT);
  entry.LENGTH_TEXT = figure(run.distance * kMetresToKilometres) + " km  " + figure(run.distance * kMetresToMiles) +
                      " mi";
  const bool sameStamp = first.DATE.view() == last.DATE.view() && first.TIME.view() == last.TIME.view();
  entry.STARTED_TEXT = sameStamp || !validStamp(first) ? std::string(kNotAvailable) : stampText(first);
  entry.FINISHED_TEXT = sameStamp || !validStamp(last) ? std::string(kNotAvailable) : stampText(last);
  entry.MIN_ALTITUDE_TEXT = run.lowest == kNoLowest ? std::string(kNotAvailable) : altitudeText(run.lowest);
  entry.MAX_ALTITUDE_TEXT = run.highest == kNoHighest ? std::string(kNotAvailable) : altitudeText(run.highest);
  std::int32_t duration = 0;
  if (validStamp(first) && validStamp(last)) {
    TIMEINTERVAL(first.DATE.view(), first.TIME.view(), last.DATE.view(), last.TIME.view(), duration);
  }
  entry.AVERAGE_SPEED_TEXT =
      duration <= 0 ? std::string(kNotAvailable) : speedText(run.distance / static_cast<float>(duration));
  entry.MAX_SPEED_TEXT = run.highestSpeed <= 0.0f ? std::string(kNotAvailable) : speedText(run.highestSpeed);
}

}  // namespace

void GETNDAYS(std::string_view date1, std::string_view date2, std::int32_t& days) {
  days = static_cast<std::int32_t>(dayNumber(date2) - dayNumber(date1));
}

void TIMEINTERVAL(std::string_view date1, std::string_view time1, std::string_view date2, std::string_view time2,
                  std::int32_t& seconds) {
  std::int32_t days = 0;
  GETNDAYS(date1, date2, days);
  // Dates a lifetime apart pass the 32-bit range in seconds.
  const long long total = static_cast<long long>(days) * 86400 + secondsOfDay(time2) - secondsOfDay(time1);
  constexpr long long kLowest = std::numeric_limits<std::int32_t>::min();
  constexpr long long kHighest = std::numeric_limits<std::int32_t>::max();
  seconds = static_cast<std::int32_t>(total < kLowest ? kLowest : total > kHighest ? kHighest : total);
}

void GET_RTDETAILS() {
  POINT_LIST.CURRENT_ROUTE.blank();
  POINT_LIST.NROUTES = 0;
  RUN_COUNT = 0;
  Accumulators run;
  int first = 1;
  for (int i = 1; i <= POINT_LIST.NPOINTS; ++i) {
    const POINT_RECORD& point = POINT_LIST.POINT(i);
    if (i == 1 || !(point.ROUTE_NAME == POINT_LIST.CURRENT_ROUTE)) {
      if (POINT_LIST.NROUTES > 0) finishRun(POINT_LIST.POINT(first), POINT_LIST.POINT(i - 1), run);
      first = i;
      run = Accumulators{};
      // The first point's altitude is as much the run's as any other.
      run.altitude(point);
      POINT_LIST.CURRENT_ROUTE = point.ROUTE_NAME.view();
      POINT_LIST.NROUTES += 1;
      continue;
    }
    const POINT_RECORD& previous = POINT_LIST.POINT(i - 1);
    run.altitude(point);
    float step = 0.0f;
    FLAT_EARTH(previous.LATITUDE, previous.LONGITUDE, point.LATITUDE, point.LONGITUDE, step);
    run.distance += step;
    if (validStamp(previous) && validStamp(point)) {
      std::int32_t seconds = 0;
      TIMEINTERVAL(previous.DATE.view(), previous.TIME.view(), point.DATE.view(), point.TIME.view(), seconds);
      if (seconds > 0) {
        const float speed = step / static_cast<float>(seconds);
        if (speed > run.highestSpeed) run.highestSpeed = speed;
      }
    }
  }
  if (POINT_LIST.NROUTES > 0) finishRun(POINT_LIST.POINT(first), POINT_LIST.POINT(POINT_LIST.NPOINTS), run);
}
