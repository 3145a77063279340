// The text suites: point-text frames, fonts, ATE paint and the text engine's suites with
// operations.
#pragma once

namespace hostsim {

class Host;

void offerTextSuites(Host& host);

}  // namespace hostsim
