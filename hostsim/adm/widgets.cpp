#include "hostsim/adm/widgets.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "hostsim/adm/dialog.h"
#include "hostsim/model/mac_roman.h"

namespace hostsim::adm {

namespace {

struct TypeName {
  const char* type;
  ItemKind kind;
  const char* name;
};

constexpr TypeName kTypes[] = {
    {kADMTextCheckBoxType, ItemKind::CheckBox, "check box"},
    {kADMTextRadioButtonType, ItemKind::RadioButton, "radio button"},
    {kADMTextPushButtonType, ItemKind::PushButton, "push button"},
    {kADMPicturePushButtonType, ItemKind::PictureButton, "picture button"},
    {kADMTextStaticType, ItemKind::TextStatic, "static text"},
    {kADMTextEditType, ItemKind::TextEdit, "text edit"},
    {kADMTextEditScrollingPopupType, ItemKind::ScrollingPopup, "text edit with a popup list"},
    {kADMSpinEditType, ItemKind::SpinEdit, "spin edit"},
    {kADMPopupListType, ItemKind::PopupList, "popup list"},
};

}  // namespace

std::optional<ItemKind> itemKindOfType(std::string_view type) {
  for (const auto& t : kTypes)
    if (type == t.type) return t.kind;
  return std::nullopt;
}

const char* kindName(ItemKind kind) {
  for (const auto& t : kTypes)
    if (kind == t.kind) return t.name;
  return "item";
}

bool hasList(ItemKind kind) { return kind == ItemKind::PopupList || kind == ItemKind::ScrollingPopup; }

bool isTextField(ItemKind kind) { return kind == ItemKind::TextEdit || kind == ItemKind::ScrollingPopup; }

// --- Entries and lists -------------------------------------------------------------------

int32_t Entry::index() const { return list_->indexOf(*this); }

std::string Entry::label() const { return macRomanToUtf8(text_); }

void Entry::setText(std::string_view text) {
  text_ = std::string(text);
  // A scrolling popup's field shows the active entry.
  if (selected_ && list_->item().kind() == ItemKind::ScrollingPopup) list_->item().setText(text_);
  list_->item().invalidate();
}

Entry& List::create() {
  entries_.push_back(std::make_unique<Entry>(*this));
  item_->invalidate();
  return *entries_.back();
}

Entry* List::at(int32_t index) const {
  if (index < 0 || index >= size()) return nullptr;
  return entries_[static_cast<size_t>(index)].get();
}

Entry* List::active() const {
  for (const auto& e : entries_)
    if (e->selected_) return e.get();
  return nullptr;
}

Entry* List::find(std::string_view text) const {
  for (const auto& e : entries_)
    if (e->text_ == text) return e.get();
  return nullptr;
}

int32_t List::indexOf(const Entry& entry) const {
  for (size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].get() == &entry) return static_cast<int32_t>(i);
  return -1;
}

void List::select(Entry& entry, bool selected) {
  if (selected) {
    for (auto& e : entries_) e->selected_ = false;
    entry.selected_ = true;
    if (item_->kind() == ItemKind::ScrollingPopup) item_->setText(entry.text_);
  } else {
    entry.selected_ = false;
  }
  item_->invalidate();
}

void List::deselectAll() {
  for (auto& e : entries_) e->selected_ = false;
  item_->invalidate();
}

// --- Items -------------------------------------------------------------------------------

Item::Item(Dialog& dialog, int32_t id, ItemKind kind, std::string type, ADMRect bounds)
    : dialog_(&dialog), id_(id), kind_(kind), type_(std::move(type)), bounds_(bounds) {
  if (hasList(kind)) list_ = std::make_unique<List>(*this);
  if (kind == ItemKind::SpinEdit) units_ = kADMPointUnits;
}

std::string Item::shownText() const {
  if (kind_ == ItemKind::PopupList && list_ != nullptr) {
    if (const Entry* active = list_->active()) return active->text();
  }
  return text_;
}

std::string Item::label() const { return macRomanToUtf8(shownText()); }

