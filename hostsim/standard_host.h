// The stand-in host as the command and the tests run it: the core (hostsim/core) with every
// suite family the plug-in imports offered, and the dialog manager and menus those suites
// work (hostsim/adm), reached as dialogs(host) and menus(host).
#pragma once

#include "hostsim/adm/dialogs.h"
#include "hostsim/adm/menus.h"
#include "hostsim/core/host.h"

namespace hostsim {

class StandardHost : public Host {
 public:
  StandardHost();
};

}  // namespace hostsim
