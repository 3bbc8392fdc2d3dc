// The gzip tar files themselves, with libarchive.
#include "speech/WavName.h"
#include "voice/ArchiveFile.h"

#include <archive.h>
#include <archive_entry.h>

#include <memory>

namespace kel {
namespace {

using ArchivePtr = std::unique_ptr<archive, int (*)(archive *)>;

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

} // namespace

std::optional<QByteArray> tarGz(const ArchiveEntries &entries, QString *error)
{
    QByteArray out;
    ArchivePtr a(archive_write_new(), archive_write_free);
    bool ok = archive_write_set_format_pax_restricted(a.get()) == ARCHIVE_OK
              && archive_write_add_filter_gzip(a.get()) == ARCHIVE_OK
              // No zeros after the gzip stream: every byte of the file counts.
              && archive_write_set_bytes_in_last_block(a.get(), 1) == ARCHIVE_OK
              && archive_write_open(a.get(), &out, nullptr, appendTo, nullptr) == ARCHIVE_OK;
    for (const auto &[name, bytes] : entries)
        ok = ok && addEntry(a.get(), name, bytes);
    ok = ok && archive_write_close(a.get()) == ARCHIVE_OK;
    if (!ok)
        return refuse(error, QString::fromUtf8(archive_error_string(a.get())));
    return out;
}

std::optional<ArchiveFiles> readTarGz(const QByteArray &bytes, const std::function<bool(const QByteArray &)> &allowed,
                                      int maxEntries, qint64 maxBytes, QString *error,
                                      const std::function<qint64(const QByteArray &)> &entryLimit)
{
    // The headers first, straight from the gzip stream, keeping no data: an
    // entry whose header says it is larger than its name may hold is
    // refused before it is unpacked. Unpacked first, a 300 MB Talk.txt took
    // half a minute and twice its size in memory only to be refused after.
    // What this walk cannot read is left to the checks below, which say why.
    if (entryLimit) {
        ArchivePtr a(archive_read_new(), archive_read_free);
        archive_read_support_filter_gzip(a.get());
        archive_read_support_format_tar(a.get());
        archive_entry *e = nullptr;
        if (archive_read_open_memory(a.get(), bytes.constData(), size_t(bytes.size())) == ARCHIVE_OK) {
            while (archive_read_next_header(a.get(), &e) == ARCHIVE_OK) {
                const QByteArray name = archive_entry_pathname(e) ? QByteArray(archive_entry_pathname(e)) : QByteArray();
                if (!allowed(name))
                    break;
                const qint64 limit = entryLimit(name);
                if (archive_entry_size(e) > limit)
                    return refuse(error, QStringLiteral("「%1」が %2 MB を超えています")
                                             .arg(printable(QString::fromUtf8(name)), megabytes(limit)));
            }
        }
    }

    // First the whole gzip stream, so that a cut-off file is caught even
    // where the tar inside it still looks complete. libarchive does not
    // check the stream's CRC: an altered byte is caught by the callers'
    // SHA-256 of every file.
    QByteArray tar;
    {
        ArchivePtr a(archive_read_new(), archive_read_free);
        archive_read_support_filter_gzip(a.get());
        archive_read_support_format_raw(a.get());
        archive_entry *e = nullptr;
        if (archive_read_open_memory(a.get(), bytes.constData(), size_t(bytes.size())) != ARCHIVE_OK
            || archive_read_next_header(a.get(), &e) != ARCHIVE_OK
            || archive_filter_code(a.get(), 0) != ARCHIVE_FILTER_GZIP)
            return refuse(error, QStringLiteral("バックアップの形式ではありません"));
        char block[65536];
        la_ssize_t n;
        while ((n = archive_read_data(a.get(), block, sizeof block)) > 0 && tar.size() <= maxBytes)
            tar.append(block, qsizetype(n));
        if (tar.size() > maxBytes)
            return refuse(error, QStringLiteral("展開すると %1 MB を超えます").arg(megabytes(maxBytes)));
        if (n < 0)
            return refuse(error, QStringLiteral("壊れています"));
    }

    ArchivePtr a(archive_read_new(), archive_read_free);
    archive_read_support_format_tar(a.get());
    if (archive_read_open_memory(a.get(), tar.constData(), size_t(tar.size())) != ARCHIVE_OK)
        return refuse(error, QStringLiteral("バックアップの形式ではありません"));
    ArchiveFiles entries;
    archive_entry *e = nullptr;
    int r;
    while ((r = archive_read_next_header(a.get(), &e)) == ARCHIVE_OK) {
        const QByteArray name = archive_entry_pathname(e) ? QByteArray(archive_entry_pathname(e)) : QByteArray();
        // A link or a device under an allowed name would be taken for an
        // empty file, or lead a later step to a place outside the folder.
        if (archive_entry_filetype(e) != AE_IFREG || archive_entry_hardlink(e) || archive_entry_symlink(e))
            return refuse(error, QStringLiteral("「%1」は普通のファイルではありません").arg(printable(QString::fromUtf8(name))));
        if (!allowed(name))
            return refuse(error, QStringLiteral("見知らぬ名前「%1」があります").arg(printable(QString::fromUtf8(name))));
        if (entries.contains(name) || entries.size() >= maxEntries || archive_entry_size(e) < 0 || archive_entry_size(e) > tar.size())
            return refuse(error, QStringLiteral("中身がおかしいです"));
        QByteArray data(qsizetype(archive_entry_size(e)), Qt::Uninitialized);
        qsizetype got = 0;
        la_ssize_t n = 0;
        while (got < data.size() && (n = archive_read_data(a.get(), data.data() + got, size_t(data.size() - got))) > 0)
            got += qsizetype(n);
        if (got != data.size())
            return refuse(error, QStringLiteral("壊れています"));
        entries.insert(name, data);
    }
    if (r != ARCHIVE_EOF)
        return refuse(error, QStringLiteral("壊れています"));
    return entries;
}

} // namespace kel
