// The settings dialog in its window, worked through the real widgets as a person works them,
// with the real module behind: what the plug-in did is read back from the host.
#include <gtest/gtest.h>
#include <gtkmm.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "hostsim/adm/dialogs.h"
#include "hostsim/adm/menus.h"
#include "hostsim/model/preferences.h"
#include "hostsim/window/dialog_windows.h"
#include "hostsim/window/placement.h"
#include "support/support.h"

namespace {

using hostsim::adm::Dialog;
using Step = std::function<void(Dialog&)>;
constexpr const char* kPrefixe = "QZVEstampillage";

// The stand-in host of the tests with the module loaded and the dialogs in windows.
class WindowTest : public testsupport::HostTest {
 protected:
  void SetUp() override {
    setenv("GTK_A11Y", "test", 1);  // names for screen readers, read through GTK's test context
    std::string why;
    if (!hostsim::window::openDesktop(why)) GTEST_SKIP() << why;
    host_.loadPlugin(ESTAMPILLEUR_MODULE);
    windows = std::make_unique<hostsim::window::DialogWindows>(host_);
    hostsim::dialogs(host_).setFrontEnd(windows.get());
    ASSERT_EQ(host_.startup(), kNoErr);
    windows->whileWaiting([this](Dialog& dialog) {
      while (g_main_context_iteration(nullptr, false)) {
      }  // the window settles (mapped, laid out) before the person acts
      if (next < steps.size()) {
        steps[next++](dialog);
        lastStep = g_get_monotonic_time();
      } else if (g_get_monotonic_time() - lastStep < 5 * G_USEC_PER_SEC) {
        g_usleep(10000);  // a button pressed by the keyboard shows itself pressed first
      } else {
        ADD_FAILURE() << "the dialog is still open after the last step";
        widget<Gtk::Window>(dialog, 0).close();
      }
    });
  }
  void TearDown() override {
    if (windows) host_.shutdown();
    HostTest::TearDown();
  }

  // The settings dialog, worked by `script` one step at a time while it waits for the person.
  Dialog& open(std::vector<Step> script) {
    steps = std::move(script);
    next = 0;
    hostsim::MenuItem* settings = hostsim::menus(host_).findItem("QZV\xA5Outils", "QZV\xA5" "Estampilleur\xC9");
    EXPECT_EQ(host_.chooseMenuItem(settings->handle()), kNoErr);
    EXPECT_EQ(next, steps.size()) << "step(s) not played";
    return *hostsim::dialogs(host_).last();
  }
  // The widget of item `id` (0: the window itself).
  template <typename Widget>
  Widget& widget(Dialog& dialog, int32_t id) {
    if (auto* w = dynamic_cast<Widget*>(id == 0 ? windows->window(dialog) : windows->widget(dialog, id))) return *w;
    throw std::logic_error("item " + std::to_string(id) + " is not the widget expected");
  }

