// Loading, saving, compressed files and the mapping from SVG units to host points.
#include "atomic_file.h"
#include "compressed.h"
#include "model_test.h"
#include "support/support.h"

namespace hostsim {
namespace {

using testsupport::readText;
using testsupport::TempDir;
using testsupport::writeText;

const std::string kEditorFile =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
    "<!-- Created with a vector editor -->\n\n"
    "<svg\n   width=\"210mm\"\n   height=\"297mm\"\n   viewBox=\"0 0 210 297\"\n"
    "   xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\"\n"
    "   xmlns:sodipodi=\"http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd\"\n"
    "   xmlns=\"http://www.w3.org/2000/svg\"\n"
    "   xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
    "  <sodipodi:namedview\n     id=\"namedview1\"\n     inkscape:current-layer=\"layer1\" />\n"
    "  <metadata><rdf:RDF><rdf:Description about=\"&amp;x\"/></rdf:RDF></metadata>\n"
    "  <g\n     inkscape:label=\"Calque 1\"\n     inkscape:groupmode=\"layer\"\n     id=\"layer1\">\n"
    "    <text\n       xml:space=\"preserve\"\n       style='font-size:4.23333px;font-family:\"DejaVu Sans\"'\n"
    "       x=\"20\"\n       y=\"30\"\n       id=\"text1\"><tspan\n         sodipodi:role=\"line\"\n"
    "         x=\"20\"\n         y=\"30\">Caf&#233; &amp; cr&#xE8;me</tspan></text>\n"
    "    <path d=\"M 0,0 L 10,10\"    id=\"path1\"/>\n"
    "  </g>\n"
    "</svg>\n";

// Written in pieces as it is produced: a value far longer than a piece, and many small
// elements, come back as they were around the one edit.
TEST(DocumentFile, ALargeDocumentComesBackByteForByteAroundTheEdit) {
  TempDir dir;
  std::string svg = kEditorFile;
  std::string art = "    <image id=\"photo\" href=\"data:image/png;base64," + std::string(300'000, 'Q') + "\" />\n";
  for (int i = 0; i < 3000; ++i) art += "    <path d=\"M 0,0 L 10,10\" id=\"p" + std::to_string(i) + "\"/>\n";
  svg.insert(svg.find("  </g>\n</svg>"), art);
  writeText(dir / "in.svg", svg);
  Document doc = Document::load(dir / "in.svg");
  EXPECT_EQ(doc.location(), dir / "in.svg");
  EXPECT_EQ(doc.toString(), svg);
  doc.setTag(firstText(doc), "QZVNOM", "jj");
  EXPECT_TRUE(doc.modified());
  svg.insert(svg.find("id=\"text1\"") + 10, "\n       data-tag-QZVNOM=\"jj\"");
  doc.saveAs(dir / "out.svg");
  EXPECT_EQ(readText(dir / "out.svg"), svg);
}

TEST(DocumentFile, SavingIsAtomicMovesTheDocumentAndFailuresNameTheFile) {
  TempDir dir;
  Document doc = Document::parse(kEditorFile);
  EXPECT_FALSE(doc.location());
  EXPECT_THROW(doc.save(), std::logic_error);
  doc.setTag(firstText(doc), "A", "1");
  writeText(dir / "affiche.svg", "old content");
  doc.saveAs(dir / "affiche.svg");
  EXPECT_EQ(doc.location(), dir / "affiche.svg");
  EXPECT_FALSE(doc.modified());
  EXPECT_EQ(readText(dir / "affiche.svg"), doc.toString());
  // A writer that fails halfway leaves the file as it was, and no temporary file.
  EXPECT_THROW(writeFileAtomically(dir / "affiche.svg",
                                   [](ByteSink& sink) {
                                     sink.write("<svg");
                                     throw std::runtime_error("the writer failed");
                                   }),
               std::runtime_error);
  EXPECT_EQ(readText(dir / "affiche.svg"), doc.toString());
  EXPECT_EQ(filesIn(dir.path()), 1);

  EXPECT_TRUE(throwsNaming<std::runtime_error>([&] { doc.saveAs(dir / "missing-folder" / "x.svg"); },
                                               "missing-folder/x.svg"));
  EXPECT_EQ(doc.location(), dir / "affiche.svg");
  EXPECT_TRUE(throwsNaming<DocumentError>([&] { Document::load(dir / "nope.svg"); }, "nope.svg"));
}

TEST(CompressedFile, ReadWhateverItsNameAndWrittenBackCompressed) {
  TempDir dir;
  writeText(dir / "plain-name.svg", gzip(kEditorFile));
  Document doc = Document::load(dir / "plain-name.svg");
  EXPECT_TRUE(doc.compressed());
  EXPECT_EQ(doc.toString(), kEditorFile);
  doc.saveAs(dir / "out.svgz");
  EXPECT_EQ(gunzip(readText(dir / "out.svgz")), kEditorFile);
  doc.setCompressed(false);
  doc.saveAs(dir / "out.svg");
  EXPECT_EQ(readText(dir / "out.svg"), kEditorFile);
  EXPECT_TRUE(namesCompressedFile("a.SVGZ"));
  EXPECT_FALSE(namesCompressedFile("a.svg"));
  // gzip reads concatenated members as one file.
  const std::size_t half = kEditorFile.size() / 2;
  EXPECT_EQ(gunzip(gzip(kEditorFile.substr(0, half)) + gzip(kEditorFile.substr(half))), kEditorFile);
}

TEST(CompressedFile, DamagedTruncatedAndBombsAreRefusedNamingTheFile) {
  TempDir dir;
  const std::string packed = gzip(kEditorFile);
  std::string flipped = packed, badCrc = packed;
  flipped[packed.size() / 2] = static_cast<char>(flipped[packed.size() / 2] ^ 0x55);
  badCrc[packed.size() - 6] = static_cast<char>(badCrc[packed.size() - 6] ^ 1);
  for (const std::string& bytes : {packed.substr(0, packed.size() / 2), packed.substr(0, 2),
                                   packed.substr(0, packed.size() - 1), flipped, badCrc, packed + "trailing"}) {
    writeText(dir / "x.svgz", bytes);
    EXPECT_TRUE(throwsNaming<DocumentError>([&] { Document::load(dir / "x.svgz"); },
                                            "x.svgz': a damaged compressed document"));
  }
  // A bomb stops at the limit, whatever it would expand to.
  const std::string bomb = gzip(std::string((std::size_t{1} << 20) + 1, ' '));
  EXPECT_EQ(gunzip(bomb, std::size_t{2} << 20).size(), (std::size_t{1} << 20) + 1);
  EXPECT_TRUE(throwsNaming<std::runtime_error>([&] { gunzip(bomb, std::size_t{1} << 20); }, "expands beyond 1 MiB"));
}

TEST(DocumentUnits, RootSizeAndViewBoxGiveTheViewportInPoints) {
  const std::pair<const char*, Rect> cases[] = {
      {R"(width="210mm" height="297mm" viewBox="0 0 210 297")", {0, 841.8897637795275, 595.2755905511812, 0}},
      {R"(width="8.5in" height="11in")", {0, 792, 612, 0}},
      {R"(width="100" height="50")", {0, 37.5, 75, 0}},
      {R"(width="100px" height="50px" viewBox="0 0 10 5")", {0, 37.5, 75, 0}},
      {R"(viewBox="0 0 400 300")", {0, 225, 300, 0}},
      {R"(width="100%" height="100%" viewBox="0 0 400 300")", {0, 225, 300, 0}},
      {R"(width="200pt" viewBox="0 0 100 50")", {0, 100, 200, 0}},
      {R"(width="2pc" height="1cm" viewBox="0 0 24 10")", {0, 28.346456692913385, 24, 0}},
  };
  for (const auto& [attributes, viewport] : cases) {
    SCOPED_TRACE(attributes);
    expectRect(Document::parse(std::string("<svg xmlns=\"http://www.w3.org/2000/svg\" ") + attributes + "/>").viewport(),
               viewport);
  }
}

TEST(DocumentUnits, HostOriginIsTheViewBoxBottomLeftWithYUp) {
  const Document doc = Document::parse(
      svgWith(R"(width="100pt" height="50pt" viewBox="-10 -20 200 100")",
              R"(<g inkscape:groupmode="layer" id="l"><text x="-10" y="80">a</text><text x="90" y="-20">b</text></g>)"));
  const auto texts = doc.matchingArt(ArtKind::PointText, LockFilter::Any);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(doc.textAnchor(texts[0]), (Point{0, 0}));    // bottom-left corner
  EXPECT_EQ(doc.textAnchor(texts[1]), (Point{50, 50}));  // middle of the top edge
}

}  // namespace
}  // namespace hostsim
