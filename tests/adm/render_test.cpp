// The picture of a dialog is well-formed SVG that shows what the user saw: the title, every
// item's label and state, and the draw procedures' drawing in place.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

#include <pugixml.hpp>

#include "harness.h"
#include "hostsim/adm/render.h"

namespace adm_test {
namespace {

class AdmRenderTest : public DialogTest {
 protected:
  // A small settings dialog with one item of every kind, in Mac Roman.
  ASErr build(ADMDialogRef d) {
    s.dialog->SetText(d, "QZV\xA5" "Estampilleur (R\x8E" "glages)");  // QZV•Estampilleur (Réglages)
    ADMRect bounds{206, 495, 486, 945};
    s.dialog->SetBoundsRect(d, &bounds);
    ADMItemRef number = make(d, 21, kADMTextCheckBoxType, {10, 13, 25, 213}, "Num\x8E" "ro du plan");
    s.item->SetBooleanValue(number, 1);
    s.item->SetTipString(number, "Le num\x8E" "ro du plan de travail sera ajout\x8E au nom du fichier.");
    s.item->Enable(make(d, 13, kADMTextCheckBoxType, {40, 13, 55, 73}, "Nom."), 0);
    ADMItemRef fonts = make(d, 3, kADMTextEditScrollingPopupType, {36, 80, 58, 205});
    s.entry->Select(addEntry(fonts, "DejaVu Sans", 0), 1);
    ADMItemRef size = make(d, 6, kADMSpinEditType, {36, 244, 58, 309});
    s.item->SetFloatValue(size, 12.0f);
    s.item->SetDrawProc(make(d, 9, kADMPicturePushButtonType, {39, 225, 52, 241}), drawProc);
    ADMItemRef formats = make(d, 12, kADMPopupListType, {129, 80, 149, 309});
    addEntry(formats, "Mardi 10 avril 2012", 0);
    s.entry->Select(addEntry(formats, "Mar 10 avr 2012", 1), 1);
    make(d, 19, kADMTextEditType, {189, 80, 211, 145}, " - ");
    make(d, 20, kADMTextStaticType, {191, 4, 211, 79}, "S\x8Eparateurs");
    s.item->SetBooleanValue(make(d, 24, kADMTextRadioButtonType, {187, 324, 211, 404}, "Dessous."), 1);
    s.item->SetDrawProc(make(d, 18, kADMPicturePushButtonType, {6, 318, 186, 441}), drawProc);
    make(d, 2, kADMTextPushButtonType, {222, 13, 242, 105}, "Annuler");
    make(d, 1, kADMTextPushButtonType, {222, 345, 242, 437}, "OK");
    return kNoErr;
  }

  AdmRenderTest() {
    onDraw = [this](ADMItemRef item, ADMDrawerRef dr) {
      if (s.item->GetID(item) == 18) {
        s.drawer->Clear(dr);
        s.drawer->SetADMColor(dr, kADMBlackColor);
        ADMRect artboard{0, 0, 143, 123};
        s.drawer->FrameRect(dr, &artboard);
        s.drawer->SetFont(dr, kADMPaletteFont);
        ADMPoint base{153, 24};
        s.drawer->DrawText(dr, "Nom", &base);
      } else {
        ADMIconRef icon = s.icon->GetFromResource(s.dialog->GetPluginRef(s.item->GetDialog(item)), 1000, 0);
        ADMPoint corner{0, 0};
        s.drawer->DrawIcon(dr, icon, &corner);
      }
    };
  }

  pugi::xml_node itemGroup(const pugi::xml_document& svg, int id) {
    return svg.find_node([&](pugi::xml_node n) { return std::string(n.attribute("id").value()) == "item-" + std::to_string(id); });
  }

