// Awkward file names and paths: characters the plug-in's Mac Roman cannot hold, names at the
// system's length limit, long paths, dots, no extension, things that are not files.
#include "hostile.h"
#include "hostsim/model/mac_roman.h"

namespace hostile {
namespace {

class Names : public ::testing::Test {
 protected:
  // Stamps a copy of the A4 example named `name` into out/ and returns the file-name stamp.
  std::string stampNamed(const std::string& name) {
    std::filesystem::create_directories((ws / name).parent_path());
    ws.example("affiche-a4.svg", name);
    Result r = stampUntouched(ws, {"--out-dir", "out", "--", name});
    EXPECT_EQ(r.status, 0) << r.err;
    const std::filesystem::path output = std::filesystem::path("out") / std::filesystem::path(name).filename();
    EXPECT_EQ(occurrences(readFile(ws / output), "data-tag-QZVNOM"), 4u);
    // The report is UTF-8: a name that is not shows stand-ins there, and only there.
    if (hostsim::isValidUtf8(name)) {
      EXPECT_EQ(r.documents[0]["output"], output.string());
    }
    for (const auto& text : stampTexts(r.documents[0]))
      if (text.rfind(" - ", 0) == 0) return text;
    ADD_FAILURE() << "no file-name stamp in " << r.documents[0]["stamps"].dump();
    return "";
  }

  // No temporary file (".NAME.XXXXXX", NAME cut to fit; any, for no name) is left beside `name`.
  void expectNoTemporaryFileBeside(const std::string& name) {
    for (const auto& entry : std::filesystem::directory_iterator(ws.path()))
      EXPECT_NE(entry.path().filename().string().rfind("." + name.substr(0, 3), 0), 0u) << entry.path();
  }

  Workspace ws;
};

TEST_F(Names, EachNameIsStampedAsMacRomanCanShowIt) {
  const std::string accented = repeated("\xC3\xA9", 125) + "x.svg";  // 255 bytes, each é one Mac Roman byte
  std::string path, outDir;  // 1000 bytes, and a result as deep
  for (int i = 0; i < 4; ++i) {
    path += std::string(200, static_cast<char>('a' + i)) + "/";
    outDir += std::string(200, static_cast<char>('p' + i)) + "/";
  }
  path += std::string(192, 'f') + ".svg";
  const std::pair<std::string, std::string> names[] = {
      {"\xE6\x97\xA5\xE6\x9C\xAC.svg", " - ??.svg"},  // 日本.svg
      {"emoji\xF0\x9F\x98\x80.svg", " - emoji?.svg"},  // four bytes, one character
      // é, ÿ and € exist in Mac Roman and come through; the emoji and 日 do not.
      {"caf\xC3\xA9-\xC3\xBF-\xE2\x82\xAC-\xF0\x9F\x98\x80\xE6\x97\xA5.svg", " - caf\xC3\xA9-\xC3\xBF-\xE2\x82\xAC-??.svg"},
      {"e\xCC\x81.svg", " - e?.svg"},  // a combining accent is a character of its own
      {"bad\x80\xE6\x97.svg", " - bad??.svg"},  // not UTF-8: a stray continuation byte, a cut sequence
      {"sansextension", " - sansextension"}, {"...svg", " - ...svg"}, {"...", " - ..."}, {".svg", " - .svg"},
      {"-tiret.svg", " - -tiret.svg"},  // after --, a leading dash is a name
      {"a\"b'c <&>.svg", " - a\"b'c <&>.svg"},
      {accented, " - " + accented},
      {path, " - " + std::string(192, 'f') + ".svg"},
  };
  for (const auto& [name, stamp] : names) EXPECT_EQ(stampNamed(name), stamp);
  Result r = ws.stamp({"--out-dir", outDir, path});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(std::filesystem::exists(ws / outDir / std::filesystem::path(path).filename()));

  // A name of the full 255 bytes: the stamp keeps the start and the extension, and an ellipsis
  // shows the cut.
  const std::string name = std::string(251, 'n') + ".svg", text = stampNamed(name);
  EXPECT_EQ(text.rfind(" - nnnn", 0), 0u) << text;
  EXPECT_EQ(text.substr(text.size() - 8), "nnnn.svg") << text;
  EXPECT_NE(text.find("\xE2\x80\xA6"), std::string::npos) << text;
  // In place too: the temporary file beside it must fit the same limit.
  r = ws.stamp({"--in-place", name});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(occurrences(readFile(ws / name), "data-tag-QZVNOM"), 4u);
  expectNoTemporaryFileBeside(name);
}

TEST_F(Names, ThingsThatAreNotDocumentsAreRefusedByName) {
  std::string beyond;  // a path beyond the system's limit
  while (beyond.size() < 5000) beyond += std::string(250, 'z') + "/";
  std::filesystem::create_directory(ws / "dossier.svg");
  std::filesystem::create_symlink("boucle.svg", ws / "boucle.svg");
  std::filesystem::create_symlink("/dev/null", ws / "vide.svg");
  for (const auto& [name, because] : std::vector<std::pair<std::string, std::string>>{
           {"dossier.svg", "Is a directory"}, {"absent.svg", "No such file or directory"},
           {"boucle.svg", "symbolic links"}, {"vide.svg", "No document element"}, {beyond + "x.svg", "too long"}}) {
    Result r = stampUntouched(ws, {"--out-dir", "out", "--", name});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find(because), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(std::filesystem::path(name).filename().string()), std::string::npos) << r.err;
    EXPECT_EQ(occurrences(r.err, "\n"), 1u) << "one line:\n" << r.err;
    EXPECT_FALSE(std::filesystem::exists(ws / "out" / std::filesystem::path(name).filename()));
  }

  // A directory as the output.
  ws.example("affiche-a4.svg");
  std::filesystem::create_directory(ws / "sortie");
  writeFile(ws / "sortie" / "dedans", "kept");
  Result r = stampUntouched(ws, {"-o", "sortie", "affiche-a4.svg"});
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.err.find("sortie"), std::string::npos) << r.err;
  EXPECT_EQ(readFile(ws / "sortie" / "dedans"), "kept");
  expectNoTemporaryFileBeside("");
}

}  // namespace
}  // namespace hostile
