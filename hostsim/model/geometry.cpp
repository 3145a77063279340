#include "geometry.h"

#include <algorithm>
#include <cmath>

namespace hostsim {

std::optional<Affine> Affine::inverse() const {
  const double det = determinant();
  if (det == 0 || !std::isfinite(det)) return std::nullopt;
  Affine r;
  r.a = d / det;
  r.b = -b / det;
  r.c = -c / det;
  r.d = a / det;
  r.e = -(r.a * e + r.c * f);
  r.f = -(r.b * e + r.d * f);
  return r;
}

Affine Affine::operator*(const Affine& o) const {
  return {a * o.a + c * o.b, b * o.a + d * o.b, a * o.c + c * o.d,
          b * o.c + d * o.d, a * o.e + c * o.f + e, b * o.e + d * o.f + f};
}

Rect boundsOfBox(const Affine& map, double x0, double y0, double x1, double y1) {
  const Point corners[] = {map.apply({x0, y0}), map.apply({x1, y0}), map.apply({x0, y1}),
                           map.apply({x1, y1})};
  Rect r{corners[0].h, corners[0].v, corners[0].h, corners[0].v};
  for (const Point& p : corners) {
    r.left = std::min(r.left, p.h);
    r.right = std::max(r.right, p.h);
    r.bottom = std::min(r.bottom, p.v);
    r.top = std::max(r.top, p.v);
  }
  return r;
}

}  // namespace hostsim
