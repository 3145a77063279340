// The widgets keep the rules a host's widgets keep, whether the plug-in or the user changes
// them.
#include <string>

#include "harness.h"

namespace adm_test {
namespace {

using hostsim::adm::Item;

constexpr ADMRect kBox{10, 13, 25, 213};

class AdmWidgetTest : public DialogTest {};

TEST_F(AdmWidgetTest, CheckBoxTogglesOnEachClick) {
  std::vector<bool> seen;
  onNotify = [&](ADMItemRef item, ADMNotifierRef) { seen.push_back(s.item->GetBooleanValue(item) != 0); };
  user().click(21).click(21).click(21).ok();
  runModal([&](ADMDialogRef d) {
    ADMItemRef box = make(d, 21, kADMTextCheckBoxType, kBox, "Num\x8E" "ro du plan");  // Numéro du plan
    s.item->SetBooleanValue(box, 1);
    s.item->SetNotifyProc(box, notifyProc);
    make(d, 1, kADMTextPushButtonType, {222, 345, 242, 437}, "OK");
    return kNoErr;
  });
  EXPECT_EQ(seen, (std::vector<bool>{false, true, false}));
  EXPECT_FALSE(last().item(21)->value());
}

TEST_F(AdmWidgetTest, RadioButtonSelectsItselfAndClearsOnlyItsAdjacentGroup) {
  user().click(22).ok();
  runModal([&](ADMDialogRef d) {
    make(d, 22, kADMTextRadioButtonType, {187, 160, 211, 220}, "Haut.");
    make(d, 23, kADMTextRadioButtonType, {187, 244, 211, 314}, "Bas.");
    s.item->SetBooleanValue(make(d, 24, kADMTextRadioButtonType, {187, 324, 211, 404}, "Dessous."), 1);
    make(d, 1, kADMTextPushButtonType, {222, 345, 242, 437}, "OK");
    // Another group, apart from the first by the button between them.
    s.item->SetBooleanValue(make(d, 30, kADMTextRadioButtonType, {250, 10, 270, 90}, "Autre"), 1);
    return kNoErr;
  });
  EXPECT_TRUE(last().item(22)->value());
  EXPECT_FALSE(last().item(23)->value());
  EXPECT_FALSE(last().item(24)->value());
  EXPECT_TRUE(last().item(30)->value());
}

TEST_F(AdmWidgetTest, SpinEditKeepsItsValueAtOrAboveItsMinimum) {
  std::vector<float> seen;
  onNotify = [&](ADMItemRef item, ADMNotifierRef) { seen.push_back(s.item->GetFloatValue(item)); };
  user().setValue(6, -5).setValue(6, 14).step(6, 2).step(6, -1, true).setValue(6, 0.05).ok();
  float afterInit = 0;
  runModal([&](ADMDialogRef d) {
    ADMItemRef spin = make(d, 6, kADMSpinEditType, {36, 244, 58, 309});
    s.item->SetFloatValue(spin, 0.0f);
    s.item->SetUnits(spin, kADMPointUnits);
    s.item->SetMinFloatValue(spin, 0.1f);  // raises the value already there
    s.item->SetSmallIncrement(spin, 1.0f);
    s.item->SetLargeIncrement(spin, 4.0f);
    afterInit = s.item->GetFloatValue(spin);
    s.item->SetNotifyProc(spin, notifyProc);
    make(d, 1, kADMTextPushButtonType, {222, 345, 242, 437}, "OK");
    return kNoErr;
  });
  EXPECT_FLOAT_EQ(afterInit, 0.1f);
  ASSERT_EQ(seen.size(), 5u);
  EXPECT_FLOAT_EQ(seen[0], 0.1f);
  EXPECT_FLOAT_EQ(seen[1], 14.0f);
  EXPECT_FLOAT_EQ(seen[2], 16.0f);
  EXPECT_FLOAT_EQ(seen[3], 12.0f);
  EXPECT_FLOAT_EQ(seen[4], 0.1f);
}

TEST_F(AdmWidgetTest, TextEditKeepsAtMostItsMaximumLength) {
  std::string typed;
  onNotify = [&](ADMItemRef item, ADMNotifierRef) {
    char buffer[64];
    s.item->GetText(item, buffer, sizeof buffer);
    typed = buffer;
    EXPECT_EQ(s.item->GetTextLength(item), 20);
    char small[4];
    s.item->GetText(item, small, sizeof small);
    EXPECT_STREQ(small, "abc");  // cut, with its terminator
  };
  user().type(19, "abcdefghijklmnopqrstuvwxyz").ok();
  std::string set;
  runModal([&](ADMDialogRef d) {
    ADMItemRef edit = make(d, 19, kADMTextEditType, {189, 80, 211, 145});
    s.item->SetMaxTextLength(edit, 20);
    s.item->SetText(edit, "0123456789012345678901234");
    char buffer[64];
    s.item->GetText(edit, buffer, sizeof buffer);
    set = buffer;
    s.item->SetNotifyProc(edit, notifyProc);
    make(d, 1, kADMTextPushButtonType, {222, 345, 242, 437}, "OK");
    return kNoErr;
  });
  EXPECT_EQ(set, "01234567890123456789");
  EXPECT_EQ(typed, "abcdefghijklmnopqrst");
}

TEST_F(AdmWidgetTest, TypedTextReachesThePlugInInMacRoman) {
  user().type(19, "é•…").ok();
  runModal([&](ADMDialogRef d) {
    make(d, 19, kADMTextEditType, {189, 80, 211, 145});
    make(d, 1, kADMTextPushButtonType, {222, 345, 242, 437}, "OK");
    return kNoErr;
  });
  EXPECT_EQ(last().item(19)->text(), "\x8E\xA5\xC9");
  EXPECT_EQ(last().item(19)->label(), "é•…");
}

TEST_F(AdmWidgetTest, PopupListHasOneActiveEntry) {
  std::vector<int32_t> chosen;
  onNotify = [&](ADMItemRef item, ADMNotifierRef) {
    ADMEntryRef active = s.list->GetActiveEntry(s.item->GetList(item));
    chosen.push_back(s.entry->GetIndex(active) * 100 + s.entry->GetID(active));
  };
  user().choose(12, "10/04/2012").choose(12, 1).ok();
  runModal([&](ADMDialogRef d) {
    ADMItemRef popup = make(d, 12, kADMPopupListType, {129, 80, 149, 309});
    addEntry(popup, "Mardi 10 avril 2012", 0);
    addEntry(popup, "Mar 10 avr 2012", 1);
    addEntry(popup, "10/04/2012", 2);
    ADMListRef list = s.item->GetList(popup);
    EXPECT_EQ(s.list->GetActiveEntry(list), nullptr);
    EXPECT_EQ(s.list->IndexEntry(list, 3), nullptr);
    s.entry->Select(s.list->IndexEntry(list, 0), 1);
    s.entry->Select(s.list->IndexEntry(list, 2), 1);
    EXPECT_EQ(s.list->GetActiveEntry(list), s.list->IndexEntry(list, 2));
    s.entry->Select(s.list->IndexEntry(list, 0), 1);
    s.item->SetNotifyProc(popup, notifyProc);
    make(d, 1, kADMTextPushButtonType, {222, 345, 242, 437}, "OK");
    return kNoErr;
  });
  EXPECT_EQ(chosen, (std::vector<int32_t>{202, 101}));
  const Item& popup = *last().item(12);
  int selected = 0;
  for (const auto& e : popup.list()->entries()) selected += e->selected() ? 1 : 0;
  EXPECT_EQ(selected, 1);
  EXPECT_EQ(popup.label(), "Mar 10 avr 2012");
  EXPECT_EQ(s.item->GetList(nullptr), nullptr);
}

TEST_F(AdmWidgetTest, ScrollingPopupFieldShowsTheChosenFont) {
  user().choose(3, 1).type(3, "Serif").ok();
  std::vector<std::string> texts;
  onNotify = [&](ADMItemRef item, ADMNotifierRef) {
    char buffer[64];
    s.item->GetText(item, buffer, sizeof buffer);
    ADMEntryRef active = s.list->GetActiveEntry(s.item->GetList(item));
    texts.push_back(std::string(buffer) + "/" + std::to_string(active != nullptr ? s.entry->GetID(active) : -1));
  };
  runModal([&](ADMDialogRef d) {
    ADMItemRef fonts = make(d, 3, kADMTextEditScrollingPopupType, {36, 80, 58, 205});
    addEntry(fonts, "Sans", 0);
    addEntry(fonts, "Mono", 1);
    addEntry(fonts, "Serif", 2);
    EXPECT_EQ(s.item->GetList(make(d, 4, kADMTextEditType, {0, 0, 10, 10})), nullptr);
    s.item->SetNotifyProc(fonts, notifyProc);
    make(d, 1, kADMTextPushButtonType, {222, 345, 242, 437}, "OK");
    return kNoErr;
  });
  EXPECT_EQ(texts, (std::vector<std::string>{"Mono/1", "Serif/2"}));
}

TEST_F(AdmWidgetTest, DefaultHandlingEndsTheDialogThroughOkAndCancel) {
  // Without a notify procedure, and through DefaultNotify from one.
  user().ok();
  EXPECT_EQ(runModal([&](ADMDialogRef d) {
              make(d, 1, kADMTextPushButtonType, {222, 345, 242, 437}, "OK");
              return kNoErr;
            }),
            1);
  onNotify = [&](ADMItemRef item, ADMNotifierRef notifier) { s.item->DefaultNotify(item, notifier); };
  user().click(9).cancel();
  EXPECT_EQ(runModal([&](ADMDialogRef d) {
              s.item->SetNotifyProc(make(d, 9, kADMPicturePushButtonType, {39, 225, 52, 241}), notifyProc);
              s.item->SetNotifyProc(make(d, 2, kADMTextPushButtonType, {222, 13, 242, 105}, "Annuler"), notifyProc);
              return kNoErr;
            }),
            2);
  EXPECT_TRUE(last().cancelling());
  EXPECT_FALSE(last().endedByHost());
  EXPECT_TRUE(dialogs().errors().empty());
}

TEST_F(AdmWidgetTest, EndModalTakesEffectWhenTheCallbackReturns) {
  bool itemStillUsable = false;
  onNotify = [&](ADMItemRef item, ADMNotifierRef notifier) {
    s.item->DefaultNotify(item, notifier);  // asks for result 2
    ADMDialogRef d = s.item->GetDialog(item);
    s.dialog->EndModal(d, 7, 1);  // the last request stands
    itemStillUsable = s.item->GetID(item) == 2 && s.dialog->GetItem(d, 2) == item;
  };
  user().cancel().click(5);
  int32_t result = runModal([&](ADMDialogRef d) {
    s.item->SetNotifyProc(make(d, 2, kADMTextPushButtonType, {222, 13, 242, 105}, "Annuler"), notifyProc);
    make(d, 5, kADMTextCheckBoxType, kBox, "Rien");
    return kNoErr;
  });
  EXPECT_EQ(result, 7);
  EXPECT_TRUE(itemStillUsable);
  EXPECT_EQ(user().pending(), 1u);  // the action after the end is left for later
  EXPECT_FALSE(last().open());
}

TEST_F(AdmWidgetTest, UserChangesComeWithTheUserChangedNotifier) {
  std::vector<int> answers;
  onNotify = [&](ADMItemRef, ADMNotifierRef notifier) {
    answers.push_back(s.notifier->IsNotifierType(notifier, kADMUserChangedNotifier));
    answers.push_back(s.notifier->IsNotifierType(notifier, "ADM Intermediate Changed Notifier"));
  };
  user().click(13).ok();
  runModal([&](ADMDialogRef d) {
    s.item->SetNotifyProc(make(d, 13, kADMTextCheckBoxType, {40, 13, 55, 73}, "Nom."), notifyProc);
    make(d, 1, kADMTextPushButtonType, {222, 345, 242, 437}, "OK");
    return kNoErr;
  });
  EXPECT_EQ(answers, (std::vector<int>{1, 0}));
}

}  // namespace
}  // namespace adm_test
