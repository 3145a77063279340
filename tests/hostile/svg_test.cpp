// SVG files built to break a loader: each is refused in one line naming the file and the
// fault, or stamped soundly; never a crash, a hang or a read of anything but the file itself.
#include <sys/stat.h>

#include "hostile.h"
#include "hostsim/model/document.h"

namespace hostile {
namespace {

std::string withPage(const std::string& page) {
  return svg("width=\"100mm\" height=\"100mm\" viewBox=\"0 0 100 100\"",
             "<sodipodi:namedview id=\"nv\"><inkscape:page " + page + "/></sodipodi:namedview>");
}

std::string nested(int depth) {
  return svg("width=\"100mm\" height=\"100mm\" viewBox=\"0 0 100 100\"",
             "<g inkscape:groupmode=\"layer\" inkscape:label=\"Dessin\" id=\"dessin\">" + repeated("<g>", depth - 2) +
                 "<rect id=\"fond\" width=\"1\" height=\"1\"/>" + repeated("</g>", depth - 2) + "</g>");
}

TEST(Svg, EachBrokenDocumentIsRefusedInOneLineAndNothingIsWritten) {
  const std::string small = "width=\"10mm\" height=\"10mm\"", square = "width=\"100mm\" height=\"100mm\" ";
  const std::pair<std::string, const char*> refusals[] = {  // the document, and what the message says
      {svg(small, "<g><rect></g>"), "malformed XML at line 1"}, {"", "No document element"},
      {svg(small, "<g>").substr(0, 150), "malformed XML"},  // truncated
      {svg(small, std::string("<g>\0</g>", 8)), "malformed XML"},
      {svg(small + " width=\"20mm\""), "the attribute \"width\" appears twice on <svg>"},
      {svg(small + " xmlns:inkscape=\"urn:autre\""), "appears twice"},
      {"<html><body/></html>", "the root element is <html>, not <svg>"},
      {svg(""), "no usable size"}, {svg("width=\"100mm\""), "no usable size"},
      {svg("width=\"0\" height=\"0\" viewBox=\"0 0 0 0\""), "is not a usable size"},
      {svg("width=\"-100mm\" height=\"-50mm\""), "is not a usable size"},
      {svg("viewBox=\"0 0 -100 -100\""), "has no area"}, {svg("viewBox=\"0 0 100\""), "is not four numbers"},
      {svg("width=\"100furlongs\" height=\"3parsecs\""), "is not a length"},
      {svg("width=\"1e300mm\" height=\"1e300mm\""), "is not a usable size"},
      {svg("width=\"1e-300mm\" height=\"1e-300mm\""), "is not a usable size"},
      {svg("width=\"nan\" height=\"inf\""), "is not a length"},
      {svg(square + "viewBox=\"0 0 1e-300 1e-300\""), "a scale beyond"},  // a unit of 1e302 pt
      {svg(square + "viewBox=\"0 0 1e300 1e300\""), "a scale beyond"},    // of 1e-298 pt
      {svg(square + "viewBox=\"1e300 1e300 100 100\""), "lies beyond 1e8 pt"},
      {withPage("x=\"0\" y=\"0\" width=\"0\" height=\"50\""), "has no area"},
      {withPage("x=\"0\" y=\"0\" width=\"-10\" height=\"50\""), "has no area"},
      {withPage("x=\"0\" y=\"0\""), "has no area"},
      {withPage("x=\"0\" y=\"0\" width=\"1e-300\" height=\"10\""), "a page must be"},
      {withPage("x=\"0\" y=\"0\" width=\"1e300\" height=\"10\""), "lies beyond 1e8 pt"},
      {withPage("x=\"0\" y=\"0\" width=\"5e6\" height=\"10\""), "a page must be"},
      {withPage("x=\"1e300\" y=\"0\" width=\"10\" height=\"10\""), "lies beyond 1e8 pt"},
      {withPage("x=\"nan\" y=\"0\" width=\"10\" height=\"10\""), "is not a number"},
      {withPage("x=\"0\" y=\"0\" width=\"10\" height=\"10\" bleed=\"1e300\""), "the bleed"},
      {nested(100'000), "nest more than 1000 levels"}, {nested(1001), "nest more than 1000 levels"},
      {std::string("\xFF\xFE<\0s\0", 6), "UTF-16"},
      {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>" + svg(small), "encoding \"ISO-8859-1\""},
  };
  Workspace ws;
  for (const auto& [content, because] : refusals) {
    SCOPED_TRACE(content.substr(0, 300));
    writeFile(ws / "entree.svg", content);
    Result r = stampUntouched(ws, {"-o", "out.svg", "entree.svg"});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.err.rfind("estampilleur: 'entree.svg': ", 0), 0u) << "names the file:\n" << r.err;
    EXPECT_NE(r.err.find(because), std::string::npos) << r.err;
    EXPECT_EQ(occurrences(r.err, "\n"), 1u) << "one line:\n" << r.err;
    EXPECT_FALSE(std::filesystem::exists(ws / "out.svg"));
    EXPECT_TRUE(r.documents[0]["error"].is_string() && r.documents[0]["output"].is_null());
  }
}

// Huge, just under the nesting limit, self-referring or pointing outside: each is stamped (how
// the cost grows is the benchmark's to say), and what it points at is never fetched nor read.
TEST(Svg, OddDocumentsAreStampedAndNothingOutsideThemIsRead) {
  Workspace ws;
  writeFile(ws / "secret.txt", "SECRET-7d1f9e\n");
  ASSERT_EQ(::mkfifo((ws / "piege").c_str(), 0600), 0);  // nobody writes to it: reading it would hang
  const std::string secret = "file://" + (ws / "secret.txt").string(), trap = "file://" + (ws / "piege").string();
  const std::string a4 = "width=\"100mm\" height=\"100mm\"", big = repeated("abcdefghij", 1'000'000);
  std::string pages, laughs = "<!DOCTYPE svg [<!ENTITY a \"lollollollollol\">";  // ten levels of ten references
  for (int i = 0; i < 3000; ++i)
    pages += "<inkscape:page x=\"" + std::to_string(i * 110) + "\" y=\"0\" width=\"100\" height=\"" +
             std::to_string(50 + i % 100) + "\" id=\"p" + std::to_string(i) + "\"/>";
  for (char c = 'b'; c <= 'j'; ++c)
    laughs += std::string("<!ENTITY ") + c + " \"" + repeated(std::string("&") + static_cast<char>(c - 1) + ";", 10) + "\">";
  const struct {
    std::string svg;
    size_t stamps;
    std::vector<std::string> kept;  // in the output
  } cases[] = {
      {svg(a4 + " viewBox=\"0 0 100 100\"", "<sodipodi:namedview id=\"nv\">" + pages + "</sodipodi:namedview>"), 12000,
       {">3000/3000<", ">100 mm x 149 mm<"}},  // the last page's size
      {nested(1000), 4, {repeated("<g>", 998) + "<rect id=\"fond\" width=\"1\" height=\"1\"/>"}},
      {svg(a4, "<g inkscape:groupmode=\"layer\" id=\"l\"><text id=\"long\" x=\"1\" y=\"1\">" + big + "</text></g>"), 4,
       {big}},
      {"<?xml version=\"1.0\"?>" + laughs + "]>" + svg(a4, "<text id=\"rires\" x=\"1\" y=\"1\">&j;</text>"), 4,
       {">&j;</text>"}},
      {"<?xml version=\"1.0\"?><!DOCTYPE svg [<!ENTITY s SYSTEM \"" + secret +
           "\"><!ENTITY p SYSTEM \"file:///etc/passwd\"><!ENTITY t SYSTEM \"" + trap +
           "\"><!ENTITY w SYSTEM \"http://127.0.0.1:9/x\">]>" + svg(a4, "<text id=\"e\" x=\"1\" y=\"1\">&s;&p;&t;&w;</text>"),
       4, {"&s;&p;&t;&w;"}},
      {"<?xml version=\"1.0\"?><!DOCTYPE svg SYSTEM \"" + trap + "\">" + svg(a4), 4, {}},
      {"<?xml version=\"1.0\"?><!DOCTYPE svg [<!ENTITY % p SYSTEM \"" + secret + "\"> %p;]>" + svg(a4), 4, {}},
      {svg(a4 + " xmlns:xi=\"http://www.w3.org/2001/XInclude\"", "<xi:include href=\"" + secret + "\" parse=\"text\"/>"),
       4, {}},
      {"\xEF\xBB\xBF" + svg(a4), 4, {"\xEF\xBB\xBF<svg"}},  // a byte order mark, kept
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.svg.substr(0, 300));
    writeFile(ws / "entree.svg", c.svg);
    std::filesystem::remove(ws / "out.svg");
    Result r = stampUntouched(ws, {"-o", "out.svg", "entree.svg"}, c.stamps > 4 ? 600 : 120);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string output = readFile(ws / "out.svg");
    EXPECT_EQ(occurrences(output, "data-tag-QZVNOM"), c.stamps);
    for (const std::string& kept : c.kept) EXPECT_NE(output.find(kept), std::string::npos) << kept.substr(0, 100);
    for (const char* never : {"lollollollollollol", "SECRET-7d1f9e", "root:x:0:0"})
      EXPECT_EQ((output + r.documents.dump() + r.err).find(never), std::string::npos) << never;
  }
}

// Straight on the model: 20,000 new elements.
TEST(SvgModel, ManyNewElementsGetDistinctIds) {
  hostsim::Document document = hostsim::Document::parse(
      svg("width=\"100mm\" height=\"100mm\"", "<g inkscape:groupmode=\"layer\" id=\"l\"><text id=\"text2\"/></g>"));
  const hostsim::ArtHandle layer = document.layerGroup(document.layer(0));
  const auto add = [&] { return document.newPointText(layer, hostsim::Placement::InsideOnTop, {0, 0}); };
  std::vector<hostsim::ArtHandle> texts;
  for (int i = 0; i < 20000; ++i) texts.push_back(add());
  EXPECT_EQ(document.elementId(texts[0]), "text1");
  EXPECT_EQ(document.elementId(texts[1]), "text3") << "the file's own text2 is taken";
  document.dispose(texts[5]);
  EXPECT_EQ(document.elementId(add()), "text7") << "a freed id is the first one used again";
  EXPECT_EQ(document.elementId(add()), "text20002");
}

}  // namespace
}  // namespace hostile
