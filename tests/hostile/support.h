// What every hostile-input test needs: a scratch folder, the estampilleur program run as a
// person runs it, a snapshot of a file to prove it was left alone, and the tally of the
// hostile inputs the tests try.
#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace hostile {

struct Result {
  int status = -1;  // exit status, or 128 + signal
  std::string out;
  std::string err;
  double seconds = 0;
};

// A fresh folder under the temporary folder, removed afterwards.
class Workspace {
 public:
  Workspace();
  ~Workspace();
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  // Copies examples/NAME in and returns the copy.
  std::filesystem::path example(const std::string& name, const std::string& as = "") const;

  // Runs `estampilleur ARGS...` in this folder with the test fonts, its own configuration
  // folder, no SOURCE_DATE_EPOCH, and `limitSeconds` before it is killed.
  Result run(const std::vector<std::string>& args, double limitSeconds = 300) const;

 private:
  std::filesystem::path path_;
};

// A file's bytes and modification time, to prove it untouched.
struct Snapshot {
  bool exists = false;
  std::string bytes;
  struct timespec mtime {};
  static Snapshot of(const std::filesystem::path& file);
  bool operator==(const Snapshot& other) const;
};

std::string readFile(const std::filesystem::path& file);
void writeFile(const std::filesystem::path& file, const std::string& bytes);
nlohmann::json readJson(const std::filesystem::path& file);

// The report's first document.
nlohmann::json firstDocument(const std::filesystem::path& report);
std::vector<std::string> stampTexts(const nlohmann::json& document);
size_t occurrences(const std::string& text, const std::string& needle);

// A minimal SVG document with the namespaces the host uses, `attributes` on the root and
// `body` inside it.
std::string svg(const std::string& attributes, const std::string& body = "");

// The tally: each table of hostile inputs registers its size once, at start-up, so every
// test program knows the whole count whichever tests it runs.
int countInputs(const std::string& family, int count);
const std::map<std::string, int>& inputFamilies();
int totalInputs();

}  // namespace hostile
