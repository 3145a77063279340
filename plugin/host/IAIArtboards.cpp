#include "host/IAIArtboards.h"

#include "shell/DateSuites.h"

namespace ai {

ArtboardProperties::ArtboardProperties() { sAIArtboard->Init(&fHandle); }

ArtboardProperties::~ArtboardProperties() { sAIArtboard->Dispose(fHandle); }

ArtboardList::ArtboardList() { sAIArtboard->GetArtboardList(&fHandle); }

ArtboardList::~ArtboardList() {
  if (fHandle != nullptr) sAIArtboard->ReleaseArtboardList(fHandle);
}

}  // namespace ai
