// Command lines and how each ends: usage errors, help, fonts, menus, the pictures of the dialog
// and the About box, the dialog actions (played in the order given, against the dialog as it
// stands, refused when a person could not make them), planned host faults and the date.
#include <gtest/gtest.h>

#include "runner/run.h"

namespace {

using namespace runner;

TEST(Command, EachCommandLineEndsAsItShould) {
  const std::string a4 = "affiche-a4.svg", pages = "plaquette-multipage.svg", inPlace = "--in-place";
  const struct {
    std::vector<std::string> args;
    int status;
    std::vector<std::string> said;         // on standard output when it succeeds, else on standard error
    std::vector<std::string> unsaid = {};  // nowhere on standard output
    std::vector<std::string> environment = {};
  } lines[] = {
      // Usage errors.
      {{}, 2, {"subcommand"}}, {{"tampon"}, 2, {"tampon"}}, {{"dialog"}, 2, {"--render"}},
      {{"stamp", a4}, 2, {"-o FILE, --out-dir DIR or --in-place"}},
      {{"stamp", "-o", "x.svg", inPlace, a4}, 2, {"exclude each other"}},
      {{"stamp", "-o", "x.svg", a4, pages}, 2, {"-o takes one input"}},
      {{"stamp", "-o", "x.svg"}, 2, {"no INPUT"}},
      {{"stamp", "--new", "210x297mm", "--out-dir", "d"}, 2, {"--new needs -o"}},
      {{"stamp", "--new", "210x297mm", "-o", "x.svg", a4}, 2, {"give no INPUT"}},
      {{"stamp", "--new", "210x297", "-o", "x.svg"}, 2, {"needs a unit"}},
      {{"stamp", "--new", "0x297mm", "-o", "x.svg"}, 2, {"not a usable artboard size"}},
      {{"stamp", "--date", "2012-02-30", "-o", "x.svg", a4}, 2, {"YYYY-MM-DD"}},
      {{"stamp", "--active", "0", "-o", "x.svg", a4}, 2, {"artboard number"}},
      {{"stamp", "--name-pt", "grand", "-o", "x.svg", a4}, 2, {"«grand»"}},
      {{"stamp", "--date-format", "iso", "-o", "x.svg", a4}, 2, {"iso"}},
      {{"stamp", "--out-dir", "d", a4, "./" + a4}, 2, {"would both be written"}},
      {{"stamp", "--document-path", "a.svg", "--out-dir", "d", a4, pages}, 2, {"stands for one input's file"}},
      {{"stamp", "--new", "210x297mm", "-o", "x.svg", "--document-path", "a.svg"}, 2, {"not --new"}},
      {{"stamp", "--trace", "no/such/t.txt", "-o", "x.svg", a4}, 2,
       {"estampilleur: --trace: cannot write 'no/such/t.txt': No such file or directory\n"}},
      {{"stamp", "--fault", "AI Document Suite.GetBleeds", inPlace, a4}, 2,
       {"«AI Document Suite.GetBleeds» is not an operation of the host", "--fault help",
        "AI Document Suite has GetDocumentBleeds, "}},
      {{"stamp", "--fault", "missing:AI Nothing Suite", inPlace, a4}, 2, {}},
      {{"stamp", "--fault", "alloc#0", inPlace, a4}, 2, {}},
      {{"stamp", "--fault", "AI Art Suite.NewArt=0", inPlace, a4}, 2, {}},
      {{"stamp", "--fault", "alloc=!MEM", inPlace, a4}, 2, {}},
      // Help documents every option and command, and the host's operations and suites.
      {{"stamp", "--help"}, 0, {"--output", "--out-dir", "--in-place", "--new", "--date", "--prefs", "--active",
                                "--report", "--cancel", "--fault", "--document-path", "--number", "--no-number",
                                "--name", "--no-name", "--size", "--no-size", "--date-text", "--no-date-text",
                                "--name-font", "--size-font", "--date-font", "--name-pt", "--size-pt", "--date-pt",
                                "--date-format", "--stacked", "--one-line", "--all", "--active-only", "--separator",
                                "--top", "--bottom", "--below"}},
      {{"--help"}, 0, {"stamp", "dialog", "about", "fonts", "menus"}},
      {{"dialog", "--help"}, 0, {}}, {{"about", "--help"}, 0, {}}, {{"fonts", "--help"}, 0, {}}, {{"menus", "--help"}, 0, {}},
      {{"stamp", "--fault", "help"}, 0, {"\n  AI Document Suite.GetDocumentBleeds\n", "\n  ATE Story Suite\n"}},
      // The host's fonts in the list's order, the plug-in's two menu items, the About box, the
      // settings after the actions.
      {{"fonts"}, 0, {"DejaVuSans\nDejaVuSans-Bold\nDejaVuSansMono\nDejaVuSerif\n"}},
      {{"fonts"}, 1, {"/no/such/fonts"}, {}, {"ESTAMPILLEUR_FONTS=/no/such/fonts"}},
      {{"menus"}, 0,
       {"Tool Palettes\n  QZV•Outils", "    QZV•Estampilleur…", "About\n  À propos des QZV•Outils…\n    QZV•Estampilleur…\n"}},
      {{"about", "--render", "-"}, 0, {"Version 3.3 mars 2012", "À propos de QZV•Estampilleur"}},
      {{"dialog", "--no-name", "--date-format", "numeric", "--render", "-"}, 0,
       {"<?xml", "QZV•Estampilleur (Réglages)", "Numéro du plan", "Infos superposées", "10/04/2012", "Annuler", "OK"}},
      {{"dialog", "--no-name", "--number", "--render", "refus.svg"}, 2, {"«Numéro du plan»"}},
      // The plug-in missing, or not starting for want of a suite.
      {{"stamp", "-o", "x.svg", "--report", "r.json", a4}, 1, {"/no/Estampilleur.so"}, {},
       {"ESTAMPILLEUR_PLUGIN=/no/Estampilleur.so"}},
      {{"stamp", "--fault", "missing:AI Tag Suite", "--fault", "AI Art Suite.NewArt=!MEM", "-o", "o.svg", a4}, 1,
       {"the plug-in did not start"}},
      // The date comes from the option, then from SOURCE_DATE_EPOCH (2012-04-10 00:00:00 UTC).
      {{"stamp", "-o", "-", a4}, 0, {">Mardi 10 avril 2012<"}, {}, {"SOURCE_DATE_EPOCH=1334016000"}},
      {{"stamp", "--date", "2024-02-29", "-o", "-", a4}, 0, {">Jeudi 29 février 2024<"}, {},
       {"SOURCE_DATE_EPOCH=1334016000"}},
      // Both boxes are checked by default: a blind click would uncheck them. Unchecking «Nom.»
      // unchecks «Numéro du plan»: checking «Nom.» again leaves the number off.
      {{"stamp", "--date", "2012-04-10", "--number", "--name", "--number", "-o", "-", a4}, 0, {">1/1<", "> - " + a4 + "<"}},
      {{"stamp", "--date", "2012-04-10", "--no-name", "--name", "-o", "-", a4}, 0, {">" + a4 + "<"}, {">1/1<"}},
      {{"stamp", "--date", "2012-04-10", "--no-name", "--name", "--number", "-o", "-", a4}, 0, {">1/1<"}},
      // A separator with accents is typed in the host's encoding.
      {{"stamp", "--date", "2012-04-10", "--one-line", "--separator", " • ", "--no-number", "-o", "-", a4}, 0, {" • "}},
      // What a person could not do is refused, with nothing written or stored.
      {{"stamp", "--no-name", "--number", inPlace, "--report", "r.json", a4, pages}, 2, {"«Numéro du plan» is disabled"}},
      {{"stamp", "--no-name", "--name-font", "DejaVuSerif", inPlace, "--report", "r.json", a4, pages}, 2,
       {"the font list of «Nom.» is disabled"}},
      {{"stamp", "--no-size", "--size-pt", "14", inPlace, "--report", "r.json", a4, pages}, 2,
       {"the size of «Taille.» is disabled"}},
      {{"stamp", "--no-date-text", "--date-format", "short", inPlace, "--report", "r.json", a4, pages}, 2,
       {"the date format list is disabled"}},
      {{"stamp", "--stacked", "--no-number", "--separator", "/", inPlace, "--report", "r.json", a4, pages}, 2,
       {"«Séparateurs» is disabled"}},
      {{"stamp", "--name-font", "Comic Sans", inPlace, "--report", "r.json", a4, pages}, 2, {"holds no font «Comic Sans»"}},
      {{"stamp", "--separator", "0123456789012345678901", inPlace, "--report", "r.json", a4, pages}, 2,
       {"at most 20 characters"}},
      {{"stamp", "--separator", "→", inPlace, "--report", "r.json", a4, pages}, 2, {"«→»"}},
      {{"stamp", "--name-pt", "0.01", inPlace, "--report", "r.json", a4, pages}, 2, {"at least 0.1 points"}},
  };
  for (const auto& line : lines) {
    SCOPED_TRACE(::testing::PrintToString(line.args));
    Workspace ws;
    const std::string inputs = readFile(ws.example(a4)) + readFile(ws.example(pages));
    Result r = ws.run(line.args, line.environment);
    EXPECT_EQ(r.status, line.status) << r.err;
    for (const std::string& said : line.said)
      EXPECT_NE((r.status == 0 ? r.out : r.err).find(said), std::string::npos) << said;
    for (const std::string& unsaid : line.unsaid) EXPECT_EQ(r.out.find(unsaid), std::string::npos) << unsaid;
    EXPECT_TRUE(line.args != std::vector<std::string>{"fonts"} || r.status != 0 || r.out == line.said[0]) << r.out;
    EXPECT_TRUE((!line.args.empty() && line.args[0] == "stamp") || !std::filesystem::exists(ws.preferences()))
        << "only stamping stores the settings";
    if (r.status == 0) {
      EXPECT_EQ(r.err, "");
      continue;
    }
    // A failure writes nothing but its report, and leaves the inputs alone.
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(readFile(ws / a4) + readFile(ws / pages), inputs);
    for (const auto& file : std::filesystem::directory_iterator(ws.path()))
      EXPECT_TRUE(file.path().filename() == a4 || file.path().filename() == pages || file.path().filename() == "r.json")
          << file.path();
    if (!std::filesystem::exists(ws / "r.json")) continue;
    const nlohmann::json documents = readJson(ws / "r.json")["documents"];
    for (const auto& document : documents) EXPECT_TRUE(document["error"].is_string() && document["output"].is_null());
    EXPECT_NE(documents[0]["error"].get<std::string>().find(line.said[0]), std::string::npos) << documents[0];
    EXPECT_TRUE(r.status != 2 || documents[0]["dialog"] == "cancel") << "refused, the dialog is cancelled";
  }
}

TEST(Command, TheSystemsFontListIsKeptAndADamagedOneMadeAnew) {
  Workspace ws;
  const std::vector<std::string> system{"ESTAMPILLEUR_FONTS=", "XDG_CACHE_HOME=" + (ws / "cache").string()};
  const Result made = ws.run({"fonts"}, system);
  ASSERT_EQ(made.status, 0) << made.err;
  EXPECT_NE(made.out.find("DejaVuSans\n"), std::string::npos) << "fonts-dejavu-core is a build dependency";
  const std::filesystem::path kept = ws / "cache" / "estampilleur" / "fonts.list";
  ASSERT_TRUE(std::filesystem::exists(kept));
  EXPECT_EQ(ws.run({"fonts"}, system).out, made.out);
  writeFile(kept, readFile(kept).substr(0, 100));
  EXPECT_EQ(ws.run({"fonts"}, system).out, made.out);
  EXPECT_GT(std::filesystem::file_size(kept), 100u);
}

}  // namespace
