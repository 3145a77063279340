// estampilleur stamp on the examples: what is written where, what the report says, and that
// inputs survive every failure.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <tuple>

#include "hostsim/model/compressed.h"
#include "run.h"

namespace clitest {
namespace {

using nlohmann::json;

bool contains(const std::vector<std::string>& texts, const std::string& text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

std::vector<std::string> withDate(std::vector<std::string> args) {
  args.insert(args.begin() + 1, {"--date", "2012-04-10"});
  return args;
}

TEST(Stamp, SinglePageGetsNumberSizeNameAndDateBelowIt) {
  Workspace ws;
  auto input = ws.example("affiche-a4.svg");
  std::string before = readFile(input);
  Result r = ws.run(withDate({"stamp", "-o", "out.svg", "--report", "report.json", "affiche-a4.svg"}));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "") << "a clean run says nothing, and the plug-in gives everything back";
  EXPECT_EQ(readFile(input), before);

  json doc = readJson(ws / "report.json").at("documents").at(0);
  EXPECT_EQ(doc["input"], "affiche-a4.svg");
  EXPECT_EQ(doc["output"], "out.svg");
  EXPECT_EQ(doc["saved"], true);
  EXPECT_EQ(doc["dialog"], "ok");
  EXPECT_TRUE(doc["error"].is_null());
  ASSERT_EQ(doc["artboards"].size(), 1u);
  // 210 x 297 mm in points, as the host's single-precision values.
  EXPECT_EQ(doc["artboards"][0]["left"].get<float>(), 0.0f);
  EXPECT_EQ(doc["artboards"][0]["top"].get<float>(), static_cast<float>(297 * 72 / 25.4));
  EXPECT_EQ(doc["artboards"][0]["right"].get<float>(), static_cast<float>(210 * 72 / 25.4));
  EXPECT_EQ(doc["active"], 0);
  EXPECT_TRUE(doc["alerts"].empty());
  EXPECT_EQ(doc["beeps"], 0);

  auto texts = stampTexts(doc);
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_TRUE(contains(texts, "1/1"));
  EXPECT_TRUE(contains(texts, "210 mm x 297 mm"));
  EXPECT_TRUE(contains(texts, " - affiche-a4.svg"));
  EXPECT_TRUE(contains(texts, "Mardi 10 avril 2012"));
  for (const auto& stamp : doc["stamps"]) {
    EXPECT_EQ(stamp["font"], "DejaVuSans");
    EXPECT_EQ(stamp["size"], 12.0);
    // Below the artboard: in the bleed, whose bottom the plug-in set deep enough.
    EXPECT_LT(stamp["v"].get<double>(), 0.0);
    EXPECT_GE(stamp["bounds"]["bottom"].get<double>(), -doc["bleed"]["bottom"].get<double>());
    EXPECT_GT(stamp["bounds"]["top"].get<double>(), stamp["bounds"]["bottom"].get<double>());
  }
  EXPECT_GT(doc["bleed"]["bottom"].get<double>(), 0.0);

  std::string output = readFile(ws / "out.svg");
  EXPECT_EQ(occurrences(output, "data-tag-QZVNOM"), 4u);
  EXPECT_NE(output.find("Fête du printemps"), std::string::npos) << "the user's art stays";
}

TEST(Stamp, EveryArtboardOfAMixedDocumentIsNumberedAndMeasured) {
  Workspace ws;
  ws.example("plaquette-multipage.svg");
  Result r = ws.run(withDate({"stamp", "--out-dir", "out", "--report", "r.json", "plaquette-multipage.svg"}));
  ASSERT_EQ(r.status, 0) << r.err;
  json doc = readJson(ws / "r.json")["documents"][0];
  EXPECT_EQ(doc["output"], "out/plaquette-multipage.svg");
  EXPECT_EQ(doc["artboards"].size(), 3u);
  auto texts = stampTexts(doc);
  EXPECT_EQ(texts.size(), 12u);
  for (const char* expected : {"1/3", "2/3", "3/3", "210 mm x 297 mm", "216 mm x 279 mm", "85 mm x 55 mm"})
    EXPECT_TRUE(contains(texts, expected)) << expected;
  EXPECT_TRUE(std::filesystem::exists(ws / "out" / "plaquette-multipage.svg"));
}

TEST(Stamp, ActiveOnlyStampsTheChosenArtboard) {
  Workspace ws;
  ws.example("plaquette-multipage.svg");
  Result r = ws.run(withDate(
      {"stamp", "--active-only", "--active", "2", "-o", "o.svg", "--report", "r.json", "plaquette-multipage.svg"}));
  ASSERT_EQ(r.status, 0) << r.err;
  json doc = readJson(ws / "r.json")["documents"][0];
  EXPECT_EQ(doc["active"], 1);
  auto texts = stampTexts(doc);
  EXPECT_EQ(texts.size(), 4u);
  EXPECT_TRUE(contains(texts, "2/3"));
  EXPECT_TRUE(contains(texts, "216 mm x 279 mm"));
}

TEST(Stamp, AnActiveArtboardBeyondTheDocumentFailsThatFileOnly) {
  Workspace ws;
  ws.example("affiche-a4.svg");
  ws.example("plaquette-multipage.svg");
  Result r = ws.run(withDate({"stamp", "--active", "3", "--out-dir", "out", "--report", "r.json", "affiche-a4.svg",
                              "plaquette-multipage.svg"}));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("affiche-a4.svg: --active 3, but the document has 1 artboard"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(ws / "out" / "affiche-a4.svg"));
  EXPECT_TRUE(std::filesystem::exists(ws / "out" / "plaquette-multipage.svg"));
  json docs = readJson(ws / "r.json")["documents"];
  EXPECT_FALSE(docs[0]["error"].is_null());
  EXPECT_TRUE(docs[0]["output"].is_null());
  EXPECT_TRUE(docs[1]["error"].is_null());
}

TEST(Stamp, StampingAStampedFileReplacesTheStamps) {
  Workspace ws;
  ws.example("affiche-a4.svg");
  ASSERT_EQ(ws.run(withDate({"stamp", "-o", "once.svg", "affiche-a4.svg"})).status, 0);
  Result r = ws.run({"stamp", "--date", "2013-01-02", "--date-format", "numeric", "-o", "twice.svg", "--report",
                     "r.json", "once.svg"});
  ASSERT_EQ(r.status, 0) << r.err;
  std::string twice = readFile(ws / "twice.svg");
  EXPECT_EQ(occurrences(twice, "data-tag-QZVNOM"), 4u);
  EXPECT_EQ(occurrences(twice, "inkscape:label=\"QZV•Estampilleur\""), 1u);
  EXPECT_EQ(twice.find("Mardi 10 avril 2012"), std::string::npos);
  auto texts = stampTexts(readJson(ws / "r.json")["documents"][0]);
  EXPECT_TRUE(contains(texts, "2/01/2013")) << "the day is never zero-padded, the month always";
  EXPECT_TRUE(contains(texts, " - once.svg")) << "the file name stamped is the input's";

  // Each run starts the plug-in afresh: the groups of earlier runs, emptied, do not gather.
  const size_t groups = occurrences(twice, "<g");
  for (int i = 0; i < 10; ++i) ASSERT_EQ(ws.run(withDate({"stamp", "--in-place", "twice.svg"})).status, 0);
  const std::string tenth = readFile(ws / "twice.svg");
  EXPECT_EQ(occurrences(tenth, "<g"), groups);
  EXPECT_EQ(occurrences(tenth, "data-tag-QZVNOM"), 4u);
}

// The size in points of the saved document's width or height attribute.
double rootSizePt(const std::string& svg, const std::string& attribute) {
  std::smatch m;
  const std::string root = svg.substr(svg.find("<svg"), svg.find('>', svg.find("<svg")) - svg.find("<svg"));
  if (!std::regex_search(root, m, std::regex("\\s" + attribute + "=\"([0-9.]+)(mm|px|pt)?\"")))
    return -1;
  const double perUnit = m[2] == "mm" ? 72 / 25.4 : m[2] == "pt" ? 1.0 : 0.75;
  return std::stod(m[1]) * perUnit;
}

// A browser shows the viewBox only. The host's origin is its bottom left corner, so a stamp
// is shown when its bounds, as the next session reads them, lie within the saved size.
TEST(Stamp, EveryStampLiesWithinTheSavedCanvas) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{"affiche-a4.svg"},
                                              {"--top", "affiche-a4.svg"},
                                              {"--one-line", "plaquette-multipage.svg"},
                                              {"--new", "210x297mm,100x100mm"}}) {
    Workspace ws;
    ws.example("affiche-a4.svg");
    ws.example("plaquette-multipage.svg");
    std::vector<std::string> stamp = {"stamp", "-o", "once.svg"};
    stamp.insert(stamp.end(), args.begin(), args.end());
    ASSERT_EQ(ws.run(withDate(stamp)).status, 0) << args.back();
    ASSERT_EQ(ws.run({"stamp", "--cancel", "-o", "again.svg", "--report", "r.json", "once.svg"}).status, 0);
    const std::string saved = readFile(ws / "once.svg");
    EXPECT_EQ(readFile(ws / "again.svg"), saved) << "Cancel changes nothing";
    const double width = rootSizePt(saved, "width"), height = rootSizePt(saved, "height");
    const json doc = readJson(ws / "r.json")["documents"][0];
    ASSERT_FALSE(doc["stamps"].empty());
    for (const auto& text : doc["stamps"]) {
      const auto& b = text["bounds"];
      EXPECT_GE(b["left"].get<double>(), 0) << args.back() << text.dump();
      EXPECT_GE(b["bottom"].get<double>(), 0) << args.back() << text.dump();
      EXPECT_LE(b["right"].get<double>(), width + 1e-3) << args.back() << text.dump();
      EXPECT_LE(b["top"].get<double>(), height + 1e-3) << args.back() << text.dump();
    }
    // Stamping the result again grows nothing more.
    ASSERT_EQ(ws.run(withDate({"stamp", "-o", "twice.svg", "once.svg"})).status, 0);
    const std::string twice = readFile(ws / "twice.svg");
    EXPECT_EQ(rootSizePt(twice, "width"), width);
    EXPECT_EQ(rootSizePt(twice, "height"), height);
  }
}

