// Writes the program's icon as the PNG that desktop menus show, at the side of the icon theme
// folder it is installed into: icon_to_png <in.ico> <out.png> <side>.
#include <QImage>

#include <cstdlib>
#include <iostream>

int main(int argc, char** argv)
{
    const int side = argc == 4 ? std::atoi(argv[3]) : 0;
    if (side <= 0) {
        std::cerr << "usage: icon_to_png <icon> <png> <side>\n";
        return 2;
    }
    QImage icon(QString::fromLocal8Bit(argv[1]));
    if (icon.isNull()) {
        std::cerr << "icon_to_png: cannot read " << argv[1] << '\n';
        return 1;
    }
    if (icon.size() != QSize(side, side))
        icon = icon.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (!icon.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::cerr << "icon_to_png: cannot write " << argv[2] << '\n';
        return 1;
    }
    return 0;
}
