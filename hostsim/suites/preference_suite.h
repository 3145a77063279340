// The AI Preference Suite, over the host's preference store. Offered with the document
// suites.
#pragma once

namespace hostsim {

class Host;

void offerPreferenceSuite(Host& host);

}  // namespace hostsim
