// Awkward file names and paths: characters the plug-in's Mac Roman cannot hold, names at the
// system's length limit, long paths, dots, no extension, things that are not files.
#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

#include "hostsim/model/mac_roman.h"
#include "support.h"

namespace hostile {
namespace {

using nlohmann::json;

const int kRegistered = countInputs("file names and paths", 20);

class Names : public ::testing::Test {
 protected:
  // Stamps a copy of the A4 example named `name` into out/ and returns the file-name stamp.
  std::string stampNamed(const std::string& name) {
    std::filesystem::path input = ws / name;
    std::filesystem::create_directories(input.parent_path());
    std::filesystem::copy_file(std::filesystem::path(HOSTILE_EXAMPLES) / "affiche-a4.svg", input);
    const Snapshot before = Snapshot::of(input);
    Result r = ws.run({"stamp", "--date", "2012-04-10", "--out-dir", "out", "--report", "report.json", "--", name});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(Snapshot::of(input) == before) << "the input was touched";
    const std::filesystem::path output = ws / "out" / input.filename();
    EXPECT_EQ(occurrences(readFile(output), "data-tag-QZVNOM"), 4u);
    json document = firstDocument(ws / "report.json");
    // The report is UTF-8: a name that is not shows stand-ins there, and only there.
    if (hostsim::isValidUtf8(name)) {
      EXPECT_EQ(document["output"], (std::filesystem::path("out") / input.filename()).string());
    }
    for (const auto& text : stampTexts(document))
      if (text.rfind(" - ", 0) == 0) return text;
    ADD_FAILURE() << "no file-name stamp in " << document["stamps"].dump();
    return "";
  }

  // Runs a stamping of `name` that must fail with a message naming it, leaving it alone.
  Result refused(const std::string& name, const std::string& because) {
    const Snapshot before = Snapshot::of(ws / name);
    Result r = ws.run({"stamp", "--date", "2012-04-10", "--out-dir", "out", "--", name});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find(because), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << "one line:\n" << r.err;
    EXPECT_TRUE(Snapshot::of(ws / name) == before);
    EXPECT_FALSE(std::filesystem::exists(ws / "out" / std::filesystem::path(name).filename()));
    return r;
  }

