// The benchmark's inputs: a drawing of N A4 pages laid out as an SVG editor would, with
// some art of the user's on every page.
#pragma once

#include <string>

namespace estampilleur::bench {

// N inkscape:page elements (A4, in mm, 25 to a row, 20 mm apart) and two layers: a
// background frame per page, and per page a group holding a circle, a path and a title.
std::string pagesDocument(int pages);

}  // namespace estampilleur::bench
