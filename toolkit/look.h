#pragma once

#include "ui/form.h"
#include "ui/properties.h"

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QString>

// Conversions between the form's and the store's values and Qt's.
namespace orvane {

QColor to_qcolor(Rgb);
// A font by face name and character height in pixels; no face: the system's default GUI font.
QFont to_qfont(const Font&);
QString text_from_gbk(const Bytes&);
Bytes text_to_gbk(const QString&);
// An empty pixmap for empty or unreadable bytes.
QPixmap picture_from_bytes(std::string_view);

}
