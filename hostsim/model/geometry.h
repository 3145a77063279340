// Points, rectangles and affine maps in host coordinates.
//
// Host coordinates are points (1/72 inch) with y growing upward; document
// rectangles are left, top, right, bottom with top > bottom.
#pragma once

#include <optional>

namespace hostsim {

struct Point {
  double h = 0;
  double v = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

// x' = a*x + c*y + e, y' = b*x + d*y + f (the SVG matrix(a b c d e f) order).
struct Affine {
  double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;

  static Affine translate(double tx, double ty) { return {1, 0, 0, 1, tx, ty}; }
  static Affine scale(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }

  Point apply(Point p) const { return {a * p.h + c * p.v + e, b * p.h + d * p.v + f}; }
  // The linear part only: for moving by a distance rather than to a place.
  Point applyLinear(Point p) const { return {a * p.h + c * p.v, b * p.h + d * p.v}; }
  double determinant() const { return a * d - b * c; }
  std::optional<Affine> inverse() const;

  // (this * other)(p) == this(other(p)).
  Affine operator*(const Affine& other) const;
  friend bool operator==(const Affine&, const Affine&) = default;
};

// The smallest rectangle (host order, top > bottom) holding the image of a
// local box [x0, x1] x [y0, y1] under a map.
Rect boundsOfBox(const Affine& map, double x0, double y0, double x1, double y1);

}  // namespace hostsim
