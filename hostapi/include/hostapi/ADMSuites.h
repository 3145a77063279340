// The dialog manager: alerts and resource strings, modal dialogs, their items, lists and
// entries, notifiers, drawers and icons.
//
// Dialogs, items, lists and entries belong to the host and live while their dialog is
// open. The host calls the procedures a plug-in registers (init, notify, draw) on its main
// thread while a modal dialog runs. Operations that return a value instead of an error
// code return null, 0 or false when the host cannot do them.
#pragma once

#include "ASTypes.h"

using ADMDialogInitProc = ASErr (*)(ADMDialogRef dialog);
using ADMDialogDrawProc = void (*)(ADMDialogRef dialog, ADMDrawerRef drawer);
using ADMItemInitProc = ASErr (*)(ADMItemRef item);
using ADMItemNotifyProc = void (*)(ADMItemRef item, ADMNotifierRef notifier);
using ADMItemDrawProc = void (*)(ADMItemRef item, ADMDrawerRef drawer);

// Item types, as the host names them.
constexpr const char* kADMTextCheckBoxType = "ADM Text Check Box Type";
constexpr const char* kADMTextEditScrollingPopupType = "ADM Text Edit Scrolling Popup Type";
constexpr const char* kADMSpinEditType = "ADM Spin Edit Type";
constexpr const char* kADMPicturePushButtonType = "ADM Picture Push Button Type";
constexpr const char* kADMPopupListType = "ADM Popup List Type";
constexpr const char* kADMTextEditType = "ADM Text Edit Type";
constexpr const char* kADMTextStaticType = "ADM Text Static Type";
constexpr const char* kADMTextRadioButtonType = "ADM Text Radio Button Type";
constexpr const char* kADMTextPushButtonType = "ADM Text Push Button Type";

// Notifier types.
constexpr const char* kADMUserChangedNotifier = "ADM User Changed Notifier";

// The items a modal dialog treats as its default (OK) and cancel buttons.
constexpr int32_t kADMDefaultItemID = 1;
constexpr int32_t kADMCancelItemID = 2;

// Standard colours and fonts.
constexpr int32_t kADMBlackColor = 0;
constexpr int32_t kADMWhiteColor = 1;
constexpr int32_t kADMRedColor = 16;
constexpr int32_t kADMDialogFont = 5;
constexpr int32_t kADMPaletteFont = 13;

constexpr int32_t kADMPointUnits = 1;
constexpr int32_t kADMCenterJustify = 1;

constexpr const char* kADMBasicSuite = "ADM Basic Suite";
constexpr int32_t kADMBasicSuiteVersion10 = 10;
constexpr int32_t kADMBasicSuiteVersion11 = 11;

struct ADMBasicSuite {
  // Entry `index` (from 1) of the plug-in's string list listID, cut to bufferSize bytes with
  // its terminator. Non-zero when the list or the entry does not exist.
  ASErr (*GetIndexString)(SPPluginRef plugin, int32_t listID, int32_t index, char* buffer, int32_t bufferSize);
  // Modal alerts with one button.
  void (*ErrorAlert)(const char* text);
  void (*MessageAlert)(const char* text);
  // The main screen's bounds (top, left, bottom, right).
  void (*GetScreenDimensions)(ADMRect* bounds);
  // The host's standard About box for the plug-in, with two lines of text.
  void (*AboutBox)(SPPluginRef plugin, const char* text1, const char* text2);
  // The system beep.
  void (*Beep)();
};

constexpr const char* kADMDialogSuite = "ADM Dialog Suite";
constexpr int32_t kADMDialogSuiteVersion = 10;

struct ADMDialogSuite {
  // Runs a modal dialog: initProc builds it, then the host loops until EndModal. Returns
  // the modal result, or 0 when the dialog could not be made.
  int32_t (*Modal)(SPPluginRef plugin, const char* name, int32_t dialogID, int32_t style, ADMDialogInitProc initProc,
                   ADMUserData data, int32_t options);
  void (*SetDrawProc)(ADMDialogRef dialog, ADMDialogDrawProc drawProc);
  // Bounds on the screen, in pixels.
  void (*SetBoundsRect)(ADMDialogRef dialog, const ADMRect* bounds);
  void (*GetBoundsRect)(ADMDialogRef dialog, ADMRect* bounds);
  // The window title.
  void (*SetText)(ADMDialogRef dialog, const char* text);
  SPPluginRef (*GetPluginRef)(ADMDialogRef dialog);
  // The host's own drawing of the dialog's items.
  void (*DefaultDraw)(ADMDialogRef dialog, ADMDrawerRef drawer);
  ADMItemRef (*GetItem)(ADMDialogRef dialog, int32_t itemID);
  // Ends the modal loop once the current callback returns.
  void (*EndModal)(ADMDialogRef dialog, int32_t modalResult, ADMBoolean cancelling);
};

constexpr const char* kADMItemSuite = "ADM Item Suite";
constexpr int32_t kADMItemSuiteVersion = 7;

