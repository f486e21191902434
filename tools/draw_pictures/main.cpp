// Draws every picture of the main window and the program's icon and writes them into the
// directory given as the one argument (normally assets/).
#include "tools/draw_pictures/pictures.h"

#include <QGuiApplication>

#include <filesystem>
#include <fstream>
#include <iostream>

namespace {

[[nodiscard]] bool write_file(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

}

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: draw_pictures <output directory>\n";
        return 2;
    }
    // The captions need a font database, not a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const std::filesystem::path directory(argv[1]);
    for (const auto& file : orvane::pictures::draw_all()) {
        if (file.bytes.empty() || !write_file(directory / file.name, file.bytes)) {
            std::cerr << "draw_pictures: cannot write " << (directory / file.name).string() << '\n';
            return 1;
        }
        std::cout << file.name << ' ' << file.bytes.size() << '\n';
    }
    return 0;
}
