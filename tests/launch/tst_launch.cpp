#include "launch/platform.h"

#include <QtTest>

// What is settled before the application exists.
class TstLaunch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void platform_data();
    void platform();
};

void TstLaunch::platform_data() {
    QTest::addColumn<QByteArray>("chosen");
    QTest::addColumn<QByteArray>("wayland");
    QTest::addColumn<QByteArray>("x11");
    QTest::addColumn<QByteArray>("platform"); // QT_QPA_PLATFORM afterwards
    QTest::newRow("X11") << QByteArray() << QByteArray() << QByteArray(":0") << QByteArray();
    QTest::newRow("Wayland with XWayland")
        << QByteArray() << QByteArray("wayland-0") << QByteArray(":0") << QByteArray("xcb");
    QTest::newRow("Wayland alone")
        << QByteArray() << QByteArray("wayland-0") << QByteArray() << QByteArray("wayland");
    QTest::newRow("the user's choice") << QByteArray("wayland") << QByteArray("wayland-0")
                                       << QByteArray(":0") << QByteArray("wayland");
    QTest::newRow("no display") << QByteArray() << QByteArray() << QByteArray() << QByteArray();
}

void TstLaunch::platform() {
    QFETCH(QByteArray, chosen);
    QFETCH(QByteArray, wayland);
    QFETCH(QByteArray, x11);
    QFETCH(QByteArray, platform);
    const QByteArray saved = qgetenv("QT_QPA_PLATFORM");
    const auto set = [](const char* name, const QByteArray& value) {
        value.isEmpty() ? qunsetenv(name) : qputenv(name, value);
    };
    set("QT_QPA_PLATFORM", chosen);
    set("WAYLAND_DISPLAY", wayland);
    set("DISPLAY", x11);
    jot::choosePlatform();
    const QByteArray result = qgetenv("QT_QPA_PLATFORM");
    set("QT_QPA_PLATFORM", saved);
    QCOMPARE(result, platform);
}

QTEST_GUILESS_MAIN(TstLaunch)
#include "tst_launch.moc"
