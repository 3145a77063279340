// The application suites: notifiers, the application context and the menus. (The
// preference suite is offered with the document suites.)
#pragma once

namespace hostsim {

class Host;

void offerApplicationSuites(Host& host);

}  // namespace hostsim
