#include "xml_source.h"

#include <gtest/gtest.h>

namespace hostsim {
namespace {

constexpr unsigned kFlags = (pugi::parse_full | pugi::parse_ws_pcdata) & ~pugi::parse_eol;

struct Parsed {
  std::string text;  // the layout copies from it
  pugi::xml_document doc;
  std::unique_ptr<SourceLayout> layout;
};

std::unique_ptr<Parsed> parse(const std::string& text) {
  auto parsed = std::make_unique<Parsed>();
  parsed->text = text;
  const auto result = parsed->doc.load_buffer(text.data(), text.size(), kFlags, pugi::encoding_utf8);
  EXPECT_TRUE(result) << result.description();
  parsed->layout = SourceLayout::scan(parsed->doc, parsed->text);
  EXPECT_TRUE(parsed->layout);
  return parsed;
}

const char* const kSamples[] = {
    // An editor's file: attributes one per line, " />", metadata, namespaces.
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
    "<!-- Created with an editor -->\n\n"
    "<svg\n   width=\"210mm\"\n   height=\"297mm\"\n   viewBox=\"0 0 210 297\"\n"
    "   xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\"\n"
    "   xmlns=\"http://www.w3.org/2000/svg\">\n"
    "  <defs\n     id=\"defs2\" />\n"
    "  <g\n     inkscape:label=\"Calque 1\"\n     inkscape:groupmode=\"layer\"\n     id=\"layer1\">\n"
    "    <rect style='fill:#ff0000' x=\"10\"   y = \"20\" width=\"30\" height=\"40\"/>\n"
    "  </g>\n</svg>\n",
    // Doctype with an internal subset, entities, character references, CDATA, a PI.
    "<?xml version='1.0'?>\r\n"
    "<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\" \"http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd\" [\r\n"
    "  <!ENTITY ns_svg \"http://www.w3.org/2000/svg\"> <!-- a > inside -->\r\n"
    "]>\r\n"
    "<?xml-stylesheet href=\"a.css\" type=\"text/css\"?>\r\n"
    "<svg xmlns=\"&ns_svg;\" width=\"100\" height=\"100\">\r\n"
    "  <text x=\"1\" y=\"2\">caf&#233; &amp; th&#xE9; &lt;ok&gt;</text>\r\n"
    "  <style><![CDATA[ text { fill: red } ]]></style>\r\n"
    "  <foreign:thing xmlns:foreign=\"urn:x\" foreign:a=\"&quot;q&quot;\"><foreign:inner/></foreign:thing>\r\n"
    "</svg>\r\n<!-- trailing comment -->\r\n",
    // A byte order mark, no declaration, empty elements written long.
    "\xEF\xBB\xBF<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"1in\" height=\"1in\"><g></g><g   ></g   ></svg>",
};

TEST(SourceLayout, UntouchedTreeIsWrittenByteForByte) {
  for (const char* sample : kSamples) {
    const auto parsed = parse(sample);
    EXPECT_EQ(parsed->layout->write(parsed->doc), sample);
  }
}

// Each edit changes its own bytes only: a changed value, a new attribute in the indentation
// of the last one, a removed one with its spaces, and a child that reopens an empty element.
TEST(SourceLayout, EditsKeepTheLayoutAroundThem) {
  std::string expected = kSamples[0];
  auto parsed = parse(expected);
  pugi::xml_node layer = parsed->doc.document_element().child("g");
  layer.attribute("inkscape:label").set_value("Plan & \"tout\"");
  layer.append_attribute("style").set_value("display:none");
  pugi::xml_attribute y = layer.child("rect").attribute("y");
  parsed->layout->forget(y);
  layer.child("rect").remove_attribute(y);
  parsed->doc.document_element().child("defs").append_child("marker").append_attribute("id").set_value("m1");

  expected.replace(expected.find("inkscape:label=\"Calque 1\""), 25, "inkscape:label=\"Plan &amp; &quot;tout&quot;\"");
  expected.insert(expected.find("id=\"layer1\"") + 11, "\n     style=\"display:none\"");
  expected.erase(expected.find("   y = \"20\""), 11);
  expected.replace(expected.find("id=\"defs2\" />"), 13, "id=\"defs2\" ><marker id=\"m1\"/></defs>");
  EXPECT_EQ(parsed->layout->write(parsed->doc), expected);
}

TEST(SourceLayout, RemovedNodeAndNewTextAreTheOnlyChanges) {
  const std::string source = kSamples[1];
  auto parsed = parse(source);
  pugi::xml_node svg = parsed->doc.document_element();
  pugi::xml_node style = svg.child("style");
  parsed->layout->forget(style);
  svg.remove_child(style);
  pugi::xml_node text = svg.child("text");
  parsed->layout->forget(text.first_child());
  text.remove_child(text.first_child());
  text.append_child(pugi::node_pcdata).set_value("a<b & \"c\"\r");
  std::string expected = source;
  expected.erase(expected.find("<style>"), std::string("<style><![CDATA[ text { fill: red } ]]></style>").size());
  expected.replace(expected.find("caf&#233;"), std::string("caf&#233; &amp; th&#xE9; &lt;ok&gt;").size(),
                   "a&lt;b &amp; \"c\"&#13;");
  EXPECT_EQ(parsed->layout->write(parsed->doc), expected);
}

TEST(SourceLayout, NewElementsAreSpelledPlainly) {
  auto parsed = parse(kSamples[2]);
  pugi::xml_node g = parsed->doc.document_element().child("g");
  pugi::xml_node text = g.append_child("text");
  text.append_attribute("x").set_value("1");
  text.append_child(pugi::node_pcdata).set_value("é\t");
  g.append_child("g");
  EXPECT_EQ(parsed->layout->write(parsed->doc),
            "\xEF\xBB\xBF<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"1in\" height=\"1in\">"
            "<g><text x=\"1\">é\t</text><g/></g><g   ></g   ></svg>");
}

}  // namespace
}  // namespace hostsim
