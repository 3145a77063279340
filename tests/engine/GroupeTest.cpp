// The stamp layer and group: made once, found by title, locked layers refused with an alert.
#include <string>

#include "support/plugin_host.h"

namespace {
using namespace testsupport;

const std::string kStampTitle = "QZV\xE2\x80\xA2" "Estampilleur";             // UTF-8, as the document holds it
const std::string kLockedAlert = "Impossible, le calque est verrouill\x8E.";  // Mac Roman

class StampGroup : public EngineTest {
 protected:
  hostsim::LayerHandle layerOfGroup() { return document().layerOf(ModelArt(AHGroupe)); }
  hostsim::LayerHandle addLayer(const std::string& title) {
    hostsim::LayerHandle layer = document().insertLayer({}, hostsim::LayerPlacement::AboveAll);
    document().setLayerTitle(layer, title);
    return layer;
  }
};

// Later runs replace the empty group, in the first of two stamp layers; a group the host
// refuses leaves the earlier one and answers the host's code.
TEST_F(StampGroup, FirstRunCreatesTheStampLayerAboveAllOthersAndLaterRunsReuseIt) {
  ASSERT_EQ(CreationGroupe(), kNoErr);
  ASSERT_EQ(document().layerCount(), 2);
  const hostsim::LayerHandle top = document().layer(0);
  EXPECT_EQ(document().layerTitle(top), kStampTitle);
  EXPECT_EQ(document().kind(ModelArt(AHGroupe)), hostsim::ArtKind::Group);
  EXPECT_EQ(document().parent(ModelArt(AHGroupe)), document().layerGroup(top));

  const AIArtHandle first = AHGroupe;
  ASSERT_EQ(CreationGroupe(), kNoErr);
  EXPECT_EQ(document().layerCount(), 2);
  EXPECT_EQ(layerOfGroup(), top);
  EXPECT_NE(AHGroupe, first);
  EXPECT_FALSE(sAIArt->ValidArt(first, true));

  const hostsim::LayerHandle higher = addLayer(kStampTitle);
  ASSERT_EQ(CreationGroupe(), kNoErr);
  EXPECT_EQ(layerOfGroup(), higher);

  const AIArtHandle previous = AHGroupe;
  failNextCall("AI Art Suite.NewArt", fourcc("FULL"));
  EXPECT_EQ(CreationGroupe(), fourcc("FULL"));
  EXPECT_EQ(AHGroupe, previous);
  EXPECT_TRUE(alerts().empty());
}

// A retitled stamp layer is the user's: a new one is made, the stamps still go by their tag.
TEST_F(StampGroup, RetitledStampLayerIsReplacedAndItsStampsStillRemoved) {
  stamp();
  const hostsim::LayerHandle old = layerOfGroup();
  document().setLayerTitle(old, "Mes textes");
  stamp();
  EXPECT_EQ(document().layerCount(), 3);
  EXPECT_NE(layerOfGroup(), old);
  EXPECT_EQ(document().layerTitle(layerOfGroup()), kStampTitle);
  EXPECT_EQ(stamps().size(), 4u);
  for (hostsim::ArtHandle text : stamps()) EXPECT_EQ(document().layerOf(text), layerOfGroup());
}

// A fresh start knows no group of its own: the empty ones earlier runs left go, and only
// those; nothing goes when the host cannot tell what the layer holds.
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

  const AIArtHandle previous = AHGroupe;
  failNextCall("AI Art Suite.GetArtFirstChild", kCantHappenErr);
  failNextCall("AI Art Suite.GetArtFirstChild", kCantHappenErr, 2);
  ASSERT_EQ(CreationGroupe(), kNoErr);
  EXPECT_TRUE(sAIArt->ValidArt(previous, true));
}

// A locked or hidden stamp layer (the first of two, even when the other is editable), or a
// locked current layer, refuses the run with the alert: nothing is stamped, the group stays.
TEST_F(StampGroup, LockedLayerRefusesTheRun) {
  for (int which : {0, 1, 2, 3}) {
    SCOPED_TRACE(which);
    openDocument(std::vector<hostsim::PageSize>{{600, 900}});
    ASSERT_EQ(CreationGroupe(), kNoErr);
    const AIArtHandle previous = AHGroupe;
    if (which == 0) document().setLayerLocked(layerOfGroup(), true);
    if (which == 1) document().setLayerHidden(layerOfGroup(), true);
    if (which == 2) document().setLayerLocked(document().currentLayer(), true);
    if (which == 3) document().setLayerLocked(addLayer(kStampTitle), true);
    const int layers = document().layerCount();
    EXPECT_EQ(CreationGroupe(), kErreurCalqueVerrouille);
    EXPECT_EQ(alerts(), std::vector<std::string>(2 * which + 1, kLockedAlert));  // one per earlier run too
    EXPECT_EQ(AHGroupe, previous);
    EXPECT_TRUE(sAIArt->ValidArt(previous, true));
    EXPECT_EQ(document().layerCount(), layers);
    stamp();
    EXPECT_TRUE(stamps().empty());
  }
}

}  // namespace
