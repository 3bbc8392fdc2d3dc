#include "base/LateModule.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLibrary>
#include <QRecursiveMutex>

#include <cstdio>

namespace kel {
namespace {

struct Registry {
    // Recursive: the module hands its functions over while it is being loaded.
    QRecursiveMutex mutex;
    QHash<QByteArray, QFunctionPointer> functions;
    bool tried = false;   // the module has been looked for
    bool loaded = false;
};

// Made on first use: the files registering functions run before main().
Registry &registry()
{
    static Registry r;
    return r;
}

QString programFolder()
{
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
}

// With the registry's mutex held.
bool loadLocked(Registry &r)
{
    if (r.tried)
        return r.loaded;
    r.tried = true;
    QStringList reasons;
    for (const QString &path : lateModulePaths()) {
        if (!QFileInfo::exists(path))
            continue;
        // Never unloaded: objects made by its code live to the end.
        auto *library = new QLibrary(path);
        library->setLoadHints(QLibrary::PreventUnloadHint);
        auto handOver = reinterpret_cast<void (*)(AddLateFunction)>(library->resolve("kelvoran_late_hand_over"));
        if (!handOver) {
            reasons << library->errorString();
            continue;
        }
        handOver(&addLateFunction);
        r.loaded = true;
        return true;
    }
    if (reasons.isEmpty())
        reasons << QStringLiteral("%1 が見つかりません（%2）").arg(QString::fromLatin1(kLateModuleFile),
                                                                    lateModulePaths().join(QStringLiteral("、")));
    std::fprintf(stderr, "kelvoran: 音・辞書・バックアップの部品を読み込めません: %s\n",
                 reasons.join(QStringLiteral("; ")).toLocal8Bit().constData());
    return false;
}

} // namespace

QStringList lateModulePaths()
{
    const QString here = programFolder();
    const QString file = QString::fromLatin1(kLateModuleFile);
    // Last the package's own place, for a program copied elsewhere alone.
    return {QDir::cleanPath(here + QStringLiteral("/../lib/kelvoran/") + file), here + QLatin1Char('/') + file,
            QStringLiteral("/usr/lib/kelvoran/") + file};
}

bool addLateFunction(const char *name, QFunctionPointer function)
{
    Registry &r = registry();
    QMutexLocker lock(&r.mutex);
    r.functions.insert(QByteArray(name), function);
    return true;
}

void handOverLateFunctions(AddLateFunction add)
{
    Registry &r = registry();
    QHash<QByteArray, QFunctionPointer> functions;
    {
        QMutexLocker lock(&r.mutex);
        functions = r.functions;
    }
    for (auto it = functions.cbegin(); it != functions.cend(); ++it)
        add(it.key().constData(), it.value());
}

bool loadLateModule()
{
    Registry &r = registry();
    QMutexLocker lock(&r.mutex);
    return loadLocked(r);
}

QFunctionPointer lateFunctionPointer(const char *name)
{
    Registry &r = registry();
    QMutexLocker lock(&r.mutex);
    const QByteArray key(name);
    if (QFunctionPointer f = r.functions.value(key))
        return f;
    loadLocked(r);
    return r.functions.value(key);
}

} // namespace kel