TEST(Stamp, TheStampedExampleGetsOneFreshSet) {
  Workspace ws;
  auto input = ws.example("deja-estampille.svg");
  ASSERT_EQ(occurrences(readFile(input), "data-tag-QZVNOM"), 4u);
  Result r = ws.run(withDate({"stamp", "--in-place", "--report", "r.json", "deja-estampille.svg"}));
  ASSERT_EQ(r.status, 0) << r.err;
  std::string output = readFile(input);
  EXPECT_EQ(occurrences(output, "data-tag-QZVNOM"), 4u);
  EXPECT_EQ(output.find("novembre 2011"), std::string::npos);
  EXPECT_NE(output.find("<!-- The A4 poster as an earlier run"), std::string::npos) << "the file's own parts stay";
  auto texts = stampTexts(readJson(ws / "r.json")["documents"][0]);
  EXPECT_TRUE(contains(texts, " - deja-estampille.svg"));
  EXPECT_TRUE(contains(texts, "Mardi 10 avril 2012"));
}

TEST(Stamp, ALockedLayerOfTheUserStaysAsItWas) {
  Workspace ws;
  ws.example("calque-verrouille.svg");
  Result r = ws.run(withDate({"stamp", "-o", "o.svg", "--report", "r.json", "calque-verrouille.svg"}));
  ASSERT_EQ(r.status, 0) << r.err;
  std::string output = readFile(ws / "o.svg");
  EXPECT_NE(output.find(R"(<text x="10" y="200" style="font-size:5px;font-family:'DejaVu Sans'" id="mention">)"
                        "Modèle déposé</text>"),
            std::string::npos);
  EXPECT_EQ(stampTexts(readJson(ws / "r.json")["documents"][0]).size(), 4u);
}

