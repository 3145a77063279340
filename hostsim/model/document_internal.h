// Shared by the document_*.cpp files only.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <pugixml.hpp>

#include "document.h"
#include "xml_source.h"

namespace hostsim {

// Calls visit(node, depth) for every node below `top` in document order, its children at
// depth 0. pugixml walks without recursion, as a file may nest deeper than a stack holds.
template <typename Visit>
void forEachBelow(pugi::xml_node top, Visit&& visit) {
  struct Walker final : pugi::xml_tree_walker {
    explicit Walker(Visit& v) : visit(v) {}
    bool for_each(pugi::xml_node& node) override {
      visit(node, depth());
      return true;
    }
    Visit& visit;
  } walker(visit);
  top.traverse(walker);
}

// The properties a point text's style is read from, and what one element says of them: a
// style declaration (the last one of a name) stands before the presentation attribute.
enum StyleProperty {
  kFontFamily, kFontWeight, kFontStyle, kFontSize, kTextAnchor,
  kFill, kLetterSpacing, kBaselineShift, kLineHeight, kStylePropertyCount
};
inline constexpr std::string_view kStylePropertyNames[kStylePropertyCount] = {
    "font-family", "font-weight",    "font-style",     "font-size",   "text-anchor",
    "fill",        "letter-spacing", "baseline-shift", "line-height"};
struct OwnStyle {
  std::array<std::optional<std::string_view>, kStylePropertyCount> style;  // views into the tree
  std::array<std::optional<std::string_view>, kStylePropertyCount> attribute;
  // What the host keeps beside a text's style: its font's name and its indents.
  std::string_view font, startIndent, firstLineIndent;

  std::optional<std::string_view> own(StyleProperty property) const {
    return style[property] ? style[property] : attribute[property];
  }
};

// What an element passes on to what it holds: each property as CSS would find it (its own,
// else its parent's, and so on; "inherit" passes the question up) and its font size in user
// units (CSS "medium" at the top).
struct InheritedStyle {
  std::array<std::optional<std::string_view>, kStylePropertyCount> computed;
  double fontSizeUser = 16;
};

// A point text's style as read, in points, and its font size in its own user units.
struct ReadTextStyle {
  TextStyle style;
  double sizeUser = 0;
};

// A style attribute's text split into its declarations, each with the style property it
// sets (-1 for any other): what the host's last edit of a text's style wrote. A property
// `set` then has one declaration ("name:value") or none.
struct SplitStyle {
  struct Part {
    std::uint32_t begin = 0, size = 0;  // in `text`
    int property = -1;
  };
  std::string text;
  std::vector<Part> parts;
  std::array<bool, kStylePropertyCount> set{};
};

// A name as pugixml takes it, NUL-terminated; copied on the stack when short, as names are.
class NulTerminated {
 public:
  explicit NulTerminated(std::string_view text) {
    if (text.size() < sizeof small_) {
      text.copy(small_, text.size());
      small_[text.size()] = '\0';
      text_ = small_;
    } else {
      large_.assign(text);
      text_ = large_.c_str();
    }
  }
  NulTerminated(const NulTerminated&) = delete;
  NulTerminated& operator=(const NulTerminated&) = delete;
  const char* c_str() const { return text_; }

 private:
  char small_[64];
  std::string large_;
  const char* text_;
};

struct Viewport {
  double x = 0, y = 0, width = 0, height = 0;  // the viewBox, user units
  double sx = 0.75, sy = 0.75;                 // points per user unit
};

struct Document::Impl {
  // Throws DocumentError, as Document::parse.
  static std::unique_ptr<Impl> parse(std::string text, std::string name);

  pugi::xml_document xml;
  std::unique_ptr<SourceLayout> layout;  // null: plain serialisation
  std::string original;                  // the text parsed, which the layout copies from
  std::string sourceName;                // for messages
  std::optional<std::filesystem::path> location;
  Viewport viewport;
  // The root's sizes as loaded (empty when absent), and whether fitCanvas changed them.
  std::string givenWidth, givenHeight, givenViewBox;
  bool canvasGrown = false;
  Affine userToHost;
  std::uint64_t currentLayer = 0;
  int activeArtboard = 0;
  bool modified = false;  // unsaved changes
  bool edited = false;    // the tree differs from `original`

  mutable std::unordered_map<std::uint64_t, pugi::xml_node_struct*> nodeById;
  mutable std::unordered_map<pugi::xml_node_struct*, std::uint64_t> idByNode;

  // The id attributes in the tree, counted (a file may repeat one), and for each stem the
  // number below which every stem+n is taken; filled on the first uniqueId, then kept up
  // to date by the edits, so that adding thousands of elements stays linear.
  mutable bool idsCounted = false;
  mutable std::unordered_map<std::string, int> idCount;
  mutable std::unordered_map<std::string, int> firstFreeNumber;
  void idAdded(std::string_view id) const;
  void idRemoved(std::string_view id) const;

  // --- handles ---
  std::uint64_t handleOf(pugi::xml_node node) const;  // 0 for a null node
  pugi::xml_node nodeOf(std::uint64_t id) const;      // null if unknown
  pugi::xml_node art(ArtHandle handle) const;         // throws InvalidArtError
  pugi::xml_node layer(LayerHandle handle) const;     // throws InvalidArtError
  pugi::xml_node text(ArtHandle handle) const;        // also throws if not a text

