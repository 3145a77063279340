// The command line itself and the other subcommands: usage errors, help, fonts, menus and
// the pictures of the dialog and the About box.
#include <gtest/gtest.h>

#include "run.h"

namespace clitest {
namespace {

struct Usage {
  std::vector<std::string> args;
  std::string said;  // part of the message
};

void PrintTo(const Usage& usage, std::ostream* out) {
  *out << "estampilleur";
  for (const auto& arg : usage.args) *out << " " << arg;
}

class UsageErrors : public ::testing::TestWithParam<Usage> {};

TEST_P(UsageErrors, ExitWithStatusTwoAndWriteNothing) {
  Workspace ws;
  ws.example("affiche-a4.svg");
  ws.example("plaquette-multipage.svg");
  Result r = ws.run(GetParam().args);
  EXPECT_EQ(r.status, 2) << r.err;
  EXPECT_NE(r.err.find(GetParam().said), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "");
  size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(ws.path())) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 2u) << "nothing but the two inputs";
}

INSTANTIATE_TEST_SUITE_P(
    Command, UsageErrors,
    ::testing::Values(
        Usage{{}, "subcommand"},
        Usage{{"tampon"}, "tampon"},
        Usage{{"stamp", "affiche-a4.svg"}, "-o FILE, --out-dir DIR or --in-place"},
        Usage{{"stamp", "-o", "x.svg", "--in-place", "affiche-a4.svg"}, "exclude each other"},
        Usage{{"stamp", "-o", "x.svg", "affiche-a4.svg", "plaquette-multipage.svg"}, "-o takes one input"},
        Usage{{"stamp", "-o", "x.svg"}, "no INPUT"},
        Usage{{"stamp", "--new", "210x297mm", "--out-dir", "d"}, "--new needs -o"},
        Usage{{"stamp", "--new", "210x297mm", "-o", "x.svg", "affiche-a4.svg"}, "give no INPUT"},
        Usage{{"stamp", "--new", "210x297", "-o", "x.svg"}, "needs a unit"},
        Usage{{"stamp", "--new", "0x297mm", "-o", "x.svg"}, "not a usable artboard size"},
        Usage{{"stamp", "--date", "2012-02-30", "-o", "x.svg", "affiche-a4.svg"}, "YYYY-MM-DD"},
        Usage{{"stamp", "--active", "0", "-o", "x.svg", "affiche-a4.svg"}, "artboard number"},
        Usage{{"stamp", "--name-pt", "grand", "-o", "x.svg", "affiche-a4.svg"}, "«grand»"},
        Usage{{"stamp", "--date-format", "iso", "-o", "x.svg", "affiche-a4.svg"}, "iso"},
        Usage{{"stamp", "--out-dir", "d", "affiche-a4.svg", "./affiche-a4.svg"}, "would both be written"},
        Usage{{"stamp", "--document-path", "a.svg", "--out-dir", "d", "affiche-a4.svg", "plaquette-multipage.svg"},
              "stands for one input's file"},
        Usage{{"stamp", "--new", "210x297mm", "-o", "x.svg", "--document-path", "a.svg"}, "not --new"},
        Usage{{"dialog"}, "--render"}));

TEST(Command, HelpDocumentsEveryOption) {
  Workspace ws;
  Result r = ws.run({"stamp", "--help"});
  ASSERT_EQ(r.status, 0);
  for (const char* option :
       {"--output", "--out-dir", "--in-place", "--new", "--date", "--prefs", "--active", "--report", "--cancel", "--fault",
        "--document-path",
        "--number", "--no-number", "--name", "--no-name", "--size", "--no-size", "--date-text", "--no-date-text",
        "--name-font", "--size-font", "--date-font", "--name-pt", "--size-pt", "--date-pt", "--date-format",
        "--stacked", "--one-line", "--all", "--active-only", "--separator", "--top", "--bottom", "--below"})
    EXPECT_NE(r.out.find(option), std::string::npos) << option;
  r = ws.run({"--help"});
  ASSERT_EQ(r.status, 0);
  for (const char* command : {"stamp", "dialog", "about", "fonts", "menus"})
    EXPECT_NE(r.out.find(command), std::string::npos) << command;
  for (const char* command : {"dialog", "about", "fonts", "menus"}) EXPECT_EQ(ws.run({command, "--help"}).status, 0);
}

TEST(Command, FontsListsTheHostsFontsInTheListsOrder) {
  Workspace ws;
  Result r = ws.run({"fonts"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "DejaVuSans\nDejaVuSans-Bold\nDejaVuSansMono\nDejaVuSerif\n");
}

TEST(Command, AMissingFontFolderIsNamed) {
  Workspace ws;
  Result r = ws.run({"fonts"}, {"ESTAMPILLEUR_FONTS=/no/such/fonts"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("/no/such/fonts"), std::string::npos) << r.err;
}

TEST(Command, MenusShowThePluginsTwoItems) {
  Workspace ws;
  Result r = ws.run({"menus"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Tool Palettes\n  QZV•Outils"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("    QZV•Estampilleur…"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("About\n  À propos des QZV•Outils…\n    QZV•Estampilleur…\n"), std::string::npos) << r.out;
  EXPECT_EQ(r.err, "");
}

TEST(Command, AMissingPluginIsNamed) {
  Workspace ws;
  ws.example("affiche-a4.svg");
  Result r = ws.run({"stamp", "-o", "x.svg", "--report", "r.json", "affiche-a4.svg"},
                    {"ESTAMPILLEUR_PLUGIN=/no/Estampilleur.so"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("/no/Estampilleur.so"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(ws / "x.svg"));
  auto document = readJson(ws / "r.json")["documents"][0];
  EXPECT_NE(document["error"].get<std::string>().find("/no/Estampilleur.so"), std::string::npos);
  EXPECT_TRUE(document["output"].is_null());
}

TEST(Command, DialogDrawsTheSettingsAfterTheActionsAndStoresNothing) {
  Workspace ws;
  Result r = ws.run({"dialog", "--no-name", "--date-format", "numeric", "--render", "dialogue.svg"});
  ASSERT_EQ(r.status, 0) << r.err;
  std::string svg = readFile(ws / "dialogue.svg");
  EXPECT_EQ(svg.find("<?xml"), 0u);
  for (const char* label : {"QZV•Estampilleur (Réglages)", "Numéro du plan", "Infos superposées", "10/04/2012",
                            "Annuler", "OK"})
    EXPECT_NE(svg.find(label), std::string::npos) << label;
  EXPECT_FALSE(std::filesystem::exists(ws.preferences()));

  r = ws.run({"dialog", "--no-name", "--number", "--render", "refus.svg"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("«Numéro du plan»"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(ws / "refus.svg"));
}

TEST(Command, AboutDrawsTheAboutBox) {
  Workspace ws;
  Result r = ws.run({"about", "--render", "-"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Version 3.3 mars 2012"), std::string::npos);
  EXPECT_NE(r.out.find("À propos de QZV•Estampilleur"), std::string::npos);
}

}  // namespace
}  // namespace clitest
