#pragma once
// The game's icon for the desktop's menus: the shark, jaws open, swimming up across a
// rounded square of sea. Drawn as vectors, so the same drawing gives every PNG size and
// the SVG.

#include <cairo.h>

#include <string>
#include <vector>

namespace art {

// The PNG sizes the desktop entry ships, in pixels.
const std::vector<int>& iconSizes();

// Draws the icon into a square of size x size at the origin.
void drawIcon(cairo_t* cr, double size);

// The file names in the icon folder: reefmaw_<size>.png and reefmaw.svg.
std::string iconPngName(int size);
inline constexpr const char* kIconSvgName = "reefmaw.svg";

// Writes every PNG size and the SVG into dir (made if missing). Raises std::runtime_error
// when a file cannot be written.
void writeIcons(const std::string& dir);

}  // namespace art