TEST(Stamp, ANewDocumentHasOneArtboardPerSizeAndNoFileName) {
  Workspace ws;
  Result r = ws.run(withDate({"stamp", "--new", "210x297mm,612x792pt", "-o", "new.svg", "--report", "r.json"}));
  ASSERT_EQ(r.status, 0) << r.err;
  json doc = readJson(ws / "r.json")["documents"][0];
  EXPECT_TRUE(doc["input"].is_null());
  EXPECT_EQ(doc["saved"], false);
  ASSERT_EQ(doc["artboards"].size(), 2u);
  EXPECT_NEAR(doc["artboards"][1]["right"].get<double>() - doc["artboards"][1]["left"].get<double>(), 612.0, 1e-3);
  EXPECT_NEAR(doc["artboards"][1]["top"].get<double>() - doc["artboards"][1]["bottom"].get<double>(), 792.0, 1e-3);
  auto texts = stampTexts(doc);
  EXPECT_TRUE(contains(texts, " - Fichier non enregistré"));
  EXPECT_TRUE(contains(texts, "216 mm x 279 mm"));
  EXPECT_TRUE(std::filesystem::exists(ws / "new.svg"));
}

TEST(Stamp, DashWritesTheResultToStandardOutputAndNothingElse) {
  Workspace ws;
  ws.example("affiche-a4.svg");
  Result r = ws.run(withDate({"stamp", "-o", "-", "affiche-a4.svg"}));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("<?xml", 0), 0u);
  EXPECT_EQ(occurrences(r.out, "data-tag-QZVNOM"), 4u);
  EXPECT_EQ(r.out.substr(r.out.size() - 7), "</svg>\n");
}

