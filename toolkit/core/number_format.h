#pragma once
// The one Fortran-style number writer of the system.  Every number field of a
// file format laid out by an edit descriptor (Iw, Iw.m, Fw.d, Ew.d, Ew.dEe,
// Gw.dEe) is written here, never with printf formats of a caller's own.
//
// Reals are rounded half away from zero on the exact decimal value of the 32- or
// 64-bit real (a float is passed as the double it converts to exactly).  A value
// that does not fit its w columns fills them with asterisks.

#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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

// What writeReal gives for Fw.d without its leading blanks, written to the
// caller's room (at least w bytes; a longer result is cut to it) rather than to
// a new string: for the number fields that writers put out by the thousand.
std::string_view writeFixedUnpadded(double value, int width, int decimals, std::span<char> room);

// One step of a format list: a data descriptor, or `skip` blanks of an nX.
struct ListStep {
  Descriptor descriptor;
  int skip = 0;  // > 0 for nX, and then no descriptor
};

// Reads a list such as "(I1,I9,2I6)" or "(F6.3,1X,F6.3)": descriptors separated
// by commas, each with an optional repeat count, and nX for n blanks (X alone is
// one).  Repeats are expanded.  Nothing when any item is malformed.
std::optional<std::vector<ListStep>> parseList(std::string_view format);

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

// One value of a list: an integer or a real, kept as given.
struct FormatItem {
  FormatItem(int v) : isInteger(true), integer(v) {}
  FormatItem(long long v) : isInteger(true), integer(v) {}
  FormatItem(float v) : real(v) {}
  FormatItem(double v) : real(v) {}
  bool isInteger = false;
  long long integer = 0;
  double real = 0.0;
};

// The values written one after another with a format list, each field on its own
// (a value that does not fit fills only its own field with asterisks).  Writing
// stops at the first data descriptor left without a value, as Fortran's output
// does.  Nothing when the list is malformed, when a real meets an I descriptor,
// or when there are more values than data descriptors.
std::optional<std::string> fortranFormatList(std::string_view format, std::span<const FormatItem> values);
inline std::optional<std::string> fortranFormatList(std::string_view format,
                                                    std::initializer_list<FormatItem> values) {
  return fortranFormatList(format, std::span<const FormatItem>(values.begin(), values.size()));
}
