// The voice page and the studio on fakes: the sound check without a sound
// device, and the voice backup written and read through the studio's own
// buttons and file dialog, asking before an own recording is replaced.
#include "support/AudioCapture.h"
#include "support/Touch.h"
#include "support/TalkFixture.h"
#include "voice/FrmStudio.h"
#include "voice/VoiceFolder.h"
#include "voice/VoicePage.h"

#include <QLabel>
#include <QLineEdit>

using namespace kel;
using namespace kel::test;

namespace {

// Types `path` into the file dialog and confirms it.
void chooseFile(QWidget *dialog, const QString &path)
{
    auto *name = child<QLineEdit>(dialog, "fileNameEdit");
    QVERIFY(name);
    name->clear();
    QTest::keyClicks(name, path);
    QTest::keyClick(name, Qt::Key_Return);
}

} // namespace

class TestVoicePage : public QObject {
    Q_OBJECT
private slots:
    void soundCheckWithoutAnOutput()
    {
        TalkFixture fx;
        fx.addVoices({"あ", "い", "う", "え", "お"});
        VoicePage page(fx.talk());
        page.show();
        const double before = fx.clock.seconds();
        TalkFixture::click(page.findChild<QWidget *>("cmdSoundCheck"));
        QCOMPARE(fx.voiced(), QStringList({"あ", "い", "う", "え", "お"}));
        QVERIFY(fx.clock.seconds() - before > 2.5);
        QVERIFY(page.findChild<QLabel *>("lblOutput")->text().contains("見つかりません"));
    }

    // The studio's test line is read at the reading's pace.
    void testLineAtTheReadingPace()
    {
        TalkFixture fx;
        fx.addVoices({"あ", "い"});
        FrmStudio studio(fx.talk());
        studio.show();
        auto *line = child<QLineEdit>(&studio, "txtTest");
        line->clear();
        QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("あい")); // as an input method commits it
        QApplication::sendEvent(line, &typed);
        const double before = fx.clock.seconds();
        click(child(&studio, "cmdTest"));
        QCOMPARE(fx.voiced(), QStringList({"あ", "い"}));
        QVERIFY(std::abs(fx.clock.seconds() - before - 1.6) < 0.05);
    }

    void backupThroughTheStudio_data()
    {
        QTest::addColumn<int>("answer"); // the question's button: 0 replace, 1 keep
        QTest::newRow("replace the own recording") << 0;
        QTest::newRow("keep the own recording") << 1;
    }

    void backupThroughTheStudio()
    {
        QFETCH(int, answer);
        TalkFixture from, to;
        QVERIFY(VoiceFolder(from.home.path()).keep("あ", toneWav(300, 0.5), toneWav(310, 0.5), nullptr));
        QVERIFY(VoiceFolder(from.home.path()).keep("か", toneWav(400, 0.5), toneWav(410, 0.5), nullptr));
        QVERIFY(VoiceFolder(to.home.path()).keep("あ", toneWav(500, 0.5), toneWav(510, 0.5), nullptr));
        const QString file = to.config.filePath("voice.tar.gz");
        {
            FrmStudio studio(from.talk());
            studio.show();
            ModalScript script({{"dlgBackupFile", [&](QWidget *d) { chooseFile(d, file); }}});
            click(child(&studio, "cmdExport"));
            QVERIFY(script.done() && QFile::exists(file));
        }
        FrmStudio studio(to.talk());
        studio.show();
        ModalScript script({{"dlgBackupFile", [&](QWidget *d) { chooseFile(d, file); }},
                            {"frmOK", [&](QWidget *d) { click(child(d, qPrintable(QStringLiteral("cmdOK%1").arg(answer)))); }}});
        click(child(&studio, "cmdImport"));
        QVERIFY(script.done());
        QCOMPARE(to.readFile("か.wav"), toneWav(400, 0.5));
        QCOMPARE(to.readFile("voice/takes/か.wav"), toneWav(410, 0.5));
        QCOMPARE(to.readFile("あ.wav"), answer == 0 ? toneWav(300, 0.5) : toneWav(500, 0.5));
    }
};

QTEST_MAIN(TestVoicePage)
#include "test_voice_page.moc"
