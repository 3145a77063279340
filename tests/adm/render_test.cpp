// Draw procedures draw on a drawer that records every operation, per call and item. The
// picture of a dialog is well-formed SVG that shows what the user saw: the title, every
// item's label and state, and the draw procedures' drawing in place.
#include <string>

#include <pugixml.hpp>

#include "harness.h"
#include "hostsim/adm/render.h"

namespace adm_test {
namespace {

using AdmRenderTest = DialogTest;
using hostsim::adm::describe;

TEST_F(AdmRenderTest, EveryDrawingIsRecordedAndThePictureShowsWhatTheUserSaw) {
  onDialogDraw = [&](ADMDialogRef d, ADMDrawerRef dr) {
    sDialog->DefaultDraw(d, dr);
    ADMPoint corner{30, -5};
    sDrawer->DrawIcon(dr, sIcon->GetFromResource(sDialog->GetPluginRef(d), 1100, 0), &corner);
    sDrawer->SetADMColor(dr, kADMBlackColor);
    ADMRect band{6, 0, 26, 450};
    sDrawer->DrawTextCentered(dr, "Version 3.3 mars 2012", &band);
  };
  user().cancel();
  runModal([&](ADMDialogRef d) {
    build(d);
    sDialog->SetDrawProc(d, dialogDrawProc);
    sDialog->SetText(d, "QZV\xA5" "Estampilleur (R\x8E" "glages)");  // QZV•Estampilleur (Réglages)
    ADMRect bounds{206, 495, 486, 945};
    sDialog->SetBoundsRect(d, &bounds);
    sItem->SetBooleanValue(sDialog->GetItem(d, 13), 0);
    sItem->Enable(sDialog->GetItem(d, 13), 0);
  });
  ASSERT_EQ(last().drawCalls().size(), 3u);
  EXPECT_FALSE(last().drawCalls()[0].itemID.has_value());
  EXPECT_EQ(describe(last().drawing()),
            (Log{"default", "icon 1100/0 at 30,-5", "colour 0", "centred 6 0 26 450 «Version 3.3 mars 2012»"}));
  EXPECT_EQ(describe(last().item(18)->drawing()),
            (Log{"clear", "colour 0", "frame 0 0 143 123", "colour 1", "fill 1 1 142 122", "colour 16",
                 "line 143,0 179,0", "font 13", "text 153,24 «Nom»", "centred 142 0 154 123 «Année»",
                 "icon 1000/0 at 0,0"}));
  EXPECT_EQ(describe(last().drawCalls()[2].ops), describe(last().item(18)->drawing()));

  const std::string text = hostsim::adm::renderSvg(last());
  pugi::xml_document svg;
  ASSERT_TRUE(svg.load_string(text.c_str())) << text;
  // 450 x 280 with the frame and the title bar.
  EXPECT_TRUE(svg.select_node("/svg[@width='452' and @height='303' and title='QZV•Estampilleur (Réglages)']")) << text;
  std::string shown;
  for (pugi::xpath_node t : svg.select_nodes("//text")) shown += std::string(t.node().child_value()) + "|";
  for (const char* label : {"QZV•Estampilleur (Réglages)", "Numéro du plan", "Nom.", "DejaVu Sans", "12 pt",
                            "Mar 10 avr 2012", " - ", "Séparateurs", "Dessous.", "Annuler", "OK",
                            "Version 3.3 mars 2012", "Année"})
    EXPECT_NE(shown.find(std::string(label) + "|"), std::string::npos) << label << " in " << shown;
  EXPECT_EQ(shown.find("Mardi 10 avril 2012"), std::string::npos);  // a popup shows its active entry only

  auto item = [&](int id) { return svg.select_node(("//*[@id='item-" + std::to_string(id) + "']").c_str()).node(); };
  pugi::xml_node number = item(21);
  EXPECT_STREQ(number.attribute("transform").value(), "translate(13,10)");
  EXPECT_STREQ(number.attribute("class").value(), "check-box");
  EXPECT_STREQ(number.child("title").child_value(), "Le numéro du plan de travail sera ajouté au nom du fichier.");
  EXPECT_TRUE(number.child("path")) << "the check mark";
  EXPECT_FALSE(item(13).child("path")) << "an unchecked box has no mark";
  EXPECT_NE(std::string(item(13).attribute("class").value()).find("disabled"), std::string::npos);
  // The preview's own drawing in its item's place; the icons from the resources, the one
  // given as bare content wrapped in an <svg> of its size at its corner.
  pugi::xml_node preview = item(18);
  EXPECT_STREQ(preview.attribute("transform").value(), "translate(318,6)");
  EXPECT_TRUE(preview.select_node("rect[@fill='none' and @width='122' and @stroke='#000000']"));
  EXPECT_TRUE(preview.select_node("text[.='Nom' and @font-size='10']"));
  EXPECT_TRUE(item(9).select_node("svg[@width='16' and rect]"));
  EXPECT_TRUE(svg.select_node("//svg[@class='icon' and @x='-5' and @y='30' and @width='64' and circle]"));

  testsupport::TempDir folder;
  hostsim::adm::saveSvg(last(), folder / "picture.svg");
  EXPECT_EQ(testsupport::readText(folder / "picture.svg"), text);
  EXPECT_THROW(hostsim::adm::saveSvg(last(), folder / "no-such-folder" / "picture.svg"), std::runtime_error);
}

}  // namespace
}  // namespace adm_test
