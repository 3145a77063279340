// Stamped text frames: creation in the group with the tag, the lists, moving, filling with
// the item's text, font, size, colour and alignment, and what happens when memory, the
// frame or the font is missing.
#include <cstring>
#include <optional>
#include <string>

#include "support/plugin_host.h"
#include "host/IText.h"

namespace engine_test {
using namespace testsupport;
namespace {

class StampedTexts : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ASSERT_EQ(CreationGroupe(), kNoErr);
    NbrPlans = 1;
  }

  AIArtHandle newFrame(MaillonAHTexte*& list) {
    MaillonAHTexte* node = CreationTexteEstampille(list);
    EXPECT_NE(node, nullptr);
    return node != nullptr ? node->AHTexte : nullptr;
  }

  std::string fontName(int index) { return host_.fonts().fonts().at(static_cast<size_t>(index)).postscriptName; }
};

TEST_F(StampedTexts, NewFrameIsAnEmptyTaggedPointTextAtTheOriginOfTheGroup) {
  AIArtHandle frame = newFrame(PtrPremierAHTexteNom);
  ASSERT_TRUE(sAIArt->ValidArt(frame, true));
  EXPECT_EQ(document().kind(ModelArt(frame)), hostsim::ArtKind::PointText);
  EXPECT_EQ(document().parent(ModelArt(frame)), ModelArt(AHGroupe));
  EXPECT_EQ(textOf(frame), "");
  AIRealPoint anchor = anchorOf(frame);
  EXPECT_EQ(anchor.h, 0.0f);
  EXPECT_EQ(anchor.v, 0.0f);
  std::optional<hostsim::Tag> tag = document().tag(ModelArt(frame), "QZVNOM");
  ASSERT_TRUE(tag.has_value());
  EXPECT_EQ(tag->type, "string");
  EXPECT_EQ(tag->value, "jj");
  EXPECT_EQ(sTag->GetTag(frame, kNomEtiquette, nullptr), kNoErr);
}

TEST_F(StampedTexts, FramesAreRecordedAtTheEndOfTheirOwnList) {
  AIArtHandle a = newFrame(PtrPremierAHTexteTaille);
  AIArtHandle b = newFrame(PtrPremierAHTexteDate);
  AIArtHandle c = newFrame(PtrPremierAHTexteTaille);
  AIArtHandle d = newFrame(PtrPremierAHTexteTaille);
  EXPECT_EQ(Recorded(PtrPremierAHTexteTaille), (std::vector<AIArtHandle>{a, c, d}));
  EXPECT_EQ(Recorded(PtrPremierAHTexteDate), std::vector<AIArtHandle>{b});
  EXPECT_EQ(PtrPremierAHTexteNom, nullptr);
}

TEST_F(StampedTexts, NoMemoryForANodeBeepsOnceAndCreatesNothing) {
  AIArtHandle first = newFrame(PtrPremierAHTexteNom);
  size_t before = stamps().size();
  failNextAllocation();
  EXPECT_EQ(CreationTexteEstampille(PtrPremierAHTexteNom), nullptr);
  EXPECT_EQ(host_.beeps(), 1);
  EXPECT_EQ(Recorded(PtrPremierAHTexteNom), std::vector<AIArtHandle>{first});
  EXPECT_EQ(stamps().size(), before);
}

TEST_F(StampedTexts, MovingPutsTheAnchorOnThePoint) {
  AIArtHandle frame = newFrame(PtrPremierAHTexteDate);
  DeplaceTexte(frame, {123.25f, 979.6f});
  AIRealPoint anchor = anchorOf(frame);
  EXPECT_EQ(anchor.h, 123.25f);
  EXPECT_EQ(anchor.v, 979.6f);
  // A second move goes by a float difference: exact to the float's last place only.
  DeplaceTexte(frame, {-40.5f, 73.6f});
  anchor = anchorOf(frame);
  EXPECT_FLOAT_EQ(anchor.h, -40.5f);
  EXPECT_FLOAT_EQ(anchor.v, 73.6f);
}

