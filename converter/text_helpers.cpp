#include "converter/text_helpers.h"

#include <algorithm>
#include <optional>
#include <string>

#include "toolkit/core/number_format.h"
#include "toolkit/core/strings.h"

namespace {

constexpr char kBackslash = '\\';

// 1-based column of the last `c` within the first `length` characters; 0 when none.
int lastColumnOf(std::string_view s, int length, char c) {
  for (int i = length; i >= 1; --i) {
    if (s[static_cast<std::size_t>(i - 1)] == c) return i;
  }
  return 0;
}

// 1-based column of the first `c` after column `after`; 0 when none.
int nextColumnOf(std::string_view s, int after, char c) {
  for (int i = after + 1; i <= static_cast<int>(s.size()); ++i) {
    if (s[static_cast<std::size_t>(i - 1)] == c) return i;
  }
  return 0;
}

// Columns `first` to the end of s (empty when first is beyond it).
std::string_view from(std::string_view s, int first) {
  if (first > static_cast<int>(s.size())) return {};
  return s.substr(static_cast<std::size_t>(first - 1));
}

// The end of a path that no folder can be taken from any more, so that prefix,
// "...\" and the end fit in width + 1 characters.
std::string tailThatFits(std::string_view prefix, std::string_view rest, int width) {
  const int room = std::max(0, width + 1 - static_cast<int>(prefix.size()) - 4);
  const std::string_view tail = rest.substr(rest.size() - std::min<std::size_t>(rest.size(), room));
  return std::string(prefix) + "...\\" + std::string(tail);
}

}  // namespace

void FIT(std::string_view path, int width, TextField result) {
  // The path as the result can hold it, without trailing blanks.
  std::string work(text::trimmed(path.substr(0, std::min(path.size(), static_cast<std::size_t>(result.length())))));
  if (work.empty() || static_cast<int>(work.size()) <= width) {
    result.assign(work);
    return;
  }
  // Paths that begin with "\" (network paths among them) keep within width + 1
  // even when no folder is left to take away.
  const bool rooted = work.front() == kBackslash;
  while (static_cast<int>(work.size()) > width - 3) {
    const int first = nextColumnOf(work, 0, kBackslash);
    int second = first == 0 ? 0 : nextColumnOf(work, first, kBackslash);
    if (second != 0 && second <= 3) {
      // Both backslashes lie inside the three characters that are always kept:
      // take the folder after them instead, or nothing would ever go.
      second = nextColumnOf(work, 3, kBackslash);
    }
    if (second == 0) {
      if (rooted) {
        result.assign(tailThatFits(work.substr(0, 3), from(work, 4), width));
      } else {
        // Nothing left to take away: the name without its first three characters.
        result.assign(from(work, 4));
      }
      return;
    }
    work = work.substr(0, 3) + std::string(from(work, second + 1));
  }
  result.assign(work.substr(0, 3) + "...\\" + std::string(from(work, 4)));
}

void ROOT(TextField path) {
  const int last = lastColumnOf(path.view(), path.trimmedLength(), kBackslash);
  // Everything after the last backslash goes; without one the whole path does.
  path.part(last + 1, path.length()).blank();
}

namespace carrowmapper {
void FILE(std::string_view path, TextField name) {
  const int dot = lastColumnOf(path, text::trimmedLength(path), '.');
  const std::string base(path.substr(0, static_cast<std::size_t>(dot == 0 ? 0 : dot - 1)));
  const int slash = lastColumnOf(base, text::trimmedLength(base), kBackslash);
  name.assign(from(base, slash + 1));
}
}  // namespace carrowmapper

void EXTN(std::string_view path, TextField base, TextField extension) {
  const int dot = lastColumnOf(path, text::trimmedLength(path), '.');
  base.assign(path.substr(0, static_cast<std::size_t>(dot <= 1 ? 0 : dot - 1)));
  extension.assign(from(path, dot + 1));
  IStringLower(extension);
}

void UCASE(TextField text) {
  const int n = text.trimmedLength();
  for (int c = 1; c <= n; ++c) {
    const unsigned char code = static_cast<unsigned char>(text.column(c));
    // Code page 1252 puts each accented small letter 32 above its capital;
    // 247 is the division sign, whose place among the capitals is the times sign.
    const bool small = (code >= 'a' && code <= 'z') || (code >= 224 && code <= 254 && code != 247);
    if (small) text.column(c) = static_cast<char>(code - 32);
  }
}

void LJUST(float value, TextField result) {
  result.assign(formatF(value, 10, 5));
  IStringAlign(result, "L");
}

void CNUM(float value, TextField text, std::string_view format) {
  const std::optional<std::string> written = fortranFormat(value, format);
  // A format that cannot be used gives asterisks, like a value that does not fit.
  text.assign(written ? *written : std::string(static_cast<std::size_t>(text.length()), '*'));
  const std::size_t point = text.view().find('.');
  if (point != std::string_view::npos) text.data()[point] = ',';
  IStringAlign(text, "L");
}

void CDATA(std::string_view text, TextField result) {
  const std::string_view trimmed = text::trimmed(text);
  const bool special =
      std::any_of(trimmed.begin(), trimmed.end(), [](char c) { return c == '<' || c == '&' || c == ':'; });
  // "]]>" may not stand in plain element text either: such a text is wrapped too,
  // and the wrapper splits it.
  if (!special && trimmed.find("]]>") == std::string_view::npos) {
    result.assign(text);
    return;
  }
  constexpr std::string_view kOpen = "<![CDATA[";
  constexpr std::string_view kClose = "]]>";
  // A "]]>" inside the text would end the section early: close it after "]]" and
  // open a new one for the ">".
  constexpr std::string_view kSplitClose = "]]]]><![CDATA[>";
  const int room = result.length() - static_cast<int>(kOpen.size() + kClose.size());
  if (room < 0) {
    result.assign(std::string(kOpen) + std::string(trimmed));
    return;
  }
  // Built in place: the wrapper and what fits of the text always fit the field.
  result.blank();
  char* out = std::copy(kOpen.begin(), kOpen.end(), result.data());
  // The text up to each "]]>" is copied whole, as far as it fits: it is cut
  // between characters of the text, never inside a split.
  std::size_t inner = 0;
  const auto fits = static_cast<std::size_t>(room);
  std::size_t i = 0;
  while (i < trimmed.size() && inner < fits) {
    const std::size_t closing = std::min(trimmed.find(kClose, i), trimmed.size());
    const std::size_t plain = std::min(closing - i, fits - inner);
    out = std::copy_n(trimmed.data() + i, plain, out);
    inner += plain;
    i += plain;
    if (i < closing || closing == trimmed.size() || inner + kSplitClose.size() > fits) break;
    out = std::copy(kSplitClose.begin(), kSplitClose.end(), out);
    inner += kSplitClose.size();
    i += kClose.size();
  }
  std::copy(kClose.begin(), kClose.end(), out);
}
