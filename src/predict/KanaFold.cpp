#include "predict/KanaFold.h"

#include <QStringList>

namespace kel {
namespace {

constexpr char16_t kKatakanaFirst = u'ァ', kKatakanaLast = u'ヶ';
constexpr char16_t kHiraganaOffset = u'ァ' - u'ぁ';

bool endsSentence(QChar c)
{
    static const QString ends = QStringLiteral("。！？!?\r\n");
    return ends.contains(c);
}

} // namespace

QChar foldKana(QChar c)
{
    char16_t u = c.unicode();
    if (u == u'ヴ' || u == u'ゔ')
        return QChar(u'う');
    if (u >= kKatakanaFirst && u <= kKatakanaLast)
        u = char16_t(u - kHiraganaOffset);
    switch (u) {
    case u'ぁ': case u'ぃ': case u'ぅ': case u'ぇ': case u'ぉ':
    case u'っ': case u'ゃ': case u'ゅ': case u'ょ': case u'ゎ':
        return QChar(char16_t(u + 1));
    case u'ゕ':
        return QChar(u'か');
    case u'ゖ':
        return QChar(u'け');
    default:
        break;
    }
    // が = か + U+3099, ぱ = は + U+309A.
    if (u >= u'ぁ' && u <= u'ゖ') {
        const QString d = QChar(u).decomposition();
        if (d.size() == 2)
            return d.at(0);
    }
    return QChar(u);
}

QString foldKana(QStringView text)
{
    QString out(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        out[i] = foldKana(text[i]);
    return out;
}

bool isControl(QChar c)
{
    return c.category() == QChar::Other_Control || c.category() == QChar::Other_Format
           || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

QString cleanForHistory(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (!isControl(c))
            out += c;
    }
    while (out.startsWith(u' '))
        out.remove(0, 1);
    while (out.endsWith(u' '))
        out.chop(1);
    return out;
}

QStringList splitSentences(QStringView text)
{
    QStringList out;
    qsizetype from = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !endsSentence(text[i]))
            continue;
        const bool lineBreak = i < text.size() && (text[i] == u'\r' || text[i] == u'\n');
        const qsizetype end = (i < text.size() && !lineBreak) ? i + 1 : i;
        const QString piece = cleanForHistory(text.mid(from, end - from));
        if (!piece.isEmpty())
            out << piece;
        from = i + 1;
    }
    return out;
}

qsizetype sentenceStart(QStringView context)
{
    for (qsizetype i = context.size(); i > 0; --i) {
        if (endsSentence(context[i - 1]))
            return i;
    }
    return 0;
}

} // namespace kel
