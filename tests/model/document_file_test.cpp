// Loading and saving, compressed files, SVG units in host points, artboards from pages, the
// bleed and the canvas that holds them, and new documents. That the stamps the host measured
// lie within the canvas is the command's test.
#include <cmath>

#include "atomic_file.h"
#include "compressed.h"
#include "model_test.h"
#include "support/support.h"

namespace hostsim {
namespace {

using testsupport::readText;
using testsupport::TempDir;
using testsupport::writeText;

// Written in pieces as it is produced: a value far longer than a piece, and many small
// elements, come back as they were around the one edit. Saving replaces the file the
// document then stands for; a save that fails leaves the file as it was.
TEST(DocumentFile, SavedByteForByteAroundTheEditOrNotAtAll) {
  TempDir dir;
  std::string svg = kEditorFile;
  std::string art = "    <image href=\"data:image/png;base64," + std::string(300'000, 'Q') + "\" />\n";
  for (int i = 0; i < 3000; ++i) art += "    <path d=\"M 0,0 L 10,10\" id=\"p" + std::to_string(i) + "\"/>\n";
  svg.insert(svg.find("  </g>\n</svg>"), art);
  writeText(dir / "in.svg", svg);
  writeText(dir / "out.svg", "old content");
  Document doc = Document::load(dir / "in.svg");
  EXPECT_EQ(doc.toString(), svg);
  doc.setTag(firstText(doc), "QZVNOM", "jj");
  EXPECT_TRUE(doc.modified());
  const auto failing = [](ByteSink& sink) { sink.write("<svg"), throw std::runtime_error("the writer failed"); };
  EXPECT_THROW(writeFileAtomically(dir / "out.svg", failing), std::runtime_error);
  EXPECT_EQ(readText(dir / "out.svg"), "old content");
  EXPECT_EQ(filesIn(dir.path()), 2) << "no temporary file is left";
  EXPECT_TRUE(throwsNaming<std::runtime_error>([&] { doc.saveAs(dir / "missing" / "x.svg"); }, "missing/x.svg"));
  EXPECT_EQ(doc.location(), dir / "in.svg");
  doc.saveAs(dir / "out.svg");
  svg.insert(svg.find("id=\"text1\"") + 10, "\n       data-tag-QZVNOM=\"jj\"");
  EXPECT_EQ(readText(dir / "out.svg"), svg);
  EXPECT_EQ(doc.location(), dir / "out.svg");
  EXPECT_FALSE(doc.modified());
  EXPECT_TRUE(throwsNaming<DocumentError>([&] { Document::load(dir / "nope.svg"); }, "nope.svg"));
  EXPECT_THROW(Document::parse(kEditorFile).save(), std::logic_error) << "never saved";
}

// Loaded whatever its name, written back compressed unless asked otherwise; damaged,
// truncated and endless data are refused. Stamping compressed files is the command's test.
TEST(CompressedFile, ReadWhateverItsNameAndRefusedNamingTheFileWhenDamaged) {
  TempDir dir;
  const std::string packed = gzip(kEditorFile);
  writeText(dir / "plain-name.svg", packed);
  Document doc = Document::load(dir / "plain-name.svg");
  EXPECT_EQ(doc.toString(), kEditorFile);
  doc.saveAs(dir / "out.svg");
  EXPECT_EQ(gunzip(readText(dir / "out.svg")), kEditorFile);
  doc.setCompressed(false);
  doc.saveAs(dir / "out.svg");
  EXPECT_EQ(readText(dir / "out.svg"), kEditorFile);
  EXPECT_TRUE(namesCompressedFile("a.SVGZ") && !namesCompressedFile("a.svg"));
  const std::size_t half = kEditorFile.size() / 2;
  EXPECT_EQ(gunzip(gzip(kEditorFile.substr(0, half)) + gzip(kEditorFile.substr(half))), kEditorFile)
      << "concatenated members are one file";

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
  EXPECT_EQ(doc.textAnchor(texts.at(0)), (Point{0, 0}));    // bottom-left corner
  EXPECT_EQ(doc.textAnchor(texts.at(1)), (Point{50, 50}));  // middle of the top edge
}

constexpr double kPtPerMm = 72.0 / 25.4;

// Two pages in millimetres, each with the attribute `bleed` (or none).
std::string twoPages(const std::string& bleed) {
  return svgWith(R"(width="430mm" height="297mm" viewBox="0 0 430 297")",
                 R"(<sodipodi:namedview id="nv"><inkscape:page x="0" y="0" width="210" height="297" id="page1")" +
                     bleed + R"(/><inkscape:page x="220" y="10" width="200" height="100" id="page2")" + bleed +
                     "/></sodipodi:namedview>");
}

TEST(Artboards, PagesInHostPoints) {
  Document doc = Document::parse(twoPages(""));
  ASSERT_EQ(doc.artboardCount(), 2);
  expectRect(doc.artboard(0), {0, 297 * kPtPerMm, 210 * kPtPerMm, 0});
  expectRect(doc.artboard(1), {220 * kPtPerMm, 287 * kPtPerMm, 420 * kPtPerMm, 187 * kPtPerMm});
  EXPECT_THROW(doc.artboard(-1), std::out_of_range);
  EXPECT_THROW(doc.setActiveArtboard(2), std::out_of_range);
  doc.setActiveArtboard(1);
  EXPECT_EQ(doc.activeArtboard(), 1);
  EXPECT_FALSE(doc.modified()) << "the active artboard is the host's state, not the file's";
}

TEST(Bleed, ReadFromTheFirstPageAsACssBoxAndNeverImpossible) {
  const std::pair<const char*, Rect> cases[] = {  // left, top, right, bottom in mm
      {"", {0, 0, 0, 0}},        {R"( bleed="3")", {3, 3, 3, 3}},         {R"( bleed="1 2")", {2, 1, 2, 1}},
      {R"( bleed="1 2 3")", {2, 1, 2, 3}}, {R"( bleed="1 2 3 4")", {4, 1, 2, 3}}, {R"( bleed="oops")", {0, 0, 0, 0}}};
  for (const auto& [attribute, mm] : cases)
    expectRect(Document::parse(twoPages(attribute)).bleed(),
               {mm.left * kPtPerMm, mm.top * kPtPerMm, mm.right * kPtPerMm, mm.bottom * kPtPerMm});
  Document doc = Document::parse(twoPages(""));
  EXPECT_THROW(doc.setBleed({0, 0, 0, -1}), std::invalid_argument);
  EXPECT_THROW(doc.setBleed({0, 0, 0, std::nan("")}), std::invalid_argument);
  EXPECT_FALSE(doc.modified());
}

// A side set goes to every page; the others stay each page's own.
TEST(Bleed, WrittenToEveryPageInUserUnits) {
  std::string svg = twoPages(R"( bleed="1 2 3 4")");
  svg.replace(svg.rfind("1 2 3 4"), 7, "5 6 7 8");
  Document doc = Document::parse(svg);
  Rect b = doc.bleed();
  b.bottom = 72;  // one inch
  doc.setBleed(b);
  expectRect(Document::parse(doc.toString()).bleed(), {4 * kPtPerMm, 1 * kPtPerMm, 2 * kPtPerMm, 72});
  const std::string text = doc.toString();
  EXPECT_TRUE(holds(text, R"(id="page1" bleed="1 2 25.4 4")"));
  EXPECT_TRUE(holds(text, R"(id="page2" bleed="5 6 25.4 8")"));
}

// What the host hands back unchanged, if only in single precision, stays as the file wrote it.
TEST(Bleed, SidesPassedBackInSinglePrecisionKeepTheirExactText) {
  Document doc = Document::parse(twoPages(R"( bleed="0.1 0.2 0.3 0.4")"));
  doc.setBleed(doc.bleed());
  EXPECT_FALSE(doc.modified());
  EXPECT_EQ(doc.toString(), twoPages(R"( bleed="0.1 0.2 0.3 0.4")"));
  const Rect b = doc.bleed();
  doc.setBleed({static_cast<float>(b.left), static_cast<float>(b.top), static_cast<float>(b.right), 0});
  EXPECT_TRUE(holds(doc.toString(), R"(bleed="0.1 0.2 0 0.4")"));
}

TEST(Bleed, AFileWithoutPagesGetsOneOverTheViewport) {
  const std::string plain =
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100pt\" height=\"50pt\" viewBox=\"0 0 200 100\">\n"
      "  <rect width=\"1\" height=\"1\"/>\n"
      "</svg>\n";
  Document doc = Document::parse(plain);
  EXPECT_EQ(doc.artboard(0), (Rect{0, 50, 100, 0})) << "without pages, the viewport is the only artboard";
  doc.setBleed({0, 0, 0, 0});
  EXPECT_EQ(doc.toString(), plain) << "a zero bleed needs no page";

  doc.setBleed({0, 0, 0, 14});
  EXPECT_EQ(doc.toString(),
            "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100pt\" height=\"64pt\" viewBox=\"0 0 200 128\""
            " xmlns:sodipodi=\"http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd\""
            " xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\">\n"
            "  <sodipodi:namedview id=\"namedview1\"><inkscape:page x=\"0\" y=\"0\" width=\"200\" "
            "height=\"100\" id=\"page1\" bleed=\"0 0 28 0\"/></sodipodi:namedview>\n"
            "  <rect width=\"1\" height=\"1\"/>\n"
            "</svg>\n");
}

// A browser shows the viewBox only, scaled to the root's size: whatever lies in the bleed or
// on a later page must be inside it once written, at the file's own scale, and nothing may
// move for the host. A relative size is left to the viewer; a canvas the loader would refuse
// is not written.
TEST(Canvas, GrowsToHoldEveryPageAndItsBleedInTheFilesOwnUnits) {
  struct Case {
    std::string svg;
    double bottomPt;
    std::vector<const char*> written;
    double lowered;  // how far the artboards go up for the host
  };
  const Case cases[] = {
      {svgWith(R"(width="210mm" height="297mm" viewBox="0 0 210 297")",
               R"(<sodipodi:namedview><inkscape:page x="0" y="0" width="210" height="297"/>)"
               R"(<inkscape:page x="220" y="-10" width="200" height="100"/></sodipodi:namedview>)"),
       5 * kPtPerMm, {R"(width="420mm" height="312mm" viewBox="0 -10 420 312")"}, 5 * kPtPerMm},
      {R"(<svg xmlns="http://www.w3.org/2000/svg" width="400" height="200"/>)", 30,
       {R"(width="400" height="240")", R"(viewBox="0 0 400 240")"}, 30},
      {R"(<svg xmlns="http://www.w3.org/2000/svg" width="100%" viewBox="0 0 100 50" height="50mm"/>)", 10 * kPtPerMm,
       {R"(width="100%" viewBox="0 0 100 60" height="60mm")"}, 10 * kPtPerMm},
      {svgWith(R"(width="100pt" height="100pt" viewBox="0 0 100 100")",
               R"(<sodipodi:namedview><inkscape:page x="0" y="0" width="100" height="100"/>)"
               R"(<inkscape:page x="9000000" y="0" width="100" height="100"/>)"
               R"(<inkscape:page x="-9000000" y="0" width="100" height="100"/></sodipodi:namedview>)"),
       10, {R"(viewBox="0 0 100 100")"}, 0},
  };
  for (const Case& c : cases) {
    Document doc = Document::parse(c.svg);
    const Document before = Document::parse(c.svg);
    doc.setBleed({0, 0, 0, c.bottomPt});
    const std::string saved = doc.toString();
    for (const char* written : c.written) EXPECT_TRUE(holds(saved, written));
    EXPECT_EQ(doc.toString(), saved) << "writing twice grows once";
    Document reloaded = Document::parse(saved);
    expectRect(reloaded.bleed(), {0, 0, 0, c.bottomPt});
    for (int i = 0; i < doc.artboardCount(); ++i) {
      const Rect r = before.artboard(i);
      expectRect(reloaded.artboard(i), {r.left, r.top + c.lowered, r.right, r.bottom + c.lowered});
    }
    reloaded.setBleed({0, 0, 0, c.bottomPt + 1});
    reloaded.setBleed({0, 0, 0, c.bottomPt});
    EXPECT_EQ(reloaded.toString(), saved) << "a canvas that holds everything is left as it is";
  }
}

TEST(NewDocument, ArtboardsStandSideBySideWithTopsAligned) {
  const Document doc = Document::parse(Document::create({{595.28, 841.89}, {612, 792}}).toString());
  ASSERT_EQ(doc.artboardCount(), 2);
  expectRect(doc.artboard(0), {0, 841.89, 595.28, 0});
  expectRect(doc.artboard(1), {615.28, 841.89, 1227.28, 49.89});
  EXPECT_EQ(doc.layerTitle(doc.currentLayer()), "Layer 1");
  EXPECT_THROW(Document::create({}), std::invalid_argument);
}

}  // namespace
}  // namespace hostsim
