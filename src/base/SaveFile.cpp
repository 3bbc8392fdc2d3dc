#include "base/SaveFile.h"

#include <QSaveFile>

#include <fcntl.h>
#include <unistd.h>

namespace kel {
namespace {

SaveFault g_saveFault = SaveFault::None;

SaveError saveError(const QSaveFile &file, const QString &fallback)
{
    const QString reason = file.errorString();
    return SaveError{reason.isEmpty() || reason == QLatin1String("Unknown error") ? fallback
                                                                                   : reason};
}

// The fault switch's failing rename: the temporary is taken away under
// QSaveFile, so that its own commit() meets the failure, as it would on a
// disk pulled out at that moment. Qt keeps the temporary unnamed where it
// can (O_TMPFILE) and links it in at commit(): with /dev/null put in its
// place that link fails; a named temporary is removed as well.
void loseTemporary(const QSaveFile &file)
{
    char temporary[4096] = {};
    const QByteArray fd = "/proc/self/fd/" + QByteArray::number(file.handle());
    const ssize_t n = ::readlink(fd.constData(), temporary, sizeof temporary - 1);
    const int null = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (n <= 0 || null < 0 || ::dup2(null, file.handle()) < 0)
        qWarning("kelvoran: the save fault switch found no temporary to take away");
    if (null >= 0)
        ::close(null);
    if (n > 0 && !QByteArray(temporary).endsWith(" (deleted)"))
        ::unlink(temporary);
}

} // namespace

std::optional<SaveError> saveFileAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return saveError(file, QStringLiteral("cannot create a file beside %1").arg(path));

    // A short file sits in the device's buffer until the flush, so the write
    // alone cannot tell a full disk; QSaveFile::commit() does not look at the
    // flush's outcome either, and would rename an empty temporary over the
    // old file. Both are checked here before anything is replaced.
    const bool written = g_saveFault != SaveFault::Write && file.write(bytes) == bytes.size()
                         && file.flush() && file.error() == QFileDevice::NoError;
    if (!written) {
        const SaveError error = saveError(file, QStringLiteral("cannot write %1").arg(path));
        file.cancelWriting(); // the temporary is removed, the target untouched
        return error;
    }
    if (g_saveFault == SaveFault::BeforeRename)
        loseTemporary(file);
    if (!file.commit())
        return saveError(file, QStringLiteral("cannot replace %1").arg(path));
    return std::nullopt;
}

void setSaveFaultForTesting(SaveFault fault)
{
    g_saveFault = fault;
}

} // namespace kel
