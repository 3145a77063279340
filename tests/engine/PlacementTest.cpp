// One artboard's stamps, on the artboard left 0, top 1000, right 600, bottom 100 with the
// sizes 10 (name), 7 (size) and 5 (date): baselines, bleeds, which frames stay, and the
// lists and document after whole runs.
#include <string>
#include <vector>

#include "host/IAIArtboards.h"

#include "support/plugin_host.h"
#include "host/IText.h"

namespace engine_test {
using namespace testsupport;
namespace {

// One artboard whose rectangle is (0, 1000, 600, 100) in host points.
constexpr const char* kExampleDocument =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\""
    " xmlns:sodipodi=\"http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd\""
    " width=\"600pt\" height=\"1000pt\" viewBox=\"0 0 600 1000\">"
    "<sodipodi:namedview id=\"namedview1\" inkscape:current-layer=\"layer1\">"
    "<inkscape:page id=\"page1\" x=\"0\" y=\"0\" width=\"600\" height=\"900\"/>"
    "</sodipodi:namedview>"
    "<g inkscape:groupmode=\"layer\" id=\"layer1\" inkscape:label=\"Layer 1\"/>"
    "</svg>";

enum class Position { Top, Bottom, Below };

struct Frames {
  AIArtHandle numero, nom, taille, date;
};

AIArtHandle Last(const MaillonAHTexte* premier) {
  const MaillonAHTexte* maillon = premier;
  while (maillon != nullptr && maillon->Suivant != nullptr) maillon = maillon->Suivant;
  return maillon != nullptr ? maillon->AHTexte : nullptr;
}

class Placement : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    openDocument(kExampleDocument);
    CorpsNom = 10;
    CorpsTaille = 7;
    CorpsDate = 5;
  }

  static void place(Position position) {
    EnHaut = position == Position::Top;
    EnBas = position == Position::Bottom;
    EnDessous = position == Position::Below;
  }
  static void show(bool nom, bool taille, bool date) {
    CaseAvecNom = nom;
    CaseAvecNumero = nom;
    CaseAvecTaille = taille;
    CaseAvecDate = date;
  }

  Frames lastFrames() {
    return {Last(PtrPremierAHTexteNumero), Last(PtrPremierAHTexteNom), Last(PtrPremierAHTexteTaille),
            Last(PtrPremierAHTexteDate)};
  }
  bool alive(AIArtHandle art) { return sAIArt->ValidArt(art, true) != 0; }
  AIRealRect bounds(AIArtHandle art) {
    AIRealRect rect = {};
    EXPECT_EQ(sAIArt->GetArtBounds(art, &rect), kNoErr);
    return rect;
  }
  void expectAnchoredAt(AIArtHandle art, const AIRealPoint& point) {
    ASSERT_TRUE(alive(art));
    AIRealPoint anchor = anchorOf(art);
    EXPECT_EQ(anchor.h, point.h);
    EXPECT_EQ(anchor.v, point.v);
  }
};

struct Example {
  const char* name;
  bool superimposed;
  Position position;
  bool nom, taille, date;
  float vNom, vTaille, vDate, bleed;
};

class Baselines : public Placement, public ::testing::WithParamInterface<Example> {};

