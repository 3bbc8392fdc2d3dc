#include "app/OwnWords.h"

#include "base/TextFileIO.h"
#include "diary/DiaryFile.h"
#include "predict/Prediction.h"
#include "reading/Dictionary.h"
#include "samples/SampleFile.h"

#include <cstdio>
#include <iostream>
#include <string>

namespace kel {
namespace {

QString fileText(const QString &path, const QString &name, QStringList *notices)
{
    const ListFileText file = readListFile(path);
    if (!file.mayOverwrite() && notices)
        *notices << QStringLiteral("%1 が正しく読めないため、言葉の予測は読めた所までを使います。").arg(name);
    return file.text;
}

} // namespace

QStringList ownTexts(const QString &dataFolder, QStringList *notices)
{
    const QString dir = dataFolder + QLatin1Char('/');
    QStringList texts = parseSamples(fileText(dir + kSampleFileName, kSampleFileName, notices));
    texts.removeAll(kPlaceholder);
    for (const DiaryRowData &row : parseDiary(fileText(dir + kDiaryFileName, kDiaryFileName, notices), QString())) {
        QString entry = row.entry;
        if (entry.endsWith(u'_'))
            entry.chop(1);
        texts << entry;
    }
    return texts;
}

int runPredictCommand(const QString &dataFolder, int count)
{
    QStringList notices;
    const QStringList texts = ownTexts(dataFolder, &notices);
    for (const QString &n : notices)
        std::fprintf(stderr, "kelvoran: %s\n", n.toLocal8Bit().constData());
    Dictionary::shared().waitUntilReady();
    Prediction prediction;
    prediction.loadNow(dataFolder, texts, Dictionary::shared().analyser());
    prediction.setSettings({true, count, false});
    for (std::string line; std::getline(std::cin, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        QStringList answers;
        for (const Candidate &c : prediction.candidates(QString::fromUtf8(line.data(), qsizetype(line.size()))))
            answers << c.text;
        const QByteArray out = answers.join(QLatin1Char('\t')).toUtf8() + '\n';
        std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
        std::fflush(stdout);
    }
    return 0;
}

} // namespace kel
