#include "svg_syntax.h"

#include <gtest/gtest.h>

namespace hostsim {
namespace {

TEST(SvgSyntax, NumbersAndListsAreReadInSvgFormsAndWrittenShortAndExact) {
  for (const auto& [text, value] : {std::pair{" 12.5 ", 12.5}, {"+3", 3.0}, {"-.5", -0.5}, {"1e3", 1000.0}, {"5.", 5.0}})
    EXPECT_EQ(parseNumber(text), value) << text;
  for (const char* text : {"NaN", "inf", "1e999", "12px", ""}) EXPECT_FALSE(parseNumber(text)) << text;
  EXPECT_EQ(parseNumberList("0 0 595.28 841.89"), (std::vector<double>{0, 0, 595.28, 841.89}));
  EXPECT_EQ(parseNumberList("1,2 , 3"), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(parseNumberList("1-2.5.5"), (std::vector<double>{1, -2.5, 0.5}));
  EXPECT_FALSE(parseNumberList("1 2x"));
  EXPECT_FALSE(parseNumberList("1,,2"));
  EXPECT_EQ(formatNumber(12), "12");
  EXPECT_EQ(formatNumber(0.1), "0.1");
  EXPECT_EQ(formatNumber(-0.0), "0");
  for (double odd : {595.2800292968750, 1.0 / 3}) EXPECT_EQ(*parseNumber(formatNumber(odd)), odd);
}

TEST(SvgSyntax, LengthsAndTheirPoints) {
  const std::pair<const char*, double> cases[] = {{"210mm", 595.2755905511812}, {"8.5in", 612}, {"100", 75},
                                                  {"100px", 75}, {"12pt", 12}, {"2pc", 24}, {"2.54cm", 72},
                                                  {"1E1PT", 10}};
  for (const auto& [text, points] : cases) {
    const auto length = parseLength(text);
    ASSERT_TRUE(length) << text;
    EXPECT_NEAR(length->value * *pointsPerUnit(length->unit), points, 1e-9) << text;
  }
  EXPECT_EQ(parseLength("100%")->unit, LengthUnit::Percent);
  EXPECT_FALSE(pointsPerUnit(LengthUnit::Percent));
  EXPECT_FALSE(parseLength("12 furlongs"));
  EXPECT_EQ(parseLength("2em")->unit, LengthUnit::Em);  // "e" is not an exponent here
}

TEST(SvgSyntax, TransformListsComposeLeftToRight) {
  EXPECT_EQ(parseTransform("translate(10,20) scale(2)")->apply({1, 1}), (Point{12, 22}));
  const Point p = parseTransform("rotate(90 10 10)")->apply({20, 10});
  EXPECT_NEAR(p.h, 10, 1e-12);
  EXPECT_NEAR(p.v, 20, 1e-12);
  EXPECT_EQ(*parseTransform("matrix(1 0 0 1 5 -5)"), Affine::translate(5, -5));
  EXPECT_EQ(*parseTransform(""), Affine{});
  for (const char* bad : {"translate(1,2", "spin(3)", "scale(1,2,3)"}) EXPECT_FALSE(parseTransform(bad)) << bad;
}

TEST(SvgSyntax, StylesAreSplitReadAndEditedInPlace) {
  const std::string style = "fill:#ff0000; font-family:'A;B', serif;stroke:none";
  EXPECT_EQ(styleProperty(style, "font-family"), "'A;B', serif");
  EXPECT_EQ(styleProperty(style, "FILL"), "#ff0000");
  EXPECT_FALSE(styleProperty(style, "display"));
  EXPECT_EQ(styleProperty("display:none !important", "display"), "none");
  EXPECT_EQ(withStyleProperty(style, "fill", "#000000"), "fill:#000000; font-family:'A;B', serif;stroke:none");
  EXPECT_EQ(withStyleProperty(style, "display", "none"), style + ";display:none");
  EXPECT_EQ(withStyleProperty(style, "stroke", std::nullopt), "fill:#ff0000; font-family:'A;B', serif");
  EXPECT_EQ(withStyleProperty("a:b;", "c", "d"), "a:b;c:d");
  EXPECT_EQ(withStyleProperty("", "c", "d"), "c:d");
  EXPECT_EQ(withStyleProperty("c:d;", "c", std::nullopt), "");

  std::vector<std::string_view> parts;
  EXPECT_TRUE(splitStyle(" fill:red;font-family:'A;B';;clip-path:url(#a;b) ;", parts));
  EXPECT_EQ(parts, (std::vector<std::string_view>{" fill:red", "font-family:'A;B'", "", "clip-path:url(#a;b) ", ""}));
  EXPECT_EQ(styleDeclarationName(parts[0]), "fill");
  EXPECT_EQ(styleDeclarationName(parts[2]), "");
  // Ending inside quotes or brackets: what follows would not stand apart.
  EXPECT_FALSE(splitStyle("fill:red;font-family:'A", parts));
  EXPECT_FALSE(splitStyle("clip-path:url(#a", parts));
  std::vector<StyleDeclaration> declarations;
  styleDeclarations(" Fill : red !important;nameless;font-family:'A;B'", declarations);
  ASSERT_EQ(declarations.size(), 2u);
  EXPECT_EQ(declarations[0].name, "Fill");
  EXPECT_EQ(declarations[0].value, "red");  // as styleProperty reads it
  EXPECT_EQ(declarations[1].value, "'A;B'");
}

}  // namespace
}  // namespace hostsim
