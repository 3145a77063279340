#include "hostsim/adm/render.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

#include <pugixml.hpp>

#include "hostsim/model/atomic_file.h"
#include "hostsim/model/mac_roman.h"

namespace hostsim::adm {

namespace {

constexpr int kTitleBar = 22;
constexpr int kBorder = 1;

constexpr const char* kBackground = "#ececec";
constexpr const char* kFace = "#ffffff";
constexpr const char* kButtonFace = "#f7f7f7";
constexpr const char* kEdge = "#8c8c8c";
constexpr const char* kInk = "#1a1a1a";
constexpr const char* kGreyInk = "#a0a0a0";
constexpr const char* kFocus = "#5b9dd9";

std::string num(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%g", value);
  return buffer;
}

// What SVG can hold: UTF-8 without the control characters XML forbids.
std::string shown(const std::string& macRoman) {
  std::string text = macRomanToUtf8(macRoman);
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  return text;
}

class Painter {
 public:
  explicit Painter(pugi::xml_node parent) : node_(parent) {}

  pugi::xml_node node() const { return node_; }

  pugi::xml_node group(const std::string& cls) {
    pugi::xml_node g = node_.append_child("g");
    if (!cls.empty()) g.append_attribute("class") = cls.c_str();
    return g;
  }

  pugi::xml_node rect(double x, double y, double w, double h, const char* fill, const char* stroke = nullptr,
                      double rx = 0) {
    pugi::xml_node r = node_.append_child("rect");
    r.append_attribute("x") = num(x).c_str();
    r.append_attribute("y") = num(y).c_str();
    r.append_attribute("width") = num(std::max(w, 0.0)).c_str();
    r.append_attribute("height") = num(std::max(h, 0.0)).c_str();
    if (rx > 0) r.append_attribute("rx") = num(rx).c_str();
    r.append_attribute("fill") = fill != nullptr ? fill : "none";
    if (stroke != nullptr) r.append_attribute("stroke") = stroke;
    return r;
  }

  pugi::xml_node path(const std::string& d, const char* fill, const char* stroke = nullptr) {
    pugi::xml_node p = node_.append_child("path");
    p.append_attribute("d") = d.c_str();
    p.append_attribute("fill") = fill != nullptr ? fill : "none";
    if (stroke != nullptr) p.append_attribute("stroke") = stroke;
    return p;
  }

  pugi::xml_node text(double x, double y, const std::string& utf8, const char* fill, int size,
                      const char* anchor = nullptr) {
    pugi::xml_node t = node_.append_child("text");
    t.append_attribute("x") = num(x).c_str();
    t.append_attribute("y") = num(y).c_str();
    t.append_attribute("fill") = fill;
    t.append_attribute("font-size") = size;
    if (anchor != nullptr) t.append_attribute("text-anchor") = anchor;
    t.append_child(pugi::node_pcdata).set_value(utf8.c_str());
    return t;
  }

 private:
  pugi::xml_node node_;
};

// Puts an icon's image with its top left corner at (x, y): the resource holds SVG markup of
// the icon's size, a whole <svg> element or its contents.
void placeIcon(pugi::xml_node parent, const Resources::Icon& image, int x, int y) {
  pugi::xml_document icon;
  pugi::xml_parse_result parsed = icon.load_string(image.svg.c_str(), pugi::parse_default | pugi::parse_fragment);
  pugi::xml_node root = icon.first_child();
  while (root && root.type() != pugi::node_element) root = root.next_sibling();
  if (!parsed) {
    Painter(parent).rect(x, y, image.width, image.height, "#c0c0c0")
        .append_attribute("class") = "missing-icon";
    return;
  }
  pugi::xml_node svg;
  bool whole = root && std::string(root.name()) == "svg" && !root.next_sibling(root.name());
  if (whole) {
    svg = parent.append_copy(root);
  } else {
    svg = parent.append_child("svg");
    svg.append_attribute("viewBox") = ("0 0 " + std::to_string(image.width) + " " + std::to_string(image.height)).c_str();
    for (pugi::xml_node n : icon.children()) svg.append_copy(n);
  }
  for (const char* name : {"x", "y", "width", "height"}) svg.remove_attribute(name);
  svg.append_attribute("x") = x;
  svg.append_attribute("y") = y;
  svg.append_attribute("width") = image.width;
  svg.append_attribute("height") = image.height;
  svg.append_attribute("class") = "icon";
}

// Replays recorded drawing operations in the coordinates of a surface of width x height,
// keeping the drawer's colour and font from one run to the next.
class Replayer {
 public:
  Replayer(const std::vector<DrawOp>& ops, int width, int height) : ops_(ops), width_(width), height_(height) {}

