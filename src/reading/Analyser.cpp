#include "reading/Analyser.h"

namespace kel {

QString Analyser::defaultFolder()
{
    const QString own = qEnvironmentVariable("KELVORAN_DICDIR");
    return own.isEmpty() ? QStringLiteral("/var/lib/mecab/dic/ipadic-utf8") : own;
}

std::unique_ptr<Analyser> Analyser::open(QString *why, const QString &folder)
{
    return std::unique_ptr<Analyser>(openMecabAnalyser(why, folder));
}

} // namespace kel
