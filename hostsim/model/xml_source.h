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
#include <unordered_map>

#include <pugixml.hpp>

namespace hostsim {

class SourceLayout {
 public:
  // Lays the tree over the text it was parsed from (pugixml, parse_ws_pcdata,
  // without parse_eol). Nothing when they disagree: the caller then falls back
  // to plain serialisation.
  static std::unique_ptr<SourceLayout> scan(const pugi::xml_document& document, std::string source);

  // Must be called before a node (with its subtree) or an attribute is removed
  // from the tree: pugixml may reuse its memory for a new node.
  void forget(pugi::xml_node subtree);
  void forget(pugi::xml_attribute attribute);

  std::string write(const pugi::xml_document& document) const;

 private:
  struct AttributeSpan {
    std::size_t gapBegin = 0;  // the spaces before the name
    std::size_t begin = 0;     // name="value"
    std::size_t end = 0;
    std::string value;         // as parsed, to notice changes
  };
  struct NodeSpan {
    std::size_t leadBegin = 0;  // text between the previous sibling and this node
    std::size_t begin = 0;
    std::size_t end = 0;
    std::string value;  // non-elements: as parsed
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

  std::string source_;
  std::unordered_map<const void*, NodeSpan> nodes_;
  std::unordered_map<const void*, AttributeSpan> attributes_;
  std::size_t documentTrailingBegin_ = 0;
};

}  // namespace hostsim
