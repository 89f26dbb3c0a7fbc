#include "mainwin/placement.h"

#include <QtTest>

// A measured work area and where a slot's note lands in it.
class TstPlacement : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cell_data() {
        QTest::addColumn<QRect>("pixels");
        QTest::addColumn<QPointF>("scale"); // twips per pixel, across and down
        QTest::addColumn<QRect>("twips");   // the measured area
        QTest::addColumn<int>("slot");
        QTest::addColumn<QPoint>("expected");
        const auto row = [](const char* name, QRect px, QRect tw, int slot, QPoint at,
                            QPointF scale = {15, 15}) {
            QTest::newRow(name) << px << scale << tw << slot << at;
        };
        // 1024 x 738 at the top left: six cells a column.
        const QRect s(0, 0, 1024, 738), t(0, 0, 15360, 11070);
        row("slot 1, bottom right", s, t, 1, {10395, 9390});
        row("slot 7, next column at the bottom", s, t, 7, {5430, 9390});
        row("slot 19, held at the left edge", s, t, 19, {0, 9390});
        row("panel on the left", {48, 0, 976, 738}, {720, 0, 14640, 11070}, 13, {720, 9390});
        row("lower than a cell", {0, 20, 1024, 100}, {0, 300, 15360, 1500}, 2, {5430, 300});
        row("halves to even", {3, 5, 1365, 1023}, {22, 62, 10238, 12788}, 1, {5295, 11170},
            {7.5, 12.5});
        row("halves to even, left of the origin", {-3, -5, 1365, 1023}, {-22, -38, 10238, 7672}, 1,
            {5251, 5954}, {7.5, 7.5});
    }
    void cell() {
        QFETCH(QRect, pixels);
        QFETCH(QPointF, scale);
        QFETCH(QRect, twips);
        QFETCH(int, slot);
        QFETCH(QPoint, expected);
        const jot::WorkArea area = jot::mesurer_bureau(pixels, scale.x(), scale.y());
        QCOMPARE(QRect(area.left, area.top, area.width, area.height), twips);
        QCOMPARE(jot::cellOf(area, slot), expected);
    }
};

QTEST_GUILESS_MAIN(TstPlacement)
#include "tst_placement.moc"
