// The host's modal dialogs in real desktop windows (GTK 4), for a person to work with the
// mouse and the keyboard.
//
// Each open dialog becomes a window of the size and title the plug-in gave, with one
// native widget per item at the item's rectangle. The dialog model stays the host's: a
// widget never decides anything, it turns what the person did into the action the
// scripted user would play (a click, a value, a choice, a typed text), and after each
// action every widget is set again from its item (value, text, enabled state, tooltip)
// and the items the plug-in draws are painted from what they drew last.
//
// Keys: Return presses the default item (OK, 1), Escape and the window's close button the
// cancel item (Annuler, 2), or end the dialog as the host's Escape does when it has none.
// A text or a spin value being typed counts once the field is left or Return pressed.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "hostsim/adm/front_end.h"

namespace Gtk {
class Widget;
class Window;
}  // namespace Gtk

namespace hostsim {
class Host;
}

namespace hostsim::window {

// Opens the desktop for GTK, once per process. False when no display can be reached;
// `why` then says so in one line.
bool openDesktop(std::string& why);

class DialogWindows final : public adm::FrontEnd {
 public:
  // The host's screen becomes the desktop's main monitor, so the plug-in places its
  // dialogs on it. Needs openDesktop() to have succeeded.
  explicit DialogWindows(Host& host);
  ~DialogWindows() override;
  DialogWindows(const DialogWindows&) = delete;
  DialogWindows& operator=(const DialogWindows&) = delete;

  std::optional<adm::UserAction> next(adm::Dialog& dialog) override;
  void changed(adm::Dialog& dialog) override;
  void refused(adm::Dialog& dialog, const std::string& why) override;
  void closing(adm::Dialog& dialog) override;

  // The window showing `dialog` and the widget of its item `id`, while it is shown (for
  // tests: the widgets a person works). Null otherwise.
  Gtk::Window* window(const adm::Dialog& dialog) const;
  Gtk::Widget* widget(const adm::Dialog& dialog, int32_t id) const;

  // Called while the window waits for the person, once the pending events are handled;
  // tests act on the widgets from here as a person would.
  void whileWaiting(std::function<void(adm::Dialog&)> hook) { whileWaiting_ = std::move(hook); }
  // Called each time the window paints what an item's draw procedure drew (the preview).
  void whenPainted(std::function<void(const adm::Item&)> hook) { whenPainted_ = std::move(hook); }

 private:
  class Shown;
  Shown& show(adm::Dialog& dialog);
  Shown* shown(const adm::Dialog& dialog) const;

  std::map<const adm::Dialog*, std::unique_ptr<Shown>> shown_;
  std::function<void(adm::Dialog&)> whileWaiting_;
  std::function<void(const adm::Item&)> whenPainted_;
};

}  // namespace hostsim::window
