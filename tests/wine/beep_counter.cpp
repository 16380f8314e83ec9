#include "wine/beep_counter.h"

#include <cstring>

namespace tarnvex::testing {

namespace {

int g_beeps = 0;

// The module's import address table entry of user32's MessageBeep, or null.
void** ImportSlot(HMODULE module) {
  auto* base = reinterpret_cast<BYTE*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (imports.VirtualAddress == 0) return nullptr;
  for (auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       library->Name != 0; ++library) {
    if (_stricmp(reinterpret_cast<const char*>(base + library->Name), "user32.dll") != 0) continue;
    auto* name = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->OriginalFirstThunk);
    auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
    for (; name->u1.AddressOfData != 0; ++name, ++slot) {
      if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal)) continue;
      const auto* by_name =
          reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(by_name->Name), "MessageBeep") == 0) {
        return reinterpret_cast<void**>(&slot->u1.Function);
      }
    }
  }
  return nullptr;
}

void WriteSlot(void** slot, void* value) {
  DWORD protection = 0;
  VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
  *slot = value;
  VirtualProtect(slot, sizeof *slot, protection, &protection);
}

}  // namespace

BeepCounter::BeepCounter(HMODULE module) {
  if (module == nullptr) return;
  slot_ = ImportSlot(module);
  if (slot_ == nullptr) return;
  g_beeps = 0;
  original_ = *slot_;
  WriteSlot(slot_, reinterpret_cast<void*>(&Counted));
}

BeepCounter::~BeepCounter() {
  if (slot_ != nullptr) WriteSlot(slot_, original_);
}

int BeepCounter::beeps() const { return g_beeps; }

BOOL WINAPI BeepCounter::Counted(UINT) {
  ++g_beeps;
  return TRUE;
}

}  // namespace tarnvex::testing
