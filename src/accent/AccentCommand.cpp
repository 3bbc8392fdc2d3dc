#include "accent/AccentCommand.h"

#include "accent/AccentDictionary.h"
#include "accent/AccentedReading.h"
#include "reading/Dictionary.h"

#include <cstdio>
#include <iostream>
#include <string>

namespace kel {

QString accentedLine(QStringView text)
{
    Dictionary &reading = Dictionary::shared();
    reading.waitUntilReady();
    const Analyser *accent = accentAnalyser();
    const QList<SpokenUnit> units = spokenUnits(text, reading.analyser());
    return accentLine(accentUnits(text, units, accent ? accent->analyse(text) : QList<Morpheme>{}));
}

int printAccents(const std::optional<QString> &text)
{
    QString problem;
    if (!accentAnalyser(&problem))
        std::fprintf(stderr, "kelvoran: %s\n", problem.toLocal8Bit().constData());
    const auto print = [](QStringView line) { std::puts(accentedLine(line).toUtf8().constData()); };
    if (text)
        print(*text);
    for (std::string line; !text && std::getline(std::cin, line);)
        print(QString::fromUtf8(line.data(), qsizetype(line.size())).chopped(line.ends_with('\r') ? 1 : 0));
    std::fflush(stdout);
    return problem.isEmpty() && Dictionary::shared().analyser() ? 0 : 1;
}

} // namespace kel
