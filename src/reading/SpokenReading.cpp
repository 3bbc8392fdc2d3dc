#include "reading/SpokenReading.h"

#include "reading/Analyser.h"
#include "reading/Morae.h"
#include "reading/NumberWords.h"
#include "reading/Numbers.h"
#include "reading/WordReadings.h"

namespace kel {
namespace {

bool isLongMark(QChar c)
{
    return QStringView(u"。．.！!？?…‥").contains(c);
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
    // The morae of the text are taken from the whole text, not word by
    // word: where the analyser cuts "ひゅーず" as ひ | ゅ | ー | ず, the small
    // kana still joins the kana before it and "ー" still lengthens it.
    explicit Builder(QStringView text) : text_(text), moraStarting_(text.size(), -1)
    {
        for (qsizetype i = 0; i < text.size();) {
            qsizetype run = i;
            while (run < text.size() && isKana(text.at(run)))
                ++run;
            if (run == i) {
                ++i;
                continue;
            }
            for (KanaMora m : splitMorae(text.mid(i, run - i))) {
                m.from += i;
                moraStarting_[m.from] = textMorae_.size();
                textMorae_.append(m);
            }
            i = run;
        }
    }

    QList<SpokenUnit> take()
    {
        sayLongMarks();
        return std::move(out_);
    }

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
                kana(i, n);
            else
                out_.append({SpokenUnit::Sign, text_.mid(i, n).toString(), i, n});
            i += n;
        }
    }

    // Kana of the text from `from`, read as written but for what only the
    // analyser can tell: the word's pronunciation `said` (hiragana, "" when
    // unknown) decides particles and long vowels where it has as many morae.
    // `noun`: "えい" and "おう" are long vowels within it.
    void kana(qsizetype from, qsizetype length, const QString &said = {}, bool noun = false)
    {
        QList<KanaMora> written;
        for (qsizetype i = from; i < from + length; ++i)
            if (const qsizetype m = moraStarting_[i]; m >= 0)
                written.append(textMorae_[m]);
        if (written.isEmpty())
            return;
        const QList<KanaMora> heard = splitMorae(said);
        if (heard.size() == written.size()) {
            // No particle begins a sentence, and "は" after the particle "は"
            // is a word's own ("こはははおや": こ わ は は おや).
            const bool noParticle = startsSentence() || afterParticleWa();
            for (qsizetype i = 0; i < written.size(); ++i)
                if (decidedByAnalyser(written[i].mora, heard[i].mora, noParticle && i == 0))
                    written[i].mora = heard[i].mora;
        }
        if (noun)
            longVowelsOfNoun(written);
        append(written);
    }

    // A word read as `w.pron`, each mora over the characters it stands for.
    void word(const Word &given)
    {
        Word w = given;
        while (w.length > 0 && isKana(text_.at(w.from)) && moraStarting_[w.from] < 0) {
            ++w.from, --w.length; // the rest of a mora read with the word before
        }
        QList<KanaMora> p = splitMorae(w.pron);
        if (p.isEmpty() || w.length == 0) {
            others(w.from, w.length);
            return;
        }
        place(tokens(w.from, w.length), p, w.from, w.length);
        if (w.noun)
            longVowelsOfNoun(p);
        append(p);
    }

private:
    // Where the analyser's pronunciation may overrule the kana as written:
    // particles (は -> わ, へ -> え, を -> お, never first in a sentence), long
    // vowels, 言う as ゆう and the volitional う after an o-sound.
    static bool decidedByAnalyser(const QString &written, const QString &heard, bool noParticle)
    {
        static const QStringView kDecisions[][2] = {
            {u"は", u"わ"}, {u"へ", u"え"}, {u"を", u"お"}, {u"あ", u"ー"}, {u"い", u"ー"}, {u"う", u"ー"},
            {u"え", u"ー"}, {u"お", u"ー"}, {u"い", u"ゆ"}, {u"う", u"お"}};
        if (noParticle && (written == u"は" || written == u"へ"))
            return false;
        for (const auto &d : kDecisions)
            if (written == d[0] && heard == d[1])
                return true;
        return false;
    }

    bool afterParticleWa() const
    {
        return !out_.isEmpty() && out_.last().text == u"わ" && text_.at(out_.last().from) == u'は';
    }

    bool startsSentence() const
    {
        for (qsizetype i = out_.size() - 1; i >= 0; --i) {
            if (out_[i].kind == SpokenUnit::LongPause)
                return true;
            if (out_[i].kind != SpokenUnit::ShortPause)
                return false;
        }
        return true;
    }

    // Within a noun "えい" and "おう" are long vowels: "せんせい" is said
    // "せんせー" (the dictionary writes only some of them so). Not where a
    // vowel written in kana meets the reading of the kanji after it: "ため息"
    // is "ため" and "いき".
    void longVowelsOfNoun(QList<KanaMora> &p) const
    {
        for (qsizetype i = 1; i < p.size(); ++i) {
            const QString v = vowelOf(p[i - 1].mora);
            const bool intoKanji = isKana(text_.at(p[i - 1].from)) && !isKana(text_.at(p[i].from));
            if (((p[i].mora == u"い" && v == u"え") || (p[i].mora == u"う" && v == u"お")) && !intoKanji
                && !typedTeIru(p, i))
                p[i].mora = QStringLiteral("ー");
        }
    }

    // "ている", "ていた", "ています" typed in kana: the analyser sometimes
    // takes a whole phrase for one unknown noun, and this "い" is a verb.
    bool typedTeIru(const QList<KanaMora> &p, qsizetype i) const
    {
        return p[i - 1].mora == u"て" && isKana(text_.at(p[i].from)) && i + 1 < p.size()
            && QStringView(u"るたまなてくられ").contains(p[i + 1].mora.front());
    }

