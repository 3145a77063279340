// Byte-faithful saving of an edited XML tree.
//
// A serialiser re-spells what it writes: quote styles, attribute layout,
// character references and empty-element forms all come out its own way. To
// give back a user's file unchanged except where the host edited it, we
// remember where each node and attribute of the parsed tree came from, copy
// those bytes for everything untouched, and spell out only new or changed
// parts.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include <pugixml.hpp>

namespace hostsim {

class ByteSink;

class SourceLayout {
 public:
  // Lays the tree over the text it was parsed from (pugixml, parse_ws_pcdata,
  // without parse_eol). Nothing when they disagree: the caller then falls back
  // to plain serialisation. The text is not copied: it must stay, unchanged, for
  // as long as the layout.
  static std::unique_ptr<SourceLayout> scan(const pugi::xml_document& document, std::string_view source);

  // Must be called before a node (with its subtree) or an attribute is removed
  // from the tree: pugixml may reuse its memory for a new node.
  void forget(pugi::xml_node subtree);
  void forget(pugi::xml_attribute attribute);

  std::string write(const pugi::xml_document& document) const;
  // The same bytes, handed to `sink` in pieces as they are produced.
  void write(const pugi::xml_document& document, ByteSink& sink) const;

 private:
  // A value as parsed, to notice changes: most read as their own bytes in the text, and
  // only the others are kept (a document may hold an image of many megabytes as a value).
  struct ParsedValue {
    std::size_t begin = 0, end = 0;        // the bytes in the text, when `decoded` is null
    std::unique_ptr<std::string> decoded;  // otherwise
  };
  struct AttributeSpan {
    std::size_t gapBegin = 0;  // the spaces before the name
    std::size_t begin = 0;     // name="value"
    std::size_t end = 0;
    ParsedValue value;
  };
  struct NodeSpan {
    std::size_t leadBegin = 0;  // text between the previous sibling and this node
    std::size_t begin = 0;
    std::size_t end = 0;
    ParsedValue value;  // non-elements
    // Elements only.
    std::size_t nameEnd = 0;
    std::size_t attributesEnd = 0;  // after the last attribute: the tag's tail begins
    std::size_t slash = 0;          // the "/" of a self-closing tag
    std::size_t startTagEnd = 0;
    std::size_t trailingBegin = 0;  // after the last child
    std::size_t endTagBegin = 0;
    bool selfClosing = false;
    std::size_t attributeCount = 0;
  };

  class Scanner;
  class Writer;

  ParsedValue parsedValue(const char* value, std::size_t begin, std::size_t end) const;
  bool unchanged(const ParsedValue& parsed, const char* value) const;

  std::string_view source_;
  std::unordered_map<const void*, NodeSpan> nodes_;
  std::unordered_map<const void*, AttributeSpan> attributes_;
  std::size_t documentTrailingBegin_ = 0;
};

}  // namespace hostsim
