#include "hostsim/adm/dialogs.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <exception>
#include <optional>

#include "hostsim/core/host.h"
#include "hostsim/model/mac_roman.h"

namespace hostsim {

using adm::Dialog;
using adm::Entry;
using adm::Item;
using adm::ItemKind;
using adm::List;
using adm::UserAction;

namespace {

// A plug-in whose Cancel opens a dialog whose Cancel opens a dialog... stops here.
constexpr size_t kMaxNesting = 8;

// Where a dialog stands before its init procedure places it.
constexpr int16_t kDefaultWidth = 320;
constexpr int16_t kDefaultHeight = 240;

constexpr const char* kClosedReason = "its dialog has closed";
constexpr const char* kReclaimedReason = "the host reclaimed it when its dialog closed";

std::string codeText(ASErr code) {
  auto u = static_cast<uint32_t>(code);
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    auto c = static_cast<unsigned char>((u >> shift) & 0xFF);
    if (!std::isprint(c)) return std::to_string(code);
    text += static_cast<char>(c);
  }
  return "'" + text + "'";
}

// A person's text in the plug-in's encoding, or nothing if Mac Roman cannot hold it; `bad`
// then holds the first character it lacks.
std::optional<std::string> toMacRoman(std::string_view utf8, std::string& bad) {
  std::string out;
  while (!utf8.empty()) {
    Utf8Step step = decodeUtf8(utf8);
    std::optional<std::uint8_t> byte;
    if (step.codePoint) byte = codePointToMacRoman(*step.codePoint);
    if (!byte) {
      bad = step.codePoint ? std::string(utf8.substr(0, step.length)) : "an ill-formed UTF-8 sequence";
      return std::nullopt;
    }
    out += static_cast<char>(*byte);
    utf8.remove_prefix(step.length);
  }
  return out;
}

const char* kindWord(int kind) {
  static const char* const words[] = {"dialog", "item", "list", "entry", "notifier", "drawer", "icon"};
  return words[kind];
}

std::string withArticle(const char* word) { return (std::strchr("aeiou", word[0]) != nullptr ? "an " : "a ") + std::string(word); }

std::string accountingKind(int kind) { return std::string("ADM ") + kindWord(kind); }

void misuse(const char* operation, const std::string& what) {
  Host::current().accounting().misuse(std::string(operation) + ": " + what);
}

}  // namespace

Dialogs::Dialogs() = default;
Dialogs::~Dialogs() = default;

// --- Handles -------------------------------------------------------------------------------

void Dialogs::given(const void* object, Kind kind) {
  handles_[object] = Handle{kind, true, ""};
  Host::current().accounting().objectCreated(accountingKind(static_cast<int>(kind)));
}

void Dialogs::taken(const void* object, const char* why) {
  auto it = handles_.find(object);
  if (it == handles_.end() || !it->second.live) return;
  it->second.live = false;
  it->second.gone = why;
  Host::current().accounting().objectDestroyed(accountingKind(static_cast<int>(it->second.kind)));
}

void* Dialogs::resolve(const void* handle, Kind kind, const char* operation) {
  if (handle == nullptr) return nullptr;
  std::string expected = withArticle(kindWord(static_cast<int>(kind)));
  auto it = handles_.find(handle);
  if (it == handles_.end()) {
    misuse(operation, expected + " handle the host never gave");
    return nullptr;
  }
  if (it->second.kind != kind) {
    misuse(operation, "given " + withArticle(kindWord(static_cast<int>(it->second.kind))) + " handle where " +
                          expected + " handle was expected");
    return nullptr;
  }
  if (!it->second.live) {
    misuse(operation, expected + " handle that is no longer valid: " + it->second.gone);
    return nullptr;
  }
  return const_cast<void*>(handle);
}

