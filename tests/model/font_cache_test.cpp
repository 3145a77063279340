#include "font_cache.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "fonts.h"
#include "support/support.h"

namespace hostsim {
namespace {

namespace fs = std::filesystem;
using testsupport::TempDir;

// A system configuration of its own: fontconfig reads FONTCONFIG_FILE, here a file naming one
// font folder that holds two of the test fonts.
class FontListCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* before = std::getenv("FONTCONFIG_FILE")) before_ = before;
    fs::create_directories(folder_ / "fonts");
    for (const char* font : {"DejaVuSans.ttf", "DejaVuSerif.ttf"})
      fs::copy_file(fs::path(testsupport::kFontFolder) / font, folder_ / "fonts" / font);
    useConfiguration("fonts.conf");
  }
  void TearDown() override {
    if (before_) ::setenv("FONTCONFIG_FILE", before_->c_str(), 1);
    else ::unsetenv("FONTCONFIG_FILE");
  }

  void useConfiguration(const std::string& name) {
    testsupport::writeText(folder_ / name, "<?xml version=\"1.0\"?>\n<fontconfig><dir>" + (folder_ / "fonts").string() +
                                               "</dir><cachedir>" + (folder_ / "fc").string() +
                                               "</cachedir></fontconfig>\n");
    ::setenv("FONTCONFIG_FILE", (folder_ / name).c_str(), 1);
  }

  // The names listed, and whether the list had to be made from the configuration.
  std::pair<std::vector<std::string>, bool> list() {
    const FontCatalog catalog = FontCatalog::system(&cache_);
    std::vector<std::string> names;
    for (const FontInfo& font : catalog.fonts()) names.push_back(font.postscriptName);
    return {names, catalog.configurationLoaded()};
  }

  TempDir folder_;
  FontListCache cache_{folder_ / "cache" / "fonts.list"};
  std::optional<std::string> before_;
  const std::vector<std::string> two_{"DejaVuSans", "DejaVuSerif"};
};

TEST_F(FontListCacheTest, KeptUntilWhatItWasMadeFromChanges) {
  EXPECT_EQ(list(), std::make_pair(two_, true));
  const FontCatalog kept = FontCatalog::system(&cache_);
  EXPECT_FALSE(kept.configurationLoaded());
  const FontCatalog made = FontCatalog::fromDirectory(folder_ / "fonts");
  ASSERT_EQ(kept.fonts().size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    const FontInfo &a = kept.fonts()[i], &b = made.fonts()[i];
    EXPECT_EQ(std::tie(a.postscriptName, a.family, a.style, a.weight, a.slant, a.file, a.faceIndex),
              std::tie(b.postscriptName, b.family, b.style, b.weight, b.slant, b.file, b.faceIndex));
  }
  // Matching a font the list does not name needs the configuration after all.
  EXPECT_EQ(kept.resolve({"", "DejaVu Serif", 400, FontSlant::Upright})->postscriptName, "DejaVuSerif");
  EXPECT_TRUE(kept.configurationLoaded());

  // A font added (the folder's time of change moved on, as the clock may not have yet).
  fs::copy_file(fs::path(testsupport::kFontFolder) / "DejaVuSansMono.ttf", folder_ / "fonts" / "DejaVuSansMono.ttf");
  fs::last_write_time(folder_ / "fonts", fs::last_write_time(folder_ / "fonts") + std::chrono::seconds(1));
  const std::vector<std::string> three{"DejaVuSans", "DejaVuSansMono", "DejaVuSerif"};
  EXPECT_EQ(list(), std::make_pair(three, true));
  EXPECT_EQ(list(), std::make_pair(three, false));

  // Another configuration file.
  useConfiguration("other.conf");
  EXPECT_EQ(list(), std::make_pair(three, true));
  // The configuration edited in place.
  fs::last_write_time(folder_ / "other.conf", fs::last_write_time(folder_ / "other.conf") + std::chrono::seconds(1));
  EXPECT_EQ(list(), std::make_pair(three, true));
  EXPECT_EQ(list(), std::make_pair(three, false));
}

TEST_F(FontListCacheTest, ADamagedListIsNeverTrusted) {
  list();
  const std::string good = testsupport::readText(cache_.file());
  const std::size_t font = good.find("\nfont ") + 1;
  std::string altered = good, unescapable = good;
  altered[good.find("DejaVuSerif", font)] = 'X';
  unescapable.insert(font + 5, "%G");
  const struct {
    const char* what;
    std::string bytes;
  } damaged[] = {{"empty", ""},
                 {"cut short", good.substr(0, good.size() / 2)},
                 {"last line cut", good.substr(0, good.size() - 3)},
                 {"a name altered", altered},
                 {"a bad escape", unescapable},
                 {"junk after", good + "font x\n"},
                 {"not text", std::string("\x1f\x8b\x08\0\0", 5)}};
  for (const auto& [what, bytes] : damaged) {
    SCOPED_TRACE(what);
    testsupport::writeText(cache_.file(), bytes);
    EXPECT_EQ(list(), std::make_pair(two_, true));
    EXPECT_EQ(testsupport::readText(cache_.file()), good) << "made anew";
  }
  // Where no list can be kept, the fonts are still listed.
  FontListCache nowhere(cache_.file() / "under-a-file");
  EXPECT_EQ(FontCatalog::system(&nowhere).fonts().size(), 2u);
}

TEST(FontListCacheLocation, FollowsTheCacheFolderOfTheUser) {
  ASSERT_TRUE(std::getenv("HOME"));
  const char* xdg = std::getenv("XDG_CACHE_HOME");
  const std::string before = xdg ? xdg : "";
  ::setenv("XDG_CACHE_HOME", "/var/tmp/somebody", 1);
  EXPECT_EQ(FontListCache::inUserCache()->file(), "/var/tmp/somebody/estampilleur/fonts.list");
  ::setenv("XDG_CACHE_HOME", "relative", 1);  // not an absolute path: ignored, as the XDG rules say
  EXPECT_EQ(FontListCache::inUserCache()->file(), fs::path(std::getenv("HOME")) / ".cache/estampilleur/fonts.list");
  if (xdg) ::setenv("XDG_CACHE_HOME", before.c_str(), 1);
  else ::unsetenv("XDG_CACHE_HOME");
}

}  // namespace
}  // namespace hostsim
