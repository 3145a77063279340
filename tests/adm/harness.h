// Modal dialogs built by test code: the test writes the init, notify and draw procedures
// as lambdas, and the host calls them through plain-function trampolines, as it calls a
// plug-in's.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "hostapi/HostAPI.h"
#include "hostsim/adm/dialogs.h"
#include "support/support.h"

namespace adm_test {

using hostsim::adm::ItemKind;
using Log = std::vector<std::string>;

class DialogTest : public testsupport::HostTest {
 protected:
  DialogTest() {
    hostsim::Resources resources;  // icon 1000 a whole <svg> element, 1100 bare SVG content
    resources.icons[1000] = {16, 13,
                             "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" height=\"13\">"
                             "<rect x=\"1\" y=\"1\" width=\"14\" height=\"11\" fill=\"#336\"/></svg>"};
    resources.icons[1100] = {64, 64, "<circle cx=\"32\" cy=\"32\" r=\"30\" fill=\"#c33\"/><title>logo</title>"};
    host_.attachPlugin([](const char*, const char*, void*) { return kNoErr; }, std::move(resources));
    onNotify = [this](ADMItemRef item, ADMNotifierRef notifier) { record(item, notifier); };
    onDraw = [this](ADMItemRef item, ADMDrawerRef drawer) { draw(item, drawer); };
    initResult = kNoErr;
  }

  // Runs a modal dialog that `init` builds, its init procedure answering initResult; the
  // user plays what was queued in user().
  int32_t runModal(std::function<void(ADMDialogRef)> init) {
    init_ = std::move(init);
    int32_t result = sDialog->Modal(host_.pluginRef(), "Essai", 26000, 0, initProc, nullptr, 0);
    init_ = nullptr;
    return result;
  }
  int32_t runSettings() { return runModal([this](ADMDialogRef d) { build(d); }); }

  ADMItemRef make(ADMDialogRef d, int32_t id, const char* type, const char* text = nullptr,
                  ADMRect bounds = {0, 0, 20, 80}) {
    ADMItemRef item = sItem->Create(d, id, type, &bounds, nullptr, nullptr, 0);
    if (text != nullptr) sItem->SetText(item, text);
    return item;
  }
  // Entries at the end of the item's list, each with the ID 100 + its index.
  ADMListRef fill(ADMItemRef item, std::initializer_list<const char*> texts) {
    for (const char* text : texts) {
      ADMEntryRef entry = sEntry->Create(sItem->GetList(item));
      sEntry->SetText(entry, text);
      sEntry->SetID(entry, 100 + sEntry->GetIndex(entry));
    }
    return sItem->GetList(item);
  }

  // A settings dialog with an item of every kind, each notifying and the two pictures
  // drawing; the widgets' rules at creation are checked on the way.
  void build(ADMDialogRef d) {
    auto add = [&](int32_t id, const char* type, const char* text = nullptr, bool on = false,
                   ADMRect bounds = {0, 0, 20, 80}) {
      ADMItemRef item = make(d, id, type, text, bounds);
      sItem->SetNotifyProc(item, notifyProc);
      if (on) sItem->SetBooleanValue(item, 1);
      return item;
    };
    ADMItemRef number = add(21, kADMTextCheckBoxType, "Num\x8E" "ro du plan", true, {10, 13, 25, 213});
    sItem->SetTipString(number, "Le num\x8E" "ro du plan de travail sera ajout\x8E au nom du fichier.");
    add(13, kADMTextCheckBoxType, "Nom.", true);
    ADMListRef fonts = fill(add(3, kADMTextEditScrollingPopupType), {"DejaVu Sans", "Mono", "Serif"});
    EXPECT_EQ(sList->GetActiveEntry(fonts), nullptr);
    sEntry->Select(sList->IndexEntry(fonts, 0), 1);
    ADMItemRef size = add(6, kADMSpinEditType);
    sItem->SetUnits(size, kADMPointUnits);
    sItem->SetMinFloatValue(size, 0.1f);
    EXPECT_FLOAT_EQ(sItem->GetFloatValue(size), 0.1f);  // the minimum raised the value there
    sItem->SetFloatValue(size, 12.0f);
    sItem->SetLargeIncrement(size, 4.0f);  // the small one stays 1
    sItem->SetDrawProc(add(9, kADMPicturePushButtonType), drawProc);
    ADMListRef list = fill(add(12, kADMPopupListType), {"Mardi 10 avril 2012", "Mar 10 avr 2012", "10/04/2012"});
    EXPECT_EQ(sList->IndexEntry(list, 3), nullptr);
    sEntry->Select(sList->IndexEntry(list, 2), 1);
    sEntry->Select(sList->IndexEntry(list, 1), 1);  // one active entry at most
    EXPECT_EQ(sList->GetActiveEntry(list), sList->IndexEntry(list, 1));
    ADMItemRef separator = add(19, kADMTextEditType);
    EXPECT_EQ(sItem->GetList(separator), nullptr);
    sItem->SetMaxTextLength(separator, 20);
    sItem->SetText(separator, "0123456789012345678901234");
    char cut[4];
    sItem->GetText(separator, cut, sizeof cut);
    EXPECT_STREQ(cut, "012");
    EXPECT_EQ(sItem->GetTextLength(separator), 20);
    sItem->SetText(separator, " - ");
    make(d, 20, kADMTextStaticType, "S\x8Eparateurs");
    add(22, kADMTextRadioButtonType, "Haut.");
    add(23, kADMTextRadioButtonType, "Bas.");
    add(24, kADMTextRadioButtonType, "Dessous.", true);
    sItem->SetDrawProc(make(d, 18, kADMPicturePushButtonType, nullptr, {6, 318, 186, 441}), drawProc);
    add(2, kADMTextPushButtonType, "Annuler");
    add(1, kADMTextPushButtonType, "OK");
    add(30, kADMTextRadioButtonType, "Autre", true);  // another group: items stand between
  }

