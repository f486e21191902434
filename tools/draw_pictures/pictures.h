#pragma once

#include <string>
#include <vector>

// Draws the window's pictures and the program's icon from their descriptions. The glyphs, boxes
// and marker are computed pixel by pixel, so redrawing them gives the same bytes anywhere; the
// captions come from the installed CJK font and the icon from Qt's antialiased painter, both of
// which may change with library versions. That is why the drawn files are committed and the
// committed files are the truth.
// Needs a QGuiApplication for the captions' font.
namespace orvane::pictures {

struct PictureFile {
    std::string name;  // file name under assets/, with its extension
    std::string bytes;
};

[[nodiscard]] std::vector<PictureFile> draw_all();

}
