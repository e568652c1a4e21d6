// The worksheet lookup with a wanted name that fills its whole limit, watched
// byte for byte: this program's array allocations carry a guard of known bytes
// behind their end, which must still be whole when they are given back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <new>

#include "celox_test_support.h"

namespace {

constexpr std::size_t kGuardLength = 16;
constexpr unsigned char kGuardByte = 0xA5;

// The array blocks handed out and not yet given back, by address, with their
// sizes; kept to the very end of the program, past every static's destruction.
std::map<void*, std::size_t>& guardedBlocks() {
  static auto* blocks = new std::map<void*, std::size_t>;
  return *blocks;
}
int damagedGuards = 0;

void* guardedAllocation(std::size_t size) noexcept {
  auto* block = static_cast<unsigned char*>(std::malloc(size + kGuardLength));
  if (!block) return nullptr;
  std::memset(block + size, kGuardByte, kGuardLength);
  guardedBlocks()[block] = size;
  return block;
}

void guardedRelease(void* block) noexcept {
  if (!block) return;
  const auto found = guardedBlocks().find(block);
  if (found != guardedBlocks().end()) {
    const auto* guard = static_cast<unsigned char*>(block) + found->second;
    for (std::size_t i = 0; i < kGuardLength; ++i)
      if (guard[i] != kGuardByte) {
        ++damagedGuards;
        break;
      }
    guardedBlocks().erase(found);
  }
  std::free(block);
}

}  // namespace

// The program's own array allocations (the library's objects are linked in).
void* operator new[](std::size_t size) {
  if (void* block = guardedAllocation(size)) return block;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return guardedAllocation(size); }
void operator delete[](void* block) noexcept { guardedRelease(block); }
void operator delete[](void* block, std::size_t) noexcept { guardedRelease(block); }

namespace {

using namespace celox_test;

TEST(NameLookup, ANameFillingTheWholeLimitIsNeverWrittenPastItsElement) {
  resetLibrary();
  ScratchFile book("inner_name_lookup.xls");
  CeloxConnection connection = CeloxCreateEXCELFile(book.c_str());
  ASSERT_NE(connection, nullptr);
  damagedGuards = 0;
  std::vector<char> name(kCeloxTableNameLength, 'x');
  EXPECT_EQ(CeloxDoesTableNameExist(connection, name.data()), 0);
  EXPECT_EQ(damagedGuards, 0);
  // Without a NUL, the name ends at its last non-blank: a sheet of the empty workbook.
  std::fill(name.begin(), name.end(), ' ');
  std::memcpy(name.data(), "tabelle2", 8);
  EXPECT_EQ(CeloxDoesTableNameExist(connection, name.data()), 1);
  EXPECT_EQ(damagedGuards, 0);
  CeloxCloseEXCELFile(connection);
}

}  // namespace
