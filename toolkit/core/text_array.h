#pragma once
// A caller's array of blank-padded texts of one length, as the listing routines
// fill it: elements are numbered from 1 and each is a TextField.

#include <array>
#include <cstddef>
#include <span>
#include <utility>

#include "toolkit/core/fixed_text.h"

class TextArray {
 public:
  constexpr TextArray(char* data, int elementLength, int count)
      : data_(data), elementLength_(elementLength), count_(count) {}

  template <std::size_t N>
  TextArray(std::span<FixedText<N>> items)
      : data_(items.empty() ? nullptr : items.front().data()),
        elementLength_(static_cast<int>(N)),
        count_(static_cast<int>(items.size())) {
    static_assert(sizeof(FixedText<N>) == N, "elements must lie back to back");
  }
  template <std::size_t N, std::size_t M>
  TextArray(std::array<FixedText<N>, M>& items) : TextArray(std::span<FixedText<N>>(items)) {}

  constexpr int count() const { return count_; }
  constexpr int elementLength() const { return elementLength_; }

  // Element i, 1 <= i <= count().
  constexpr TextField operator[](int i) const {
    return TextField(data_ + static_cast<std::ptrdiff_t>(i - 1) * elementLength_, elementLength_);
  }

  void swap(int i, int j) const {
    if (i == j) return;
    std::swap_ranges((*this)[i].data(), (*this)[i].data() + elementLength_, (*this)[j].data());
  }

 private:
  char* data_;
  int elementLength_;
  int count_;
};