  // --- names and namespaces ---
  pugi::xml_node root() const { return xml.document_element(); }
  static const char* namespaceOf(pugi::xml_node scope, std::string_view prefix);
  static bool isElement(pugi::xml_node node, std::string_view ns, std::string_view local);
  static bool isSvg(pugi::xml_node node, std::string_view local);
  static pugi::xml_attribute attribute(pugi::xml_node node, std::string_view ns,
                                       std::string_view local);
  // The qualified name to write an attribute of that namespace under, declaring
  // the namespace on the root (with `prefix`, or a free variant) if needed.
  std::string qualifiedName(std::string_view ns, std::string_view local, std::string_view prefix);

  // --- the tree (every edit goes through these, to keep the layout true) ---
  void setAttribute(pugi::xml_node node, std::string_view name, std::string_view value);
  void removeAttribute(pugi::xml_node node, std::string_view name);
  void setAttributeNs(pugi::xml_node node, std::string_view ns, std::string_view local,
                      std::string_view prefix, std::string_view value);
  void removeAttributeNs(pugi::xml_node node, std::string_view ns, std::string_view local);
  void setStyle(pugi::xml_node node, std::string_view property, std::optional<std::string_view> value);
  void removeChildren(pugi::xml_node node);
  void removeNode(pugi::xml_node node);
  // A new element placed like Placement says, indented like its neighbours.
  pugi::xml_node insertElement(pugi::xml_node reference, Placement placement, const char* name);
  std::string uniqueId(std::string_view stem) const;
  std::string svgName(std::string_view local) const;  // with the root's SVG prefix, if any

  // --- structure ---
  bool isLayer(pugi::xml_node node) const;
  std::vector<pugi::xml_node> layersInDocumentOrder() const;
  // Asked on nearly every host call and costly to find (the namespace of the name is looked
  // up on every ancestor), so each element's kind is kept until an edit could change it:
  // a namespace declaration or a groupmode attribute set or removed, or the element gone.
  ArtKind kindOf(pugi::xml_node node) const;
  mutable std::unordered_map<pugi::xml_node_struct*, ArtKind> kinds;
  static bool isRendered(pugi::xml_node node);  // false for defs, metadata, ...
  static bool ownLocked(pugi::xml_node node);
  static bool ownHidden(pugi::xml_node node);

  // --- what the host asks again and again ---
  // Each is kept until an edit could change it; attributeEdited and the removal of nodes
  // (which pugixml may reuse for new ones) keep them true.
  mutable std::unordered_map<pugi::xml_node_struct*, Affine> toHost;  // localToHost
  // Found for every element above a text asked about, as all texts of a group inherit alike.
  mutable std::unordered_map<pugi::xml_node_struct*, InheritedStyle> inheritedStyles;
  mutable std::unordered_map<pugi::xml_node_struct*, ReadTextStyle> textStyles;
  // Good for as long as the element's style attribute still reads as the text kept.
  std::unordered_map<pugi::xml_node_struct*, SplitStyle> splitStyles;
  // A text's anchor in its own coordinates: its x and y, else its first tspan's.
  mutable std::unordered_map<pugi::xml_node_struct*, Point> anchors;
  void attributeEdited(pugi::xml_node node, std::string_view name);
  void forgetCached(pugi::xml_node_struct* node) {
    kinds.erase(node);
    toHost.erase(node);
    inheritedStyles.erase(node);
    textStyles.erase(node);
    splitStyles.erase(node);
    anchors.erase(node);
  }

  // --- geometry ---
  // From the element's own coordinates (its transform included) to host points.
  Affine localToHost(pugi::xml_node node) const;
  // From the coordinates its parent gives it, to host points.
  Affine parentToHost(pugi::xml_node node) const;
  // Found once and kept until an edit that could change them (see pagesMayChange), as
  // the host asks for every artboard in turn.
  const std::vector<pugi::xml_node>& pages() const;
  mutable std::optional<std::vector<pugi::xml_node>> pagesFound;
  // An element added or removed under `parent`, or a namespace declaration changed:
  // pages live in the root's namedview, and their names depend on the declarations.
  void pagesMayChange(pugi::xml_node parent) {
    if (parent == root() || parent.parent() == root()) pagesFound.reset();
  }
  pugi::xml_node namedView() const;
  Rect pageRect(pugi::xml_node page) const;
  // Before writing: the viewBox (and an absolute width and height) widened to every page
  // with its bleed and to the added texts that still exist.
  void fitCanvas(const Document& document, TextMeasurer* measurer);
  std::vector<std::uint64_t> addedTexts;  // point texts made since loading, for fitCanvas

  void touch() { modified = edited = true; }
};

// --- point texts' styles (document_style.cpp) ---

// The property a declaration's name sets (names compare without case), or -1.
int declaredProperty(std::string_view name);

// What one element says of the style properties, read in one pass over its attributes;
// its style attribute is left out when `withStyle` is false.
OwnStyle ownStyleOf(pugi::xml_node n, bool withStyle = true);

// How many host points one of the element's user units spans, for sizes.
inline double scaleOf(const Affine& map) { return std::sqrt(std::abs(map.determinant())); }

// What setTextStyle just wrote a text's declarations from: each reads back as exactly the
// value it was made from (numbers are written so that they do), so needs no parsing.
struct WrittenStyle {
  const TextStyle& style;
  double size;  // the font size written, in user units
};

// The style of a text whose host points are `scale` times its user units, from what it
// says itself (`own`) and what it inherits.
ReadTextStyle textStyleOf(const Document::Impl& impl, pugi::xml_node node, const OwnStyle& own, double scale,
                          const WrittenStyle* written = nullptr);

// A text's style as read, kept until an edit could change it.
const ReadTextStyle& readStyle(const Document::Impl& impl, pugi::xml_node node);

}  // namespace hostsim
