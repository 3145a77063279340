// The document suites: document, file paths, artboards and user services, with the Unicode
// strings and the preferences.
#pragma once

namespace hostsim {

class Host;

void offerDocumentSuites(Host& host);

}  // namespace hostsim
