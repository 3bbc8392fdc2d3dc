#pragma once
// Driving the real window as a user does, for the example list, the diary
// and the composing tests: buttons found by their captions, the question
// dialogs, the files a test starts from, what the window shows.

#include "samples/SampleFile.h"
#include "support/TalkFixture.h"

#include <QDir>

namespace kel {

const QColor kGreen(128, 255, 128);
const QColor kWhite(255, 255, 255);

// The visible button showing `caption` ("決定", "例文追加", "日記終了" ...).
inline ColorButton *button(TalkFixture &f, const QString &caption)
{
    for (ColorButton *b : f.win->findChildren<ColorButton *>())
        if (b->isVisible() && b->text() == caption)
            return b;
    qFatal("no visible button \"%s\"", qPrintable(caption));
}

// Clicks the buttons `steps` names by caption, in turn, and answers the
// questions they ask with `answers` (see Questions); returns the questions.
inline QStringList drive(TalkFixture &f, const QString &steps, QList<int> answers = {1})
{
    Questions questions(std::move(answers));
    for (const QString &step : steps.split(u' ', Qt::SkipEmptyParts)) {
        f.click(button(f, step));
        f.settle();
    }
    return questions.asked;
}

// The records of `sentences` in order, each as the program writes one (the
// record format itself is pinned byte for byte in test_samplefile).
inline QByteArray records(const QStringList &sentences)
{
    QByteArray bytes;
    for (const QString &s : sentences)
        bytes += encodeRecord(s).value();
    return bytes;
}

// The rows of a two-column list as "label|sentence", the highlighted
// sentence, green, in brackets: "か行|[かさ]".
inline QStringList rows(const FlexGrid *g)
{
    QStringList out;
    for (int r = 0; r < g->Rows(); ++r) {
        const QString s = g->TextMatrix(r, 1);
        out << g->TextMatrix(r, 0) + u'|' + (g->cellBackColor(r, 1) == kGreen ? u'[' + s + u']' : s);
    }
    return out;
}

// Everything in the program folder: a save must leave no temporary behind.
inline QStringList folderEntries(const TalkFixture &f)
{
    return QDir(f.home.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace kel
