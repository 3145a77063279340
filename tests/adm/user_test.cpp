// The scripted user: each action changes the widget, then notifies the item, then the host
// redraws what was invalidated; a script that cannot go on ends the dialog instead of
// hanging.
#include <string>
#include <vector>

#include "harness.h"

namespace adm_test {
namespace {

class AdmUserTest : public DialogTest {
 protected:
  // Check box 13 "Nom." governs check box 21 "Numéro du plan"; item 18 is a preview with a
  // draw procedure; OK and Cancel end the dialog through the host's default handling.
  ASErr build(ADMDialogRef d) {
    ADMItemRef number = make(d, 21, kADMTextCheckBoxType, {10, 13, 25, 213}, "Num\x8E" "ro du plan");
    s.item->SetNotifyProc(number, notifyProc);
    ADMItemRef name = make(d, 13, kADMTextCheckBoxType, {40, 13, 55, 73}, "Nom.");
    s.item->SetBooleanValue(name, 1);
    s.item->SetNotifyProc(name, notifyProc);
    ADMItemRef size = make(d, 6, kADMSpinEditType, {36, 244, 58, 309});
    s.item->SetNotifyProc(size, notifyProc);
    s.item->SetDrawProc(make(d, 18, kADMPicturePushButtonType, {6, 318, 186, 441}), drawProc);
    s.item->SetNotifyProc(make(d, 2, kADMTextPushButtonType, {222, 13, 242, 105}, "Annuler"), notifyProc);
    s.item->SetNotifyProc(make(d, 1, kADMTextPushButtonType, {222, 345, 242, 437}, "OK"), notifyProc);
    return kNoErr;
  }

