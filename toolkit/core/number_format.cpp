#include "toolkit/core/number_format.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

#include "toolkit/core/short_copies.h"

namespace numfmt {
namespace {

// The exact decimal value of a finite double: 0.d1 d2 d3 ... x 10^pointPos,
// digits without leading zeros (empty for zero).
struct Decimal {
  bool negative = false;
  std::string digits;
  int pointPos = 0;
};

// Little-endian base-1e9 natural number, just enough to expand a double exactly.
class BigNatural {
 public:
  explicit BigNatural(std::uint64_t v) {
    while (v != 0) {
      limbs_.push_back(static_cast<std::uint32_t>(v % kBase));
      v /= kBase;
    }
  }
  void multiply(std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (auto& limb : limbs_) {
      const std::uint64_t p = static_cast<std::uint64_t>(limb) * factor + carry;
      limb = static_cast<std::uint32_t>(p % kBase);
      carry = p / kBase;
    }
    while (carry != 0) {
      limbs_.push_back(static_cast<std::uint32_t>(carry % kBase));
      carry /= kBase;
    }
  }
  void multiplyByPower(std::uint32_t base, int exponent, std::uint32_t chunkBase, int chunkExponent) {
    while (exponent >= chunkExponent) {
      multiply(chunkBase);
      exponent -= chunkExponent;
    }
    while (exponent-- > 0) multiply(base);
  }
  std::string toString() const {
    if (limbs_.empty()) return "0";
    std::string s = std::to_string(limbs_.back());
    for (std::size_t i = limbs_.size() - 1; i-- > 0;) {
      std::string part = std::to_string(limbs_[i]);
      s.append(9 - part.size(), '0');
      s += part;
    }
    return s;
  }

 private:
  static constexpr std::uint64_t kBase = 1000000000;
  std::vector<std::uint32_t> limbs_;
};

Decimal exactDecimal(double value) {
  Decimal d;
  d.negative = std::signbit(value);
  value = std::fabs(value);
  if (value == 0.0) return d;
  int exp2 = 0;
  const double fraction = std::frexp(value, &exp2);  // value = fraction * 2^exp2
  auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
  exp2 -= 53;
  while (mantissa % 2 == 0) {
    mantissa /= 2;
    ++exp2;
  }
  BigNatural n(mantissa);
  int decimals = 0;
  if (exp2 >= 0) {
    n.multiplyByPower(2, exp2, 1u << 29, 29);
  } else {
    // m / 2^k = m * 5^k / 10^k
    n.multiplyByPower(5, -exp2, 1220703125u /* 5^13 */, 13);
    decimals = -exp2;
  }
  std::string all = n.toString();
  const std::size_t firstNonZero = all.find_first_not_of('0');
  all.erase(0, firstNonZero);
  d.pointPos = static_cast<int>(all.size()) - decimals;
  const std::size_t lastNonZero = all.find_last_not_of('0');
  all.erase(lastNonZero + 1);
  d.digits = all;
  return d;
}

// Adds one to a digit string; returns true when it grew a digit (999 -> 1000).
bool incrementDigits(std::string& digits) {
  for (std::size_t i = digits.size(); i-- > 0;) {
    if (digits[i] == '9') {
      digits[i] = '0';
    } else {
      ++digits[i];
      return false;
    }
  }
  digits.insert(digits.begin(), '1');
  return true;
}

// The first `keep` digits of the expansion, rounded half away from zero.
// Returns the kept digits (padded with zeros) and whether rounding carried out.
std::string roundDigits(const Decimal& d, int keep, bool& grew) {
  grew = false;
  if (keep < 0) return "";
  std::string kept =
      d.digits.substr(0, static_cast<std::size_t>(std::min<int>(keep, static_cast<int>(d.digits.size()))));
  kept.append(static_cast<std::size_t>(keep) - kept.size(), '0');
  if (static_cast<int>(d.digits.size()) > keep && d.digits[static_cast<std::size_t>(keep)] >= '5') {
    grew = incrementDigits(kept);
  }
  return kept;
}

// |value| x 10^decimals rounded to an integer, as a digit string without leading zeros.
std::string fixedDigits(const Decimal& d, int decimals) {
  if (d.digits.empty()) return "0";
  const int keep = d.pointPos + decimals;
  if (keep < 0) return "0";
  bool grew = false;
  std::string r = roundDigits(d, keep, grew);
  const std::size_t nz = r.find_first_not_of('0');
  return nz == std::string::npos ? "0" : r.substr(nz);
}

// An unsigned 128-bit integer with only what the rounding below needs.  The
// 32-bit build's compiler has no 128-bit integer type of its own.
class Uint128 {
 public:
  constexpr explicit Uint128(std::uint64_t low, std::uint64_t high = 0) : low_(low), high_(high) {}

