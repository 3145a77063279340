// A dialog as a person would see it on the screen, drawn as an SVG picture: the window
// with its title, every item drawn the way the host draws it (greyed when disabled, the
// keyboard item ringed, tooltips as SVG titles), and what the plug-in's draw procedures
// drew the last time they ran, in place.
//
// Standard colours: 0 black, 1 white, 16 red, others grey. Standard font 13 is a small
// interface font (10 pixels) whose lines fit 12 pixels; the others are 11 pixels.
#pragma once

#include <filesystem>
#include <string>

#include "hostsim/adm/dialog.h"

namespace hostsim::adm {

// The picture, as a complete SVG document in UTF-8.
std::string renderSvg(const Dialog& dialog);

// Writes renderSvg(dialog) to `file`; throws std::runtime_error naming the file.
void saveSvg(const Dialog& dialog, const std::filesystem::path& file);

}  // namespace hostsim::adm
