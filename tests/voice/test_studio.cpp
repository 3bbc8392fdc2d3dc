// The user's own voice under a real audio server (run under tools/with-pulse;
// skipped without one, failing on CI): the sound check reached from "設定",
// then a take said into a virtual microphone (a null sink of our own, whose
// monitor is the input) kept trimmed and levelled, and heard at the next
// touch.
#include "support/AudioCapture.h"
#include "support/RealProgram.h"
#include "support/Touch.h"
#include "speech/SoundSet.h"
#include "speech/WavCodec.h"
#include "voice/FrmStudio.h"

#include <QComboBox>
#include <QSettings>
#include <QTemporaryDir>

#include <numeric>

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

    // A sitting: "設定" → "その他" → "音の確認" names the output and plays
    // five sounds half a second apart; then "あ" is recorded in the studio.
    void aSitting()
    {
        RealProgram program(home_.path(), config_.filePath("Talk.ini"));
        QString shown;
        const QList<Sound> check = soundsWhile(home_.filePath("capture.wav"), [&] {
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
        QVERIFY2(check.size() == 5 && std::abs(check[4].onset - check[0].onset - 2.0) < 0.1, describe(check));

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
        const QByteArray generated = readFile(home_.filePath("あ.wav"));
        FrmStudio studio(program.win.talk(), &program.win);
        studio.resize(900, 640);
        studio.show();
        QVERIFY(QTest::qWaitForWindowExposed(&studio));
        QTRY_COMPARE(child<QComboBox>(&studio, "cmbInput")->currentText(), "KelvoranMic");
        QProcess speaker;
        speaker.start("paplay", {"--device=kelvoran_mic", home_.filePath("said.wav")});
        QVERIFY(speaker.waitForStarted());
        click(child(&studio, "cmdRecord"));
        QTRY_VERIFY_WITH_TIMEOUT(child(&studio, "cmdSave")->isEnabled() || !studio.recording(), 8000);
        QVERIFY2(child(&studio, "cmdSave")->isEnabled(), qPrintable(child<QLabel>(&studio, "lblTake")->text()));
        QVERIFY2(child<QLabel>(&studio, "lblRoom")->text().contains("静かです"), qPrintable(child<QLabel>(&studio, "lblRoom")->text()));
        click(child(&studio, "cmdSave"));
        speaker.waitForFinished(5000);

        const auto kept = decodeWav(readFile(home_.filePath("あ.wav")));
        QVERIFY(kept);
        QVERIFY2(std::abs(kept->seconds() - 0.7) < 0.05, qPrintable(QString::number(kept->seconds())));
        // Levelled: 0.2 s about its middle at -20 dB.
        const std::vector<float> mono = toMono(*kept);
        const auto from = mono.begin() + long(mono.size() / 2) - kept->rate / 10, to = from + kept->rate / 5;
        const double db = 10 * std::log10(std::inner_product(from, to, from, 0.0) / double(kept->rate / 5));
        QVERIFY2(std::abs(db + 20) < 1.5, qPrintable(QString::number(db)));
        QCOMPARE(readFile(home_.filePath("voice/generated/あ.wav")), generated);
        QVERIFY(decodeWav(readFile(home_.filePath("voice/takes/あ.wav"))));
        QCOMPARE(child<QLabel>(&studio, "lblProgress")->text(), QStringLiteral("1 / %1 録音済み").arg(soundSetCharacters().size()));
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
