// A dialog as a person would see it on the screen, drawn as an SVG picture: the window
// with its title, every item drawn the way the host draws it (greyed when disabled, the
// keyboard item ringed, tooltips as SVG titles), and what the plug-in's draw procedures
// drew the last time they ran, in place (standard colours and fonts as drawing.h says).
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
