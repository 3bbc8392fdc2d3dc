#include "voice/VoiceArchive.h"

#include "speech/WavCodec.h"
#include "speech/WavName.h"

#include <QCryptographicHash>
#include <QFile>
#include <QHash>
#include <QRegularExpression>

#include <archive.h>
#include <archive_entry.h>

#include <memory>

namespace kel {
namespace {

const QByteArray kManifestName = "manifest.txt";
const QByteArray kMagic = "kelvoran-voice 1";
constexpr qint64 kMaxArchiveBytes = 512 << 20;
constexpr qint64 kMaxEntryBytes = 16 << 20;
constexpr int kMaxEntries = 4000;

using ArchivePtr = std::unique_ptr<archive, int (*)(archive *)>;

QByteArray sha256(const QByteArray &b) { return QCryptographicHash::hash(b, QCryptographicHash::Sha256).toHex(); }

QByteArray entryName(const char *folder, int index) { return QByteArray(folder) + '/' + QByteArray::number(index).rightJustified(3, '0') + ".wav"; }

bool fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

VoiceBackup refused(const QString &why)
{
    VoiceBackup b;
    b.error = QStringLiteral("声のバックアップを読めません：%1。何も変えていません。").arg(why);
    return b;
}

la_ssize_t appendTo(archive *, void *data, const void *buffer, size_t length)
{
    static_cast<QByteArray *>(data)->append(static_cast<const char *>(buffer), qsizetype(length));
    return la_ssize_t(length);
}

bool addEntry(archive *a, const QByteArray &name, const QByteArray &bytes)
{
    std::unique_ptr<archive_entry, void (*)(archive_entry *)> e(archive_entry_new(), archive_entry_free);
    archive_entry_set_pathname(e.get(), name.constData());
    archive_entry_set_size(e.get(), bytes.size());
    archive_entry_set_filetype(e.get(), AE_IFREG);
    archive_entry_set_perm(e.get(), 0644);
    return archive_write_header(a, e.get()) == ARCHIVE_OK
           && archive_write_data(a, bytes.constData(), size_t(bytes.size())) == la_ssize_t(bytes.size());
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

bool exportVoice(const VoiceFolder &folder, const QString &file, QString *error, int *count)
{
    QByteArray manifest = kMagic + '\n';
    QList<std::pair<QByteArray, QByteArray>> files;
    int index = 0;
    for (const VoiceEntry &e : folder.entries()) {
        if (e.state != VoiceState::Own)
            continue;
        const QByteArray sound = readAll(folder.soundPath(e.character));
        const QByteArray take = readAll(folder.takePath(e.character));
        if (sound.isEmpty() || take.isEmpty())
            return fail(error, QStringLiteral("「%1」の録音を読めません").arg(e.character));
        manifest += QByteArray::number(index) + '\t' + e.character.toUtf8() + '\t' + QByteArray::number(sound.size())
                    + '\t' + sha256(sound) + '\t' + QByteArray::number(take.size()) + '\t' + sha256(take) + '\n';
        files.append({entryName("sounds", index), sound});
        files.append({entryName("takes", index), take});
        ++index;
    }
    QByteArray out;
    ArchivePtr a(archive_write_new(), archive_write_free);
    bool ok = archive_write_set_format_pax_restricted(a.get()) == ARCHIVE_OK
              && archive_write_add_filter_gzip(a.get()) == ARCHIVE_OK
              // No zeros after the gzip stream: every byte of the file counts.
              && archive_write_set_bytes_in_last_block(a.get(), 1) == ARCHIVE_OK
              && archive_write_open(a.get(), &out, nullptr, appendTo, nullptr) == ARCHIVE_OK
              && addEntry(a.get(), kManifestName, manifest);
    for (const auto &[name, bytes] : files)
        ok = ok && addEntry(a.get(), name, bytes);
    ok = ok && archive_write_close(a.get()) == ARCHIVE_OK;
    if (!ok)
        return fail(error, QString::fromUtf8(archive_error_string(a.get())));
    if (count)
        *count = index;
    return writeWhole(file, out, error);
}

VoiceBackup readVoiceBackup(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return refused(f.errorString());
    if (f.size() > kMaxArchiveBytes)
        return refused(QStringLiteral("大きすぎます"));
    return readVoiceBackupBytes(f.readAll());
}

VoiceBackup readVoiceBackupBytes(const QByteArray &bytes)
{
    // First the whole gzip stream, so that a cut-off file is caught even
    // where the tar inside it still looks complete. libarchive does not
    // check the stream's CRC: an altered byte is caught by the manifest's
    // SHA-256 of every file below.
    QByteArray tar;
    {
        ArchivePtr a(archive_read_new(), archive_read_free);
        archive_read_support_filter_gzip(a.get());
        archive_read_support_format_raw(a.get());
        archive_entry *e = nullptr;
        if (archive_read_open_memory(a.get(), bytes.constData(), size_t(bytes.size())) != ARCHIVE_OK
            || archive_read_next_header(a.get(), &e) != ARCHIVE_OK
            || archive_filter_code(a.get(), 0) != ARCHIVE_FILTER_GZIP)
            return refused(QStringLiteral("バックアップの形式ではありません"));
        char block[65536];
        la_ssize_t n;
        while ((n = archive_read_data(a.get(), block, sizeof block)) > 0 && tar.size() <= kMaxArchiveBytes)
            tar.append(block, qsizetype(n));
        if (n < 0 || tar.size() > kMaxArchiveBytes)
            return refused(QStringLiteral("壊れています"));
    }

    ArchivePtr a(archive_read_new(), archive_read_free);
    archive_read_support_format_tar(a.get());
    if (archive_read_open_memory(a.get(), tar.constData(), size_t(tar.size())) != ARCHIVE_OK)
        return refused(QStringLiteral("バックアップの形式ではありません"));
    static const QRegularExpression ownName(QStringLiteral("^(sounds|takes)/[0-9]{3}\\.wav$"));
    QHash<QByteArray, QByteArray> entries;
    archive_entry *e = nullptr;
    int r;
    while ((r = archive_read_next_header(a.get(), &e)) == ARCHIVE_OK) {
        const QByteArray name = archive_entry_pathname(e) ? QByteArray(archive_entry_pathname(e)) : QByteArray();
        if (archive_entry_filetype(e) != AE_IFREG
            || (name != kManifestName && !ownName.match(QString::fromUtf8(name)).hasMatch()))
            return refused(QStringLiteral("見知らぬ名前「%1」があります").arg(QString::fromUtf8(name)));
        if (entries.contains(name) || entries.size() >= kMaxEntries || archive_entry_size(e) > kMaxEntryBytes)
            return refused(QStringLiteral("中身がおかしいです"));
        QByteArray data(qsizetype(archive_entry_size(e)), Qt::Uninitialized);
        qsizetype got = 0;
        la_ssize_t n = 0;
        while (got < data.size() && (n = archive_read_data(a.get(), data.data() + got, size_t(data.size() - got))) > 0)
            got += qsizetype(n);
        if (got != data.size())
            return refused(QStringLiteral("壊れています"));
        entries.insert(name, data);
    }
    if (r != ARCHIVE_EOF)
        return refused(QStringLiteral("壊れています"));

    const QList<QByteArray> lines = entries.value(kManifestName).split('\n');
    if (lines.isEmpty() || lines.first() != kMagic)
        return refused(QStringLiteral("このプログラムの声のバックアップではありません"));
    VoiceBackup backup;
    qsizetype accounted = 1;
    QStringList seen;
    for (const QByteArray &line : lines.mid(1)) {
        if (line.isEmpty())
            continue;
        const QList<QByteArray> f = line.split('\t');
        bool indexOk = false;
        const int index = f.size() == 6 ? f[0].toInt(&indexOk) : -1;
        const QString ch = f.size() == 6 ? QString::fromUtf8(f[1]) : QString();
        if (!indexOk || index < 0 || index > 999 || !wavPathFor(QStringLiteral("/x"), ch) || seen.contains(ch))
            return refused(QStringLiteral("目録が壊れています"));
        seen << ch;
        const QByteArray sound = entries.value(entryName("sounds", index));
        const QByteArray take = entries.value(entryName("takes", index));
        if (QByteArray::number(sound.size()) != f[2] || sha256(sound) != f[3]
            || QByteArray::number(take.size()) != f[4] || sha256(take) != f[5])
            return refused(QStringLiteral("「%1」の録音が壊れています").arg(ch));
        if (!decodeWav(sound) || !decodeWav(take))
            return refused(QStringLiteral("「%1」の録音が WAV ではありません").arg(ch));
        backup.recordings.append({ch, sound, take});
        accounted += 2;
    }
    if (accounted != entries.size())
        return refused(QStringLiteral("目録にないファイルがあります"));
    backup.ok = true;
    return backup;
}

QStringList ownRecordingsOverwritten(const VoiceFolder &folder, const VoiceBackup &backup)
{
    QStringList out;
    for (const VoiceRecording &r : backup.recordings)
        if (folder.state(r.character) == VoiceState::Own && readAll(folder.soundPath(r.character)) != r.sound)
            out << r.character;
    return out;
}

bool importVoice(VoiceFolder &folder, const VoiceBackup &backup, QString *error)
{
    for (const VoiceRecording &r : backup.recordings)
        if (!folder.keep(r.character, r.sound, r.take, error))
            return false;
    return true;
}

} // namespace kel
