// The host's document, modelled over the SVG tree itself.
//
// Everything the host shows the plug-in (artboards, bleed, layers, groups,
// point texts, tags) is read from and written to the SVG elements; whatever
// the host does not model is never touched, and saving gives back the file's
// own bytes for every part that was not edited.
//
// Host coordinates are points (1/72 in) with y growing upward, origin at the
// bottom-left corner of the viewBox:
//   h = (x - viewBox.x) * sx,  v = (viewBox.height - (y - viewBox.y)) * sy
// where sx, sy are points per user unit from the root's width and height.
// Transforms of the enclosing groups are honoured.
//
// Art handles are stable numbers, never reused (not even across documents):
// a handle stays valid until its element or an ancestor is disposed of.
// Operations given an invalid handle throw InvalidArtError.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "color.h"
#include "geometry.h"
#include "text_metrics.h"

namespace hostsim {

class ByteSink;

inline constexpr char kSvgNamespace[] = "http://www.w3.org/2000/svg";
inline constexpr char kInkscapeNamespace[] = "http://www.inkscape.org/namespaces/inkscape";
inline constexpr char kSodipodiNamespace[] = "http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd";

// A file or text that cannot be a document; the message names it and says why.
class DocumentError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A handle that names no art (or layer) of this document.
class InvalidArtError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

struct ArtHandle {
  std::uint64_t id = 0;
  explicit operator bool() const { return id != 0; }
  friend bool operator==(const ArtHandle&, const ArtHandle&) = default;
};

struct LayerHandle {
  std::uint64_t id = 0;
  explicit operator bool() const { return id != 0; }
  friend bool operator==(const LayerHandle&, const LayerHandle&) = default;
};

enum class ArtKind {
  LayerGroup,  // a layer's own <g>: the first art of the layer
  Group,       // any other <g>
  PointText,   // <text>
  Other,       // anything else, kept as it is
};

// Where new art goes, relative to a reference art.
enum class Placement { InsideOnTop, InsideOnBottom, Above, Below };
enum class LayerPlacement { Above, Below, AboveAll, BelowAll };
enum class LockFilter { Any, Unlocked, Locked };
enum class Justification { Left, Right, Center };

// A point text's character and paragraph attributes, in points.
struct TextStyle {
  FontRef font;
  double sizePt = 12;
  Justification justification = Justification::Left;
  Rgb fill;                        // black
  double tracking = 0;             // thousandths of an em
  double baselineShiftPt = 0;      // upward
  std::optional<double> leadingPt; // empty: automatic
  double startIndentPt = 0;        // kept with the text; a point text is one line
  double firstLineIndentPt = 0;
  friend bool operator==(const TextStyle&, const TextStyle&) = default;
};

struct Tag {
  std::string type;  // "string" unless set otherwise
  std::string value;
  friend bool operator==(const Tag&, const Tag&) = default;
};

struct PageSize {
  double width = 0;  // points
  double height = 0;
};

class Document {
 public:
  // Throws DocumentError: unreadable file, malformed XML, root not <svg>, no
  // usable size, or an artboard (page) without area.
  static Document load(const std::filesystem::path& file);
  static Document parse(std::string_view svg, std::string name = "<memory>");
  // A never-saved document whose artboards stand side by side, 20 pt apart,
  // tops aligned; user units are points. It has one layer, "Layer 1".
  static Document create(const std::vector<PageSize>& artboards);

  Document(Document&&) noexcept;
  Document& operator=(Document&&) noexcept;
  ~Document();

  // --- File -------------------------------------------------------------
  // Where the document was loaded from or last saved to; empty if never saved.
  const std::optional<std::filesystem::path>& location() const;
  // The file the document stands for when it was opened from a copy; empty: never saved.
  void setLocation(std::optional<std::filesystem::path> file);
  bool modified() const;
  // Whether saveAs writes the file gzip-compressed (.svgz): as loaded, until set.
  bool compressed() const;
  void setCompressed(bool compressed);
  // The file's text. Its canvas (the viewBox) holds every page with its bleed and, given a
  // measurer, every text added since loading, so that a viewer showing only the viewBox
  // shows them all.
  std::string toString(TextMeasurer* measurer = nullptr) const;
  // The same bytes, handed to `sink` as they are produced.
  void write(ByteSink& sink, TextMeasurer* measurer = nullptr) const;
  // Atomic (temporary file in the same folder, fsync, rename); the document
  // then lives at `file`. Throws std::runtime_error naming the file.
  void saveAs(const std::filesystem::path& file, TextMeasurer* measurer = nullptr);
  void save(TextMeasurer* measurer = nullptr);  // to location(); throws std::logic_error if never saved

  // --- Artboards and bleed ---------------------------------------------
  Rect viewport() const;  // the viewBox in host points
  // Each inkscape:page in document order, or the viewport when there is none.
  int artboardCount() const;
  Rect artboard(int index) const;  // throws std::out_of_range
  int activeArtboard() const;      // 0 when loaded
  void setActiveArtboard(int index);
  // Left, top, right, bottom distances in points, from the first page's bleed.
  Rect bleed() const;
  // Writes "T R B L" (user units) to every page; adds a page over the
  // viewport when there is none and the bleed is not zero. Throws
  // std::invalid_argument for negative or non-finite values.
  void setBleed(const Rect& bleed);

