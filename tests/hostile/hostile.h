// What every hostile-input test needs besides the shared runner: proof that a file was left
// alone, and minimal SVG documents.
#pragma once

#include <gtest/gtest.h>

#include "runner/run.h"

namespace hostile {

using namespace runner;  // the workspace, the program run and the file helpers
using nlohmann::json;

// A file's bytes and modification time, to prove it untouched.
inline auto snapshot(const std::filesystem::path& file) {
  std::error_code ec;
  return std::pair(std::filesystem::is_regular_file(file, ec) ? readFile(file) : "",
                   std::filesystem::last_write_time(file, ec));
}

// Stamps with `args` (the input last) and checks that the input was left as it was.
inline Result stampUntouched(const Workspace& ws, const std::vector<std::string>& args, double limit = 300) {
  const auto before = snapshot(ws / args.back());
  Result r = ws.stamp(args, limit);
  EXPECT_TRUE(snapshot(ws / args.back()) == before) << args.back() << ": the input was touched";
  return r;
}

// A minimal SVG document with the namespaces the host uses, `attributes` on the root and
// `body` inside it.
inline std::string svg(const std::string& attributes, const std::string& body = "") {
  return "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\""
         " xmlns:sodipodi=\"http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd\" " + attributes + ">" + body + "</svg>\n";
}

inline std::string repeated(const std::string& unit, size_t times) {
  std::string out;
  while (times-- > 0) out += unit;
  return out;
}

}  // namespace hostile
