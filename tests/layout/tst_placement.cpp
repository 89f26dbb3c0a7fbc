// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/noteplaces.h"
#include "layout/placement.h"
#include "store/datadir.h"

#include <QtTest>

using Tasks = QList<std::pair<QString, QString>>;

// Where a slot's note lands in the measured work area, in twips; where the user put notes.
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

    // Which kept entry each task takes: by creation stamp and text, the nth of equal tasks the
    // nth of equal entries.
    void matchPlaces_data() {
        QTest::addColumn<Tasks>("entries");
        QTest::addColumn<Tasks>("tasks");
        QTest::addColumn<QList<int>>("match");
        const std::pair<QString, QString> a{"Le 03/14 à 09:00 am", "copied"};
        const std::pair<QString, QString> b{"Le 03/14 à 09:00 am", "other"};
        QTest::newRow("equal tasks in order")
            << Tasks{a, b, a} << Tasks{b, a, a, a} << QList<int>{1, 0, 2, -1};
        QTest::newRow("text changed elsewhere")
            << Tasks{a} << Tasks{{a.first, "copied!"}} << QList<int>{-1};
    }
    void matchPlaces() {
        QFETCH(Tasks, entries);
        QFETCH(Tasks, tasks);
        QList<jot::NotePlace> places;
        for (const auto& task : entries) {
            places.append(jot::NotePlace());
            std::tie(places.last().stamp, places.last().text) = task;
        }
        QTEST(jot::matchNotePlaces(places, tasks), "match");
    }

    // The state file gives back what was written, texts of many lines included, private, in
    // the state folder under the lock's name for the data directory.
    void stateFile() {
        QTemporaryDir dir;
        qputenv("XDG_STATE_HOME", dir.path().toLocal8Bit());
        const QString path = jot::notePlacesPath(dir.path());
        QCOMPARE(path, dir.path() + "/jotlark/notes-" + jot::dataDirHash(dir.path()) + ".ini");
        QList<jot::NotePlace> places(3);
        places[0] = {
            "Le 03/14 à 09:00 am", "two\r\nlines\\n [note]\r\n=", true, {-40, 7}, {400, 120}, true};
        places[1] = {"Le 03/15 à 10:00 am", "", false, {}, {331, 90}, false};
        places[2] = {"Le 03/15 à 10:00 am", "placed", true, {0, 0}, {}, false};
        QVERIFY(jot::writeNotePlaces(path, places));
        QCOMPARE(jot::readNotePlaces(path), places);
        QCOMPARE(int(QFile::permissions(path) & 0x7077), 0x6000); // 0600
        QCOMPARE(QDir(QFileInfo(path).path()).entryList(QDir::Files),
                 QStringList{QFileInfo(path).fileName()});
    }
};

QTEST_GUILESS_MAIN(TstPlacement)
#include "tst_placement.moc"
