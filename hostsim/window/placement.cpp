#include "hostsim/window/placement.h"

#include <gdk/x11/gdkx.h>

namespace hostsim::window {

namespace {

GdkSurface* x11Surface(GtkWidget* widget) {
  GtkNative* native = gtk_widget_get_native(widget);
  if (native == nullptr) return nullptr;
  GdkSurface* surface = gtk_native_get_surface(native);
  return surface != nullptr && GDK_IS_X11_SURFACE(surface) ? surface : nullptr;
}

}  // namespace

std::optional<ScreenPoint> screenPlace(GtkWidget* widget) {
  GdkSurface* surface = x11Surface(widget);
  if (surface == nullptr) return std::nullopt;
  ::Display* display = gdk_x11_display_get_xdisplay(gdk_surface_get_display(surface));
  ::Window child = 0;
  int x = 0, y = 0;
  if (!XTranslateCoordinates(display, gdk_x11_surface_get_xid(surface), DefaultRootWindow(display), 0, 0, &x, &y,
                             &child))
    return std::nullopt;
  // From the surface's corner to the widget's, through the window's own decorations.
  double sx = 0, sy = 0;
  gtk_native_get_surface_transform(gtk_widget_get_native(widget), &sx, &sy);
  graphene_point_t origin = GRAPHENE_POINT_INIT(0, 0), inWindow;
  if (!gtk_widget_compute_point(widget, GTK_WIDGET(gtk_widget_get_native(widget)), &origin, &inWindow))
    return std::nullopt;
  return ScreenPoint{x + static_cast<int>(sx + inWindow.x), y + static_cast<int>(sy + inWindow.y)};
}

void moveWindow(GtkWindow* window, ScreenPoint place) {
  GdkSurface* surface = x11Surface(GTK_WIDGET(window));
  if (surface == nullptr) return;
  ::Display* display = gdk_x11_display_get_xdisplay(gdk_surface_get_display(surface));
  XMoveWindow(display, gdk_x11_surface_get_xid(surface), place.x, place.y);
  XFlush(display);
}

void keepAbove(GtkWindow* window) {
  GdkSurface* surface = x11Surface(GTK_WIDGET(window));
  if (surface == nullptr) return;
  ::Display* display = gdk_x11_display_get_xdisplay(gdk_surface_get_display(surface));
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = gdk_x11_surface_get_xid(surface);
  event.xclient.message_type = XInternAtom(display, "_NET_WM_STATE", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = 1;  // add
  event.xclient.data.l[1] = static_cast<long>(XInternAtom(display, "_NET_WM_STATE_ABOVE", False));
  event.xclient.data.l[3] = 1;  // from an application
  XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
  XFlush(display);
}

std::optional<GdkRectangle> mainScreen() {
  GdkDisplay* display = gdk_display_get_default();
  if (display == nullptr) return std::nullopt;
  GListModel* monitors = gdk_display_get_monitors(display);
  if (g_list_model_get_n_items(monitors) == 0) return std::nullopt;
  auto* monitor = static_cast<GdkMonitor*>(g_list_model_get_item(monitors, 0));
  GdkRectangle area;
  gdk_monitor_get_geometry(monitor, &area);
  g_object_unref(monitor);
  return area;
}

}  // namespace hostsim::window
