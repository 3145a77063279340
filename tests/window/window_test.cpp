// The settings dialog in its window, worked through the real widgets as a person works
// them, with the real module behind: what the plug-in did (its settings, the enabled
// states, the preview) is read back from the host.
#include <gtest/gtest.h>
#include <gtkmm.h>

#include <cstdlib>
#include <deque>
#include <functional>
#include <string>

#include "hostsim/adm/dialogs.h"
#include "hostsim/adm/menus.h"
#include "hostsim/core/host.h"
#include "hostsim/model/document.h"
#include "hostsim/model/fonts.h"
#include "hostsim/model/preferences.h"
#include "hostsim/standard_host.h"
#include "hostsim/window/dialog_windows.h"
#include "hostsim/window/placement.h"

namespace {

using hostsim::adm::Dialog;
using hostsim::window::DialogWindows;

const std::string kOutils = "QZV\xA5Outils";                 // QZV•Outils
const std::string kCommande = "QZV\xA5" "Estampilleur\xC9";  // QZV•Estampilleur…
constexpr const char* kPrefixe = "QZVEstampillage";

class WindowTest : public testing::Test {
 protected:
  void SetUp() override {
    // Screen readers' names are read through GTK's test context, chosen before GTK starts.
    setenv("GTK_A11Y", "test", 1);
    std::string why;
    if (!hostsim::window::openDesktop(why)) GTEST_SKIP() << why;
    host.setFonts(std::make_unique<hostsim::FontCatalog>(hostsim::FontCatalog::fromDirectory(ESTAMPILLEUR_TEST_FONTS)));
    host.loadPlugin(ESTAMPILLEUR_MODULE);
    host.setDocument(std::make_unique<hostsim::Document>(hostsim::Document::create({{595.3, 841.9}, {595.3, 841.9}})));
    windows = std::make_unique<DialogWindows>(host);
    hostsim::dialogs(host).setFrontEnd(windows.get());
    ASSERT_EQ(host.startup(), kNoErr);
    windows->whileWaiting([this](Dialog& dialog) {
      // Let the window settle (mapped, laid out) before the person acts.
      while (g_main_context_iteration(nullptr, false)) {
      }
      if (steps.empty()) {
        // A button pressed by the keyboard shows itself pressed for a moment first.
        if (g_get_monotonic_time() - lastStep < 5 * G_USEC_PER_SEC) {
          g_usleep(10000);
          return;
        }
        ADD_FAILURE() << "the dialog is still open after the last step";
        widget<Gtk::Window>(dialog, 0).close();
        return;
      }
      auto step = std::move(steps.front());
      steps.pop_front();
      step(dialog);
      lastStep = g_get_monotonic_time();
    });
  }

  void TearDown() override {
    if (!windows) return;
    host.shutdown();
    EXPECT_TRUE(host.allGivenBack()) << host.outstanding();
  }

  // The settings dialog, worked by `steps` one at a time while it waits for the person.
  Dialog& open(std::deque<std::function<void(Dialog&)>> script) {
    steps = std::move(script);
    hostsim::MenuItem* item = hostsim::menus(host).findItem(kOutils, kCommande);
    EXPECT_NE(item, nullptr);
    EXPECT_EQ(host.chooseMenuItem(item->handle()), kNoErr);
    EXPECT_TRUE(steps.empty()) << steps.size() << " step(s) not played";
    return *hostsim::dialogs(host).last();
  }

  // The widget of item `id` (0: the window itself).
  template <typename Widget>
  Widget& widget(Dialog& dialog, int32_t id) {
    if (windows->window(dialog) == nullptr) throw std::logic_error("the dialog has no window");
    if (id == 0) return dynamic_cast<Widget&>(*windows->window(dialog));
    auto* w = dynamic_cast<Widget*>(windows->widget(dialog, id));
    if (w == nullptr) throw std::logic_error("item " + std::to_string(id) + " is not the widget expected");
    return *w;
  }

  size_t previewDraws(const Dialog& dialog) {
    size_t n = 0;
    for (const auto& call : dialog.drawCalls()) n += call.itemID == 18;
    return n;
  }

  bool storedBool(const char* key) {
    bool value = false;
    EXPECT_TRUE(host.preferences().getBool(kPrefixe, key, value)) << key;
    return value;
  }

