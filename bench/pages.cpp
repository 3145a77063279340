#include "pages.h"

#include <algorithm>
#include <cstdint>

namespace estampilleur::bench {

std::string pagesDocument(int pages) {
  constexpr int kWidth = 210, kHeight = 297, kGap = 20, kPerRow = 25;
  const int columns = std::clamp(pages, 1, kPerRow);
  const int rows = std::max(1, (pages + columns - 1) / columns);
  const std::string totalWidth = std::to_string(columns * (kWidth + kGap) - kGap);
  const std::string totalHeight = std::to_string(rows * (kHeight + kGap) - kGap);
  const auto x = [&](int i) { return std::to_string(i % columns * (kWidth + kGap)); };
  const auto y = [&](int i) { return std::to_string(i / columns * (kHeight + kGap)); };

  std::string svg;
  svg.reserve(static_cast<std::size_t>(pages) * 600 + 1000);
  svg += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n<svg\n   width=\"" + totalWidth +
         "mm\"\n   height=\"" + totalHeight + "mm\"\n   viewBox=\"0 0 " + totalWidth + " " + totalHeight +
         "\"\n   version=\"1.1\"\n   id=\"bench\"\n"
         "   xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\"\n"
         "   xmlns:sodipodi=\"http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd\"\n"
         "   xmlns=\"http://www.w3.org/2000/svg\"\n   xmlns:svg=\"http://www.w3.org/2000/svg\">\n"
         "  <sodipodi:namedview id=\"namedview\" inkscape:document-units=\"mm\" "
         "inkscape:current-layer=\"contenu\">\n";
  for (int i = 0; i < pages; ++i) {
    const std::string n = std::to_string(i + 1);
    svg += "    <inkscape:page x=\"" + x(i) + "\" y=\"" + y(i) + "\" width=\"210\" height=\"297\" id=\"page" + n +
           "\" inkscape:label=\"Page " + n + "\" />\n";
  }
  svg += "  </sodipodi:namedview>\n  <g inkscape:groupmode=\"layer\" inkscape:label=\"Fond\" id=\"fond\">\n";
  for (int i = 0; i < pages; ++i)
    svg += "    <rect x=\"" + std::to_string(i % columns * (kWidth + kGap) + 10) + "\" y=\"" +
           std::to_string(i / columns * (kHeight + kGap) + 10) +
           "\" width=\"190\" height=\"277\" style=\"fill:#e3f2fd;stroke:#1565c0;stroke-width:0.5\" id=\"cadre" +
           std::to_string(i + 1) + "\" />\n";
  svg += "  </g>\n  <g inkscape:groupmode=\"layer\" inkscape:label=\"Contenu\" id=\"contenu\">\n";
  for (int i = 0; i < pages; ++i) {
    const std::string n = std::to_string(i + 1);
    svg += "    <g id=\"bloc" + n + "\" transform=\"translate(" + x(i) + "," + y(i) +
           ")\">\n"
           "      <circle cx=\"105\" cy=\"130\" r=\"40\" style=\"fill:#fce4ec;stroke:#ad1457\" id=\"disque" +
           n +
           "\" />\n"
           "      <path d=\"M 30,210 H 180 L 105,260 Z\" style=\"fill:#e8f5e9;stroke:#2e7d32\" id=\"triangle" +
           n +
           "\" />\n"
           "      <text x=\"105\" y=\"60\" style=\"font-size:12px;font-family:'DejaVu Serif';text-anchor:middle\" "
           "id=\"titre" +
           n + "\">Page " + n + "</text>\n    </g>\n";
  }
  svg += "  </g>\n</svg>\n";
  return svg;
}

std::string photoDocument(std::size_t photoBytes) {
  static constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string svg =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n<svg\n   width=\"210mm\"\n"
      "   height=\"297mm\"\n   viewBox=\"0 0 210 297\"\n   version=\"1.1\"\n   id=\"affiche\"\n"
      "   xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\"\n"
      "   xmlns:xlink=\"http://www.w3.org/1999/xlink\"\n"
      "   xmlns=\"http://www.w3.org/2000/svg\"\n   xmlns:svg=\"http://www.w3.org/2000/svg\">\n"
      "  <g inkscape:groupmode=\"layer\" inkscape:label=\"Photo\" id=\"photo\">\n"
      "    <image width=\"190\" height=\"250\" x=\"10\" y=\"10\" preserveAspectRatio=\"none\" id=\"image1\"\n"
      "       xlink:href=\"data:image/jpeg;base64,";
  svg.reserve(svg.size() + (photoBytes + 2) / 3 * 4 + 400);
  // Bytes that do not compress, like a photograph's.
  std::uint64_t state = 0x9E3779B97F4A7C15u;
  const auto next = [&] {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return static_cast<std::uint32_t>(state);
  };
  for (std::size_t i = 0; i < photoBytes; i += 3) {
    const std::uint32_t bits = next() & 0xFFFFFFu;
    const std::size_t n = std::min<std::size_t>(3, photoBytes - i);
    for (std::size_t k = 0; k < 4; ++k) svg += k <= n ? kBase64[bits >> (18 - 6 * k) & 63] : '=';
  }
  svg +=
      "\" />\n    <text x=\"105\" y=\"280\" style=\"font-size:12px;font-family:'DejaVu Serif';"
      "text-anchor:middle\" id=\"titre\">Affiche</text>\n  </g>\n</svg>\n";
  return svg;
}

}  // namespace estampilleur::bench