  constexpr Uint128 operator+(const Uint128& other) const {
    const std::uint64_t low = low_ + other.low_;
    return Uint128(low, high_ + other.high_ + (low < low_ ? 1 : 0));
  }
  constexpr Uint128 operator-(const Uint128& other) const {
    return Uint128(low_ - other.low_, high_ - other.high_ - (low_ < other.low_ ? 1 : 0));
  }
  // Shifts by 0 to 127 places.
  constexpr Uint128 operator<<(int places) const {
    if (places == 0) return *this;
    if (places >= 64) return Uint128(0, low_ << (places - 64));
    return Uint128(low_ << places, (high_ << places) | (low_ >> (64 - places)));
  }
  constexpr Uint128 operator>>(int places) const {
    if (places == 0) return *this;
    if (places >= 64) return Uint128(high_ >> (places - 64));
    return Uint128((low_ >> places) | (high_ << (64 - places)), high_ >> places);
  }
  constexpr Uint128 timesFive() const { return (*this << 2) + *this; }
  constexpr bool operator>=(const Uint128& other) const {
    return high_ != other.high_ ? high_ > other.high_ : low_ >= other.low_;
  }
  constexpr bool operator==(const Uint128& other) const = default;
  constexpr bool fitsIn64Bits() const { return high_ == 0; }
  constexpr std::uint64_t low() const { return low_; }

