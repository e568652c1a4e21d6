#pragma once
// Symbol and colour lookups: search the first column of a table pair for a key
// and give the element at the same place of the second column.  The first match
// wins; when nothing matches, or n is 0 or less, the answer is the second
// column's first element, which makes every table's first entry its default.
// Text keys match a name when both are equal without their trailing blanks
// (case counts, leading blanks count).  Only the first n entries are searched,
// and never more than the columns hold.

#include <cstdint>
#include <span>
#include <string_view>

#include "converter/text_list.h"
#include "toolkit/core/fixed_text.h"

void LOOKUP_IC(std::int32_t key, int n, std::span<const std::int32_t> codes, ConstTextList names,
               TextField result);
std::int32_t LOOKUP_II(std::int32_t key, int n, std::span<const std::int32_t> codes,
                       std::span<const std::int32_t> values);
std::int32_t LOOKUP_CI(std::string_view key, int n, ConstTextList names, std::span<const std::int32_t> codes);
void LOOKUP_CC(std::string_view key, int n, ConstTextList names, ConstTextList values, TextField result);
