// What every hostile-input test needs besides the shared runner: a snapshot of a file to
// prove it was left alone, minimal SVG documents, and the tally of the hostile inputs tried.
#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "runner/run.h"

namespace hostile {

using namespace runner;  // the workspace, the program run and the file helpers

// A file's bytes and modification time, to prove it untouched.
struct Snapshot {
  bool exists = false;
  std::string bytes;
  struct timespec mtime {};
  static Snapshot of(const std::filesystem::path& file);
  bool operator==(const Snapshot& other) const;
};

// The report's first document.
nlohmann::json firstDocument(const std::filesystem::path& report);

// A minimal SVG document with the namespaces the host uses, `attributes` on the root and
// `body` inside it.
std::string svg(const std::string& attributes, const std::string& body = "");

// The tally: each table of hostile inputs registers its size once, at start-up, so every
// test program knows the whole count whichever tests it runs.
int countInputs(const std::string& family, int count);
const std::map<std::string, int>& inputFamilies();
int totalInputs();

}  // namespace hostile