  Workspace ws;
};

TEST_F(Names, CharactersMacRomanLacksShowOneStandInEach) {
  EXPECT_EQ(stampNamed("\xE6\x97\xA5\xE6\x9C\xAC.svg"), " - ??.svg");          // 日本.svg
  EXPECT_EQ(stampNamed("emoji\xF0\x9F\x98\x80.svg"), " - emoji?.svg");        // one emoji, four bytes
  // é, ÿ and € exist in Mac Roman and come through; the emoji and 日 do not.
  EXPECT_EQ(stampNamed("caf\xC3\xA9-\xC3\xBF-\xE2\x82\xAC-\xF0\x9F\x98\x80\xE6\x97\xA5.svg"),
            " - caf\xC3\xA9-\xC3\xBF-\xE2\x82\xAC-??.svg");
  // A combining accent is a character of its own.
  EXPECT_EQ(stampNamed("e\xCC\x81.svg"), " - e?.svg");
}

TEST_F(Names, BytesThatAreNotUtf8ShowStandInsToo) {
  // Linux names are bytes: a stray continuation byte and a cut sequence.
  EXPECT_EQ(stampNamed("bad\x80\xE6\x97.svg"), " - bad??.svg");
}

TEST_F(Names, NoExtensionDotsAndHiddenNames) {
  EXPECT_EQ(stampNamed("sansextension"), " - sansextension");
  EXPECT_EQ(stampNamed("...svg"), " - ...svg");
  EXPECT_EQ(stampNamed("..."), " - ...");
  EXPECT_EQ(stampNamed(".svg"), " - .svg");
  EXPECT_EQ(stampNamed("-tiret.svg"), " - -tiret.svg") << "after --, a leading dash is a name";
  EXPECT_EQ(stampNamed("a\"b'c <&>.svg"), " - a\"b'c <&>.svg");
}

TEST_F(Names, ANameOfTheFull255BytesIsStampedShortenedAndSavedEverywhere) {
  const std::string name = std::string(251, 'n') + ".svg";
  ASSERT_EQ(name.size(), 255u);
  const std::string text = stampNamed(name);
  // The stamp keeps the start and the extension, and shows that it was shortened.
  EXPECT_EQ(text.rfind(" - nnnn", 0), 0u) << text;
  EXPECT_EQ(text.substr(text.size() - 8), "nnnn.svg") << text;
  EXPECT_NE(text.find("\xE2\x80\xA6"), std::string::npos) << "an ellipsis shows the cut: " << text;

  // In place too: the temporary file beside it must fit the same limit.
  const Snapshot before = Snapshot::of(ws / name);
  Result r = ws.run({"stamp", "--date", "2012-04-10", "--in-place", name});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(occurrences(readFile(ws / name), "data-tag-QZVNOM"), 4u);
  EXPECT_FALSE(Snapshot::of(ws / name) == before);
  for (const auto& entry : std::filesystem::directory_iterator(ws.path()))
    EXPECT_NE(entry.path().filename().string()[0], '.') << "no temporary file left: " << entry.path();
}

TEST_F(Names, A255ByteNameOfAccentedLettersIsCutBetweenCharacters) {
  std::string name;
  for (int i = 0; i < 125; ++i) name += "\xC3\xA9";  // é
  name += "x.svg";
  ASSERT_EQ(name.size(), 255u);
  const std::string text = stampNamed(name);
  // Every é is one Mac Roman byte: the whole name fits the plug-in's buffer.
  EXPECT_EQ(text, " - " + name);
}

TEST_F(Names, APathOfAThousandBytes) {
  std::string path;
  for (int i = 0; i < 4; ++i) path += std::string(200, static_cast<char>('a' + i)) + "/";
  path += std::string(196 - 4, 'f') + ".svg";
  ASSERT_EQ(path.size(), 1000u);
  EXPECT_EQ(stampNamed(path), " - " + std::string(192, 'f') + ".svg");
  // The result can go as deep.
  std::string outDir;
  for (int i = 0; i < 4; ++i) outDir += std::string(200, static_cast<char>('p' + i)) + "/";
  Result r = ws.run({"stamp", "--date", "2012-04-10", "--out-dir", outDir, path});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(std::filesystem::exists(ws / outDir / std::filesystem::path(path).filename()));
}

TEST_F(Names, APathBeyondTheSystemLimitIsRefusedByName) {
  std::string path;
  while (path.size() < 5000) path += std::string(250, 'z') + "/";
  path += "x.svg";
  Result r = ws.run({"stamp", "--date", "2012-04-10", "--out-dir", "out", path});
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.err.find("x.svg"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("too long"), std::string::npos) << r.err;
}

TEST_F(Names, ThingsThatAreNotDocuments) {
  std::filesystem::create_directory(ws / "dossier.svg");
  refused("dossier.svg", "Is a directory");
  refused("absent.svg", "No such file or directory");
  std::filesystem::create_symlink("boucle.svg", ws / "boucle.svg");
  refused("boucle.svg", "symbolic links");
  std::filesystem::create_symlink("/dev/null", ws / "vide.svg");
  refused("vide.svg", "No document element");
}

TEST_F(Names, ADirectoryAsTheOutputIsRefusedAndTheInputKept) {
  ws.example("affiche-a4.svg");
  std::filesystem::create_directory(ws / "sortie");
  writeFile(ws / "sortie" / "dedans", "kept");
  const Snapshot before = Snapshot::of(ws / "affiche-a4.svg");
  Result r = ws.run({"stamp", "--date", "2012-04-10", "-o", "sortie", "affiche-a4.svg"});
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.err.find("sortie"), std::string::npos) << r.err;
  EXPECT_TRUE(Snapshot::of(ws / "affiche-a4.svg") == before);
  EXPECT_EQ(readFile(ws / "sortie" / "dedans"), "kept");
  for (const auto& entry : std::filesystem::directory_iterator(ws.path()))
    EXPECT_NE(entry.path().filename().string()[0], '.') << "no temporary file left: " << entry.path();
}

}  // namespace
}  // namespace hostile
