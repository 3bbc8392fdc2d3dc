// The user's own voice under a real audio server (run under tools/with-pulse;
// skipped without one, failing on CI): the sound check reached from "設定",
// and a take said into a virtual microphone (a null sink of our own, whose
// monitor is the input) kept trimmed and levelled, then heard at the next
// touch.
#include "support/AudioCapture.h"
#include "support/RealProgram.h"
#include "support/Touch.h"
#include "speech/QtWavePlayer.h"
#include "speech/SoundSet.h"
#include "speech/WavCodec.h"
#include "voice/FrmStudio.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

using namespace kel;
using namespace kel::test;

class TestStudio : public QObject {
    Q_OBJECT
    QTemporaryDir home_, config_;

private slots:
    void initTestCase()
    {
        KEL_REQUIRE_NULL_SINK();
        for (const QChar c : QStringLiteral("あいうえお"))
            QVERIFY(writeFile(home_.filePath(QString(c) + ".wav"), toneWav(300 + 100 * (c.unicode() % 5), 0.2, 0.1)));
    }

    // "設定" → "その他" → "音の確認": five sounds half a second apart, and
    // the output named.
    void soundCheckNamesTheOutput()
    {
        RealProgram program(home_.path(), config_.filePath("Talk.ini"));
        QString shown;
        const QList<Sound> sounds = soundsWhile(home_.filePath("capture.wav"), [&] {
            ModalScript script({
                {"frmOPT", [](QWidget *d) { click(child(d, "cmdMore")); }},
                {"frmMore", [&](QWidget *d) {
                     click(child(d, "cmdSoundCheck"));
                     shown = child<QLabel>(d, "lblOutput")->text();
                     click(child(d, "cmdClose"));
                 }},
                {"frmOPT", [](QWidget *d) { click(child(d, "cmdOK0")); }},
            });
            click(program.win.controls().cmdOpt);
        });
        QVERIFY2(shown.contains("Null Output"), qPrintable(shown));
        QVERIFY2(sounds.size() == 5 && std::abs(sounds[4].onset - sounds[0].onset - 2.0) < 0.1, describe(sounds));
    }

    void aTakeIsKeptAndHeard()
    {
        // The microphone: what is played into the null sink "kelvoran_mic"
        // comes out of the source "kelvoran_mic_in" (a monitor itself is
        // not offered as an input).
        const auto sink = runTool("pactl", {"load-module", "module-null-sink", "sink_name=kelvoran_mic", "norewinds=1"});
        const auto unloadSink = qScopeGuard([&] { runTool("pactl", {"unload-module", QString::fromLatin1(sink.value_or("").trimmed())}); });
        const auto mic = runTool("pactl", {"load-module", "module-remap-source", "master=kelvoran_mic.monitor",
                                           "source_name=kelvoran_mic_in", "source_properties=device.description=KelvoranMic"});
        const auto unloadMic = qScopeGuard([&] { runTool("pactl", {"unload-module", QString::fromLatin1(mic.value_or("").trimmed())}); });
        QVERIFY(sink && mic);
        QSettings(config_.filePath("Talk.ini"), QSettings::IniFormat).setValue("VOICE/Input", "kelvoran_mic_in");
        // What the user says: 1.5 s of quiet (the room, then the wait), "a"
        // as a 0.4 s tone, quiet again.
        std::vector<float> said(size_t(4.0 * kCaptureRate));
        for (size_t i = size_t(1.5 * kCaptureRate); i < size_t(1.9 * kCaptureRate); ++i)
            said[i] = 0.1f * float(std::sin(2 * M_PI * 300 * double(i) / kCaptureRate));
        QVERIFY(writeFile(home_.filePath("said.wav"), encodeWav16(said, kCaptureRate)));
        const QByteArray generated = toneWav(200, 0.15, 0.05);
        QVERIFY(writeFile(home_.filePath("あ.wav"), generated));

        RealProgram program(home_.path(), config_.filePath("Talk.ini"));
        FrmStudio studio(program.win.talk(), &program.win);
        studio.resize(900, 640);
        studio.show();
        QVERIFY(QTest::qWaitForWindowExposed(&studio));
        QCOMPARE(studio.character(), "あ");
        QTRY_COMPARE(child<QComboBox>(&studio, "cmbInput")->currentText(), "KelvoranMic");
        QProcess speaker;
        speaker.start("paplay", {"--device=kelvoran_mic", home_.filePath("said.wav")});
        QVERIFY(speaker.waitForStarted());
        click(child(&studio, "cmdRecord"));
        QTRY_VERIFY_WITH_TIMEOUT(child(&studio, "cmdSave")->isEnabled() || !studio.recording(), 8000);
        QVERIFY2(child(&studio, "cmdSave")->isEnabled(), qPrintable(child<QLabel>(&studio, "lblTake")->text()));
        QVERIFY2(child<QLabel>(&studio, "lblRoom")->text().contains("静か"), qPrintable(child<QLabel>(&studio, "lblRoom")->text()));
        click(child(&studio, "cmdSave"));
        speaker.waitForFinished(5000);

        const auto kept = decodeWav(readFile(home_.filePath("あ.wav")));
        QVERIFY(kept);
        QVERIFY2(std::abs(kept->seconds() - 0.7) < 0.05, qPrintable(QString::number(kept->seconds())));
        const std::vector<float> mono = toMono(*kept);
        double sum = 0;
        const size_t mid = mono.size() / 2, half = size_t(0.1 * kept->rate);
        for (size_t i = mid - half; i < mid + half; ++i)
            sum += double(mono[i]) * mono[i];
        const double db = 10 * std::log10(sum / double(2 * half));
        QVERIFY2(std::abs(db + 20) < 1.5, qPrintable(QString::number(db)));
        QCOMPARE(readFile(home_.filePath("voice/generated/あ.wav")), generated);
        QVERIFY(decodeWav(readFile(home_.filePath("voice/takes/あ.wav"))));
        QCOMPARE(child<QLabel>(&studio, "lblProgress")->text(),
                 QStringLiteral("1 / %1 録音済み").arg(soundSetCharacters().size()));
        studio.close();
        // Opened again, the studio goes on with the next character.
        QCOMPARE(FrmStudio(program.win.talk(), &program.win).character(), "い");

        const QList<Sound> sounds = soundsWhile(home_.filePath("capture.wav"), [&] {
            program.win.controls().txtTalk->setText("あ");
            click(program.win.controls().cmdRead);
        });
        QVERIFY2(sounds.size() == 1 && std::abs(sounds[0].end - sounds[0].onset - 0.4) < 0.06, describe(sounds));
    }
};

QTEST_MAIN(TestStudio)
#include "test_studio.moc"
