#include "hostsim/window/painting.h"

#include <librsvg/rsvg.h>

#include <cstdio>
#include <string>

#include "hostsim/model/mac_roman.h"

namespace hostsim::window {

namespace {

void setColour(cairo_t* cairo, const char* hex) {
  unsigned r = 0, g = 0, b = 0;
  if (std::sscanf(hex, "#%02x%02x%02x", &r, &g, &b) != 3) r = g = b = 0;
  cairo_set_source_rgb(cairo, r / 255.0, g / 255.0, b / 255.0);
}

// An icon resource holds SVG markup of the icon's size: a whole document or its contents.
void paintIcon(cairo_t* cairo, const Resources::Icon& icon, int x, int y) {
  std::string svg = icon.svg;
  if (svg.find("<svg") == std::string::npos) {
    const std::string w = std::to_string(icon.width), h = std::to_string(icon.height);
    svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w +
          " " + h + "\">" + svg + "</svg>";
  }
  GError* error = nullptr;
  RsvgHandle* handle = rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(svg.data()), svg.size(), &error);
  if (handle != nullptr) {
    RsvgRectangle place{static_cast<double>(x), static_cast<double>(y), static_cast<double>(icon.width),
                        static_cast<double>(icon.height)};
    rsvg_handle_render_document(handle, cairo, &place, &error);
    g_object_unref(handle);
  }
  if (error != nullptr) {
    // What cannot be read shows as a grey block, as in the host's pictures.
    g_error_free(error);
    cairo_set_source_rgb(cairo, 0.75, 0.75, 0.75);
    cairo_rectangle(cairo, x, y, icon.width, icon.height);
    cairo_fill(cairo);
  }
}

void text(cairo_t* cairo, const std::string& macRoman, double x, double baseline, int pixels, bool centred) {
  const std::string utf8 = macRomanToUtf8(macRoman);
  cairo_select_font_face(cairo, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cairo, pixels);
  if (centred) {
    cairo_text_extents_t extents;
    cairo_text_extents(cairo, utf8.c_str(), &extents);
    x -= extents.x_advance / 2;
  }
  cairo_move_to(cairo, x, baseline);
  cairo_show_text(cairo, utf8.c_str());
}

}  // namespace

size_t paint(cairo_t* cairo, const std::vector<adm::DrawOp>& ops, size_t from, bool untilDefault) {
  using Kind = adm::DrawOp::Kind;
  const char* colour = adm::standardColour(0);
  int pixels = adm::standardFontPixels(kADMDialogFont);
  cairo_save(cairo);
  cairo_set_line_width(cairo, 1);
  size_t next = from;
  while (next < ops.size()) {
    const adm::DrawOp& op = ops[next++];
    const ADMRect& r = op.rect;
    switch (op.kind) {
      case Kind::Clear:
        setColour(cairo, kDialogBackground);
        cairo_paint(cairo);
        break;
      case Kind::Color:
        colour = adm::standardColour(op.value);
        break;
      case Kind::Font:
        pixels = adm::standardFontPixels(op.value);
        break;
      case Kind::FrameRect:
        // A one-pixel outline inside the rectangle, whose bottom and right are exclusive.
        if (r.right - r.left >= 1 && r.bottom - r.top >= 1) {
          setColour(cairo, colour);
          cairo_rectangle(cairo, r.left + 0.5, r.top + 0.5, r.right - r.left - 1, r.bottom - r.top - 1);
          cairo_stroke(cairo);
        }
        break;
      case Kind::FillRect:
        if (r.right > r.left && r.bottom > r.top) {
          setColour(cairo, colour);
          cairo_rectangle(cairo, r.left, r.top, r.right - r.left, r.bottom - r.top);
          cairo_fill(cairo);
        }
        break;
      case Kind::Line:
        setColour(cairo, colour);
        cairo_set_line_cap(cairo, CAIRO_LINE_CAP_SQUARE);
        cairo_move_to(cairo, op.from.h + 0.5, op.from.v + 0.5);
        cairo_line_to(cairo, op.to.h + 0.5, op.to.v + 0.5);
        cairo_stroke(cairo);
        break;
      case Kind::Text:
        setColour(cairo, colour);
        text(cairo, op.text, op.from.h, op.from.v, pixels, false);
        break;
      case Kind::TextCentered:
        setColour(cairo, colour);
        text(cairo, op.text, (r.left + r.right) / 2.0, adm::centredBaseline(r.top, r.bottom - r.top, pixels), pixels,
             true);
        break;
      case Kind::Icon:
        if (op.image) paintIcon(cairo, *op.image, op.from.h, op.from.v);
        break;
      case Kind::DefaultContent:
        if (untilDefault) {
          cairo_restore(cairo);
          return next;
        }
        break;
    }
  }
  cairo_restore(cairo);
  return next;
}

}  // namespace hostsim::window
