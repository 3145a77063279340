// One modal dialog: its window (title, bounds, draw procedure), its items in the order the
// plug-in created them, and how its modal loop ended. The record stays readable after the
// dialog has closed, so tests and the command can look at what the user saw.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "hostapi/ADMSuites.h"
#include "hostsim/adm/drawing.h"
#include "hostsim/adm/widgets.h"

namespace hostsim {
class Dialogs;
}

namespace hostsim::adm {

class Dialog {
 public:
  Dialog(SPPluginRef plugin, std::string name, int32_t resourceID, int32_t style, int32_t options, ADMUserData data);

  SPPluginRef plugin() const { return plugin_; }
  const std::string& name() const { return name_; }  // Mac Roman
  int32_t resourceID() const { return resourceID_; }
  int32_t style() const { return style_; }
  int32_t options() const { return options_; }
  ADMUserData userData() const { return userData_; }

  // The window title, Mac Roman; the dialog's name until the plug-in sets one.
  const std::string& title() const { return title_; }
  std::string titleLabel() const;  // UTF-8
  void setTitle(std::string_view title) { title_ = std::string(title); }

  // On the screen, in pixels.
  const ADMRect& bounds() const { return bounds_; }
  void setBounds(const ADMRect& bounds) { bounds_ = bounds; }
  int width() const { return bounds_.right - bounds_.left; }
  int height() const { return bounds_.bottom - bounds_.top; }

  ADMDialogDrawProc drawProc() const { return drawProc_; }
  void setDrawProc(ADMDialogDrawProc proc) { drawProc_ = proc; }

  // Items in creation order; item(id) is the first with that ID, or null.
  const std::vector<std::unique_ptr<Item>>& items() const { return items_; }
  Item* item(int32_t id) const;
  Item& add(std::unique_ptr<Item> item);
  // Takes back the newest item (one whose init procedure failed).
  std::unique_ptr<Item> takeLast();

  // Radio buttons adjacent to `item` in creation order form its group (itself included).
  std::vector<Item*> radioGroup(const Item& item) const;

  // The item that has the keyboard, or null.
  Item* activeItem() const { return active_; }
  void setActiveItem(Item* item) { active_ = item; }

  // The modal loop: EndModal asks for the end, which comes once the running callback returns.
  bool open() const { return open_; }
  bool endRequested() const { return endRequested_; }
  void requestEnd(int32_t result, bool cancelling);
  int32_t modalResult() const { return modalResult_; }
  bool cancelling() const { return cancelling_; }
  // True when the host ended the dialog because the script ran out or failed.
  bool endedByHost() const { return endedByHost_; }
  // The item whose notification ended the dialog (OK, Annuler...), if one did: the plug-in
  // may end it with the same result from either button.
  std::optional<int32_t> endingItem() const { return endingItem_; }

  // Every call of a draw procedure made for this dialog or its items, in order.
  const std::vector<DrawCall>& drawCalls() const { return drawCalls_; }
  // What the dialog's own draw procedure drew the last time it ran.
  const std::vector<DrawOp>& drawing() const { return drawing_; }

  // Icons obtained while the dialog was open and still held by the plug-in.
  int iconsReclaimed() const { return iconsReclaimed_; }

  // For messages: «title».
  std::string describe() const;

 private:
  friend class ::hostsim::Dialogs;

  SPPluginRef plugin_;
  std::string name_;
  int32_t resourceID_;
  int32_t style_;
  int32_t options_;
  ADMUserData userData_;
  std::string title_;
  ADMRect bounds_{0, 0, 0, 0};
  ADMDialogDrawProc drawProc_ = nullptr;
  std::vector<std::unique_ptr<Item>> items_;
  std::vector<std::unique_ptr<Item>> discarded_;
  Item* active_ = nullptr;
  bool open_ = true;
  bool endRequested_ = false;
  int32_t modalResult_ = 0;
  bool cancelling_ = false;
  bool endedByHost_ = false;
  std::optional<int32_t> endingItem_;
  std::vector<DrawCall> drawCalls_;
  std::vector<DrawOp> drawing_;
  std::vector<Icon*> icons_;
  int iconsReclaimed_ = 0;
};

}  // namespace hostsim::adm