TEST_F(StampedTexts, FillingPutsTheBufferInTheItemsFontAndSize) {
  NumeroPoliceNom = 1;
  NumeroPoliceTaille = 2;
  NumeroPoliceDate = 3;
  CorpsNom = 7.5;
  CorpsTaille = 9.0;
  CorpsDate = 30.25;
  strcpy(TexteNumero, "3/5");
  strcpy(TexteNomFichier, " - affiche.ai");
  strcpy(TexteTaille, "210 mm x 297 mm");
  strcpy(TexteDate, "Jeudi 5 ao\x9Et 2012");  // "août"

  AIArtHandle numero = newFrame(PtrPremierAHTexteNumero);
  AIArtHandle nom = newFrame(PtrPremierAHTexteNom);
  AIArtHandle taille = newFrame(PtrPremierAHTexteTaille);
  AIArtHandle date = newFrame(PtrPremierAHTexteDate);
  EXPECT_EQ(AffichageNumero(numero), kNoErr);
  EXPECT_EQ(AffichageNomFichier(nom), kNoErr);
  EXPECT_EQ(AffichageTexteTaille(taille), kNoErr);
  EXPECT_EQ(AffichageTexteDate(date), kNoErr);

  EXPECT_EQ(textOf(numero), "3/5");
  EXPECT_EQ(textOf(nom), " - affiche.ai");
  EXPECT_EQ(textOf(taille), "210 mm x 297 mm");
  EXPECT_EQ(textOf(date), "Jeudi 5 ao\x9Et 2012");

  EXPECT_EQ(styleOf(numero).font.postscriptName, fontName(1));
  EXPECT_EQ(styleOf(nom).font.postscriptName, fontName(1));
  EXPECT_EQ(styleOf(taille).font.postscriptName, fontName(2));
  EXPECT_EQ(styleOf(date).font.postscriptName, fontName(3));
  EXPECT_EQ(styleOf(numero).sizePt, 7.5);
  EXPECT_EQ(styleOf(nom).sizePt, 7.5);
  EXPECT_EQ(styleOf(taille).sizePt, 9.0);
  EXPECT_EQ(styleOf(date).sizePt, 30.25);

  for (AIArtHandle frame : {numero, nom, taille, date}) {
    hostsim::TextStyle style = styleOf(frame);
    EXPECT_EQ(style.fill, (hostsim::Rgb{0, 0, 0}));
    EXPECT_EQ(style.tracking, 0.0);
    EXPECT_EQ(style.baselineShiftPt, 0.0);
    EXPECT_EQ(style.startIndentPt, 0.0);
    EXPECT_EQ(style.firstLineIndentPt, 0.0);
  }
}

TEST_F(StampedTexts, SizeReachesTheEngineInSinglePrecision) {
  CorpsTaille = 7.1;  // not a float: the engine gets the nearest one
  AIArtHandle frame = newFrame(PtrPremierAHTexteTaille);
  AffichageTexteTaille(frame);
  EXPECT_EQ(styleOf(frame).sizePt, static_cast<double>(7.1f));
}

TEST_F(StampedTexts, RefillingReplacesTheText) {
  AIArtHandle frame = newFrame(PtrPremierAHTexteNumero);
  strcpy(TexteNumero, "1/2");
  AffichageNumero(frame);
  strcpy(TexteNumero, "2/2");
  AffichageNumero(frame);
  EXPECT_EQ(textOf(frame), "2/2");
}

struct Alignments {
  bool superimposed;
  hostsim::Justification numero, nom, taille, date;
};

class Alignment : public StampedTexts, public ::testing::WithParamInterface<Alignments> {};

TEST_P(Alignment, FollowsTheItemAndTheLayout) {
  InfosSuperposees = GetParam().superimposed;
  AIArtHandle numero = newFrame(PtrPremierAHTexteNumero);
  AIArtHandle nom = newFrame(PtrPremierAHTexteNom);
  AIArtHandle taille = newFrame(PtrPremierAHTexteTaille);
  AIArtHandle date = newFrame(PtrPremierAHTexteDate);
  AffichageNumero(numero);
  AffichageNomFichier(nom);
  AffichageTexteTaille(taille);
  AffichageTexteDate(date);
  EXPECT_EQ(styleOf(numero).justification, GetParam().numero);
  EXPECT_EQ(styleOf(nom).justification, GetParam().nom);
  EXPECT_EQ(styleOf(taille).justification, GetParam().taille);
  EXPECT_EQ(styleOf(date).justification, GetParam().date);
}

using J = hostsim::Justification;
INSTANTIATE_TEST_SUITE_P(Layouts, Alignment,
                         ::testing::Values(Alignments{false, J::Right, J::Right, J::Center, J::Left},
                                           Alignments{true, J::Right, J::Center, J::Center, J::Center}));

TEST_F(StampedTexts, FrameDeletedMeanwhileIsLeftAlone) {
  AIArtHandle frame = newFrame(PtrPremierAHTexteNom);
  ASSERT_EQ(sAIArt->DisposeArt(frame), kNoErr);
  strcpy(TexteNomFichier, "affiche.ai");
  EXPECT_EQ(AffichageNomFichier(frame), kNoErr);
  EXPECT_EQ(AffichageTexteDate(nullptr), kNoErr);
  EXPECT_TRUE(stamps().empty());
}

