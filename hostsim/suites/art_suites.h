// The art suites: art, layers, tags, matching art and its memory handles, transformation
// and real math.
#pragma once

namespace hostsim {

class Host;

void offerArtSuites(Host& host);

}  // namespace hostsim