  bool done() const { return next_ >= ops_.size(); }

  // Draws into `parent` up to the end or to the next DefaultContent marker (passed over).
  void run(pugi::xml_node parent) {
    Painter p(parent);
    while (next_ < ops_.size()) {
      const DrawOp& op = ops_[next_++];
      const ADMRect& r = op.rect;
      switch (op.kind) {
        case DrawOp::Kind::Clear:
          p.rect(0, 0, width_, height_, kBackground);
          break;
        case DrawOp::Kind::Color:
          colour_ = standardColour(op.value);
          break;
        case DrawOp::Kind::Font:
          size_ = standardFontPixels(op.value);
          break;
        case DrawOp::Kind::FrameRect:
          // A one-pixel outline inside the rectangle, whose bottom and right are exclusive.
          if (r.right - r.left >= 1 && r.bottom - r.top >= 1)
            p.rect(r.left + 0.5, r.top + 0.5, r.right - r.left - 1, r.bottom - r.top - 1, nullptr, colour_);
          break;
        case DrawOp::Kind::FillRect:
          if (r.right > r.left && r.bottom > r.top) p.rect(r.left, r.top, r.right - r.left, r.bottom - r.top, colour_);
          break;
        case DrawOp::Kind::Line: {
          pugi::xml_node l = parent.append_child("line");
          l.append_attribute("x1") = num(op.from.h + 0.5).c_str();
          l.append_attribute("y1") = num(op.from.v + 0.5).c_str();
          l.append_attribute("x2") = num(op.to.h + 0.5).c_str();
          l.append_attribute("y2") = num(op.to.v + 0.5).c_str();
          l.append_attribute("stroke") = colour_;
          l.append_attribute("stroke-linecap") = "square";
          break;
        }
        case DrawOp::Kind::Text:
          p.text(op.from.h, op.from.v, shown(op.text), colour_, size_);
          break;
        case DrawOp::Kind::TextCentered:
          p.text((r.left + r.right) / 2.0, centredBaseline(r.top, r.bottom - r.top, size_), shown(op.text), colour_,
                 size_, "middle");
          break;
        case DrawOp::Kind::Icon:
          if (op.image) placeIcon(parent, *op.image, op.from.h, op.from.v);
          break;
        case DrawOp::Kind::DefaultContent:
          return;
      }
    }
  }

