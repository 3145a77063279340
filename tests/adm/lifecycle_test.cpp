// Dialogs, items, lists, entries, notifiers, drawers and icons are host objects: counted
// while the plug-in can hold them, reclaimed when the modal call returns (icons got in a
// dialog and not destroyed), and refused once stale.
#include <map>

#include "harness.h"

namespace adm_test {
namespace {

using AdmLifecycleTest = DialogTest;

TEST_F(AdmLifecycleTest, ObjectsAreCountedWhileTheDialogIsOpenAndReclaimedWhenItCloses) {
  std::map<std::string, int> atOpen;
  int notifiers = 0;
  dialogs().onOpen([&](hostsim::adm::Dialog&) { atOpen = host_.accounting().liveObjectsByKind(); });
  onNotify = [&](ADMItemRef item, ADMNotifierRef notifier) {
    notifiers = host_.accounting().objectsLive("ADM notifier");
    sItem->DefaultNotify(item, notifier);
  };
  user().click(9).ok();
  runSettings();
  EXPECT_EQ(atOpen, (std::map<std::string, int>{
                        {"ADM dialog", 1}, {"ADM entry", 6}, {"ADM icon", 1}, {"ADM item", 15}, {"ADM list", 2}}));
  EXPECT_EQ(notifiers, 1);
  EXPECT_EQ(last().iconsReclaimed(), 2);  // the small button's, drawn again after its click
}

TEST_F(AdmLifecycleTest, HandlesThatAreStaleForeignOrOfAnotherKindAreRefused) {
  misusesTheHost_ = true;
  ADMDialogRef keptDialog = nullptr;
  ADMItemRef keptItem = nullptr;
  ADMNotifierRef keptNotifier = nullptr;
  ADMDrawerRef keptDrawer = nullptr;
  ADMIconRef keptIcon = nullptr;
  onNotify = [&](ADMItemRef item, ADMNotifierRef notifier) {
    keptNotifier = notifier;
    sItem->DefaultNotify(item, notifier);
  };
  onDraw = [&](ADMItemRef item, ADMDrawerRef drawer) {
    ADMPoint corner{0, 0};
    if (keptIcon != nullptr) return sDrawer->DrawIcon(drawer, keptIcon, &corner);  // from the dialog before
    keptDrawer = drawer;
    keptIcon = sIcon->GetFromResource(sDialog->GetPluginRef(sItem->GetDialog(item)), 1000, 0);
  };
  int local = 0;
  user().ok();
  runModal([&](ADMDialogRef d) {
    keptDialog = d;
    keptItem = make(d, 1, kADMTextPushButtonType, "OK");
    sItem->SetNotifyProc(keptItem, notifyProc);
    sItem->SetDrawProc(make(d, 18, kADMPicturePushButtonType), drawProc);
    sItem->SetText(reinterpret_cast<ADMItemRef>(&local), "x");
    sItem->Enable(reinterpret_cast<ADMItemRef>(d), 0);
    sEntry->Create(reinterpret_cast<ADMListRef>(keptItem));
    sItem->SetText(nullptr, "ignored");  // a null handle is no item at all
    EXPECT_EQ(make(d, 3, "ADM Text Chek Box Type"), nullptr);
    make(d, 1, kADMTextPushButtonType, "OK bis");
  });
  sItem->SetText(keptItem, "plus tard");
  EXPECT_EQ(sDialog->GetItem(keptDialog, 1), nullptr);
  EXPECT_EQ(sNotifier->IsNotifierType(keptNotifier, kADMUserChangedNotifier), 0);
  sDrawer->Clear(keptDrawer);
  EXPECT_EQ(sDialog->Modal(reinterpret_cast<SPPluginRef>(&host_), "Essai", 1, 0, nullptr, nullptr, 0), 0);
  EXPECT_EQ(dialogs().all().size(), 1u);
  EXPECT_EQ(last().item(1)->label(), "OK");  // the first of an ID; the record stays readable
  user().ok();
  runSettings();
  EXPECT_TRUE(last().item(18)->drawing().empty());
  sIcon->Destroy(keptIcon);  // reclaimed, it may still be destroyed
  ADMIconRef outside = sIcon->GetFromResource(host_.pluginRef(), 1000, 0);  // the plug-in's to destroy
  EXPECT_EQ(sIcon->GetFromResource(host_.pluginRef(), 1234, 0), nullptr);    // no such resource
  EXPECT_EQ(sIcon->GetFromResource(host_.pluginRef(), 1000, 1), nullptr);    // one image per icon
  EXPECT_EQ(host_.accounting().objectsLive(), 1);
  sIcon->Destroy(outside);
  sIcon->Destroy(outside);
  const std::string reclaimed = "ADM Drawer Suite.DrawIcon: an icon handle that is no longer valid: the host "
                                "reclaimed it when its dialog closed";
  EXPECT_EQ(host_.accounting().misuses(),
            (Log{"ADM Item Suite.SetText: an item handle the host never gave",
                 "ADM Item Suite.Enable: given a dialog handle where an item handle was expected",
                 "ADM Entry Suite.Create: given an item handle where a list handle was expected",
                 "ADM Item Suite.Create: the host has no item type \"ADM Text Chek Box Type\"",
                 "ADM Item Suite.Create: the dialog «Essai» already has an item 1",
                 "ADM Item Suite.SetText: an item handle that is no longer valid: its dialog has closed",
                 "ADM Dialog Suite.GetItem: a dialog handle that is no longer valid: the dialog has closed",
                 "ADM Notifier Suite.IsNotifierType: a notifier handle that is no longer valid: its notification "
                 "is over",
                 "ADM Drawer Suite.Clear: a drawer handle that is no longer valid: its draw call is over",
                 "ADM Dialog Suite.Modal: a plug-in reference the host does not know",
                 reclaimed, reclaimed,
                 "ADM Icon Suite.Destroy: an icon handle that is no longer valid: it was destroyed"}));
}

TEST_F(AdmLifecycleTest, FaultPlanFailsDialogOperations) {
  host_.faults().failCall("ADM Item Suite.Create", 2, kOutOfMemoryErr);
  host_.faults().failCall("ADM Item Suite.GetBooleanValue", 1, kCantHappenErr);
  host_.faults().failCall("ADM Dialog Suite.Modal", 2, kCantHappenErr);
  user().ok();
  runModal([&](ADMDialogRef d) {
    ADMItemRef box = make(d, 13, kADMTextCheckBoxType, "Nom.");
    sItem->SetBooleanValue(box, 1);
    EXPECT_EQ(make(d, 1, kADMTextPushButtonType, "OK"), nullptr);
    EXPECT_EQ(sItem->GetBooleanValue(box), 0);
    make(d, 1, kADMTextPushButtonType, "OK");
  });
  EXPECT_EQ(last().items().size(), 2u);
  EXPECT_EQ(runModal([&](ADMDialogRef) { ADD_FAILURE() << "the second opening was to fail"; }), 0);
  EXPECT_EQ(dialogs().all().size(), 1u);
}

}  // namespace
}  // namespace adm_test
