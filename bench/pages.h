// The benchmark's inputs: a drawing of N A4 pages laid out as an SVG editor would, with
// some art of the user's on every page; and a print poster holding one large photograph.
#pragma once

#include <cstddef>
#include <string>

namespace estampilleur::bench {

// N inkscape:page elements (A4, in mm, 25 to a row, 20 mm apart) and two layers: a
// background frame per page, and per page a group holding a circle, a path and a title.
std::string pagesDocument(int pages);

// One A4 artboard (the viewBox, no page element) holding a photograph of `photoBytes`
// bytes embedded as one base64 data URI, as an editor embeds it, and a title.
std::string photoDocument(std::size_t photoBytes);

}  // namespace estampilleur::bench
