// The plug-in architecture's suites: SP Basic (suites and the plug-in's heap), SP Access,
// SP Plug-ins and SP Blocks.
#pragma once

namespace hostsim {

class Host;

void offerSPSuites(Host& host);

}  // namespace hostsim
