// The items of a dialog as the host's widgets keep them: check boxes, radio buttons, push
// buttons, static and editable texts, spin edits and popups with their entry lists.
//
// Texts are kept as the plug-in gave them (Mac Roman bytes); label() and the like give
// them in UTF-8 for people. Each widget keeps the rules a real one keeps: a spin edit never
// holds less than its minimum, a text edit never more than its maximum length, a popup
// has at most one active entry.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "hostapi/ADMSuites.h"
#include "hostsim/adm/drawing.h"

namespace hostsim::adm {

class Dialog;
class Item;
class List;

enum class ItemKind {
  CheckBox,        // "ADM Text Check Box Type"
  RadioButton,     // "ADM Text Radio Button Type"
  PushButton,      // "ADM Text Push Button Type"
  PictureButton,   // "ADM Picture Push Button Type"
  TextStatic,      // "ADM Text Static Type"
  TextEdit,        // "ADM Text Edit Type"
  ScrollingPopup,  // "ADM Text Edit Scrolling Popup Type": a text field with a popup list
  SpinEdit,        // "ADM Spin Edit Type"
  PopupList,       // "ADM Popup List Type"
};

// The kind of a host item type name, or nothing when the host has no such type.
std::optional<ItemKind> itemKindOfType(std::string_view type);
// "check box", "spin edit", ...
const char* kindName(ItemKind kind);
bool hasList(ItemKind kind);
bool isTextField(ItemKind kind);  // the kinds a user types into

class Entry {
 public:
  explicit Entry(List& list) : list_(&list) {}

  List& list() const { return *list_; }
  int32_t index() const;  // position in the list, from 0
  int32_t id() const { return id_; }
  void setID(int32_t id) { id_ = id; }
  const std::string& text() const { return text_; }
  std::string label() const;  // UTF-8
  void setText(std::string_view text);
  bool selected() const { return selected_; }

 private:
  friend class List;
  List* list_;
  int32_t id_ = 0;
  std::string text_;
  bool selected_ = false;
};

class List {
 public:
  explicit List(Item& item) : item_(&item) {}

  Item& item() const { return *item_; }
  Entry& create();  // at the end
  const std::vector<std::unique_ptr<Entry>>& entries() const { return entries_; }
  int32_t size() const { return static_cast<int32_t>(entries_.size()); }
  Entry* at(int32_t index) const;  // null when out of range
  Entry* active() const;           // the selected entry, or null
  Entry* find(std::string_view text) const;  // the first entry with that Mac Roman text
  int32_t indexOf(const Entry& entry) const;
  // A popup shows one entry: selecting one deselects the others.
  void select(Entry& entry, bool selected);
  void deselectAll();

 private:
  Item* item_;
  std::vector<std::unique_ptr<Entry>> entries_;
};

class Item {
 public:
  Item(Dialog& dialog, int32_t id, ItemKind kind, std::string type, ADMRect bounds);

  Dialog& dialog() const { return *dialog_; }
  int32_t id() const { return id_; }
  ItemKind kind() const { return kind_; }
  const std::string& type() const { return type_; }
  const ADMRect& bounds() const { return bounds_; }  // dialog-local pixels

  // The item's own text (a label, or a field's contents).
  const std::string& text() const { return text_; }
  // What the item shows: a popup list shows its active entry.
  std::string shownText() const;
  std::string label() const;  // shownText() in UTF-8
  // A text edit keeps at most its maximum length.
  void setText(std::string_view text);

  const std::string& tip() const { return tip_; }
  std::string tipLabel() const;  // UTF-8
  void setTip(std::string_view tip) { tip_ = std::string(tip); }

  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);
  bool value() const { return value_; }
  void setValue(bool value);

  float floatValue() const { return floatValue_; }
  // A spin edit keeps its value at or above its minimum.
  void setFloatValue(float value);
  int32_t units() const { return units_; }
  void setUnits(int32_t units);
  std::optional<float> minimum() const { return minimum_; }
  void setMinimum(float minimum);
  float smallIncrement() const { return smallIncrement_; }
  void setSmallIncrement(float increment) { smallIncrement_ = increment; }
  float largeIncrement() const { return largeIncrement_; }
  void setLargeIncrement(float increment) { largeIncrement_ = increment; }

  std::optional<int32_t> maxTextLength() const { return maxTextLength_; }
  void setMaxTextLength(int32_t length);

  // Popups only; null for the other kinds.
  List* list() const { return list_.get(); }

  ADMItemNotifyProc notifyProc() const { return notifyProc_; }
  void setNotifyProc(ADMItemNotifyProc proc) { notifyProc_ = proc; }
  ADMItemDrawProc drawProc() const { return drawProc_; }
  void setDrawProc(ADMItemDrawProc proc);

  int32_t font() const { return font_; }
  void setFont(int32_t font);
  int32_t justify() const { return justify_; }
  void setJustify(int32_t justify);

  ADMUserData userData() const { return userData_; }
  int32_t options() const { return options_; }
  void setCreation(ADMUserData data, int32_t options) {
    userData_ = data;
    options_ = options;
  }

  // Waiting to be drawn again.
  bool invalid() const { return invalid_; }
  void invalidate() { invalid_ = true; }
  void validate() { invalid_ = false; }

  // What its draw procedure drew the last time it ran.
  const std::vector<DrawOp>& drawing() const { return drawing_; }
  void setDrawing(std::vector<DrawOp> ops) { drawing_ = std::move(ops); }

  // For messages: "the item «Numéro du plan» (21)", or "item 6" for an item without a label.
  std::string name() const;
  // name(), with the kind of an item without a label: "item 6 (a spin edit)".
  std::string describe() const;

 private:
  Dialog* dialog_;
  int32_t id_;
  ItemKind kind_;
  std::string type_;
  ADMRect bounds_;
  std::string text_;
  std::string tip_;
  bool enabled_ = true;
  bool value_ = false;
  float floatValue_ = 0;
  int32_t units_ = 0;
  std::optional<float> minimum_;
  float smallIncrement_ = 1;
  float largeIncrement_ = 10;
  std::optional<int32_t> maxTextLength_;
  std::unique_ptr<List> list_;
  ADMItemNotifyProc notifyProc_ = nullptr;
  ADMItemDrawProc drawProc_ = nullptr;
  int32_t font_ = kADMDialogFont;
  int32_t justify_ = 0;
  ADMUserData userData_ = nullptr;
  int32_t options_ = 0;
  bool invalid_ = true;
  std::vector<DrawOp> drawing_;
};

}  // namespace hostsim::adm
