#include "hostsim/window/dialog_windows.h"

#include <gtkmm.h>
#include <gtkmm/init.h>

#include <cmath>
#include <cstdlib>
#include <deque>
#include <vector>

#include "hostsim/adm/dialog.h"
#include "hostsim/core/host.h"
#include "hostsim/window/painting.h"
#include "hostsim/window/placement.h"

namespace hostsim::window {

using adm::Dialog;
using adm::Item;
using adm::ItemKind;
using adm::UserAction;

namespace {

// The host's compact widgets, so that each fits the rectangle the plug-in gave it.
constexpr const char* kStyle = R"css(
window.host-dialog { background-color: #ececec; }
window.host-dialog * { font-size: 11px; }
window.host-dialog checkbutton { min-height: 0; padding: 0; margin: 0; border: 0; }
window.host-dialog check, window.host-dialog radio {
  min-width: 11px; min-height: 11px; margin: 0 4px 0 0; padding: 0; -gtk-icon-size: 9px; }
window.host-dialog checkbutton label { margin: 0; padding: 0; }
window.host-dialog button { min-height: 0; min-width: 0; padding: 0 6px; margin: 0; }
window.host-dialog entry { min-height: 0; min-width: 0; padding: 0 4px; margin: 0; }
window.host-dialog spinbutton { min-height: 0; min-width: 0; padding: 0; margin: 0; }
window.host-dialog spinbutton > text { min-width: 0; margin: 0; padding: 0 0 0 3px; }
window.host-dialog spinbutton > button { min-width: 0; min-height: 0; padding: 0 1px; margin: 0; border-width: 0 0 0 1px; }
window.host-dialog spinbutton > button > image { -gtk-icon-size: 8px; }
window.host-dialog combobox, window.host-dialog combobox * { min-height: 0; min-width: 0; padding-top: 0;
  padding-bottom: 0; margin: 0; }
window.host-dialog combobox button { padding: 0 3px; }
window.host-dialog dropdown > button { padding: 0 6px; }
)css";

bool gDesktopOpen = false;

std::string formatPoints(double value, int32_t units) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.2f", value);
  std::string text = buffer;
  while (!text.empty() && text.back() == '0') text.pop_back();
  if (!text.empty() && text.back() == '.') text.pop_back();
  return units == kADMPointUnits ? text + " pt" : text;
}

// What a person types into a spin edit: "12", "12.5", "12,5", "12 pt".
std::optional<double> parsePoints(std::string text) {
  for (char& c : text)
    if (c == ',') c = '.';
  if (auto pt = text.find("pt"); pt != std::string::npos) text.erase(pt);
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  while (end != nullptr && *end == ' ') ++end;
  if (end == text.c_str() || end == nullptr || *end != '\0' || !std::isfinite(value)) return std::nullopt;
  return value;
}

// A busy X server turns connections away for a moment when its queue of them is full (the
// connection fails with EAGAIN): the toolkit gives up at once, so try again for a second.
bool openDisplayAgain() {
  for (int attempt = 0; attempt < 20; ++attempt) {
    g_usleep(50 * 1000);
    if (GdkDisplay* display = gdk_display_open(nullptr)) {
      gdk_display_manager_set_default_display(gdk_display_manager_get(), display);
      return true;
    }
  }
  return false;
}

}  // namespace

