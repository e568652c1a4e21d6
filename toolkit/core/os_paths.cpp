#include "toolkit/core/os_paths.h"

#include "toolkit/core/strings.h"

std::string_view significantText(std::string_view text) {
  const int first = YYFirstNonBlank(text);
  if (first == 0) return {};
  const int last = text::trimmedLength(text);
  return text.substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(last - first + 1));
}

std::string_view directoryPart(std::string_view name) {
  const std::size_t at = name.find_last_of("\\:");
  return at == std::string_view::npos ? std::string_view{} : name.substr(0, at + 1);
}
