// Paints what a draw procedure drew (the operations the host's drawer recorded) onto a
// Cairo surface, in the item's or the dialog's own pixels.
#pragma once

#include <cairo.h>

#include <vector>

#include "hostsim/adm/drawing.h"

namespace hostsim::window {

// The dialog's face, behind every item.
constexpr const char* kDialogBackground = "#ececec";

// Up to the end, or to the next DefaultContent marker when `untilDefault` (the dialog's own
// drawing, whose items come in between); returns where it stopped.
size_t paint(cairo_t* cairo, const std::vector<adm::DrawOp>& ops, size_t from = 0, bool untilDefault = false);

}  // namespace hostsim::window