// An editor hands over a temporary copy of the document: the real file's name is stamped.
TEST(Stamp, TheDocumentPathNamesTheFileTheCopyStandsFor) {
  Workspace ws;
  ws.example("affiche-a4.svg", "ink_ext_XXXXXX.svgKRQSZ3");
  // The host names only a file that exists.
  std::string real = ws.example("affiche-a4.svg", "Affiche finale.svg").string();
  for (auto [path, stamped, saved] : {std::tuple{real.c_str(), " - Affiche finale.svg", true},
                                      std::tuple{"", " - Fichier non enregistré", false}}) {
    Result r = ws.run(withDate({"stamp", "--document-path", path, "-o", "-", "--report", "r.json",
                                "ink_ext_XXXXXX.svgKRQSZ3"}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out.find("ink_ext"), std::string::npos) << path;
    json doc = readJson(ws / "r.json")["documents"][0];
    EXPECT_TRUE(contains(stampTexts(doc), stamped)) << path;
    EXPECT_EQ(doc["saved"], saved) << path;
  }
}

TEST(Stamp, InPlaceReplacesTheInputWithItsResult) {
  Workspace ws;
  auto input = ws.example("affiche-a4.svg");
  Result r = ws.run(withDate({"stamp", "--in-place", "--report", "r.json", "affiche-a4.svg"}));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(occurrences(readFile(input), "data-tag-QZVNOM"), 4u);
  EXPECT_EQ(readJson(ws / "r.json")["documents"][0]["output"], "affiche-a4.svg");
  // Nothing but the result is left in the folder (no temporary file).
  size_t svgs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(ws.path()))
    if (entry.path().extension() == ".svg") ++svgs;
  EXPECT_EQ(svgs, 1u);
}

