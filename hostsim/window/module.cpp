// The window layer as a module of its own, which the command loads only when a person asks
// for windows: linking the desktop's libraries into every run would triple its start-up.
#include <string>

#include "hostsim/window/dialog_windows.h"

extern "C" {

__attribute__((visibility("default"))) bool estampilleur_open_desktop(std::string* why) {
  return hostsim::window::openDesktop(*why);
}

__attribute__((visibility("default"))) hostsim::adm::FrontEnd* estampilleur_dialog_windows(hostsim::Host* host) {
  return new hostsim::window::DialogWindows(*host);
}

}  // extern "C"
