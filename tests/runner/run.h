// Runs the built estampilleur program as a person would from a shell, in a fresh folder with
// its own preferences and the fixed test fonts, and reads back what it left.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/support.h"

namespace runner {

struct Result {
  int status = -1;  // exit status, or 128 + signal
  std::string out;  // standard output
  std::string err;  // standard error
  double seconds = 0;
};

// A fresh folder under the temporary folder, removed afterwards, where the program runs.
class Workspace : public testsupport::TempDir {
 public:
  // The preferences file every run of this workspace uses unless told otherwise.
  std::filesystem::path preferences() const { return path() / "config" / "estampilleur" / "preferences.ini"; }

  // Copies examples/NAME in (as `as` when given) and returns the copy.
  std::filesystem::path example(const std::string& name, const std::string& as = "") const;

  // Runs `estampilleur ARGS...` in this folder with XDG_CONFIG_HOME and HOME inside it,
  // ESTAMPILLEUR_FONTS on the test fonts, no SOURCE_DATE_EPOCH, `environment` added, and
  // `limitSeconds` before it is killed (a hang fails like a crash).
  Result run(const std::vector<std::string>& args, const std::vector<std::string>& environment = {},
             double limitSeconds = 300) const;
};

std::string readFile(const std::filesystem::path& file);
void writeFile(const std::filesystem::path& file, const std::string& bytes);
nlohmann::json readJson(const std::filesystem::path& file);

// The texts of a report entry's stamps, in order.
std::vector<std::string> stampTexts(const nlohmann::json& document);

// How often `needle` occurs in `text`.
size_t occurrences(const std::string& text, const std::string& needle);

}  // namespace runner
