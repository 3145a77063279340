#include "xml_source.h"

#include <cstring>
#include <string_view>

#include "atomic_file.h"

namespace hostsim {
namespace {

bool isXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

const void* key(pugi::xml_node node) { return node.internal_object(); }
const void* key(pugi::xml_attribute attribute) { return attribute.internal_object(); }

// Appends `value` with each character that `replacement` names written as it says.
template <typename Replacement>
void appendEscaped(std::string& out, std::string_view value, Replacement&& replacement) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char* instead = replacement(value[i]);
    if (instead == nullptr) continue;
    out.append(value, start, i - start);
    out += instead;
    start = i + 1;
  }
  out.append(value, start);
}

// What an attribute value or a text written afresh must spell otherwise.
const char* attributeEscape(char c) {
  switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '"': return "&quot;";
    case '\t': return "&#9;";
    case '\n': return "&#10;";
    case '\r': return "&#13;";
    default: return nullptr;
  }
}

const char* textEscape(char c) {
  switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '\r': return "&#13;";
    default: return nullptr;
  }
}

}  // namespace

// Walks the tree and the text side by side; any disagreement ends the scan.
class SourceLayout::Scanner {
 public:
  explicit Scanner(SourceLayout& layout) : layout_(layout), s_(layout.source_) {}

  bool document(const pugi::xml_document& doc) {
    std::size_t pos = 0;
    if (!children(doc, pos, /*topLevel=*/true)) return false;
    layout_.documentTrailingBegin_ = pos;
    // Only spaces may follow the root element (a BOM may lead, never trail).
    for (std::size_t i = pos; i < s_.size(); ++i)
      if (!isXmlSpace(s_[i])) return false;
    return true;
  }

 private:
  bool starts(std::size_t pos, std::string_view what) const {
    return s_.compare(pos, what.size(), what) == 0;
  }
  void skipSpaces(std::size_t& pos) const {
    while (pos < s_.size() && isXmlSpace(s_[pos])) ++pos;
  }
  // Position just after `terminator`, searching from pos.
  bool after(std::size_t& pos, std::string_view terminator) const {
    const auto found = s_.find(terminator, pos);
    if (found == std::string_view::npos) return false;
    pos = found + terminator.size();
    return true;
  }

