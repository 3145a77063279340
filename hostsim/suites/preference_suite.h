// The AI Preference Suite, over the host's preference store. Offered with the document
// suites.
#pragma once

#include "hostsim/core/host.h"

namespace hostsim {

void offerPreferenceSuite(Host& host);

}  // namespace hostsim
