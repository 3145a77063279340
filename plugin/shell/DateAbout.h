// The About box: its init, draw and button procedures, run by the host's modal dialog.
#pragma once

#include "hostapi/HostAPI.h"

constexpr int32_t kAboutDialogID = 16500;
constexpr int32_t kAboutIconID = 1100;

ASErr AboutParDefautProc(ADMDialogRef dialog);
void AboutDraw(ADMDialogRef dialog, ADMDrawerRef drawer);
void OKAboutCBP(ADMItemRef item, ADMNotifierRef notifier);
