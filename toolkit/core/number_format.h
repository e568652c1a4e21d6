#pragma once
// The one Fortran-style number writer of the system.  Every number field of a
// file format laid out by an edit descriptor (Iw, Iw.m, Fw.d, Ew.d, Ew.dEe,
// Gw.dEe) is written here, never with printf formats of a caller's own.
//
// Reals are rounded half away from zero on the exact decimal value of the 32- or
// 64-bit real (a float is passed as the double it converts to exactly).  A value
// that does not fit its w columns fills them with asterisks.

#include <optional>
#include <string>
#include <string_view>

namespace numfmt {

struct Descriptor {
  char kind = 0;          // 'I', 'F', 'E' or 'G'
  int width = 0;          // w
  int digits = -1;        // m for I, d for F/E/G; -1 when not given
  int exponentDigits = -1;  // e of Ew.dEe and Gw.dEe; -1 when not given
};

// Reads one edit descriptor, with or without the surrounding parentheses:
// "(F8.2)", "I4", "(G15.5E2)".  Nothing when the text is not one descriptor.
std::optional<Descriptor> parse(std::string_view format);

std::string writeInteger(long long value, const Descriptor& d);
std::string writeReal(double value, const Descriptor& d);

}  // namespace numfmt

// The value written with a format holding one edit descriptor; nothing when the
// format is malformed or does not suit the value (an F format for an integer is
// accepted, an I format for a real is not).
std::optional<std::string> fortranFormat(long long value, std::string_view format);
std::optional<std::string> fortranFormat(double value, std::string_view format);
inline std::optional<std::string> fortranFormat(int value, std::string_view format) {
  return fortranFormat(static_cast<long long>(value), format);
}
inline std::optional<std::string> fortranFormat(float value, std::string_view format) {
  return fortranFormat(static_cast<double>(value), format);
}

// Shorthands for the common descriptors of a well-formed format.
std::string formatI(long long value, int width, int minDigits = -1);
std::string formatF(double value, int width, int decimals);
std::string formatE(double value, int width, int significant, int exponentDigits = -1);
std::string formatG(double value, int width, int significant, int exponentDigits = -1);
