// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/soundplayer.h"

#include "common/tempdatahome.h"

#include <QGuiApplication>
#include <QProcess>
#include <QtTest>

// The real player against a private PulseAudio with a null sink on a socket of its own: the
// alarm sound must reach it as a playback stream. Never the user's sound server.
class TstSoundPlayer : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QProcess m_server; // killed by its destructor
    QString socket() const { return m_dir.filePath("native"); }

    // The streams playing now, as the server lists them, with their sound files.
    QByteArray streams() {
        QProcess pactl;
        pactl.start("pactl", {"-s", "unix:" + socket(), "list", "sink-inputs"});
        return pactl.waitForFinished(5000) ? pactl.readAllStandardOutput() : QByteArray();
    }

private Q_SLOTS:
    void initTestCase() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name :
             {"HOME", "XDG_RUNTIME_DIR", "XDG_CONFIG_HOME", "PULSE_RUNTIME_PATH"})
            env.insert(name, m_dir.path());
        m_server.setProcessEnvironment(env);
        m_server.setChildProcessModifier(testing::endWithParent);
        m_server.start("pulseaudio",
                       {"-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
                        "--disable-shm=yes", "-L", "module-null-sink", "-L",
                        "module-native-protocol-unix auth-anonymous=1 socket=" + socket()});
        QVERIFY2(m_server.waitForStarted(), "no pulseaudio: scripts/test.sh installs it");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket()), 10000);
        qputenv("PULSE_SERVER", ("unix:" + socket()).toUtf8());
        // libcanberra keeps what it looked up, found or not, in the cache folder.
        qputenv("XDG_CACHE_HOME", m_dir.filePath("cache").toLocal8Bit());
    }

    // libcanberra and its libraries load with the first sound, not with the program. The
    // theme's alarm sound plays, and its bell where the theme has none (here a long one, to be
    // seen playing).
    void playsOnTheSoundServer() {
        const auto loaded = [] {
            return testing::readFile("/proc/self/maps").contains("libcanberra");
        };
        const QString system = "/usr/share/sounds/freedesktop/";
        const QString stereo = m_dir.filePath("data/sounds/freedesktop/stereo/");
        QVERIFY(QDir().mkpath(stereo));
        QVERIFY(QFile::copy(system + "index.theme", stereo + "../index.theme"));
        for (const char* sound : {"alarm-clock-elapsed.oga", "bell.oga"})
            QVERIFY(QFile::copy(system + "stereo/alarm-clock-elapsed.oga", stereo + sound));
        qputenv("XDG_DATA_DIRS", m_dir.filePath("data").toLocal8Bit());
        for (const QString sound : {"alarm-clock-elapsed.oga", "bell.oga"}) {
            const std::unique_ptr<jot::SoundPlayer> player = jot::createSoundPlayer();
            QCOMPARE(loaded(), sound == "bell.oga");
            player->play();
            QVERIFY(loaded());
            // The sound lasts seconds on the null sink, which plays in real time.
            QTRY_VERIFY_WITH_TIMEOUT(streams().contains((stereo + sound).toUtf8()), 10000);
            QVERIFY(sound == "bell.oga" || QFile::remove(stereo + sound));
        }
    }

    // The sound theme's name among the desktop's settings, in either byte order: an integer,
    // a colour, then the string, each name padded to 4 bytes.
    void xsettingsString() {
        const auto property = [](QDataStream::ByteOrder order) {
            QByteArray bytes;
            QDataStream out(&bytes, QIODevice::WriteOnly);
            out.setByteOrder(order);
            out << quint8(order == QDataStream::BigEndian ? 1 : 0) << quint8(0) << quint16(0)
                << quint32(7) << quint32(3);
            const auto setting = [&](quint8 type, const QByteArray& name) {
                out << type << quint8(0) << quint16(name.size());
                out.writeRawData(name.constData(), int(name.size()));
                out.writeRawData("\0\0\0", int(-name.size() & 3));
                out << quint32(1);
            };
            setting(0, "Net/DoubleClickTime");
            out << quint32(400);
            setting(2, "Gtk/Color");
            out << quint16(1) << quint16(2) << quint16(3) << quint16(4);
            setting(1, "Net/SoundThemeName");
            out << quint32(5);
            out.writeRawData("ocean\0\0\0", 8);
            return jot::xsettingsString(bytes, "Net/SoundThemeName") + '|' +
                   jot::xsettingsString(bytes.chopped(5), "Net/SoundThemeName"); // cut off
        };
        QCOMPARE(property(QDataStream::LittleEndian), "ocean|");
        QCOMPARE(property(QDataStream::BigEndian), "ocean|");
        QCOMPARE(jot::xsettingsString({}, "Net/SoundThemeName"), ""); // no settings daemon
    }
};

QTEST_MAIN(TstSoundPlayer)
#include "tst_soundplayer.moc"