  // --- Layers -------------------------------------------------------------
  // Layers are the <g inkscape:groupmode="layer"> children of the root;
  // index 0 is the topmost, the last one in document order.
  int layerCount() const;
  LayerHandle layer(int index) const;  // throws std::out_of_range
  std::optional<int> layerIndex(LayerHandle layer) const;
  bool valid(LayerHandle layer) const;
  // The layer named by the namedview's inkscape:current-layer, else the
  // topmost layer when loaded; none in a document without layers.
  LayerHandle currentLayer() const;
  void setCurrentLayer(LayerHandle layer);
  // `relativeTo` is ignored for AboveAll and BelowAll. The new layer gets a
  // unique id; in a document without layers it becomes the current layer.
  LayerHandle insertLayer(LayerHandle relativeTo, LayerPlacement placement);
  std::string layerTitle(LayerHandle layer) const;  // UTF-8, from inkscape:label
  void setLayerTitle(LayerHandle layer, std::string_view utf8);
  bool layerLocked(LayerHandle layer) const;
  bool layerHidden(LayerHandle layer) const;
  bool layerEditable(LayerHandle layer) const;  // neither locked nor hidden
  void setLayerLocked(LayerHandle layer, bool locked);
  void setLayerHidden(LayerHandle layer, bool hidden);
  ArtHandle layerGroup(LayerHandle layer) const;  // the layer's first art
  LayerHandle layerOf(ArtHandle art) const;       // none outside layers

  // --- Art ----------------------------------------------------------------
  bool valid(ArtHandle art) const;
  ArtKind kind(ArtHandle art) const;
  // Children exist for layer groups and groups only (a text's tspans are not art).
  ArtHandle firstChild(ArtHandle art) const;
  ArtHandle nextSibling(ArtHandle art) const;
  ArtHandle parent(ArtHandle art) const;  // none for a layer group or root-level art
  // Locked: the art's own sodipodi:insensitive="true" or any ancestor's.
  // Hidden: display:none or visibility:hidden on the art or any ancestor.
  bool locked(ArtHandle art) const;
  bool hidden(ArtHandle art) const;
  void setLocked(ArtHandle art, bool locked);  // the art's own attribute
  void setHidden(ArtHandle art, bool hidden);
  // Inside placements need a (layer) group; Above and Below need art inside
  // a group or layer. Throws std::invalid_argument otherwise. The model does
  // not refuse locked containers: whether to is the host suites' decision.
  ArtHandle newGroup(ArtHandle reference, Placement placement);
  ArtHandle newPointText(ArtHandle reference, Placement placement, Point anchor);
  // Removes the element and its subtree; their handles become invalid.
  void dispose(ArtHandle art);
  // A text moves its x/y; other art gets a translate() before its transform.
  void translate(ArtHandle art, double dh, double dv);
  // All art in document order, layer groups included, in layers or not
  // (never inside defs, metadata, the namedview and other non-rendered
  // parts, nor a text's tspans).
  std::vector<ArtHandle> allArt() const;
  // The same, of one kind and lock state.
  std::vector<ArtHandle> matchingArt(ArtKind kind, LockFilter filter) const;

  // Tags live in data-tag-NAME="value" attributes (plus data-tagtype-NAME
  // when the type is not "string"). Names: letters, digits, '_', '-', '.'.
  void setTag(ArtHandle art, std::string_view name, std::string_view value,
              std::string_view type = "string");
  std::optional<Tag> tag(ArtHandle art, std::string_view name) const;

  // --- Point texts (throw std::invalid_argument for other art) ------------
  Point textAnchor(ArtHandle text) const;
  void setTextAnchor(ArtHandle text, Point anchor);
  std::string text(ArtHandle text) const;  // UTF-8
  // Characters XML cannot hold, and ill-formed UTF-8, become '?'.
  void setText(ArtHandle text, std::string_view utf8);
  std::string textMacRoman(ArtHandle text) const;
  void setTextMacRoman(ArtHandle text, std::string_view macRoman);
  TextStyle textStyle(ArtHandle text) const;
  void setTextStyle(ArtHandle text, const TextStyle& style);
  // Host rectangle of the set text, as one line: advances (and kerning) from
  // the font, ascent and descent of the face, placed around the anchor by the
  // justification. An empty text is an empty rectangle at its anchor. The
  // measurer's errors (no font at all) pass through.
  Rect textBounds(ArtHandle text, TextMeasurer& measurer) const;

  // The element's id attribute, or "" (for messages and tests).
  std::string elementId(ArtHandle art) const;
  // The element's local name ("path", "rect", "text"...), without a prefix.
  std::string elementName(ArtHandle art) const;

  struct Impl;

 private:
  explicit Document(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace hostsim