void Item::setText(std::string_view text) {
  if (maxTextLength_ && text.size() > static_cast<size_t>(*maxTextLength_)) text = text.substr(0, *maxTextLength_);
  text_ = std::string(text);
  invalidate();
}

std::string Item::tipLabel() const { return macRomanToUtf8(tip_); }

void Item::setEnabled(bool enabled) {
  if (enabled_ != enabled) invalidate();
  enabled_ = enabled;
}

void Item::setValue(bool value) {
  if (value_ != value) invalidate();
  value_ = value;
}

void Item::setFloatValue(float value) {
  if (std::isnan(value)) value = minimum_.value_or(0.0f);
  if (kind_ == ItemKind::SpinEdit && minimum_ && value < *minimum_) value = *minimum_;
  floatValue_ = value;
  invalidate();
}

void Item::setUnits(int32_t units) {
  units_ = units;
  invalidate();
}

void Item::setMinimum(float minimum) {
  minimum_ = minimum;
  if (kind_ == ItemKind::SpinEdit && floatValue_ < minimum) setFloatValue(minimum);
}

void Item::setMaxTextLength(int32_t length) {
  maxTextLength_ = std::max<int32_t>(length, 0);
  if (text_.size() > static_cast<size_t>(*maxTextLength_)) setText(text_);
}

void Item::setDrawProc(ADMItemDrawProc proc) {
  drawProc_ = proc;
  invalidate();
}

void Item::setFont(int32_t font) {
  font_ = font;
  invalidate();
}

void Item::setJustify(int32_t justify) {
  justify_ = justify;
  invalidate();
}

std::string Item::name() const {
  bool labelled = kind_ == ItemKind::CheckBox || kind_ == ItemKind::RadioButton || kind_ == ItemKind::PushButton ||
                  kind_ == ItemKind::TextStatic;
  if (labelled && !text_.empty()) return "the item «" + label() + "» (" + std::to_string(id_) + ")";
  return "item " + std::to_string(id_);
}

std::string Item::describe() const {
  std::string n = name();
  if (n.rfind("the item", 0) == 0) return n;
  const char* kind = kindName(kind_);
  return n + " (" + (std::strchr("aeiou", kind[0]) != nullptr ? "an " : "a ") + kind + ")";
}

// --- Dialogs -----------------------------------------------------------------------------

Dialog::Dialog(SPPluginRef plugin, std::string name, int32_t resourceID, int32_t style, int32_t options,
               ADMUserData data)
    : plugin_(plugin),
      name_(std::move(name)),
      resourceID_(resourceID),
      style_(style),
      options_(options),
      userData_(data),
      title_(name_) {}

std::string Dialog::titleLabel() const { return macRomanToUtf8(title_); }

Item* Dialog::item(int32_t id) const {
  for (const auto& i : items_)
    if (i->id() == id) return i.get();
  return nullptr;
}

Item& Dialog::add(std::unique_ptr<Item> item) {
  items_.push_back(std::move(item));
  return *items_.back();
}

std::unique_ptr<Item> Dialog::takeLast() {
  if (items_.empty()) return nullptr;
  std::unique_ptr<Item> item = std::move(items_.back());
  items_.pop_back();
  if (active_ == item.get()) active_ = nullptr;
  return item;
}

std::vector<Item*> Dialog::radioGroup(const Item& item) const {
  std::vector<Item*> group;
  auto at = std::find_if(items_.begin(), items_.end(), [&](const auto& i) { return i.get() == &item; });
  if (at == items_.end() || item.kind() != ItemKind::RadioButton) return group;
  auto first = at;
  while (first != items_.begin() && (*std::prev(first))->kind() == ItemKind::RadioButton) --first;
  for (auto i = first; i != items_.end() && (*i)->kind() == ItemKind::RadioButton; ++i) group.push_back(i->get());
  return group;
}

void Dialog::requestEnd(int32_t result, bool cancelling) {
  // The last request before the loop looks again stands.
  endRequested_ = true;
  modalResult_ = result;
  cancelling_ = cancelling;
}

std::string Dialog::describe() const { return "«" + titleLabel() + "»"; }

}  // namespace hostsim::adm