bool openDesktop(std::string& why) {
  if (gDesktopOpen) return true;
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if ((x11 == nullptr || *x11 == '\0') && (wayland == nullptr || *wayland == '\0')) {
    why = "no desktop to show the window on: neither DISPLAY nor WAYLAND_DISPLAY is set";
    return false;
  }
  if (!gtk_init_check() && !openDisplayAgain()) {
    why = std::string("no desktop to show the window on: the display «") + (x11 != nullptr ? x11 : wayland) +
          "» cannot be opened";
    return false;
  }
  Gtk::init_gtkmm_internals();
  auto css = Gtk::CssProvider::create();
  css->load_from_data(kStyle);
  Gtk::StyleContext::add_provider_for_display(Gdk::Display::get_default(), css,
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  gDesktopOpen = true;
  return true;
}

// One dialog in its window.
class DialogWindows::Shown {
 public:
  Shown(Dialog& dialog, std::function<void(const Item&)>& painted);
  ~Shown() { window_.hide(); }

  Gtk::Window& window() { return window_; }
  // The widget of item `id`, or null.
  Gtk::Widget* widget(int32_t id) const;

  bool gone() const { return gone_; }
  bool hasPending() const { return !pending_.empty(); }
  UserAction take() {
    UserAction action = std::move(pending_.front());
    pending_.pop_front();
    return action;
  }
  // Every widget set again from its item.
  void sync();
  // The dialog's bounds, from where the window really stands.
  void updateBounds();

 private:
  struct Control {
    Item* item;
    Gtk::Widget* widget;
    Gtk::DrawingArea* picture = nullptr;  // items the plug-in draws
    bool typing = false;                  // a text typed and not yet counted
  };

  void build();
  Gtk::Widget* make(Control& control);
  void act(UserAction action);
  void click(int32_t id) { act(clickOn(id)); }
  static UserAction clickOn(int32_t id) {
    UserAction action;
    action.itemID = id;
    return action;
  }
  // Counts what is being typed into the field that has the keyboard.
  void commitTyping();
  void commit(Control& control);
  // Tab: the next item that takes the keyboard, in the order of the items.
  void moveFocus(bool backwards);
  // Escape, the close button: the cancel item, else the host's own ending.
  void cancel();
  void syncControl(Control& control);
  void label(Control& control);

  // What the widgets' handlers reach comes first, so it outlives the widgets, which still
  // report the focus leaving them as they go.
  Dialog& dialog_;
  std::function<void(const Item&)>& painted_;
  std::vector<Control> controls_;
  std::deque<UserAction> pending_;
  bool syncing_ = false;
  bool gone_ = false;
  Gtk::CheckButton* radioGroup_ = nullptr;
  Gtk::Window window_;
  Gtk::Overlay overlay_;
  Gtk::DrawingArea background_;
  Gtk::DrawingArea foreground_;
  Gtk::Fixed fixed_;
};

DialogWindows::Shown::Shown(Dialog& dialog, std::function<void(const Item&)>& painted)
    : dialog_(dialog), painted_(painted) {
  window_.add_css_class("host-dialog");
  window_.set_title(dialog.titleLabel());
  window_.set_resizable(false);
  fixed_.set_size_request(dialog.width(), dialog.height());
  // The dialog's own drawing: what comes before its items behind them, the rest above.
  background_.set_size_request(dialog.width(), dialog.height());
  background_.set_draw_func([this](const Cairo::RefPtr<Cairo::Context>& cairo, int, int) {
    paint(cairo->cobj(), dialog_.drawing(), 0, true);
  });
  foreground_.set_can_target(false);
  foreground_.set_draw_func([this](const Cairo::RefPtr<Cairo::Context>& cairo, int, int) {
    const auto& ops = dialog_.drawing();
    size_t after = 0;
    while (after < ops.size() && ops[after].kind != adm::DrawOp::Kind::DefaultContent) ++after;
    if (after < ops.size()) paint(cairo->cobj(), ops, after + 1);
  });
  fixed_.put(background_, 0, 0);
  overlay_.set_child(fixed_);
  overlay_.add_overlay(foreground_);
  window_.set_child(overlay_);
  build();

  auto keys = Gtk::EventControllerKey::create();
  keys->set_propagation_phase(Gtk::PropagationPhase::CAPTURE);
  keys->signal_key_pressed().connect(
      [this](guint key, guint, Gdk::ModifierType state) {
        if (key == GDK_KEY_Return || key == GDK_KEY_KP_Enter || key == GDK_KEY_ISO_Enter) {
          commitTyping();
          if (Item* ok = dialog_.item(kADMDefaultItemID); ok != nullptr && ok->enabled()) click(kADMDefaultItemID);
          return true;
        }
        if (key == GDK_KEY_Escape) {
          cancel();
          return true;
        }
        if (key == GDK_KEY_Tab || key == GDK_KEY_ISO_Left_Tab || key == GDK_KEY_KP_Tab) {
          moveFocus((state & Gdk::ModifierType::SHIFT_MASK) == Gdk::ModifierType::SHIFT_MASK ||
                    key == GDK_KEY_ISO_Left_Tab);
          return true;
        }
        return false;
      },
      false);
  window_.add_controller(keys);
  window_.signal_close_request().connect(
      [this] {
        cancel();
        return true;  // the dialog closes when the plug-in ends it
      },
      false);
  window_.signal_destroy().connect([this] { gone_ = true; });

  sync();
  window_.present();
  // The plug-in said where its dialog goes; the windowing system may place it elsewhere.
  moveWindow(window_.gobj(), {dialog.bounds().left, dialog.bounds().top});
  keepAbove(window_.gobj());  // a modal dialog stays over the application that opened it
  // The first enabled item that takes the keyboard has it.
  for (Control& control : controls_)
    if (control.item->enabled() && control.widget->grab_focus()) break;
}

void DialogWindows::Shown::build() {
  controls_.reserve(dialog_.items().size());  // the widgets' handlers hold their control
  for (const auto& owned : dialog_.items()) {
    Control& control = controls_.emplace_back(Control{owned.get(), nullptr});
    control.widget = make(control);
    const ADMRect& r = control.item->bounds();
    control.widget->set_size_request(r.right - r.left, r.bottom - r.top);
    fixed_.put(*control.widget, r.left, r.top);
    label(control);
  }
}

Gtk::Widget* DialogWindows::Shown::make(Control& control) {
  Item& item = *control.item;
  const int32_t id = item.id();
  if (item.drawProc() != nullptr) {
    // Picture buttons and user items: what their draw procedure drew, clickable.
    auto* area = Gtk::make_managed<Gtk::DrawingArea>();
    area->add_css_class("picture");
    area->set_draw_func([this, &item](const Cairo::RefPtr<Cairo::Context>& cairo, int, int) {
      paint(cairo->cobj(), item.drawing());
      if (painted_) painted_(item);
    });
    auto press = Gtk::GestureClick::create();
    press->signal_released().connect([this, id](int, double, double) { click(id); });
    area->add_controller(press);
    control.picture = area;
    return area;
  }
  switch (item.kind()) {
    case ItemKind::CheckBox: {
      auto* box = Gtk::make_managed<Gtk::CheckButton>(item.label());
      box->signal_toggled().connect([this, id] {
        if (!syncing_) click(id);
      });
      return box;
    }
    case ItemKind::RadioButton: {
      auto* radio = Gtk::make_managed<Gtk::CheckButton>(item.label());
      // One group per dialog, as the host's.
      if (radioGroup_ != nullptr)
        radio->set_group(*radioGroup_);
      else
        radioGroup_ = radio;
      radio->signal_toggled().connect([this, id, radio] {
        if (!syncing_ && radio->get_active()) click(id);
      });
      return radio;
    }
    case ItemKind::PushButton: {
      auto* button = Gtk::make_managed<Gtk::Button>(item.label());
      button->signal_clicked().connect([this, id] { click(id); });
      return button;
    }
    case ItemKind::PictureButton: {
      auto* button = Gtk::make_managed<Gtk::Button>();
      button->signal_clicked().connect([this, id] { click(id); });
      return button;
    }
    case ItemKind::TextStatic: {
      auto* text = Gtk::make_managed<Gtk::Label>(item.label());
      text->set_xalign(item.justify() == kADMCenterJustify ? 0.5f : 0.0f);
      return text;
    }
    case ItemKind::TextEdit: {
      auto* entry = Gtk::make_managed<Gtk::Entry>();
      if (item.maxTextLength()) entry->set_max_length(*item.maxTextLength());
      entry->signal_changed().connect([this, &control] {
        if (!syncing_) control.typing = true;
      });
      entry->signal_activate().connect([this, &control] { commit(control); });
      auto focus = Gtk::EventControllerFocus::create();
      focus->signal_leave().connect([this, &control] { commit(control); });
      entry->add_controller(focus);
      return entry;
    }
    case ItemKind::ScrollingPopup: {
      // A font list a person picks from or types a name into.
      auto* combo = Gtk::make_managed<Gtk::ComboBoxText>(true);
      combo->signal_changed().connect([this, &control, combo] {
        if (syncing_) return;
        const int row = combo->get_active_row_number();
        if (row >= 0) {
          control.typing = false;
          UserAction pick;
          pick.kind = UserAction::Kind::Choose;
          pick.itemID = control.item->id();
          pick.position = row;
          act(pick);
        } else {
          control.typing = true;
        }
      });
      combo->get_entry()->signal_activate().connect([this, &control] { commit(control); });
      auto focus = Gtk::EventControllerFocus::create();
      focus->signal_leave().connect([this, &control] { commit(control); });
      combo->add_controller(focus);
      return combo;
    }
    case ItemKind::SpinEdit: {
      auto adjustment = Gtk::Adjustment::create(item.floatValue(), item.minimum().value_or(-1e6), 1e6,
                                                item.smallIncrement(), item.largeIncrement(), 0);
      auto* spin = Gtk::make_managed<Gtk::SpinButton>(adjustment, 1, 2);
      spin->set_numeric(false);
      spin->set_width_chars(1);  // the item's rectangle decides its width
      const int32_t units = item.units();
      spin->signal_output().connect(
          [spin, units] {
            spin->set_text(formatPoints(spin->get_value(), units));
            return true;
          },
          false);
      spin->signal_input().connect(
          [spin](double& value) {
            std::optional<double> typed = parsePoints(spin->get_text());
            if (!typed) return GTK_INPUT_ERROR;
            value = *typed;
            return 1;
          },
          false);
      spin->signal_value_changed().connect([this, id, spin] {
        if (syncing_) return;
        UserAction set;
        set.kind = UserAction::Kind::SetValue;
        set.itemID = id;
        set.value = spin->get_value();
        act(set);
      });
      return spin;
    }
    case ItemKind::PopupList: {
      std::vector<Glib::ustring> texts;
      if (adm::List* list = item.list())
        for (const auto& entry : list->entries()) texts.push_back(entry->label());
      auto* popup = Gtk::make_managed<Gtk::DropDown>(texts);
      popup->property_selected().signal_changed().connect([this, id, popup] {
        if (syncing_ || popup->get_selected() == GTK_INVALID_LIST_POSITION) return;
        UserAction pick;
        pick.kind = UserAction::Kind::Choose;
        pick.itemID = id;
        pick.position = static_cast<int32_t>(popup->get_selected());
        act(pick);
      });
      return popup;
    }
  }
  return Gtk::make_managed<Gtk::Label>();
}

void DialogWindows::Shown::act(UserAction action) {
  // Whatever the person does next, what they typed elsewhere counts first, as when the
  // field loses the keyboard to the click.
  for (Control& control : controls_)
    if (control.typing && control.item->id() != action.itemID) commit(control);
  pending_.push_back(std::move(action));
}

void DialogWindows::Shown::commit(Control& control) {
  // Also while the widgets are set again: a field set insensitive loses the keyboard.
  if (!control.typing) return;
  control.typing = false;
  UserAction typed;
  typed.kind = UserAction::Kind::Type;
  typed.itemID = control.item->id();
  if (auto* entry = dynamic_cast<Gtk::Entry*>(control.widget))
    typed.text = entry->get_text();
  else if (auto* combo = dynamic_cast<Gtk::ComboBoxText*>(control.widget))
    typed.text = combo->get_entry_text();
  act(typed);
}

void DialogWindows::Shown::commitTyping() {
  for (Control& control : controls_) {
    if (auto* spin = dynamic_cast<Gtk::SpinButton*>(control.widget); spin != nullptr && spin->has_focus())
      spin->update();
    commit(control);
  }
}

void DialogWindows::Shown::moveFocus(bool backwards) {
  // In the order the plug-in made its items, not in the order they stand on the screen.
  const int count = static_cast<int>(controls_.size());
  if (count == 0) return;
  Gtk::Widget* focus = window_.get_focus();
  int current = -1;
  for (int i = 0; i < count && focus != nullptr; ++i)
    if (focus == controls_[i].widget || focus->is_ancestor(*controls_[i].widget)) current = i;
  for (int step = 1; step <= count; ++step) {
    const int next = ((current < 0 ? (backwards ? 0 : -1) : current) + (backwards ? -step : step) + 2 * count) % count;
    Gtk::Widget& widget = *controls_[next].widget;
    if (widget.get_sensitive() && widget.grab_focus()) return;
  }
}

void DialogWindows::Shown::cancel() {
  Item* cancelItem = dialog_.item(kADMCancelItemID);
  if (cancelItem != nullptr && cancelItem->enabled())
    click(kADMCancelItemID);
  else
    gone_ = true;  // the host ends it as Escape does
}

void DialogWindows::Shown::sync() {
  syncing_ = true;
  window_.set_title(dialog_.titleLabel());
  for (Control& control : controls_) syncControl(control);
  background_.queue_draw();
  foreground_.queue_draw();
  syncing_ = false;
}

void DialogWindows::Shown::syncControl(Control& control) {
  Item& item = *control.item;
  Gtk::Widget& widget = *control.widget;
  widget.set_sensitive(item.enabled());
  if (item.tipLabel().empty())
    widget.set_has_tooltip(false);
  else
    widget.set_tooltip_text(item.tipLabel());
  label(control);
  if (control.picture != nullptr) {
    control.picture->queue_draw();
    return;
  }
  switch (item.kind()) {
    case ItemKind::CheckBox:
    case ItemKind::RadioButton: {
      auto& box = static_cast<Gtk::CheckButton&>(widget);
      box.set_label(item.label());
      box.set_active(item.value());
      break;
    }
    case ItemKind::PushButton:
      static_cast<Gtk::Button&>(widget).set_label(item.label());
      break;
    case ItemKind::TextStatic:
      static_cast<Gtk::Label&>(widget).set_text(item.label());
      break;
    case ItemKind::TextEdit:
      if (!control.typing) static_cast<Gtk::Entry&>(widget).set_text(item.label());
      break;
    case ItemKind::ScrollingPopup: {
      auto& combo = static_cast<Gtk::ComboBoxText&>(widget);
      adm::List* list = item.list();
      if (list == nullptr) break;
      // The plug-in fills its lists while the dialog is built; shown once, they are kept.
      if (combo.get_model() == nullptr || combo.get_model()->children().size() != static_cast<size_t>(list->size())) {
        combo.remove_all();
        for (const auto& entry : list->entries()) combo.append(entry->label());
      }
      if (control.typing) break;
      if (adm::Entry* active = list->active())
        combo.set_active(active->index());
      else
        combo.get_entry()->set_text(item.label());
      break;
    }
    case ItemKind::SpinEdit:
      static_cast<Gtk::SpinButton&>(widget).set_value(item.floatValue());
      break;
    case ItemKind::PopupList: {
      auto& popup = static_cast<Gtk::DropDown&>(widget);
      adm::Entry* active = item.list() != nullptr ? item.list()->active() : nullptr;
      popup.set_selected(active != nullptr ? static_cast<guint>(active->index()) : GTK_INVALID_LIST_POSITION);
      break;
    }
    case ItemKind::PictureButton:
      break;
  }
}

void DialogWindows::Shown::label(Control& control) {
  // What a screen reader says of the item: its label, else its tooltip.
  std::string name = control.item->label();
  if (name.empty()) name = control.item->tipLabel();
  if (name.empty()) return;
  gtk_accessible_update_property(GTK_ACCESSIBLE(control.widget->gobj()), GTK_ACCESSIBLE_PROPERTY_LABEL, name.c_str(),
                                 -1);
}

void DialogWindows::Shown::updateBounds() {
  std::optional<ScreenPoint> place = screenPlace(GTK_WIDGET(fixed_.gobj()));
  if (!place) return;
  const int width = dialog_.width(), height = dialog_.height();
  dialog_.setBounds({static_cast<int16_t>(place->y), static_cast<int16_t>(place->x),
                     static_cast<int16_t>(place->y + height), static_cast<int16_t>(place->x + width)});
}

Gtk::Widget* DialogWindows::Shown::widget(int32_t id) const {
  for (const Control& control : controls_)
    if (control.item->id() == id) return control.widget;
  return nullptr;
}

// --- The front end ---------------------------------------------------------------------------

DialogWindows::DialogWindows(Host& host) {
  if (std::optional<GdkRectangle> area = mainScreen())
    host.screen = {static_cast<int16_t>(area->y), static_cast<int16_t>(area->x),
                   static_cast<int16_t>(area->y + area->height), static_cast<int16_t>(area->x + area->width)};
}

DialogWindows::~DialogWindows() = default;

DialogWindows::Shown& DialogWindows::show(Dialog& dialog) {
  auto& slot = shown_[&dialog];
  if (!slot) slot = std::make_unique<Shown>(dialog, whenPainted_);
  return *slot;
}

DialogWindows::Shown* DialogWindows::shown(const Dialog& dialog) const {
  auto it = shown_.find(&dialog);
  return it == shown_.end() ? nullptr : it->second.get();
}

Gtk::Window* DialogWindows::window(const Dialog& dialog) const {
  Shown* window = shown(dialog);
  return window != nullptr ? &window->window() : nullptr;
}

Gtk::Widget* DialogWindows::widget(const Dialog& dialog, int32_t id) const {
  Shown* window = shown(dialog);
  return window != nullptr ? window->widget(id) : nullptr;
}

std::optional<UserAction> DialogWindows::next(Dialog& dialog) {
  Shown& window = show(dialog);
  GMainContext* context = g_main_context_default();
  while (!window.hasPending() && !window.gone()) {
    // Whatever is ready first, then wait for the person.
    while (g_main_context_iteration(context, false)) {
    }
    if (window.hasPending() || window.gone()) break;
    if (whileWaiting_) whileWaiting_(dialog);
    if (window.hasPending() || window.gone()) break;
    g_main_context_iteration(context, !whileWaiting_);  // a hook is asked again soon
  }
  if (!window.hasPending()) return std::nullopt;
  window.updateBounds();
  return window.take();
}

void DialogWindows::changed(Dialog& dialog) {
  if (Shown* window = shown(dialog)) window->sync();
}

void DialogWindows::refused(Dialog& dialog, const std::string& why) {
  (void)why;
  if (Shown* window = shown(dialog)) {
    window->window().get_display()->beep();
    window->sync();
  }
}

void DialogWindows::closing(Dialog& dialog) {
  shown_.erase(&dialog);
  // Let the windowing system take the window away before anything else runs.
  while (g_main_context_iteration(g_main_context_default(), false)) {
  }
}

}  // namespace hostsim::window
