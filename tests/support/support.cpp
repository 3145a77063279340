#include "support/support.h"

#include <unistd.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

#include "hostsim/model/clock.h"
#include "hostsim/model/document.h"
#include "hostsim/model/fonts.h"

namespace testsupport {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "estampilleur-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
  path_ = pattern;
}

TempDir::~TempDir() {
  // A test may have taken the owner's rights away to see a write fail.
  std::error_code ec;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ec))
    std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

void writeText(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

std::string readText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

HostTest::HostTest() {
  host_.setFonts(std::make_unique<hostsim::FontCatalog>(hostsim::FontCatalog::fromDirectory(kFontFolder)));
  host_.clock().set({2012, 4, 10});
  openDocument(std::vector<hostsim::PageSize>{{600, 900}});
}

void HostTest::TearDown() {
  if (misusesTheHost_) {
    for (const auto& [name, version] : held_) host_.releaseSuite(name.c_str(), version);
    held_.clear();
    EXPECT_EQ(host_.accounting().suitesHeld(), 0);
  } else {
    EXPECT_TRUE(allGivenBack());
  }
}

::testing::AssertionResult HostTest::allGivenBack() {
  for (const auto& [name, version] : held_) host_.releaseSuite(name.c_str(), version);
  held_.clear();
  if (host_.allGivenBack()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << host_.outstanding();
}

void HostTest::openDocument(const std::vector<hostsim::PageSize>& artboards) {
  host_.setDocument(std::make_unique<hostsim::Document>(hostsim::Document::create(artboards)));
}

void HostTest::openDocument(const std::string& svg) {
  host_.setDocument(std::make_unique<hostsim::Document>(hostsim::Document::parse(svg)));
}

std::vector<std::string> HostTest::alerts() {
  std::vector<std::string> texts;
  for (const hostsim::Alert& alert : host_.alerts()) texts.push_back(alert.text);
  return texts;
}

}  // namespace testsupport
