#include "reading/SpokenReading.h"

#include "reading/Analyser.h"
#include "reading/Morae.h"
#include "reading/Numbers.h"

namespace kel {
namespace {

bool isLongMark(QChar c)
{
    return QStringView(u"。．.！!？?\n\r…‥").contains(c);
}

bool isShortMark(QChar c)
{
    return c.isSpace() || QStringView(u"、，,・：:；;「」『』（）()【】[]〈〉《》\"'“”‘’〜~").contains(c);
}

// "Ａ" -> "A"; nothing for a character that is not a Latin letter.
QChar latinLetter(QChar c)
{
    const char16_t u = c.unicode();
    if ((u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z'))
        return c;
    if ((u >= 0xFF21 && u <= 0xFF3A) || (u >= 0xFF41 && u <= 0xFF5A))
        return QChar(u - 0xFEE0);
    return {};
}

bool isHalfWidthKana(QChar c)
{
    return c.unicode() >= 0xFF66 && c.unicode() <= 0xFF9F;
}

qsizetype charLength(QStringView text, qsizetype i)
{
    return text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate() ? 2 : 1;
}

bool isNumeral(QStringView s)
{
    return !numberDigits(s).isEmpty();
}

// A part of the text and the word it stands for (from the dictionary, or
// made up where there is none).
struct Word {
    qsizetype from = 0, length = 0;
    QString pron;   // hiragana; "" when unknown
    bool noun = false;
};

// One mora of a reading placed over the text: a surface token is one kana
// mora of the text, or one other character.
struct Token {
    QString kana; // "" for a character that is not kana
    qsizetype from, length;
};

class Builder {
public:
    explicit Builder(QStringView text) : text_(text) {}

    QList<SpokenUnit> take() { return std::move(out_); }

    void pause(SpokenUnit::Kind kind, qsizetype from, qsizetype length)
    {
        if (out_.isEmpty())
            return; // nothing to pause after
        SpokenUnit &last = out_.last();
        if (last.kind == SpokenUnit::ShortPause || last.kind == SpokenUnit::LongPause) {
            if (kind == SpokenUnit::LongPause) {
                last.kind = kind;
                last.text = QStringLiteral("。");
            }
            last.length = from + length - last.from;
            return;
        }
        out_.append({kind, kind == SpokenUnit::LongPause ? QStringLiteral("。") : QStringLiteral("、"), from, length});
    }

    // Characters that are not part of any reading: pauses, letters, signs.
    void others(qsizetype from, qsizetype length)
    {
        for (qsizetype i = from; i < from + length;) {
            const qsizetype n = charLength(text_, i);
            const QChar c = text_.at(i);
            if (isHalfWidthKana(c)) {
                // "ｷｬﾝｾﾙ" is read as "キャンセル".
                qsizetype end = i;
                while (end < from + length && isHalfWidthKana(text_.at(end)))
                    ++end;
                const QString kana = toHiragana(text_.mid(i, end - i).toString().normalized(QString::NormalizationForm_KC));
                if (splitMorae(kana).isEmpty()) // a lone sound mark
                    out_.append({SpokenUnit::Sign, text_.mid(i, end - i).toString(), i, end - i});
                else
                    word({i, end - i, kana, true});
                i = end;
                continue;
            }
            if (isLongMark(c))
                pause(SpokenUnit::LongPause, i, n);
            else if (isShortMark(c))
                pause(SpokenUnit::ShortPause, i, n);
            else if (!latinLetter(c).isNull())
                out_.append({SpokenUnit::Sign, QString(latinLetter(c)), i, n});
            else if (isKana(c))
                word({i, n, toHiragana(text_.mid(i, n)), true});
            else
                out_.append({SpokenUnit::Sign, text_.mid(i, n).toString(), i, n});
            i += n;
        }
    }

    // A word read as `w.pron`, each mora over the characters it stands for.
    void word(const Word &w)
    {
        QList<KanaMora> p = splitMorae(w.pron);
        if (p.isEmpty()) {
            others(w.from, w.length);
            return;
        }
        place(tokens(w.from, w.length), p, w.from, w.length);
        if (w.noun) {
            // Within a noun "えい" and "おう" are long vowels: "せんせい" is
            // said "せんせー" (the dictionary writes only some of them so).
            // Not where a vowel written in kana meets the reading of the
            // kanji after it: "ため息" is "ため" and "いき".
            for (qsizetype i = 1; i < p.size(); ++i) {
                const QString v = vowelOf(p[i - 1].mora);
                const bool intoKanji = isKana(text_.at(p[i - 1].from)) && !isKana(text_.at(p[i].from));
                if (((p[i].mora == u"い" && v == u"え") || (p[i].mora == u"う" && v == u"お")) && !intoKanji)
                    p[i].mora = QStringLiteral("ー");
            }
        }
        pronounce(p);
        for (const KanaMora &m : p)
            out_.append({m.mora == u"っ" ? SpokenUnit::Hold : SpokenUnit::Mora, m.mora, m.from, m.length});
    }

private:
    QList<Token> tokens(qsizetype from, qsizetype length) const
    {
        QList<Token> out;
        for (qsizetype i = from; i < from + length;) {
            qsizetype run = i;
            while (run < from + length && isKana(text_.at(run)))
                ++run;
            if (run > i) {
                for (const KanaMora &m : splitMorae(text_.mid(i, run - i)))
                    out.append({m.mora, i + m.from, m.length});
                i = run;
                continue;
            }
            const qsizetype n = charLength(text_, i);
            out.append({QString(), i, n});
            i += n;
        }
        return out;
    }

    // Gives each mora of `p` the span of the text it reads: kana that read as
    // written match their own characters from either end; the morae between
    // are spread evenly over the characters between.
    static void place(const QList<Token> &s, QList<KanaMora> &p, qsizetype from, qsizetype length)
    {
        qsizetype head = 0;
        while (head < s.size() && head < p.size() && !s[head].kana.isEmpty() && s[head].kana == p[head].mora) {
            p[head].from = s[head].from, p[head].length = s[head].length;
            ++head;
        }
        qsizetype tail = 0;
        while (tail < s.size() - head && tail < p.size() - head && !s[s.size() - 1 - tail].kana.isEmpty()
               && s[s.size() - 1 - tail].kana == p[p.size() - 1 - tail].mora) {
            const Token &t = s[s.size() - 1 - tail];
            p[p.size() - 1 - tail].from = t.from, p[p.size() - 1 - tail].length = t.length;
            ++tail;
        }
        const qsizetype m = s.size() - head - tail, n = p.size() - head - tail;
        for (qsizetype j = 0; j < n; ++j) {
            KanaMora &mora = p[head + j];
            if (m == 0) {
                mora.from = from, mora.length = length;
            } else if (n >= m) {
                const Token &t = s[head + j * m / n];
                mora.from = t.from, mora.length = t.length;
            } else {
                const Token &first = s[head + j * m / n], &last = s[head + (j + 1) * m / n - 1];
                mora.from = first.from, mora.length = last.from + last.length - first.from;
            }
        }
    }

    QStringView text_;
    QList<SpokenUnit> out_;
};

// Words made without a dictionary: runs of kana, runs of numerals, and
// every other character alone.
QList<Morpheme> wordsWithoutDictionary(QStringView text)
{
    QList<Morpheme> out;
    for (qsizetype i = 0; i < text.size();) {
        qsizetype j = i;
        const auto numeral = [](QChar c) { return c.isDigit() && c.digitValue() >= 0; };
        if (isKana(text.at(i)))
            while (j < text.size() && isKana(text.at(j)))
                ++j;
        else if (numeral(text.at(i)))
            while (j < text.size() && numeral(text.at(j)))
                ++j;
        else
            j += charLength(text, i);
        Morpheme m{i, j - i, text.mid(i, j - i).toString(), {}};
        m.features = numeral(text.at(i)) ? QStringList{QStringLiteral("名詞"), QStringLiteral("数")} : QStringList{};
        if (!text.at(i).isSpace())
            out.append(m);
        i = j;
    }
    return out;
}

bool isKatakana(QStringView s)
{
    return !s.isEmpty() && std::all_of(s.begin(), s.end(), [](QChar c) { return c.unicode() >= 0x30A1 && c.unicode() <= 0x30FC; });
}

// The pronunciation of words[i] in hiragana, where the dictionary's field
// is not what is said:
//   "言う" is said "ゆう" ("と言うこと" -> "とゆうこと");
//   the volitional "う" after an o-sound lengthens it ("しましょう" -> "しましょお");
//   "何" before "の", "で", "だ", "と", "ど", "じ" or a counter is "なん";
//   "日本" is "にほん", "何時" "なんじ", "後" "あと" (not the written "のち").
QString pronunciationOf(const QList<Morpheme> &words, qsizetype i)
{
    const Morpheme &w = words[i];
    QString pron = toHiragana(w.pronunciation());
    const auto next = [&]() -> const Morpheme * {
        return i + 1 < words.size() && words[i + 1].from == w.end() ? &words[i + 1] : nullptr;
    };
    if ((w.feature(6) == u"言う" || w.feature(6) == u"いう") && pron == u"いう")
        return QStringLiteral("ゆう");
    if (w.pos() == u"助動詞" && w.surface == u"う" && i > 0 && words[i - 1].end() == w.from
        && vowelOf(toHiragana(words[i - 1].pronunciation()).right(1)) == u"お")
        return QStringLiteral("お");
    if (w.surface == u"何" && pron == u"なに") {
        if (const Morpheme *n = next()) {
            const QString after = toHiragana(n->pronunciation()).left(1);
            if (QStringView(u"のでだとどじ").contains(after) || n->feature(1) == u"接尾")
                return QStringLiteral("なん");
        }
    }
    if (w.surface == u"日本")
        return QStringLiteral("にほん");
    if (w.surface == u"何時")
        return QStringLiteral("なんじ");
    if (w.surface == u"後" && pron == u"のち")
        return QStringLiteral("あと");
    return pron;
}

bool isNumberWord(const Morpheme &m)
{
    return m.pos1() == u"数" && isNumeral(m.surface);
}

// A number written over several words ("1" "," "000", "三" "百" "五" "十")
// from words[i], with its counter. Returns the words used, 0 for none.
qsizetype number(const QList<Morpheme> &words, qsizetype i, bool afterMonth, Builder &b, bool *endsInMonth)
{
    if (!isNumberWord(words[i]))
        return 0;
    QString written = words[i].surface, decimals;
    qsizetype k = i;
    const auto next = [&](qsizetype at) { return at + 1 < words.size() && words[at + 1].from == words[at].end(); };
    while (next(k)) {
        if (isNumberWord(words[k + 1])) {
            written += words[++k].surface;
        } else if (QStringView(u",，").contains(words[k + 1].surface) && next(k + 1) && isNumberWord(words[k + 2])
                   && words[k + 2].surface.size() == 3) {
            written += words[k + 2].surface;
            k += 2;
        } else if (QStringView(u".．").contains(words[k + 1].surface) && decimals.isEmpty() && next(k + 1)
                   && isNumberWord(words[k + 2])) {
            decimals = numberDigits(words[k + 2].surface);
            k += 2;
            break;
        } else {
            break;
        }
    }
    const QString digits = numberDigits(written);
    QString reading = numberReading(digits);
    if (!decimals.isEmpty()) {
        reading += QStringLiteral("てん");
        for (QChar d : decimals)
            reading += numberReading(QString(d));
    }
    *endsInMonth = false;
    qsizetype used = k + 1 - i;
    if (decimals.isEmpty() && next(k)) {
        // The counter: one word, or "ヶ" and "月" as two.
        QString counter = words[k + 1].surface;
        qsizetype counterWords = 1;
        if (QStringView(u"ヶケかカ").contains(counter) && next(k + 1) && words[k + 2].surface == u"月")
            counter += words[k + 2].surface, counterWords = 2;
        if (const std::optional<QString> r = counterReading(digits, counter, afterMonth)) {
            reading = *r;
            used += counterWords;
            *endsInMonth = counter == u"月";
        }
    }
    const Morpheme &last = words[i + used - 1];
    b.word({words[i].from, last.end() - words[i].from, reading, false});
    return used;
}

} // namespace

QList<SpokenUnit> spokenUnits(QStringView text, const Analyser *analyser)
{
    const QList<Morpheme> words = analyser ? analyser->analyse(text) : wordsWithoutDictionary(text);
    Builder b(text);
    qsizetype at = 0;
    bool month = false;
    for (qsizetype i = 0; i < words.size();) {
        const Morpheme &w = words[i];
        if (w.from > at)
            b.others(at, w.from - at); // spaces and line breaks between words
        bool endsInMonth = false;
        const bool afterMonth = month && w.from == at;
        if (const qsizetype used = number(words, i, afterMonth, b, &endsInMonth)) {
            at = words[i + used - 1].end();
            i += used;
            month = endsInMonth;
            continue;
        }
        month = false;
        const QString pron = pronunciationOf(words, i);
        const bool sounds = std::any_of(pron.cbegin(), pron.cend(), [](QChar c) { return isKana(c); });
        if (w.pos() == u"記号" || !sounds) {
            // Unknown words are read by their kana, else by their characters.
            qsizetype j = w.from;
            while (j < w.end()) {
                qsizetype k = j;
                while (k < w.end() && isKana(text.at(k)))
                    ++k;
                if (k > j && w.pos() != u"記号") {
                    b.word({j, k - j, toHiragana(text.mid(j, k - j)), true});
                } else {
                    while (k < w.end() && isHalfWidthKana(text.at(k)))
                        ++k;
                    k = k > j ? k : j + charLength(text, j);
                    b.others(j, k - j);
                }
                j = k;
            }
        } else {
            // Nouns are read with the long vowels of speech, loan words in
            // katakana as written ("エイズ").
            b.word({w.from, w.length, pron, w.pos() == u"名詞" && !isKatakana(w.surface)});
        }
        at = w.end();
        ++i;
    }
    if (at < text.size())
        b.others(at, text.size() - at);
    return b.take();
}

QString unitsLine(const QList<SpokenUnit> &units)
{
    QStringList texts;
    texts.reserve(units.size());
    for (const SpokenUnit &u : units)
        texts.append(u.text);
    return texts.join(QLatin1Char(' '));
}

QString plainPronunciation(QStringView text, const Analyser &analyser)
{
    QString out;
    for (const Morpheme &m : analyser.analyse(text)) {
        const QString pron = m.pronunciation();
        out += pron.isEmpty() ? m.surface : toHiragana(pron);
    }
    return out;
}

} // namespace kel
