#include "hostsim/core/resources.h"

#include <fstream>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "hostsim/model/mac_roman.h"

namespace hostsim {

Resources Resources::load(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error(file.string() + ": cannot read the plug-in's resource file");
  nlohmann::json json;
  try {
    json = nlohmann::json::parse(in);
  } catch (const nlohmann::json::exception& e) {
    throw std::runtime_error(file.string() + ": not a resource file: " + e.what());
  }
  Resources resources;
  try {
    for (const auto& [id, entries] : json.at("strings").items()) {
      auto& list = resources.stringLists[std::stoi(id)];
      for (const auto& entry : entries) list.push_back(utf8ToMacRoman(entry.get<std::string>()));
    }
    for (const auto& [id, icon] : json.at("icons").items()) {
      resources.icons[std::stoi(id)] = {icon.at("width").get<int>(), icon.at("height").get<int>(),
                                        icon.at("svg").get<std::string>()};
    }
  } catch (const std::exception& e) {
    throw std::runtime_error(file.string() + ": malformed resource file: " + e.what());
  }
  return resources;
}

}  // namespace hostsim