// A compressed document is stamped as the same document plain, under the name it was given.
TEST(Stamp, ACompressedDocumentIsStampedAsThePlainOneAndStaysCompressed) {
  Workspace ws;
  ws.example("plaquette-multipage.svg");
  auto packed = ws.example("plaquette-multipage.svgz");
  const std::string before = readFile(packed);
  std::string plainOut, packedOut;
  json reports[2];
  std::string prefs[2];
  for (int i = 0; i < 2; ++i) {
    const std::string input = i == 0 ? "plaquette-multipage.svg" : "plaquette-multipage.svgz";
    Result r = ws.run(withDate({"stamp", "--prefs", "p" + std::to_string(i) + ".ini", "--report", "r.json", "-o",
                                "out-" + input, input}));
    ASSERT_EQ(r.status, 0) << r.err;
    reports[i] = readJson(ws / "r.json")["documents"][0];
    prefs[i] = readFile(ws / ("p" + std::to_string(i) + ".ini"));
  }
  EXPECT_EQ(readFile(packed), before);
  EXPECT_TRUE(hostsim::isGzip(readFile(ws / "out-plaquette-multipage.svgz")));
  EXPECT_EQ(prefs[0], prefs[1]);
  EXPECT_EQ(reports[0]["bleed"], reports[1]["bleed"]);
  EXPECT_TRUE(contains(stampTexts(reports[1]), " - plaquette-multipage.svgz"));
  auto plainTexts = stampTexts(reports[0]), packedTexts = stampTexts(reports[1]);
  for (auto& text : packedTexts)
    if (auto at = text.find(".svgz"); at != std::string::npos) text.erase(at + 4, 1);
  EXPECT_EQ(plainTexts, packedTexts);

  // In place it stays compressed; on standard output it is plain.
  Result r = ws.run(withDate({"stamp", "--in-place", "plaquette-multipage.svgz"}));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(occurrences(hostsim::gunzip(readFile(packed)), "data-tag-QZVNOM"), 12u);
  r = ws.run(withDate({"stamp", "-o", "-", "plaquette-multipage.svgz"}));
  EXPECT_EQ(r.out.rfind("<?xml", 0), 0u) << r.err;

  // A damaged one: one line, nothing written, the input untouched.
  std::string damaged = before.substr(0, before.size() / 2);
  writeFile(ws / "abime.svgz", damaged);
  r = ws.run(withDate({"stamp", "--in-place", "abime.svgz"}));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "estampilleur: 'abime.svgz': a damaged compressed document (gzip data corrupt or cut short)\n");
  EXPECT_EQ(readFile(ws / "abime.svgz"), damaged);
}

// The trace names every message and suite call, the same from one run to the next.
TEST(Stamp, TraceWritesEveryCallTheSameEachRun) {
  Workspace ws;
  ws.example("affiche-a4.svg");
  std::string traces[2];
  for (int i = 0; i < 2; ++i) {
    Result r = ws.run(withDate({"stamp", "--prefs", "p" + std::to_string(i) + ".ini", "--trace", "t.txt", "-o",
                                "out.svg", "affiche-a4.svg"}));
    ASSERT_EQ(r.status, 0) << r.err;
    traces[i] = readFile(ws / "t.txt");
  }
  EXPECT_TRUE(traces[0] == traces[1]);
  EXPECT_EQ(traces[0].rfind("PluginMain(\"SP Interface\", \"Startup\") = 0\n", 0), 0u) << traces[0].substr(0, 200);
  EXPECT_NE(traces[0].find("\nPluginMain(\"AI Menu\", \"AI Go\") = 0\n"), std::string::npos);
  EXPECT_NE(traces[0].find("ADM Item Suite v7.SetText(item1, \"Numéro du plan\")\n"), std::string::npos);
  EXPECT_EQ(occurrences(traces[0], "AI Art Suite v1015.NewArt("), 1u) << "one stamp group";
  EXPECT_EQ(occurrences(traces[0], "0x"), 0u) << "no addresses";

  // A trace that cannot be written is a usage error, before anything is done.
  Result r = ws.run(withDate({"stamp", "--trace", "no/such/t.txt", "-o", "other.svg", "affiche-a4.svg"}));
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "estampilleur: --trace: cannot write 'no/such/t.txt': No such file or directory\n");
  EXPECT_FALSE(std::filesystem::exists(ws / "other.svg"));
}

TEST(Stamp, BadInputsFailAloneAndAreNeverChanged) {
  Workspace ws;
  ws.example("affiche-a4.svg");
  writeFile(ws / "casse.svg", "<svg width='10mm' height='10mm'><g></svg>");
  writeFile(ws / "vide.svg", "<svg xmlns='http://www.w3.org/2000/svg' width='0' height='0'/>");
  std::string broken = readFile(ws / "casse.svg");
  Result r = ws.run(
      withDate({"stamp", "--in-place", "--report", "r.json", "casse.svg", "absent.svg", "vide.svg", "affiche-a4.svg"}));
  EXPECT_EQ(r.status, 1);
  for (const char* name : {"casse.svg", "absent.svg", "vide.svg"})
    EXPECT_NE(r.err.find(name), std::string::npos) << "the message names " << name << ":\n" << r.err;
  EXPECT_EQ(occurrences(r.err, "\n"), 3u) << "one line per failed file:\n" << r.err;
  EXPECT_EQ(readFile(ws / "casse.svg"), broken);
  EXPECT_FALSE(std::filesystem::exists(ws / "absent.svg"));
  EXPECT_EQ(occurrences(readFile(ws / "affiche-a4.svg"), "data-tag-QZVNOM"), 4u) << "the good file is still done";

  json docs = readJson(ws / "r.json")["documents"];
  ASSERT_EQ(docs.size(), 4u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(docs[i]["error"].is_string());
    EXPECT_TRUE(docs[i]["output"].is_null());
    EXPECT_TRUE(docs[i]["stamps"].empty());
  }
  EXPECT_TRUE(docs[3]["error"].is_null());
}