TEST_P(Baselines, MatchTheWorkedExample) {
  const Example& example = GetParam();
  InfosSuperposees = example.superimposed;
  place(example.position);
  show(example.nom, example.taille, example.date);
  NbrPlans = 1;
  ASSERT_EQ(CreationGroupe(), kNoErr);

  EXPECT_EQ(CalculeInfosPourUnPlan(0), example.bleed);
  EXPECT_EQ(PositionTexteNomFichier.v, example.vNom);
  EXPECT_EQ(PositionTexteTaille.v, example.vTaille);
  EXPECT_EQ(PositionTexteDate.v, example.vDate);
  EXPECT_EQ(PositionTexteTaille.h, 300.0f);
  if (example.superimposed) {
    EXPECT_EQ(PositionTexteNomFichier.h, example.nom ? 300.0f : 0.0f);
    EXPECT_EQ(PositionTexteDate.h, example.date ? 300.0f : 0.0f);
  }

  Frames frames = lastFrames();
  EXPECT_EQ(alive(frames.nom), example.nom);
  EXPECT_EQ(alive(frames.numero), example.nom);
  EXPECT_EQ(alive(frames.taille), example.taille);
  EXPECT_EQ(alive(frames.date), example.date);
  if (example.nom) expectAnchoredAt(frames.nom, PositionTexteNomFichier);
  if (example.nom) expectAnchoredAt(frames.numero, PositionTexteNumero);
  if (example.taille) expectAnchoredAt(frames.taille, PositionTexteTaille);
  if (example.date) expectAnchoredAt(frames.date, PositionTexteDate);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, Baselines,
    ::testing::Values(
        Example{"StackedTop", true, Position::Top, true, true, true, 988.0f, 979.6f, 973.6f, 0.0f},
        Example{"StackedBottom", true, Position::Bottom, true, true, true, 126.4f, 114.4f, 106.0f, 0.0f},
        Example{"StackedBelow", true, Position::Below, true, true, true, 88.0f, 79.6f, 73.6f, 30.8f},
        Example{"StackedBelowSizeAndDate", true, Position::Below, false, true, true, 0.0f, 91.6f, 85.6f, 16.8f},
        Example{"StackedBottomNameAndDate", true, Position::Bottom, true, false, true, 118.0f, 0.0f, 106.0f, 0.0f},
        Example{"StackedTopNameOnly", true, Position::Top, true, false, false, 988.0f, 0.0f, 0.0f, 0.0f},
        Example{"LineTop", false, Position::Top, true, true, true, 988.0f, 988.0f, 988.0f, 0.0f},
        Example{"LineBottom", false, Position::Bottom, true, true, true, 112.0f, 112.0f, 112.0f, 0.0f},
        Example{"LineBelow", false, Position::Below, true, true, true, 88.0f, 88.0f, 88.0f, 14.0f},
        Example{"LineTopSizeAndDate", false, Position::Top, false, true, true, 0.0f, 991.6f, 991.6f, 0.0f},
        Example{"LineTopDateOnly", false, Position::Top, false, false, true, 0.0f, 0.0f, 994.0f, 0.0f},
        Example{"NothingShownBelow", true, Position::Below, false, false, false, 0.0f, 0.0f, 0.0f, 0.0f},
        Example{"NothingShownOnOneLineBelow", false, Position::Below, false, false, false, 0.0f, 0.0f, 0.0f,
                0.0f}),
    [](const ::testing::TestParamInfo<Example>& row) { return std::string(row.param.name); });

TEST_F(Placement, EqualSizesOnOneLine) {
  CorpsNom = CorpsTaille = CorpsDate = 8;
  InfosSuperposees = false;
  place(Position::Top);
  stamp();
  EXPECT_EQ(PositionTexteTaille.v, 990.4f);
  place(Position::Below);
  EXPECT_FLOAT_EQ(stamp(), 11.2f);
  EXPECT_EQ(PositionTexteTaille.v, 90.4f);
}

TEST_F(Placement, NothingShownCreatesFillsAndDisposesOfAllFour) {
  show(false, false, false);
  EXPECT_EQ(stamp(), 0.0f);
  EXPECT_TRUE(stamps().empty());
  EXPECT_EQ(Recorded(PtrPremierAHTexteNumero).size(), 1u);
  EXPECT_EQ(Recorded(PtrPremierAHTexteNom).size(), 1u);
  EXPECT_EQ(Recorded(PtrPremierAHTexteTaille).size(), 1u);
  EXPECT_EQ(Recorded(PtrPremierAHTexteDate).size(), 1u);
  EXPECT_STREQ(TexteTaille, "212 mm x 318 mm");
  EXPECT_STREQ(TexteNumero, "1/1");
  EXPECT_STREQ(TexteDate, "Mardi 10 avril 2012");
}

