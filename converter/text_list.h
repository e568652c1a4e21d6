#pragma once
// Views of n blank-padded texts of one length lying end to end, as an array of
// FixedText<W> holds them: the name columns of the symbol tables and the
// unique-name lists of the writers.  Elements count from 1.

#include <array>
#include <span>
#include <string_view>
#include <vector>

#include "toolkit/core/fixed_text.h"

class ConstTextList {
 public:
  template <std::size_t W, std::size_t N>
  constexpr ConstTextList(const std::array<FixedText<W>, N>& texts)
      : data_(N == 0 ? nullptr : texts[0].data()), length_(static_cast<int>(W)), count_(static_cast<int>(N)) {
    static_assert(sizeof(FixedText<W>) == W, "texts must lie end to end");
  }
  template <std::size_t W>
  ConstTextList(const std::vector<FixedText<W>>& texts)
      : data_(texts.empty() ? nullptr : texts[0].data()),
        length_(static_cast<int>(W)),
        count_(static_cast<int>(texts.size())) {
    static_assert(sizeof(FixedText<W>) == W, "texts must lie end to end");
  }

  constexpr int count() const { return count_; }
  constexpr int elementLength() const { return length_; }
  // Element i, 1 <= i <= count().
  constexpr std::string_view element(int i) const {
    return {data_ + static_cast<std::size_t>(i - 1) * static_cast<std::size_t>(length_),
            static_cast<std::size_t>(length_)};
  }

 private:
  const char* data_;
  int length_;
  int count_;
};

class TextList {
 public:
  template <std::size_t W, std::size_t N>
  TextList(std::array<FixedText<W>, N>& texts)
      : data_(N == 0 ? nullptr : texts[0].data()), length_(static_cast<int>(W)), count_(static_cast<int>(N)) {
    static_assert(sizeof(FixedText<W>) == W, "texts must lie end to end");
  }
  template <std::size_t W>
  TextList(std::span<FixedText<W>> texts)
      : data_(texts.empty() ? nullptr : texts[0].data()),
        length_(static_cast<int>(W)),
        count_(static_cast<int>(texts.size())) {
    static_assert(sizeof(FixedText<W>) == W, "texts must lie end to end");
  }
  template <std::size_t W>
  TextList(std::vector<FixedText<W>>& texts)
      : data_(texts.empty() ? nullptr : texts[0].data()),
        length_(static_cast<int>(W)),
        count_(static_cast<int>(texts.size())) {
    static_assert(sizeof(FixedText<W>) == W, "texts must lie end to end");
  }

  int count() const { return count_; }
  int elementLength() const { return length_; }
  // Element i, 1 <= i <= count().
  TextField element(int i) const {
    return TextField(data_ + static_cast<std::size_t>(i - 1) * static_cast<std::size_t>(length_), length_);
  }
  // The elements from element `first` on, as a list of their own.
  TextList from(int first) const {
    return TextList(element(first).data(), length_, count_ - first + 1);
  }

 private:
  TextList(char* data, int length, int count) : data_(data), length_(length), count_(count) {}

  char* data_;
  int length_;
  int count_;
};
