#include "host/IAIUnicodeString.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "shell/DateSuites.h"

namespace ai {

bool gThrowOnRefusal = false;

void check_result(ASErr code) {
  if (code != kNoErr) throw Error(code);
}

void* SPAlloc::AllocateBlock(size_t size) {
  void* block = nullptr;
  if (sSPBlocks->AllocateBlock(size, "ai::SPAlloc::AllocateBlock", &block) != kNoErr) throw Error(kOutOfMemoryErr);
  return block;
}

void SPAlloc::DeleteBlock(void* block) {
  if (block != nullptr) sSPBlocks->FreeBlock(block);
}

UnicodeString::UnicodeString(const char* text, AICharacterEncoding encoding) {
  if (text == nullptr) return;
  AIUnicodeStringHandle handle = nullptr;
  ASErr error = sAIUnicodeString->Initialize(&handle, text, static_cast<int32_t>(std::strlen(text)), encoding);
  if (error != kNoErr && handle != nullptr) sAIUnicodeString->Destroy(handle);
  check_result(error);
  fHandle = handle;
}

UnicodeString::~UnicodeString() {
  if (fHandle != nullptr) sAIUnicodeString->Destroy(fHandle);
}

UnicodeString& UnicodeString::operator=(const UnicodeString& other) {
  if (this != &other) check_result(sAIUnicodeString->Copy(&fHandle, other.fHandle));
  return *this;
}

size_t UnicodeString::getAs(AICharacterEncoding encoding, AutoBuffer<char, unsigned long, SPAlloc>& buffer) const {
  uint32_t count = 0;
  check_result(sAIUnicodeString->GetAs(fHandle, encoding, buffer.GetHostData(), &count));
  return count;
}

std::string UnicodeString::getInStdString(AICharacterEncoding encoding) const {
  AutoBuffer<char, unsigned long, SPAlloc> buffer;
  size_t count = getAs(encoding, buffer);
  // Never read past what the host put in the buffer, whatever count it announced.
  count = std::min<size_t>(count, buffer.GetBuffer() == nullptr ? 0 : buffer.GetCount());
  if (count == 0) return std::string();
  try {
    ThrowingHeap heap;
    return std::string(buffer.GetBuffer(), count);
  } catch (const std::bad_alloc&) {
    throw Error(kOutOfMemoryErr);
  }
}

std::string UnicodeString::as_Platform() const { return getInStdString(kAIPlatformCharacterEncoding); }

}  // namespace ai