 private:
  const std::vector<DrawOp>& ops_;
  int width_;
  int height_;
  size_t next_ = 0;
  const char* colour_ = standardColour(0);
  int size_ = standardFontPixels(kADMDialogFont);
};

std::string unitsSuffix(int32_t units) { return units == kADMPointUnits ? " pt" : ""; }

std::string spinText(const Item& item) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.2f", static_cast<double>(item.floatValue()));
  std::string text = buffer;
  while (!text.empty() && text.back() == '0') text.pop_back();
  if (!text.empty() && text.back() == '.') text.pop_back();
  return text + unitsSuffix(item.units());
}

void downArrow(Painter& p, double cx, double cy, const char* ink) {
  p.path("M" + num(cx - 3.5) + "," + num(cy - 2) + " L" + num(cx + 3.5) + "," + num(cy - 2) + " L" + num(cx) + "," +
             num(cy + 2) + " Z",
         ink);
}

void upArrow(Painter& p, double cx, double cy, const char* ink) {
  p.path("M" + num(cx - 3.5) + "," + num(cy + 2) + " L" + num(cx + 3.5) + "," + num(cy + 2) + " L" + num(cx) + "," +
             num(cy - 2) + " Z",
         ink);
}

// The host's own look of an item, in item-local coordinates.
void drawWidget(Painter& p, const Item& item) {
  const int w = item.bounds().right - item.bounds().left;
  const int h = item.bounds().bottom - item.bounds().top;
  const char* ink = item.enabled() ? kInk : kGreyInk;
  const int size = standardFontPixels(item.font());
  const double baseline = centredBaseline(0, h, size);
  const std::string label = shown(item.shownText());

  switch (item.kind()) {
    case ItemKind::CheckBox: {
      double top = (h - 12) / 2.0;
      p.rect(0.5, top + 0.5, 11, 11, kFace, ink, 2);
      if (item.value())
        p.path("M2.5," + num(top + 6.5) + " L5," + num(top + 9.5) + " L9.5," + num(top + 3), nullptr, ink)
            .append_attribute("stroke-width") = 1.8;
      p.text(16, baseline, label, ink, size);
      break;
    }
    case ItemKind::RadioButton: {
      pugi::xml_node c = p.node().append_child("circle");
      c.append_attribute("cx") = 6;
      c.append_attribute("cy") = num(h / 2.0).c_str();
      c.append_attribute("r") = 5.5;
      c.append_attribute("fill") = kFace;
      c.append_attribute("stroke") = ink;
      if (item.value()) {
        pugi::xml_node dot = p.node().append_child("circle");
        dot.append_attribute("cx") = 6;
        dot.append_attribute("cy") = num(h / 2.0).c_str();
        dot.append_attribute("r") = 2.5;
        dot.append_attribute("fill") = ink;
      }
      p.text(16, baseline, label, ink, size);
      break;
    }
    case ItemKind::PushButton: {
      bool isDefault = item.id() == kADMDefaultItemID;
      pugi::xml_node r = p.rect(0.5, 0.5, w - 1, h - 1, kButtonFace, isDefault && item.enabled() ? kFocus : kEdge, 4);
      if (isDefault) r.append_attribute("stroke-width") = 2;
      p.text(w / 2.0, baseline, label, ink, size, "middle");
      break;
    }
    case ItemKind::PictureButton:
      p.rect(0.5, 0.5, w - 1, h - 1, kButtonFace, kEdge, 2);
      break;
    case ItemKind::TextStatic: {
      const char* anchor = item.justify() == 1 ? "middle" : item.justify() == 2 ? "end" : nullptr;
      double x = item.justify() == 1 ? w / 2.0 : item.justify() == 2 ? w : 0;
      p.text(x, baseline, label, ink, size, anchor);
      break;
    }
    case ItemKind::TextEdit:
      p.rect(0.5, 0.5, w - 1, h - 1, kFace, kEdge);
      p.text(4, baseline, label, ink, size);
      break;
    case ItemKind::ScrollingPopup:
      p.rect(0.5, 0.5, w - 18.5, h - 1, kFace, kEdge);
      p.rect(w - 18.5, 0.5, 18, h - 1, kButtonFace, kEdge, 2);
      downArrow(p, w - 9.5, h / 2.0, ink);
      p.text(4, baseline, label, ink, size);
      break;
    case ItemKind::SpinEdit:
      p.rect(0.5, 0.5, w - 14.5, h - 1, kFace, kEdge);
      p.rect(w - 14.5, 0.5, 14, h - 1, kButtonFace, kEdge, 2);
      upArrow(p, w - 7.5, h / 2.0 - 4, ink);
      downArrow(p, w - 7.5, h / 2.0 + 4, ink);
      p.text(4, baseline, spinText(item), ink, size);
      break;
    case ItemKind::PopupList:
      p.rect(0.5, 0.5, w - 1, h - 1, kButtonFace, kEdge, 4);
      upArrow(p, w - 10, h / 2.0 - 3, ink);
      downArrow(p, w - 10, h / 2.0 + 3, ink);
      p.text(8, baseline, label, ink, size);
      break;
  }
}

void drawItem(pugi::xml_node content, pugi::xml_node defs, const Item& item) {
  const ADMRect& b = item.bounds();
  const int w = b.right - b.left;
  const int h = b.bottom - b.top;
  std::string id = "item-" + std::to_string(item.id());

  pugi::xml_node clip = defs.append_child("clipPath");
  clip.append_attribute("id") = ("clip-" + id).c_str();
  Painter(clip).rect(0, 0, w, h, kFace);

  pugi::xml_node g = content.append_child("g");
  g.append_attribute("id") = id.c_str();
  std::string cls = kindName(item.kind());
  std::replace(cls.begin(), cls.end(), ' ', '-');
  if (!item.enabled()) cls += " disabled";
  g.append_attribute("class") = cls.c_str();
  g.append_attribute("transform") = ("translate(" + std::to_string(b.left) + "," + std::to_string(b.top) + ")").c_str();
  g.append_attribute("clip-path") = ("url(#clip-" + id + ")").c_str();
  if (!item.tip().empty()) g.append_child("title").append_child(pugi::node_pcdata).set_value(shown(item.tip()).c_str());

  Painter p(g);
  // A draw procedure replaces the host's drawing of its item.
  if (item.drawProc() != nullptr) {
    Replayer replayer(item.drawing(), w, h);
    while (!replayer.done()) replayer.run(g);
  } else {
    drawWidget(p, item);
  }

  if (item.dialog().activeItem() == &item) {
    pugi::xml_node ring = Painter(content).rect(b.left - 1, b.top - 1, w + 2, h + 2, nullptr, kFocus, 3);
    ring.append_attribute("stroke-width") = 2;
    ring.append_attribute("class") = "focus";
  }
}

}  // namespace

