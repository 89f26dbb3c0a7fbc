// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/checklist.h"

#include <QtTest>

using namespace jot;
using namespace Qt::StringLiterals;

class TstChecklist : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // One line through each change, and a whole text's count.
    void lines_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("toggled");
        QTest::addColumn<QString>("itemOrBack");
        auto row = [](const char* name, const char* line, const char* toggled, const char* back) {
            QTest::newRow(name) << QString::fromUtf8(line) << QString::fromUtf8(toggled)
                                << QString::fromUtf8(back);
        };
        row("open item", "[ ] milk", "[x] milk", "milk");
        row("done item", "[x] milk", "[ ] milk", "milk");
        row("empty item", "[ ] ", "[x] ", "");
        row("plain line", "milk", "milk", "[ ] milk");
        row("no space after", "[x]milk", "[x]milk", "[ ] [x]milk");
        row("capital x", "[X] milk", "[X] milk", "[ ] [X] milk");
        row("indented", " [ ] milk", " [ ] milk", "[ ]  [ ] milk");
    }
    void lines() {
        QFETCH(QString, line);
        QTEST(toggledItem(line), "toggled");
        QTEST(itemOrBack(line), "itemOrBack");
    }

    void count_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("done");
        QTest::addColumn<int>("total");
        QTest::newRow("none") << "Shopping\r\nmilk" << 0 << 0;
        QTest::newRow("CR LF") << "Shop\r\n[x] a\r\n[ ] b\r\n[x] c" << 2 << 3;
        QTest::newRow("LF, first line") << "[x] a\n[ ] b" << 1 << 2;
        QTest::newRow("item mid-line") << "a [x] b" << 0 << 0;
    }
    void count() {
        QFETCH(QString, text);
        const ItemCount c = countItems(text);
        QTEST(c.done, "done");
        QTEST(c.total, "total");
    }
};

QTEST_GUILESS_MAIN(TstChecklist)
#include "tst_checklist.moc"
