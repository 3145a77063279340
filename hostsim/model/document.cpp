// Loading, saving, the viewport, artboards and bleed.
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <unordered_set>

#include "atomic_file.h"
#include "compressed.h"
#include "document_internal.h"
#include "svg_syntax.h"

namespace hostsim {
namespace {

constexpr double kLargestSizePt = 1e7;  // beyond this a size is a mistake, not a page
// Below this a size is no page either: the host's single-precision values would read it as 0.
constexpr double kSmallestSizePt = 1e-3;
// Where pages may lie, and how far a user unit may stretch or shrink, so that every host
// value (single precision) of the document's geometry stays finite and meaningful.
constexpr double kFarthestPositionPt = 1e8;
constexpr double kLargestScale = 1e6;  // points per user unit, and user units per point
constexpr int kDeepestNesting = 1000;
constexpr double kPageGapPt = 20;
constexpr double kBleedTolerancePt = 1e-4;

std::string inQuotes(std::string_view text) { return "\"" + std::string(text) + "\""; }

DocumentError failure(const std::string& name, const std::string& what) {
  return DocumentError("'" + name + "': " + what);
}

std::pair<std::size_t, std::size_t> lineAndColumn(std::string_view text, std::size_t offset) {
  std::size_t line = 1, column = 1;
  for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
    if (text[i] == '\n') {
      ++line;
      column = 1;
    } else {
      ++column;
    }
  }
  return {line, column};
}

void rejectOtherEncodings(std::string_view svg, const std::string& name) {
  const auto starts = [&](std::string_view prefix) { return svg.substr(0, prefix.size()) == prefix; };
  using namespace std::string_view_literals;
  if (starts("\xFE\xFF"sv) || starts("\xFF\xFE"sv) || starts("\0<"sv) || starts("<\0"sv))
    throw failure(name, "the document is UTF-16 or UTF-32; only UTF-8 documents are supported");
}

// What pugixml lets through but the rest must not meet: nesting deep enough to exhaust the
// stack of the tree's recursive walks (the saver's among them; the limit is far above any
// drawing's), and an attribute written twice on one element, which XML forbids and which
// would let two namespace declarations disagree.
void checkStructure(const pugi::xml_document& xml, std::string_view svg, const std::string& name) {
  const auto line = [&](pugi::xml_node n) {
    return std::to_string(
        lineAndColumn(svg, static_cast<std::size_t>(std::max<std::ptrdiff_t>(n.offset_debug(), 0))).first);
  };
  std::unordered_set<std::string_view> names;
  forEachBelow(xml, [&](pugi::xml_node n, int depth) {
    if (depth > kDeepestNesting)
      throw failure(name, "elements nest more than " + std::to_string(kDeepestNesting) + " levels deep (line " +
                              line(n) + "); no drawing needs that many");
    if (n.type() == pugi::node_element && n.first_attribute() != n.last_attribute()) {
      names.clear();
      for (pugi::xml_attribute a : n.attributes())
        if (!names.insert(a.name()).second)
          throw failure(name, "malformed XML at line " + line(n) + ": the attribute " + inQuotes(a.name()) +
                                  " appears twice on <" + n.name() + ">");
    }
  });
}

// Points for a width or height attribute; nothing when missing or relative
// (percentages, em); throws when present but unusable.
std::optional<double> sizeInPoints(pugi::xml_node root, const char* attributeName,
                                   const std::string& name) {
  const pugi::xml_attribute attribute = root.attribute(attributeName);
  if (!attribute) return std::nullopt;
  const auto length = parseLength(attribute.value());
  if (!length)
    throw failure(name, std::string("the <svg> ") + attributeName + " " + inQuotes(attribute.value()) +
                            " is not a length");
  const auto perUnit = pointsPerUnit(length->unit);
  if (!perUnit) return std::nullopt;
  const double points = length->value * *perUnit;
  if (!(points >= kSmallestSizePt) || points > kLargestSizePt)
    throw failure(name, std::string("the <svg> ") + attributeName + " " + inQuotes(attribute.value()) +
                            " is not a usable size (it must be at least 0.001 pt and at most 1e7 pt)");
  return points;
}

Viewport computeViewport(pugi::xml_node root, const std::string& name) {
  Viewport vp;
  const auto width = sizeInPoints(root, "width", name);
  const auto height = sizeInPoints(root, "height", name);
  const pugi::xml_attribute viewBox = root.attribute("viewBox");
  if (viewBox) {
    const auto numbers = parseNumberList(viewBox.value());
    if (!numbers || numbers->size() != 4)
      throw failure(name, "the viewBox " + inQuotes(viewBox.value()) + " is not four numbers");
    vp.x = (*numbers)[0];
    vp.y = (*numbers)[1];
    vp.width = (*numbers)[2];
    vp.height = (*numbers)[3];
    if (!(vp.width > 0) || !(vp.height > 0))
      throw failure(name, "the viewBox " + inQuotes(viewBox.value()) + " has no area");
    // One given size scales both ways, as a browser keeps the aspect ratio.
    if (width && height) {
      vp.sx = *width / vp.width;
      vp.sy = *height / vp.height;
    } else if (width) {
      vp.sx = vp.sy = *width / vp.width;
    } else if (height) {
      vp.sx = vp.sy = *height / vp.height;
    }
  } else {
    if (!width || !height)
      throw failure(name,
                    "the document has no usable size: without a viewBox, the <svg> element "
                    "needs an absolute width and height");
    // Without a viewBox, user units are CSS pixels.
    vp.width = *width / 0.75;
    vp.height = *height / 0.75;
  }
  const double widthPt = vp.width * vp.sx, heightPt = vp.height * vp.sy;
  if (!std::isfinite(widthPt) || !std::isfinite(heightPt) || !(widthPt >= kSmallestSizePt) ||
      !(heightPt >= kSmallestSizePt) || widthPt > kLargestSizePt || heightPt > kLargestSizePt)
    throw failure(name, "the document's size " + formatNumber(widthPt) + " x " +
                            formatNumber(heightPt) + " pt is not usable");
  for (double scale : {vp.sx, vp.sy})
    if (!(scale >= 1 / kLargestScale) || !(scale <= kLargestScale))
      throw failure(name, "the viewBox " + inQuotes(viewBox.value()) +
                              " makes a user unit " + formatNumber(scale) +
                              " pt: a scale beyond 1e-6 to 1e6 pt per unit is not usable");
  if (!(std::abs(vp.x * vp.sx) <= kFarthestPositionPt) || !(std::abs(vp.y * vp.sy) <= kFarthestPositionPt))
    throw failure(name, "the viewBox " + inQuotes(viewBox.value()) + " lies beyond 1e8 pt from the origin");
  return vp;
}

double pageNumber(pugi::xml_node page, const char* attributeName, double fallback, int index,
                  const std::string& name) {
  const pugi::xml_attribute attribute = page.attribute(attributeName);
  if (!attribute) return fallback;
  const auto value = parseNumber(attribute.value());
  if (!value)
    throw failure(name, "page " + std::to_string(index + 1) + ": " + attributeName + " " +
                            inQuotes(attribute.value()) + " is not a number");
  return *value;
}

// CSS box shorthand: 1 to 4 values, top right bottom left.
std::optional<std::array<double, 4>> parseBox(std::string_view text) {
  const auto values = parseNumberList(text);
  if (!values || values->empty() || values->size() > 4) return std::nullopt;
  for (double v : *values)
    if (v < 0) return std::nullopt;
  const auto& v = *values;
  switch (v.size()) {
    case 1: return std::array<double, 4>{v[0], v[0], v[0], v[0]};
    case 2: return std::array<double, 4>{v[0], v[1], v[0], v[1]};
    case 3: return std::array<double, 4>{v[0], v[1], v[2], v[1]};
    default: return std::array<double, 4>{v[0], v[1], v[2], v[3]};
  }
}

}  // namespace