std::string renderSvg(const Dialog& dialog) {
  const int w = std::max(dialog.width(), 0);
  const int h = std::max(dialog.height(), 0);
  const int totalW = w + 2 * kBorder;
  const int totalH = h + kTitleBar + kBorder;

  pugi::xml_document doc;
  pugi::xml_node decl = doc.append_child(pugi::node_declaration);
  decl.append_attribute("version") = "1.0";
  decl.append_attribute("encoding") = "UTF-8";
  pugi::xml_node svg = doc.append_child("svg");
  svg.append_attribute("xmlns") = "http://www.w3.org/2000/svg";
  svg.append_attribute("width") = totalW;
  svg.append_attribute("height") = totalH;
  svg.append_attribute("viewBox") = ("0 0 " + std::to_string(totalW) + " " + std::to_string(totalH)).c_str();
  svg.append_attribute("font-family") = "DejaVu Sans, Verdana, sans-serif";
  // Texts keep their spaces (a separator " - " is not "-").
  svg.append_attribute("xml:space") = "preserve";
  svg.append_child("title").append_child(pugi::node_pcdata).set_value(dialog.titleLabel().c_str());
  pugi::xml_node defs = svg.append_child("defs");
  pugi::xml_node contentClip = defs.append_child("clipPath");
  contentClip.append_attribute("id") = "clip-content";
  Painter(contentClip).rect(0, 0, w, h, kFace);

  // The window: frame, title bar, title.
  Painter window(svg.append_child("g"));
  window.node().append_attribute("class") = "window";
  window.rect(0.5, 0.5, totalW - 1, totalH - 1, kBackground, "#6e6e6e", 5);
  window.rect(1, 1, totalW - 2, kTitleBar - 1, "#d8d8d8");
  window.text(totalW / 2.0, 15, dialog.titleLabel(), kInk, 12, "middle")
      .append_attribute("font-weight") = "bold";

  pugi::xml_node content = svg.append_child("g");
  content.append_attribute("class") = "content";
  content.append_attribute("transform") = ("translate(" + std::to_string(kBorder) + "," + std::to_string(kTitleBar) + ")").c_str();
  content.append_attribute("clip-path") = "url(#clip-content)";
  Painter(content).rect(0, 0, w, h, kBackground);

  // The dialog's own drawing, with its items where it asked for the default content;
  // items that it never asked for are drawn over it, as child controls are.
  pugi::xml_node before = content.append_child("g");
  before.append_attribute("class") = "dialog-drawing";
  Replayer replayer(dialog.drawing(), w, h);
  replayer.run(before);
  pugi::xml_node items = content.append_child("g");
  items.append_attribute("class") = "items";
  for (const auto& item : dialog.items()) drawItem(items, defs, *item);
  if (!replayer.done()) {
    pugi::xml_node after = content.append_child("g");
    after.append_attribute("class") = "dialog-drawing";
    while (!replayer.done()) replayer.run(after);
  }

  std::ostringstream out;
  doc.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
  return out.str();
}

void saveSvg(const Dialog& dialog, const std::filesystem::path& file) { writeFileAtomically(file, renderSvg(dialog)); }

}  // namespace hostsim::adm
