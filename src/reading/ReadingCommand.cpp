#include "reading/ReadingCommand.h"

#include "reading/Dictionary.h"
#include "reading/SpokenReading.h"

#include <cstdio>
#include <iostream>
#include <string>

namespace kel {

QString spokenLine(QStringView text)
{
    Dictionary &d = Dictionary::shared();
    d.waitUntilReady();
    return unitsLine(spokenUnits(text, d.analyser()));
}

int printSpokenReadings(const std::optional<QString> &text)
{
    const auto print = [](QStringView line) {
        const QByteArray out = spokenLine(line).toUtf8() + '\n';
        std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    };
    if (text) {
        print(*text);
    } else {
        for (std::string line; std::getline(std::cin, line);) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            print(QString::fromUtf8(line.data(), qsizetype(line.size())));
        }
    }
    std::fflush(stdout);
    return Dictionary::shared().analyser() ? 0 : 1;
}

} // namespace kel