 private:
  std::uint64_t low_;
  std::uint64_t high_;
};

// The position of the lowest set bit of a value that is not zero; in two halves,
// which the 32-bit build does without a library call.
int lowestSetBit(std::uint64_t value) {
  const auto low = static_cast<std::uint32_t>(value);
  if (low != 0) return std::countr_zero(low);
  return 32 + std::countr_zero(static_cast<std::uint32_t>(value >> 32));
}

constexpr std::array<std::uint64_t, 28> kPowersOfFive = [] {
  std::array<std::uint64_t, 28> powers{};
  std::uint64_t power = 1;
  for (std::uint64_t& p : powers) {
    p = power;
    power *= 5;
  }
  return powers;
}();

// m x 5^decimals x 2^exp2 rounded half away from zero, when m x 5^decimals fits
// 64 bits and so does the result; nothing otherwise.
std::optional<std::uint64_t> scaledIn64Bits(std::uint64_t mantissa, int exp2, int decimals) {
  const std::uint64_t power = kPowersOfFive[static_cast<std::size_t>(decimals)];
  if (mantissa > UINT64_MAX / power) return std::nullopt;
  const std::uint64_t scaled = mantissa * power;
  const int shift = exp2 + decimals;
  if (shift >= 0) {
    if (shift >= 64 || (scaled >> (63 - shift)) > 1) return std::nullopt;
    return scaled << shift;
  }
  const int down = -shift;
  if (down >= 64) return down == 64 && (scaled >> 63) != 0 ? std::optional<std::uint64_t>(1) : 0;
  const std::uint64_t whole = scaled >> down;
  const std::uint64_t half = std::uint64_t{1} << (down - 1);
  const std::uint64_t rest = scaled & (half | (half - 1));
  return whole + (rest >= half ? 1 : 0);
}

// The same digits without the exact expansion, for the values of every day:
// value = m x 2^e with m below 2^53, so value x 10^decimals = m x 5^decimals x
// 2^(e + decimals), whose rounding half away from zero 128-bit integers settle
// exactly.  Nothing when the result would not fit in 64 bits or the decimals are
// many: the exact expansion decides those.
std::optional<std::uint64_t> scaledAndRounded(double value, int decimals) {
  constexpr int kMostDecimals = 20;  // 5^20 < 2^47, so m x 5^20 < 2^100
  if (decimals < 0 || decimals > kMostDecimals) return std::nullopt;
  // The mantissa and exponent straight from the bits of the double.
  const auto bits = std::bit_cast<std::uint64_t>(value);
  const auto biased = static_cast<int>((bits >> 52) & 0x7FF);
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
  int exp2 = -1074;  // subnormal
  if (biased != 0) {
    mantissa |= std::uint64_t{1} << 52;
    exp2 = biased - 1075;
  }
  if (mantissa == 0) return 0;
  // A real that came from a float has no more than 24 significant bits: without
  // its trailing zero bits, m x 5^decimals mostly fits 64 bits, and then the
  // whole rounding is done in them.
  const int zeroBits = lowestSetBit(mantissa);
  mantissa >>= zeroBits;
  exp2 += zeroBits;
  if (const auto rounded = scaledIn64Bits(mantissa, exp2, decimals)) return *rounded;
  Uint128 scaled(mantissa);
  for (int k = 0; k < decimals; ++k) scaled = scaled.timesFive();
  const int shift = exp2 + decimals;
  if (shift >= 0) {
    if (shift >= 64 || (scaled >> (64 - shift)) != Uint128(0)) return std::nullopt;
    return (scaled << shift).low();
  }
  const int down = -shift;
  if (down >= 128) return 0;  // below 2^-27: far under one half
  const Uint128 whole = scaled >> down;
  const Uint128 rest = scaled - (whole << down);
  const Uint128 half = Uint128(1) << (down - 1);
  const Uint128 rounded = whole + Uint128(rest >= half ? 1 : 0);
  if (!rounded.fitsIn64Bits()) return std::nullopt;
  return rounded.low();
}

std::string stars(int width) { return std::string(static_cast<std::size_t>(width), '*'); }

std::string rightJustify(const std::string& s, int width) {
  if (static_cast<int>(s.size()) > width) return stars(width);
  return std::string(static_cast<std::size_t>(width) - s.size(), ' ') + s;
}

// The field of the rounded digits `r` (no leading zeros, "0" for zero) without
// the blanks that right-justify it in `width` columns, written to `out` (room
// for `width` bytes).  Gives its length; nothing when it does not fit.
std::optional<std::size_t> fixedWithoutPadding(std::string_view r, bool negative, int width, int decimals, char* out) {
  negative = negative && r != "0";
  const auto fraction = static_cast<std::size_t>(decimals);
  const bool hasWhole = r.size() > fraction;
  const std::size_t zeros = hasWhole ? 0 : fraction - r.size();
  // The leading zero is written only when there is room for it.
  const std::size_t withoutZero = (negative ? 1 : 0) + (hasWhole ? r.size() : fraction) + 1;
  const bool leadingZero = !hasWhole && static_cast<int>(withoutZero + 1) <= width;
  const std::size_t length = withoutZero + (leadingZero ? 1 : 0);
  if (static_cast<int>(length) > width) return std::nullopt;
  char* at = out;
  const auto put = [&at](std::string_view piece) {
    bytes::copy(piece.data(), piece.size(), at);
    at += piece.size();
  };
  if (negative) *at++ = '-';
  if (hasWhole) {
    put(r.substr(0, r.size() - fraction));
    *at++ = '.';
    put(r.substr(r.size() - fraction));
  } else {
    if (leadingZero) *at++ = '0';
    *at++ = '.';
    bytes::fill(at, zeros, '0');
    at += zeros;
    put(r);
  }
  return length;
}

std::string layOutFixed(std::string_view r, bool negative, int width, int decimals) {
  std::string field(static_cast<std::size_t>(std::max(width, 0)), ' ');
  const auto length = fixedWithoutPadding(r, negative, width, decimals, field.data());
  if (!length) return stars(width);
  // Right-justified: the text moves to the end of the field.
  std::copy_backward(field.begin(), field.begin() + static_cast<std::ptrdiff_t>(*length), field.end());
  std::fill_n(field.begin(), field.size() - *length, ' ');
  return field;
}

// The decimal digits of the value; the 32-bit build divides 64-bit integers in a
// library call, so values that fit 32 bits are written as such.
std::string_view decimalDigits(std::uint64_t value, std::array<char, 24>& room) {
  char* const first = room.data();
  char* const last = first + room.size();
  const auto written = value <= 0xFFFFFFFFu ? std::to_chars(first, last, static_cast<std::uint32_t>(value))
                                            : std::to_chars(first, last, value);
  return {first, static_cast<std::size_t>(written.ptr - first)};
}

std::string writeFixed(const Decimal& d, int width, int decimals) {
  return layOutFixed(fixedDigits(d, decimals), d.negative, width, decimals);
}

std::string writeExponent(const Decimal& d, int width, int significant, int exponentDigits) {
  std::string mantissa;
  int exponent = 0;
  if (d.digits.empty()) {
    mantissa = std::string(static_cast<std::size_t>(significant), '0');
  } else {
    bool grew = false;
    mantissa = roundDigits(d, significant, grew);
    exponent = d.pointPos;
    if (grew) {
      mantissa.pop_back();
      ++exponent;
    }
  }
  const int absExp = std::abs(exponent);
  std::string expText = std::to_string(absExp);
  std::string expField;
  const char expSign = exponent < 0 ? '-' : '+';
  if (exponentDigits > 0) {
    if (static_cast<int>(expText.size()) > exponentDigits) return stars(width);
    expField = std::string("E") + expSign +
               std::string(static_cast<std::size_t>(exponentDigits) - expText.size(), '0') + expText;
  } else if (absExp <= 99) {
    expField = std::string("E") + expSign + (absExp < 10 ? "0" : "") + expText;
  } else if (absExp <= 999) {
    expField = std::string(1, expSign) + expText;
  } else {
    return stars(width);
  }
  const bool negative = d.negative && !d.digits.empty();
  const std::string sign = negative ? "-" : "";
  std::string withZero = sign + "0." + mantissa + expField;
  if (static_cast<int>(withZero.size()) <= width) return rightJustify(withZero, width);
  return rightJustify(sign + "." + mantissa + expField, width);
}

std::string writeGeneral(const Decimal& d, int width, int significant, int exponentDigits) {
  const int trailing = (exponentDigits > 0 ? exponentDigits : 2) + 2;
  int k = 0;  // 10^(k-1) <= rounded |value| < 10^k
  if (d.digits.empty()) {
    // Zero is written in fixed point with d-1 decimals.
    return writeFixed(d, width - trailing, significant - 1) + std::string(static_cast<std::size_t>(trailing), ' ');
  }
  bool grew = false;
  roundDigits(d, significant, grew);
  k = d.pointPos + (grew ? 1 : 0);
  if (k >= 0 && k <= significant && width > trailing) {
    std::string fixed = writeFixed(d, width - trailing, significant - k);
    return fixed + std::string(static_cast<std::size_t>(trailing), ' ');
  }
  return writeExponent(d, width, significant, exponentDigits);
}

bool readNumber(std::string_view s, std::size_t& pos, int& out) {
  const std::size_t start = pos;
  long long v = 0;
  while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9') {
    v = v * 10 + (s[pos] - '0');
    if (v > 100000) return false;
    ++pos;
  }
  out = static_cast<int>(v);
  return pos > start;
}

std::string_view strip(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// A list longer than this is a mistake in the format, not a line to write.
constexpr std::size_t kMostListSteps = 1000;

// Appends the steps of one item of a list: "2I6", "F6.3", "1X", "X".
bool appendListItem(std::string_view item, std::vector<ListStep>& steps) {
  item = strip(item);
  if (item.empty() || item.find_first_of("()") != std::string_view::npos) return false;
  std::size_t pos = 0;
  int repeat = 1;
  if (item[0] >= '0' && item[0] <= '9') {
    if (!readNumber(item, pos, repeat) || repeat == 0) return false;
  }
  const std::string_view rest = strip(item.substr(pos));
  if (rest == "X" || rest == "x") {
    if (repeat > static_cast<int>(kMostListSteps)) return false;
    steps.push_back(ListStep{Descriptor{}, repeat});
    return true;
  }
  const auto d = parse(rest);
  if (!d || steps.size() + static_cast<std::size_t>(repeat) > kMostListSteps) return false;
  steps.insert(steps.end(), static_cast<std::size_t>(repeat), ListStep{*d, 0});
  return true;
}

}  // namespace

std::optional<std::vector<ListStep>> parseList(std::string_view format) {
  std::string_view s = strip(format);
  if (!s.empty() && s.front() == '(') {
    if (s.back() != ')') return std::nullopt;
    s = s.substr(1, s.size() - 2);
  }
  std::vector<ListStep> steps;
  while (true) {
    const std::size_t comma = s.find(',');
    if (!appendListItem(s.substr(0, comma), steps)) return std::nullopt;
    if (comma == std::string_view::npos) break;
    s.remove_prefix(comma + 1);
  }
  return steps;
}

std::optional<Descriptor> parse(std::string_view format) {
  std::string_view s = strip(format);
  if (!s.empty() && s.front() == '(') {
    if (s.back() != ')') return std::nullopt;
    s = strip(s.substr(1, s.size() - 2));
  }
  if (s.empty()) return std::nullopt;
  Descriptor d;
  d.kind = static_cast<char>(s[0] >= 'a' && s[0] <= 'z' ? s[0] - 32 : s[0]);
  if (d.kind != 'I' && d.kind != 'F' && d.kind != 'E' && d.kind != 'G') return std::nullopt;
  std::size_t pos = 1;
  if (!readNumber(s, pos, d.width) || d.width == 0) return std::nullopt;
  if (pos < s.size() && s[pos] == '.') {
    ++pos;
    if (!readNumber(s, pos, d.digits)) return std::nullopt;
  }
  if (pos < s.size() && (s[pos] == 'E' || s[pos] == 'e') && (d.kind == 'E' || d.kind == 'G')) {
    ++pos;
    if (!readNumber(s, pos, d.exponentDigits) || d.exponentDigits == 0) return std::nullopt;
  }
  if (pos != s.size()) return std::nullopt;
  if (d.kind != 'I' && d.digits < 0) return std::nullopt;
  if ((d.kind == 'E' || d.kind == 'G') && d.digits == 0) return std::nullopt;
  return d;
}

std::string writeInteger(long long value, const Descriptor& d) {
  if (d.kind != 'I') return writeReal(static_cast<double>(value), d);
  const bool negative = value < 0;
  // Magnitude through unsigned arithmetic so that the most negative value works.
  const unsigned long long magnitude =
      negative ? 0ull - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
  std::string digits = std::to_string(magnitude);
  if (d.digits == 0 && magnitude == 0) return std::string(static_cast<std::size_t>(d.width), ' ');
  if (d.digits > 0 && static_cast<int>(digits.size()) < d.digits) {
    digits.insert(0, static_cast<std::size_t>(d.digits) - digits.size(), '0');
  }
  return rightJustify((negative ? "-" : "") + digits, d.width);
}

std::string writeReal(double value, const Descriptor& d) {
  if (!std::isfinite(value)) return stars(d.width);
  if (d.kind == 'F') {
    if (const auto scaled = scaledAndRounded(value, d.digits)) {
      std::array<char, 24> digits;
      return layOutFixed(decimalDigits(*scaled, digits), std::signbit(value), d.width, d.digits);
    }
  }
  const Decimal dec = exactDecimal(value);
  switch (d.kind) {
    case 'F':
      return writeFixed(dec, d.width, d.digits);
    case 'E':
      return writeExponent(dec, d.width, d.digits, d.exponentDigits);
    case 'G':
      return writeGeneral(dec, d.width, d.digits, d.exponentDigits);
    default:
      return stars(d.width);
  }
}

std::string_view writeFixedUnpadded(double value, int width, int decimals, std::span<char> room) {
  if (std::isfinite(value) && width > 0 && static_cast<std::size_t>(width) <= room.size()) {
    if (const auto scaled = scaledAndRounded(value, decimals)) {
      std::array<char, 24> digits;
      if (const auto length = fixedWithoutPadding(decimalDigits(*scaled, digits), std::signbit(value), width, decimals,
                                                  room.data())) {
        return {room.data(), *length};
      }
    }
  }
  const std::string field = writeReal(value, {'F', width, decimals, -1});
  std::string_view text(field);
  text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
  text = text.substr(0, room.size());
  std::copy(text.begin(), text.end(), room.data());
  return {room.data(), text.size()};
}

}  // namespace numfmt

