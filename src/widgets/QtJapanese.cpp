#include "widgets/QtJapanese.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace kel {

bool loadQtJapanese()
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    bool base = false;
    for (const char *name : {"qtbase", "qtmultimedia"}) {
        auto *t = new QTranslator(QCoreApplication::instance());
        if (t->load(QLocale(QLocale::Japanese, QLocale::Japan), QString::fromLatin1(name), QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(t);
            base = base || QLatin1String(name) == QLatin1String("qtbase");
        } else {
            delete t;
        }
    }
    return base;
}

} // namespace kel
