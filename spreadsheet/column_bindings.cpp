#include "spreadsheet/column_bindings.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace celox {
namespace {

constexpr std::int32_t kNameLength = 64;

constexpr CTypeRule kText{TypeFamily::Text, 0, SQL_C_CHAR, SQL_C_CHAR, SQL_CHAR, 0, 0};
constexpr CTypeRule kNumeric{TypeFamily::Numeric, 19, SQL_C_NUMERIC, SQL_C_NUMERIC, SQL_NUMERIC, 16, 38};
constexpr CTypeRule kReal{TypeFamily::Real, 4, SQL_C_FLOAT, SQL_C_FLOAT, SQL_DOUBLE, 16, 6};
constexpr CTypeRule kDouble{TypeFamily::Double, 8, SQL_C_DOUBLE, SQL_C_DOUBLE, SQL_DOUBLE, 16, 15};
constexpr CTypeRule kTimestamp11{TypeFamily::Timestamp, 16, SQL_C_TIMESTAMP, SQL_C_TIMESTAMP, SQL_TIMESTAMP, 16, 0};
constexpr CTypeRule kTimestamp93{TypeFamily::Timestamp, 16, SQL_C_TYPE_TIMESTAMP, SQL_C_TIMESTAMP, SQL_TIMESTAMP, 16, 0};
constexpr CTypeRule kDate{TypeFamily::Date, 6, SQL_C_TYPE_DATE, SQL_C_DATE, SQL_DATE, 6, 0};
constexpr CTypeRule kTime{TypeFamily::Time, 6, SQL_C_TYPE_TIME, SQL_C_TYPE_TIME, SQL_TYPE_TIME, 6, 0};
constexpr CTypeRule kBit{TypeFamily::Tiny, 1, SQL_C_BIT, SQL_C_BIT, SQL_BIT, 1, 1};
constexpr CTypeRule kTiny{TypeFamily::Tiny, 1, SQL_C_STINYINT, SQL_C_BIT, SQL_BIT, 1, 1};
constexpr CTypeRule kShort{TypeFamily::Short, 2, SQL_C_SSHORT, SQL_C_SSHORT, SQL_SMALLINT, 6, 0};
constexpr CTypeRule kLong{TypeFamily::Long, 4, SQL_C_SLONG, SQL_C_SLONG, SQL_INTEGER, 11, 0};

struct CTypeEntry {
  std::int32_t code;
  const CTypeRule* rule;
};
constexpr CTypeEntry kAccepted[] = {
    {SQL_C_CHAR, &kText},          {SQL_VARCHAR, &kText},           {SQL_C_NUMERIC, &kNumeric},
    {SQL_C_FLOAT, &kReal},         {SQL_C_DOUBLE, &kDouble},        {SQL_C_TIMESTAMP, &kTimestamp11},
    {SQL_C_TYPE_TIMESTAMP, &kTimestamp93}, {SQL_C_TYPE_DATE, &kDate}, {SQL_C_TYPE_TIME, &kTime},
    {SQL_C_BIT, &kBit},            {SQL_C_STINYINT, &kTiny},        {SQL_C_UTINYINT, &kTiny},
    {SQL_C_SSHORT, &kShort},       {SQL_C_USHORT, &kShort},         {SQL_C_SLONG, &kLong},
    {SQL_C_ULONG, &kLong},
};
constexpr std::int32_t kNotSupported[] = {SQL_C_BINARY, SQL_C_GUID, SQL_C_SBIGINT, SQL_C_UBIGINT};

template <typename T>
bool allocateVector(std::vector<T>& v, std::size_t n) {
  try {
    v.assign(n, T{});
    return true;
  } catch (const std::bad_alloc&) {
    qxLastError = kAllocationFailed;
    return false;
  }
}

// The order in which the family buffers are allocated.
constexpr TypeFamily kAllocationOrder[] = {TypeFamily::Tiny, TypeFamily::Short, TypeFamily::Long,
                                           TypeFamily::Real, TypeFamily::Double, TypeFamily::Text,
                                           TypeFamily::Date, TypeFamily::Time, TypeFamily::Timestamp,
                                           TypeFamily::Numeric};

std::uint8_t* element(const CeloxColumnBinding& b, std::int32_t size, std::int32_t row) {
  return static_cast<std::uint8_t*>(b.data) + static_cast<std::ptrdiff_t>(row - 1) * size;
}

}  // namespace

CTypeLookup qxLookupCType(std::int32_t cType) {
  for (const auto& e : kAccepted)
    if (e.code == cType) return {e.rule, 0};
  for (std::int32_t refused : kNotSupported)
    if (refused == cType) return {nullptr, qxERRORNotSupported};
  return {nullptr, qxERRORInvalidParameter};
}

