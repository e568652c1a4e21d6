#pragma once
// Short unique names for formats that limit waypoint names, and the plane
// distance of the route and track summaries.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

#include "converter/text_list.h"
#include "toolkit/core/fixed_text.h"

// An upper-case identifier of letters only: the letters run together when the
// text holds one word ("London" gives LONDON), else the first three letters of
// each word ("Tower Bridge" gives TOWBRI); "W" when the text holds no letter.
void UCIDNT(std::string_view text, TextField result);

// Where UNIQUENAME finds an earlier candidate with the same first maxlen
// characters in one look-up, instead of comparing with every entry before: the
// first entry of the work lists that has each such beginning.  It lives beside
// the work lists for one output run and learns their entries as the running
// index passes them.  A run that begins again at index 1 or goes back, another
// maxlen or other lists make it start afresh from what the lists hold.
class UniqueNameIndex {
 public:
  // The first of entries 1..index-1 of names whose first maxlen characters are
  // `beginning`, or 0 when none is; entry `index` (holding `beginning`) is known
  // from now on.
  int firstBefore(std::string_view beginning, int index, int maxlen, const TextList& names);

 private:
  // Looked up by views: a beginning already known costs no new string.
  struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
  };
  // Keys without their trailing blanks: beginnings of maxlen characters are
  // equal exactly when they are equal so, and short keys need no memory of
  // their own.
  std::unordered_map<std::string, int, TextHash, std::equal_to<>> firsts_;
  const char* list_ = nullptr;
  int maxlen_ = -1;
  int known_ = 0;  // entries 1..known_ are in firsts_
};

// The first maxlen characters of the name, numbered when they equal those of an
// earlier candidate of the same output run: PARIS, PARIS, PARIS give PARIS,
// PARIS1, PARIS2 (maxlen 6).  names and counts belong to the caller for the whole
// run and are indexed by the running index 1, 2, 3 ... of the point written; n is
// their length; `firsts` is kept with them for the run.  An index outside 1 to n
// stores nothing and numbers nothing.
void UNIQUENAME(std::string_view name, int maxlen, int index, TextList names, std::span<std::int32_t> counts,
                int n, UniqueNameIndex& firsts, TextField result);

// Distance in metres between two points by a plane approximation around the
// first one; longitudes are not wrapped.
void FLAT_EARTH(float lat1, float lon1, float lat2, float lon2, float& distance);
