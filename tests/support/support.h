// What every test program shares: temporary folders, the test fonts, and a stand-in host
// whose suites go back when the test ends.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "hostsim/model/document.h"
#include "hostsim/standard_host.h"

namespace testsupport {

// The fonts of every test host, in the host's order.
inline constexpr const char* kFontFolder = ESTAMPILLEUR_TEST_FONTS;
inline constexpr const char* kDejaVuSans = "DejaVuSans";
inline constexpr const char* kDejaVuSansBold = "DejaVuSans-Bold";
inline constexpr const char* kDejaVuSansMono = "DejaVuSansMono";
inline constexpr const char* kDejaVuSerif = "DejaVuSerif";

// A fresh folder under the system's temporary folder, removed with what it holds.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

void writeText(const std::filesystem::path& file, const std::string& text);
std::string readText(const std::filesystem::path& file);

// A stand-in host with the test fonts, its clock on 10 April 2012 and one 600 x 900 pt
// document. Suites taken with suite() go back when the test ends, and the host must then
// hold nothing more.
class HostTest : public ::testing::Test {
 protected:
  HostTest();
  void TearDown() override;

  template <typename Suite>
  const Suite& suite(const char* name, int32_t version) {
    const void* table = nullptr;
    EXPECT_EQ(host_.acquireSuite(name, version, &table), kNoErr) << name;
    held_.emplace_back(name, version);
    return *static_cast<const Suite*>(table);
  }
  // Gives the suites back and tells whether the host got everything else back too.
  ::testing::AssertionResult allGivenBack();

  hostsim::Document& document() { return *host_.document(); }
  void openDocument(const std::vector<hostsim::PageSize>& artboards);
  void openDocument(const std::string& svg);
  std::vector<std::string> alerts();

  hostsim::StandardHost host_;
  bool misusesTheHost_ = false;  // a test of the host's refusals: only the suites must go back

 private:
  std::vector<std::pair<std::string, int32_t>> held_;
};

}  // namespace testsupport
