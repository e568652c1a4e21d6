#include "support/beep_counter.h"

#include <cstring>

namespace ui {

namespace {

int beeps = 0;

BOOL WINAPI countedBeep(UINT) {
  ++beeps;
  return TRUE;
}

// The program's import address table entry of a function of a DLL.
void** importSlotOf(const char* dll, const char* function) {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
  const FARPROC wanted = GetProcAddress(GetModuleHandleA(dll), function);
  if (base == nullptr || wanted == nullptr) return nullptr;
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (directory.VirtualAddress == 0) return nullptr;
  for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress); entry->Name != 0;
       ++entry) {
    if (lstrcmpiA(reinterpret_cast<const char*>(base + entry->Name), dll) != 0) continue;
    for (auto* thunk = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk); thunk->u1.Function != 0;
         ++thunk) {
      if (reinterpret_cast<FARPROC>(thunk->u1.Function) == wanted) return reinterpret_cast<void**>(&thunk->u1.Function);
    }
  }
  return nullptr;
}

void writeSlot(void** slot, void* value) {
  DWORD previous = 0;
  VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &previous);
  *slot = value;
  VirtualProtect(slot, sizeof(void*), previous, &previous);
}

}  // namespace

BeepCounter::BeepCounter() {
  beeps = 0;
  slot_ = importSlotOf("user32.dll", "MessageBeep");
  if (slot_ == nullptr) return;
  original_ = *slot_;
  writeSlot(slot_, reinterpret_cast<void*>(&countedBeep));
}

BeepCounter::~BeepCounter() {
  if (slot_ != nullptr) writeSlot(slot_, original_);
}

int BeepCounter::count() const { return beeps; }

}  // namespace ui
