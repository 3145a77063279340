// Draw procedures draw on a drawer that records every operation, per call and item; icons
// come from the plug-in's resources and are host objects until destroyed or reclaimed.
#include <string>
#include <vector>

#include "harness.h"

namespace adm_test {
namespace {

using Lines = std::vector<std::string>;

class AdmDrawingTest : public DialogTest {
 protected:
  ASErr okButton(ADMDialogRef d) {
    s.item->SetNotifyProc(make(d, 1, kADMTextPushButtonType, {222, 345, 242, 437}, "OK"), notifyProc);
    return kNoErr;
  }

  AdmDrawingTest() {
    onNotify = [this](ADMItemRef item, ADMNotifierRef notifier) { s.item->DefaultNotify(item, notifier); };
  }
};

TEST_F(AdmDrawingTest, EveryOperationIsRecordedForTheItemItDrewFor) {
  onDraw = [&](ADMItemRef item, ADMDrawerRef dr) {
    s.drawer->Clear(dr);
    s.drawer->SetADMColor(dr, kADMBlackColor);
    ADMRect frame{0, 0, 143, 123};
    s.drawer->FrameRect(dr, &frame);
    s.drawer->SetADMColor(dr, kADMWhiteColor);
    ADMRect fill{1, 1, 142, 122};
    s.drawer->FillRect(dr, &fill);
    s.drawer->SetADMColor(dr, kADMRedColor);
    ADMPoint a{143, 0}, b{179, 0};
    s.drawer->DrawLine(dr, &a, &b);
    s.drawer->SetFont(dr, kADMPaletteFont);
    ADMPoint base{153, 24};
    s.drawer->DrawText(dr, "Nom", &base);
    ADMRect line{142, 0, 154, 123};
    s.drawer->DrawTextCentered(dr, "Ann\x8E" "e", &line);  // Année
    ADMIconRef icon = s.icon->GetFromResource(s.dialog->GetPluginRef(s.item->GetDialog(item)), 1000, 0);
    ADMPoint corner{0, 0};
    s.drawer->DrawIcon(dr, icon, &corner);
    s.icon->Destroy(icon);
  };
  user().ok();
  runModal([&](ADMDialogRef d) {
    s.item->SetDrawProc(make(d, 18, kADMPicturePushButtonType, {6, 318, 186, 441}), drawProc);
    return okButton(d);
  });
  ASSERT_EQ(last().drawCalls().size(), 1u);
  const hostsim::adm::DrawCall& call = last().drawCalls()[0];
  EXPECT_EQ(call.itemID, 18);
  EXPECT_EQ(hostsim::adm::describe(call.ops),
            (Lines{"clear", "colour 0", "frame 0 0 143 123", "colour 1", "fill 1 1 142 122", "colour 16",
                   "line 143,0 179,0", "font 13", "text 153,24 «Nom»", "centred 142 0 154 123 «Année»",
                   "icon 1000/0 at 0,0"}));
  EXPECT_EQ(hostsim::adm::describe(last().item(18)->drawing()), hostsim::adm::describe(call.ops));
}

TEST_F(AdmDrawingTest, OnlyInvalidatedItemsAreRedrawnAfterAnAction) {
  std::vector<int32_t> drawn;
  onDraw = [&](ADMItemRef item, ADMDrawerRef) { drawn.push_back(s.item->GetID(item)); };
  onNotify = [&](ADMItemRef item, ADMNotifierRef notifier) {
    ADMDialogRef d = s.item->GetDialog(item);
    if (s.item->GetID(item) == 13) s.item->Invalidate(s.dialog->GetItem(d, 18));
    s.item->DefaultNotify(item, notifier);
  };
  user().click(13).click(14).ok();
  runModal([&](ADMDialogRef d) {
    s.item->SetNotifyProc(make(d, 13, kADMTextCheckBoxType, {40, 13, 55, 73}, "Nom."), notifyProc);
    s.item->SetNotifyProc(make(d, 14, kADMTextCheckBoxType, {69, 13, 84, 73}, "Taille."), notifyProc);
    s.item->SetDrawProc(make(d, 9, kADMPicturePushButtonType, {39, 225, 52, 241}), drawProc);
    s.item->SetDrawProc(make(d, 18, kADMPicturePushButtonType, {6, 318, 186, 441}), drawProc);
    return okButton(d);
  });
  // Both when the dialog appears, then only the preview, after the click that invalidated it.
  EXPECT_EQ(drawn, (std::vector<int32_t>{9, 18, 18}));
}

TEST_F(AdmDrawingTest, DialogDrawProcedureDrawsAroundTheHostsDefaultContent) {
  onDialogDraw = [&](ADMDialogRef d, ADMDrawerRef dr) {
    SPPluginRef plugin = s.dialog->GetPluginRef(d);
    s.dialog->DefaultDraw(d, dr);
    ADMPoint corner{30, -5};
    s.drawer->DrawIcon(dr, s.icon->GetFromResource(plugin, 1100, 0), &corner);
    s.drawer->SetADMColor(dr, kADMBlackColor);
    ADMRect band{6, 0, 26, 510};
    s.drawer->DrawTextCentered(dr, "Version 3.3 mars 2012", &band);
  };
  user().ok();
  runModal([&](ADMDialogRef d) {
    s.dialog->SetDrawProc(d, dialogDrawProc);
    return okButton(d);
  });
  ASSERT_EQ(last().drawCalls().size(), 1u);
  EXPECT_FALSE(last().drawCalls()[0].itemID.has_value());
  EXPECT_EQ(hostsim::adm::describe(last().drawing()),
            (Lines{"default", "icon 1100/0 at 30,-5", "colour 0", "centred 6 0 26 510 «Version 3.3 mars 2012»"}));
}

TEST_F(AdmDrawingTest, IconsAreHostObjectsUntilDestroyedOrTheirDialogCloses) {
  int liveAfterDraw = -1;
  onDraw = [&](ADMItemRef item, ADMDrawerRef dr) {
    SPPluginRef plugin = s.dialog->GetPluginRef(s.item->GetDialog(item));
    ADMIconRef kept = s.icon->GetFromResource(plugin, 1000, 0);  // never given back
    ADMIconRef destroyed = s.icon->GetFromResource(plugin, 1100, 0);
    ADMPoint corner{0, 0};
    s.drawer->DrawIcon(dr, kept, &corner);
    s.icon->Destroy(destroyed);
    EXPECT_EQ(s.icon->GetFromResource(plugin, 1234, 0), nullptr);  // no such resource
    EXPECT_EQ(s.icon->GetFromResource(plugin, 1000, 1), nullptr);  // one image per icon
  };
  dialogs().onOpen([&](hostsim::adm::Dialog&) { liveAfterDraw = host.accounting().objectsLive("ADM icon"); });
  user().click(9).ok();
  runModal([&](ADMDialogRef d) {
    s.item->SetDrawProc(make(d, 9, kADMPicturePushButtonType, {39, 225, 52, 241}), drawProc);
    return okButton(d);
  });
  EXPECT_EQ(liveAfterDraw, 1);
  // Drawn when the dialog appeared and again after the click.
  EXPECT_EQ(last().iconsReclaimed(), 2);
  EXPECT_EQ(host.accounting().objectsLive(), 0) << host.outstanding();
  EXPECT_TRUE(host.accounting().misuses().empty());
}

TEST_F(AdmDrawingTest, IconGotOutsideADialogIsThePlugInsToDestroy) {
  ADMIconRef icon = s.icon->GetFromResource(host.pluginRef(), 1000, 0);
  ASSERT_NE(icon, nullptr);
  user().ok();
  runModal([&](ADMDialogRef d) { return okButton(d); });
  EXPECT_EQ(host.accounting().objectsLive("ADM icon"), 1);
  s.icon->Destroy(icon);
  EXPECT_EQ(host.accounting().objectsLive("ADM icon"), 0);
  s.icon->Destroy(icon);
  ASSERT_EQ(host.accounting().misuses().size(), 1u);
  EXPECT_EQ(host.accounting().misuses()[0],
            "ADM Icon Suite.Destroy: an icon handle that is no longer valid: it was destroyed");
}

TEST_F(AdmDrawingTest, ReclaimedIconMayBeDestroyedButNotDrawn) {
  ADMIconRef kept = nullptr;
  onDraw = [&](ADMItemRef item, ADMDrawerRef dr) {
    ADMPoint corner{0, 0};
    if (kept == nullptr) {
      kept = s.icon->GetFromResource(s.dialog->GetPluginRef(s.item->GetDialog(item)), 1000, 0);
    } else {
      s.drawer->DrawIcon(dr, kept, &corner);  // from the dialog before
    }
  };
  for (int round = 0; round < 2; ++round) {
    user().ok();
    runModal([&](ADMDialogRef d) {
      s.item->SetDrawProc(make(d, 9, kADMPicturePushButtonType, {39, 225, 52, 241}), drawProc);
      return okButton(d);
    });
  }
  EXPECT_TRUE(last().item(9)->drawing().empty());
  ASSERT_EQ(host.accounting().misuses().size(), 1u);
  EXPECT_EQ(host.accounting().misuses()[0],
            "ADM Drawer Suite.DrawIcon: an icon handle that is no longer valid: the host reclaimed it when its "
            "dialog closed");
  s.icon->Destroy(kept);
  EXPECT_EQ(host.accounting().misuses().size(), 1u);
}

}  // namespace
}  // namespace adm_test