TEST_F(Placement, NumberWithoutTheNameIsNotStamped) {
  CaseAvecNom = false;
  CaseAvecNumero = true;
  for (bool superimposed : {true, false}) {
    InfosSuperposees = superimposed;
    stamp();
    Frames frames = lastFrames();
    EXPECT_FALSE(alive(frames.numero));
    EXPECT_FALSE(alive(frames.nom));
    EXPECT_TRUE(alive(frames.taille));
    EXPECT_EQ(stamps().size(), 2u);
  }
}

TEST_F(Placement, StackedNumberEndsWhereTheCentredNameBegins) {
  stamp();
  Frames frames = lastFrames();
  float nameWidth = bounds(frames.nom).right - bounds(frames.nom).left;
  ASSERT_GT(nameWidth, 0.0f);
  EXPECT_EQ(PositionTexteNomFichier.h, 300.0f);
  EXPECT_EQ(PositionTexteNumero.h, static_cast<float>(300.0 - 0.5 * nameWidth));
  EXPECT_EQ(PositionTexteNumero.v, 88.0f);
  EXPECT_NEAR(bounds(frames.numero).right, bounds(frames.nom).left, 0.01);
}

TEST_F(Placement, OneLineItemsStandSideBySideAroundTheSizeText) {
  InfosSuperposees = false;
  place(Position::Below);
  stamp();
  Frames frames = lastFrames();
  AIRealRect size = bounds(frames.taille);
  float sizeWidth = size.right - size.left;
  ASSERT_GT(sizeWidth, 0.0f);
  EXPECT_EQ(PositionTexteNomFichier.h, static_cast<float>(300.0 - 0.5 * sizeWidth));
  EXPECT_EQ(PositionTexteDate.h, static_cast<float>(300.0 + 0.5 * sizeWidth));
  float nameWidth = bounds(frames.nom).right - bounds(frames.nom).left;
  EXPECT_EQ(PositionTexteNumero.h, PositionTexteNomFichier.h - nameWidth);
  EXPECT_EQ(PositionTexteNumero.v, 88.0f);

  EXPECT_NEAR(bounds(frames.nom).right, size.left, 0.01);
  EXPECT_NEAR(bounds(frames.date).left, size.right, 0.01);
  EXPECT_NEAR(bounds(frames.numero).right, bounds(frames.nom).left, 0.01);
}

TEST_F(Placement, OneLineWithoutTheSizeKeepsItsGapCentred) {
  InfosSuperposees = false;
  CaseAvecTaille = false;
  stamp();
  Frames frames = lastFrames();
  EXPECT_FALSE(alive(frames.taille));
  float gap = PositionTexteDate.h - PositionTexteNomFichier.h;
  EXPECT_GT(gap, 20.0f);
  EXPECT_FLOAT_EQ(300.0f - PositionTexteNomFichier.h, PositionTexteDate.h - 300.0f);
  EXPECT_NEAR(bounds(frames.date).left - bounds(frames.nom).right, gap, 0.01);
}

TEST_F(Placement, IndexNamingNoArtboardStampsNothing) {
  NbrPlans = 1;
  ASSERT_EQ(CreationGroupe(), kNoErr);
  EXPECT_EQ(CalculeInfosPourUnPlan(1), 0.0f);
  EXPECT_EQ(CalculeInfosPourUnPlan(-1), 0.0f);
  EXPECT_EQ(CalculeInfosPourUnPlan(1L << 40), 0.0f);
  EXPECT_EQ(PtrPremierAHTexteNumero, nullptr);
  EXPECT_EQ(PtrPremierAHTexteDate, nullptr);
  EXPECT_TRUE(stamps().empty());
}

