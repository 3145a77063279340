#include "support.h"

namespace hostile {

Snapshot Snapshot::of(const std::filesystem::path& file) {
  Snapshot snapshot;
  struct stat status {};
  if (::stat(file.c_str(), &status) != 0) return snapshot;
  snapshot.exists = true;
  snapshot.mtime = status.st_mtim;
  if (S_ISREG(status.st_mode)) snapshot.bytes = readFile(file);
  return snapshot;
}

bool Snapshot::operator==(const Snapshot& other) const {
  return exists == other.exists && bytes == other.bytes && mtime.tv_sec == other.mtime.tv_sec &&
         mtime.tv_nsec == other.mtime.tv_nsec;
}

nlohmann::json firstDocument(const std::filesystem::path& report) {
  return readJson(report).at("documents").at(0);
}

std::string svg(const std::string& attributes, const std::string& body) {
  return "<svg xmlns=\"http://www.w3.org/2000/svg\""
         " xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\""
         " xmlns:sodipodi=\"http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd\" " +
         attributes + ">" + body + "</svg>\n";
}

namespace {
std::map<std::string, int>& families() {
  static std::map<std::string, int> all;
  return all;
}
}  // namespace

int countInputs(const std::string& family, int count) {
  families()[family] += count;
  return count;
}

const std::map<std::string, int>& inputFamilies() { return families(); }

int totalInputs() {
  int total = 0;
  for (const auto& [family, count] : families()) total += count;
  return total;
}

}  // namespace hostile
