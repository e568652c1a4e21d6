#include "converter/lookups.h"

#include <algorithm>

namespace {

// Entries that may be searched: n, bounded by both columns.
int searchable(int n, int firstColumn, int secondColumn) {
  return std::max(0, std::min({n, firstColumn, secondColumn}));
}

// 1-based position of the first code equal to the key among the first `count`, else 1.
int positionOfCode(std::int32_t key, int count, std::span<const std::int32_t> codes) {
  for (int i = 1; i <= count; ++i) {
    if (codes[static_cast<std::size_t>(i - 1)] == key) return i;
  }
  return 1;
}

// An entry equals the key when it begins with the trimmed key and holds only
// blanks after it; the key, often a long padded field, is trimmed once.
int positionOfName(std::string_view key, int count, ConstTextList names) {
  const std::string_view wanted = text::trimmed(key);
  for (int i = 1; i <= count; ++i) {
    const std::string_view name = names.element(i);
    if (name.size() < wanted.size() || (!wanted.empty() && name[0] != wanted[0])) continue;
    if (name.substr(0, wanted.size()) == wanted && text::isBlank(name.substr(wanted.size()))) return i;
  }
  return 1;
}

}  // namespace

void LOOKUP_IC(std::int32_t key, int n, std::span<const std::int32_t> codes, ConstTextList names,
               TextField result) {
  const int count = searchable(n, static_cast<int>(codes.size()), names.count());
  if (names.count() == 0) {
    result.blank();
    return;
  }
  result.assign(names.element(positionOfCode(key, count, codes)));
}

std::int32_t LOOKUP_II(std::int32_t key, int n, std::span<const std::int32_t> codes,
                       std::span<const std::int32_t> values) {
  const int count = searchable(n, static_cast<int>(codes.size()), static_cast<int>(values.size()));
  if (values.empty()) return 0;
  return values[static_cast<std::size_t>(positionOfCode(key, count, codes) - 1)];
}

std::int32_t LOOKUP_CI(std::string_view key, int n, ConstTextList names, std::span<const std::int32_t> codes) {
  const int count = searchable(n, names.count(), static_cast<int>(codes.size()));
  if (codes.empty()) return 0;
  return codes[static_cast<std::size_t>(positionOfName(key, count, names) - 1)];
}

void LOOKUP_CC(std::string_view key, int n, ConstTextList names, ConstTextList values, TextField result) {
  const int count = searchable(n, names.count(), values.count());
  if (values.count() == 0) {
    result.blank();
    return;
  }
  result.assign(values.element(positionOfName(key, count, names)));
}