Dialog* Dialogs::dialog(ADMDialogRef handle, const char* operation) {
  return static_cast<Dialog*>(resolve(handle, Kind::Dialog, operation));
}
Item* Dialogs::item(ADMItemRef handle, const char* operation) {
  return static_cast<Item*>(resolve(handle, Kind::Item, operation));
}
List* Dialogs::list(ADMListRef handle, const char* operation) {
  return static_cast<List*>(resolve(handle, Kind::List, operation));
}
Entry* Dialogs::entry(ADMEntryRef handle, const char* operation) {
  return static_cast<Entry*>(resolve(handle, Kind::Entry, operation));
}
adm::Notification* Dialogs::notification(ADMNotifierRef handle, const char* operation) {
  return static_cast<adm::Notification*>(resolve(handle, Kind::Notifier, operation));
}
adm::Drawer* Dialogs::drawer(ADMDrawerRef handle, const char* operation) {
  return static_cast<adm::Drawer*>(resolve(handle, Kind::Drawer, operation));
}

// --- The modal loop --------------------------------------------------------------------------

int32_t Dialogs::runModal(SPPluginRef plugin, const char* name, int32_t dialogID, int32_t style,
                          ADMDialogInitProc initProc, ADMUserData data, int32_t options) {
  constexpr const char* op = "ADM Dialog Suite.Modal";
  Host& host = Host::current();
  if (!host.isPlugin(plugin)) {
    misuse(op, "a plug-in reference the host does not know");
    return 0;
  }
  if (open_.size() >= kMaxNesting) {
    misuse(op, "more than " + std::to_string(kMaxNesting) + " modal dialogs open inside one another");
    return 0;
  }

  all_.push_back(std::make_unique<Dialog>(plugin, name != nullptr ? name : "", dialogID, style, options, data));
  Dialog& d = *all_.back();
  open_.push_back(&d);
  given(&d, Kind::Dialog);
  const ADMRect& screen = host.screen;
  auto top = static_cast<int16_t>(screen.top + (screen.bottom - screen.top - kDefaultHeight) / 2);
  auto left = static_cast<int16_t>(screen.left + (screen.right - screen.left - kDefaultWidth) / 2);
  d.setBounds({top, left, static_cast<int16_t>(top + kDefaultHeight), static_cast<int16_t>(left + kDefaultWidth)});

  ASErr initResult = kNoErr;
  if (initProc != nullptr) {
    try {
      initResult = initProc(ref(&d));
    } catch (...) {
      misuse(op, "the init procedure of the dialog " + d.describe() + " let an exception out into the host");
      initResult = kCantHappenErr;
    }
  }
  if (initResult != kNoErr) {
    error("the dialog " + d.describe() + " did not open: its init procedure returned " + codeText(initResult));
    d.requestEnd(0, true);
    close(d);
    return 0;
  }

  if (!d.endRequested()) {
    drawDialog(d);
    if (onOpen_) {
      try {
        onOpen_(d);
      } catch (const std::exception& e) {
        error(std::string("while the dialog ") + d.describe() + " opened: " + e.what());
        user_.clear();
      }
    }
  }
  while (!d.endRequested()) {
    std::optional<UserAction> action = user_.next();
    const bool byPerson = !action && frontEnd_ != nullptr;
    if (byPerson) {
      action = frontEnd_->next(d);
      if (!action) {
        escape(d);  // the window is gone: as if the person had pressed Escape
        break;
      }
    }
    if (!action) {
      error("the script ended while the dialog " + d.describe() + " was still open");
      escape(d);
      break;
    }
    std::string problem = perform(d, *action);
    if (!problem.empty() && byPerson) {
      // A person who typed what the plug-in cannot hold gets the field back as it was.
      frontEnd_->refused(d, problem);
      continue;
    }
    if (!problem.empty()) {
      // The rest of the script was written for a dialog in another state.
      error(problem);
      user_.clear();
      escape(d);
      break;
    }
    if (onAction_ && !d.endRequested()) {
      try {
        onAction_(d, *action);
      } catch (const std::exception& e) {
        error("after " + action->describe() + ": " + e.what());
        user_.clear();
      }
    }
    if (frontEnd_ != nullptr && !d.endRequested()) frontEnd_->changed(d);
  }

  if (frontEnd_ != nullptr) frontEnd_->closing(d);
  int32_t result = d.modalResult();
  close(d);
  return result;
}

