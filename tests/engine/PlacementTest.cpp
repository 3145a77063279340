// One artboard's stamps (the worked example: left 0, top 1000, right 600, bottom 100, sizes
// 10, 7, 5), and whole runs. Refused memory and text-engine failures are the fault sweep's.
#include <string>
#include <vector>

#include "support/plugin_host.h"

namespace {
using namespace testsupport;

constexpr const char* kExampleDocument = R"(<svg xmlns="http://www.w3.org/2000/svg"
 xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape"
 xmlns:sodipodi="http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd" width="600pt" height="1000pt"
 viewBox="0 0 600 1000"><sodipodi:namedview inkscape:current-layer="layer1">
 <inkscape:page x="0" y="0" width="600" height="900"/></sodipodi:namedview>
 <g inkscape:groupmode="layer" id="layer1" inkscape:label="Layer 1"/></svg>)";

bool Alive(AIArtHandle art) { return sAIArt->ValidArt(art, true) != 0; }
AIRealRect Bounds(AIArtHandle art) {
  AIRealRect rect = {};
  EXPECT_EQ(sAIArt->GetArtBounds(art, &rect), kNoErr);
  return rect;
}
float Width(AIArtHandle art) { return Bounds(art).right - Bounds(art).left; }

class Placement : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    openDocument(kExampleDocument);
    CorpsNom = 10;
    CorpsTaille = 7;
    CorpsDate = 5;
    NbrPlans = 1;
    ASSERT_EQ(CreationGroupe(), kNoErr);
  }
  // The frames of the one artboard stamped, shown or not.
  AIArtHandle numero() { return Recorded(PtrPremierAHTexteNumero).at(0); }
  AIArtHandle nom() { return Recorded(PtrPremierAHTexteNom).at(0); }
  AIArtHandle taille() { return Recorded(PtrPremierAHTexteTaille).at(0); }
  AIArtHandle date() { return Recorded(PtrPremierAHTexteDate).at(0); }
  std::vector<std::string> textsOf(const MaillonAHTexte* list) {
    std::vector<std::string> texts;
    for (AIArtHandle art : Recorded(list)) texts.push_back(Alive(art) ? textOf(art) : "<gone>");
    return texts;
  }
  void expectAnchoredAt(AIArtHandle art, const AIRealPoint& point) {
    ASSERT_TRUE(Alive(art));
    EXPECT_EQ(anchorOf(art).h, point.h);
    EXPECT_EQ(anchorOf(art).v, point.v);
  }
};

enum Position { kTop, kBottom, kBelow };

struct Example {
  const char* name;
  bool stacked;
  Position position;
  bool nom, taille, date;
  float vNom, vTaille, vDate, bleed;
  double sizes = 0;  // every size, when not the example's 10, 7 and 5
};

class Baselines : public Placement, public ::testing::WithParamInterface<Example> {};

