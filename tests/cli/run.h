// Runs the built estampilleur program as a person would from a shell, in a fresh folder
// with its own preferences and the fixed test fonts, and reads back what it left.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace clitest {

struct Result {
  int status = -1;
  std::string out;  // standard output
  std::string err;  // standard error
};

// A fresh folder with copies of the examples; removed afterwards.
class Workspace {
 public:
  Workspace();
  ~Workspace();
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
  // The preferences file every run of this workspace uses unless told otherwise.
  std::filesystem::path preferences() const { return path_ / "config" / "estampilleur" / "preferences.ini"; }

  // Copies examples/NAME into the workspace and returns the copy's path.
  std::filesystem::path example(const std::string& name) const;

  // Runs `estampilleur ARGS...` in the workspace with XDG_CONFIG_HOME and HOME inside it,
  // ESTAMPILLEUR_FONTS on the test fonts and no SOURCE_DATE_EPOCH.
  Result run(const std::vector<std::string>& args, const std::vector<std::string>& environment = {}) const;

 private:
  std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path& file);
void writeFile(const std::filesystem::path& file, const std::string& text);
nlohmann::json readJson(const std::filesystem::path& file);

// The texts of a report entry's stamps, in order.
std::vector<std::string> stampTexts(const nlohmann::json& document);

// How often `needle` occurs in `text`.
size_t occurrences(const std::string& text, const std::string& needle);

}  // namespace clitest
