#include "reading/Analyser.h"

#include "base/LateModule.h"

namespace kel {

QString Analyser::defaultFolder()
{
    const QString own = qEnvironmentVariable("KELVORAN_DICDIR");
    return own.isEmpty() ? QStringLiteral("/var/lib/mecab/dic/ipadic-utf8") : own;
}

std::unique_ptr<Analyser> Analyser::open(QString *why, const QString &folder)
{
    auto openMecab = lateFunction<OpenAnalyser>("open_analyser");
    if (!openMecab) {
        if (why)
            *why = QStringLiteral("辞書を使う部品がありません");
        return nullptr;
    }
    return std::unique_ptr<Analyser>(openMecab(why, folder));
}

} // namespace kel