Document::Document(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Document::Document(Document&&) noexcept = default;
Document& Document::operator=(Document&&) noexcept = default;
Document::~Document() = default;

Document Document::load(const std::filesystem::path& file) {
  std::string bytes;
  try {
    bytes = readFile(file);
  } catch (const std::runtime_error& e) {
    throw DocumentError(e.what());
  }
  // Compressed documents are known by their first bytes, whatever their name.
  const bool compressed = isGzip(bytes);
  if (compressed) {
    try {
      bytes = gunzip(bytes);
    } catch (const std::runtime_error& e) {
      throw failure(file.string(), e.what());
    }
  }
  Document document(Impl::parse(std::move(bytes), file.string()));
  document.impl_->location = file;
  document.impl_->compressed = compressed;
  return document;
}

Document Document::parse(std::string_view svg, std::string name) {
  return Document(Impl::parse(std::string(svg), std::move(name)));
}

// The text is held once, in `original`, for the layout to copy from; pugixml parses its own copy.
std::unique_ptr<Document::Impl> Document::Impl::parse(std::string text, std::string name) {
  auto impl = std::make_unique<Impl>();
  impl->sourceName = std::move(name);
  impl->original = std::move(text);
  const std::string_view svg = impl->original;
  rejectOtherEncodings(svg, impl->sourceName);

  // Comments, PIs, the declaration, the doctype and every space are kept;
  // line ends are left alone so that CRLF files come back as they were.
  const unsigned flags = (pugi::parse_full | pugi::parse_ws_pcdata) & ~pugi::parse_eol;
  const pugi::xml_parse_result result =
      impl->xml.load_buffer(svg.data(), svg.size(), flags, pugi::encoding_utf8);
  if (!result) {
    const auto [line, column] = lineAndColumn(svg, static_cast<std::size_t>(result.offset));
    throw failure(impl->sourceName, "malformed XML at line " + std::to_string(line) + ", column " +
                                  std::to_string(column) + ": " + result.description());
  }
  for (pugi::xml_node node : impl->xml.children()) {
    if (node.type() != pugi::node_declaration) continue;
    const std::string encoding = node.attribute("encoding").value();
    std::string lower;
    for (char c : encoding) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (!lower.empty() && lower != "utf-8" && lower != "utf8")
      throw failure(impl->sourceName, "the document declares the encoding " + inQuotes(encoding) +
                                    "; only UTF-8 documents are supported");
  }
  checkStructure(impl->xml, svg, impl->sourceName);

  const pugi::xml_node root = impl->root();
  if (!root) throw failure(impl->sourceName, "the document has no root element");
  if (!Impl::isSvg(root, "svg"))
    throw failure(impl->sourceName, std::string("the root element is <") + root.name() + ">, not <svg>");

  impl->viewport = computeViewport(root, impl->sourceName);
  impl->givenWidth = root.attribute("width").value();
  impl->givenHeight = root.attribute("height").value();
  impl->givenViewBox = root.attribute("viewBox").value();
  const Viewport& vp = impl->viewport;
  impl->userToHost = {vp.sx, 0, 0, -vp.sy, -vp.x * vp.sx, (vp.height + vp.y) * vp.sy};

  const auto pages = impl->pages();
  for (std::size_t i = 0; i < pages.size(); ++i) {
    const int index = static_cast<int>(i);
    pageNumber(pages[i], "x", 0, index, impl->sourceName);
    pageNumber(pages[i], "y", 0, index, impl->sourceName);
    const double width = pageNumber(pages[i], "width", 0, index, impl->sourceName);
    const double height = pageNumber(pages[i], "height", 0, index, impl->sourceName);
    const std::string page = "page " + std::to_string(i + 1) + " (id " +
                             inQuotes(pages[i].attribute("id").value()) + ")";
    if (!(width > 0) || !(height > 0))
      throw failure(impl->sourceName, page + " has no area: width " + formatNumber(width) + ", height " +
                                          formatNumber(height));
    const Rect rect = impl->pageRect(pages[i]);
    for (double edge : {rect.left, rect.top, rect.right, rect.bottom})
      if (!(std::abs(edge) <= kFarthestPositionPt))
        throw failure(impl->sourceName, page + " lies beyond 1e8 pt from the origin");
    const double widthPt = rect.right - rect.left, heightPt = rect.top - rect.bottom;
    if (!(widthPt >= kSmallestSizePt) || !(heightPt >= kSmallestSizePt) || !(widthPt <= kLargestSizePt) ||
        !(heightPt <= kLargestSizePt))
      throw failure(impl->sourceName, page + " is " + formatNumber(widthPt) + " x " + formatNumber(heightPt) +
                                          " pt: a page must be at least 0.001 pt and at most 1e7 pt wide and high");
    // A bleed the host could not hold would come back as infinity.
    if (const auto box = parseBox(pages[i].attribute("bleed").value()))
      for (double side : *box)
        if (!(side * std::max(vp.sx, vp.sy) <= kLargestSizePt))
          throw failure(impl->sourceName, page + ": the bleed " + inQuotes(pages[i].attribute("bleed").value()) +
                                              " is beyond 1e7 pt");
  }

  impl->layout = SourceLayout::scan(impl->xml, impl->original);

  if (const pugi::xml_node view = impl->namedView()) {
    const std::string_view wanted =
        Impl::attribute(view, kInkscapeNamespace, "current-layer").value();
    for (pugi::xml_node layer : impl->layersInDocumentOrder())
      if (!wanted.empty() && wanted == layer.attribute("id").value())
        impl->currentLayer = impl->handleOf(layer);
  }
  if (!impl->currentLayer) {
    const auto layers = impl->layersInDocumentOrder();
    if (!layers.empty()) impl->currentLayer = impl->handleOf(layers.back());
  }
  return impl;
}

Document Document::create(const std::vector<PageSize>& artboards) {
  if (artboards.empty()) throw std::invalid_argument("a new document needs at least one artboard");
  double width = 0, height = 0;
  for (const PageSize& size : artboards) {
    if (!(size.width > 0) || !(size.height > 0) || size.width > kLargestSizePt ||
        size.height > kLargestSizePt)
      throw std::invalid_argument("artboard size " + formatNumber(size.width) + " x " +
                                  formatNumber(size.height) + " pt is not usable");
    if (width > 0) width += kPageGapPt;
    width += size.width;
    height = std::max(height, size.height);
  }
  std::ostringstream svg;
  svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"" << kSvgNamespace << "\" xmlns:inkscape=\"" << kInkscapeNamespace
      << "\" xmlns:sodipodi=\"" << kSodipodiNamespace << "\" width=\"" << formatNumber(width)
      << "pt\" height=\"" << formatNumber(height) << "pt\" viewBox=\"0 0 " << formatNumber(width)
      << ' ' << formatNumber(height) << "\" version=\"1.1\">\n"
      << "  <sodipodi:namedview id=\"namedview1\" inkscape:current-layer=\"layer1\">\n";
  // One artboard is the viewport itself; several need pages.
  if (artboards.size() > 1) {
    double x = 0;
    for (std::size_t i = 0; i < artboards.size(); ++i) {
      svg << "    <inkscape:page id=\"page" << i + 1 << "\" x=\"" << formatNumber(x)
          << "\" y=\"0\" width=\"" << formatNumber(artboards[i].width) << "\" height=\""
          << formatNumber(artboards[i].height) << "\"/>\n";
      x += artboards[i].width + kPageGapPt;
    }
  }
  svg << "  </sodipodi:namedview>\n"
      << "  <g inkscape:groupmode=\"layer\" id=\"layer1\" inkscape:label=\"Layer 1\"/>\n"
      << "</svg>\n";
  return parse(svg.str(), "<new document>");
}

// --- File --------------------------------------------------------------------

const std::optional<std::filesystem::path>& Document::location() const { return impl_->location; }

void Document::setLocation(std::optional<std::filesystem::path> file) { impl_->location = std::move(file); }

bool Document::modified() const { return impl_->modified; }

bool Document::compressed() const { return impl_->compressed; }

void Document::setCompressed(bool compressed) { impl_->compressed = compressed; }

std::string Document::toString(TextMeasurer* measurer) const {
  if (!impl_->edited) return impl_->original;
  std::string out;
  out.reserve(impl_->original.size() + 1024);
  StringSink sink(out);
  write(sink, measurer);
  return out;
}

void Document::write(ByteSink& sink, TextMeasurer* measurer) const {
  if (!impl_->edited) {
    sink.write(impl_->original);
    return;
  }
  impl_->fitCanvas(*this, measurer);
  if (impl_->layout) {
    impl_->layout->write(impl_->xml, sink);
    return;
  }
  struct Writer final : pugi::xml_writer {
    explicit Writer(ByteSink& s) : sink(s) {}
    void write(const void* data, size_t size) override { sink.write({static_cast<const char*>(data), size}); }
    ByteSink& sink;
  } writer(sink);
  impl_->xml.save(writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
}

void Document::saveAs(const std::filesystem::path& file, TextMeasurer* measurer) {
  if (impl_->compressed) {
    // Compressed in one piece, from the whole text.
    const std::string svg = toString(measurer);
    writeFileAtomically(file, gzip(svg));
  } else {
    writeFileAtomically(file, [&](ByteSink& sink) { write(sink, measurer); });
  }
  impl_->location = file;
  impl_->modified = false;
}

void Document::save(TextMeasurer* measurer) {
  if (!impl_->location) throw std::logic_error("the document has never been saved: it has no file");
  saveAs(*impl_->location, measurer);
}

// --- Artboards and bleed -----------------------------------------------------

// A viewer that shows the viewBox only, as a browser does, would hide whatever lies in the
// bleed or on the pages beyond it: the written canvas grows to hold every page with its bleed.
// The pages keep their place and a user unit its size. The coordinates of this session stay;
// the next session's origin, the canvas's bottom left corner, is then lower by the bleed.
void Document::Impl::fitCanvas(const Document& document, TextMeasurer* measurer) {
  const Viewport& vp = viewport;
  double left = vp.x, top = vp.y, right = vp.x + vp.width, bottom = vp.y + vp.height;
  for (pugi::xml_node page : pages()) {
    const auto number = [&](const char* name) { return parseNumber(page.attribute(name).value()).value_or(0.0); };
    const double x = number("x"), y = number("y");
    const auto box = parseBox(page.attribute("bleed").value()).value_or(std::array<double, 4>{0, 0, 0, 0});
    left = std::min(left, x - box[3]);
    top = std::min(top, y - box[0]);
    right = std::max(right, x + number("width") + box[1]);
    bottom = std::max(bottom, y + number("height") + box[2]);
  }
  // A text's descenders, or a line longer than its page, may reach past the bleed.
  if (measurer)
    for (std::uint64_t id : addedTexts) {
      const ArtHandle text{id};
      if (!document.valid(text) || document.kind(text) != ArtKind::PointText) continue;
      const Rect r = document.textBounds(text, *measurer);
      if (!(r.right > r.left)) continue;  // nothing drawn
      left = std::min(left, vp.x + r.left / vp.sx);
      right = std::max(right, vp.x + r.right / vp.sx);
      top = std::min(top, vp.y + vp.height - r.top / vp.sy);
      bottom = std::max(bottom, vp.y + vp.height - r.bottom / vp.sy);
    }
  const auto close = [](double a, double b, double size) { return std::abs(a - b) <= 1e-9 * size; };
  const pugi::xml_node r = root();
  if (close(left, vp.x, vp.width) && close(top, vp.y, vp.height) && close(right, vp.x + vp.width, vp.width) &&
      close(bottom, vp.y + vp.height, vp.height)) {
    // What grew for a text since removed goes back to what the file said.
    if (canvasGrown)
      for (const auto& [name, given] : {std::pair{"width", &givenWidth}, std::pair{"height", &givenHeight},
                                        std::pair{"viewBox", &givenViewBox}})
        given->empty() ? removeAttribute(r, name) : setAttribute(r, name, *given);
    canvasGrown = false;
    return;
  }
  // A grown side goes out to a hundredth of a unit: the canvas needs no more (the bleed comes
  // back from the host in single precision), and its numbers stay short.
  const auto hundredths = [](double v) { return std::ceil(v * 100 - 1e-6) / 100; };  // never less
  if (left < vp.x) left = std::floor(left * 100) / 100;
  if (top < vp.y) top = std::floor(top * 100) / 100;
  if (right > vp.x + vp.width) right = std::ceil(right * 100) / 100;
  if (bottom > vp.y + vp.height) bottom = std::ceil(bottom * 100) / 100;
  const double width = left < vp.x || right > vp.x + vp.width ? hundredths(right - left) : vp.width;
  const double height = top < vp.y || bottom > vp.y + vp.height ? hundredths(bottom - top) : vp.height;
  // A canvas the loader would refuse is worse than a hidden stamp.
  if (!(width * vp.sx <= kLargestSizePt) || !(height * vp.sy <= kLargestSizePt) ||
      !(std::abs(left * vp.sx) <= kFarthestPositionPt) || !(std::abs(top * vp.sy) <= kFarthestPositionPt))
    return;

  // An absolute width or height grows with the canvas, in its own unit; a relative one
  // (a percentage) leaves the size to the viewer.
  const auto grow = [&](const char* name, std::string_view givenText, double grown, double given) {
    const std::string_view text = trim(givenText);
    const auto length = parseLength(text);
    if (!length || !pointsPerUnit(length->unit)) return;
    std::string_view rest = text;
    scanNumber(rest);
    // Nine digits: as exact as any viewer's, without a ratio's last-digit noise.
    char digits[32];
    std::snprintf(digits, sizeof digits, "%.9g", length->value * grown / given);
    setAttribute(r, name, formatNumber(std::strtod(digits, nullptr)) + std::string(trim(rest)));
  };
  grow("width", givenWidth, width, vp.width);
  grow("height", givenHeight, height, vp.height);
  setAttribute(r, "viewBox", formatNumber(left) + " " + formatNumber(top) + " " + formatNumber(width) + " " +
                                 formatNumber(height));
  canvasGrown = true;
}

Rect Document::viewport() const {
  const Viewport& vp = impl_->viewport;
  return boundsOfBox(impl_->userToHost, vp.x, vp.y, vp.x + vp.width, vp.y + vp.height);
}

int Document::artboardCount() const {
  const auto& pages = impl_->pages();
  return pages.empty() ? 1 : static_cast<int>(pages.size());
}

Rect Document::artboard(int index) const {
  const auto& pages = impl_->pages();
  const int count = pages.empty() ? 1 : static_cast<int>(pages.size());
  if (index < 0 || index >= count)
    throw std::out_of_range("artboard " + std::to_string(index) + " does not exist (the document has " +
                            std::to_string(count) + ")");
  return pages.empty() ? viewport() : impl_->pageRect(pages[static_cast<std::size_t>(index)]);
}

int Document::activeArtboard() const {
  return std::min(impl_->activeArtboard, artboardCount() - 1);
}

void Document::setActiveArtboard(int index) {
  artboard(index);  // range check
  impl_->activeArtboard = index;
}

Rect Document::bleed() const {
  const auto& pages = impl_->pages();
  if (pages.empty()) return {};
  const auto box = parseBox(pages.front().attribute("bleed").value());
  if (!box) return {};
  const Viewport& vp = impl_->viewport;
  const auto& [top, right, bottom, left] = *box;
  return {left * vp.sx, top * vp.sy, right * vp.sx, bottom * vp.sy};
}

void Document::setBleed(const Rect& bleed) {
  for (double v : {bleed.left, bleed.top, bleed.right, bleed.bottom})
    if (!std::isfinite(v) || v < 0)
      throw std::invalid_argument("a bleed of " + formatNumber(v) + " pt is not possible");

  const Rect current = this->bleed();
  const auto same = [](double a, double b) { return std::abs(a - b) <= kBleedTolerancePt; };
  if (same(current.left, bleed.left) && same(current.top, bleed.top) &&
      same(current.right, bleed.right) && same(current.bottom, bleed.bottom))
    return;

  auto pages = impl_->pages();
  const Viewport& vp = impl_->viewport;
  if (pages.empty()) {
    // A file without pages gets one over the viewport to carry the bleed.
    pugi::xml_node view = impl_->namedView();
    if (!view) {
      view = impl_->insertElement(
          impl_->root(), Placement::InsideOnBottom,
          impl_->qualifiedName(kSodipodiNamespace, "namedview", "sodipodi").c_str());
      impl_->setAttribute(view, "id", impl_->uniqueId("namedview"));
    }
    pugi::xml_node page = impl_->insertElement(
        view, Placement::InsideOnTop, impl_->qualifiedName(kInkscapeNamespace, "page", "inkscape").c_str());
    impl_->setAttribute(page, "x", formatNumber(vp.x));
    impl_->setAttribute(page, "y", formatNumber(vp.y));
    impl_->setAttribute(page, "width", formatNumber(vp.width));
    impl_->setAttribute(page, "height", formatNumber(vp.height));
    impl_->setAttribute(page, "id", impl_->uniqueId("page"));
    pages.push_back(page);
  }
  // A side the caller left as it was keeps each page's own exact user-unit value, so that
  // pages bled differently stay so and the host's single-precision round trip adds no noise
  // to the file; a side the caller changed is set on every page.
  const auto side = [&](double wantedPt, double currentPt, double oldUser, double scale) {
    return same(wantedPt, currentPt) ? oldUser : wantedPt / scale;
  };
  for (pugi::xml_node page : pages) {
    std::array<double, 4> old{0, 0, 0, 0};
    if (const auto box = parseBox(page.attribute("bleed").value())) old = *box;
    const std::string text = formatNumber(side(bleed.top, current.top, old[0], vp.sy)) + " " +
                             formatNumber(side(bleed.right, current.right, old[1], vp.sx)) + " " +
                             formatNumber(side(bleed.bottom, current.bottom, old[2], vp.sy)) + " " +
                             formatNumber(side(bleed.left, current.left, old[3], vp.sx));
    impl_->setAttribute(page, "bleed", text);
  }
}

}  // namespace hostsim
