// The platform beep, through the host's dialog manager.
#pragma once

void SysBeep(short duration);
