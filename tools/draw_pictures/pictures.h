#pragma once

#include <string>
#include <vector>

// Draws the window's pictures and the program's icon from their descriptions. Every pixel except
// the captions' glyphs is computed here rather than by a painter's antialiasing, so redrawing gives
// the same bytes; the glyphs come from the installed CJK font and may differ between font versions,
// which is why the drawn files are committed and the committed files are the truth.
// Needs a QGuiApplication for the captions' font.
namespace orvane::pictures {

struct PictureFile {
    std::string name;  // file name under assets/, with its extension
    std::string bytes;
};

[[nodiscard]] std::vector<PictureFile> draw_all();

}
