// On a dark desktop the window keeps the light grey background and black text that its colours
// were chosen for: every colour role must stand out at least as well as on a light desktop.

#include <array>
#include <cmath>
#include <memory>

#include <QApplication>
#include <QLabel>
#include <QPalette>
#include <QStyle>
#include <QTest>

#include <gtest/gtest.h>

#include "cells.h"
#include "core/frame.h"
#include "ui/widgets/colour.h"
#include "ui/widgets/main_window.h"

namespace bitwatch {
namespace {

double Luminance(const QColor& colour) {
    const auto linear = [](double channel) {
        return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

// The contrast ratio of the Web Content Accessibility Guidelines, 1:1 to 21:1.
double Contrast(const QColor& a, const QColor& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QPalette DarkPalette() {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Base, QColor(0x10, 0x10, 0x10));
    dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Button, QColor(0x30, 0x30, 0x30));
    dark.setColor(QPalette::ButtonText, QColor(0xee, 0xee, 0xee));
    return dark;
}

struct Rendered {
    QColor background;  // behind a cell, as drawn
    QColor captionText; // the text colour of "Bit Error Rate"
};

// The window drawn under the given application palette.
Rendered Render(const QPalette& palette) {
    const QPalette saved = QApplication::palette();
    QApplication::setPalette(palette);
    Rendered rendered;
    {
        MainWindow window;
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        const QImage image = window.grab().toImage();
        const QRect cell = test::LookOf(&window, QStringLiteral("row1_48")).geometry;
        // The lower part of a data cell's box holds no digit.
        rendered.background = image.pixelColor(cell.left() + 2, cell.bottom() - 2);
        rendered.captionText = window.findChild<QLabel*>(QStringLiteral("Label2_0"))
                                   ->palette()
                                   .color(QPalette::WindowText);
    }
    QApplication::setPalette(saved);
    return rendered;
}

TEST(Legibility, ADarkPaletteKeepsTheLightBackgroundAndEveryContrast) {
    const Rendered light = Render(QApplication::style()->standardPalette());
    const Rendered dark = Render(DarkPalette());
    EXPECT_GT(dark.background.lightness(), 200) << dark.background.name().toStdString();
    EXPECT_EQ(dark.background, light.background);
    EXPECT_LT(dark.captionText.lightness(), 60) << dark.captionText.name().toStdString();

    for (const Colour role :
         std::array<Colour, 7>{ColourTxData, ColourTxCheck, ColourRxData, ColourRxCheck,
                               ColourMismatch, ColourResult, ColourArrow}) {
        const QColor colour = ToQColor(role);
        EXPECT_GE(Contrast(colour, dark.background), Contrast(colour, light.background) - 1e-9)
            << colour.name().toStdString() << " on " << dark.background.name().toStdString();
    }
}

TEST(Legibility, ALightPaletteIsLeftAsItIs) {
    QPalette custom = QApplication::style()->standardPalette();
    custom.setColor(QPalette::Window, QColor(0xf4, 0xf0, 0xe6)); // a light, warm desktop
    const Rendered rendered = Render(custom);
    EXPECT_EQ(rendered.background, QColor(0xf4, 0xf0, 0xe6));
}

} // namespace
} // namespace bitwatch