void Dialogs::endModal(Dialog& dialog, int32_t result, bool cancelling) { dialog.requestEnd(result, cancelling); }

std::string Dialogs::perform(Dialog& d, const UserAction& action) {
  std::string what = action.describe();
  Item* item = d.item(action.itemID);
  if (item == nullptr) return what + ": the dialog " + d.describe() + " has no item " + std::to_string(action.itemID);
  if (!item->enabled()) return what + ": " + item->describe() + " is disabled";
  auto wrongKind = [&](const char* wanted) {
    return what + ": " + item->name() + " is a " + adm::kindName(item->kind()) + ", not " + wanted;
  };
  auto inPlugInText = [&](std::string& out) -> std::string {
    std::string bad;
    auto text = toMacRoman(action.text, bad);
    if (!text) return what + ": the plug-in's texts cannot hold «" + bad + "»";
    out = std::move(*text);
    return {};
  };

  switch (action.kind) {
    case UserAction::Kind::Click:
      switch (item->kind()) {
        case ItemKind::CheckBox:
          item->setValue(!item->value());
          break;
        case ItemKind::RadioButton:
          for (Item* sibling : d.radioGroup(*item)) sibling->setValue(sibling == item);
          break;
        case ItemKind::PopupList:
          return what + ": " + item->name() + " is a popup list: choose one of its entries";
        case ItemKind::TextEdit:
        case ItemKind::ScrollingPopup:
        case ItemKind::SpinEdit:
          // A click into a field only gives it the keyboard.
          d.setActiveItem(item);
          return {};
        case ItemKind::PushButton:
        case ItemKind::PictureButton:
        case ItemKind::TextStatic:
          break;
      }
      break;
    case UserAction::Kind::SetValue:
      if (item->kind() != ItemKind::SpinEdit) return wrongKind("a spin edit");
      if (!std::isfinite(action.value)) return what + ": not a number";
      item->setFloatValue(static_cast<float>(action.value));
      break;
    case UserAction::Kind::Step: {
      if (item->kind() != ItemKind::SpinEdit) return wrongKind("a spin edit");
      float increment = action.value != 0 ? item->largeIncrement() : item->smallIncrement();
      item->setFloatValue(item->floatValue() + static_cast<float>(action.position) * increment);
      break;
    }
    case UserAction::Kind::Choose:
    case UserAction::Kind::ChooseText: {
      List* list = item->list();
      if (list == nullptr) return wrongKind("a popup");
      Entry* chosen = nullptr;
      if (action.kind == UserAction::Kind::Choose) {
        chosen = list->at(action.position);
        if (chosen == nullptr)
          return what + ": the list of " + item->name() + " has " + std::to_string(list->size()) + " entries";
      } else {
        std::string text;
        if (auto problem = inPlugInText(text); !problem.empty()) return problem;
        chosen = list->find(text);
        if (chosen == nullptr) return what + ": the list of " + item->name() + " has no entry «" + action.text + "»";
      }
      list->select(*chosen, true);
      break;
    }
    case UserAction::Kind::Type: {
      if (!adm::isTextField(item->kind())) return wrongKind("a text field");
      std::string text;
      if (auto problem = inPlugInText(text); !problem.empty()) return problem;
      item->setText(text);
      // A typed text that names an entry of a scrolling popup makes it the active one.
      if (List* list = item->list()) {
        if (Entry* match = list->find(item->text()))
          list->select(*match, true);
        else
          list->deselectAll();
      }
      d.setActiveItem(item);
      break;
    }
  }

  item->invalidate();
  notify(*item, kADMUserChangedNotifier);
  if (!d.endRequested()) redrawInvalidated(d);
  return {};
}

