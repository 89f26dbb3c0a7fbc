// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/placement.h"

#include <QtTest>

// Where a slot's note lands in the measured work area, in twips.
class TstPlacement : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cell_data() {
        QTest::addColumn<QRect>("pixels");
        QTest::addColumn<QPointF>("scale"); // twips per pixel, across and down
        QTest::addColumn<int>("slot");
        QTest::addColumn<QPoint>("cell");
        const auto row = [](const char* name, QRect px, int slot, QPoint at,
                            QPointF scale = {15, 15}) {
            QTest::newRow(name) << px << scale << slot << at;
        };
        // Six cells a column, filled upward from the bottom right.
        row("slot 8, second column, second cell", {0, 0, 1024, 738}, 8, {5430, 7710});
        row("panel on the left, held at its edge", {48, 0, 976, 738}, 13, {720, 9390});
        row("lower than a cell, held at the top", {0, 20, 1024, 100}, 2, {5430, 300});
        row("halves to even", {-3, 5, 1365, 1023}, 1, {5251, 11170}, {7.5, 12.5});
    }
    void cell() {
        QFETCH(QRect, pixels);
        QFETCH(QPointF, scale);
        QFETCH(int, slot);
        QTEST(jot::cellOf(jot::mesurer_bureau(pixels, scale.x(), scale.y()), slot), "cell");
    }
};

QTEST_GUILESS_MAIN(TstPlacement)
#include "tst_placement.moc"
