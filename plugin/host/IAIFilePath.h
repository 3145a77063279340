// A host file path, owned by the wrapper.
#pragma once

#include "host/IAIUnicodeString.h"

namespace ai {

class FilePath {
 public:
  FilePath() noexcept = default;
  // Deletes the path through the host, a null one included; the result is ignored.
  ~FilePath();
  FilePath(const FilePath&) = delete;
  FilePath& operator=(const FilePath&) = delete;

  // The full path, "/" between components, as a new string; throws ai::Error.
  UnicodeString GetFullPath(bool displayName) const;

  AIFilePathHandle GetHandle() const { return fHandle; }
  // For host operations that fill an empty path (the document's file location).
  AIFilePathHandle* GetHandleAddress() { return &fHandle; }

 private:
  AIFilePathHandle fHandle = nullptr;
};

}  // namespace ai