struct ADMItemSuite {
  // A new item of the dialog; bounds are dialog-local pixels.
  ADMItemRef (*Create)(ADMDialogRef dialog, int32_t itemID, const char* itemType, const ADMRect* bounds,
                       ADMItemInitProc initProc, ADMUserData data, int32_t options);
  ADMDialogRef (*GetDialog)(ADMItemRef item);
  int32_t (*GetID)(ADMItemRef item);
  // The entry list of a popup or list item; null for other kinds.
  ADMListRef (*GetList)(ADMItemRef item);
  void (*SetText)(ADMItemRef item, const char* text);
  // Copies the text into text, at most maxLength bytes with the terminator.
  void (*GetText)(ADMItemRef item, char* text, int32_t maxLength);
  int32_t (*GetTextLength)(ADMItemRef item);
  void (*SetTipString)(ADMItemRef item, const char* tip);
  void (*SetNotifyProc)(ADMItemRef item, ADMItemNotifyProc notifyProc);
  void (*SetDrawProc)(ADMItemRef item, ADMItemDrawProc drawProc);
  void (*SetBooleanValue)(ADMItemRef item, ADMBoolean value);
  ADMBoolean (*GetBooleanValue)(ADMItemRef item);
  void (*SetFloatValue)(ADMItemRef item, float value);
  float (*GetFloatValue)(ADMItemRef item);
  void (*SetUnits)(ADMItemRef item, int32_t units);
  void (*SetMinFloatValue)(ADMItemRef item, float value);
  void (*SetSmallIncrement)(ADMItemRef item, float increment);
  void (*SetLargeIncrement)(ADMItemRef item, float increment);
  void (*SetMaxTextLength)(ADMItemRef item, int32_t length);
  void (*Enable)(ADMItemRef item, ADMBoolean enable);
  // Gives the item the keyboard focus.
  void (*Activate)(ADMItemRef item, ADMBoolean activate);
  // Asks for the item to be drawn again.
  void (*Invalidate)(ADMItemRef item);
  // The host's own handling of a notification (ends a modal dialog for its OK and Cancel).
  void (*DefaultNotify)(ADMItemRef item, ADMNotifierRef notifier);
  void (*SetFont)(ADMItemRef item, int32_t font);
  void (*SetJustify)(ADMItemRef item, int32_t justify);
};

constexpr const char* kADMListSuite = "ADM List Suite";
constexpr int32_t kADMListSuiteVersion = 1;

struct ADMListSuite {
  // The entry at position index (from 0), or null.
  ADMEntryRef (*IndexEntry)(ADMListRef list, int32_t index);
  // The selected entry, or null.
  ADMEntryRef (*GetActiveEntry)(ADMListRef list);
};

constexpr const char* kADMEntrySuite = "ADM Entry Suite";
constexpr int32_t kADMEntrySuiteVersion = 2;

struct ADMEntrySuite {
  // A new entry at the end of the list.
  ADMEntryRef (*Create)(ADMListRef list);
  void (*SetText)(ADMEntryRef entry, const char* text);
  void (*SetID)(ADMEntryRef entry, int32_t entryID);
  int32_t (*GetID)(ADMEntryRef entry);
  // The entry's position in its list, from 0.
  int32_t (*GetIndex)(ADMEntryRef entry);
  // Selects the entry (deselecting the others of a popup).
  void (*Select)(ADMEntryRef entry, ADMBoolean select);
};

constexpr const char* kADMNotifierSuite = "ADM Notifier Suite";
constexpr int32_t kADMNotifierSuiteVersion = 2;

struct ADMNotifierSuite {
  ADMBoolean (*IsNotifierType)(ADMNotifierRef notifier, const char* type);
};

constexpr const char* kADMDrawerSuite = "ADM Drawer Suite";
constexpr int32_t kADMDrawerSuiteVersion = 7;

// Drawing on the surface the host passes to a draw procedure; coordinates are local
// pixels, y down.
struct ADMDrawerSuite {
  void (*Clear)(ADMDrawerRef drawer);
  void (*SetADMColor)(ADMDrawerRef drawer, int32_t color);
  void (*SetFont)(ADMDrawerRef drawer, int32_t font);
  void (*FrameRect)(ADMDrawerRef drawer, const ADMRect* rect);
  void (*FillRect)(ADMDrawerRef drawer, const ADMRect* rect);
  void (*DrawLine)(ADMDrawerRef drawer, const ADMPoint* start, const ADMPoint* end);
  // Text whose baseline starts at point.
  void (*DrawText)(ADMDrawerRef drawer, const char* text, const ADMPoint* point);
  void (*DrawTextCentered)(ADMDrawerRef drawer, const char* text, const ADMRect* rect);
  // Icon with its top left corner at point.
  void (*DrawIcon)(ADMDrawerRef drawer, ADMIconRef icon, const ADMPoint* point);
};

constexpr const char* kADMIconSuite = "ADM Icon Suite";
constexpr int32_t kADMIconSuiteVersion1 = 1;
constexpr int32_t kADMIconSuiteVersion2 = 2;

struct ADMIconSuite {
  // Icon iconID (image iconIndex) from the plug-in's resources, or null. Destroy gives it back.
  ADMIconRef (*GetFromResource)(SPPluginRef plugin, int32_t iconID, int32_t iconIndex);
  void (*Destroy)(ADMIconRef icon);
};
using ADMIconSuite2 = ADMIconSuite;