  std::unique_ptr<hostsim::window::DialogWindows> windows;
  std::vector<Step> steps;
  size_t next = 0;
  gint64 lastStep = 0;
};

// The window's close button is Annuler: nothing is stored, nothing stamped.
TEST_F(WindowTest, EveryWidgetStandsAtItsRectangleNamedAndTheCloseButtonIsAnnuler) {
  Dialog& shown = open({[&](Dialog& dialog) {
    auto& window = widget<Gtk::Window>(dialog, 0);
    EXPECT_EQ(window.get_title(), "QZV•Estampilleur (Réglages)");
    EXPECT_TRUE(widget<Gtk::CheckButton>(dialog, 21).has_focus());
    Gtk::Widget* content = window.get_child();
    EXPECT_EQ(std::pair(content->get_width(), content->get_height()), std::pair(450, 280));
    for (const auto& item : dialog.items()) {
      graphene_rect_t box;  // the widget's border box, where a person sees it
      ASSERT_TRUE(gtk_widget_compute_bounds(widget<Gtk::Widget>(dialog, item->id()).gobj(), content->gobj(), &box));
      const ADMRect& r = item->bounds();
      EXPECT_EQ(std::vector<float>({box.origin.x, box.origin.y, box.size.width, box.size.height}),
                std::vector<float>({float(r.left), float(r.top), float(r.right - r.left), float(r.bottom - r.top)}))
          << item->describe();
    }
    // The window stands where the plug-in put its dialog, and the host says so.
    auto place = hostsim::window::screenPlace(content->gobj()).value_or(hostsim::window::ScreenPoint{-1, -1});
    EXPECT_EQ(std::pair(place.x, place.y), (std::pair<int, int>(dialog.bounds().left, dialog.bounds().top)));
    // Named for screen readers by its label, or else by its tooltip.
    for (auto [id, name] : {std::pair{13, "Nom."}, {6, "Corps du texte pour le nom du fichier."}})
      EXPECT_EQ(gtk_test_accessible_check_property(GTK_ACCESSIBLE(widget<Gtk::Widget>(dialog, id).gobj()),
                                                    GTK_ACCESSIBLE_PROPERTY_LABEL, name),
                nullptr);
    widget<Gtk::CheckButton>(dialog, 14).set_active(false);
  },
  [&](Dialog& dialog) { widget<Gtk::Window>(dialog, 0).close(); }});
  EXPECT_EQ(shown.endingItem(), 2);
  EXPECT_FALSE(host_.preferences().contains(kPrefixe, "AvecTaille"));
  EXPECT_EQ(host_.document()->toString().find("QZVNOM"), std::string::npos);
}

// Every kind of widget worked as a person works it; each step checks what the plug-in made
// of the one before.
TEST_F(WindowTest, EachKindOfWidgetWorkedByAPersonReachesThePlugIn) {
  long draws = 0, previewPaints = 0;
  windows->whenPainted([&](const hostsim::adm::Item& item) { previewPaints += item.id() == 18; });
  auto previewDraws = [](const Dialog& d) {
    return std::count_if(d.drawCalls().begin(), d.drawCalls().end(), [](auto& call) { return call.itemID == 18; });
  };
  open({
      [&](Dialog& d) {
        auto& spin = widget<Gtk::SpinButton>(d, 6);  // typed, taken as the scripted user's value
        spin.set_text("14,5 pt");
        spin.update();
        widget<Gtk::SpinButton>(d, 8).set_value(9);
        widget<Gtk::ComboBoxText>(d, 4).get_entry()->grab_focus();
        widget<Gtk::ComboBoxText>(d, 4).get_entry()->set_text("DejaVuSansMono");  // a name typed in full
        widget<Gtk::ComboBoxText>(d, 5).set_active(3);
        widget<Gtk::DropDown>(d, 12).set_selected(2);       // «10/04/2012»
        widget<Gtk::CheckButton>(d, 23).set_active(true);   // the radio button «Bas.»
        widget<Gtk::CheckButton>(d, 16).set_active(false);  // on one line: the separator is used
      },
      [&](Dialog& d) {
        EXPECT_FLOAT_EQ(d.item(6)->floatValue(), 14.5f);
        EXPECT_EQ(d.item(4)->list()->active()->label(), "DejaVuSansMono");
        EXPECT_TRUE(d.item(23)->value());
        EXPECT_FALSE(widget<Gtk::CheckButton>(d, 24).get_active());
        auto& entry = widget<Gtk::Entry>(d, 19);  // 20 characters at most, all in Mac Roman
        EXPECT_TRUE(entry.get_sensitive());
        entry.set_text(std::string(30, '-'));
        EXPECT_EQ(entry.get_text().size(), 20u);
        entry.set_text("\xF0\x9F\x99\x82");
        draws = previewDraws(d);
        widget<Gtk::CheckButton>(d, 13).set_active(false);  // moving on: «Nom.» off
      },
      [&](Dialog& d) {
        EXPECT_EQ(std::string(widget<Gtk::Entry>(d, 19).get_text()), " - ");  // the setting shown again
        // The plug-in disabled what belongs to the name, and redrew its preview.
        EXPECT_FALSE(widget<Gtk::Widget>(d, 3).get_sensitive());
        EXPECT_FALSE(widget<Gtk::Widget>(d, 6).get_sensitive());
        EXPECT_EQ(widget<Gtk::Widget>(d, 13).get_tooltip_text(), "Le nom du fichier ne sera pas affiché.");
        EXPECT_GT(previewDraws(d), draws);
        widget<Gtk::Entry>(d, 19).grab_focus();
        widget<Gtk::Entry>(d, 19).set_text(" | ");
        widget<Gtk::Button>(d, 1).activate();
      },
  });
  EXPECT_GE(previewPaints, 2) << "the window painted the preview once, and not again when it changed";
  const std::string stored = host_.preferences().toString();
  for (const char* line : {"CorpsNom = 14.5", "CorpsDate = 9.0", "PoliceDate = \"DejaVuSerif\"", "FormatDate = 2",
                           "EnBas = true", "EnDessous = false", "AvecNom = false", "Separateur = \" | \""})
    EXPECT_NE(stored.find(std::string(line) + "\n"), std::string::npos) << line << " in\n" << stored;
}

}  // namespace
