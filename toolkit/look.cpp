#include "toolkit/look.h"

#include "platform/gbk.h"

#include <QApplication>
#include <QImage>

namespace orvane {

QColor to_qcolor(Rgb rgb)
{
    return QColor::fromRgb((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

QFont to_qfont(const Font& font)
{
    if (font.face.empty())
        return QApplication::font();
    QFont qfont(QString::fromUtf8(font.face.data(), qsizetype(font.face.size())));
    qfont.setPixelSize(font.pixel_height);
    return qfont;
}

QString text_from_gbk(const Bytes& gbk)
{
    return QString::fromStdString(from_gbk(gbk));
}

Bytes text_to_gbk(const QString& text)
{
    return to_gbk(text.toStdString());
}

QPixmap picture_from_bytes(std::string_view bytes)
{
    return QPixmap::fromImage(QImage::fromData(
        reinterpret_cast<const uchar*>(bytes.data()), int(bytes.size())));
}

}
