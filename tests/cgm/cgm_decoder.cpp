#include "cgm_decoder.h"

#include <fstream>
#include <iterator>

namespace cgm_test {

int Element::word(std::size_t k) const {
  if (2 * k + 1 >= parameters.size()) return -99999;
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(parameters[2 * k] << 8 | parameters[2 * k + 1]));
}

std::uint8_t Element::byte(std::size_t k) const { return k < parameters.size() ? parameters[k] : 0xEE; }

std::string Element::string(std::size_t k, std::size_t* next) const {
  std::string out;
  if (k >= parameters.size()) return "<no string>";
  std::size_t at = k + 1;
  std::size_t n = parameters[k];
  if (n < 255) {
    for (std::size_t i = 0; i < n && at < parameters.size(); ++i) out += static_cast<char>(parameters[at++]);
  } else {
    bool more = true;
    while (more && at + 1 < parameters.size()) {
      const unsigned w = parameters[at] << 8 | parameters[at + 1];
      at += 2;
      more = (w & 0x8000) != 0;
      for (unsigned i = 0; i < (w & 0x7FFF) && at < parameters.size(); ++i) out += static_cast<char>(parameters[at++]);
    }
  }
  if (next != nullptr) *next = at;
  return out;
}

Decoded decode(const std::vector<std::uint8_t>& bytes) {
  Decoded d;
  std::size_t at = 0;
  auto word = [&](unsigned& w) {
    if (at + 2 > bytes.size()) return false;
    w = bytes[at] << 8 | bytes[at + 1];
    at += 2;
    return true;
  };
  auto fail = [&](const std::string& what) { d.error = what + " at byte " + std::to_string(at); };
  while (at < bytes.size()) {
    Element e;
    e.offset = at;
    unsigned header = 0;
    if (!word(header)) return fail("a header cut short"), d;
    e.elementClass = static_cast<int>(header >> 12);
    e.id = static_cast<int>((header >> 5) & 0x7F);
    unsigned length = header & 0x1F;
    bool more = false;
    if (length == 31) {
      e.longForm = true;
      unsigned w = 0;
      if (!word(w)) return fail("a long-form length cut short"), d;
      more = (w & 0x8000) != 0;
      length = w & 0x7FFF;
      e.partitionLengths.push_back(static_cast<int>(length));
    }
    for (;;) {
      if (at + length > bytes.size()) return fail("parameters of " + codeOf(e) + " run past the end"), d;
      e.parameters.insert(e.parameters.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at),
                          bytes.begin() + static_cast<std::ptrdiff_t>(at + length));
      at += length;
      if (length % 2 != 0) {
        if (at >= bytes.size()) return fail("a pad byte missing after " + codeOf(e)), d;
        if (bytes[at] != 0) return fail("a pad byte that is not zero after " + codeOf(e)), d;
        ++at;
      }
      if (!more) break;
      unsigned w = 0;
      if (!word(w)) return fail("a partition of " + codeOf(e) + " missing"), d;
      more = (w & 0x8000) != 0;
      length = w & 0x7FFF;
      e.partitionLengths.push_back(static_cast<int>(length));
    }
    d.elements.push_back(std::move(e));
  }
  return d;
}

std::vector<std::uint8_t> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string codeOf(const Element& e) { return std::to_string(e.elementClass) + "/" + std::to_string(e.id); }

std::vector<const Element*> all(const Decoded& d, int c, int i) {
  std::vector<const Element*> out;
  for (const Element& e : d.elements) {
    if (e.is(c, i)) out.push_back(&e);
  }
  return out;
}

int count(const Decoded& d, int c, int i) { return static_cast<int>(all(d, c, i).size()); }

}  // namespace cgm_test
