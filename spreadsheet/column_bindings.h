#pragma once
// Column bindings shared by reading and writing rows: the check of the caller's
// CeloxColumnBinding records, the C types the library accepts with their ODBC
// bindings, and the one-row transfer buffers through which every value moves
// between ODBC and the caller's arrays.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "spreadsheet/library_state.h"

namespace celox {

enum class TypeFamily { Tiny, Short, Long, Real, Double, Text, Date, Time, Timestamp, Numeric, Count };
constexpr std::size_t kFamilyCount = static_cast<std::size_t>(TypeFamily::Count);

// What ODBC is told for an accepted C type.
struct CTypeRule {
  TypeFamily family;
  std::int32_t elementSize;  // 0 for texts: the binding's element length
  SQLSMALLINT readType;      // SQLBindCol target type
  SQLSMALLINT writeValueType, writeSqlType;
  SQLULEN columnSize;        // texts: element length - 1
  SQLSMALLINT decimalDigits;
};

// The rule of a C type, or the code that refuses it (70010 or 70007).
struct CTypeLookup {
  const CTypeRule* rule;
  std::int32_t refusal;
};
CTypeLookup qxLookupCType(std::int32_t cType);

// The element size of a binding that passed the check.
std::int32_t qxElementSize(const CeloxColumnBinding& binding);

// The column's slot among the transfer buffers, by the walk in binding order.
struct ColumnSlot {
  TypeFamily family;
  std::int32_t elementSize;
  std::uint8_t* slot;
};

class TransferBuffers {
 public:
  // Allocates from the family counts of a checked binding array; false (and the
  // allocation status as the last error) when memory runs out.
  bool allocate(const CeloxColumnBinding* bindings, std::int32_t nColumns);
  SQLLEN& indicator(std::int32_t column) { return indicators_[static_cast<std::size_t>(column)]; }
  // Slots of every column, in binding order.
  const std::vector<ColumnSlot>& slots() const { return slots_; }
  std::int32_t textOffset(std::int32_t textColumn) const { return textOffsets_[static_cast<std::size_t>(textColumn)]; }

 private:
  std::vector<SQLLEN> indicators_;
  std::array<std::vector<std::uint8_t>, kFamilyCount> family_;
  std::vector<std::int32_t> textOffsets_;  // from 1, as wide as any text total needs
  std::vector<ColumnSlot> slots_;
};

// Checks the bindings and appends their names, separated by ", ", to the
// statement; 0 or the code of the first bad column.
std::int32_t qxCheckBindings(std::string& statement, const CeloxColumnBinding* bindings, std::int32_t nColumns);

// The smallest element count among the bindings: no row beyond it is touched.
std::int32_t qxSmallestElementCount(const CeloxColumnBinding* bindings, std::int32_t nColumns);

// Copies between a slot and element (row) of a column, row counting from 1.
void qxCopyFetchedValue(const CeloxColumnBinding& binding, const ColumnSlot& slot, SQLLEN indicator,
                        std::int32_t row);
void qxCopyValueForInsert(const CeloxColumnBinding& binding, const ColumnSlot& slot, std::int32_t row);

}  // namespace celox
