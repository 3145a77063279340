// The stamp layer and group: created once and found by its title afterwards, the first of
// two such layers, locked layers refused with their alert, a retitled layer replaced.
#include <string>

#include "EngineHost.h"

namespace engine_test {
namespace {

const std::string kStampTitle = "QZV\xE2\x80\xA2" "Estampilleur";             // UTF-8, as the document holds it
const std::string kLockedAlert = "Impossible, le calque est verrouill\x8E.";  // Mac Roman

class StampGroup : public EngineHost {
 protected:
  int layersTitled(const std::string& title) {
    int count = 0;
    for (int i = 0; i < document().layerCount(); ++i)
      if (document().layerTitle(document().layer(i)) == title) ++count;
    return count;
  }
  hostsim::LayerHandle layerOfGroup() { return document().layerOf(ModelArt(AHGroupe)); }
  hostsim::LayerHandle addLayer(const std::string& title) {
    hostsim::LayerHandle layer = document().insertLayer({}, hostsim::LayerPlacement::AboveAll);
    document().setLayerTitle(layer, title);
    return layer;
  }
};

TEST_F(StampGroup, FirstRunCreatesTheStampLayerAboveAllOthers) {
  ASSERT_EQ(document().layerCount(), 1);
  EXPECT_EQ(CreationGroupe(), kNoErr);
  ASSERT_EQ(document().layerCount(), 2);
  hostsim::LayerHandle top = document().layer(0);
  EXPECT_EQ(document().layerTitle(top), kStampTitle);
  ASSERT_TRUE(sAIArt->ValidArt(AHGroupe, true));
  EXPECT_EQ(document().kind(ModelArt(AHGroupe)), hostsim::ArtKind::Group);
  EXPECT_EQ(document().parent(ModelArt(AHGroupe)), document().layerGroup(top));
  EXPECT_FALSE(document().firstChild(ModelArt(AHGroupe)));
  EXPECT_TRUE(alerts().empty());
}

TEST_F(StampGroup, LaterRunsUseTheSameLayerAndReplaceTheEmptyGroup) {
  ASSERT_EQ(CreationGroupe(), kNoErr);
  AIArtHandle first = AHGroupe;
  hostsim::LayerHandle layer = layerOfGroup();
  ASSERT_EQ(CreationGroupe(), kNoErr);
  EXPECT_EQ(document().layerCount(), 2);
  EXPECT_EQ(layersTitled(kStampTitle), 1);
  EXPECT_EQ(layerOfGroup(), layer);
  EXPECT_NE(AHGroupe, first);
  EXPECT_FALSE(sAIArt->ValidArt(first, true));
}

// Also when the host cannot tell what the group holds.
TEST_F(StampGroup, GroupHoldingOtherArtIsLeftWhereItIs) {
  for (bool hostFails : {false, true}) {
    ASSERT_EQ(CreationGroupe(), kNoErr);
    AIArtHandle first = AHGroupe;
    AIArtHandle userText = nullptr;
    ASSERT_EQ(sAITextFrame->NewPointText(kPlaceInsideOnTop, first, kHorizontalTextOrientation, {5, 5}, &userText),
              kNoErr);
    if (hostFails) failNextCall("AI Art Suite.GetArtFirstChild", kCantHappenErr);
    ASSERT_EQ(CreationGroupe(), kNoErr);
    EXPECT_TRUE(sAIArt->ValidArt(first, true)) << hostFails;
    EXPECT_TRUE(sAIArt->ValidArt(userText, true)) << hostFails;
    EXPECT_NE(AHGroupe, first);
    EXPECT_EQ(document().layerOf(ModelArt(first)), layerOfGroup());
  }
}

// A fresh start knows no group of its own: the empty ones earlier runs left go, and only those.
TEST_F(StampGroup, EmptyGroupsOfEarlierRunsGoWhateverIsLoaded) {
  ASSERT_EQ(CreationGroupe(), kNoErr);
  const hostsim::ArtHandle layerGroup = document().parent(ModelArt(AHGroupe));
  const hostsim::ArtHandle filled = document().newGroup(layerGroup, hostsim::Placement::InsideOnTop);
  const hostsim::ArtHandle nested = document().newGroup(filled, hostsim::Placement::InsideOnTop);
  for (int i = 0; i < 3; ++i) document().newGroup(layerGroup, hostsim::Placement::InsideOnTop);
  AHGroupe = nullptr;
  ASSERT_EQ(CreationGroupe(), kNoErr);
  std::vector<hostsim::ArtHandle> left;
  for (hostsim::ArtHandle art = document().firstChild(layerGroup); art; art = document().nextSibling(art))
    left.push_back(art);
  EXPECT_EQ(left, (std::vector<hostsim::ArtHandle>{filled, ModelArt(AHGroupe)}));
  EXPECT_TRUE(document().valid(nested)) << "an empty group inside the user's stays";
}

TEST_F(StampGroup, OfTwoStampLayersTheLowerIndexIsUsed) {
  hostsim::LayerHandle lower = addLayer(kStampTitle);
  hostsim::LayerHandle higher = addLayer(kStampTitle);  // now index 0
  ASSERT_EQ(document().layerIndex(higher), 0);
  ASSERT_EQ(document().layerIndex(lower), 1);
  ASSERT_EQ(CreationGroupe(), kNoErr);
  EXPECT_EQ(layerOfGroup(), higher);
  EXPECT_EQ(document().layerCount(), 3);
}

TEST_F(StampGroup, LockedFirstStampLayerIsRefusedEvenWhenTheOtherIsEditable) {
  addLayer(kStampTitle);
  hostsim::LayerHandle first = addLayer(kStampTitle);
  document().setLayerLocked(first, true);
  AIArtHandle before = AHGroupe;
  EXPECT_EQ(CreationGroupe(), kErreurCalqueVerrouille);
  EXPECT_EQ(alerts(), std::vector<std::string>{kLockedAlert});
  EXPECT_EQ(AHGroupe, before);
  EXPECT_EQ(document().layerCount(), 3);
}

TEST_F(StampGroup, LockedStampLayerStampsNothing) {
  ASSERT_EQ(CreationGroupe(), kNoErr);
  AIArtHandle previous = AHGroupe;
  document().setLayerLocked(layerOfGroup(), true);
  EXPECT_EQ(CreationGroupe(), kErreurCalqueVerrouille);
  EXPECT_EQ(alerts(), std::vector<std::string>{kLockedAlert});
  EXPECT_EQ(AHGroupe, previous);
  EXPECT_TRUE(sAIArt->ValidArt(previous, true));
  EXPECT_EQ(document().layerCount(), 2);

  // Nothing is stamped by the run that meets it.
  EXPECT_EQ(stamp(), -1.0f);
  EXPECT_TRUE(stamps().empty());
  EXPECT_EQ(PtrPremierAHTexteNom, nullptr);
}

TEST_F(StampGroup, LockedCurrentLayerStampsNothing) {
  ASSERT_EQ(CreationGroupe(), kNoErr);
  AIArtHandle previous = AHGroupe;
  document().setLayerLocked(document().currentLayer(), true);
  EXPECT_EQ(CreationGroupe(), kErreurCalqueVerrouille);
  EXPECT_EQ(alerts(), std::vector<std::string>{kLockedAlert});
  EXPECT_EQ(AHGroupe, previous);
  EXPECT_EQ(document().layerCount(), 2);

  EXPECT_EQ(stamp(), -1.0f);
  EXPECT_EQ(alerts().size(), 2u);
  EXPECT_TRUE(stamps().empty());
}

TEST_F(StampGroup, HiddenStampLayerCountsAsLocked) {
  ASSERT_EQ(CreationGroupe(), kNoErr);
  document().setLayerHidden(layerOfGroup(), true);
  EXPECT_EQ(CreationGroupe(), kErreurCalqueVerrouille);
  EXPECT_EQ(alerts().size(), 1u);
}

TEST_F(StampGroup, RetitledStampLayerIsReplacedAndItsStampsStillRemoved) {
  ASSERT_GT(stamp(), -1.0f);
  hostsim::LayerHandle old = layerOfGroup();
  size_t oneSet = stamps().size();
  ASSERT_EQ(oneSet, 4u);
  document().setLayerTitle(old, "Mes textes");

  ASSERT_GT(stamp(), -1.0f);
  EXPECT_EQ(document().layerCount(), 3);
  EXPECT_EQ(layersTitled(kStampTitle), 1);
  EXPECT_NE(layerOfGroup(), old);
  EXPECT_EQ(stamps().size(), oneSet);
  for (hostsim::ArtHandle text : stamps()) EXPECT_EQ(document().layerOf(text), layerOfGroup());
}

TEST_F(StampGroup, GroupRefusedByTheHostReturnsItsCode) {
  ASSERT_EQ(CreationGroupe(), kNoErr);
  AIArtHandle previous = AHGroupe;
  failNextCall("AI Art Suite.NewArt", fourcc("FULL"));
  EXPECT_EQ(CreationGroupe(), fourcc("FULL"));
  EXPECT_EQ(AHGroupe, previous);
  EXPECT_TRUE(alerts().empty());
}

}  // namespace
}  // namespace engine_test
