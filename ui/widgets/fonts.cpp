#include "ui/widgets/fonts.h"

#include <cmath>

#include <QFontDatabase>
#include <QStringList>

namespace bitwatch {

namespace {

QString FirstInstalled(const QStringList& candidates) {
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : candidates) {
        if (installed.contains(family, Qt::CaseInsensitive)) {
            return family;
        }
    }
    return candidates.front();
}

} // namespace

QFont DemoFont(FontFace face, double points) {
    // Looked up once: the font database does not change while the demo runs.
    static const QString sans = FirstInstalled({"MS Sans Serif", "Liberation Sans"});
    static const QString serif = FirstInstalled({"Times New Roman", "Liberation Serif"});

    QFont font(face == FontFace::Serif ? serif : sans);
    font.setStyleHint(face == FontFace::Serif ? QFont::Serif : QFont::SansSerif);
    font.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace bitwatch