TEST(Stamp, AnOutputThatCannotBeWrittenFailsWithoutTouchingTheInput) {
  Workspace ws;
  auto input = ws.example("affiche-a4.svg");
  std::string before = readFile(input);
  Result r = ws.run(withDate({"stamp", "-o", "no/such/folder/out.svg", "affiche-a4.svg"}));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("no/such/folder/out.svg"), std::string::npos) << r.err;
  EXPECT_EQ(readFile(input), before);
}

TEST(Stamp, CancelSavesTheDocumentUnstampedAndStoresNothing) {
  Workspace ws;
  ws.example("affiche-a4.svg");
  Result r = ws.run(withDate({"stamp", "--cancel", "--no-size", "-o", "o.svg", "--report", "r.json", "affiche-a4.svg"}));
  ASSERT_EQ(r.status, 0) << r.err;
  json doc = readJson(ws / "r.json")["documents"][0];
  EXPECT_EQ(doc["dialog"], "cancel");
  EXPECT_TRUE(doc["stamps"].empty());
  EXPECT_EQ(readFile(ws / "o.svg"), readFile(ws / "affiche-a4.svg"));
  EXPECT_FALSE(std::filesystem::exists(ws.preferences()));
}

TEST(Stamp, OKStoresTheSettingsForTheNextRun) {
  Workspace ws;
  ws.example("affiche-a4.svg");
  ASSERT_EQ(ws.run(withDate({"stamp", "--date-format", "short", "--no-size", "-o", "a.svg", "affiche-a4.svg"})).status, 0);
  EXPECT_TRUE(std::filesystem::exists(ws.preferences()));
  Result r = ws.run(withDate({"stamp", "-o", "b.svg", "--report", "r.json", "affiche-a4.svg"}));
  ASSERT_EQ(r.status, 0) << r.err;
  auto texts = stampTexts(readJson(ws / "r.json")["documents"][0]);
  EXPECT_TRUE(contains(texts, "Mar 10 avr 2012"));
  EXPECT_FALSE(contains(texts, "210 mm x 297 mm"));

  // --prefs names another store: it starts from the defaults.
  r = ws.run(withDate({"stamp", "--prefs", "autres.ini", "-o", "c.svg", "--report", "r.json", "affiche-a4.svg"}));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(contains(stampTexts(readJson(ws / "r.json")["documents"][0]), "Mardi 10 avril 2012"));
  EXPECT_TRUE(std::filesystem::exists(ws / "autres.ini"));
}

