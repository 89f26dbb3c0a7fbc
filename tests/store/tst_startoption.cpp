#include "store/startoption.h"

#include <QtTest>

class TstStartOption : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void toggling();
    void anyContentMeansOn_data();
    void anyContentMeansOn();
};

void TstStartOption::toggling() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString data = dir.path() + QLatin1Char('/');
    const QString marker = data + jot::kStartOptionFile;
    QVERIFY(!jot::startInTray(data));

    // On writes the five bytes, replacing whatever was there.
    QFile old(marker);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("something longer than five bytes");
    old.close();
    QVERIFY(jot::setStartInTray(data, true));
    QVERIFY(jot::startInTray(data));
    QFile file(marker);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("\x22\x31\x22\x0D\x0A"));
    file.close();

    QVERIFY(jot::setStartInTray(data, false));
    QVERIFY(!QFileInfo::exists(marker));
    QVERIFY(!jot::startInTray(data));
    // Already deleted by hand: switching off still succeeds.
    QVERIFY(jot::setStartInTray(data, false));
    QVERIFY(!jot::startInTray(data));
}

void TstStartOption::anyContentMeansOn_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("other text") << QByteArray("0\n");
}

void TstStartOption::anyContentMeansOn() {
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile file(dir.filePath(jot::kStartOptionFile));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    QVERIFY(jot::startInTray(dir.path() + QLatin1Char('/')));
}

QTEST_GUILESS_MAIN(TstStartOption)
#include "tst_startoption.moc"
