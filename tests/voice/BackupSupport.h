// What the backup tests share: snapshots of a home, the program run on the
// command line, hand-made archives, and a backup written or read through
// the studio.
#pragma once

#include "support/AudioCapture.h"
#include "support/SmallDisk.h"
#include "support/TalkFixture.h"
#include "app/FrmMore.h"
#include "base/SettingsStore.h"
#include "base/SingleInstance.h"
#include "voice/ArchiveFile.h"
#include "voice/BackupPage.h"
#include "voice/FrmStudio.h"
#include "voice/FullBackup.h"
#include "voice/StagedChange.h"
#include "voice/VoiceArchive.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFileDialog>
#include <QLineEdit>
#include <QStorageInfo>
#include <QThread>

#include <sys/stat.h>
#include <unistd.h>

namespace kel::test {

// Every file under `dir`, by relative path, with its bytes.
inline std::map<QString, QByteArray> snapshot(const QString &dir)
{
    std::map<QString, QByteArray> files;
    for (QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        files[path.mid(dir.size() + 1)] = readFile(path);
    }
    return files;
}

// The program's exit code (-1 when it crashed) and what it said on
// standard error; its settings in `config` when given.
inline std::pair<int, QByteArray> kelvoranSays(const QStringList &args, const QString &config = {})
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!config.isEmpty())
        env.insert("XDG_CONFIG_HOME", config);
    const Ran ran = runProgram(QStringLiteral(KELVORAN_PATH), args, env);
    return {ran.code, ran.err};
}
inline int kelvoran(const QStringList &args, const QString &config = {}) { return kelvoranSays(args, config).first; }

// A voice backup as the program writes one, manifest and checksums right,
// of the given characters' sounds (each with a take of the same bytes).
inline QByteArray voiceTar(const std::vector<std::pair<QString, QByteArray>> &sounds)
{
    QByteArray manifest = "kelvoran-voice 1\n";
    ArchiveEntries files;
    for (size_t i = 0; i < sounds.size(); ++i) {
        const auto &[ch, wav] = sounds[i];
        const QByteArray n = QByteArray::number(qulonglong(i)).rightJustified(3, '0');
        manifest += QByteArray::number(qulonglong(i)) + '\t' + ch.toUtf8() + '\t' + QByteArray::number(wav.size()) + '\t'
                    + sha256Hex(wav) + '\t' + QByteArray::number(wav.size()) + '\t' + sha256Hex(wav) + '\n';
        files.append({"sounds/" + n + ".wav", wav});
        files.append({"takes/" + n + ".wav", wav});
    }
    files.prepend({"manifest.txt", manifest});
    return tarGz(files, nullptr).value_or(QByteArray());
}

// A gzip tar holding `entries` under the names given, even "../x"; an
// entry whose bytes are "@symlink", "@hardlink" (both to the first entry)
// or "@device" (/dev/null) is that instead of a file.
inline QByteArray tarOf(const std::vector<std::pair<QString, QByteArray>> &entries)
{
    QTemporaryDir dir;
    QStringList args{"-czPf", dir.filePath("t.tar.gz"), "-C", dir.path()};
    for (size_t i = 0; i < entries.size(); ++i) {
        QString file = QString::number(i);
        const QByteArray &bytes = entries[i].second;
        if (bytes == "@symlink")
            QFile::link("0", dir.filePath(file));
        else if (bytes == "@hardlink")
            ::link(QFile::encodeName(dir.filePath("0")).constData(), QFile::encodeName(dir.filePath(file)).constData());
        else if (bytes == "@device")
            file = "/dev/null";
        else
            writeFile(dir.filePath(file), bytes);
        args << QStringLiteral("--transform=s|^%1$|%2|").arg(file, entries[i].first) << file;
    }
    if (!runTool("tar", args))
        QTest::qFail("tar cannot write the archive", __FILE__, __LINE__);
    return readFile(dir.filePath("t.tar.gz"));
}

// Writes (or reads) the backup `file` of `fx`'s voice by the studio's button
// and file dialog, `answer` the button that answers its question; `said`:
// what the studio says afterwards.
inline bool transfer(TalkFixture &fx, bool reading, const QString &file, int answer = 0, QString *said = nullptr)
{
    FrmStudio studio(fx.talk());
    studio.show();
    ModalScript script({{"dlgBackupFile", [&](QWidget *d) {
                             QTest::keyClicks(child(d, "fileNameEdit"), file);
                             QTest::keyClick(child(d, "fileNameEdit"), Qt::Key_Return);
                         }}});
    Questions questions({answer});
    click(child(&studio, reading ? "cmdImport" : "cmdExport"));
    if (said)
        *said = child<QLabel>(&studio, "lblTake")->text();
    return script.done();
}

} // namespace kel::test
