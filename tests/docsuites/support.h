// A host with the test fonts and a small document, and the suites taken from it.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "hostapi/HostAPI.h"
#include "hostsim/model/document.h"
#include "hostsim/model/fonts.h"
#include "hostsim/standard_host.h"

namespace docsuites_test {

using hostsim::Document;
using hostsim::StandardHost;

// Two layers (the lower one locked), two artboards, texts loose, grouped and locked. One
// user unit is one point; the viewBox is 600 x 1000.
inline constexpr const char* kDrawing = R"svg(<svg xmlns="http://www.w3.org/2000/svg"
  xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape"
  xmlns:sodipodi="http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd"
  width="600pt" height="1000pt" viewBox="0 0 600 1000">
  <sodipodi:namedview id="nv" inkscape:current-layer="top">
    <inkscape:page id="page1" x="0" y="0" width="300" height="400"/>
    <inkscape:page id="page2" x="320" y="100" width="200" height="300"/>
  </sodipodi:namedview>
  <g inkscape:groupmode="layer" id="bottom" inkscape:label="Fond" sodipodi:insensitive="true">
    <rect id="frame" x="0" y="0" width="10" height="10"/>
    <text id="under" x="5" y="5">sous</text>
  </g>
  <g inkscape:groupmode="layer" id="top" inkscape:label="Calque 1">
    <text id="loose" x="10" y="20" style="font-family:'DejaVu Sans';font-size:12px">Hello</text>
    <g id="group">
      <text id="inner" x="100" y="200" style="font-family:'DejaVu Sans';font-size:10px">World</text>
      <path id="line" d="M0 0L10 10"/>
    </g>
    <text id="pinned" x="30" y="40" sodipodi:insensitive="true">Locked</text>
    <g id="empty"/>
  </g>
</svg>)svg";

// A fresh folder under the system's temporary folder, removed afterwards.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "docsuites-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

class HostTest : public ::testing::Test {
 protected:
  HostTest() {
    host.setFonts(std::make_unique<hostsim::FontCatalog>(hostsim::FontCatalog::fromDirectory(DOCSUITES_TEST_FONTS)));
    host.setDocument(std::make_unique<Document>(Document::parse(kDrawing)));
  }

  template <typename Suite>
  const Suite& suite(const char* name, int32_t version) {
    const void* table = nullptr;
    EXPECT_EQ(host.acquireSuite(name, version, &table), kNoErr) << name;
    held.emplace_back(name, version);
    return *static_cast<const Suite*>(table);
  }

  // Gives the suites back and tells whether the host got everything else back too.
  ::testing::AssertionResult allGivenBack() {
    for (const auto& [name, version] : held) host.releaseSuite(name.c_str(), version);
    held.clear();
    if (host.allGivenBack()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << host.outstanding();
  }

  Document& document() { return *host.document(); }
  AIArtHandle art(const std::string& id) {
    for (auto handle : document().allArt())
      if (document().elementId(handle) == id) return reinterpret_cast<AIArtHandle>(static_cast<uintptr_t>(handle.id));
    ADD_FAILURE() << "no art with id " << id;
    return nullptr;
  }
  hostsim::ArtHandle model(AIArtHandle handle) { return {reinterpret_cast<uintptr_t>(handle)}; }

  StandardHost host;
  std::vector<std::pair<std::string, int32_t>> held;
};

}  // namespace docsuites_test
