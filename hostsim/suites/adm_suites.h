// The ADM suites of dialogs: Dialog, Item, List, Entry, Notifier, Drawer and Icon, over the
// host's dialog manager (hostsim/adm).
#pragma once

namespace hostsim {

class Host;

void offerADMSuites(Host& host);

}  // namespace hostsim