  bool children(pugi::xml_node parent, std::size_t& pos, bool topLevel) {
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
      NodeSpan span;
      span.leadBegin = pos;
      if (child.type() != pugi::node_pcdata) {
        // Between top-level nodes lie spaces pugixml keeps no node for (and a BOM).
        if (topLevel) {
          const auto lt = s_.find('<', pos);
          if (lt == std::string_view::npos) return false;
          pos = lt;
        } else {
          skipSpaces(pos);
        }
      }
      span.begin = pos;
      if (!node(child, span, pos)) return false;
      span.end = pos;
      layout_.nodes_[key(child)] = std::move(span);
    }
    return true;
  }

  bool node(pugi::xml_node n, NodeSpan& span, std::size_t& pos) {
    switch (n.type()) {
      case pugi::node_element: return element(n, span, pos);
      case pugi::node_pcdata: {
        const auto lt = s_.find('<', pos);
        pos = lt == std::string_view::npos ? s_.size() : lt;
        if (pos == span.begin) return false;
        span.value = layout_.parsedValue(n.value(), span.begin, pos);
        return true;
      }
      case pugi::node_cdata:
        if (!starts(pos, "<![CDATA[") || !after(pos, "]]>")) return false;
        span.value = layout_.parsedValue(n.value(), span.begin + 9, pos - 3);
        return !span.value.decoded;
      case pugi::node_comment:
        if (!starts(pos, "<!--") || !after(pos, "-->")) return false;
        span.value = layout_.parsedValue(n.value(), span.begin + 4, pos - 3);
        return !span.value.decoded;
      case pugi::node_pi:
      case pugi::node_declaration: {
        if (!starts(pos, "<?") || !starts(pos + 2, n.name()) || !after(pos, "?>")) return false;
        span.value = layout_.parsedValue(n.value(), 0, 0);
        return true;
      }
      case pugi::node_doctype:
        span.value = layout_.parsedValue(n.value(), 0, 0);
        return doctype(pos);
      default: return false;
    }
  }

  // <!DOCTYPE ...> with an optional internal subset holding quotes and comments.
  bool doctype(std::size_t& pos) {
    if (!starts(pos, "<!DOCTYPE")) return false;
    pos += 9;
    int depth = 0;
    while (pos < s_.size()) {
      const char c = s_[pos];
      if (c == '"' || c == '\'') {
        const auto close = s_.find(c, pos + 1);
        if (close == std::string_view::npos) return false;
        pos = close + 1;
      } else if (starts(pos, "<!--")) {
        if (!after(pos, "-->")) return false;
      } else if (c == '[' || c == '<') {
        ++depth;
        ++pos;
      } else if (c == ']' || (c == '>' && depth > 0)) {
        --depth;
        ++pos;
      } else if (c == '>') {
        ++pos;
        return true;
      } else {
        ++pos;
      }
    }
    return false;
  }

  bool element(pugi::xml_node n, NodeSpan& span, std::size_t& pos) {
    const std::string_view name = n.name();
    if (!starts(pos, "<") || !starts(pos + 1, name)) return false;
    // pugixml's own record of where the name stood, when it still has one.
    const std::ptrdiff_t offset = n.offset_debug();
    if (offset >= 0 && static_cast<std::size_t>(offset) != pos + 1) return false;
    pos += 1 + name.size();
    span.nameEnd = pos;
    span.attributesEnd = pos;
    for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute()) {
      AttributeSpan attribute;
      attribute.gapBegin = pos;
      skipSpaces(pos);
      if (pos == attribute.gapBegin) return false;
      const std::string_view attributeName = a.name();
      if (!starts(pos, attributeName)) return false;
      attribute.begin = pos;
      pos += attributeName.size();
      skipSpaces(pos);
      if (!starts(pos, "=")) return false;
      ++pos;
      skipSpaces(pos);
      if (pos >= s_.size() || (s_[pos] != '"' && s_[pos] != '\'')) return false;
      const auto close = s_.find(s_[pos], pos + 1);
      if (close == std::string_view::npos) return false;
      attribute.value = layout_.parsedValue(a.value(), pos + 1, close);
      pos = close + 1;
      attribute.end = pos;
      layout_.attributes_[key(a)] = std::move(attribute);
      ++span.attributeCount;
      span.attributesEnd = pos;
    }
    skipSpaces(pos);
    if (starts(pos, "/>")) {
      if (n.first_child()) return false;
      span.selfClosing = true;
      span.slash = pos;
      pos += 2;
      span.startTagEnd = pos;
      span.trailingBegin = pos;
      span.endTagBegin = pos;
      return true;
    }
    if (!starts(pos, ">")) return false;
    span.startTagEnd = ++pos;
    if (!children(n, pos, /*topLevel=*/false)) return false;
    span.trailingBegin = pos;
    skipSpaces(pos);
    if (!starts(pos, "</") || !starts(pos + 2, name)) return false;
    span.endTagBegin = pos;
    pos += 2 + name.size();
    skipSpaces(pos);
    if (!starts(pos, ">")) return false;
    ++pos;
    return true;
  }

  SourceLayout& layout_;
  std::string_view s_;
};

// Writes through a buffer of a few pages, so that the result is never whole in memory: a
// long stretch of the text goes to the sink as it is.
class SourceLayout::Writer {
 public:
  Writer(const SourceLayout& layout, ByteSink& sink) : layout_(layout), sink_(sink) { out_.reserve(kChunk * 2); }

  void document(const pugi::xml_document& doc) {
    children(doc, /*parentRecorded=*/true);
    copy(layout_.documentTrailingBegin_, layout_.source_.size());
    flush();
  }

 private:
  const NodeSpan* span(pugi::xml_node n) const {
    const auto it = layout_.nodes_.find(key(n));
    return it == layout_.nodes_.end() ? nullptr : &it->second;
  }
  const AttributeSpan* span(pugi::xml_attribute a) const {
    const auto it = layout_.attributes_.find(key(a));
    return it == layout_.attributes_.end() ? nullptr : &it->second;
  }
  static constexpr std::size_t kChunk = 64 * 1024;

  void flush() {
    if (!out_.empty()) sink_.write(out_);
    out_.clear();
  }
  void copy(std::size_t begin, std::size_t end) {
    if (end <= begin) return;
    if (end - begin >= kChunk) {
      flush();
      sink_.write(layout_.source_.substr(begin, end - begin));
      return;
    }
    out_.append(layout_.source_, begin, end - begin);
  }

