// The suites the plug-in imports but never calls, offered as tables without operations.
#pragma once

namespace hostsim {

class Host;

void offerEmptySuites(Host& host);

}  // namespace hostsim
