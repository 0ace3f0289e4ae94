#pragma once

// The cells as a test sees them: found by their names ("row1_50"), read as the board draws them,
// and clicked where a user would click them.

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include "ui/widgets/cell_board.h"

namespace bitwatch::test {

struct CellLook {
    QString text;
    QColor colour;
    bool visible = false;
    QRect geometry; // in the window's coordinates
};

inline CellBoard* Board(QWidget* window) {
    auto* board = window->findChild<CellBoard*>(QStringLiteral("cells"));
    EXPECT_NE(board, nullptr) << "no cell board";
    return board;
}

inline int CellNumber(QWidget* window, const QString& name) {
    const std::optional<int> cell = Board(window)->cellNamed(name);
    EXPECT_TRUE(cell.has_value()) << "no cell " << name.toStdString();
    return cell.value_or(0);
}

inline CellLook LookOf(QWidget* window, const QString& name) {
    CellBoard* board = Board(window);
    const int cell = CellNumber(window, name);
    return {board->cellText(cell), board->cellColour(cell),
            board->cellShown(cell) && board->isVisible(),
            board->cellRect(cell).translated(board->mapTo(window, QPoint(0, 0)))};
}

// A click at the middle of the cell's box, on whatever stands on top there.
inline void ClickCell(QWidget* window, const QString& name,
                      Qt::MouseButton button = Qt::LeftButton) {
    const QPoint centre = LookOf(window, name).geometry.center();
    QWidget* target = window->childAt(centre);
    ASSERT_NE(target, nullptr);
    QTest::mouseClick(target, button, {}, target->mapFrom(window, centre));
}

} // namespace bitwatch::test