  void children(pugi::xml_node parent, bool parentRecorded) {
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
      const NodeSpan* s = span(child);
      if (s && parentRecorded) copy(s->leadBegin, s->begin);
      node(child, s);
      if (out_.size() >= kChunk) flush();
    }
  }

  void node(pugi::xml_node n, const NodeSpan* s) {
    if (n.type() == pugi::node_element) {
      element(n, s);
      return;
    }
    if (s && layout_.unchanged(s->value, n.value())) {
      copy(s->begin, s->end);
      return;
    }
    switch (n.type()) {
      case pugi::node_pcdata: appendEscaped(out_, n.value(), textEscape); break;
      case pugi::node_cdata: out_ += "<![CDATA["; out_ += n.value(); out_ += "]]>"; break;
      case pugi::node_comment: out_ += "<!--"; out_ += n.value(); out_ += "-->"; break;
      case pugi::node_pi:
        out_ += "<?";
        out_ += n.name();
        if (*n.value()) (out_ += ' ') += n.value();
        out_ += "?>";
        break;
      case pugi::node_declaration:
        out_ += "<?";
        out_ += n.name();
        for (pugi::xml_attribute a : n.attributes()) freshAttribute(" ", a);
        out_ += "?>";
        break;
      case pugi::node_doctype: out_ += "<!DOCTYPE "; out_ += n.value(); out_ += '>'; break;
      default: break;
    }
  }

  void freshAttribute(std::string_view gap, pugi::xml_attribute a) {
    out_ += gap;
    out_ += a.name();
    out_ += "=\"";
    appendEscaped(out_, a.value(), attributeEscape);
    out_ += '"';
  }

  bool attributesUnchanged(pugi::xml_node n, const NodeSpan& s) const {
    std::size_t count = 0;
    for (pugi::xml_attribute a : n.attributes()) {
      const AttributeSpan* as = span(a);
      if (!as || !layout_.unchanged(as->value, a.value())) return false;
      ++count;
    }
    return count == s.attributeCount;
  }

  void element(pugi::xml_node n, const NodeSpan* s) {
    const bool hasChildren = static_cast<bool>(n.first_child());
    if (!s) {
      out_ += '<';
      out_ += n.name();
      for (pugi::xml_attribute a : n.attributes()) freshAttribute(" ", a);
      if (!hasChildren) {
        out_ += "/>";
        return;
      }
      out_ += '>';
      children(n, /*parentRecorded=*/false);
      (out_ += "</") += n.name();
      out_ += '>';
      return;
    }

    const bool reopened = s->selfClosing && hasChildren;
    if (attributesUnchanged(n, *s) && !reopened) {
      copy(s->begin, s->startTagEnd);
    } else {
      copy(s->begin, s->nameEnd);
      std::string_view gap = " ";
      for (pugi::xml_attribute a : n.attributes()) {
        const AttributeSpan* as = span(a);
        if (!as) {
          freshAttribute(gap, a);
          continue;
        }
        copy(as->gapBegin, as->begin);
        gap = std::string_view(layout_.source_).substr(as->gapBegin, as->begin - as->gapBegin);
        if (layout_.unchanged(as->value, a.value()))
          copy(as->begin, as->end);
        else
          freshAttribute("", a);
      }
      if (reopened) {
        copy(s->attributesEnd, s->slash);
        out_ += '>';
      } else {
        copy(s->attributesEnd, s->startTagEnd);
      }
    }
    if (s->selfClosing && !hasChildren) return;
    children(n, /*parentRecorded=*/true);
    if (reopened) {
      (out_ += "</") += n.name();
      out_ += '>';
    } else {
      copy(s->trailingBegin, s->end);
    }
  }

  const SourceLayout& layout_;
  ByteSink& sink_;
  std::string out_;
};

SourceLayout::ParsedValue SourceLayout::parsedValue(const char* value, std::size_t begin, std::size_t end) const {
  ParsedValue parsed;
  if (end >= begin && source_.substr(begin, end - begin) == value) {
    parsed.begin = begin;
    parsed.end = end;
  } else {
    parsed.decoded = std::make_unique<std::string>(value);
  }
  return parsed;
}

bool SourceLayout::unchanged(const ParsedValue& parsed, const char* value) const {
  return parsed.decoded ? *parsed.decoded == value : source_.substr(parsed.begin, parsed.end - parsed.begin) == value;
}

std::unique_ptr<SourceLayout> SourceLayout::scan(const pugi::xml_document& document,
                                                 std::string_view source) {
  auto layout = std::make_unique<SourceLayout>();
  layout->source_ = source;
  Scanner scanner(*layout);
  if (!scanner.document(document)) return nullptr;
  return layout;
}

void SourceLayout::forget(pugi::xml_node subtree) {
  for (pugi::xml_attribute a : subtree.attributes()) attributes_.erase(key(a));
  for (pugi::xml_node child : subtree.children()) forget(child);
  nodes_.erase(key(subtree));
}

void SourceLayout::forget(pugi::xml_attribute attribute) { attributes_.erase(key(attribute)); }

void SourceLayout::write(const pugi::xml_document& document, ByteSink& sink) const {
  Writer writer(*this, sink);
  writer.document(document);
}

std::string SourceLayout::write(const pugi::xml_document& document) const {
  std::string out;
  out.reserve(source_.size() + 1024);
  StringSink sink(out);
  write(document, sink);
  return out;
}

}  // namespace hostsim
