#include "predict/KanaReading.h"

#include "reading/Analyser.h"

namespace kel {
namespace {

bool hasKanji(QStringView s)
{
    for (QChar c : s) {
        if (c.script() == QChar::Script_Han)
            return true;
    }
    return false;
}

QString hiragana(QStringView katakana)
{
    QString out(katakana.toString());
    for (QChar &c : out) {
        if (c >= QChar(u'ァ') && c <= QChar(u'ヶ'))
            c = QChar(char16_t(c.unicode() - (u'ァ' - u'ぁ')));
    }
    return out;
}

// Words that lean on the word before them: a phrase never begins with one.
bool leansBack(const Morpheme &m)
{
    const QString pos = m.pos();
    if (pos == u"助詞" || pos == u"助動詞" || pos == u"記号")
        return true;
    const QString pos1 = m.pos1();
    return pos1 == u"接尾" || pos1 == u"非自立";
}

bool breaksPhrase(QChar c)
{
    return c == u' ' || c == u'　' || c == u'、' || c == u',';
}

} // namespace

KanaSentence kanaSentence(QStringView text, const Analyser *analyser)
{
    KanaSentence out;
    if (!analyser) {
        out.kana = text.toString();
        out.starts << 0;
        for (qsizetype i = 0; i + 1 < text.size(); ++i) {
            if (breaksPhrase(text[i]))
                out.starts << i + 1;
        }
        out.words = out.starts;
        return out;
    }
    const QList<Morpheme> words = analyser->analyse(text);
    qsizetype covered = 0;
    for (const Morpheme &m : words) {
        // Spaces belong to no word: they stay as typed.
        out.kana += text.mid(covered, m.from - covered);
        const bool afterBreak = !out.kana.isEmpty() && breaksPhrase(out.kana.back());
        if (out.kana.isEmpty() || afterBreak || !leansBack(m)) {
            if (out.starts.isEmpty() || out.starts.back() != out.kana.size())
                out.starts << out.kana.size();
        }
        if (out.words.isEmpty() || out.words.back() != out.kana.size())
            out.words << out.kana.size();
        const QString reading = m.feature(7);
        if (hasKanji(m.surface) && !reading.isEmpty() && reading != u"*")
            out.kana += hiragana(reading);
        else
            out.kana += m.surface;
        covered = m.end();
    }
    out.kana += text.mid(covered);
    for (QList<qsizetype> *list : {&out.starts, &out.words}) {
        if (list->isEmpty() || list->front() != 0)
            list->prepend(0);
    }
    return out;
}

} // namespace kel
