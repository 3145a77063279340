// The system's font list kept between runs.
//
// Listing the system's fonts means parsing fontconfig's whole configuration, which costs
// several times what stamping a page does. The list is kept in a file together with what it
// was made from: a context (fontconfig's version, the environment it reads) and the state of
// every configuration file and font folder it depends on. A kept list is used only when all
// of that is unchanged; a file that is damaged in any way reads as no list at all.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "fonts.h"

namespace hostsim {

class FontListCache {
 public:
  explicit FontListCache(std::filesystem::path file) : file_(std::move(file)) {}

  // $XDG_CACHE_HOME/estampilleur/fonts.list, else under ~/.cache; none without either.
  static std::optional<FontListCache> inUserCache();

  const std::filesystem::path& file() const { return file_; }

  // The list kept for `context`, when every file it depends on is as it was.
  std::optional<std::vector<FontInfo>> read(const std::string& context) const;
  // Best effort: a cache that cannot be written is simply not kept.
  void write(const std::string& context, const std::vector<std::filesystem::path>& dependsOn,
             const std::vector<FontInfo>& fonts) const;

 private:
  std::filesystem::path file_;
};

}  // namespace hostsim