  // What the plug-in reads of a notified item: "21 off", "6 14", "19 «abc»", "12 «10/04/2012» 2/102".
  std::string state(ADMItemRef item) {
    std::ostringstream out;
    out << sItem->GetID(item);
    char text[64];
    sItem->GetText(item, text, sizeof text);
    ItemKind kind = hostsim::dialogs(host_).top()->item(sItem->GetID(item))->kind();
    if (kind == ItemKind::CheckBox || kind == ItemKind::RadioButton)
      out << (sItem->GetBooleanValue(item) ? " on" : " off");
    else if (kind == ItemKind::SpinEdit)
      out << ' ' << sItem->GetFloatValue(item);
    else
      out << " «" << text << "»";
    ADMListRef list = sItem->GetList(item);
    if (ADMEntryRef active = list != nullptr ? sList->GetActiveEntry(list) : nullptr)
      out << ' ' << sEntry->GetIndex(active) << '/' << sEntry->GetID(active);
    return out.str();
  }
  // The settings dialog's behaviour: each notification is logged; «Nom.» governs the number
  // and redraws the preview; the rest gets the host's default handling.
  void record(ADMItemRef item, ADMNotifierRef notifier) {
    log.push_back(state(item));
    if (!sNotifier->IsNotifierType(notifier, kADMUserChangedNotifier)) log.back() += " (not the user's)";
    if (sItem->GetID(item) == 13) {
      ADMDialogRef d = sItem->GetDialog(item);
      sItem->SetBooleanValue(sDialog->GetItem(d, 21), sItem->GetBooleanValue(item));
      sItem->Enable(sDialog->GetItem(d, 21), sItem->GetBooleanValue(item));
      sItem->Invalidate(sDialog->GetItem(d, 18));
    }
    sItem->DefaultNotify(item, notifier);
  }
  // Each picture is logged and draws icon 1000; the preview draws with every operation and
  // destroys its icon, the small button leaves its own for the host to reclaim.
  void draw(ADMItemRef item, ADMDrawerRef dr) {
    log.push_back("draw " + std::to_string(sItem->GetID(item)));
    ADMIconRef icon = sIcon->GetFromResource(sDialog->GetPluginRef(sItem->GetDialog(item)), 1000, 0);
    ADMPoint a{143, 0}, b{179, 0}, base{153, 24}, corner{0, 0};
    if (sItem->GetID(item) != 18) return sDrawer->DrawIcon(dr, icon, &corner);
    sDrawer->Clear(dr);
    sDrawer->SetADMColor(dr, kADMBlackColor);
    ADMRect frame{0, 0, 143, 123}, fill{1, 1, 142, 122}, line{142, 0, 154, 123};
    sDrawer->FrameRect(dr, &frame);
    sDrawer->SetADMColor(dr, kADMWhiteColor);
    sDrawer->FillRect(dr, &fill);
    sDrawer->SetADMColor(dr, kADMRedColor);
    sDrawer->DrawLine(dr, &a, &b);
    sDrawer->SetFont(dr, kADMPaletteFont);
    sDrawer->DrawText(dr, "Nom", &base);
    sDrawer->DrawTextCentered(dr, "Ann\x8E" "e", &line);  // Année
    sDrawer->DrawIcon(dr, icon, &corner);
    sIcon->Destroy(icon);
  }

  hostsim::Dialogs& dialogs() { return hostsim::dialogs(host_); }
  hostsim::adm::ScriptedUser& user() { return hostsim::dialogs(host_).user(); }
  hostsim::adm::Dialog& last() { return *hostsim::dialogs(host_).last(); }

  // What every item's notify and draw procedures, and the dialog's draw procedure, do.
  static inline std::function<void(ADMItemRef, ADMNotifierRef)> onNotify;
  static inline std::function<void(ADMItemRef, ADMDrawerRef)> onDraw;
  static inline std::function<void(ADMDialogRef, ADMDrawerRef)> onDialogDraw;
  static void notifyProc(ADMItemRef item, ADMNotifierRef notifier) { onNotify(item, notifier); }
  static void drawProc(ADMItemRef item, ADMDrawerRef drawer) { onDraw(item, drawer); }
  static void dialogDrawProc(ADMDialogRef dialog, ADMDrawerRef drawer) { onDialogDraw(dialog, drawer); }

  const ADMDialogSuite* const sDialog = &suite<ADMDialogSuite>(kADMDialogSuite, kADMDialogSuiteVersion);
  const ADMItemSuite* const sItem = &suite<ADMItemSuite>(kADMItemSuite, kADMItemSuiteVersion);
  const ADMListSuite* const sList = &suite<ADMListSuite>(kADMListSuite, kADMListSuiteVersion);
  const ADMEntrySuite* const sEntry = &suite<ADMEntrySuite>(kADMEntrySuite, kADMEntrySuiteVersion);
  const ADMNotifierSuite* const sNotifier = &suite<ADMNotifierSuite>(kADMNotifierSuite, kADMNotifierSuiteVersion);
  const ADMDrawerSuite* const sDrawer = &suite<ADMDrawerSuite>(kADMDrawerSuite, kADMDrawerSuiteVersion);
  const ADMIconSuite* const sIcon = &suite<ADMIconSuite>(kADMIconSuite, kADMIconSuiteVersion2);
  Log log;  // what the procedures did, in order
  static inline ASErr initResult = kNoErr;

 private:
  static ASErr initProc(ADMDialogRef dialog) {
    init_(dialog);
    return initResult;
  }
  static inline std::function<void(ADMDialogRef)> init_;
};

}  // namespace adm_test
