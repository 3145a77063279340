// Where a window stands on the screen. GTK 4 leaves placement to the windowing system; on
// X11 the host can still ask and move, as a host places its dialogs. Elsewhere (Wayland)
// nothing is known and nothing moves.
#pragma once

#include <optional>

#include <gtk/gtk.h>

namespace hostsim::window {

struct ScreenPoint {
  int x = 0;
  int y = 0;
};

// The top-left corner of `widget`'s top-left pixel, in screen pixels.
std::optional<ScreenPoint> screenPlace(GtkWidget* widget);
// Moves `window` so that its surface's corner stands at `place`.
void moveWindow(GtkWindow* window, ScreenPoint place);
// Asks the window manager to keep `window` above the others (a dialog over the editor that
// opened it); GTK 4 has no such call of its own.
void keepAbove(GtkWindow* window);
// The main monitor's area, in screen pixels: x, y, width, height.
std::optional<GdkRectangle> mainScreen();

}  // namespace hostsim::window
