// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/programicon.h"

#include <QtTest>

// The platform sends a window its icon at every size the icon has: the sizes drawn for their
// pixel grids, shown as drawn, and nothing rendered from the drawing until a larger size is
// asked for.
class TstProgramIcon : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sizes_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("source");
        for (int size : {16, 22, 24, 32, 48})
            QTest::addRow("%d px, drawn", size)
                << size << QStringLiteral(":/icons/jotlark-%1.png").arg(size);
        QTest::newRow("64 px, from the drawing") << 64 << ":/icons/jotlark.svg";
    }
    void sizes() {
        QFETCH(int, size);
        QFETCH(QString, source);
        const QIcon icon = jot::programIcon();
        const auto image = [size](const QIcon& i) {
            return i.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
        };
        QCOMPARE(image(icon), image(QIcon(source)));
        QCOMPARE(icon.availableSizes().contains(QSize(size, size)), source.endsWith(".png"));
    }
};

QTEST_MAIN(TstProgramIcon)
#include "tst_programicon.moc"