void Dialogs::escape(Dialog& d) {
  d.endedByHost_ = true;
  if (d.endRequested()) return;
  Item* cancel = d.item(kADMCancelItemID);
  if (cancel != nullptr && cancel->enabled()) notify(*cancel, kADMUserChangedNotifier);
  if (!d.endRequested()) d.requestEnd(kADMCancelItemID, true);
}

void Dialogs::close(Dialog& d) {
  d.open_ = false;
  for (const auto& item : d.items()) {
    if (List* list = item->list()) {
      for (const auto& e : list->entries()) taken(e.get(), kClosedReason);
      taken(list, kClosedReason);
    }
    taken(item.get(), kClosedReason);
  }
  for (adm::Icon* icon : d.icons_) {
    auto it = handles_.find(icon);
    if (it != handles_.end() && it->second.live) {
      taken(icon, kReclaimedReason);
      ++d.iconsReclaimed_;
    }
  }
  taken(&d, "the dialog has closed");
  open_.erase(std::remove(open_.begin(), open_.end(), &d), open_.end());
}

void Dialogs::notify(Item& item, const char* type) {
  Dialog& d = item.dialog();
  const bool wasEnding = d.endRequested();
  notifications_.push_back({type});
  adm::Notification* n = &notifications_.back();
  given(n, Kind::Notifier);
  if (ADMItemNotifyProc proc = item.notifyProc()) {
    try {
      proc(ref(&item), reinterpret_cast<ADMNotifierRef>(n));
    } catch (...) {
      misuse("notify procedure", "the notify procedure of " + item.describe() + " let an exception out into the host");
    }
  } else {
    defaultNotify(item);
  }
  taken(n, "its notification is over");
  if (!wasEnding && d.endRequested()) d.endingItem_ = item.id();
}

void Dialogs::defaultNotify(Item& item) {
  Dialog& d = item.dialog();
  if (!d.open()) return;
  if (item.id() == kADMDefaultItemID) endModal(d, kADMDefaultItemID, false);
  if (item.id() == kADMCancelItemID) endModal(d, kADMCancelItemID, true);
}

// --- Drawing ---------------------------------------------------------------------------------

void Dialogs::drawDialog(Dialog& d) {
  if (ADMDialogDrawProc proc = d.drawProc()) {
    drawers_.push_back({&d, std::nullopt, {}});
    adm::Drawer* drawer = &drawers_.back();
    given(drawer, Kind::Drawer);
    try {
      proc(ref(&d), reinterpret_cast<ADMDrawerRef>(drawer));
    } catch (...) {
      misuse("draw procedure", "the draw procedure of the dialog " + d.describe() + " let an exception out into the host");
    }
    taken(drawer, "its draw call is over");
    d.drawCalls_.push_back({std::nullopt, drawer->ops});
    d.drawing_ = std::move(drawer->ops);
    drawer->ops.clear();
  }
  // By index: a draw procedure could add items.
  for (size_t i = 0; i < d.items().size(); ++i) drawItem(*d.items()[i]);
}

void Dialogs::drawItem(Item& item) {
  item.validate();
  ADMItemDrawProc proc = item.drawProc();
  if (proc == nullptr) return;
  Dialog& d = item.dialog();
  drawers_.push_back({&d, item.id(), {}});
  adm::Drawer* drawer = &drawers_.back();
  given(drawer, Kind::Drawer);
  try {
    proc(ref(&item), reinterpret_cast<ADMDrawerRef>(drawer));
  } catch (...) {
    misuse("draw procedure", "the draw procedure of " + item.describe() + " let an exception out into the host");
  }
  taken(drawer, "its draw call is over");
  d.drawCalls_.push_back({item.id(), drawer->ops});
  item.setDrawing(std::move(drawer->ops));
  drawer->ops.clear();
}