    void append(const QList<KanaMora> &morae)
    {
        for (const KanaMora &m : morae)
            out_.append({m.mora == u"っ" ? SpokenUnit::Hold : SpokenUnit::Mora, m.mora, m.from, m.length});
    }

    // "ー" as the sound it lengthens, across words ("しょ|ー|と"), after "ん"
    // too; dropped where nothing sounds before it. "を" is said "お"; a typed
    // "う" after "ょ" or "ゅ" is a long vowel; "は" before "、" is a particle.
    void sayLongMarks()
    {
        for (qsizetype i = 0; i < out_.size(); ++i) {
            SpokenUnit &u = out_[i];
            if (u.kind != SpokenUnit::Mora)
                continue;
            if (u.text == u"を")
                u.text = QStringLiteral("お");
            if (u.text == u"う" && isKana(text_.at(u.from)) && i > 0 && out_[i - 1].kind == SpokenUnit::Mora
                && out_[i - 1].from + out_[i - 1].length == u.from && QStringView(u"ゅょ").contains(out_[i - 1].text.back()))
                u.text = QStringLiteral("ー"); // "きょう", "じゅう": long wherever the analyser cut the words
            if (u.text == u"は" && i > 0 && out_[i - 1].kind == SpokenUnit::Mora && i + 1 < out_.size()
                && out_[i + 1].kind == SpokenUnit::ShortPause && QStringView(u"、，,").contains(text_.at(out_[i + 1].from)))
                u.text = QStringLiteral("わ"); // "かれは、": the topic, even where the analyser lost the word
            if (u.text != u"ー")
                continue;
            const QString sound = i > 0 && out_[i - 1].kind == SpokenUnit::Mora ? lengthened(out_[i - 1].text) : QString();
            if (sound.isEmpty())
                out_.removeAt(i--);
            else
                u.text = sound;
        }
    }

    QList<Token> tokens(qsizetype from, qsizetype length) const
    {
        QList<Token> out;
        for (qsizetype i = from; i < from + length;) {
            if (const qsizetype m = moraStarting_[i]; m >= 0) {
                const KanaMora &k = textMorae_[m];
                out.append({k.mora, k.from, k.length});
                i = k.from + k.length;
                continue;
            }
            if (isKana(text_.at(i))) { // the rest of a mora begun before the word
                ++i;
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
    QList<KanaMora> textMorae_;
    QList<qsizetype> moraStarting_; // for each character, the text mora it begins, or -1
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

// Words in which "えい" and "おう" are long vowels: nouns and the like, and
// words the dictionary does not know, not loan words in katakana ("エイズ").
// Not verbs and adjectives, whose "う" and "い" are endings ("おもう").
bool holdsLongVowels(const Morpheme &w)
{
    static const QStringView kParts[] = {u"名詞", u"副詞", u"連体詞", u"接頭詞", u"感動詞"};
    const bool unknown = w.pronunciation().isEmpty() && w.pos() != u"記号";
    return !isKatakana(w.surface) && (unknown || std::find(std::begin(kParts), std::end(kParts), w.pos()) != std::end(kParts));
}

// The pronunciation of words[i] in hiragana, where the dictionary's field
// is not what is said:
//   "言う" is said "ゆう" ("と言うこと" -> "とゆうこと");
//   the volitional "う" after an o-sound lengthens it ("しましょう" -> "しましょお");
//   single words by the table of WordReadings.cpp ("日本" -> "にほん").
QString pronunciationOf(const QList<Morpheme> &words, qsizetype i)
{
    const Morpheme &w = words[i];
    QString pron = toHiragana(w.pronunciation());
    if ((w.feature(6) == u"言う" || w.feature(6) == u"いう") && pron == u"いう")
        return QStringLiteral("ゆう");
    if (w.pos() == u"助動詞" && w.surface == u"う" && i > 0 && words[i - 1].end() == w.from
        && vowelOf(toHiragana(words[i - 1].pronunciation()).right(1)) == u"お")
        return QStringLiteral("お");
    const Morpheme *next = i + 1 < words.size() && words[i + 1].from == w.end() ? &words[i + 1] : nullptr;
    const QString own = wordReading(w.surface, pron, next ? toHiragana(next->pronunciation()) : QString(),
                                    next && next->pos1() == u"接尾");
    return own.isEmpty() ? pron : own;
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
        const NumberSink sink{[&](qsizetype from, qsizetype length, const QString &reading) {
                                  b.word({from, length, reading, false});
                              },
                              [&](qsizetype from, qsizetype length) { b.pause(SpokenUnit::ShortPause, from, length); }};
        if (const qsizetype used = numberWords(words, i, afterMonth, sink, &endsInMonth)) {
            at = words[i + used - 1].end();
            i += used;
            month = endsInMonth;
            continue;
        }
        month = false;
        if (const SpanMatch span = spanReading(words, i); span.words > 0) {
            at = words[i + span.words - 1].end();
            b.word({w.from, at - w.from, span.reading, true});
            i += span.words;
            continue;
        }
        const QString pron = pronunciationOf(words, i);
        const bool sounds = std::any_of(pron.cbegin(), pron.cend(), [](QChar c) { return isKana(c); });
        if (w.pos() != u"記号" && std::all_of(w.surface.cbegin(), w.surface.cend(), isKana)) {
            b.kana(w.from, w.length, pron, holdsLongVowels(w));
        } else if (w.pos() == u"記号" || !sounds) {
            // Unknown words are read by their kana, else by their characters.
            qsizetype j = w.from;
            while (j < w.end()) {
                qsizetype k = j;
                while (k < w.end() && isKana(text.at(k)))
                    ++k;
                if (k > j && w.pos() != u"記号") {
                    b.kana(j, k - j, {}, holdsLongVowels(w));
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