// The number is asked for, but stamped only beside the name. Stacked lines are centred; on
// one line the name and date meet the size text's edges, shown or not; the number ends
// where the name begins. Every frame is made and filled, shown or not.
TEST_P(Baselines, MatchTheWorkedExample) {
  const Example& example = GetParam();
  InfosSuperposees = example.stacked;
  EnHaut = example.position == kTop;
  EnBas = example.position == kBottom;
  EnDessous = example.position == kBelow;
  CaseAvecNumero = true;
  CaseAvecNom = example.nom;
  CaseAvecTaille = example.taille;
  CaseAvecDate = example.date;
  if (example.sizes != 0) CorpsNom = CorpsTaille = CorpsDate = example.sizes;

  EXPECT_EQ(CalculeInfosPourUnPlan(0), example.bleed);
  EXPECT_EQ((std::vector<float>{PositionTexteNomFichier.v, PositionTexteTaille.v, PositionTexteDate.v}),
            (std::vector<float>{example.vNom, example.vTaille, example.vDate}));
  EXPECT_EQ(PositionTexteTaille.h, 300.0f);
  EXPECT_EQ((std::vector<bool>{Alive(numero()), Alive(nom()), Alive(taille()), Alive(date())}),
            (std::vector<bool>{example.nom, example.nom, example.taille, example.date}));
  if (example.taille) expectAnchoredAt(taille(), PositionTexteTaille);
  if (example.date) expectAnchoredAt(date(), PositionTexteDate);
  if (example.stacked) {
    EXPECT_EQ(PositionTexteNomFichier.h, example.nom ? 300.0f : 0.0f);
    EXPECT_EQ(PositionTexteDate.h, example.date ? 300.0f : 0.0f);
  } else {
    EXPECT_FLOAT_EQ(300.0f - PositionTexteNomFichier.h, PositionTexteDate.h - 300.0f);
    EXPECT_GT(PositionTexteDate.h - PositionTexteNomFichier.h, 20.0f);
    if (example.taille) {
      EXPECT_EQ(PositionTexteDate.h, static_cast<float>(300.0 + 0.5 * Width(taille())));
    }
    if (example.nom && example.date) {
      EXPECT_NEAR(Bounds(date()).left - Bounds(nom()).right, PositionTexteDate.h - PositionTexteNomFichier.h, 0.01);
    }
  }
  if (example.nom) {
    expectAnchoredAt(nom(), PositionTexteNomFichier);
    expectAnchoredAt(numero(), PositionTexteNumero);
    const float w = Width(nom());
    EXPECT_EQ(PositionTexteNumero.h, example.stacked ? static_cast<float>(PositionTexteNomFichier.h - 0.5 * w)
                                                     : PositionTexteNomFichier.h - w);
    EXPECT_EQ(PositionTexteNumero.v, example.vNom);
    EXPECT_NEAR(Bounds(numero()).right, Bounds(nom()).left, 0.01);
  }
  EXPECT_STREQ(TexteNumero, "1/1");
  EXPECT_NE(std::string(TexteTaille).find("212 mm x 318 mm"), std::string::npos) << TexteTaille;
  EXPECT_STREQ(TexteDate, "Mardi 10 avril 2012");
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, Baselines,
    ::testing::Values(Example{"StackedTop", true, kTop, true, true, true, 988.0f, 979.6f, 973.6f, 0.0f},
                      Example{"StackedBottom", true, kBottom, true, true, true, 126.4f, 114.4f, 106.0f, 0.0f},
                      Example{"StackedBelow", true, kBelow, true, true, true, 88.0f, 79.6f, 73.6f, 30.8f},
                      Example{"StackedBelowSizeAndDate", true, kBelow, false, true, true, 0.0f, 91.6f, 85.6f, 16.8f},
                      Example{"StackedBottomNameAndDate", true, kBottom, true, false, true, 118.0f, 0.0f, 106.0f, 0.0f},
                      Example{"StackedTopNameOnly", true, kTop, true, false, false, 988.0f, 0.0f, 0.0f, 0.0f},
                      Example{"LineTop", false, kTop, true, true, true, 988.0f, 988.0f, 988.0f, 0.0f},
                      Example{"LineBottom", false, kBottom, true, true, true, 112.0f, 112.0f, 112.0f, 0.0f},
                      Example{"LineBelow", false, kBelow, true, true, true, 88.0f, 88.0f, 88.0f, 14.0f},
                      Example{"LineTopSizeAndDate", false, kTop, false, true, true, 0.0f, 991.6f, 991.6f, 0.0f},
                      Example{"LineTopDateOnly", false, kTop, false, false, true, 0.0f, 0.0f, 994.0f, 0.0f},
                      Example{"LineBelowNameAndDate", false, kBelow, true, false, true, 88.0f, 0.0f, 88.0f, 14.0f},
                      Example{"LineTopEqualSizes", false, kTop, true, true, true, 990.4f, 990.4f, 990.4f, 0.0f, 8},
                      Example{"LineBelowEqualSizes", false, kBelow, true, true, true, 90.4f, 90.4f, 90.4f, 11.2f, 8},
                      Example{"NothingShownBelow", true, kBelow, false, false, false, 0.0f, 0.0f, 0.0f, 0.0f},
                      Example{"NothingShownOneLineBelow", false, kBelow, false, false, false, 0.0f, 0.0f, 0.0f, 0.0f}),
    [](const ::testing::TestParamInfo<Example>& row) { return std::string(row.param.name); });

// Three artboards, the last narrower than half a millimetre, in order, switched-off items
// disposed of; the next run replaces the set and its group; then the active artboard only.
TEST_F(Placement, StampingTwiceLeavesOneSetAndTheActiveArtboardOnlyCountsAmongAll) {
  openDocument({{612, 792}, {595.28, 841.89}, {1.4, 100}});
  CaseAvecDate = false;
  stamp();
  const std::vector<hostsim::ArtHandle> first = stamps();
  const AIArtHandle firstGroup = AHGroupe;
  EXPECT_EQ(first.size(), 9u);
  EXPECT_EQ(textsOf(PtrPremierAHTexteNumero), (std::vector<std::string>{"1/3", "2/3", "3/3"}));
  EXPECT_EQ(textsOf(PtrPremierAHTexteTaille),
            (std::vector<std::string>{"216 mm x 279 mm", "210 mm x 297 mm", "0 mm x 35 mm"}));
  EXPECT_EQ(textsOf(PtrPremierAHTexteDate), std::vector<std::string>(3, "<gone>"));

  CaseAvecDate = true;
  stamp();
  EXPECT_EQ(stamps().size(), 12u);
  for (hostsim::ArtHandle art : first) EXPECT_FALSE(document().valid(art));
  EXPECT_FALSE(Alive(firstGroup));
  EXPECT_EQ(document().layerCount(), 2);
  for (hostsim::ArtHandle art : stamps()) EXPECT_EQ(document().parent(art), ModelArt(AHGroupe));

  InfosSurTousLesPlans = false;
  document().setActiveArtboard(1);
  stamp();
  EXPECT_EQ(stamps().size(), 4u);
  EXPECT_EQ(textsOf(PtrPremierAHTexteNumero), std::vector<std::string>{"2/3"});
  EXPECT_EQ(textsOf(PtrPremierAHTexteTaille), std::vector<std::string>{"210 mm x 297 mm"});
}

}  // namespace
