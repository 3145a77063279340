// Loading, saving and the mapping from SVG units to host points.
#include <gtest/gtest.h>

#include "atomic_file.h"
#include "document.h"
#include "test_support.h"

namespace hostsim {
namespace {

using testing::readText;
using testing::TempDir;
using testing::writeText;

const std::string kEditorFile =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
    "<!-- Created with a vector editor -->\n\n"
    "<svg\n"
    "   width=\"210mm\"\n"
    "   height=\"297mm\"\n"
    "   viewBox=\"0 0 210 297\"\n"
    "   version=\"1.1\"\n"
    "   id=\"svg1\"\n"
    "   xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\"\n"
    "   xmlns:sodipodi=\"http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd\"\n"
    "   xmlns=\"http://www.w3.org/2000/svg\"\n"
    "   xmlns:svg=\"http://www.w3.org/2000/svg\"\n"
    "   xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
    "  <sodipodi:namedview\n"
    "     id=\"namedview1\"\n"
    "     pagecolor=\"#ffffff\"\n"
    "     inkscape:current-layer=\"layer1\" />\n"
    "  <defs\n"
    "     id=\"defs1\" />\n"
    "  <metadata><rdf:RDF><rdf:Description about=\"&amp;x\"/></rdf:RDF></metadata>\n"
    "  <g\n"
    "     inkscape:label=\"Calque 1\"\n"
    "     inkscape:groupmode=\"layer\"\n"
    "     id=\"layer1\">\n"
    "    <text\n"
    "       xml:space=\"preserve\"\n"
    "       style='font-size:4.23333px;font-family:\"DejaVu Sans\"'\n"
    "       x=\"20\"\n"
    "       y=\"30\"\n"
    "       id=\"text1\"><tspan\n"
    "         sodipodi:role=\"line\"\n"
    "         id=\"tspan1\"\n"
    "         x=\"20\"\n"
    "         y=\"30\">Caf&#233; &amp; cr&#xE8;me</tspan></text>\n"
    "    <path d=\"M 0,0 L 10,10\"    id=\"path1\"/>\n"
    "  </g>\n"
    "</svg>\n";

TEST(DocumentFile, UntouchedDocumentComesBackByteForByte) {
  TempDir dir;
  writeText(dir / "in.svg", kEditorFile);
  Document doc = Document::load(dir / "in.svg");
  EXPECT_EQ(doc.toString(), kEditorFile);
  doc.saveAs(dir / "out.svg");
  EXPECT_EQ(readText(dir / "out.svg"), kEditorFile);
}

TEST(DocumentFile, AnEditChangesOnlyWhatItTouches) {
  Document doc = Document::parse(kEditorFile);
  const auto texts = doc.matchingArt(ArtKind::PointText, LockFilter::Any);
  ASSERT_EQ(texts.size(), 1u);
  doc.setTag(texts[0], "QZVNOM", "jj");
  std::string expected = kEditorFile;
  expected.insert(expected.find("id=\"text1\"") + 10, "\n       data-tag-QZVNOM=\"jj\"");
  EXPECT_EQ(doc.toString(), expected);
  EXPECT_TRUE(doc.modified());
}

// Written in pieces as it is produced: a value far longer than a piece, and many small
// elements, come back as they were around the one edit.
TEST(DocumentFile, ALargeEditedDocumentIsWrittenWhole) {
  TempDir dir;
  std::string svg = kEditorFile;
  std::string art = "    <image id=\"photo\" href=\"data:image/png;base64," + std::string(300'000, 'Q') + "\" />\n";
  for (int i = 0; i < 3000; ++i) art += "    <path d=\"M 0,0 L 10,10\" id=\"p" + std::to_string(i) + "\"/>\n";
  svg.insert(svg.find("  </g>\n</svg>"), art);
  writeText(dir / "in.svg", svg);
  Document doc = Document::load(dir / "in.svg");
  doc.setTag(doc.matchingArt(ArtKind::PointText, LockFilter::Any)[0], "QZVNOM", "jj");
  std::string expected = svg;
  expected.insert(expected.find("id=\"text1\"") + 10, "\n       data-tag-QZVNOM=\"jj\"");
  doc.saveAs(dir / "out.svg");
  EXPECT_EQ(readText(dir / "out.svg"), expected);
  EXPECT_EQ(doc.toString(), expected);
}

TEST(DocumentFile, SavingIsAtomicAndMovesTheDocument) {
  TempDir dir;
  Document doc = Document::parse(kEditorFile);
  EXPECT_FALSE(doc.location());
  EXPECT_THROW(doc.save(), std::logic_error);
  doc.setActiveArtboard(0);
  doc.setTag(doc.matchingArt(ArtKind::PointText, LockFilter::Any)[0], "A", "1");
  writeText(dir / "affiche.svg", "old content");
  doc.saveAs(dir / "affiche.svg");
  EXPECT_EQ(doc.location(), dir / "affiche.svg");
  EXPECT_FALSE(doc.modified());
  EXPECT_EQ(readText(dir / "affiche.svg"), doc.toString());
  // A writer that fails halfway leaves the file as it was.
  EXPECT_THROW(writeFileAtomically(dir / "affiche.svg",
                                   [](ByteSink& sink) {
                                     sink.write("<svg");
                                     throw std::runtime_error("the writer failed");
                                   }),
               std::runtime_error);
  EXPECT_EQ(readText(dir / "affiche.svg"), doc.toString());
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++files;
  EXPECT_EQ(files, 1) << "no temporary file is left behind";

  try {
    doc.saveAs(dir / "missing-folder" / "x.svg");
    FAIL() << "saving into a missing folder must fail";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("missing-folder/x.svg"), std::string::npos) << e.what();
  }
  EXPECT_EQ(doc.location(), dir / "affiche.svg");
}

TEST(DocumentFile, LoadingRemembersTheFile) {
  TempDir dir;
  writeText(dir / "a.svg", kEditorFile);
  EXPECT_EQ(Document::load(dir / "a.svg").location(), dir / "a.svg");
  try {
    Document::load(dir / "nope.svg");
    FAIL();
  } catch (const DocumentError& e) {
    EXPECT_NE(std::string(e.what()).find("nope.svg"), std::string::npos) << e.what();
  }
}

struct SizeCase {
  const char* attributes;
  Rect viewport;  // host points
};

TEST(DocumentUnits, RootSizeAndViewBoxGiveTheViewportInPoints) {
  const SizeCase cases[] = {
      {R"svg(width="210mm" height="297mm" viewBox="0 0 210 297")svg", {0, 841.8897637795275, 595.2755905511812, 0}},
      {R"svg(width="8.5in" height="11in")svg", {0, 792, 612, 0}},
      {R"svg(width="100" height="50")svg", {0, 37.5, 75, 0}},
      {R"svg(width="100px" height="50px" viewBox="0 0 10 5")svg", {0, 37.5, 75, 0}},
      {R"svg(viewBox="0 0 400 300")svg", {0, 225, 300, 0}},
      {R"svg(width="100%" height="100%" viewBox="0 0 400 300")svg", {0, 225, 300, 0}},
      {R"svg(width="200pt" viewBox="0 0 100 50")svg", {0, 100, 200, 0}},
      {R"svg(width="2pc" height="1cm" viewBox="0 0 24 10")svg", {0, 28.346456692913385, 24, 0}},
  };
  for (const SizeCase& c : cases) {
    const Document doc = Document::parse(
        std::string("<svg xmlns=\"http://www.w3.org/2000/svg\" ") + c.attributes + "/>");
    const Rect r = doc.viewport();
    EXPECT_NEAR(r.left, c.viewport.left, 1e-9) << c.attributes;
    EXPECT_NEAR(r.top, c.viewport.top, 1e-9) << c.attributes;
    EXPECT_NEAR(r.right, c.viewport.right, 1e-9) << c.attributes;
    EXPECT_NEAR(r.bottom, c.viewport.bottom, 1e-9) << c.attributes;
  }
}

TEST(DocumentUnits, HostOriginIsTheViewBoxBottomLeftWithYUp) {
  Document doc = Document::parse(
      R"svg(<svg xmlns="http://www.w3.org/2000/svg" xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape" width="100pt" height="50pt" viewBox="-10 -20 200 100">
<g inkscape:groupmode="layer" id="l"><text x="-10" y="80">a</text><text x="90" y="-20">b</text></g></svg>)svg");
  const auto texts = doc.matchingArt(ArtKind::PointText, LockFilter::Any);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(doc.textAnchor(texts[0]), (Point{0, 0}));   // bottom-left corner
  EXPECT_EQ(doc.textAnchor(texts[1]), (Point{50, 50}));  // middle of the top edge
}

struct BadCase {
  std::string svg;
  std::string message;
};

TEST(DocumentErrors, EachBadInputIsNamedAndExplained) {
  const std::string ns = R"svg(xmlns="http://www.w3.org/2000/svg")svg";
  const BadCase cases[] = {
      {"<html/>", "the root element is <html>, not <svg>"},
      {"<svg " + ns + " width=\"10\" height=\"10\">\n<g>\n</svg>", "malformed XML at line 3, column 3"},
      {"", "malformed XML"},
      {"<svg " + ns + "/>", "has no usable size"},
      {"<svg " + ns + " width=\"10mm\"/>", "has no usable size"},
      {"<svg " + ns + " width=\"0\" height=\"10\"/>", "width \"0\" is not a usable size"},
      {"<svg " + ns + " width=\"-5mm\" height=\"10\"/>", "width \"-5mm\" is not a usable size"},
      {"<svg " + ns + " width=\"NaN\" height=\"10\"/>", "width \"NaN\" is not a length"},
      {"<svg " + ns + " width=\"1e9in\" height=\"10\"/>", "width \"1e9in\" is not a usable size"},
      {"<svg " + ns + " viewBox=\"0 0 10\"/>", "viewBox \"0 0 10\" is not four numbers"},
      {"<svg " + ns + " viewBox=\"0 0 0 10\"/>", "viewBox \"0 0 0 10\" has no area"},
      {"<svg " + ns + " viewBox=\"0 0 1e8 1\" width=\"1e8pt\"/>", "is not a usable size"},
      {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><svg " + ns + " width=\"1\" height=\"1\"/>",
       "declares the encoding \"ISO-8859-1\""},
      {std::string("\xFF\xFE<\0s\0", 6), "only UTF-8 documents are supported"},
      {"<svg " + ns + " xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\" "
       "xmlns:sodipodi=\"http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd\" viewBox=\"0 0 10 10\">"
       "<sodipodi:namedview><inkscape:page id=\"p1\" x=\"0\" y=\"0\" width=\"5\" height=\"5\"/>"
       "<inkscape:page id=\"p2\" x=\"5\" y=\"0\" width=\"5\" height=\"0\"/></sodipodi:namedview></svg>",
       "page 2 (id \"p2\") has no area"},
      {"<svg " + ns + " xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\" "
       "xmlns:sodipodi=\"http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd\" viewBox=\"0 0 10 10\">"
       "<sodipodi:namedview><inkscape:page x=\"a\" width=\"5\" height=\"5\"/></sodipodi:namedview></svg>",
       "page 1: x \"a\" is not a number"},
  };
  for (const BadCase& c : cases) {
    try {
      Document::parse(c.svg, "poster.svg");
      ADD_FAILURE() << "accepted: " << c.svg;
    } catch (const DocumentError& e) {
      const std::string what = e.what();
      EXPECT_EQ(what.rfind("'poster.svg': ", 0), 0u) << what;
      EXPECT_NE(what.find(c.message), std::string::npos) << what;
    }
  }
}

}  // namespace
}  // namespace hostsim
