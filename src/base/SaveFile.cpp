#include "base/SaveFile.h"

#include <QSaveFile>

namespace kel {
namespace {

SaveFault g_saveFault = SaveFault::None;

SaveError saveError(const QSaveFile &file, const QString &fallback)
{
    const QString reason = file.errorString();
    return SaveError{reason.isEmpty() || reason == QLatin1String("Unknown error") ? fallback
                                                                                   : reason};
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
    if (g_saveFault == SaveFault::BeforeRename) {
        file.cancelWriting();
        return SaveError{QStringLiteral("cannot replace %1").arg(path)};
    }
    if (!file.commit())
        return saveError(file, QStringLiteral("cannot replace %1").arg(path));
    return std::nullopt;
}

void setSaveFaultForTesting(SaveFault fault)
{
    g_saveFault = fault;
}

} // namespace kel
