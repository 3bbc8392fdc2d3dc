// The own voice on fakes: a backup written and read on the command line and
// through the studio's buttons and file dialog arrives byte for byte, over
// an own recording only when the user says so; a damaged, foreign or
// path-climbing archive, or a full disk, changes nothing. And the voice
// page's sound check and the studio's test line, each at its pace.
#include "support/AudioCapture.h"
#include "support/SmallDisk.h"
#include "support/TalkFixture.h"
#include "voice/FrmStudio.h"
#include "voice/VoiceArchive.h"
#include "voice/VoicePage.h"

#include <QDirIterator>
#include <QStorageInfo>

using namespace kel;
using namespace kel::test;

namespace {

// Every file under `dir`, by relative path, with its bytes.
std::map<QString, QByteArray> snapshot(const QString &dir)
{
    std::map<QString, QByteArray> files;
    for (QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        files[path.mid(dir.size() + 1)] = readFile(path);
    }
    return files;
}

// The program's exit code; -1 when it crashed.
int kelvoran(const QStringList &args) { return QProcess::execute(QStringLiteral(KELVORAN_PATH), args); }

// A gzip tar holding `entries` under the names given, even "../x".
QByteArray tarOf(const std::vector<std::pair<QString, QByteArray>> &entries)
{
    QTemporaryDir dir;
    QStringList args{"-czPf", dir.filePath("t.tar.gz"), "-C", dir.path()};
    for (size_t i = 0; i < entries.size(); ++i) {
        const QString file = QString::number(i);
        writeFile(dir.filePath(file), entries[i].second);
        args << QStringLiteral("--transform=s|^%1$|%2|").arg(file, entries[i].first) << file;
    }
    if (!runTool("tar", args))
        qFatal("tar cannot write the archive");
    return readFile(dir.filePath("t.tar.gz"));
}

// Writes (or reads) the backup `file` of `fx`'s voice the row's way: on the
// command line ("command" and the flags of a reading), or by the studio's
// button and file dialog ("studio" and the button that answers its question).
bool transfer(TalkFixture &fx, const QString &way, bool reading, const QString &file)
{
    QStringList words = way.split(u' ');
    if (words.takeFirst() == "command")
        return kelvoran(QStringList{"--home", fx.home.path(), reading ? "--import-voice" : "--export-voice", file}
                        + (reading ? words : QStringList())) == 0;
    FrmStudio studio(fx.talk());
    studio.show();
    ModalScript script({{"dlgBackupFile", [&](QWidget *d) {
                             QTest::keyClicks(child(d, "fileNameEdit"), file);
                             QTest::keyClick(child(d, "fileNameEdit"), Qt::Key_Return);
                         }}});
    Questions questions({words.first().toInt()});
    click(child(&studio, reading ? "cmdImport" : "cmdExport"));
    return script.done();
}

} // namespace

