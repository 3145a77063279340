// What the model's tests share: short documents, art by id, rectangles, messages, ems.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "document.h"

namespace hostsim {

// An editor's file: attributes one per line, " />", references, odd spacing.
inline const std::string kEditorFile =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
    "<!-- Created with a vector editor -->\n\n"
    "<svg\n   width=\"210mm\"\n   height=\"297mm\"\n   viewBox=\"0 0 210 297\"\n"
    "   xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\"\n"
    "   xmlns:sodipodi=\"http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd\"\n"
    "   xmlns=\"http://www.w3.org/2000/svg\">\n"
    "  <sodipodi:namedview\n     id=\"namedview1\"\n     inkscape:current-layer=\"layer1\" />\n"
    "  <g\n     inkscape:label=\"Calque 1\"\n     inkscape:groupmode=\"layer\"\n     id=\"layer1\">\n"
    "    <text\n       xml:space=\"preserve\"\n       style='font-size:4.23333px;font-family:\"DejaVu Sans\"'\n"
    "       x=\"20\"\n       y=\"30\"\n       id=\"text1\"><tspan\n         sodipodi:role=\"line\"\n"
    "         x=\"20\"\n         y=\"30\">Caf&#233; &amp; cr&#xE8;me</tspan></text>\n"
    "    <path d=\"M 0,0 L 10,10\"    id=\"path1\"/>\n"
    "  </g>\n</svg>\n";

// A document whose root declares the editor's namespaces and holds `attributes` and `body`.
inline std::string svgWith(const std::string& attributes, const std::string& body = "") {
  return "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\" "
         "xmlns:sodipodi=\"http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd\" " +
         attributes + ">" + body + "</svg>";
}

inline ArtHandle byId(const Document& doc, const std::string& id) {
  for (ArtHandle art : doc.allArt())
    if (doc.elementId(art) == id) return art;
  return {};
}

inline ArtHandle firstText(const Document& doc) { return doc.matchingArt(ArtKind::PointText, LockFilter::Any).at(0); }

inline void expectRect(const Rect& actual, const Rect& expected) {
  for (double Rect::*side : {&Rect::left, &Rect::top, &Rect::right, &Rect::bottom})
    EXPECT_NEAR(actual.*side, expected.*side, 1e-9);
}

// Whether `text` holds `part`; if not, what it holds.
inline ::testing::AssertionResult holds(const std::string& text, const std::string& part) {
  if (text.find(part) != std::string::npos) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "no \"" << part << "\" in:\n" << text;
}

// Whether `action` throws an E whose message holds `text`.
template <typename E, typename F>
::testing::AssertionResult throwsNaming(F&& action, const std::string& text) {
  try {
    action();
  } catch (const E& e) {
    return holds(e.what(), text);
  }
  return ::testing::AssertionFailure() << "nothing thrown";
}

inline auto filesIn(const std::filesystem::path& folder) {
  return std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator());
}

// One em per character, so that bounds follow from the text alone.
class EmMeasurer final : public TextMeasurer {
 public:
  LineExtent measure(const FontRef&, std::string_view utf8) override {
    return {static_cast<double>(utf8.size()), 0.8, -0.2};
  }
};

}  // namespace hostsim
