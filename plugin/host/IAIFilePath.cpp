#include "host/IAIFilePath.h"

#include "shell/DateSuites.h"

namespace ai {

FilePath::~FilePath() { sAIFilePath->DeletePath(fHandle); }

UnicodeString FilePath::GetFullPath(bool displayName) const {
  AIUnicodeStringHandle handle = nullptr;
  ASErr error = sAIFilePath->GetFullPath(fHandle, displayName, &handle);
  UnicodeString path(handle);  // owned even when the host fails after creating it
  check_result(error);
  return path;
}

}  // namespace ai
