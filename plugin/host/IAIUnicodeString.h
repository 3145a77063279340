// Host Unicode strings, the counted buffers the host fills, the host-error exception and
// the allocator of the host's memory blocks.
//
// The wrappers hold one host handle each and give it back in their destructor; a failing
// host call becomes an ai::Error carrying the host's code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <type_traits>

#include "hostapi/HostAPI.h"

namespace ai {

// The module's operator new answers null when the host refuses a block, as the host's
// plug-ins expect, but the C++ runtime's own strings and containers write through whatever
// their allocation returns. Code that lets the runtime allocate does it inside a
// ThrowingHeap, where a refusal throws std::bad_alloc instead.
extern bool gThrowOnRefusal;
class ThrowingHeap {
 public:
  ThrowingHeap() noexcept : fPrevious(gThrowOnRefusal) { gThrowOnRefusal = true; }
  ~ThrowingHeap() { gThrowOnRefusal = fPrevious; }
  ThrowingHeap(const ThrowingHeap&) = delete;
  ThrowingHeap& operator=(const ThrowingHeap&) = delete;

 private:
  bool fPrevious;
};

// A host error code thrown by the wrappers; DatePlugIn::Message turns it back into the code.
class Error : public std::exception {
 public:
  explicit Error(int32_t code) noexcept : fCode(code) {}
  operator long() const noexcept { return fCode; }
  const char* what() const noexcept override { return "host error"; }

 private:
  int32_t fCode;
};

// Throws ai::Error(code) for any code but 0.
void check_result(ASErr code);

// Blocks of the SP Blocks Suite: the memory the host fills for the wrappers.
class SPAlloc {
 public:
  // Throws ai::Error("!MEM") whatever the host's own code was.
  static void* AllocateBlock(size_t size);
  static void DeleteBlock(void* block);
};

// A counted character buffer that the host fills in place: its data is exactly the host's
// AICharBufferData, so the host may free the block it holds and put a new one there.
template <class T = char, class Size = unsigned long, class Alloc = SPAlloc>
class AutoBuffer {
  static_assert(std::is_same_v<T, char>, "the host fills character buffers only");

 public:
  explicit AutoBuffer(Size count = 0) : fData{static_cast<uint32_t>(count), nullptr} {
    if (fData.count != 0) fData.buffer = static_cast<T*>(Alloc::AllocateBlock(fData.count * sizeof(T)));
  }
  ~AutoBuffer() {
    if (fData.buffer != nullptr) Alloc::DeleteBlock(fData.buffer);
  }
  AutoBuffer(const AutoBuffer&) = delete;
  AutoBuffer& operator=(const AutoBuffer&) = delete;

  T* GetBuffer() const { return fData.buffer; }
  Size GetCount() const { return fData.count; }
  // What the host operations fill.
  AICharBufferData* GetHostData() { return &fData; }

 private:
  AICharBufferData fData;
};

// A host Unicode string. Strings are assigned (the host copies the characters), never
// copy-constructed; a temporary may be moved from.
class UnicodeString {
 public:
  UnicodeString() noexcept = default;
  // A new host string from the text in the encoding; a null text makes no host call.
  UnicodeString(const char* text, AICharacterEncoding encoding);
  // Takes over a string the host created for the caller.
  explicit UnicodeString(AIUnicodeStringHandle handle) noexcept : fHandle(handle) {}
  UnicodeString(UnicodeString&& other) noexcept : fHandle(other.fHandle) { other.fHandle = nullptr; }
  UnicodeString(const UnicodeString&) = delete;
  ~UnicodeString();

  UnicodeString& operator=(const UnicodeString& other);

  // Converts into buffer; returns the number of characters.
  size_t getAs(AICharacterEncoding encoding, AutoBuffer<char, unsigned long, SPAlloc>& buffer) const;
  std::string getInStdString(AICharacterEncoding encoding) const;
  // The text in the platform encoding (Mac Roman).
  std::string as_Platform() const;

  AIUnicodeStringHandle GetHandle() const { return fHandle; }
  // For host operations that fill a string: they create one when the handle is null.
  AIUnicodeStringHandle* GetHandleAddress() { return &fHandle; }

 private:
  AIUnicodeStringHandle fHandle = nullptr;
};

}  // namespace ai
