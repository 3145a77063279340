// The dialog actions: played in the order given, against the dialog as it stands, only when
// they change something; refused, with nothing written, when a person could not make them.
#include <gtest/gtest.h>

#include <algorithm>

#include "run.h"

namespace clitest {
namespace {

using nlohmann::json;

bool contains(const std::vector<std::string>& texts, const std::string& text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// Stamps affiche-a4.svg with the given actions; the report's entry.
json stampWith(const Workspace& ws, std::vector<std::string> actions, Result* result = nullptr) {
  ws.example("affiche-a4.svg");
  std::vector<std::string> args = {"stamp", "--date", "2012-04-10", "-o", "o.svg", "--report", "r.json"};
  args.insert(args.end(), actions.begin(), actions.end());
  args.push_back("affiche-a4.svg");
  Result r = ws.run(args);
  if (result != nullptr) *result = r;
  EXPECT_EQ(r.status, 0) << r.err;
  return readJson(ws / "r.json")["documents"][0];
}

TEST(DialogActions, ACheckBoxAlreadyInTheWantedStateIsNotClicked) {
  Workspace ws;
  // Both boxes are checked by default: a blind click would uncheck them.
  auto texts = stampTexts(stampWith(ws, {"--number", "--name", "--number"}));
  EXPECT_TRUE(contains(texts, "1/1"));
  EXPECT_TRUE(contains(texts, " - affiche-a4.svg"));
}

TEST(DialogActions, EachActionMeetsTheDialogTheEarlierOnesLeft) {
  Workspace ws;
  // Unchecking «Nom.» unchecks «Numéro du plan»; checking it again leaves the number off.
  auto texts = stampTexts(stampWith(ws, {"--no-name", "--name"}));
  EXPECT_FALSE(contains(texts, "1/1"));
  EXPECT_TRUE(contains(texts, "affiche-a4.svg"));

  Workspace ws2;
  // The same actions in the other order end with both boxes checked.
  texts = stampTexts(stampWith(ws2, {"--no-name", "--name", "--number"}));
  EXPECT_TRUE(contains(texts, "1/1"));
}

TEST(DialogActions, FontsSizesFormatLayoutAndPositionReachTheStamps) {
  Workspace ws;
  json doc = stampWith(ws, {"--name-font", "DejaVuSerif", "--date-pt", "9.5", "--date-format", "numeric",
                            "--one-line", "--separator", " | ", "--top", "--no-number"});
  ASSERT_FALSE(doc["stamps"].empty());
  bool sawName = false, sawDate = false;
  for (const auto& stamp : doc["stamps"]) {
    std::string text = stamp["text"];
    if (text.find("affiche-a4.svg") != std::string::npos) {
      sawName = true;
      EXPECT_EQ(stamp["font"], "DejaVuSerif");
    } else {
      EXPECT_EQ(stamp["font"], "DejaVuSans") << text;
    }
    if (text.find("10/04/2012") != std::string::npos) {
      sawDate = true;
      EXPECT_EQ(stamp["size"], 9.5);
    }
    // At the top: inside the artboard, near its top edge.
    EXPECT_GT(stamp["v"].get<double>(), 841.0 / 2) << text;
    EXPECT_LT(stamp["bounds"]["top"].get<double>(), 842.0) << text;
  }
  EXPECT_TRUE(sawName);
  EXPECT_TRUE(sawDate);
  // One line joined by the separator.
  bool joined = false;
  for (const auto& text : stampTexts(doc)) joined = joined || text.find(" | ") != std::string::npos;
  EXPECT_TRUE(joined);
}

TEST(DialogActions, ASeparatorWithAccentsIsTypedInTheHostsEncoding) {
  Workspace ws;
  json doc = stampWith(ws, {"--one-line", "--separator", " • ", "--no-number"});
  bool found = false;
  for (const auto& text : stampTexts(doc)) found = found || text.find(" • ") != std::string::npos;
  EXPECT_TRUE(found);
}

struct Refusal {
  std::vector<std::string> actions;
  std::string named;  // what the message must name
};

void PrintTo(const Refusal& refusal, std::ostream* out) {
  for (const auto& arg : refusal.actions) *out << arg << " ";
}

class RefusedActions : public ::testing::TestWithParam<Refusal> {};

TEST_P(RefusedActions, AreRefusedWithNothingWrittenOrStored) {
  Workspace ws;
  auto input = ws.example("affiche-a4.svg");
  ws.example("plaquette-multipage.svg");
  std::string before = readFile(input);
  std::vector<std::string> args = {"stamp", "--in-place", "--report", "r.json"};
  args.insert(args.end(), GetParam().actions.begin(), GetParam().actions.end());
  args.push_back("affiche-a4.svg");
  args.push_back("plaquette-multipage.svg");
  Result r = ws.run(args);
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find(GetParam().named), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("refused"), std::string::npos) << r.err;
  EXPECT_EQ(readFile(input), before);
  EXPECT_EQ(occurrences(readFile(ws / "plaquette-multipage.svg"), "QZVNOM"), 0u) << "later inputs are not stamped";
  EXPECT_FALSE(std::filesystem::exists(ws.preferences())) << "the dialog was cancelled";
  json docs = readJson(ws / "r.json")["documents"];
  ASSERT_EQ(docs.size(), 2u);
  EXPECT_EQ(docs[0]["dialog"], "cancel");
  EXPECT_TRUE(docs[0]["error"].is_string());
  EXPECT_TRUE(docs[1]["error"].is_string());
}

INSTANTIATE_TEST_SUITE_P(
    DialogActions, RefusedActions,
    ::testing::Values(Refusal{{"--no-name", "--number"}, "«Numéro du plan» is disabled"},
                      Refusal{{"--no-name", "--name-font", "DejaVuSerif"}, "the font list of «Nom.» is disabled"},
                      Refusal{{"--no-size", "--size-pt", "14"}, "the size of «Taille.» is disabled"},
                      Refusal{{"--no-date-text", "--date-format", "short"}, "the date format list is disabled"},
                      Refusal{{"--stacked", "--no-number", "--separator", "/"}, "«Séparateurs» is disabled"},
                      Refusal{{"--name-font", "Comic Sans"}, "holds no font «Comic Sans»"},
                      Refusal{{"--separator", "0123456789012345678901"}, "at most 20 characters"},
                      Refusal{{"--separator", "→"}, "«→»"},
                      Refusal{{"--name-pt", "0.01"}, "at least 0.1 points"}));

}  // namespace
}  // namespace clitest
