#include "toolkit/core/number_conversion.h"

#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "toolkit/core/error_reporter.h"
#include "toolkit/core/number_format.h"
#include "toolkit/core/strings.h"
#include "toolkit/core/toolkit_settings.h"

namespace {

constexpr int kNoSubstring = 10;
constexpr int kTwoDecimalPoints = 11;
constexpr int kInvalidCharacter = 12;
constexpr int kNumberTooLarge = 4;
constexpr int kConversionError = 18;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isDecimalChar(char c) {
  return c == '.' || (toolkitSettings.decimalSeparatorSwitch && c == toolkitSettings.localeDecimalSeparator);
}

// The first token of the text, empty when the text is blank.
std::string_view firstToken(std::string_view text) {
  int start = 0, end = 0;
  YYTokenScan(text, start, end);
  if (start == 0) return {};
  return text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(end - start + 1));
}

struct RealLimits {
  std::string_view exponentLetters;
  int exponentLimit;
};
constexpr RealLimits kSingleLimits{"Ee", 38};
constexpr RealLimits kDoubleLimits{"EeDd", 308};

struct PartValue {
  double value = 0.0;
  int error = 0;
};

// One part (mantissa or exponent) of a real: sign, digits, at most one decimal
// character (none in an exponent).  The digit-count check comes after the
// characters are known to be good.
PartValue readPart(std::string_view part, bool isExponent, int limit, bool skipValue) {
  PartValue result;
  std::size_t pos = 0;
  bool negative = false;
  if (pos < part.size() && (part[pos] == '+' || part[pos] == '-')) {
    negative = part[pos] == '-';
    ++pos;
  }
  int decimalAt = -1;  // index of the decimal character within the digits
  std::string digits;
  for (; pos < part.size(); ++pos) {
    const char c = part[pos];
    if (isDecimalChar(c)) {
      if (isExponent) {
        result.error = kInvalidCharacter;
        return result;
      }
      if (decimalAt >= 0) {
        result.error = kTwoDecimalPoints;
        return result;
      }
      decimalAt = static_cast<int>(digits.size());
    } else if (isDigit(c)) {
      digits += c;
    } else {
      result.error = kInvalidCharacter;
      return result;
    }
  }
  if (skipValue) return result;
  const int integerDigits = decimalAt >= 0 ? decimalAt : static_cast<int>(digits.size());
  if (integerDigits > limit + 1) {
    result.error = kNumberTooLarge;
    return result;
  }
  // Sum of digit x 10^place, the place counted down from the decimal character.
  double value = 0.0;
  for (int i = 0; i < static_cast<int>(digits.size()); ++i) {
    const int place = integerDigits - 1 - i;
    value += (digits[static_cast<std::size_t>(i)] - '0') * std::pow(10.0, place);
  }
  result.value = negative ? -value : value;
  return result;
}

// Both real readers; reports under "IStringToReal".
bool readReal(std::string_view text, const RealLimits& limits, double& result) {
  result = 0.0;
  const std::string_view token = firstToken(text);
  if (token.empty()) {
    YYErrorReport(kNoSubstring, "IStringToReal");
    return false;
  }
  const int n = static_cast<int>(token.size());
  // The exponent marker: the first letter of the entry that occurs, else a sign
  // three columns from the end (1.5+100, -2.0-123).
  int marker = -1;
  bool letterMarker = false;
  for (char letter : limits.exponentLetters) {
    const std::size_t at = token.find(letter);
    if (at != std::string_view::npos) {
      marker = static_cast<int>(at);
      letterMarker = true;
      break;
    }
  }
  if (marker < 0 && n >= 4) {
    const int signAt = n - 4;  // column E - 3
    if (signAt > 0 && (token[static_cast<std::size_t>(signAt)] == '+' || token[static_cast<std::size_t>(signAt)] == '-')) {
      marker = signAt;
    }
  }
  const std::string_view mantissaText = marker < 0 ? token : token.substr(0, static_cast<std::size_t>(marker));
  std::string_view exponentText;
  if (marker >= 0) {
    exponentText = token.substr(static_cast<std::size_t>(letterMarker ? marker + 1 : marker));
  }

  const PartValue mantissa = readPart(mantissaText, false, limits.exponentLimit, false);
  if (mantissa.error != 0) {
    YYErrorReport(mantissa.error, "IStringToReal");
    return false;
  }
  double value = mantissa.value;
  if (marker >= 0) {
    const bool zero = mantissa.value == 0.0;
    const PartValue exponent = readPart(exponentText, true, limits.exponentLimit, zero);
    if (exponent.error != 0) {
      YYErrorReport(exponent.error, "IStringToReal");
      return false;
    }
    if (zero) return true;
    const double x = std::trunc(exponent.value);
    const double s = std::trunc(std::log10(std::fabs(mantissa.value)) - 1.0);
    if (x + s > limits.exponentLimit) {
      YYErrorReport(kNumberTooLarge, "IStringToReal");
      return false;
    }
    // Scaled in extended precision: a double power of ten is not exact beyond
    // 1E22, and its rounding would show in the last digit of the result.
    const long double scaled = (static_cast<long double>(mantissa.value) * std::pow(10.0L, static_cast<long double>(-s))) *
                               std::pow(10.0L, static_cast<long double>(x + s));
    value = static_cast<double>(scaled);
  }
  result = value;
  return true;
}

