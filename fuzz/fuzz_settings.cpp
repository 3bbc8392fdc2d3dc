// Any bytes as Talk.ini: the options read from it are always usable.
#include "base/AppState.h"
#include "base/SettingsStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    static int n = 0;
    // A new name each time: QSettings keeps what it read of a path.
    const QString path = dir.filePath(QStringLiteral("Talk%1.ini").arg(n++));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return 0;
        f.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    kel::AppState st;
    kel::ReadOptions(st, kel::SettingsStore(path));
    QFile::remove(path);
    if (st.Options.size() != 6 || (st.MaxC != 9 && (st.MaxC < 11 || st.MaxC > 29))
        || st.SampleChars < 1 || st.SampleChars > 5)
        __builtin_trap();
    return 0;
}
