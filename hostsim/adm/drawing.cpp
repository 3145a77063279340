#include "hostsim/adm/drawing.h"

#include "hostsim/model/mac_roman.h"

namespace hostsim::adm {

namespace {

std::string rect(const ADMRect& r) {
  return std::to_string(r.top) + " " + std::to_string(r.left) + " " + std::to_string(r.bottom) + " " +
         std::to_string(r.right);
}

std::string point(const ADMPoint& p) { return std::to_string(p.v) + "," + std::to_string(p.h); }

}  // namespace

const char* standardColour(int32_t colour) {
  switch (colour) {
    case 0:
      return "#000000";
    case 1:
      return "#ffffff";
    case 16:
      return "#ff0000";
    default:
      return "#808080";
  }
}

int standardFontPixels(int32_t font) { return font == kADMPaletteFont ? 10 : 11; }

std::string describe(const DrawOp& op) {
  switch (op.kind) {
    case DrawOp::Kind::Clear:
      return "clear";
    case DrawOp::Kind::Color:
      return "colour " + std::to_string(op.value);
    case DrawOp::Kind::Font:
      return "font " + std::to_string(op.value);
    case DrawOp::Kind::FrameRect:
      return "frame " + rect(op.rect);
    case DrawOp::Kind::FillRect:
      return "fill " + rect(op.rect);
    case DrawOp::Kind::Line:
      return "line " + point(op.from) + " " + point(op.to);
    case DrawOp::Kind::Text:
      return "text " + point(op.from) + " «" + macRomanToUtf8(op.text) + "»";
    case DrawOp::Kind::TextCentered:
      return "centred " + rect(op.rect) + " «" + macRomanToUtf8(op.text) + "»";
    case DrawOp::Kind::Icon:
      return "icon " + std::to_string(op.value) + "/" + std::to_string(op.iconIndex) + " at " + point(op.from);
    case DrawOp::Kind::DefaultContent:
      return "default";
  }
  return "?";
}

std::vector<std::string> describe(const std::vector<DrawOp>& ops) {
  std::vector<std::string> lines;
  lines.reserve(ops.size());
  for (const auto& op : ops) lines.push_back(describe(op));
  return lines;
}

}  // namespace hostsim::adm
