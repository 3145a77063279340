// The plug-in's heap is the host's: every global allocation operator goes through the SP
// Basic Suite, which PluginMain stores from each message. Before the first message there is
// no heap and every allocation yields null; no form throws, callers test for null (the
// module is compiled with -fcheck-new so that new-expressions do too). The one exception is
// the plain forms inside an ai::ThrowingHeap, where the C++ runtime allocates.
//
// Only this module's code reaches these operators: the module exports them but binds its
// own references to them, and the host loads it with RTLD_LOCAL, so the host's allocations
// stay its own.
#include <cstddef>
#include <new>

#include "host/IAIUnicodeString.h"
#include "shell/DateSuites.h"

#define DATE_EXPORT __attribute__((visibility("default")))

namespace {

void* HostBlock(std::size_t size) noexcept {
  if (sSPBasic == nullptr) return nullptr;
  void* block = nullptr;
  if (sSPBasic->AllocateBlock(size, &block) != kNoErr) return nullptr;
  return block;
}

void GiveBack(void* block) noexcept {
  if (sSPBasic == nullptr || block == nullptr) return;
  sSPBasic->FreeBlock(block);
}

// Inside an ai::ThrowingHeap, where the C++ runtime allocates, a refusal throws.
void* HostBlockOrThrow(std::size_t size) {
  void* block = HostBlock(size);
  if (block == nullptr && ai::gThrowOnRefusal) throw std::bad_alloc();
  return block;
}

}  // namespace

DATE_EXPORT void* operator new(std::size_t size) { return HostBlockOrThrow(size); }
DATE_EXPORT void* operator new[](std::size_t size) { return HostBlockOrThrow(size); }
DATE_EXPORT void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return HostBlock(size); }
DATE_EXPORT void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return HostBlock(size); }

DATE_EXPORT void operator delete(void* block) noexcept { GiveBack(block); }
DATE_EXPORT void operator delete[](void* block) noexcept { GiveBack(block); }
DATE_EXPORT void operator delete(void* block, const std::nothrow_t&) noexcept { GiveBack(block); }
DATE_EXPORT void operator delete[](void* block, const std::nothrow_t&) noexcept { GiveBack(block); }

// The sized forms are not exported: only the module's private copy of the C++ runtime calls
// them, and they must lead to the same host release, never to a heap of the host's.
void operator delete(void* block, std::size_t) noexcept { GiveBack(block); }
void operator delete[](void* block, std::size_t) noexcept { GiveBack(block); }
