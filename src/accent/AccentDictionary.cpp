#include "accent/AccentDictionary.h"

#include <QDir>
#include <QFileInfo>

#include <memory>
#include <mutex>

namespace kel {

QStringList accentDictionaryFolders()
{
    QStringList out;
    const QString own = qEnvironmentVariable("KELVORAN_ACCENT_DICDIR");
    if (!own.isEmpty())
        return {own};
    const QString programDir = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    out << QDir::cleanPath(programDir + QStringLiteral("/../share/kelvoran/accent-dic"));
    out << QStringLiteral(KEL_ACCENT_DIC_BUILD);
    return out;
}

const Analyser *accentAnalyser(QString *problem)
{
    static std::once_flag opened;
    static std::unique_ptr<Analyser> analyser;
    static QString why;
    std::call_once(opened, [] {
        for (const QString &folder : accentDictionaryFolders()) {
            if (!QFileInfo::exists(folder + QStringLiteral("/dicrc")))
                continue;
            analyser = Analyser::open(&why, folder);
            if (analyser)
                return;
        }
        if (why.isEmpty())
            why = QStringLiteral("アクセント辞書 (open-jtalk-mecab-naist-jdic) が見つかりません");
    });
    if (problem)
        *problem = analyser ? QString() : why;
    return analyser.get();
}

} // namespace kel