std::optional<std::string> fortranFormat(long long value, std::string_view format) {
  const auto d = numfmt::parse(format);
  if (!d) return std::nullopt;
  return numfmt::writeInteger(value, *d);
}

std::optional<std::string> fortranFormat(double value, std::string_view format) {
  const auto d = numfmt::parse(format);
  if (!d || d->kind == 'I') return std::nullopt;
  return numfmt::writeReal(value, *d);
}

std::string formatI(long long value, int width, int minDigits) {
  return numfmt::writeInteger(value, {'I', width, minDigits, -1});
}
std::string formatF(double value, int width, int decimals) {
  return numfmt::writeReal(value, {'F', width, decimals, -1});
}
std::string formatE(double value, int width, int significant, int exponentDigits) {
  return numfmt::writeReal(value, {'E', width, significant, exponentDigits});
}
std::string formatG(double value, int width, int significant, int exponentDigits) {
  return numfmt::writeReal(value, {'G', width, significant, exponentDigits});
}

std::optional<std::string> fortranFormatList(std::string_view format, std::span<const FormatItem> values) {
  const auto steps = numfmt::parseList(format);
  if (!steps) return std::nullopt;
  const auto dataSteps = static_cast<std::size_t>(
      std::count_if(steps->begin(), steps->end(), [](const numfmt::ListStep& s) { return s.skip == 0; }));
  if (values.size() > dataSteps) return std::nullopt;
  std::string line;
  std::size_t next = 0;
  std::size_t pendingBlanks = 0;  // an nX moves on only when a field follows it
  for (const numfmt::ListStep& step : *steps) {
    if (step.skip > 0) {
      pendingBlanks += static_cast<std::size_t>(step.skip);
      continue;
    }
    if (next == values.size()) break;
    line.append(pendingBlanks, ' ');
    pendingBlanks = 0;
    const FormatItem& item = values[next++];
    if (item.isInteger) {
      line += numfmt::writeInteger(item.integer, step.descriptor);
    } else if (step.descriptor.kind == 'I') {
      return std::nullopt;
    } else {
      line += numfmt::writeReal(item.real, step.descriptor);
    }
  }
  return line;
}
