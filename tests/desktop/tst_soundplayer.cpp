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

    // The streams playing now, as the server lists them.
    QByteArray streams() {
        QProcess pactl;
        pactl.start("pactl", {"-s", "unix:" + socket(), "list", "short", "sink-inputs"});
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
    }

    // libcanberra and its libraries load with the first sound, not with the program.
    void playsOnTheSoundServer() {
        const auto loaded = [] {
            return testing::readFile("/proc/self/maps").contains("libcanberra");
        };
        QVERIFY(streams().trimmed().isEmpty());
        const std::unique_ptr<jot::SoundPlayer> player = jot::createSoundPlayer();
        QVERIFY(!loaded());
        player->play();
        QVERIFY(loaded());
        // The alarm sound lasts seconds on the null sink, which plays in real time.
        QTRY_VERIFY_WITH_TIMEOUT(!streams().trimmed().isEmpty(), 10000);
    }
};

QTEST_MAIN(TstSoundPlayer)
#include "tst_soundplayer.moc"
