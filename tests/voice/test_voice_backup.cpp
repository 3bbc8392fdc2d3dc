// The voice backup from the command line: an export taken into another
// folder arrives byte for byte; own recordings are overwritten only with
// --force; a damaged, foreign or path-climbing archive changes nothing.
#include "support/AudioCapture.h"
#include "voice/VoiceFolder.h"

#include <QDirIterator>
#include <QProcess>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>

#include <archive.h>
#include <archive_entry.h>

#include <map>

using namespace kel;
using namespace kel::test;

namespace {

// Every file under `dir`, by relative path, with its bytes.
std::map<QString, QByteArray> snapshot(const QString &dir)
{
    std::map<QString, QByteArray> files;
    QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        files[path.mid(dir.size() + 1)] = f.readAll();
    }
    return files;
}

int kelvoran(const QStringList &args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    p.start(QStringLiteral(KELVORAN_PATH), args);
    return p.waitForFinished(20'000) && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// A gzip tar holding `entries` as they are named.
QByteArray tarOf(const std::vector<std::pair<QByteArray, QByteArray>> &entries)
{
    QByteArray out(1 << 20, 0);
    size_t used = 0;
    archive *a = archive_write_new();
    archive_write_set_format_pax_restricted(a);
    archive_write_add_filter_gzip(a);
    archive_write_open_memory(a, out.data(), size_t(out.size()), &used);
    for (const auto &[name, bytes] : entries) {
        archive_entry *e = archive_entry_new();
        archive_entry_set_pathname(e, name.constData());
        archive_entry_set_size(e, bytes.size());
        archive_entry_set_filetype(e, AE_IFREG);
        archive_entry_set_perm(e, 0644);
        archive_write_header(a, e);
        archive_write_data(a, bytes.constData(), size_t(bytes.size()));
        archive_entry_free(e);
    }
    archive_write_close(a);
    archive_write_free(a);
    out.truncate(qsizetype(used));
    return out;
}

void put(const QString &path, const QByteArray &bytes)
{
    QVERIFY(writeWhole(path, bytes, nullptr));
}

} // namespace

class TestVoiceBackup : public QObject {
    Q_OBJECT
    QTemporaryDir work_;
    QString at(const QString &name) const { return work_.filePath(name); }

private slots:
    void roundTripAndOverwriting()
    {
        QTemporaryDir a, b;
        VoiceFolder from(a.path()), to(b.path());
        put(from.soundPath("あ"), toneWav(200, 0.3)); // generated, put aside by the first keep
        QVERIFY(from.keep("あ", toneWav(300, 0.4), toneWav(300, 1.0), nullptr));
        QVERIFY(from.keep("(^_^)", toneWav(400, 0.4), toneWav(400, 1.0), nullptr));
        QCOMPARE(from.state("あ"), VoiceState::Own);
        QCOMPARE(snapshot(a.path()).at("voice/generated/あ.wav"), toneWav(200, 0.3));
        const QString backup = at("voice.tar.gz");
        QCOMPARE(kelvoran({"--home", a.path(), "--export-voice", backup}), 0);

        put(to.soundPath("あ"), toneWav(250, 0.3));
        QCOMPARE(kelvoran({"--home", b.path(), "--import-voice", backup}), 0);
        auto got = snapshot(b.path());
        for (const auto &[name, bytes] : snapshot(a.path()))
            if (!name.startsWith("voice/generated"))
                QVERIFY2(got.at(name) == bytes, qPrintable(name));
        QCOMPARE(got.at("voice/generated/あ.wav"), toneWav(250, 0.3));

        // A changed own recording in the backup: refused without --force.
        QVERIFY(from.keep("あ", toneWav(350, 0.4), toneWav(350, 1.0), nullptr));
        QCOMPARE(kelvoran({"--home", a.path(), "--export-voice", backup}), 0);
        QCOMPARE(kelvoran({"--home", b.path(), "--import-voice", backup}), 1);
        QVERIFY(snapshot(b.path()) == got);
        QCOMPARE(kelvoran({"--home", b.path(), "--import-voice", backup, "--force"}), 0);
        QCOMPARE(snapshot(b.path()).at("あ.wav"), toneWav(350, 0.4));

        // "元に戻す" brings back the generated sound.
        QVERIFY(to.restore("あ", nullptr));
        QCOMPARE(to.state("あ"), VoiceState::Generated);
        QCOMPARE(snapshot(b.path()).at("あ.wav"), toneWav(250, 0.3));
    }

    // "保存" on a full disk: refused, and the sound that was there stays whole.
    void aFullDiskKeepsTheOldSound()
    {
        QTemporaryDir mount;
        if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=256k", "tmpfs", mount.path()}) != 0)
            QSKIP("cannot mount a small tmpfs here (needs root)");
        const auto unmount = qScopeGuard([&] { QProcess::execute("umount", {mount.path()}); });
        VoiceFolder folder(mount.path());
        put(folder.soundPath("う"), toneWav(200, 0.2));
        // Room for the generated sound's copy and the take, not for both
        // new files: the disk fills while they are written.
        put(mount.filePath("filler"), QByteArray(QStorageInfo(mount.path()).bytesAvailable() - 64 * 1024, 'x'));
        QString error;
        QVERIFY(!folder.keep("う", toneWav(300, 0.5), toneWav(300, 1.0), &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(snapshot(mount.path()).at("う.wav"), toneWav(200, 0.2));
        QCOMPARE(folder.state("う"), VoiceState::Generated);
        QVERIFY(!QFile::exists(folder.takePath("う")));
    }

    void refusedWhole_data()
    {
        QTest::addColumn<QByteArray>("archive");
        QTemporaryDir a;
        VoiceFolder from(a.path());
        QVERIFY(from.keep("い", toneWav(300, 0.4), toneWav(300, 1.0), nullptr));
        QVERIFY(kelvoran({"--home", a.path(), "--export-voice", at("good.tar.gz")}) == 0);
        QFile f(at("good.tar.gz"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray good = f.readAll();
        QByteArray flipped = good;
        flipped[flipped.size() / 2] = char(flipped[flipped.size() / 2] ^ 0x55);
        const QByteArray manifest = "kelvoran-voice 1\n";
        QTest::newRow("cut in half") << good.left(good.size() / 2);
        QTest::newRow("one byte changed") << flipped;
        QTest::newRow("not an archive") << QByteArray("just some text\n");
        QTest::newRow("foreign archive") << tarOf({{"hello.txt", "hello"}});
        QTest::newRow("climbs out with ../") << tarOf({{"manifest.txt", manifest}, {"../x.wav", toneWav(500, 0.2)}});
        QTest::newRow("absolute path") << tarOf({{"manifest.txt", manifest}, {"/tmp/x.wav", toneWav(500, 0.2)}});
        QTest::newRow("file beyond the manifest") << tarOf({{"manifest.txt", manifest}, {"sounds/000.wav", toneWav(500, 0.2)}});
        QTest::newRow("manifest lies about a file")
            << tarOf({{"manifest.txt", manifest + "0\tい\t10\tx\t10\tx\n"}, {"sounds/000.wav", toneWav(500, 0.2)}, {"takes/000.wav", toneWav(500, 0.2)}});
    }

    void refusedWhole()
    {
        QFETCH(QByteArray, archive);
        QTemporaryDir home;
        put(home.filePath("x.wav"), toneWav(250, 0.3));
        const QString file = home.filePath("sub/backup.tar.gz");
        put(file, archive);
        const auto before = snapshot(home.path());
        QCOMPARE(kelvoran({"--home", home.filePath("sub"), "--import-voice", file, "--force"}), 1);
        QVERIFY(snapshot(home.path()) == before);
    }
};

QTEST_GUILESS_MAIN(TestVoiceBackup)
#include "test_voice_backup.moc"