  hostsim::StandardHost host;
  std::unique_ptr<DialogWindows> windows;
  std::deque<std::function<void(Dialog&)>> steps;
  gint64 lastStep = 0;
};

TEST_F(WindowTest, EveryWidgetStandsAtItsRectangleWithTheFirstItemFocused) {
  open({[&](Dialog& dialog) {
    auto& window = widget<Gtk::Window>(dialog, 0);
    EXPECT_EQ(window.get_title(), "QZV\xE2\x80\xA2" "Estampilleur (R\xC3\xA9glages)");
    EXPECT_TRUE(widget<Gtk::CheckButton>(dialog, 21).has_focus());
    Gtk::Widget* content = window.get_child();
    ASSERT_NE(content, nullptr);
    EXPECT_EQ(content->get_width(), 450);
    EXPECT_EQ(content->get_height(), 280);
    for (const auto& item : dialog.items()) {
      // The widget's border box, where a person sees it.
      graphene_rect_t box;
      ASSERT_TRUE(gtk_widget_compute_bounds(widget<Gtk::Widget>(dialog, item->id()).gobj(), content->gobj(), &box));
      const ADMRect& r = item->bounds();
      EXPECT_EQ(box.origin.x, r.left) << item->describe();
      EXPECT_EQ(box.origin.y, r.top) << item->describe();
      EXPECT_EQ(box.size.width, r.right - r.left) << item->describe();
      EXPECT_EQ(box.size.height, r.bottom - r.top) << item->describe();
    }
    // The window stands where the plug-in put its dialog, and the host says so.
    auto place = hostsim::window::screenPlace(content->gobj());
    ASSERT_TRUE(place);
    EXPECT_EQ(place->x, dialog.bounds().left);
    EXPECT_EQ(place->y, dialog.bounds().top);
    widget<Gtk::Window>(dialog, 0).close();
  }});
}

TEST_F(WindowTest, WidgetsWorkedByAPersonChangeTheSettingsAndThePreview) {
  size_t draws = 0;
  int previewPaints = 0;
  windows->whenPainted([&](const hostsim::adm::Item& item) { previewPaints += item.id() == 18; });
  Dialog& dialog = open({
      [&](Dialog& d) {
        draws = previewDraws(d);
        widget<Gtk::CheckButton>(d, 13).set_active(false);  // «Nom.» off
      },
      [&](Dialog& d) {
        // The plug-in disabled what belongs to the name, and redrew its preview.
        EXPECT_FALSE(d.item(3)->enabled());
        EXPECT_FALSE(widget<Gtk::Widget>(d, 3).get_sensitive());
        EXPECT_FALSE(widget<Gtk::Widget>(d, 6).get_sensitive());
        EXPECT_EQ(widget<Gtk::Widget>(d, 13).get_tooltip_text(), "Le nom du fichier ne sera pas affich\xC3\xA9.");
        EXPECT_GT(previewDraws(d), draws);
        widget<Gtk::CheckButton>(d, 23).set_active(true);  // «Bas.»
      },
      [&](Dialog& d) {
        EXPECT_TRUE(d.item(23)->value());
        EXPECT_FALSE(widget<Gtk::CheckButton>(d, 24).get_active());
        widget<Gtk::DropDown>(d, 12).set_selected(2);  // «10/04/2012»
      },
      [&](Dialog& d) { widget<Gtk::SpinButton>(d, 8).set_value(9); },
      [&](Dialog& d) { widget<Gtk::ComboBoxText>(d, 5).set_active(3); },
      [&](Dialog& d) { widget<Gtk::CheckButton>(d, 16).set_active(false); },  // on one line
      [&](Dialog& d) {
        ASSERT_TRUE(widget<Gtk::Entry>(d, 19).get_sensitive());
        auto& separator = widget<Gtk::Entry>(d, 19);
        separator.grab_focus();
        separator.set_text(" | ");
        widget<Gtk::Widget>(d, 21).grab_focus();  // the field is left
      },
      [&](Dialog& d) { widget<Gtk::Button>(d, 1).activate(); },
  });
  EXPECT_EQ(dialog.endingItem(), 1);
  EXPECT_GE(previewPaints, 2) << "the window painted the preview once, and not again when it changed";
  EXPECT_FALSE(storedBool("AvecNom"));
  EXPECT_TRUE(storedBool("EnBas"));
  EXPECT_FALSE(storedBool("EnDessous"));
  int32_t format = -1;
  EXPECT_TRUE(host.preferences().getInt32(kPrefixe, "FormatDate", format));
  EXPECT_EQ(format, 2);
  double points = 0;
  EXPECT_TRUE(host.preferences().getDouble(kPrefixe, "CorpsDate", points));
  EXPECT_EQ(points, 9);
  std::string font, separator;
  EXPECT_TRUE(host.preferences().getString(kPrefixe, "PoliceDate", font));
  EXPECT_EQ(font, "DejaVuSerif");
  EXPECT_TRUE(host.preferences().getString(kPrefixe, "Separateur", separator));
  EXPECT_EQ(separator, " | ");
}

TEST_F(WindowTest, TypedValuesAreTakenAsTheScriptedUsersAre) {
  std::string before;  // the separator, as the plug-in keeps it from one opening to the next
  open({
      [&](Dialog& d) {
        auto& spin = widget<Gtk::SpinButton>(d, 6);
        spin.set_text("14,5 pt");
        spin.update();
      },
      [&](Dialog& d) {
        EXPECT_FLOAT_EQ(d.item(6)->floatValue(), 14.5f);
        // A font name typed in full picks that font.
        auto& fonts = widget<Gtk::ComboBoxText>(d, 4);
        fonts.get_entry()->grab_focus();
        fonts.get_entry()->set_text("DejaVuSansMono");
        widget<Gtk::Widget>(d, 21).grab_focus();
      },
      [&](Dialog& d) {
        EXPECT_EQ(d.item(4)->list()->active()->label(), "DejaVuSansMono");
        widget<Gtk::CheckButton>(d, 16).set_active(false);  // the separator is used
      },
      [&](Dialog& d) {
        // Past 20 characters the field takes no more, as the plug-in asked.
        auto& separator = widget<Gtk::Entry>(d, 19);
        before = separator.get_text();
        separator.set_text(std::string(30, '-'));
        EXPECT_EQ(separator.get_text().size(), 20u);
        // What Mac Roman cannot hold is refused when the person moves on, and the field
        // shows the setting again.
        separator.set_text("\xF0\x9F\x99\x82");
        widget<Gtk::CheckButton>(d, 15).set_active(false);
      },
      [&](Dialog& d) {
        EXPECT_EQ(std::string(widget<Gtk::Entry>(d, 19).get_text()), before);
        EXPECT_FALSE(d.item(15)->value());
        widget<Gtk::Button>(d, 1).activate();
      },
  });
  double points = 0;
  EXPECT_TRUE(host.preferences().getDouble(kPrefixe, "CorpsNom", points));
  EXPECT_EQ(points, 14.5);
  std::string separator;
  EXPECT_TRUE(host.preferences().getString(kPrefixe, "Separateur", separator));
  EXPECT_EQ(separator, before);
}

TEST_F(WindowTest, TheCloseButtonIsAnnuler) {
  Dialog& dialog = open({
      [&](Dialog& d) { widget<Gtk::CheckButton>(d, 14).set_active(false); },
      [&](Dialog& d) { widget<Gtk::Window>(d, 0).close(); },
  });
  EXPECT_EQ(dialog.endingItem(), 2);
  EXPECT_FALSE(host.preferences().contains(kPrefixe, "AvecTaille"));
  EXPECT_EQ(host.document()->toString().find("QZVNOM"), std::string::npos);
}

TEST_F(WindowTest, EachWidgetIsNamedForScreenReaders) {
  open({[&](Dialog& d) {
    EXPECT_EQ(gtk_test_accessible_check_property(GTK_ACCESSIBLE(widget<Gtk::Widget>(d, 13).gobj()),
                                                  GTK_ACCESSIBLE_PROPERTY_LABEL, "Nom."),
              nullptr);
    // No label: its tooltip names it.
    EXPECT_EQ(gtk_test_accessible_check_property(GTK_ACCESSIBLE(widget<Gtk::Widget>(d, 6).gobj()),
                                                  GTK_ACCESSIBLE_PROPERTY_LABEL,
                                                  "Corps du texte pour le nom du fichier."),
              nullptr);
    widget<Gtk::Window>(d, 0).close();
  }});
}

}  // namespace
