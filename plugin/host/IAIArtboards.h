// The current document's artboard list and an artboard-properties record, each owned by
// its wrapper. Constructors and destructors ignore the host's results: an empty wrapper
// simply holds a null handle.
#pragma once

#include "hostapi/HostAPI.h"

namespace ai {

class ArtboardProperties {
 public:
  ArtboardProperties();
  ~ArtboardProperties();
  ArtboardProperties(const ArtboardProperties&) = delete;
  ArtboardProperties& operator=(const ArtboardProperties&) = delete;

  AIArtboardPropertiesHandle GetHandle() const { return fHandle; }

 private:
  AIArtboardPropertiesHandle fHandle = nullptr;
};

class ArtboardList {
 public:
  ArtboardList();
  ~ArtboardList();
  ArtboardList(const ArtboardList&) = delete;
  ArtboardList& operator=(const ArtboardList&) = delete;

  AIArtboardListHandle GetHandle() const { return fHandle; }

 private:
  AIArtboardListHandle fHandle = nullptr;
};

}  // namespace ai