TEST_F(StampedTexts, TextRangeRefusedIsReturnedAndNothingFilled) {
  AIArtHandle frame = newFrame(PtrPremierAHTexteDate);
  strcpy(TexteDate, "10/04/2012");
  failNextCall("AI Text Frame Suite.GetATETextRange", fourcc("RNG?"));
  EXPECT_EQ(AffichageTexteDate(frame), fourcc("RNG?"));
  EXPECT_EQ(textOf(frame), "");
}

TEST_F(StampedTexts, FontIndexOutsideTheListKeepsTheDefaultFont) {
  AIArtHandle frame = newFrame(PtrPremierAHTexteDate);
  hostsim::FontRef before = styleOf(frame).font;
  NumeroPoliceDate = static_cast<int32_t>(host_.fonts().fonts().size());
  strcpy(TexteDate, "10/04/2012");
  EXPECT_NE(AffichageTexteDate(frame), kNoErr);
  EXPECT_EQ(textOf(frame), "10/04/2012");
  EXPECT_EQ(styleOf(frame).font, before);
  EXPECT_EQ(styleOf(frame).sizePt, 12.0);

  NumeroPoliceDate = -1;
  EXPECT_NE(AffichageTexteDate(frame), kNoErr);
  EXPECT_EQ(styleOf(frame).font, before);
  NumeroPoliceDate = INT32_MAX;
  EXPECT_NE(AffichageTexteDate(frame), kNoErr);
}

TEST_F(StampedTexts, FontConversionRefusedKeepsTheDefaultFont) {
  AIArtHandle frame = newFrame(PtrPremierAHTexteNom);
  hostsim::FontRef before = styleOf(frame).font;
  NumeroPoliceNom = 2;
  strcpy(TexteNomFichier, "affiche.ai");
  failNextCall("AI Font Suite.FontFromFontKey", fourcc("FNT?"));
  EXPECT_EQ(AffichageNomFichier(frame), fourcc("FNT?"));
  EXPECT_EQ(textOf(frame), "affiche.ai");
  EXPECT_EQ(styleOf(frame).font, before);
}

TEST_F(StampedTexts, PaintRefusedLeavesTheDefaultFillAndStillFills) {
  AIArtHandle frame = newFrame(PtrPremierAHTexteTaille);
  hostsim::Rgb before = styleOf(frame).fill;
  strcpy(TexteTaille, "216 mm x 279 mm");
  failNextCall("AIATE Paint Suite.CreateATEApplicationPaint", fourcc("PNT?"));
  EXPECT_EQ(AffichageTexteTaille(frame), kNoErr);
  EXPECT_EQ(textOf(frame), "216 mm x 279 mm");
  EXPECT_EQ(styleOf(frame).fill, before);
}

TEST_F(StampedTexts, TextEngineFailurePassesAsItsExceptionAndGivesEverythingBack) {
  AIArtHandle frame = newFrame(PtrPremierAHTexteTaille);
  failNextCall("ATE TextRange Suite.InsertAfter", 5);
  EXPECT_THROW(AffichageTexteTaille(frame), ATE::Exception);
  EXPECT_TRUE(sAIArt->ValidArt(frame, true));
  EXPECT_EQ(host_.accounting().objectsLive(), 0) << host_.outstanding();
}

TEST_F(StampedTexts, EmptyingTheListsDisposesOfLiveFramesAndFreesEveryNode) {
  size_t blocks = host_.liveBlocks();
  AIArtHandle kept = newFrame(PtrPremierAHTexteNumero);
  AIArtHandle gone = newFrame(PtrPremierAHTexteNumero);
  newFrame(PtrPremierAHTexteNom);
  newFrame(PtrPremierAHTexteTaille);
  newFrame(PtrPremierAHTexteDate);
  ASSERT_EQ(sAIArt->DisposeArt(gone), kNoErr);
  EXPECT_EQ(host_.liveBlocks(), blocks + 5);

  VideListesTextes();
  EXPECT_EQ(PtrPremierAHTexteNumero, nullptr);
  EXPECT_EQ(PtrPremierAHTexteNom, nullptr);
  EXPECT_EQ(PtrPremierAHTexteTaille, nullptr);
  EXPECT_EQ(PtrPremierAHTexteDate, nullptr);
  EXPECT_FALSE(sAIArt->ValidArt(kept, true));
  EXPECT_TRUE(stamps().empty());
  EXPECT_EQ(host_.liveBlocks(), blocks);
}

TEST_F(StampedTexts, ListWalkRemovesALockedStampOfThePreviousRun) {
  AIArtHandle frame = newFrame(PtrPremierAHTexteDate);
  document().setLocked(ModelArt(frame), true);
  VideListesTextes();
  EXPECT_EQ(PtrPremierAHTexteDate, nullptr);
  EXPECT_FALSE(sAIArt->ValidArt(frame, true));
}

}  // namespace
}  // namespace engine_test
