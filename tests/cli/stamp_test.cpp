// estampilleur stamp on the examples: what is written where, what the report says, and that
// inputs survive every failure.
#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "hostsim/model/compressed.h"
#include "runner/run.h"

namespace {

using namespace runner;
using nlohmann::json;

class Stamp : public ::testing::Test {
 protected:
  Stamp() {
    for (const char* name : {"affiche-a4.svg", "plaquette-multipage.svg", "deja-estampille.svg"}) ws.example(name);
  }
  // The report's entry of a stamping that must succeed.
  json entry(const std::vector<std::string>& args) {
    Result r = ws.stamp(args);
    EXPECT_EQ(r.status, 0) << r.err;
    return r.documents.is_array() ? r.documents[0] : json::object();
  }
  std::multiset<std::string> texts(const json& document) {
    const auto all = stampTexts(document);
    return {all.begin(), all.end()};
  }
  Workspace ws;
};

TEST_F(Stamp, SinglePageGetsNumberSizeNameAndDateBelowIt) {
  const std::string before = readFile(ws / "affiche-a4.svg");
  Result r = ws.stamp({"-o", "out.svg", "affiche-a4.svg"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out + r.err, "") << "a clean run says nothing, and the plug-in gives everything back";
  EXPECT_EQ(readFile(ws / "affiche-a4.svg"), before);
  const json& doc = r.documents[0];
  json said;
  for (const char* key : {"input", "output", "saved", "dialog", "error", "active", "alerts", "beeps"}) said[key] = doc[key];
  EXPECT_EQ(said, json::parse(R"({"input": "affiche-a4.svg", "output": "out.svg", "saved": true, "dialog": "ok",
                                  "error": null, "active": 0, "alerts": [], "beeps": 0})"));
  // 210 x 297 mm in points, as the host's single-precision values.
  ASSERT_EQ(doc["artboards"].size(), 1u);
  const json& page = doc["artboards"][0];
  EXPECT_EQ((std::vector{page["left"].get<float>(), page["top"].get<float>(), page["right"].get<float>()}),
            (std::vector{0.0f, static_cast<float>(297 * 72 / 25.4), static_cast<float>(210 * 72 / 25.4)}));
  EXPECT_EQ(texts(doc), (std::multiset<std::string>{"1/1", "210 mm x 297 mm", " - affiche-a4.svg", "Mardi 10 avril 2012"}));
  // Below the artboard: in the bleed, whose bottom the plug-in set deep enough.
  const double bleed = doc["bleed"]["bottom"];
  EXPECT_GT(bleed, 0.0);
  for (const auto& stamp : doc["stamps"])
    EXPECT_TRUE(stamp["font"] == "DejaVuSans" && stamp["size"] == 12.0 && stamp["v"] < 0.0 &&
                stamp["bounds"]["bottom"] >= -bleed && stamp["bounds"]["top"] > stamp["bounds"]["bottom"])
        << stamp.dump();
  const std::string output = readFile(ws / "out.svg");
  EXPECT_EQ(occurrences(output, "data-tag-QZVNOM"), 4u);
  EXPECT_NE(output.find("Fête du printemps"), std::string::npos) << "the user's art stays";
}

TEST_F(Stamp, EveryArtboardIsNumberedAndMeasuredOrOnlyTheChosenOne) {
  json doc = entry({"--out-dir", "out", "plaquette-multipage.svg"});
  EXPECT_EQ(doc["output"], "out/plaquette-multipage.svg");
  EXPECT_TRUE(std::filesystem::exists(ws / "out" / "plaquette-multipage.svg"));
  EXPECT_EQ(json({doc["artboards"].size(), doc["stamps"].size()}), json({3, 12})) << "artboards, stamps";
  for (const char* text : {"1/3", "2/3", "3/3", "210 mm x 297 mm", "216 mm x 279 mm", "85 mm x 55 mm"})
    EXPECT_EQ(texts(doc).count(text), 1u) << text;

  doc = entry({"--active-only", "--active", "2", "-o", "o.svg", "plaquette-multipage.svg"});
  EXPECT_EQ(doc["active"], 1);
  EXPECT_EQ(texts(doc), (std::multiset<std::string>{"2/3", "216 mm x 279 mm", " - plaquette-multipage.svg",
                                                    "Mardi 10 avril 2012"}));
}

TEST_F(Stamp, AnActiveArtboardBeyondTheDocumentFailsThatFileOnly) {
  Result r = ws.stamp({"--active", "3", "--out-dir", "out", "affiche-a4.svg", "plaquette-multipage.svg"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("affiche-a4.svg: --active 3, but the document has 1 artboard"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(ws / "out" / "affiche-a4.svg"));
  EXPECT_TRUE(std::filesystem::exists(ws / "out" / "plaquette-multipage.svg"));
  EXPECT_TRUE(!r.documents[0]["error"].is_null() && r.documents[0]["output"].is_null());
  EXPECT_TRUE(r.documents[1]["error"].is_null());
}

TEST_F(Stamp, FontsSizesFormatLayoutAndPositionReachTheStamps) {
  const json doc = entry({"-o", "o.svg", "--name-font", "DejaVuSerif", "--date-pt", "9.5", "--date-format", "numeric",
                          "--one-line", "--separator", " | ", "--top", "--no-number", "affiche-a4.svg"});
  ASSERT_FALSE(doc["stamps"].empty());
  std::string shown;
  for (const auto& stamp : doc["stamps"]) {
    const std::string text = stamp["text"];
    shown += text + "\n";
    EXPECT_EQ(stamp["font"], text.find("affiche-a4.svg") != std::string::npos ? "DejaVuSerif" : "DejaVuSans") << text;
    EXPECT_TRUE(text.find("10/04/2012") == std::string::npos || stamp["size"] == 9.5) << text;
    // At the top: inside the artboard, near its top edge.
    EXPECT_TRUE(stamp["v"] > 841.0 / 2 && stamp["bounds"]["top"] < 842.0) << stamp.dump();
  }
  // One line joined by the separator, with the name and the date.
  for (const char* text : {" | ", "affiche-a4.svg", "10/04/2012"}) EXPECT_NE(shown.find(text), std::string::npos) << text;
}

// The stamps of an earlier run, ours or the example's, make way for one fresh set; each run
// starts the plug-in afresh, so the groups of earlier runs, emptied, do not gather.
TEST_F(Stamp, StampingAStampedFileReplacesTheStamps) {
  const json example = entry({"--in-place", "deja-estampille.svg"});
  const std::string output = readFile(ws / "deja-estampille.svg");
  EXPECT_EQ(occurrences(output, "data-tag-QZVNOM"), 4u);
  EXPECT_EQ(output.find("novembre 2011"), std::string::npos);
  EXPECT_NE(output.find("<!-- The A4 poster as an earlier run"), std::string::npos) << "the file's own parts stay";
  EXPECT_TRUE(stamped(example, " - deja-estampille.svg") && stamped(example, "Mardi 10 avril 2012"));

  entry({"-o", "once.svg", "affiche-a4.svg"});
  ASSERT_EQ(ws.run({"stamp", "--date", "2013-01-02", "--date-format", "numeric", "-o", "twice.svg", "--report",
                    "r.json", "once.svg"}).status, 0);
  const std::string twice = readFile(ws / "twice.svg");
  EXPECT_EQ(occurrences(twice, "data-tag-QZVNOM"), 4u);
  EXPECT_EQ(occurrences(twice, "inkscape:label=\"QZV•Estampilleur\""), 1u);
  EXPECT_EQ(twice.find("Mardi 10 avril 2012"), std::string::npos);
  const json doc = readJson(ws / "r.json")["documents"][0];
  EXPECT_TRUE(stamped(doc, "2/01/2013")) << "the day is never zero-padded, the month always";
  EXPECT_TRUE(stamped(doc, " - once.svg")) << "the file name stamped is the input's";
  for (int i = 0; i < 10; ++i) entry({"--in-place", "twice.svg"});
  EXPECT_EQ(occurrences(readFile(ws / "twice.svg"), "<g"), occurrences(twice, "<g"));
  EXPECT_EQ(occurrences(readFile(ws / "twice.svg"), "data-tag-QZVNOM"), 4u);
}

// The size in points of the saved document's width or height attribute.
double RootSizePt(const std::string& svg, const std::string& attribute) {
  std::smatch m;
  const std::string root = svg.substr(svg.find("<svg"), svg.find('>', svg.find("<svg")) - svg.find("<svg"));
  if (!std::regex_search(root, m, std::regex("\\s" + attribute + "=\"([0-9.]+)(mm|px|pt)?\""))) return -1;
  return std::stod(m[1]) * (m[2] == "mm" ? 72 / 25.4 : m[2] == "pt" ? 1.0 : 0.75);
}

// A browser shows the viewBox only. The host's origin is its bottom left corner, so a stamp
// is shown when its bounds, as the next session reads them, lie within the saved size.
TEST_F(Stamp, EveryStampLiesWithinTheSavedCanvas) {
  for (const std::vector<std::string>& once :
       {std::vector<std::string>{"-o", "once.svg", "affiche-a4.svg"}, {"-o", "once.svg", "--top", "affiche-a4.svg"},
        {"-o", "once.svg", "--one-line", "plaquette-multipage.svg"}, {"-o", "once.svg", "--new", "210x297mm,100x100mm"}}) {
    SCOPED_TRACE(once[2]);
    entry(once);
    const json doc = entry({"--cancel", "-o", "again.svg", "once.svg"});
    const std::string saved = readFile(ws / "once.svg");
    EXPECT_EQ(readFile(ws / "again.svg"), saved) << "Cancel changes nothing";
    const double width = RootSizePt(saved, "width"), height = RootSizePt(saved, "height");
    ASSERT_FALSE(doc["stamps"].empty());
    for (const auto& stamp : doc["stamps"])
      EXPECT_TRUE(stamp["bounds"]["left"] >= 0 && stamp["bounds"]["bottom"] >= 0 &&
                  stamp["bounds"]["right"] <= width + 1e-3 && stamp["bounds"]["top"] <= height + 1e-3) << stamp.dump();
    // Stamping the result again grows nothing more.
    entry({"-o", "twice.svg", "once.svg"});
    EXPECT_EQ(RootSizePt(readFile(ws / "twice.svg"), "width"), width);
    EXPECT_EQ(RootSizePt(readFile(ws / "twice.svg"), "height"), height);
  }
}

TEST_F(Stamp, ANewDocumentHasOneArtboardPerSizeAndNoFileName) {
  const json doc = entry({"--new", "210x297mm,612x792pt", "-o", "new.svg"});
  EXPECT_EQ(json({doc["input"], doc["saved"]}), json({nullptr, false}));
  ASSERT_EQ(doc["artboards"].size(), 2u);
  const json& letter = doc["artboards"][1];
  EXPECT_NEAR(letter["right"].get<double>() - letter["left"].get<double>(), 612.0, 1e-3);
  EXPECT_NEAR(letter["top"].get<double>() - letter["bottom"].get<double>(), 792.0, 1e-3);
  EXPECT_EQ(texts(doc).count(" - Fichier non enregistré"), 2u);
  EXPECT_EQ(texts(doc).count("216 mm x 279 mm"), 1u);
  EXPECT_TRUE(std::filesystem::exists(ws / "new.svg"));
}

// In place, no temporary file is left.
TEST_F(Stamp, TheResultGoesToStandardOutputOrInPlace) {
  Result r = ws.stamp({"-o", "-", "affiche-a4.svg"});
  ASSERT_TRUE(r.status == 0 && r.out.rfind("<?xml", 0) == 0 && r.out.ends_with("</svg>\n")) << r.err;
  EXPECT_EQ(occurrences(r.out, "data-tag-QZVNOM"), 4u);
  EXPECT_EQ(entry({"--in-place", "affiche-a4.svg"})["output"], "affiche-a4.svg");
  EXPECT_EQ(occurrences(readFile(ws / "affiche-a4.svg"), "data-tag-QZVNOM"), 4u);
  for (const auto& file : std::filesystem::directory_iterator(ws.path()))
    EXPECT_NE(file.path().filename().string()[0], '.') << "no temporary file left: " << file.path();
}

// An editor hands over a temporary copy of the document: the real file's name is stamped,
// when the host could name it (it names only a file that exists).
TEST_F(Stamp, TheDocumentPathNamesTheFileTheCopyStandsFor) {
  ws.example("affiche-a4.svg", "ink_ext_XXXXXX.svgKRQSZ3");
  const std::string real = ws.example("affiche-a4.svg", "Affiche finale.svg").string();
  for (auto [path, name, saved] : {std::tuple{real.c_str(), " - Affiche finale.svg", true},
                                   std::tuple{"", " - Fichier non enregistré", false}}) {
    Result r = ws.stamp({"--document-path", path, "-o", "-", "ink_ext_XXXXXX.svgKRQSZ3"});
    ASSERT_TRUE(r.status == 0 && r.err.empty()) << r.err;
    EXPECT_EQ(r.out.find("ink_ext"), std::string::npos) << path;
    EXPECT_TRUE(stamped(r.documents[0], name)) << path;
    EXPECT_EQ(r.documents[0]["saved"], saved) << path;
  }
}

TEST_F(Stamp, ACompressedDocumentIsStampedAsThePlainOneAndStaysCompressed) {
  const std::string packed = readFile(ws.example("plaquette-multipage.svgz"));
  const json reports[] = {entry({"--prefs", "p0.ini", "-o", "out.svg", "plaquette-multipage.svg"}),
                          entry({"--prefs", "p1.ini", "-o", "out.svgz", "plaquette-multipage.svgz"})};
  EXPECT_EQ(readFile(ws / "plaquette-multipage.svgz"), packed);
  EXPECT_TRUE(hostsim::isGzip(readFile(ws / "out.svgz")));
  EXPECT_EQ(readFile(ws / "p0.ini"), readFile(ws / "p1.ini"));
  EXPECT_EQ(reports[0]["bleed"], reports[1]["bleed"]);
  EXPECT_TRUE(stamped(reports[1], " - plaquette-multipage.svgz"));
  auto plainTexts = stampTexts(reports[0]), packedTexts = stampTexts(reports[1]);
  for (auto& text : packedTexts)
    if (auto at = text.find(".svgz"); at != std::string::npos) text.erase(at + 4, 1);
  EXPECT_EQ(plainTexts, packedTexts);
  // In place it stays compressed; on standard output it is plain.
  entry({"--in-place", "plaquette-multipage.svgz"});
  EXPECT_EQ(occurrences(hostsim::gunzip(readFile(ws / "plaquette-multipage.svgz")), "data-tag-QZVNOM"), 12u);
  Result r = ws.stamp({"-o", "-", "plaquette-multipage.svgz"});
  EXPECT_EQ(r.out.rfind("<?xml", 0), 0u) << r.err;
  // A damaged one: one line, nothing written, the input untouched.
  writeFile(ws / "abime.svgz", packed.substr(0, packed.size() / 2));
  r = ws.stamp({"--in-place", "abime.svgz"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "estampilleur: 'abime.svgz': a damaged compressed document (gzip data corrupt or cut short)\n");
  EXPECT_EQ(readFile(ws / "abime.svgz"), packed.substr(0, packed.size() / 2));
}

TEST_F(Stamp, TraceWritesEveryCallTheSameEachRun) {
  entry({"--prefs", "p0.ini", "--trace", "t0.txt", "-o", "out.svg", "affiche-a4.svg"});
  entry({"--prefs", "p1.ini", "--trace", "t1.txt", "-o", "out.svg", "affiche-a4.svg"});
  const std::string traces[] = {readFile(ws / "t0.txt"), readFile(ws / "t1.txt")};
  EXPECT_TRUE(traces[0] == traces[1]);
  EXPECT_EQ(traces[0].rfind("PluginMain(\"SP Interface\", \"Startup\") = 0\n", 0), 0u) << traces[0].substr(0, 200);
  EXPECT_NE(traces[0].find("\nPluginMain(\"AI Menu\", \"AI Go\") = 0\n"), std::string::npos);
  EXPECT_NE(traces[0].find("ADM Item Suite v7.SetText(item1, \"Numéro du plan\")\n"), std::string::npos);
  EXPECT_EQ(occurrences(traces[0], "AI Art Suite v1015.NewArt("), 1u) << "one stamp group";
  EXPECT_EQ(occurrences(traces[0], "0x"), 0u) << "no addresses";
}

TEST_F(Stamp, BadInputsAndOutputsFailAloneAndInputsAreNeverChanged) {
  writeFile(ws / "casse.svg", "<svg width='10mm' height='10mm'><g></svg>");
  writeFile(ws / "vide.svg", "<svg xmlns='http://www.w3.org/2000/svg' width='0' height='0'/>");
  Result r = ws.stamp({"--in-place", "casse.svg", "absent.svg", "vide.svg", "affiche-a4.svg"});
  EXPECT_EQ(r.status, 1);
  for (const char* name : {"casse.svg", "absent.svg", "vide.svg"})
    EXPECT_NE(r.err.find(name), std::string::npos) << "the message names " << name << ":\n" << r.err;
  EXPECT_EQ(occurrences(r.err, "\n"), 3u) << "one line per failed file:\n" << r.err;
  EXPECT_EQ(readFile(ws / "casse.svg"), "<svg width='10mm' height='10mm'><g></svg>");
  EXPECT_FALSE(std::filesystem::exists(ws / "absent.svg"));
  EXPECT_EQ(occurrences(readFile(ws / "affiche-a4.svg"), "data-tag-QZVNOM"), 4u) << "the good file is still done";
  ASSERT_EQ(r.documents.size(), 4u);
  for (int i = 0; i < 3; ++i)
    EXPECT_TRUE(r.documents[i]["error"].is_string() && r.documents[i]["output"].is_null() &&
                r.documents[i]["stamps"].empty());
  EXPECT_TRUE(r.documents[3]["error"].is_null());

  const std::string before = readFile(ws / "plaquette-multipage.svg");
  r = ws.stamp({"-o", "no/such/folder/out.svg", "plaquette-multipage.svg"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("no/such/folder/out.svg"), std::string::npos) << r.err;
  EXPECT_EQ(readFile(ws / "plaquette-multipage.svg"), before);
}

// Cancel saves the document unstamped and stores nothing; OK stores the settings for the next
// run, unless --prefs names another store, which starts from the defaults.
TEST_F(Stamp, CancelStoresNothingAndOKStoresTheSettingsForTheNextRun) {
  const json cancelled = entry({"--cancel", "--no-size", "-o", "o.svg", "affiche-a4.svg"});
  EXPECT_EQ(cancelled["dialog"], "cancel");
  EXPECT_TRUE(cancelled["stamps"].empty());
  EXPECT_EQ(readFile(ws / "o.svg"), readFile(ws / "affiche-a4.svg"));
  EXPECT_FALSE(std::filesystem::exists(ws.preferences()));

  entry({"--date-format", "short", "--no-size", "-o", "a.svg", "affiche-a4.svg"});
  EXPECT_TRUE(std::filesystem::exists(ws.preferences()));
  const json next = entry({"-o", "b.svg", "affiche-a4.svg"});
  EXPECT_TRUE(stamped(next, "Mar 10 avr 2012") && !stamped(next, "210 mm x 297 mm")) << next["stamps"];
  EXPECT_TRUE(stamped(entry({"--prefs", "autres.ini", "-o", "c.svg", "affiche-a4.svg"}), "Mardi 10 avril 2012"));
  EXPECT_TRUE(std::filesystem::exists(ws / "autres.ini"));
}

TEST_F(Stamp, AnAlertIsPrintedAndReportedButIsNoFailure) {
  Result r = ws.stamp({"--name-pt", "50", "--size-pt", "50", "--date-pt", "50", "-o", "o.svg", "affiche-a4.svg"});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string alert = "L'application impose un fond perdu maximum de 72 points.";
  EXPECT_NE(r.err.find("affiche-a4.svg: the plug-in says: " + alert), std::string::npos) << r.err;
  EXPECT_EQ(r.documents[0]["alerts"],
            json::array({alert + "\rDécochez Infos superposées et/ou réduisez les corps des polices."}));
  EXPECT_EQ(r.documents[0]["bleed"]["bottom"], 72.0);
  for (const auto& stamp : r.documents[0]["stamps"]) EXPECT_EQ(stamp["size"], 50.0);
}

// A host fault a person plans: the bleed the host could not tell keeps its sides, and a stamping
// the plug-in broke off is not saved.
TEST_F(Stamp, FaultMakesTheHostFailWhereAsked) {
  std::string pages = readFile(ws / "plaquette-multipage.svg");
  pages.replace(pages.find("id=\"page-a4\""), 0, "bleed=\"1 2 3 4\" ");
  pages.replace(pages.find("id=\"page-letter\""), 0, "bleed=\"5 6 7 8\" ");
  writeFile(ws / "bords.svg", pages);
  const std::string earlier = readFile(ws / "deja-estampille.svg");

  Result r = ws.stamp({"--fault", "AI Document Suite.GetDocumentBleeds#1", "-o", "out.svg", "bords.svg"});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string out = readFile(ws / "out.svg");
  EXPECT_TRUE(std::regex_search(out, std::regex("bleed=\"1 2 67\\.[0-9]+ 4\""))) << "the sides not set stay";
  EXPECT_TRUE(std::regex_search(out, std::regex("bleed=\"5 6 67\\.[0-9]+ 8\""))) << "each page's own";

  r = ws.stamp({"--fault", "ATE TextRange Suite.InsertAfter#2", "--fault", "alloc#100000", "--in-place",
                "deja-estampille.svg", "bords.svg"});
  EXPECT_EQ(r.status, 1);
  const std::string interrupted = "L'estampillage a été interrompu par une erreur de l'application.";
  EXPECT_NE(r.err.find("deja-estampille.svg: the plug-in says: " + interrupted), std::string::npos) << r.err;
  EXPECT_EQ(readFile(ws / "deja-estampille.svg"), earlier) << "its stamps are not lost";
  EXPECT_EQ(r.documents[0]["endedBy"], interrupted);
  EXPECT_TRUE(r.documents[0]["output"].is_null());
  EXPECT_TRUE(r.documents[1]["error"].is_null()) << "the next document is still done";
  EXPECT_EQ(occurrences(readFile(ws / "bords.svg"), "data-tag-QZVNOM"), 12u);
}

}  // namespace
