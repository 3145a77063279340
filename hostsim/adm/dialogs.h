// The host's dialog manager: modal dialogs and their items, entries, notifications,
// drawers and icons, and the scripted user who works the dialogs.
//
// A modal dialog runs like this: the dialog is made, the plug-in's init procedure builds
// it, the host draws it, the open hook runs, and then the scripted user's actions are
// played until the plug-in (or the host's default handling of items 1 and 2) ends it.
// When the script runs out and a front end is set (a window), the person at it plays on.
// A script that runs out while the dialog is open with no front end, or an action the
// dialog refuses (a disabled or missing item...), is recorded in errors() and the host then
// ends the dialog as the Escape key does: through its Cancel item (2) if it has an enabled
// one, else directly with result 2. The loop never waits for input that cannot come.
//
// Everything the plug-in can hold is a host object, counted in the host's accounting:
// "ADM dialog", "ADM item", "ADM list", "ADM entry" while the dialog is open; "ADM notifier"
// and "ADM drawer" during the one call they are lent for; "ADM icon" until Destroy. The
// plug-in need not destroy the icons it gets while a dialog is open: the host reclaims
// them when that dialog closes (Dialog::iconsReclaimed() says how many). Icons got with no
// dialog open are the plug-in's to destroy.
//
// A handle is checked before use: one the host never gave, of another kind, or no longer
// valid is recorded as misuse and the operation does nothing. A null handle is ignored.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "hostapi/ADMSuites.h"
#include "hostsim/adm/dialog.h"
#include "hostsim/adm/drawing.h"
#include "hostsim/adm/front_end.h"
#include "hostsim/adm/user.h"
#include "hostsim/adm/widgets.h"

namespace hostsim {

class Host;

class Dialogs {
 public:
  Dialogs();
  ~Dialogs();
  Dialogs(const Dialogs&) = delete;
  Dialogs& operator=(const Dialogs&) = delete;

  // --- For tests and the command ---------------------------------------------------------
  adm::ScriptedUser& user() { return user_; }
  // Runs after a dialog's init procedure and first drawing, before the first action.
  void onOpen(std::function<void(adm::Dialog&)> hook) { onOpen_ = std::move(hook); }
  // Runs after each action that leaves the dialog open (its notification and redraw done),
  // while the dialog waits for the next one; the hook may queue it.
  void onAction(std::function<void(adm::Dialog&, const adm::UserAction&)> hook) { onAction_ = std::move(hook); }
  // Who plays once the scripted user's queue is empty; null (the default): nobody.
  void setFrontEnd(adm::FrontEnd* frontEnd) { frontEnd_ = frontEnd; }
  adm::FrontEnd* frontEnd() const { return frontEnd_; }

  // What went wrong with the script, one UTF-8 sentence each, in order.
  const std::vector<std::string>& errors() const { return errors_; }
  void clearErrors() { errors_.clear(); }

  // Every dialog made so far, in the order opened; open ones are still running.
  const std::vector<std::unique_ptr<adm::Dialog>>& all() const { return all_; }
  // The dialog opened last (open or closed), or null.
  adm::Dialog* last() const { return all_.empty() ? nullptr : all_.back().get(); }
  // The innermost open dialog, or null.
  adm::Dialog* top() const { return open_.empty() ? nullptr : open_.back(); }

  // --- The suites' side --------------------------------------------------------------------
  int32_t runModal(SPPluginRef plugin, const char* name, int32_t dialogID, int32_t style, ADMDialogInitProc initProc,
                   ADMUserData data, int32_t options);
  void endModal(adm::Dialog& dialog, int32_t result, bool cancelling);
  ADMItemRef createItem(adm::Dialog& dialog, int32_t itemID, const char* type, const ADMRect* bounds,
                        ADMItemInitProc initProc, ADMUserData data, int32_t options, const char* operation);
  ADMEntryRef createEntry(adm::List& list);
  // Items 1 and 2 end a modal dialog with results 1 and 2.
  void defaultNotify(adm::Item& item);
  void defaultDraw(adm::Dialog& dialog, adm::Drawer& drawer, const char* operation);
  ADMIconRef iconFromResource(SPPluginRef plugin, int32_t iconID, int32_t iconIndex, const char* operation);
  void destroyIcon(ADMIconRef icon, const char* operation);
  // The icon behind a handle that may be drawn, or null (misuse recorded).
  adm::Icon* drawableIcon(ADMIconRef icon, const char* operation);

  // The object behind a handle, or null: null handles quietly, bad ones as misuse.
  adm::Dialog* dialog(ADMDialogRef handle, const char* operation);
  adm::Item* item(ADMItemRef handle, const char* operation);
  adm::List* list(ADMListRef handle, const char* operation);
  adm::Entry* entry(ADMEntryRef handle, const char* operation);
  adm::Notification* notification(ADMNotifierRef handle, const char* operation);
  adm::Drawer* drawer(ADMDrawerRef handle, const char* operation);

  static ADMDialogRef ref(adm::Dialog* d) { return reinterpret_cast<ADMDialogRef>(d); }
  static ADMItemRef ref(adm::Item* i) { return reinterpret_cast<ADMItemRef>(i); }
  static ADMListRef ref(adm::List* l) { return reinterpret_cast<ADMListRef>(l); }
  static ADMEntryRef ref(adm::Entry* e) { return reinterpret_cast<ADMEntryRef>(e); }

 private:
  enum class Kind { Dialog, Item, List, Entry, Notifier, Drawer, Icon };
  struct Handle {
    Kind kind;
    bool live = true;
    const char* gone = "";  // why it is no longer valid
  };

  void given(const void* object, Kind kind);
  void taken(const void* object, const char* why);
  void* resolve(const void* handle, Kind kind, const char* operation);

  // The modal loop's parts.
  std::string perform(adm::Dialog& dialog, const adm::UserAction& action);
  void escape(adm::Dialog& dialog);
  void close(adm::Dialog& dialog);
  void notify(adm::Item& item, const char* type);
  void drawDialog(adm::Dialog& dialog);
  void drawItem(adm::Item& item);
  void redrawInvalidated(adm::Dialog& dialog);
  void error(std::string text) { errors_.push_back(std::move(text)); }

  adm::ScriptedUser user_;
  std::function<void(adm::Dialog&)> onOpen_;
  std::function<void(adm::Dialog&, const adm::UserAction&)> onAction_;
  adm::FrontEnd* frontEnd_ = nullptr;
  std::vector<std::string> errors_;
  std::vector<std::unique_ptr<adm::Dialog>> all_;
  std::vector<adm::Dialog*> open_;
  // Objects lent for one call, and icons, are kept for the host's life so that a stale
  // handle is recognised rather than mistaken for a newer object at the same address.
  std::deque<adm::Notification> notifications_;
  std::deque<adm::Drawer> drawers_;
  std::deque<adm::Icon> icons_;
  std::unordered_map<const void*, Handle> handles_;
};

// The dialog manager of `host`, made on first use.
Dialogs& dialogs(Host& host);

}  // namespace hostsim
