// What draw procedures drew. A drawer is lent to one call of a draw procedure; every
// operation made on it is recorded, in order, so the dialog can be shown afterwards and
// tests can read exactly what was drawn.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "hostapi/ADMSuites.h"
#include "hostsim/core/resources.h"

namespace hostsim::adm {

class Dialog;

struct DrawOp {
  enum class Kind {
    Clear,           // the whole surface, in the dialog's background colour
    Color,           // value: a standard colour
    Font,            // value: a standard font
    FrameRect,       // rect
    FillRect,        // rect
    Line,            // from -> to
    Text,            // text, baseline starting at `from`
    TextCentered,    // text, centred in rect
    Icon,            // icon at `from` (its top left corner)
    DefaultContent,  // the host drew the dialog's items here (a dialog's DefaultDraw)
  };
  explicit DrawOp(Kind k = Kind::Clear) : kind(k) {}

  Kind kind;
  int32_t value = 0;
  ADMRect rect{0, 0, 0, 0};
  ADMPoint from{0, 0};
  ADMPoint to{0, 0};
  std::string text;  // Mac Roman, as the plug-in gave it
  int32_t iconIndex = 0;
  std::shared_ptr<const Resources::Icon> image;  // for Icon
};

// What the standard colours and fonts are, for whoever paints the operations: colour 0 is
// black, 1 white, 16 red, the others grey; font 13 is a small interface font (10 pixels)
// whose lines fit 12 pixels, the others are 11 pixels.
const char* standardColour(int32_t colour);  // "#rrggbb"
int standardFontPixels(int32_t font);
// The baseline that centres one line of `pixels` in a band of `height` pixels from `top`.
inline double centredBaseline(double top, double height, int pixels) { return top + height / 2 + pixels * 0.36; }

// One line per operation, UTF-8, for tests and reports: "frame 0 0 143 123",
// "text 11,24 «Nom»", "icon 1000/0 at 0,0".
std::string describe(const DrawOp& op);
std::vector<std::string> describe(const std::vector<DrawOp>& ops);

// One call of a draw procedure.
struct DrawCall {
  std::optional<int32_t> itemID;  // nothing: the dialog's own draw procedure
  std::vector<DrawOp> ops;
};

// The surface lent to a draw procedure; valid during that call only.
struct Drawer {
  Dialog* dialog = nullptr;
  std::optional<int32_t> itemID;
  std::vector<DrawOp> ops;
};

// An icon from the plug-in's resources, as handed to the plug-in.
struct Icon {
  int32_t id = 0;
  int32_t index = 0;
  std::shared_ptr<const Resources::Icon> image;
  Dialog* owner = nullptr;  // the dialog open when it was obtained; it reclaims the icon
};

// A notification sent to an item's notify procedure; valid during that call only.
struct Notification {
  std::string type;
};

}  // namespace hostsim::adm
