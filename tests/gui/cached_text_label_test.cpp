#include "ui/widgets/cached_text_label.h"

#include <QImage>
#include <QPalette>

#include <gtest/gtest.h>

namespace bitwatch {
namespace {

// A label as the window makes its verdict and its rate.
template <typename Label> void Style(Label& label) {
    label.setGeometry(0, 0, 120, 33);
    label.setFont(QFont(QStringLiteral("Liberation Sans"), 14, QFont::Bold));
    label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label.setAutoFillBackground(true);
    label.setTextFormat(Qt::PlainText);
}

QImage Drawn(QWidget& label) {
    return label.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// Every text, new or drawn from the cache, looks exactly as a plain QLabel draws it, also after
// a change of font, palette, alignment or size.
TEST(CachedTextLabel, DrawsEveryTextAsQLabelDoes) {
    QWidget window;
    window.resize(300, 100);
    QLabel plain(&window);
    CachedTextLabel cached(&window);
    Style(plain);
    Style(cached);
    window.show();
    const auto compare = [&](const QString& text, const char* when) {
        plain.setText(text);
        cached.setText(text);
        EXPECT_EQ(Drawn(cached), Drawn(plain)) << '"' << text.toStdString() << "\" " << when;
    };
    const QStringList texts = {QStringLiteral("No Errors"), QStringLiteral(" 37.91"),
                               QStringLiteral("Errors Detected"), QString(),
                               QStringLiteral(" 37.9")};
    for (int round = 0; round < 3; ++round) { // new, then seen again, then from the cache
        for (const QString& text : texts) {
            compare(text, "before any change");
        }
    }
    for (QWidget* label : {static_cast<QWidget*>(&plain), static_cast<QWidget*>(&cached)}) {
        label->setFont(QFont(QStringLiteral("Liberation Serif"), 18));
    }
    compare(QStringLiteral("No Errors"), "after a font change");
    QPalette dark = plain.palette();
    dark.setColor(QPalette::Window, QColor(40, 40, 40));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    plain.setPalette(dark);
    cached.setPalette(dark);
    compare(QStringLiteral("No Errors"), "after a palette change");
    plain.setAlignment(Qt::AlignRight | Qt::AlignTop);
    cached.setAlignment(Qt::AlignRight | Qt::AlignTop);
    compare(QStringLiteral("No Errors"), "after a new alignment");
    plain.resize(90, 20);
    cached.resize(90, 20);
    compare(QStringLiteral("No Errors"), "after a resize");
}

} // namespace
} // namespace bitwatch