  // Every <text> of the picture, each followed by "|".
  static std::string allText(pugi::xml_node node) {
    std::string text;
    for (pugi::xml_node child : node.children()) {
      if (std::string(child.name()) == "text") text += std::string(child.child_value()) + "|";
      text += allText(child);
    }
    return text;
  }
};

TEST_F(AdmRenderTest, PictureIsWellFormedSvgWithTheTitleAndEveryLabel) {
  user().cancel();
  runModal([&](ADMDialogRef d) { return build(d); });
  pugi::xml_document svg;
  std::string text = hostsim::adm::renderSvg(last());
  ASSERT_TRUE(svg.load_string(text.c_str())) << text;
  pugi::xml_node root = svg.document_element();
  EXPECT_STREQ(root.name(), "svg");
  EXPECT_STREQ(root.attribute("width").value(), "452");   // 450 and the frame
  EXPECT_STREQ(root.attribute("height").value(), "303");  // 280, the title bar and the frame
  EXPECT_STREQ(root.child("title").child_value(), "QZV•Estampilleur (Réglages)");

  std::string shown = allText(root);
  for (const char* label : {"QZV•Estampilleur (Réglages)", "Numéro du plan", "Nom.", "DejaVu Sans", "12 pt",
                            "Mar 10 avr 2012", " - ", "Séparateurs", "Dessous.", "Annuler", "OK"})
    EXPECT_NE(shown.find(std::string(label) + "|"), std::string::npos) << label << " in " << shown;
  EXPECT_EQ(shown.find("Mardi 10 avril 2012"), std::string::npos);  // a popup shows its active entry only
}

TEST_F(AdmRenderTest, ItemsShowTheirStateInPlace) {
  user().cancel();
  runModal([&](ADMDialogRef d) { return build(d); });
  pugi::xml_document svg;
  ASSERT_TRUE(svg.load_string(hostsim::adm::renderSvg(last()).c_str()));

  pugi::xml_node number = itemGroup(svg, 21);
  ASSERT_TRUE(number);
  EXPECT_STREQ(number.attribute("transform").value(), "translate(13,10)");
  EXPECT_STREQ(number.child("title").child_value(), "Le numéro du plan de travail sera ajouté au nom du fichier.");
  EXPECT_TRUE(number.child("path")) << "the check mark";
  EXPECT_FALSE(itemGroup(svg, 13).child("path")) << "an unchecked box has no mark";
  EXPECT_NE(std::string(itemGroup(svg, 13).attribute("class").value()).find("disabled"), std::string::npos);
  EXPECT_EQ(std::string(number.attribute("class").value()), "check-box");

  // The preview's own drawing, in its item's place; the small button's icon from the resources.
  pugi::xml_node preview = itemGroup(svg, 18);
  EXPECT_STREQ(preview.attribute("transform").value(), "translate(318,6)");
  pugi::xml_node frame = preview.find_child([](pugi::xml_node n) {
    return std::string(n.name()) == "rect" && std::string(n.attribute("fill").value()) == "none";
  });
  ASSERT_TRUE(frame);
  EXPECT_STREQ(frame.attribute("width").value(), "122");
  EXPECT_STREQ(frame.attribute("stroke").value(), "#000000");
  EXPECT_STREQ(preview.child("text").child_value(), "Nom");
  EXPECT_STREQ(preview.child("text").attribute("font-size").value(), "10");
  pugi::xml_node icon = itemGroup(svg, 9).child("svg");
  ASSERT_TRUE(icon);
  EXPECT_STREQ(icon.attribute("width").value(), "16");
  EXPECT_TRUE(icon.child("rect"));
}

TEST_F(AdmRenderTest, AboutBoxShowsItsDialogDrawing) {
  onDialogDraw = [&](ADMDialogRef d, ADMDrawerRef dr) {
    s.dialog->DefaultDraw(d, dr);
    ADMPoint corner{30, -5};
    s.drawer->DrawIcon(dr, s.icon->GetFromResource(s.dialog->GetPluginRef(d), 1100, 0), &corner);
    s.drawer->SetADMColor(dr, kADMBlackColor);
    ADMRect band{6, 0, 26, 510};
    s.drawer->DrawTextCentered(dr, "Version 3.3 mars 2012", &band);
  };
  user().ok();
  runModal([&](ADMDialogRef d) {
    s.dialog->SetDrawProc(d, dialogDrawProc);
    s.dialog->SetText(d, "\xCB propos de QZV\xA5" "Estampilleur");  // À propos de QZV•Estampilleur
    ADMRect bounds{163, 465, 573, 975};
    s.dialog->SetBoundsRect(d, &bounds);
    make(d, 1, kADMTextPushButtonType, {356, 25, 376, 485}, "Auteur");
    return kNoErr;
  });
  std::string text = hostsim::adm::renderSvg(last());
  pugi::xml_document svg;
  ASSERT_TRUE(svg.load_string(text.c_str()));
  std::string shown = allText(svg.document_element());
  EXPECT_NE(shown.find("À propos de QZV•Estampilleur|"), std::string::npos);
  EXPECT_NE(shown.find("Version 3.3 mars 2012|"), std::string::npos);
  EXPECT_NE(shown.find("Auteur|"), std::string::npos);
  // The icon given as bare content is wrapped in an <svg> of its size at its corner.
  pugi::xml_node icon = svg.find_node([](pugi::xml_node n) {
    return std::string(n.name()) == "svg" && std::string(n.attribute("class").value()) == "icon";
  });
  ASSERT_TRUE(icon);
  EXPECT_STREQ(icon.attribute("x").value(), "-5");
  EXPECT_STREQ(icon.attribute("y").value(), "30");
  EXPECT_TRUE(icon.child("circle"));
}

TEST_F(AdmRenderTest, SavedPictureIsTheRenderedOne) {
  user().cancel();
  runModal([&](ADMDialogRef d) { return build(d); });
  auto file = std::filesystem::temp_directory_path() / ("adm_render_" + std::to_string(::getpid()) + ".svg");
  hostsim::adm::saveSvg(last(), file);
  std::ifstream in(file);
  std::stringstream read;
  read << in.rdbuf();
  EXPECT_EQ(read.str(), hostsim::adm::renderSvg(last()));
  std::filesystem::remove(file);
  EXPECT_THROW(hostsim::adm::saveSvg(last(), "/nonexistent-folder/picture.svg"), std::runtime_error);
}

}  // namespace
}  // namespace adm_test
