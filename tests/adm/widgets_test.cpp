// The widgets keep the rules a host's widgets keep, whether the plug-in or the user changes
// them. The scripted user: each action changes the widget, then notifies the item, then the
// host redraws what was invalidated; a script that cannot go on ends the dialog instead of
// hanging.
#include "harness.h"

namespace adm_test {
namespace {

using AdmWidgetTest = DialogTest;
using Script = std::function<void(hostsim::adm::ScriptedUser&)>;

TEST_F(AdmWidgetTest, WhatTheUserDoesReachesThePlugInWithinTheWidgetsRules) {
  const std::pair<Script, Log> cases[] = {
      {[](auto& u) { u.click(21).click(21).click(21); }, {"21 off", "21 on", "21 off"}},
      {[](auto& u) { u.setValue(6, -5).setValue(6, 14).step(6, 2).step(6, -1, true).setValue(6, 0.05); },
       {"6 0.1", "6 14", "6 16", "6 12", "6 0.1"}},  // never below the minimum
      {[](auto& u) { u.type(19, "abcdefghijklmnopqrstuvwxyz"); }, {"19 «abcdefghijklmnopqrst»"}},
      {[](auto& u) { u.type(19, "é•…"); }, {"19 «\x8E\xA5\xC9»"}},  // in Mac Roman
      {[](auto& u) { u.choose(12, "10/04/2012").choose(12, 0); },
       {"12 «10/04/2012» 2/102", "12 «Mardi 10 avril 2012» 0/100"}},
      {[](auto& u) { u.choose(3, 1).type(3, "Serif"); }, {"3 «Mono» 1/101", "3 «Serif» 2/102"}},
      // «Nom.» governs the number and redraws the preview, and only that.
      {[](auto& u) { u.click(13).setValue(6, 9); }, {"13 off", "draw 18", "6 9"}},
      {[](auto& u) { u.click(22).click(23); }, {"22 on", "23 on"}},
  };
  for (const auto& [script, notified] : cases) {
    SCOPED_TRACE(notified[0]);
    log.clear();
    script(user());
    user().ok();
    EXPECT_EQ(runSettings(), 1);
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(Log(log.begin() + 2, log.end() - 1), notified);  // between the first drawing and OK
  }
  // The radio buttons next to each other form a group: the other group kept its own.
  for (auto [id, on] : {std::pair{22, false}, {23, true}, {24, false}, {30, true}})
    EXPECT_EQ(last().item(id)->value(), on) << id;
}

// OK and Annuler end the dialog by default; the last request to end it stands, and takes
// effect when the callback returns.
TEST_F(AdmWidgetTest, DefaultHandlingAndEndModalEndTheDialog) {
  user().ok();
  EXPECT_EQ(runModal([&](ADMDialogRef d) { make(d, 1, kADMTextPushButtonType, "OK"); }), 1);  // no notify procedure
  user().click(9).cancel();
  EXPECT_EQ(runSettings(), 2);
  EXPECT_TRUE(last().cancelling());
  EXPECT_FALSE(last().endedByHost());
  bool itemStillUsable = false;
  onNotify = [&](ADMItemRef item, ADMNotifierRef notifier) {
    sItem->DefaultNotify(item, notifier);  // asks for 2
    ADMDialogRef d = sItem->GetDialog(item);
    sDialog->EndModal(d, 7, 1);
    itemStillUsable = sItem->GetID(item) == 2 && sDialog->GetItem(d, 2) == item;
  };
  user().cancel().click(21);
  EXPECT_EQ(runSettings(), 7);
  EXPECT_TRUE(itemStillUsable);
  EXPECT_EQ(user().pending(), 1u);  // the action after the end is left for later
  EXPECT_FALSE(last().open());
}

// The host reports the action, drops the rest of the script and cancels through Annuler.
TEST_F(AdmWidgetTest, ActionsThatDoNotFitTheDialogEndItWithAClearMessage) {
  const std::pair<Script, const char*> cases[] = {
      {[](auto& u) { u.click(13).click(21).setValue(6, 20).ok(); },
       "click item 21: the item «Numéro du plan» (21) is disabled"},
      {[](auto& u) { u.click(13); }, "the script ended while the dialog «Essai» was still open"},
      {[](auto& u) { u.click(42).ok(); }, "click item 42: the dialog «Essai» has no item 42"},
      {[](auto& u) { u.setValue(13, 3).ok(); },
       "set item 13 to 3: the item «Nom.» (13) is a check box, not a spin edit"},
      {[](auto& u) { u.type(1, "x").ok(); },
       "type «x» into item 1: the item «OK» (1) is a push button, not a text field"},
      {[](auto& u) { u.choose(6, 0).ok(); }, "choose entry 0 in item 6: item 6 is a spin edit, not a popup"},
      {[](auto& u) { u.type(19, "a→b").ok(); }, "type «a→b» into item 19: the plug-in's texts cannot hold «→»"},
      {[](auto& u) { u.choose(12, "Demain").ok(); },
       "choose «Demain» in item 12: the list of item 12 has no entry «Demain»"},
      {[](auto& u) { u.choose(12, 5).ok(); }, "choose entry 5 in item 12: the list of item 12 has 3 entries"},
      {[](auto& u) { u.click(12).ok(); }, "click item 12: item 12 is a popup list: choose one of its entries"},
  };
  for (const auto& [script, message] : cases) {
    SCOPED_TRACE(message);
    dialogs().clearErrors();
    log.clear();
    script(user());
    EXPECT_EQ(runSettings(), 2);
    EXPECT_EQ(dialogs().errors(), Log{message});
    EXPECT_TRUE(user().empty());
    EXPECT_TRUE(last().endedByHost());
    EXPECT_EQ(log.back(), "2 «Annuler»");
  }
  // Without a Cancel button the host still closes it; a failed init procedure opens nothing.
  dialogs().clearErrors();
  user().click(5);
  EXPECT_EQ(runModal([&](ADMDialogRef d) { make(d, 5, kADMTextCheckBoxType, "Seul"); }), 2);
  EXPECT_EQ(dialogs().errors().size(), 1u);
  EXPECT_TRUE(last().endedByHost());
  initResult = kCantHappenErr;
  user().ok();
  EXPECT_EQ(runSettings(), 0);
  EXPECT_EQ(dialogs().errors().back(), "the dialog «Essai» did not open: its init procedure returned 'CANT'");
  EXPECT_EQ(user().pending(), 1u);
}

// The hooks the command uses see the dialog at open, once drawn, and after each action but
// the one that ends it; a dialog opened from a notification takes the next actions.
TEST_F(AdmWidgetTest, HooksAndNestedDialogsSeeTheActionsInTurn) {
  onNotify = [&](ADMItemRef item, ADMNotifierRef notifier) {
    if (sItem->GetID(item) != 9) return record(item, notifier);
    log.push_back("inner " + std::to_string(runModal([&](ADMDialogRef d) {
                    sItem->SetNotifyProc(make(d, 2, kADMTextPushButtonType, "Annuler"), notifyProc);
                  })));
  };
  dialogs().onOpen([&](hostsim::adm::Dialog& d) {
    log.push_back("open, " + std::to_string(user().pending()) + " to play, " + std::to_string(d.items().size()) +
                  " items");
  });
  dialogs().onAction([&](hostsim::adm::Dialog&, const hostsim::adm::UserAction& a) { log.push_back(a.describe()); });
  user().click(13).click(9).cancel().ok();
  EXPECT_EQ(runSettings(), 1);
  EXPECT_EQ(log, (Log{"draw 9", "draw 18", "open, 4 to play, 15 items", "13 off", "draw 18", "click item 13",
                      "open, 2 to play, 1 items", "2 «Annuler»", "inner 2", "draw 9", "click item 9", "1 «OK»"}));
}

}  // namespace
}  // namespace adm_test