void Dialogs::redrawInvalidated(Dialog& d) {
  for (size_t i = 0; i < d.items().size(); ++i)
    if (d.items()[i]->invalid()) drawItem(*d.items()[i]);
}

void Dialogs::defaultDraw(Dialog& d, adm::Drawer& drawer, const char* operation) {
  if (drawer.dialog != &d) misuse(operation, "drew the dialog " + d.describe() + " on another dialog's drawer");
  drawer.ops.emplace_back(adm::DrawOp::Kind::DefaultContent);
}

// --- Items and entries -----------------------------------------------------------------------

ADMItemRef Dialogs::createItem(Dialog& d, int32_t itemID, const char* type, const ADMRect* bounds,
                               ADMItemInitProc initProc, ADMUserData data, int32_t options, const char* operation) {
  if (type == nullptr || bounds == nullptr) {
    misuse(operation, type == nullptr ? "no item type" : "no bounds");
    return nullptr;
  }
  std::optional<ItemKind> kind = adm::itemKindOfType(type);
  if (!kind) {
    misuse(operation, std::string("the host has no item type \"") + type + "\"");
    return nullptr;
  }
  if (d.item(itemID) != nullptr)
    misuse(operation, "the dialog " + d.describe() + " already has an item " + std::to_string(itemID));
  Item& item = d.add(std::make_unique<Item>(d, itemID, *kind, type, *bounds));
  item.setCreation(data, options);
  given(&item, Kind::Item);
  if (item.list() != nullptr) given(item.list(), Kind::List);
  if (initProc != nullptr) {
    ASErr result = kNoErr;
    try {
      result = initProc(ref(&item));
    } catch (...) {
      misuse(operation, "the init procedure of " + item.describe() + " let an exception out into the host");
      result = kCantHappenErr;
    }
    if (result != kNoErr) {
      if (List* list = item.list()) {
        for (const auto& e : list->entries()) taken(e.get(), "its item was never made");
        taken(list, "its item was never made");
      }
      taken(&item, "its init procedure failed");
      // Kept, so the address is never given again to another item.
      d.discarded_.push_back(d.takeLast());
      return nullptr;
    }
  }
  return ref(&item);
}

ADMEntryRef Dialogs::createEntry(List& list) {
  Entry& entry = list.create();
  given(&entry, Kind::Entry);
  return ref(&entry);
}

// --- Icons -----------------------------------------------------------------------------------

ADMIconRef Dialogs::iconFromResource(SPPluginRef plugin, int32_t iconID, int32_t iconIndex, const char* operation) {
  Host& host = Host::current();
  if (!host.isPlugin(plugin)) {
    misuse(operation, "a plug-in reference the host does not know");
    return nullptr;
  }
  const auto& icons = host.plugin().resources.icons;
  auto it = icons.find(iconID);
  // Each icon resource holds one image.
  if (it == icons.end() || iconIndex != 0) return nullptr;
  icons_.push_back({iconID, iconIndex, std::make_shared<const Resources::Icon>(it->second), top()});
  adm::Icon* icon = &icons_.back();
  given(icon, Kind::Icon);
  if (icon->owner != nullptr) icon->owner->icons_.push_back(icon);
  return reinterpret_cast<ADMIconRef>(icon);
}

void Dialogs::destroyIcon(ADMIconRef handle, const char* operation) {
  // Giving back an icon the host already reclaimed with its dialog is no fault.
  auto it = handles_.find(handle);
  if (it != handles_.end() && it->second.kind == Kind::Icon && !it->second.live && it->second.gone == kReclaimedReason)
    return;
  if (resolve(handle, Kind::Icon, operation) != nullptr) taken(handle, "it was destroyed");
}

adm::Icon* Dialogs::drawableIcon(ADMIconRef handle, const char* operation) {
  return static_cast<adm::Icon*>(resolve(handle, Kind::Icon, operation));
}

Dialogs& dialogs(Host& host) { return host.state<Dialogs>(); }

}  // namespace hostsim
