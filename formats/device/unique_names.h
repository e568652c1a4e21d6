#pragma once
// The work lists of UNIQUENAME for one writer run: one 20-character name and one
// counter for each point of the list, created at the start of the run and gone
// at its end.

#include <cstdint>
#include <string_view>
#include <vector>

#include "converter/identifiers.h"
#include "toolkit/core/fixed_text.h"

namespace device {

class UniqueNames {
 public:
  // Makes room for n names.  False, after the "Could not allocate arrays." box
  // and its debug line, when the memory cannot be had.
  bool allocate(int n);

  // UNIQUENAME of the candidate for point `index` (1-based) of this run.
  template <std::size_t N>
  void make(std::string_view candidate, int maxLength, int index, FixedText<N>& result) {
    UNIQUENAME(candidate, maxLength, index, names_, counts_, static_cast<int>(counts_.size()), firsts_,
               result);
  }

 private:
  std::vector<FixedText<20>> names_;
  std::vector<std::int32_t> counts_;
  UniqueNameIndex firsts_;
};

}  // namespace device