std::int32_t qxElementSize(const CeloxColumnBinding& binding) {
  const CTypeRule* rule = qxLookupCType(binding.cType).rule;
  return rule->family == TypeFamily::Text ? binding.elementLength : rule->elementSize;
}

std::int32_t qxCheckBindings(std::string& statement, const CeloxColumnBinding* bindings, std::int32_t nColumns) {
  for (std::int32_t c = 0; c < nColumns; ++c) {
    const CeloxColumnBinding& b = bindings[c];
    const int n = qxBoundedTextLength(b.columnName, kNameLength);
    if (n == 0) return qxERRORNameMissing;
    if (statement.size() + static_cast<std::size_t>(n) + 3 > static_cast<std::size_t>(kNameLimit))
      return qxERRORBufferTooSmall;
    if (c > 0) statement += ", ";
    statement.append(b.columnName, static_cast<std::size_t>(n));
    const CTypeLookup type = qxLookupCType(b.cType);
    if (!type.rule) return type.refusal;
    if (type.rule->family == TypeFamily::Text && b.elementLength < 1) return qxERRORInvalidParameter;
    if (!b.data) return qxERRORInvalidParameter;
    if (b.elementCount < 1) return qxERRORInvalidParameter;
  }
  return 0;
}

std::int32_t qxSmallestElementCount(const CeloxColumnBinding* bindings, std::int32_t nColumns) {
  std::int32_t smallest = bindings[0].elementCount;
  for (std::int32_t c = 1; c < nColumns; ++c) smallest = std::min(smallest, bindings[c].elementCount);
  return smallest;
}

bool TransferBuffers::allocate(const CeloxColumnBinding* bindings, std::int32_t nColumns) {
  std::array<std::size_t, kFamilyCount> counts{}, slotSize{};
  std::size_t textTotal = 0, textColumns = 0;
  for (std::int32_t c = 0; c < nColumns; ++c) {
    const CTypeRule* rule = qxLookupCType(bindings[c].cType).rule;
    ++counts[static_cast<std::size_t>(rule->family)];
    slotSize[static_cast<std::size_t>(rule->family)] = static_cast<std::size_t>(rule->elementSize);
    if (rule->family == TypeFamily::Text) {
      textTotal += static_cast<std::size_t>(bindings[c].elementLength);
      ++textColumns;
    }
  }
  if (!allocateVector(indicators_, static_cast<std::size_t>(nColumns))) return false;
  for (TypeFamily f : kAllocationOrder) {
    const auto i = static_cast<std::size_t>(f);
    if (counts[i] == 0) continue;
    if (f == TypeFamily::Text) {
      if (!allocateVector(family_[i], textTotal) || !allocateVector(textOffsets_, textColumns)) return false;
      continue;
    }
    if (!allocateVector(family_[i], counts[i] * slotSize[i])) return false;
  }
  // The binding walk: slot k of a family for its k-th column; texts back to back.
  std::array<std::size_t, kFamilyCount> next{};
  std::int32_t textPosition = 1;
  std::size_t textColumn = 0;
  try {
    slots_.clear();
    for (std::int32_t c = 0; c < nColumns; ++c) {
      const CTypeRule* rule = qxLookupCType(bindings[c].cType).rule;
      const auto f = static_cast<std::size_t>(rule->family);
      const std::int32_t size = qxElementSize(bindings[c]);
      std::uint8_t* slot;
      if (rule->family == TypeFamily::Text) {
        textOffsets_[textColumn++] = textPosition;
        slot = family_[f].data() + (textPosition - 1);
        textPosition += size;
      } else {
        slot = family_[f].data() + next[f]++ * static_cast<std::size_t>(size);
      }
      slots_.push_back({rule->family, size, slot});
    }
  } catch (const std::bad_alloc&) {
    qxLastError = kAllocationFailed;
    return false;
  }
  qxLastError = 0;
  return true;
}

void qxCopyFetchedValue(const CeloxColumnBinding& binding, const ColumnSlot& slot, SQLLEN indicator,
                        std::int32_t row) {
  std::uint8_t* target = element(binding, slot.elementSize, row);
  if (indicator == SQL_NULL_DATA)
    std::memset(target, 0, static_cast<std::size_t>(slot.elementSize));
  else
    std::memcpy(target, slot.slot, static_cast<std::size_t>(slot.elementSize));
}

void qxCopyValueForInsert(const CeloxColumnBinding& binding, const ColumnSlot& slot, std::int32_t row) {
  std::memcpy(slot.slot, element(binding, slot.elementSize, row), static_cast<std::size_t>(slot.elementSize));
}

}  // namespace celox
