// Stamped text frames: made in the group with the tag and listed, filled with the item's
// text, font, size, colour and alignment, or the defaults. Moving shows in the placement.
#include <cstring>
#include <optional>
#include <string>

#include "support/plugin_host.h"

namespace {
using namespace testsupport;
using J = hostsim::Justification;

class StampedTexts : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ASSERT_EQ(CreationGroupe(), kNoErr);
  }
  AIArtHandle newFrame(MaillonAHTexte*& list) {
    MaillonAHTexte* node = CreationTexteEstampille(list);
    EXPECT_NE(node, nullptr);
    return node != nullptr ? node->AHTexte : nullptr;
  }
};

// Each frame goes at the end of its list (none, after a beep, without memory); a frame gone is
// left alone; emptying the lists disposes of the rest, locked ones too, and frees each node.
TEST_F(StampedTexts, NewFrameIsAnEmptyTaggedPointTextAtTheOriginOfTheGroup) {
  const size_t blocks = host_.liveBlocks();
  AIArtHandle frame = newFrame(PtrPremierAHTexteTaille);
  ASSERT_TRUE(sAIArt->ValidArt(frame, true));
  EXPECT_EQ(document().kind(ModelArt(frame)), hostsim::ArtKind::PointText);
  EXPECT_EQ(document().parent(ModelArt(frame)), ModelArt(AHGroupe));
  EXPECT_EQ(textOf(frame), "");
  EXPECT_EQ(anchorOf(frame).h, 0.0f);
  EXPECT_EQ(anchorOf(frame).v, 0.0f);
  const std::optional<hostsim::Tag> tag = document().tag(ModelArt(frame), "QZVNOM");
  ASSERT_TRUE(tag.has_value());
  EXPECT_EQ(tag->type, "string");
  EXPECT_EQ(tag->value, "jj");

  AIArtHandle locked = newFrame(PtrPremierAHTexteDate);
  AIArtHandle gone = newFrame(PtrPremierAHTexteTaille);
  AIArtHandle later = newFrame(PtrPremierAHTexteTaille);
  EXPECT_EQ(Recorded(PtrPremierAHTexteTaille), (std::vector<AIArtHandle>{frame, gone, later}));
  EXPECT_EQ(Recorded(PtrPremierAHTexteDate), std::vector<AIArtHandle>{locked});
  EXPECT_EQ(PtrPremierAHTexteNom, nullptr);
  failNextAllocation();
  EXPECT_EQ(CreationTexteEstampille(PtrPremierAHTexteNom), nullptr);
  EXPECT_EQ(host_.beeps(), 1);
  EXPECT_EQ(host_.liveBlocks(), blocks + 4);
  document().setLocked(ModelArt(locked), true);
  ASSERT_EQ(sAIArt->DisposeArt(gone), kNoErr);
  EXPECT_EQ(AffichageTexteTaille(gone), kNoErr);
  EXPECT_EQ(AffichageTexteDate(nullptr), kNoErr);
  VideListesTextes();
  EXPECT_EQ(PtrPremierAHTexteTaille, nullptr);
  EXPECT_EQ(PtrPremierAHTexteDate, nullptr);
  EXPECT_TRUE(stamps().empty());
  EXPECT_EQ(host_.liveBlocks(), blocks);
}

// Each item in its font, size (as a float) and alignment, in black with nothing shifted.
TEST_F(StampedTexts, FillingPutsTheBufferInTheItemsFontSizeAndAlignment) {
  NumeroPoliceNom = 1;
  NumeroPoliceTaille = 2;
  NumeroPoliceDate = 3;
  CorpsNom = 7.5;
  CorpsTaille = 7.1;  // not a float: the engine gets the nearest one
  CorpsDate = 30.25;
  strcpy(TexteNumero, "3/5");
  strcpy(TexteNomFichier, " - affiche.ai");
  strcpy(TexteTaille, "210 mm x 297 mm");
  strcpy(TexteDate, "Jeudi 5 ao\x9Et 2012");  // "août"
  const struct {
    ASErr (*fill)(AIArtHandle);
    MaillonAHTexte*& list;
    const char* text;
    size_t font;
    double size;
    J oneLine, stacked;
  } items[] = {{AffichageNumero, PtrPremierAHTexteNumero, TexteNumero, 1, 7.5, J::Right, J::Right},
               {AffichageNomFichier, PtrPremierAHTexteNom, TexteNomFichier, 1, 7.5, J::Right, J::Center},
               {AffichageTexteTaille, PtrPremierAHTexteTaille, TexteTaille, 2, 7.1f, J::Center, J::Center},
               {AffichageTexteDate, PtrPremierAHTexteDate, TexteDate, 3, 30.25, J::Left, J::Center}};
  for (bool stacked : {false, true}) {
    InfosSuperposees = stacked;
    for (const auto& item : items) {
      SCOPED_TRACE(std::string(item.text) + (stacked ? ", stacked" : ""));
      AIArtHandle frame = newFrame(item.list);
      EXPECT_EQ(item.fill(frame), kNoErr);
      EXPECT_EQ(textOf(frame), item.text);
      const hostsim::TextStyle style = styleOf(frame);
      EXPECT_EQ(style.font.postscriptName, host_.fonts().fonts().at(item.font).postscriptName);
      EXPECT_EQ(style.sizePt, item.size);
      EXPECT_EQ(style.justification, stacked ? item.stacked : item.oneLine);
      EXPECT_EQ(style.fill, (hostsim::Rgb{0, 0, 0}));
      EXPECT_EQ(style.tracking, 0.0);
      EXPECT_EQ(style.baselineShiftPt, 0.0);
      EXPECT_EQ(style.startIndentPt, 0.0);
      EXPECT_EQ(style.firstLineIndentPt, 0.0);
    }
  }
}

// What the host refuses while filling: the text range leaves the frame empty and answers its
// code; a font it cannot give (or an index naming none) keeps the default, the text written.
TEST_F(StampedTexts, RefusalsWhileFillingKeepTheDefaults) {
  const struct {
    const char* operation;  // that fails, or none
    int32_t font;
    ASErr answer;
    const char* text;
  } cases[] = {{"AI Text Frame Suite.GetATETextRange", 0, fourcc("NO!!"), ""},
               {"AI Font Suite.FontFromFontKey", 2, fourcc("NO!!"), "10/04/2012"},
               {nullptr, -1, kBadParameterErr, "10/04/2012"},
               {nullptr, INT32_MAX, kBadParameterErr, "10/04/2012"}};
  strcpy(TexteDate, "10/04/2012");
  for (const auto& c : cases) {
    AIArtHandle frame = newFrame(PtrPremierAHTexteDate);
    const hostsim::TextStyle before = styleOf(frame);
    NumeroPoliceDate = c.font;
    if (c.operation != nullptr) failNextCall(c.operation, fourcc("NO!!"));
    EXPECT_EQ(AffichageTexteDate(frame), c.answer) << c.font;
    EXPECT_EQ(textOf(frame), c.text);
    EXPECT_EQ(styleOf(frame).font, before.font);
  }
}

}  // namespace