TEST(Stamp, TheDateComesFromTheOptionThenSourceDateEpoch) {
  Workspace ws;
  ws.example("affiche-a4.svg");
  // 2012-04-10 00:00:00 UTC.
  Result r = ws.run({"stamp", "-o", "a.svg", "--report", "r.json", "affiche-a4.svg"}, {"SOURCE_DATE_EPOCH=1334016000"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(contains(stampTexts(readJson(ws / "r.json")["documents"][0]), "Mardi 10 avril 2012"));
  r = ws.run({"stamp", "--date", "2024-02-29", "-o", "a.svg", "--report", "r.json", "affiche-a4.svg"},
             {"SOURCE_DATE_EPOCH=1334016000"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(contains(stampTexts(readJson(ws / "r.json")["documents"][0]), "Jeudi 29 février 2024"));
}

TEST(Stamp, AnAlertIsPrintedAndReportedButIsNoFailure) {
  Workspace ws;
  ws.example("affiche-a4.svg");
  Result r = ws.run(withDate({"stamp", "--name-pt", "50", "--size-pt", "50", "--date-pt", "50", "-o", "o.svg",
                              "--report", "r.json", "affiche-a4.svg"}));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("affiche-a4.svg: the plug-in says: L'application impose un fond perdu maximum de 72 points."),
            std::string::npos)
      << r.err;
  json doc = readJson(ws / "r.json")["documents"][0];
  ASSERT_EQ(doc["alerts"].size(), 1u);
  EXPECT_EQ(doc["alerts"][0],
            "L'application impose un fond perdu maximum de 72 points.\rDécochez Infos superposées et/ou réduisez les "
            "corps des polices.");
  EXPECT_EQ(doc["bleed"]["bottom"], 72.0);
  for (const auto& stamp : doc["stamps"]) EXPECT_EQ(stamp["size"], 50.0);
}

// A host fault a person plans: the bleed the host could not tell keeps its sides, a stamping
// the plug-in broke off is not saved, and a name the host does not know is a usage error.
TEST(Stamp, FaultMakesTheHostFailWhereAsked) {
  Workspace ws;
  ws.example("deja-estampille.svg");
  std::string pages = readFile(ws.example("plaquette-multipage.svg"));
  pages.replace(pages.find("id=\"page-a4\""), 0, "bleed=\"1 2 3 4\" ");
  pages.replace(pages.find("id=\"page-letter\""), 0, "bleed=\"5 6 7 8\" ");
  writeFile(ws / "bords.svg", pages);
  const std::string stamped = readFile(ws / "deja-estampille.svg");

  Result r = ws.run(withDate({"stamp", "--fault", "AI Document Suite.GetDocumentBleeds#1", "-o", "out.svg", "bords.svg"}));
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string out = readFile(ws / "out.svg");
  EXPECT_TRUE(std::regex_search(out, std::regex("bleed=\"1 2 67\\.[0-9]+ 4\""))) << "the sides not set stay";
  EXPECT_TRUE(std::regex_search(out, std::regex("bleed=\"5 6 67\\.[0-9]+ 8\""))) << "each page's own";

  r = ws.run(withDate({"stamp", "--fault", "ATE TextRange Suite.InsertAfter#2", "--fault", "alloc#100000", "--in-place",
                       "--report", "r.json", "deja-estampille.svg", "bords.svg"}));
  EXPECT_EQ(r.status, 1);
  const std::string interrupted = "L'estampillage a été interrompu par une erreur de l'application.";
  EXPECT_NE(r.err.find("deja-estampille.svg: the plug-in says: " + interrupted), std::string::npos) << r.err;
  EXPECT_EQ(readFile(ws / "deja-estampille.svg"), stamped) << "its stamps are not lost";
  const json docs = readJson(ws / "r.json")["documents"];
  EXPECT_EQ(docs[0]["endedBy"], interrupted);
  EXPECT_TRUE(docs[0]["output"].is_null());
  EXPECT_TRUE(docs[1]["error"].is_null()) << "the next document is still done";
  EXPECT_EQ(occurrences(readFile(ws / "bords.svg"), "data-tag-QZVNOM"), 12u);

  r = ws.run({"stamp", "--fault", "AI Document Suite.GetBleeds", "--in-place", "bords.svg"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("«AI Document Suite.GetBleeds» is not an operation of the host"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("--fault help"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("AI Document Suite has GetDocumentBleeds, "), std::string::npos) << r.err;
  for (const char* wrong : {"missing:AI Nothing Suite", "alloc#0", "AI Art Suite.NewArt=0", "alloc=!MEM"})
    EXPECT_EQ(ws.run({"stamp", "--fault", wrong, "--in-place", "bords.svg"}).status, 2) << wrong;

  r = ws.run({"stamp", "--fault", "help"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("\n  AI Document Suite.GetDocumentBleeds\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\n  ATE Story Suite\n"), std::string::npos) << "suites for missing:";

  r = ws.run({"stamp", "--fault", "missing:AI Tag Suite", "--fault", "AI Art Suite.NewArt=!MEM", "-o", "o.svg",
              "bords.svg"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("the plug-in did not start"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace clitest