class TestVoiceBackup : public QObject {
    Q_OBJECT
private slots:
    void backup_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<bool>("taken");    // the backup's recordings arrived
        QTest::addColumn<bool>("replaced"); // its あ too, over the own recording
        QTest::newRow("command line: refused over an own recording") << "command" << false << false;
        QTest::newRow("command line: --force") << "command --force" << true << true;
        QTest::newRow("studio: replace the own recording") << "studio 0" << true << true;
        QTest::newRow("studio: keep the own recording") << "studio 1" << true << false;
    }

    void backup()
    {
        QFETCH(QString, way);
        QFETCH(bool, taken);
        QFETCH(bool, replaced);
        TalkFixture from, to;
        for (auto [fx, ch, hz] : {std::tuple{&from, "あ", 300}, std::tuple{&from, "か", 400}, std::tuple{&from, "(^_^)", 450}, std::tuple{&to, "あ", 500}})
            QVERIFY(VoiceFolder(fx->home.path()).keep(ch, toneWav(hz, 0.5), toneWav(hz + 10, 0.5), nullptr));
        to.writeFile("か.wav", toneWav(250, 0.5)); // put there by hand: the user's own too
        const QString file = to.config.filePath("voice.tar.gz");
        QVERIFY(transfer(from, way, false, file));
        const auto before = snapshot(to.home.path());
        QCOMPARE(transfer(to, way, true, file), taken);
        QVERIFY(taken || snapshot(to.home.path()) == before);
        if (!taken)
            return;
        for (const auto &[ch, hz] : std::map<QString, int>{{"あ", replaced ? 300 : 500}, {"か", replaced ? 400 : 250}, {"(^_^)", 450}}) {
            QVERIFY2(to.readFile(ch + ".wav") == toneWav(hz, 0.5), qPrintable(ch));
            if (hz != 250)
                QVERIFY2(to.readFile("voice/takes/" + ch + ".wav") == toneWav(hz + 10, 0.5), qPrintable(ch));
        }
        if (!replaced)
            return;
        // "元に戻す" brings back the sound か had before.
        QVERIFY(VoiceFolder(to.home.path()).restore("か", nullptr));
        QCOMPARE(to.readFile("か.wav"), toneWav(250, 0.5));
    }

    void refusedWhole_data()
    {
        QTest::addColumn<QByteArray>("archive");
        QTemporaryDir a;
        VoiceFolder from(a.path());
        QVERIFY(from.keep("い", toneWav(300, 0.4), toneWav(300, 1.0), nullptr) && exportVoice(from, a.filePath("good.tar.gz"), nullptr));
        const QByteArray good = readFile(a.filePath("good.tar.gz")), manifest = "kelvoran-voice 1\n";
        QByteArray flipped = good;
        flipped[good.size() / 2] = char(good[good.size() / 2] ^ 0x55);
        QTest::newRow("cut in half") << good.left(good.size() / 2);
        QTest::newRow("one byte changed") << flipped;
        QTest::newRow("not an archive") << QByteArray("just some text\n");
        QTest::newRow("foreign archive") << tarOf({{"hello.txt", "hello"}});
        QTest::newRow("climbs out with ../") << tarOf({{"manifest.txt", manifest}, {"../x.wav", toneWav(500, 0.2)}});
        QTest::newRow("file beyond the manifest") << tarOf({{"manifest.txt", manifest}, {"sounds/000.wav", toneWav(500, 0.2)}});
        QTest::newRow("manifest lies about a file")
            << tarOf({{"manifest.txt", manifest + "0\tい\t10\tx\t10\tx\n"}, {"sounds/000.wav", toneWav(500, 0.2)}, {"takes/000.wav", toneWav(500, 0.2)}});
    }

    void refusedWhole()
    {
        QFETCH(QByteArray, archive);
        QTemporaryDir home;
        QVERIFY(writeFile(home.filePath("x.wav"), toneWav(250, 0.3)));
        const QString file = home.filePath("sub/backup.tar.gz");
        QVERIFY(writeWhole(file, archive, nullptr));
        const auto before = snapshot(home.path());
        QCOMPARE(kelvoran({"--home", home.filePath("sub"), "--import-voice", file, "--force"}), 1);
        QVERIFY(snapshot(home.path()) == before);
    }

    // "保存" on a full disk: refused, and the sound that was there stays whole.
    // A backup written there is refused too.
    void aFullDiskKeepsTheOldSound()
    {
        QTemporaryDir dir;
        const QString mount = dir.filePath("disk");
        SmallDisk disk(mount, "size=256k");
        if (!disk.mounted())
            QSKIP("cannot mount a small tmpfs here (needs root)");
        VoiceFolder folder(mount);
        QVERIFY(writeFile(mount + "/う.wav", toneWav(200, 0.2)));
        // Room for the generated sound's copy and the take, not for both
        // new files: the disk fills while they are written.
        QVERIFY(writeFile(mount + "/filler", QByteArray(QStorageInfo(mount).bytesAvailable() - 64 * 1024, 'x')));
        QString error;
        QVERIFY(!folder.keep("う", toneWav(300, 0.5), toneWav(300, 1.0), &error) && !error.isEmpty());
        QCOMPARE(readFile(mount + "/う.wav"), toneWav(200, 0.2));
        QVERIFY(!QFile::exists(folder.takePath("う")));
        // A backup written onto the full disk is refused, not left cut off.
        QVERIFY(disk.fill());
        QVERIFY(!exportVoice(folder, mount + "/voice.tar.gz", &error));
        QVERIFY(!QFile::exists(mount + "/voice.tar.gz"));
    }

    // The voice page's sound check with no output device (its pace is heard
    // in test_studio), then the studio's test line as typed, at the
    // reading's pace on a clock the test drives.
    void readsAtItsPace()
    {
        TalkFixture fx;
        fx.addVoices({"あ", "い", "う", "え", "お"});
        VoicePage page(fx.talk());
        page.show();
        click(child(&page, "cmdSoundCheck"));
        QVERIFY(child<QLabel>(&page, "lblOutput")->text().contains("見つかりません"));
        FrmStudio studio(fx.talk());
        studio.show();
        QTest::keyClick(child(&studio, "txtTest"), Qt::Key_A, Qt::ControlModifier);
        QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("いう")); // as an input method commits it
        QApplication::sendEvent(child(&studio, "txtTest"), &typed);
        const double before = fx.clock.seconds();
        click(child(&studio, "cmdTest"));
        QVERIFY(std::abs(fx.clock.seconds() - before - 1.6) < 0.05);
        QCOMPARE(fx.voiced(), QStringList({"あ", "い", "う", "え", "お", "い", "う"}));
    }
};

QTEST_MAIN(TestVoiceBackup)
#include "test_voice_backup.moc"
