#pragma once
// A test-side reader of binary CGM, written from the encoding rules alone so
// that it checks the writers rather than sharing their code: it walks the
// elements (class, id, length, the long form and its partitions, the pad
// byte) and decodes the parameters of the elements this system writes.

#include <cstdint>
#include <string>
#include <vector>

namespace cgm_test {

struct Element {
  int elementClass = 0;
  int id = 0;
  std::size_t offset = 0;               // of the header word in the stream
  bool longForm = false;
  std::vector<int> partitionLengths;    // long form only
  std::vector<std::uint8_t> parameters; // every partition's bytes, without pads
  bool is(int c, int i) const { return elementClass == c && id == i; }
  // 16-bit signed word k (0-based) of the parameters.
  int word(std::size_t k) const;
  std::uint8_t byte(std::size_t k) const;
  // The string parameter starting at byte k (short or long string form);
  // `next` receives the byte after it.
  std::string string(std::size_t k, std::size_t* next = nullptr) const;
};

struct Decoded {
  std::vector<Element> elements;
  std::string error;  // empty when the stream is well formed
};

// Walks the whole stream.  Malformed input (a length running past the end, a
// partition whose continuation never ends, a non-zero pad byte) stops the walk
// with an error that says where.
Decoded decode(const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> readFile(const std::string& path);

// A short name such as "4/1" for messages.
std::string codeOf(const Element& e);

// Elements of one class and id.
std::vector<const Element*> all(const Decoded& d, int c, int i);
int count(const Decoded& d, int c, int i);

}  // namespace cgm_test
