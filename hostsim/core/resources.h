// The plug-in's resources outside its code: string lists and icons, read from the resource
// file installed beside the module.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace hostsim {

struct Resources {
  std::map<int32_t, std::vector<std::string>> stringLists;  // entries from index 1, Mac Roman bytes
  struct Icon {
    int width = 0;
    int height = 0;
    std::string svg;  // the image, as SVG markup of that size
  };
  std::map<int32_t, Icon> icons;

  // Reads the resource file; throws std::runtime_error naming the file and the fault.
  static Resources load(const std::filesystem::path& file);
};

}  // namespace hostsim
