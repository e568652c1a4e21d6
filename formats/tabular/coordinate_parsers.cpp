#include "formats/tabular/coordinate_parsers.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "converter/log_display.h"
#include "converter/osgbsubs.h"

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isSpace(char c) { return c == ' ' || c == '\t'; }

// The characters of the number: from the first non-blank to the next blank,
// comma or slash.
std::string_view numberToken(std::string_view text) {
  std::size_t first = 0;
  while (first < text.size() && isSpace(text[first])) ++first;
  std::size_t last = first;
  while (last < text.size() && !isSpace(text[last]) && text[last] != ',' && text[last] != '/') ++last;
  return text.substr(first, last - first);
}

// Checks the token's form and gives it as the C library reads it (D exponents
// become E); nothing when the form is wrong.
std::optional<std::string> realForm(std::string_view token, bool wholeOnly) {
  std::string out;
  std::size_t i = 0;
  if (i < token.size() && (token[i] == '+' || token[i] == '-')) out += token[i++];
  int digits = 0;
  while (i < token.size() && isDigit(token[i])) {
    out += token[i++];
    ++digits;
  }
  if (!wholeOnly && i < token.size() && token[i] == '.') {
    out += token[i++];
    while (i < token.size() && isDigit(token[i])) {
      out += token[i++];
      ++digits;
    }
  }
  if (digits == 0) return std::nullopt;
  if (!wholeOnly && i < token.size() && (token[i] == 'E' || token[i] == 'e' || token[i] == 'D' || token[i] == 'd')) {
    out += 'E';
    ++i;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) out += token[i++];
    int exponentDigits = 0;
    while (i < token.size() && isDigit(token[i])) {
      out += token[i++];
      ++exponentDigits;
    }
    if (exponentDigits == 0) return std::nullopt;
  }
  if (i != token.size()) return std::nullopt;
  return out;
}

}  // namespace

