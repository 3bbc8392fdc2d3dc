#include "widgets/LineBreaks.h"

namespace kel {
namespace {

constexpr QChar kWordJoiner(0x2060);
constexpr qsizetype kLongestEnding = 5;

bool isHiragana(QChar c)
{
    return c.unicode() >= 0x3041 && c.unicode() <= 0x309F;
}

bool endsSentence(QChar c)
{
    return QStringView(u"。？！?!").contains(c);
}

bool isKanji(QChar c)
{
    return c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF;
}

} // namespace

QString keepSentenceEndsTogether(const QString &text)
{
    QString out;
    qsizetype done = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!endsSentence(text[i]) || i == 0 || !isHiragana(text[i - 1]))
            continue;
        qsizetype start = i - 1;
        while (start > done && i - start < kLongestEnding && isHiragana(text[start - 1]))
            --start;
        if (start > done && i - start < kLongestEnding && isKanji(text[start - 1]))
            --start;
        out += text.mid(done, start - done);
        for (qsizetype k = start; k < i; ++k) {
            out += text[k];
            if (k + 1 < i)
                out += kWordJoiner;
        }
        done = i;
    }
    return out + text.mid(done);
}

} // namespace kel
