#include "mainwin/placement.h"

#include <QtTest>

// A measured work area and where a slot's note lands in it.
class TstPlacement : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cell_data();
    void cell();
};

void TstPlacement::cell_data() {
    QTest::addColumn<QRect>("pixels");
    QTest::addColumn<double>("twipsX");
    QTest::addColumn<double>("twipsY");
    QTest::addColumn<QRect>("twips"); // left, top, width, height of the measured area
    QTest::addColumn<int>("slot");
    QTest::addColumn<QPoint>("expected");

    // 1024 x 738 at the top left: six cells per column.
    const QRect screen(0, 0, 1024, 738);
    const QRect screenTwips(0, 0, 15360, 11070);
    QTest::newRow("slot 1, bottom right")
        << screen << 15.0 << 15.0 << screenTwips << 1 << QPoint(10395, 9390);
    QTest::newRow("slot 6, top of the column")
        << screen << 15.0 << 15.0 << screenTwips << 6 << QPoint(10395, 990);
    QTest::newRow("slot 7, next column at the bottom")
        << screen << 15.0 << 15.0 << screenTwips << 7 << QPoint(5430, 9390);
    QTest::newRow("slot 12, multiple of rows at the top")
        << screen << 15.0 << 15.0 << screenTwips << 12 << QPoint(5430, 990);
    QTest::newRow("slot 13, third column")
        << screen << 15.0 << 15.0 << screenTwips << 13 << QPoint(465, 9390);
    QTest::newRow("slot 19, held at the left edge")
        << screen << 15.0 << 15.0 << screenTwips << 19 << QPoint(0, 9390);
    QTest::newRow("slot 100, held at the left edge, fourth cell")
        << screen << 15.0 << 15.0 << screenTwips << 100 << QPoint(0, 4350);

    // 672 pixels are exactly six cells: the top cell touches the top.
    QTest::newRow("height a multiple of a cell")
        << QRect(0, 0, 800, 672) << 15.0 << 15.0 << QRect(0, 0, 12000, 10080) << 6
        << QPoint(7035, 0);
    QTest::newRow("panel at the bottom moves every cell up")
        << QRect(0, 0, 1024, 700) << 15.0 << 15.0 << QRect(0, 0, 15360, 10500) << 1
        << QPoint(10395, 8820);
    QTest::newRow("panel on the left: same cells, held at the panel")
        << QRect(48, 0, 976, 738) << 15.0 << 15.0 << QRect(720, 0, 14640, 11070) << 13
        << QPoint(720, 9390);
    QTest::newRow("panel on the left, slot 1 unmoved")
        << QRect(48, 0, 976, 738) << 15.0 << 15.0 << QRect(720, 0, 14640, 11070) << 1
        << QPoint(10395, 9390);
    QTest::newRow("panel on top: five cells a column")
        << QRect(0, 96, 1024, 642) << 15.0 << 15.0 << QRect(0, 1440, 15360, 9630) << 6
        << QPoint(5430, 9390);
    QTest::newRow("panel on top, slot 5 at the top cell")
        << QRect(0, 96, 1024, 642) << 15.0 << 15.0 << QRect(0, 1440, 15360, 9630) << 5
        << QPoint(10395, 2670);
    QTest::newRow("lower than a cell: one cell a column, held at the top")
        << QRect(0, 20, 1024, 100) << 15.0 << 15.0 << QRect(0, 300, 15360, 1500) << 2
        << QPoint(5430, 300);
    QTest::newRow("narrower than a cell: held at the left")
        << QRect(10, 0, 300, 738) << 15.0 << 15.0 << QRect(150, 0, 4500, 11070) << 1
        << QPoint(150, 9390);

    // 7.5 and 12.5 twips a pixel: every product ends in a half, which goes to even.
    QTest::newRow("halves to even") << QRect(3, 5, 1365, 1023) << 7.5 << 12.5
                                    << QRect(22, 62, 10238, 12788) << 1 << QPoint(5295, 11170);
    QTest::newRow("halves to even, left of the origin")
        << QRect(-3, -5, 1365, 1023) << 7.5 << 7.5 << QRect(-22, -38, 10238, 7672) << 1
        << QPoint(5251, 5954);
}

void TstPlacement::cell() {
    QFETCH(QRect, pixels);
    QFETCH(double, twipsX);
    QFETCH(double, twipsY);
    QFETCH(QRect, twips);
    QFETCH(int, slot);
    QFETCH(QPoint, expected);

    const jot::WorkArea area = jot::mesurer_bureau(pixels, twipsX, twipsY);
    QCOMPARE(QRect(area.left, area.top, area.width, area.height), twips);
    QCOMPARE(jot::cellOf(area, slot), expected);
}

QTEST_GUILESS_MAIN(TstPlacement)
#include "tst_placement.moc"
