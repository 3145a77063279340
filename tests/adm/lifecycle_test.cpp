// Dialogs, items, lists, entries, notifiers and drawers are host objects: counted while the
// plug-in can hold them, reclaimed when the modal call returns, and refused once stale.
#include <string>

#include "harness.h"

namespace adm_test {
namespace {

class AdmLifecycleTest : public DialogTest {
 protected:
  bool misused(const std::string& words) {
    for (const auto& m : host.accounting().misuses())
      if (m.find(words) != std::string::npos) return true;
    return false;
  }
};

TEST_F(AdmLifecycleTest, ObjectsAreCountedWhileTheDialogIsOpenAndReclaimedWhenItCloses) {
  std::map<std::string, int> duringNotify;
  onNotify = [&](ADMItemRef item, ADMNotifierRef notifier) {
    duringNotify = host.accounting().liveObjectsByKind();
    s.item->DefaultNotify(item, notifier);
  };
  std::map<std::string, int> atOpen;
  dialogs().onOpen([&](hostsim::adm::Dialog&) { atOpen = host.accounting().liveObjectsByKind(); });
  user().ok();
  runModal([&](ADMDialogRef d) {
    ADMItemRef popup = make(d, 12, kADMPopupListType, {129, 80, 149, 309});
    addEntry(popup, "un", 0);
    addEntry(popup, "deux", 1);
    make(d, 13, kADMTextCheckBoxType, {40, 13, 55, 73}, "Nom.");
    s.item->SetNotifyProc(make(d, 1, kADMTextPushButtonType, {222, 345, 242, 437}, "OK"), notifyProc);
    return kNoErr;
  });
  EXPECT_EQ(atOpen["ADM dialog"], 1);
  EXPECT_EQ(atOpen["ADM item"], 3);
  EXPECT_EQ(atOpen["ADM list"], 1);
  EXPECT_EQ(atOpen["ADM entry"], 2);
  EXPECT_EQ(atOpen["ADM notifier"], 0);
  EXPECT_EQ(duringNotify["ADM notifier"], 1);
  EXPECT_EQ(host.accounting().objectsLive(), 0) << host.outstanding();
  EXPECT_TRUE(host.accounting().misuses().empty());
}

TEST_F(AdmLifecycleTest, HandlesOfAClosedDialogAreRefused) {
  ADMDialogRef keptDialog = nullptr;
  ADMItemRef keptItem = nullptr;
  user().ok();
  runModal([&](ADMDialogRef d) {
    keptDialog = d;
    keptItem = make(d, 1, kADMTextPushButtonType, {222, 345, 242, 437}, "OK");
    return kNoErr;
  });
  s.item->SetText(keptItem, "plus tard");
  EXPECT_TRUE(misused("ADM Item Suite.SetText: an item handle that is no longer valid: its dialog has closed"));
  EXPECT_EQ(s.dialog->GetItem(keptDialog, 1), nullptr);
  EXPECT_TRUE(misused("ADM Dialog Suite.GetItem: a dialog handle that is no longer valid"));
  EXPECT_EQ(last().item(1)->label(), "OK");  // the record stays readable
}

TEST_F(AdmLifecycleTest, ForeignAndMismatchedHandlesAreRefused) {
  int local = 0;
  user().ok();
  runModal([&](ADMDialogRef d) {
    ADMItemRef ok = make(d, 1, kADMTextPushButtonType, {222, 345, 242, 437}, "OK");
    s.item->SetText(reinterpret_cast<ADMItemRef>(&local), "x");
    s.item->Enable(reinterpret_cast<ADMItemRef>(d), 0);
    s.entry->Create(reinterpret_cast<ADMListRef>(ok));
    s.item->SetText(nullptr, "ignored");  // a null handle is no item at all
    return kNoErr;
  });
  EXPECT_TRUE(misused("ADM Item Suite.SetText: an item handle the host never gave"));
  EXPECT_TRUE(misused("ADM Item Suite.Enable: given a dialog handle where an item handle was expected"));
  EXPECT_TRUE(misused("ADM Entry Suite.Create: given an item handle where a list handle was expected"));
  EXPECT_EQ(host.accounting().misuses().size(), 3u);
}

TEST_F(AdmLifecycleTest, NotifierAndDrawerAreValidOnlyDuringTheirCall) {
  ADMNotifierRef keptNotifier = nullptr;
  ADMDrawerRef keptDrawer = nullptr;
  onNotify = [&](ADMItemRef item, ADMNotifierRef notifier) {
    keptNotifier = notifier;
    s.item->DefaultNotify(item, notifier);
  };
  onDraw = [&](ADMItemRef, ADMDrawerRef drawer) { keptDrawer = drawer; };
  user().ok();
  runModal([&](ADMDialogRef d) {
    s.item->SetDrawProc(make(d, 18, kADMPicturePushButtonType, {6, 318, 186, 441}), drawProc);
    s.item->SetNotifyProc(make(d, 1, kADMTextPushButtonType, {222, 345, 242, 437}, "OK"), notifyProc);
    return kNoErr;
  });
  EXPECT_EQ(s.notifier->IsNotifierType(keptNotifier, kADMUserChangedNotifier), 0);
  s.drawer->Clear(keptDrawer);
  EXPECT_TRUE(misused("IsNotifierType: a notifier handle that is no longer valid: its notification is over"));
  EXPECT_TRUE(misused("ADM Drawer Suite.Clear: a drawer handle that is no longer valid: its draw call is over"));
}

TEST_F(AdmLifecycleTest, UnknownItemTypeAndDuplicateIDsAreReported) {
  user().ok();
  runModal([&](ADMDialogRef d) {
    EXPECT_EQ(make(d, 3, "ADM Text Chek Box Type", {0, 0, 10, 10}), nullptr);
    make(d, 1, kADMTextPushButtonType, {222, 345, 242, 437}, "OK");
    make(d, 1, kADMTextPushButtonType, {0, 0, 20, 20}, "OK bis");
    return kNoErr;
  });
  EXPECT_TRUE(misused("ADM Item Suite.Create: the host has no item type \"ADM Text Chek Box Type\""));
  EXPECT_TRUE(misused("ADM Item Suite.Create: the dialog «Essai» already has an item 1"));
  EXPECT_EQ(last().item(1)->label(), "OK");  // the first of that ID is the one found
}

TEST_F(AdmLifecycleTest, FaultPlanFailsDialogOperations) {
  host.faults().failCall("ADM Item Suite.Create", 2, kOutOfMemoryErr);
  host.faults().failCall("ADM Item Suite.GetBooleanValue", 1, kCantHappenErr);
  ADMItemRef second = reinterpret_cast<ADMItemRef>(1);
  ADMBoolean value = 9;
  user().ok();
  runModal([&](ADMDialogRef d) {
    ADMItemRef box = make(d, 13, kADMTextCheckBoxType, {40, 13, 55, 73}, "Nom.");
    s.item->SetBooleanValue(box, 1);
    second = make(d, 1, kADMTextPushButtonType, {222, 345, 242, 437}, "OK");
    value = s.item->GetBooleanValue(box);
    make(d, 1, kADMTextPushButtonType, {222, 345, 242, 437}, "OK");
    return kNoErr;
  });
  EXPECT_EQ(second, nullptr);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(last().items().size(), 2u);

  host.faults().failCall("ADM Dialog Suite.Modal", 2, kCantHappenErr);  // the second opening
  user().clear();
  EXPECT_EQ(runModal([&](ADMDialogRef) { return kNoErr; }), 0);
  EXPECT_EQ(dialogs().all().size(), 1u);
}

TEST_F(AdmLifecycleTest, ModalForAPlugInTheHostDoesNotKnowIsRefused) {
  EXPECT_EQ(s.dialog->Modal(reinterpret_cast<SPPluginRef>(&host), "Essai", 1, 0, nullptr, nullptr, 0), 0);
  EXPECT_TRUE(misused("ADM Dialog Suite.Modal: a plug-in reference the host does not know"));
  EXPECT_EQ(dialogs().last(), nullptr);
}

}  // namespace
}  // namespace adm_test
