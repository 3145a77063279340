#include "shell/SysBeep.h"

#include "shell/DateSuites.h"

void SysBeep(short) {
  if (sADMBasic != nullptr) sADMBasic->Beep();
}