// Writes `written` into the field from column 1, or ten asterisks with error 18.
void storeWritten(const std::optional<std::string>& written, TextField out, std::string_view format,
                  std::string_view routine, bool isReal) {
  bool failed = !written || static_cast<int>(written->size()) > out.length();
  if (!failed && format.find('*') == std::string_view::npos &&
      written->find('*') != std::string::npos) {
    failed = true;
  }
  if (failed) {
    out.assign("**********");
    YYErrorReport(kConversionError, routine);
    return;
  }
  std::string s = *written;
  if (isReal && toolkitSettings.decimalSeparatorSwitch) {
    for (auto& c : s) {
      if (c == '.') c = toolkitSettings.localeDecimalSeparator;
    }
  }
  out.assign(s);
}

}  // namespace

void IStringToInteger(std::string_view text, int& value) {
  value = 0;
  const std::string_view token = firstToken(text);
  if (token.empty()) {
    YYErrorReport(kNoSubstring, "IStringToInteger");
    return;
  }
  std::size_t pos = 0;
  bool negative = false;
  if (token[0] == '-' || token[0] == '+') {
    negative = token[0] == '-';
    pos = 1;
  }
  const std::string_view digits = token.substr(pos);
  for (char c : digits) {
    if (!isDigit(c)) {
      YYErrorReport(kInvalidCharacter, "IStringToInteger");
      return;
    }
  }
  const std::size_t k = digits.size();
  if (k > 10 || (k == 10 && digits[0] > '2')) {
    YYErrorReport(kNumberTooLarge, "IStringToInteger");
    return;
  }
  long long sum = 0;
  for (char c : digits) {
    sum = sum * 10 + (c - '0');
    if (sum > std::numeric_limits<int>::max()) {
      YYErrorReport(kNumberTooLarge, "IStringToInteger");
      return;
    }
  }
  value = static_cast<int>(negative ? -sum : sum);
}

void IStringToReal(std::string_view text, float& value) {
  value = 0.0f;
  double v = 0.0;
  if (!readReal(text, kSingleLimits, v)) return;
  if (std::fabs(v) > 3.4028234663852886E38) {
    YYErrorReport(kNumberTooLarge, "IStringToReal");
    return;
  }
  value = static_cast<float>(v);
}

void YYStringToDouble(std::string_view text, double& value) {
  value = 0.0;
  double v = 0.0;
  if (!readReal(text, kDoubleLimits, v)) return;
  if (!std::isfinite(v)) {
    // Beyond the double range although within the digit and exponent limits.
    YYErrorReport(kNumberTooLarge, "IStringToReal");
    return;
  }
  value = v;
}

void IntegerToString(int value, TextField out, std::string_view format) {
  storeWritten(fortranFormat(value, format), out, format, "IntegerToString", false);
}

void IRealToString(float value, TextField out, std::string_view format) {
  storeWritten(fortranFormat(value, format), out, format, "IRealToString", true);
}

void IDoubleToString(double value, TextField out, std::string_view format) {
  storeWritten(fortranFormat(value, format), out, format, "IDoubleToString", true);
}

int YYParseInt(const char* text) {
  std::size_t pos = 0;
  bool negative = false;
  if (text[0] == '-') {
    negative = true;
    pos = 1;
  }
  // Accumulate wide and clamp: a long digit run must not overflow.
  long long value = 0;
  constexpr long long kLimit = 2147483648LL;
  for (; isDigit(text[pos]); ++pos) {
    if (value <= kLimit) value = value * 10 + (text[pos] - '0');
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (value < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}
