// ADM Basic Suite: the plug-in's resource strings, alerts, the screen, the standard About
// box and the beep.
#pragma once

namespace hostsim {

class Host;

void offerADMBasicSuite(Host& host);

}  // namespace hostsim
