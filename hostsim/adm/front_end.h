// Who works a modal dialog once the scripted user has nothing left to play: a person at a
// window, say. The dialog, its items and their notifications stay the host's; a front end
// only shows them and turns what the person did into the same actions the scripted user
// plays.
#pragma once

#include <optional>
#include <string>

#include "hostsim/adm/dialog.h"
#include "hostsim/adm/user.h"

namespace hostsim::adm {

class FrontEnd {
 public:
  virtual ~FrontEnd() = default;

  // The person's next act on `dialog`, waiting for it; the dialog is shown on the first
  // call. Nothing when no act can come any more (the window was closed by the system):
  // the host then ends the dialog as the Escape key does.
  virtual std::optional<UserAction> next(Dialog& dialog) = 0;
  // An action was played and the dialog stays open: values, enabled states, tooltips or
  // drawings may have changed.
  virtual void changed(Dialog& dialog) = 0;
  // The host refused the act (a character the plug-in's texts cannot hold): the dialog
  // is as it was before it; `why` is one UTF-8 sentence.
  virtual void refused(Dialog& dialog, const std::string& why) = 0;
  // The modal loop of `dialog` ends; its items are still readable.
  virtual void closing(Dialog& dialog) = 0;
};

}  // namespace hostsim::adm