TEST_F(Placement, NoMemoryMidArtboardLeavesTheFramesMadeSoFar) {
  NbrPlans = 1;
  ASSERT_EQ(CreationGroupe(), kNoErr);
  failNextAllocation(3);  // the name's node
  EXPECT_EQ(CalculeInfosPourUnPlan(0), 0.0f);
  EXPECT_EQ(host_.beeps(), 1);
  EXPECT_EQ(Recorded(PtrPremierAHTexteNumero).size(), 1u);
  EXPECT_EQ(Recorded(PtrPremierAHTexteTaille).size(), 1u);
  EXPECT_EQ(PtrPremierAHTexteNom, nullptr);
  EXPECT_EQ(PtrPremierAHTexteDate, nullptr);
  std::vector<hostsim::ArtHandle> left = stamps();
  ASSERT_EQ(left.size(), 2u);
  for (hostsim::ArtHandle art : left) {
    EXPECT_EQ(document().text(art), "");
    EXPECT_EQ(anchorOf(PluginArt(art)).h, 0.0f);
    EXPECT_EQ(anchorOf(PluginArt(art)).v, 0.0f);
  }

  // The next run finds them by their tag.
  stamp();
  EXPECT_EQ(stamps().size(), 4u);
}

TEST_F(Placement, TextEngineFailureLeavesThroughItsExceptionWithEverythingGivenBack) {
  NbrPlans = 1;
  ASSERT_EQ(CreationGroupe(), kNoErr);
  failNextCall("ATE CharFeatures Suite.SetFontSize", 5, 2);  // the name's fill
  EXPECT_THROW(CalculeInfosPourUnPlan(0), ATE::Exception);
  EXPECT_EQ(host_.accounting().objectsLive(), 0) << host_.outstanding();
  EXPECT_EQ(stamps().size(), 4u);
}

class WholeRuns : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    openDocument({{612, 792}, {595.28, 841.89}, {300, 300}});
  }
  std::vector<std::string> textsOf(const MaillonAHTexte* list) {
    std::vector<std::string> texts;
    for (AIArtHandle art : Recorded(list)) texts.push_back(sAIArt->ValidArt(art, true) ? textOf(art) : "<gone>");
    return texts;
  }
};

TEST_F(WholeRuns, ListsFollowTheArtboardsAndKeepSwitchedOffItems) {
  CaseAvecDate = false;
  stamp();
  EXPECT_EQ(NbrPlans, 3);
  EXPECT_EQ(textsOf(PtrPremierAHTexteNumero), (std::vector<std::string>{"1/3", "2/3", "3/3"}));
  EXPECT_EQ(textsOf(PtrPremierAHTexteTaille),
            (std::vector<std::string>{"216 mm x 279 mm", "210 mm x 297 mm", "106 mm x 106 mm"}));
  EXPECT_EQ(textsOf(PtrPremierAHTexteDate), (std::vector<std::string>{"<gone>", "<gone>", "<gone>"}));
  EXPECT_EQ(Recorded(PtrPremierAHTexteNom).size(), 3u);
  EXPECT_EQ(stamps().size(), 9u);
}

TEST_F(WholeRuns, StampingTwiceLeavesOneSet) {
  stamp();
  std::vector<hostsim::ArtHandle> first = stamps();
  ASSERT_EQ(first.size(), 12u);
  AIArtHandle firstGroup = AHGroupe;
  stamp();
  std::vector<hostsim::ArtHandle> second = stamps();
  EXPECT_EQ(second.size(), 12u);
  for (hostsim::ArtHandle art : first) EXPECT_FALSE(document().valid(art));
  EXPECT_FALSE(sAIArt->ValidArt(firstGroup, true));
  EXPECT_EQ(document().layerCount(), 2);
  for (hostsim::ArtHandle art : second) EXPECT_EQ(document().parent(art), ModelArt(AHGroupe));
  EXPECT_EQ(Recorded(PtrPremierAHTexteNom).size(), 3u);
}

TEST_F(WholeRuns, ActiveArtboardOnlyCountsAmongAll) {
  stamp();
  InfosSurTousLesPlans = false;
  document().setActiveArtboard(1);
  stamp();
  EXPECT_EQ(stamps().size(), 4u);
  EXPECT_EQ(textsOf(PtrPremierAHTexteNumero), std::vector<std::string>{"2/3"});
  EXPECT_EQ(textsOf(PtrPremierAHTexteTaille), std::vector<std::string>{"210 mm x 297 mm"});
}

}  // namespace
}  // namespace engine_test
