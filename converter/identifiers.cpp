#include "converter/identifiers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <numbers>
#include <string>

namespace {

constexpr int kWorkLength = 128;
constexpr int kLettersPerWord = 3;

}  // namespace

void UCIDNT(std::string_view text, TextField result) {
  FixedText<kWorkLength> work;
  int kept = 0;
  int blanks = 0;
  for (char c : text::trimmed(text)) {
    if (kept == kWorkLength) break;
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (!letter && c != ' ') continue;
    if (c == ' ') ++blanks;
    work.column(++kept) = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
  }
  if (blanks == 0) {
    result.assign(work.view());
  } else {
    // The first letters of each word, the words parted by blanks.
    std::string identifier;
    const std::string_view letters = work.trimmed();
    std::size_t i = 0;
    while (i < letters.size()) {
      while (i < letters.size() && letters[i] == text::kBlank) ++i;
      const std::size_t start = i;
      while (i < letters.size() && letters[i] != text::kBlank) ++i;
      identifier.append(letters.substr(start, std::min<std::size_t>(i - start, kLettersPerWord)));
    }
    result.assign(identifier);
  }
  if (result.trimmedLength() == 0) result.assign("W");
}

int UniqueNameIndex::firstBefore(std::string_view beginning, int index, int maxlen, const TextList& names) {
  const char* list = names.element(1).data();
  if (list != list_ || maxlen != maxlen_ || index <= known_) {
    firsts_.clear();
    list_ = list;
    maxlen_ = maxlen;
    known_ = 0;
  }
  // The entry that first had this beginning, or 0 when it is new (and then
  // `entry` has it first).
  const auto firstWith = [this](std::string_view key, int entry) {
    key = text::trimmed(key);
    if (const auto found = firsts_.find(key); found != firsts_.end()) return found->second;
    firsts_.emplace(std::string(key), entry);
    return 0;
  };
  // Entries the run skipped still take part, with whatever they hold.
  while (known_ < index - 1) {
    ++known_;
    firstWith(names.element(known_).view().substr(0, static_cast<std::size_t>(maxlen)), known_);
  }
  known_ = index;
  return firstWith(beginning, index);
}

void UNIQUENAME(std::string_view name, int maxlen, int index, TextList names, std::span<std::int32_t> counts,
                int n, UniqueNameIndex& firsts, TextField result) {
  const int entries = std::min({n, names.count(), static_cast<int>(counts.size())});
  maxlen = std::clamp(maxlen, 0, names.elementLength());
  // The first maxlen characters; the blanks that pad a shorter name to maxlen
  // are the blanks that assigning pads with.
  const std::string_view candidate = name.substr(0, std::min(name.size(), static_cast<std::size_t>(maxlen)));
  if (index < 1 || index > entries) {
    result.assign(candidate);
    return;
  }
  names.element(index).assign(name);
  counts[static_cast<std::size_t>(index - 1)] = 0;
  // Against the earlier candidates themselves, not the names already given out;
  // all that share their first maxlen characters count on the first one's counter.
  const int k = firsts.firstBefore(candidate, index, maxlen, names);
  if (k == 0) {
    result.assign(candidate);
    return;
  }
  std::int32_t& count = counts[static_cast<std::size_t>(k - 1)];
  ++count;
  // The name cut to leave room for the number, without its trailing blanks, then
  // the number; the whole within maxlen characters.
  std::array<char, 12> number;
  const char* const numberEnd = std::to_chars(number.data(), number.data() + number.size(), count).ptr;
  const std::string_view digits(number.data(), static_cast<std::size_t>(numberEnd - number.data()));
  const auto stemRoom = static_cast<std::size_t>(std::max(maxlen - static_cast<int>(digits.size()), 0));
  const std::string_view stem = text::trimmed(name.substr(0, std::min(name.size(), stemRoom)));
  result.assign(stem);
  const int stemLength = static_cast<int>(stem.size());
  result.part(stemLength + 1, std::min(maxlen, result.length()) - stemLength).assign(digits);
}

void FLAT_EARTH(float lat1, float lon1, float lat2, float lon2, float& distance) {
  // The program's own constants, kept as the 32-bit reals they are.
  constexpr float kEquatorialRadiusKm = 6378.137f;
  constexpr float kEccentricitySquared = 0.0066831387f;
  constexpr float kRadiansPerDegree = 0.0174532f;
  constexpr float kMetresPerKm = 1000.0f;
  constexpr double kExact = std::numbers::pi / 180.0;
  const double a = kEquatorialRadiusKm;
  const double e2 = kEccentricitySquared;
  const double sine = std::sin(lat1 * kExact);
  const double w = 1.0 - e2 * sine * sine;
  const double meridianRadius = a * (1.0 - e2) / w;
  const double normalRadius = a / std::sqrt(w);
  const double dy = (static_cast<double>(lat2) - lat1) * kRadiansPerDegree * meridianRadius;
  const double dx = (static_cast<double>(lon2) - lon1) * kRadiansPerDegree * normalRadius * std::cos(lat1 * kExact);
  distance = static_cast<float>(std::sqrt(dx * dx + dy * dy) * kMetresPerKm);
}