  std::vector<std::string> events;
};

TEST_F(AdmUserTest, ActionChangesTheWidgetThenNotifiesThenRedraws) {
  onNotify = [&](ADMItemRef item, ADMNotifierRef notifier) {
    int32_t id = s.item->GetID(item);
    events.push_back("notify " + std::to_string(id) + " value " + std::to_string(s.item->GetBooleanValue(item)));
    ADMDialogRef d = s.item->GetDialog(item);
    if (id == 13) {
      // Unchecking the name unchecks and disables the number, and redraws the preview.
      ADMItemRef number = s.dialog->GetItem(d, 21);
      s.item->SetBooleanValue(number, s.item->GetBooleanValue(item));
      s.item->Enable(number, s.item->GetBooleanValue(item));
      s.item->Invalidate(s.dialog->GetItem(d, 18));
    }
    if (id == 1 || id == 2) s.item->DefaultNotify(item, notifier);
  };
  onDraw = [&](ADMItemRef item, ADMDrawerRef) { events.push_back("draw " + std::to_string(s.item->GetID(item))); };
  user().click(13).setValue(6, 9).ok();
  EXPECT_EQ(runModal([&](ADMDialogRef d) { return build(d); }), 1);
  EXPECT_EQ(events, (std::vector<std::string>{"draw 18", "notify 13 value 0", "draw 18", "notify 6 value 0", "notify 1 value 0"}));
  EXPECT_TRUE(dialogs().errors().empty());
  EXPECT_FALSE(last().item(21)->enabled());
}

TEST_F(AdmUserTest, ActionOnADisabledItemIsRefusedAndTheDialogCancelled) {
  onNotify = [&](ADMItemRef item, ADMNotifierRef notifier) {
    int32_t id = s.item->GetID(item);
    events.push_back("notify " + std::to_string(id));
    if (id == 13) s.item->Enable(s.dialog->GetItem(s.item->GetDialog(item), 21), s.item->GetBooleanValue(item));
    if (id == 2) s.item->DefaultNotify(item, notifier);
  };
  user().click(13).click(21).setValue(6, 20).ok();
  EXPECT_EQ(runModal([&](ADMDialogRef d) { return build(d); }), 2);
  ASSERT_EQ(dialogs().errors().size(), 1u);
  EXPECT_EQ(dialogs().errors()[0], "click item 21: the item «Numéro du plan» (21) is disabled");
  // The Escape key went through the Cancel button; the rest of the script was dropped.
  EXPECT_EQ(events, (std::vector<std::string>{"notify 13", "notify 2"}));
  EXPECT_FALSE(last().item(21)->value());
  EXPECT_TRUE(last().endedByHost());
  EXPECT_TRUE(user().empty());
}

TEST_F(AdmUserTest, ScriptThatEndsWithTheDialogOpenIsReportedAndTheDialogCancelled) {
  onNotify = [&](ADMItemRef item, ADMNotifierRef notifier) {
    events.push_back("notify " + std::to_string(s.item->GetID(item)));
    s.item->DefaultNotify(item, notifier);
  };
  user().click(13);
  EXPECT_EQ(runModal([&](ADMDialogRef d) { return build(d); }), 2);
  ASSERT_EQ(dialogs().errors().size(), 1u);
  EXPECT_EQ(dialogs().errors()[0], "the script ended while the dialog «Essai» was still open");
  EXPECT_EQ(events, (std::vector<std::string>{"notify 13", "notify 2"}));
  EXPECT_TRUE(last().cancelling());
  EXPECT_FALSE(last().open());
}

TEST_F(AdmUserTest, DialogWithoutCancelButtonIsStillClosedByTheHost) {
  user().click(5);
  int32_t result = runModal([&](ADMDialogRef d) {
    make(d, 5, kADMTextCheckBoxType, {10, 10, 25, 100}, "Seul");
    return kNoErr;
  });
  EXPECT_EQ(result, 2);
  EXPECT_EQ(dialogs().errors().size(), 1u);
  EXPECT_TRUE(last().endedByHost());
}

struct Refusal {
  const char* name;
  std::function<void(hostsim::adm::ScriptedUser&)> script;
  const char* message;
};

TEST_F(AdmUserTest, ActionsThatDoNotFitTheDialogAreRefusedWithAClearMessage) {
  const Refusal cases[] = {
      {"missing item", [](auto& u) { u.click(42); }, "click item 42: the dialog «Essai» has no item 42"},
      {"value of a check box", [](auto& u) { u.setValue(13, 3); },
       "set item 13 to 3: the item «Nom.» (13) is a check box, not a spin edit"},
      {"typing into a button", [](auto& u) { u.type(1, "x"); },
       "type «x» into item 1: the item «OK» (1) is a push button, not a text field"},
      {"choosing in a spin edit", [](auto& u) { u.choose(6, 0); },
       "choose entry 0 in item 6: item 6 is a spin edit, not a popup"},
      {"text outside Mac Roman", [](auto& u) { u.type(19, "a→b"); },
       "type «a→b» into item 19: the plug-in's texts cannot hold «→»"},
      {"unknown entry", [](auto& u) { u.choose(12, "Demain"); },
       "choose «Demain» in item 12: the list of item 12 has no entry «Demain»"},
      {"entry out of range", [](auto& u) { u.choose(12, 5); },
       "choose entry 5 in item 12: the list of item 12 has 2 entries"},
      {"click on a popup", [](auto& u) { u.click(12); },
       "click item 12: item 12 is a popup list: choose one of its entries"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    dialogs().clearErrors();
    c.script(user());
    user().ok();
    runModal([&](ADMDialogRef d) {
      build(d);
      make(d, 19, kADMTextEditType, {189, 80, 211, 145});
      ADMItemRef popup = make(d, 12, kADMPopupListType, {129, 80, 149, 309});
      addEntry(popup, "Hier", 0);
      addEntry(popup, "Aujourd'hui", 1);
      return kNoErr;
    });
    ASSERT_EQ(dialogs().errors().size(), 1u);
    EXPECT_EQ(dialogs().errors()[0], c.message);
    EXPECT_TRUE(user().empty());
  }
}

TEST_F(AdmUserTest, OpenHookSeesTheBuiltDialogBeforeTheFirstAction) {
  bool checkedAtOpen = false;
  size_t pendingAtOpen = 0;
  int drawsAtOpen = 0;
  onDraw = [&](ADMItemRef, ADMDrawerRef) {};
  onNotify = [&](ADMItemRef item, ADMNotifierRef notifier) { s.item->DefaultNotify(item, notifier); };
  dialogs().onOpen([&](hostsim::adm::Dialog& d) {
    checkedAtOpen = d.item(13)->value();
    pendingAtOpen = user().pending();
    drawsAtOpen = static_cast<int>(d.drawCalls().size());
  });
  std::vector<std::string> after;
  dialogs().onAction([&](hostsim::adm::Dialog&, const hostsim::adm::UserAction& a) { after.push_back(a.describe()); });
  user().click(13).ok();
  runModal([&](ADMDialogRef d) { return build(d); });
  EXPECT_TRUE(checkedAtOpen);
  EXPECT_EQ(pendingAtOpen, 2u);
  EXPECT_EQ(drawsAtOpen, 1);  // the preview, drawn when the dialog appeared
  // Not after OK: the dialog no longer waits for an action.
  EXPECT_EQ(after, (std::vector<std::string>{"click item 13"}));
  EXPECT_TRUE(dialogs().errors().empty());
}

TEST_F(AdmUserTest, InitProcedureFailureMeansNoDialog) {
  user().ok();
  EXPECT_EQ(runModal([&](ADMDialogRef d) {
              build(d);
              return kCantHappenErr;
            }),
            0);
  ASSERT_EQ(dialogs().errors().size(), 1u);
  EXPECT_EQ(dialogs().errors()[0], "the dialog «Essai» did not open: its init procedure returned 'CANT'");
  EXPECT_EQ(user().pending(), 1u);
  EXPECT_EQ(host.accounting().objectsLive(), 0);
}

TEST_F(AdmUserTest, NestedDialogTakesTheNextActions) {
  int32_t inner = -1;
  onNotify = [&](ADMItemRef item, ADMNotifierRef notifier) {
    if (s.item->GetID(item) == 9) {
      inner = runModal([&](ADMDialogRef d) {
        make(d, 1, kADMTextPushButtonType, {0, 0, 20, 80}, "OK");
        make(d, 2, kADMTextPushButtonType, {0, 100, 20, 180}, "Annuler");
        return kNoErr;
      });
    } else {
      s.item->DefaultNotify(item, notifier);
    }
  };
  user().click(9).cancel().ok();
  int32_t outer = runModal([&](ADMDialogRef d) {
    build(d);
    s.item->SetNotifyProc(make(d, 9, kADMPicturePushButtonType, {39, 225, 52, 241}), notifyProc);
    return kNoErr;
  });
  EXPECT_EQ(inner, 2);
  EXPECT_EQ(outer, 1);
  EXPECT_EQ(dialogs().all().size(), 2u);
  EXPECT_TRUE(dialogs().errors().empty());
}

}  // namespace
}  // namespace adm_test
