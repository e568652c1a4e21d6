#pragma once
// Free-form (list-directed) reading of the values of one record, as the
// Memory-Map and Maptech readers take their lines and the OziExplorer readers
// their number fields.
//
//  - Values are separated by a comma with optional blanks around it, or by
//    blanks alone; a slash ends the values (the rest count as null).
//  - A null value (two commas in a row, or a leading comma) leaves the variable
//    as it was.
//  - A text is enclosed in double quotes or apostrophes, a doubled delimiter
//    standing for one; unquoted it ends at the next blank, comma or slash.
//    The writers of these formats put texts between quotes as they stand, so a
//    quoted text that cannot be read so is read again with the quotes inside it
//    kept, up to the quote that ends the value.
//  - Numbers are Fortran numbers: sign, digits, a decimal point, an exponent with
//    E, D or Q.  Anything else where a number is due is bad.

#include <cstdint>
#include <string_view>

#include "toolkit/core/fixed_text.h"

enum class FreeForm {
  kValue,    // a value was read
  kNull,     // a null value: the variable is unchanged
  kMissing,  // the record ended before this value
  kBad,      // the value is not of the wanted kind
};

inline bool isValue(FreeForm result) { return result == FreeForm::kValue; }
// A value, or a null value that leaves the variable as it was.
inline bool isValueOrNull(FreeForm result) { return result == FreeForm::kValue || result == FreeForm::kNull; }

class FreeFormReader {
 public:
  explicit FreeFormReader(std::string_view record) : record_(record) {}

  FreeForm real(float& value);
  FreeForm integer(std::int32_t& value);
  // A text, cut to the field or padded with blanks.
  FreeForm text(TextField value);

 private:
  // Moves to the start of the next value; kValue when one starts there.
  FreeForm start();
  // The characters from the position to the next separator.
  std::string_view token();
  // Steps over the blanks and the one comma or slash after a value.
  void finishValue();

  std::string_view record_;
  std::size_t position_ = 0;
  bool slashed_ = false;
};
