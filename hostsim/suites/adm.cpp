// The ADM suites of dialogs: Dialog, Item, List, Entry, Notifier, Drawer and Icon. Each
// operation checks its handles and hands the work to the host's dialog manager
// (hostsim/adm/dialogs.h), where the widgets keep their rules and the modal loop runs.
#include "hostsim/suites/adm_suites.h"

#include <algorithm>
#include <cstring>

#include "hostsim/adm/dialogs.h"
#include "hostsim/core/host.h"

namespace hostsim {

namespace {

Dialogs& dialogs() { return hostsim::dialogs(Host::current()); }

// The statement that follows runs with `var`, the object behind `handle`, only when the
// handle is one the host gave and is still valid (Dialogs records any misuse).
#define WITH(kind, var, handle, op) \
  if (auto* var = dialogs().kind(handle, op))

// --- ADM Dialog Suite ------------------------------------------------------------------------

int32_t dialogModal(SPPluginRef plugin, const char* name, int32_t dialogID, int32_t style, ADMDialogInitProc initProc,
                    ADMUserData data, int32_t options) {
  HOSTSIM_ENTER_OR("ADM Dialog Suite.Modal", 0);
  return dialogs().runModal(plugin, name, dialogID, style, initProc, data, options);
}

void dialogSetDrawProc(ADMDialogRef dialog, ADMDialogDrawProc drawProc) {
  constexpr const char* op = "ADM Dialog Suite.SetDrawProc";
  HOSTSIM_ENTER_VOID(op);
  WITH(dialog, d, dialog, op) d->setDrawProc(drawProc);
}

void dialogSetBoundsRect(ADMDialogRef dialog, const ADMRect* bounds) {
  constexpr const char* op = "ADM Dialog Suite.SetBoundsRect";
  HOSTSIM_ENTER_VOID(op);
  if (bounds == nullptr) return;
  WITH(dialog, d, dialog, op) d->setBounds(*bounds);
}

void dialogGetBoundsRect(ADMDialogRef dialog, ADMRect* bounds) {
  constexpr const char* op = "ADM Dialog Suite.GetBoundsRect";
  if (bounds == nullptr) {
    HOSTSIM_ENTER_VOID(op);
    return;
  }
  // A failed query reads as an empty rectangle rather than leaving the caller's as it was.
  *bounds = ADMRect{0, 0, 0, 0};
  HOSTSIM_ENTER_VOID(op);
  WITH(dialog, d, dialog, op) *bounds = d->bounds();
}

void dialogSetText(ADMDialogRef dialog, const char* text) {
  constexpr const char* op = "ADM Dialog Suite.SetText";
  HOSTSIM_ENTER_VOID(op);
  WITH(dialog, d, dialog, op) d->setTitle(text != nullptr ? text : "");
}

SPPluginRef dialogGetPluginRef(ADMDialogRef dialog) {
  constexpr const char* op = "ADM Dialog Suite.GetPluginRef";
  HOSTSIM_ENTER_OR(op, nullptr);
  WITH(dialog, d, dialog, op) return d->plugin();
  return nullptr;
}

void dialogDefaultDraw(ADMDialogRef dialog, ADMDrawerRef drawer) {
  constexpr const char* op = "ADM Dialog Suite.DefaultDraw";
  HOSTSIM_ENTER_VOID(op);
  auto* d = dialogs().dialog(dialog, op);
  auto* dr = dialogs().drawer(drawer, op);
  if (d != nullptr && dr != nullptr) dialogs().defaultDraw(*d, *dr, op);
}

ADMItemRef dialogGetItem(ADMDialogRef dialog, int32_t itemID) {
  constexpr const char* op = "ADM Dialog Suite.GetItem";
  HOSTSIM_ENTER_OR(op, nullptr);
  WITH(dialog, d, dialog, op) return Dialogs::ref(d->item(itemID));
  return nullptr;
}

void dialogEndModal(ADMDialogRef dialog, int32_t modalResult, ADMBoolean cancelling) {
  constexpr const char* op = "ADM Dialog Suite.EndModal";
  HOSTSIM_ENTER_VOID(op);
  WITH(dialog, d, dialog, op) dialogs().endModal(*d, modalResult, cancelling != 0);
}

const ADMDialogSuite kDialog = {dialogModal,   dialogSetDrawProc, dialogSetBoundsRect, dialogGetBoundsRect,
                                dialogSetText, dialogGetPluginRef, dialogDefaultDraw,  dialogGetItem,
                                dialogEndModal};

// --- ADM Item Suite --------------------------------------------------------------------------

ADMItemRef itemCreate(ADMDialogRef dialog, int32_t itemID, const char* itemType, const ADMRect* bounds,
                      ADMItemInitProc initProc, ADMUserData data, int32_t options) {
  constexpr const char* op = "ADM Item Suite.Create";
  HOSTSIM_ENTER_OR(op, nullptr);
  WITH(dialog, d, dialog, op) return dialogs().createItem(*d, itemID, itemType, bounds, initProc, data, options, op);
  return nullptr;
}

ADMDialogRef itemGetDialog(ADMItemRef item) {
  constexpr const char* op = "ADM Item Suite.GetDialog";
  HOSTSIM_ENTER_OR(op, nullptr);
  WITH(item, i, item, op) return Dialogs::ref(&i->dialog());
  return nullptr;
}

int32_t itemGetID(ADMItemRef item) {
  constexpr const char* op = "ADM Item Suite.GetID";
  HOSTSIM_ENTER_OR(op, 0);
  WITH(item, i, item, op) return i->id();
  return 0;
}

ADMListRef itemGetList(ADMItemRef item) {
  constexpr const char* op = "ADM Item Suite.GetList";
  HOSTSIM_ENTER_OR(op, nullptr);
  WITH(item, i, item, op) return Dialogs::ref(i->list());
  return nullptr;
}

void itemSetText(ADMItemRef item, const char* text) {
  constexpr const char* op = "ADM Item Suite.SetText";
  HOSTSIM_ENTER_VOID(op);
  WITH(item, i, item, op) i->setText(text != nullptr ? text : "");
}

void itemGetText(ADMItemRef item, char* text, int32_t maxLength) {
  constexpr const char* op = "ADM Item Suite.GetText";
  if (text != nullptr && maxLength > 0) text[0] = '\0';
  HOSTSIM_ENTER_VOID(op);
  if (text == nullptr || maxLength <= 0) return;
  WITH(item, i, item, op) {
    std::string shown = i->shownText();
    size_t length = std::min(shown.size(), static_cast<size_t>(maxLength) - 1);
    std::memcpy(text, shown.data(), length);
    text[length] = '\0';
  }
}

int32_t itemGetTextLength(ADMItemRef item) {
  constexpr const char* op = "ADM Item Suite.GetTextLength";
  HOSTSIM_ENTER_OR(op, 0);
  WITH(item, i, item, op) return static_cast<int32_t>(i->shownText().size());
  return 0;
}

void itemSetTipString(ADMItemRef item, const char* tip) {
  constexpr const char* op = "ADM Item Suite.SetTipString";
  HOSTSIM_ENTER_VOID(op);
  WITH(item, i, item, op) i->setTip(tip != nullptr ? tip : "");
}

void itemSetNotifyProc(ADMItemRef item, ADMItemNotifyProc notifyProc) {
  constexpr const char* op = "ADM Item Suite.SetNotifyProc";
  HOSTSIM_ENTER_VOID(op);
  WITH(item, i, item, op) i->setNotifyProc(notifyProc);
}

void itemSetDrawProc(ADMItemRef item, ADMItemDrawProc drawProc) {
  constexpr const char* op = "ADM Item Suite.SetDrawProc";
  HOSTSIM_ENTER_VOID(op);
  WITH(item, i, item, op) i->setDrawProc(drawProc);
}

void itemSetBooleanValue(ADMItemRef item, ADMBoolean value) {
  constexpr const char* op = "ADM Item Suite.SetBooleanValue";
  HOSTSIM_ENTER_VOID(op);
  WITH(item, i, item, op) i->setValue(value != 0);
}

ADMBoolean itemGetBooleanValue(ADMItemRef item) {
  constexpr const char* op = "ADM Item Suite.GetBooleanValue";
  HOSTSIM_ENTER_OR(op, 0);
  WITH(item, i, item, op) return i->value() ? 1 : 0;
  return 0;
}

void itemSetFloatValue(ADMItemRef item, float value) {
  constexpr const char* op = "ADM Item Suite.SetFloatValue";
  HOSTSIM_ENTER_VOID(op);
  WITH(item, i, item, op) i->setFloatValue(value);
}

float itemGetFloatValue(ADMItemRef item) {
  constexpr const char* op = "ADM Item Suite.GetFloatValue";
  HOSTSIM_ENTER_OR(op, 0.0f);
  WITH(item, i, item, op) return i->floatValue();
  return 0.0f;
}

void itemSetUnits(ADMItemRef item, int32_t units) {
  constexpr const char* op = "ADM Item Suite.SetUnits";
  HOSTSIM_ENTER_VOID(op);
  WITH(item, i, item, op) i->setUnits(units);
}

void itemSetMinFloatValue(ADMItemRef item, float value) {
  constexpr const char* op = "ADM Item Suite.SetMinFloatValue";
  HOSTSIM_ENTER_VOID(op);
  WITH(item, i, item, op) i->setMinimum(value);
}

void itemSetSmallIncrement(ADMItemRef item, float increment) {
  constexpr const char* op = "ADM Item Suite.SetSmallIncrement";
  HOSTSIM_ENTER_VOID(op);
  WITH(item, i, item, op) i->setSmallIncrement(increment);
}

void itemSetLargeIncrement(ADMItemRef item, float increment) {
  constexpr const char* op = "ADM Item Suite.SetLargeIncrement";
  HOSTSIM_ENTER_VOID(op);
  WITH(item, i, item, op) i->setLargeIncrement(increment);
}

void itemSetMaxTextLength(ADMItemRef item, int32_t length) {
  constexpr const char* op = "ADM Item Suite.SetMaxTextLength";
  HOSTSIM_ENTER_VOID(op);
  WITH(item, i, item, op) i->setMaxTextLength(length);
}

void itemEnable(ADMItemRef item, ADMBoolean enable) {
  constexpr const char* op = "ADM Item Suite.Enable";
  HOSTSIM_ENTER_VOID(op);
  WITH(item, i, item, op) i->setEnabled(enable != 0);
}

void itemActivate(ADMItemRef item, ADMBoolean activate) {
  constexpr const char* op = "ADM Item Suite.Activate";
  HOSTSIM_ENTER_VOID(op);
  WITH(item, i, item, op) {
    adm::Dialog& d = i->dialog();
    if (activate != 0)
      d.setActiveItem(i);
    else if (d.activeItem() == i)
      d.setActiveItem(nullptr);
  }
}

void itemInvalidate(ADMItemRef item) {
  constexpr const char* op = "ADM Item Suite.Invalidate";
  HOSTSIM_ENTER_VOID(op);
  WITH(item, i, item, op) i->invalidate();
}

void itemDefaultNotify(ADMItemRef item, ADMNotifierRef notifier) {
  constexpr const char* op = "ADM Item Suite.DefaultNotify";
  HOSTSIM_ENTER_VOID(op);
  dialogs().notification(notifier, op);  // checked, though any notification gets the same handling
  WITH(item, i, item, op) dialogs().defaultNotify(*i);
}

void itemSetFont(ADMItemRef item, int32_t font) {
  constexpr const char* op = "ADM Item Suite.SetFont";
  HOSTSIM_ENTER_VOID(op);
  WITH(item, i, item, op) i->setFont(font);
}

void itemSetJustify(ADMItemRef item, int32_t justify) {
  constexpr const char* op = "ADM Item Suite.SetJustify";
  HOSTSIM_ENTER_VOID(op);
  WITH(item, i, item, op) i->setJustify(justify);
}

const ADMItemSuite kItem = {itemCreate,           itemGetDialog,         itemGetID,           itemGetList,
                            itemSetText,          itemGetText,           itemGetTextLength,   itemSetTipString,
                            itemSetNotifyProc,    itemSetDrawProc,       itemSetBooleanValue, itemGetBooleanValue,
                            itemSetFloatValue,    itemGetFloatValue,     itemSetUnits,        itemSetMinFloatValue,
                            itemSetSmallIncrement, itemSetLargeIncrement, itemSetMaxTextLength, itemEnable,
                            itemActivate,         itemInvalidate,        itemDefaultNotify,   itemSetFont,
                            itemSetJustify};

// --- ADM List Suite and ADM Entry Suite ------------------------------------------------------

ADMEntryRef listIndexEntry(ADMListRef list, int32_t index) {
  constexpr const char* op = "ADM List Suite.IndexEntry";
  HOSTSIM_ENTER_OR(op, nullptr);
  WITH(list, l, list, op) return Dialogs::ref(l->at(index));
  return nullptr;
}

ADMEntryRef listGetActiveEntry(ADMListRef list) {
  constexpr const char* op = "ADM List Suite.GetActiveEntry";
  HOSTSIM_ENTER_OR(op, nullptr);
  WITH(list, l, list, op) return Dialogs::ref(l->active());
  return nullptr;
}

const ADMListSuite kList = {listIndexEntry, listGetActiveEntry};

ADMEntryRef entryCreate(ADMListRef list) {
  constexpr const char* op = "ADM Entry Suite.Create";
  HOSTSIM_ENTER_OR(op, nullptr);
  WITH(list, l, list, op) return dialogs().createEntry(*l);
  return nullptr;
}

void entrySetText(ADMEntryRef entry, const char* text) {
  constexpr const char* op = "ADM Entry Suite.SetText";
  HOSTSIM_ENTER_VOID(op);
  WITH(entry, e, entry, op) e->setText(text != nullptr ? text : "");
}

void entrySetID(ADMEntryRef entry, int32_t entryID) {
  constexpr const char* op = "ADM Entry Suite.SetID";
  HOSTSIM_ENTER_VOID(op);
  WITH(entry, e, entry, op) e->setID(entryID);
}

int32_t entryGetID(ADMEntryRef entry) {
  constexpr const char* op = "ADM Entry Suite.GetID";
  HOSTSIM_ENTER_OR(op, 0);
  WITH(entry, e, entry, op) return e->id();
  return 0;
}

int32_t entryGetIndex(ADMEntryRef entry) {
  constexpr const char* op = "ADM Entry Suite.GetIndex";
  HOSTSIM_ENTER_OR(op, 0);
  WITH(entry, e, entry, op) return e->index();
  return 0;
}

void entrySelect(ADMEntryRef entry, ADMBoolean select) {
  constexpr const char* op = "ADM Entry Suite.Select";
  HOSTSIM_ENTER_VOID(op);
  WITH(entry, e, entry, op) e->list().select(*e, select != 0);
}

const ADMEntrySuite kEntry = {entryCreate, entrySetText, entrySetID, entryGetID, entryGetIndex, entrySelect};

// --- ADM Notifier Suite ----------------------------------------------------------------------

ADMBoolean notifierIsNotifierType(ADMNotifierRef notifier, const char* type) {
  constexpr const char* op = "ADM Notifier Suite.IsNotifierType";
  HOSTSIM_ENTER_OR(op, 0);
  if (type == nullptr) return 0;
  WITH(notification, n, notifier, op) return n->type == type ? 1 : 0;
  return 0;
}

const ADMNotifierSuite kNotifier = {notifierIsNotifierType};

// --- ADM Drawer Suite ------------------------------------------------------------------------

using adm::DrawOp;

// Records one operation on a drawer that is valid.
void record(ADMDrawerRef drawer, const char* op, DrawOp drawOp) {
  WITH(drawer, dr, drawer, op) dr->ops.push_back(std::move(drawOp));
}

void drawerClear(ADMDrawerRef drawer) {
  constexpr const char* op = "ADM Drawer Suite.Clear";
  HOSTSIM_ENTER_VOID(op);
  record(drawer, op, DrawOp(DrawOp::Kind::Clear));
}

void drawerSetADMColor(ADMDrawerRef drawer, int32_t color) {
  constexpr const char* op = "ADM Drawer Suite.SetADMColor";
  HOSTSIM_ENTER_VOID(op);
  DrawOp drawOp(DrawOp::Kind::Color);
  drawOp.value = color;
  record(drawer, op, std::move(drawOp));
}

void drawerSetFont(ADMDrawerRef drawer, int32_t font) {
  constexpr const char* op = "ADM Drawer Suite.SetFont";
  HOSTSIM_ENTER_VOID(op);
  DrawOp drawOp(DrawOp::Kind::Font);
  drawOp.value = font;
  record(drawer, op, std::move(drawOp));
}

void drawerFrameRect(ADMDrawerRef drawer, const ADMRect* rect) {
  constexpr const char* op = "ADM Drawer Suite.FrameRect";
  HOSTSIM_ENTER_VOID(op);
  if (rect == nullptr) return;
  DrawOp drawOp(DrawOp::Kind::FrameRect);
  drawOp.rect = *rect;
  record(drawer, op, std::move(drawOp));
}

void drawerFillRect(ADMDrawerRef drawer, const ADMRect* rect) {
  constexpr const char* op = "ADM Drawer Suite.FillRect";
  HOSTSIM_ENTER_VOID(op);
  if (rect == nullptr) return;
  DrawOp drawOp(DrawOp::Kind::FillRect);
  drawOp.rect = *rect;
  record(drawer, op, std::move(drawOp));
}

void drawerDrawLine(ADMDrawerRef drawer, const ADMPoint* start, const ADMPoint* end) {
  constexpr const char* op = "ADM Drawer Suite.DrawLine";
  HOSTSIM_ENTER_VOID(op);
  if (start == nullptr || end == nullptr) return;
  DrawOp drawOp(DrawOp::Kind::Line);
  drawOp.from = *start;
  drawOp.to = *end;
  record(drawer, op, std::move(drawOp));
}

void drawerDrawText(ADMDrawerRef drawer, const char* text, const ADMPoint* point) {
  constexpr const char* op = "ADM Drawer Suite.DrawText";
  HOSTSIM_ENTER_VOID(op);
  if (text == nullptr || point == nullptr) return;
  DrawOp drawOp(DrawOp::Kind::Text);
  drawOp.from = *point;
  drawOp.text = text;
  record(drawer, op, std::move(drawOp));
}

void drawerDrawTextCentered(ADMDrawerRef drawer, const char* text, const ADMRect* rect) {
  constexpr const char* op = "ADM Drawer Suite.DrawTextCentered";
  HOSTSIM_ENTER_VOID(op);
  if (text == nullptr || rect == nullptr) return;
  DrawOp drawOp(DrawOp::Kind::TextCentered);
  drawOp.rect = *rect;
  drawOp.text = text;
  record(drawer, op, std::move(drawOp));
}

void drawerDrawIcon(ADMDrawerRef drawer, ADMIconRef icon, const ADMPoint* point) {
  constexpr const char* op = "ADM Drawer Suite.DrawIcon";
  HOSTSIM_ENTER_VOID(op);
  adm::Icon* i = dialogs().drawableIcon(icon, op);
  if (i == nullptr || point == nullptr) return;
  DrawOp drawOp(DrawOp::Kind::Icon);
  drawOp.value = i->id;
  drawOp.from = *point;
  drawOp.iconIndex = i->index;
  drawOp.image = i->image;
  record(drawer, op, std::move(drawOp));
}

const ADMDrawerSuite kDrawer = {drawerClear,    drawerSetADMColor, drawerSetFont,          drawerFrameRect, drawerFillRect,
                                drawerDrawLine, drawerDrawText,    drawerDrawTextCentered, drawerDrawIcon};

// --- ADM Icon Suite --------------------------------------------------------------------------

ADMIconRef iconGetFromResource(SPPluginRef plugin, int32_t iconID, int32_t iconIndex) {
  constexpr const char* op = "ADM Icon Suite.GetFromResource";
  HOSTSIM_ENTER_OR(op, nullptr);
  return dialogs().iconFromResource(plugin, iconID, iconIndex, op);
}

void iconDestroy(ADMIconRef icon) {
  constexpr const char* op = "ADM Icon Suite.Destroy";
  HOSTSIM_ENTER_VOID(op);
  dialogs().destroyIcon(icon, op);
}

const ADMIconSuite kIcon = {iconGetFromResource, iconDestroy};

#undef WITH

}  // namespace

void offerADMSuites(Host& host) {
  host.offerSuite(kADMDialogSuite, kADMDialogSuiteVersion, &kDialog);
  host.offerSuite(kADMItemSuite, kADMItemSuiteVersion, &kItem);
  host.offerSuite(kADMListSuite, kADMListSuiteVersion, &kList);
  host.offerSuite(kADMEntrySuite, kADMEntrySuiteVersion, &kEntry);
  host.offerSuite(kADMNotifierSuite, kADMNotifierSuiteVersion, &kNotifier);
  host.offerSuite(kADMDrawerSuite, kADMDrawerSuiteVersion, &kDrawer);
  host.offerSuite(kADMIconSuite, kADMIconSuiteVersion1, &kIcon);
  host.offerSuite(kADMIconSuite, kADMIconSuiteVersion2, &kIcon);
}

}  // namespace hostsim
