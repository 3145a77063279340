// Mac Roman, the SVG value syntax, and the source layout that writes back what it read.
#include "mac_roman.h"

#include <set>

#include "model_test.h"
#include "svg_syntax.h"
#include "xml_source.h"

namespace hostsim {
namespace {

TEST(MacRoman, EveryByteRoundTripsAndTheFrenchLettersAndSignsAreSingleBytes) {
  const std::pair<std::uint8_t, const char*> cases[] = {
      {0x8E, "é"}, {0x88, "à"}, {0x9E, "û"}, {0xA5, "•"}, {0xC9, "…"}, {0x8F, "è"},
      {0x90, "ê"}, {0x8D, "ç"}, {0xE7, "Á"}, {0x83, "É"}, {0xCA, "\u00A0"}, {0xDB, "€"},
      {0xD2, "“"}, {0xD5, "’"}, {0xF0, "\uF8FF"}, {0xFF, "ˇ"}, {0x80, "Ä"}, {0xD0, "–"},
  };
  for (const auto& [byte, utf8] : cases) {
    EXPECT_EQ(macRomanToUtf8(std::string(1, static_cast<char>(byte))), utf8) << std::hex << int(byte);
    EXPECT_EQ(utf8ToMacRoman(utf8), std::string(1, static_cast<char>(byte))) << std::hex << int(byte);
  }
  std::string all;
  std::set<char32_t> seen;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b), seen.insert(macRomanToCodePoint(static_cast<uint8_t>(b)));
  EXPECT_EQ(seen.size(), 256u) << "no two bytes share a character";
  EXPECT_EQ(utf8ToMacRoman(macRomanToUtf8(all)), all);
}

TEST(MacRoman, WhatMacRomanLacksAndIllFormedUtf8BecomeOneStandInEach) {
  const std::pair<const char*, const char*> cases[] = {
      {"a€b", "a\xDB""b"}, {"Ł", "?"}, {"x日本y", "x??y"}, {"😀!", "?!"}, {"a\xFF""b", "a?b"},
      {"\xC3", "?"},                 // cut at the end
      {"\xE2\x82""A", "?A"},         // a truncated sequence is one stand-in
      {"\x80\x80", "??"},            // stray continuations
      {"\xC0\xAF", "??"},            // overlong '/'
      {"\xED\xA0\x80", "???"},       // surrogate
      {"\xF4\x90\x80\x80", "????"},  // beyond U+10FFFF
      {"\xC3\xA9\xC3", "\x8E?"},
  };
  for (const auto& [utf8, macRoman] : cases) EXPECT_EQ(utf8ToMacRoman(utf8), macRoman) << utf8;
}

TEST(SvgSyntax, NumbersAndTransformsAreReadInSvgFormsAndWrittenShortAndExact) {
  for (const auto& [text, value] : {std::pair{" 12.5 ", 12.5}, {"+3", 3.0}, {"-.5", -0.5}, {"1e3", 1000.0}, {"5.", 5.0}})
    EXPECT_EQ(parseNumber(text), value) << text;
  for (const char* text : {"NaN", "inf", "1e999", "12px", ""}) EXPECT_FALSE(parseNumber(text)) << text;
  EXPECT_EQ(parseNumberList("1,2 , 3-2.5.5"), (std::vector<double>{1, 2, 3, -2.5, 0.5}));
  for (const char* text : {"1 2x", "1,,2"}) EXPECT_FALSE(parseNumberList(text)) << text;
  EXPECT_EQ(formatNumber(-0.0), "0");
  for (double odd : {595.2800292968750, 1.0 / 3}) EXPECT_EQ(*parseNumber(formatNumber(odd)), odd);

  EXPECT_EQ(parseTransform("translate(10,20) scale(2)")->apply({1, 1}), (Point{12, 22}));
  const Point p = parseTransform("rotate(90 10 10)")->apply({20, 10});
  EXPECT_NEAR(p.h, 10, 1e-12);
  EXPECT_NEAR(p.v, 20, 1e-12);
  EXPECT_EQ(*parseTransform("matrix(1 0 0 1 5 -5)"), Affine::translate(5, -5));
  EXPECT_EQ(*parseTransform(""), Affine{});
  for (const char* bad : {"translate(1,2", "spin(3)", "scale(1,2,3)"}) EXPECT_FALSE(parseTransform(bad)) << bad;
}

// Editing styles in place is the texts' test; here what only the reader meets.
TEST(SvgSyntax, StylesEndingInsideQuotesOrBracketsAreNotSplit) {
  EXPECT_EQ(styleProperty("display:none !important", "DISPLAY"), "none");
  EXPECT_EQ(withStyleProperty("c:d;", "c", std::nullopt), "");
  std::vector<std::string_view> parts;
  EXPECT_TRUE(splitStyle(" fill:red;font-family:'A;B';;clip-path:url(#a;b) ;", parts));
  EXPECT_EQ(parts, (std::vector<std::string_view>{" fill:red", "font-family:'A;B'", "", "clip-path:url(#a;b) ", ""}));
  for (const char* open : {"fill:red;font-family:'A", "clip-path:url(#a"}) EXPECT_FALSE(splitStyle(open, parts));
  std::vector<StyleDeclaration> declarations;
  styleDeclarations(" Fill : red !important;nameless;font-family:'A;B'", declarations);
  ASSERT_EQ(declarations.size(), 2u);
  EXPECT_EQ(declarations[0].name, "Fill");
  EXPECT_EQ(declarations[0].value, "red");  // as styleProperty reads it
}

// Untouched, the file comes back byte for byte; each edit changes its own bytes only. The
// fuzz corpus replays documents with a type, CDATA and references.
TEST(SourceLayout, EditsKeepTheLayoutAroundThem) {
  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_buffer(kEditorFile.data(), kEditorFile.size(),
                              (pugi::parse_full | pugi::parse_ws_pcdata) & ~pugi::parse_eol, pugi::encoding_utf8));
  const auto layout = SourceLayout::scan(doc, kEditorFile);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->write(doc), kEditorFile);
  pugi::xml_node layer = doc.document_element().child("g");
  layer.attribute("inkscape:label").set_value("Plan & \"tout\"");
  layer.append_attribute("style").set_value("display:none");
  pugi::xml_attribute id = layer.child("path").attribute("id");
  layout->forget(id);
  layer.child("path").remove_attribute(id);
  doc.document_element().child("sodipodi:namedview").append_child("marker").append_attribute("id").set_value("m1");
  pugi::xml_node text = layer.child("text").child("tspan");
  layout->forget(text.first_child());
  text.remove_child(text.first_child());
  text.append_child(pugi::node_pcdata).set_value("a<b & \"c\"\r");

  std::string expected = kEditorFile;
  expected.replace(expected.find("inkscape:label=\"Calque 1\""), 25, "inkscape:label=\"Plan &amp; &quot;tout&quot;\"");
  expected.insert(expected.find("id=\"layer1\">") + 11, "\n     style=\"display:none\"");
  expected.erase(expected.find("    id=\"path1\""), 14);
  expected.replace(expected.find("\"layer1\" />"), 11, "\"layer1\" ><marker id=\"m1\"/></sodipodi:namedview>");
  expected.replace(expected.find("Caf&#233;"), 26, "a&lt;b &amp; \"c\"&#13;");
  EXPECT_EQ(layout->write(doc), expected);
}

}  // namespace
}  // namespace hostsim
