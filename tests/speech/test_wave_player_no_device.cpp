// QtWavePlayer on a machine without any audio output: every call returns at
// once, nothing is logged per sound, and the player shuts down cleanly.

#include "WavPcm.h"
#include "app/Clock.h"
#include "speech/QtWavePlayer.h"

#include <QApplication>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace kel;
using namespace kel::test;

class TestWavePlayerNoDevice : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Whatever the audio backend reports while it finds no server belongs
        // to start-up, not to playing.
        QVERIFY2(QMediaDevices::audioOutputs().isEmpty(), "an audio output answered");
    }

    void playsSilentlyWithoutBlocking()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString sound = dir.filePath(QStringLiteral("あ.wav"));
        {
            QFile file(sound);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(wav16(22050, QList<qint16>(22050, 4000)));
        }
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));

        SteadyClock clock;
        const Nanos begin = clock.now();
        {
            QtWavePlayer player;
            for (int i = 0; i < 5; ++i) {
                // Long enough for the sample to load and an output to be sought.
                Nanos start = clock.now();
                player.play(sound);
                QVERIFY(clock.now() - start < std::chrono::milliseconds(50));
                waitMoreThan(clock, start, 0.15);
                start = clock.now();
                player.play(dir.filePath(QStringLiteral("missing.wav")));
                QVERIFY(clock.now() - start < std::chrono::milliseconds(50));
                waitMoreThan(clock, start, 0.05);
                QCoreApplication::processEvents();
            }
            player.close();
        }
        // The shutdown, too, waits for no sound.
        const double seconds = std::chrono::duration<double>(clock.now() - begin).count();
        QVERIFY2(seconds < 1.5, qPrintable(QString::number(seconds) + QStringLiteral(" s")));
    }
};

int main(int argc, char *argv[])
{
    // Points the audio backend at a server that does not exist, so that the
    // test sees no audio output even where one is running.
    qputenv("PULSE_SERVER", "unix:/nonexistent/kelvoran-no-audio");
    QApplication app(argc, argv);
    TestWavePlayerNoDevice test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_wave_player_no_device.moc"