std::optional<double> readFreeDouble(std::string_view text) {
  const std::optional<std::string> form = realForm(numberToken(text), false);
  if (!form) return std::nullopt;
  const double value = std::strtod(form->c_str(), nullptr);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<float> readFreeReal(std::string_view text) {
  const std::optional<double> value = readFreeDouble(text);
  if (!value || std::abs(*value) > std::numeric_limits<float>::max()) return std::nullopt;
  return static_cast<float>(*value);
}

std::optional<std::int32_t> readFreeInteger(std::string_view text) {
  const std::optional<std::string> form = realForm(numberToken(text), true);
  if (!form) return std::nullopt;
  const double value = std::strtod(form->c_str(), nullptr);
  if (!(value >= std::numeric_limits<std::int32_t>::min() && value <= std::numeric_limits<std::int32_t>::max()))
    return std::nullopt;
  return static_cast<std::int32_t>(value);
}

namespace {

constexpr std::string_view kContinue = "continue";

// The hint of each part of a sexagesimal form.
struct FormHints {
  char first;   // after the degrees
  char second;  // after the minutes
  std::string_view degrees;
  std::string_view minutesBeforeSeconds;
  std::string_view seconds;
  std::string_view minutesAlone;
};
constexpr FormHints kApostropheForm{'\'', '"', "Degrees from Deg'Min\"Sec or Deg'Min", "Minutes from Deg'Min\"Sec",
                                    "Seconds from Deg'Min\"Sec", "Minutes from Deg'Min"};
constexpr FormHints kColonForm{':', ':', "Degrees from Deg:Min:Sec or Deg:Min", "Minutes from Deg:Min:Sec",
                               "Seconds from Deg:Min:Sec", "Minutes from Deg:Min"};
constexpr std::string_view kDecimalHint = "Decimal degree or Deg'Min\"Sec or Deg:Min:Sec";
constexpr std::string_view kSixtyHint = "Valid range is 0 to 60";

// Adds minutes or seconds to the degrees; false (with the box shown) when the
// part is unreadable or outside 0 to 60.
bool addPart(std::string_view part, float divisor, std::string_view hint, std::string_view rangeMessage,
              float& sum, std::string_view record, std::int32_t& status) {
  const std::optional<float> v = readFreeReal(part);
  if (!v) {
    ERROR(3, "Error reading coordinate", hint, record, kContinue);
    status = kCoordinateUnreadable;
    return false;
  }
  if (*v < 0.0f || *v > 60.0f) {
    ERROR(1, rangeMessage, kSixtyHint, record, kContinue);
    status = kCoordinateRefused;
    return false;
  }
  sum += *v / divisor;
  return true;
}

// Degrees, minutes and seconds of one of the two sexagesimal forms.
bool readSexagesimal(std::string_view text, const FormHints& form, float& result, std::string_view record,
                     std::int32_t& status) {
  // Only a minus in the very first column belongs to the whole value; after a
  // blank it is the degrees' own sign.
  float sign = 1.0f;
  if (!text.empty() && text.front() == '-') {
    sign = -1.0f;
    text.remove_prefix(1);
  }
  const std::size_t firstAt = text.find(form.first);
  const std::optional<float> degrees = readFreeReal(text.substr(0, firstAt));
  if (!degrees) {
    ERROR(3, "Error reading coordinate", form.degrees, record, kContinue);
    status = kCoordinateUnreadable;
    return false;
  }
  float sum = *degrees;
  const std::string_view rest =
      firstAt == std::string_view::npos ? std::string_view{} : text.substr(firstAt + 1);
  if (!text::isBlank(rest)) {
    const std::size_t secondAt = rest.find(form.second);
    if (secondAt != std::string_view::npos) {
      if (!addPart(rest.substr(0, secondAt), 60.0f, form.minutesBeforeSeconds, "Minutes out of range", sum, record,
                    status))
        return false;
      const std::string_view seconds = rest.substr(secondAt + 1);
      if (!text::isBlank(seconds) &&
          !addPart(seconds, 3600.0f, form.seconds, "Seconds out of range", sum, record, status))
        return false;
    } else if (!addPart(rest, 60.0f, form.minutesAlone, "Minutes out of range", sum, record, status)) {
      return false;
    }
  }
  result = sign * sum;
  return true;
}

}  // namespace

void DMS(std::string_view text, float& value, float limit, std::string_view record, std::int32_t& status) {
  status = kCoordinateStored;
  float result = 0.0f;
  if (text.find('\'') != std::string_view::npos) {
    if (!readSexagesimal(text, kApostropheForm, result, record, status)) return;
  } else if (text.find(':') != std::string_view::npos) {
    if (!readSexagesimal(text, kColonForm, result, record, status)) return;
  } else {
    const std::optional<float> v = readFreeReal(text);
    if (!v) {
      ERROR(3, "Error reading coordinate", kDecimalHint, record, kContinue);
      status = kCoordinateUnreadable;
      return;
    }
    result = *v;
  }
  if (!(result >= -limit && result <= limit)) {
    const std::string_view hint =
        limit == 180.0f ? "Valid range is -180 to 180 degrees" : "Valid range is -90 to 90 degrees";
    ERROR(1, "Coordinate value out of range", hint, record, kContinue);
    status = kCoordinateRefused;
    return;
  }
  value = result;
}

bool N6(std::string_view text) {
  const std::string_view digits = text::trimmed(text);
  if (digits.size() < 6) return false;
  for (char c : digits) {
    if (!isDigit(c)) return false;
  }
  return true;
}

void FROMEN(std::string_view easting, std::string_view northing, float& latitude, float& longitude,
            std::string_view record, std::int32_t& status) {
  constexpr std::string_view kDigitsHint = "Value must use 6 numeric digits";
  status = kCoordinateStored;
  std::optional<double> metres;
  if (!N6(easting) || !(metres = readFreeDouble(easting))) {
    ERROR(1, "Error in Easting", kDigitsHint, record, kContinue);
    status = kCoordinateRefused;
    return;
  }
  OSGB_SLOTS.EASTING(SLOT) = *metres;
  if (!N6(northing) || !(metres = readFreeDouble(northing))) {
    ERROR(1, "Error in Northing", kDigitsHint, record, kContinue);
    status = kCoordinateRefused;
    return;
  }
  OSGB_SLOTS.NORTHING(SLOT) = *metres;
  // Far outside the grid the conversion finds no position; such a pair is
  // refused rather than looped on.
  if (!COORDSTOLL(SLOT)) {
    ERROR(1, "Position outside the OS grid", "Easting and northing must lie within the national grid", record,
          kContinue);
    status = kCoordinateRefused;
    return;
  }
  double& lat = OSGB_SLOTS.LATITUDE(SLOT);
  double& lon = OSGB_SLOTS.LONGITUDE(SLOT);
  REVHELMERT(lat, lon);
  latitude = static_cast<float>(lat);
  longitude = static_cast<float>(lon);
}
