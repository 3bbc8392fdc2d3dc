#include "accent/AccentRules.h"

#include "reading/Morae.h"

#include <QStringView>

#include <array>
#include <optional>
#include <utility>

namespace kel {
namespace {

// "" in a pattern matches anything; "a|b" either.
bool matches(QStringView pattern, const QString &value)
{
    if (pattern.isEmpty())
        return true;
    for (QStringView choice : pattern.split(u'|'))
        if (choice == value)
            return true;
    return false;
}

// Whether a word joins the phrase before it: the first row that matches
// the pair decides.
struct JoinRow {
    QStringView previousPos, previousPos1;
    QStringView pos, pos1, base;
    bool join;
    QStringView formPrefix = {};
    QStringView previousBase = {};
};

constexpr std::array kJoinRows = {
    // A mark is a pause or a sign: nothing is said across it.
    JoinRow{u"記号", u"", u"", u"", u"", false},
    JoinRow{u"", u"", u"記号", u"", u"", false},
    // "好きで | ない", "来る | だろう", "行く | でしょう" are said apart.
    JoinRow{u"助詞|助動詞", u"", u"助動詞", u"", u"ない", false},
    JoinRow{u"", u"", u"助動詞", u"", u"だ|です", false, u"未然"},
    // "悪かった | けれども": けれども is said as a word of its own ("けど" leans).
    JoinRow{u"", u"", u"助詞", u"接続助詞", u"けれども", false},
    // Particles and auxiliaries lean on the word before.
    JoinRow{u"", u"", u"助詞", u"", u"", true},
    JoinRow{u"", u"", u"助動詞", u"", u"", true},
    // A prefix leans on the word after it.
    JoinRow{u"接頭詞", u"", u"", u"", u"", true},
    // Endings of verbs: the causative and passive, "ている", "てしまう".
    JoinRow{u"", u"", u"動詞", u"接尾", u"", true},
    JoinRow{u"", u"", u"動詞", u"非自立", u"いる", true},
    JoinRow{u"", u"", u"動詞", u"非自立", u"しまう", true},
    JoinRow{u"", u"", u"動詞", u"非自立", u"ちゃう", true},
    // "知りすぎる", "溺れかかる": a verb's stem and the verb after it are
    // one compound verb.
    JoinRow{u"動詞", u"", u"動詞", u"非自立", u"", true},
    // "消しなさい", "お伝えください" (after "て" a request begins a phrase).
    JoinRow{u"動詞", u"", u"動詞", u"", u"くださる|なさる", true},
    JoinRow{u"", u"", u"形容詞", u"接尾", u"", true},
    // "行けば | いい", "来ても | よい": said apart after a particle.
    JoinRow{u"助詞", u"", u"形容詞", u"非自立", u"", false},
    JoinRow{u"", u"", u"形容詞", u"非自立", u"", true},
    // "すべて | 弁護士", "午後 | 4時": a noun said as an adverb stands
    // before the noun after it, though a suffix still leans on it.
    JoinRow{u"名詞", u"副詞可能", u"名詞", u"接尾", u"", true},
    JoinRow{u"名詞", u"副詞可能", u"名詞", u"", u"", false},
    // "行くの", "するん": the nominal の and ん lean; "こと", "とき" begin a phrase.
    JoinRow{u"", u"", u"名詞", u"非自立", u"の", true},
    JoinRow{u"", u"", u"名詞", u"非自立", u"ん", true},
    JoinRow{u"", u"", u"名詞", u"非自立", u"よう", true},
    // "することが", "見たとき", "乗るため": these lean on a verb.
    JoinRow{u"動詞|助動詞|形容詞", u"", u"名詞", u"非自立", u"こと|とき|ため", true},
    JoinRow{u"助詞", u"連体化", u"名詞", u"非自立", u"とき|ため", true},
    JoinRow{u"", u"", u"名詞", u"非自立", u"", false},
    // "必要があ'る", "人気があって": ある leans on が after a flat phrase
    // (after an accented one it begins a phrase), but "ありま'す" does not.
    JoinRow{u"助詞", u"格助詞", u"動詞", u"自立", u"ある", false, u"連用形"},
    JoinRow{u"助詞", u"格助詞", u"動詞", u"自立", u"ある", true},
    // "開けっ放しにする", "必要とする": する leans on に and と after a flat
    // phrase (after an accented one it begins a phrase, as after を).
    JoinRow{u"助詞", u"格助詞", u"動詞", u"自立", u"する", true, u"", u"に|と"},
    // "という" is said as one with the word before it.
    JoinRow{u"助詞", u"格助詞", u"動詞", u"", u"いう", true},
    // Suffixes and counters belong to the word before.
    JoinRow{u"", u"", u"名詞", u"接尾", u"", true},
    // "勉強する": a verbal noun and する are one word as said.
    JoinRow{u"名詞", u"サ変接続", u"動詞", u"", u"する", true},
    // A noun run is a compound.
    JoinRow{u"名詞", u"代名詞", u"名詞", u"", u"", false},
    JoinRow{u"名詞", u"", u"名詞", u"代名詞", u"", false},
    JoinRow{u"名詞", u"", u"名詞", u"", u"", true},
};

// The ways a phrase's nucleus changes when a word joins it, from the
// phrase so far (its morae and nucleus) and the word's own nucleus or the
// rule's shift.
enum class Combine {
    KeepFormer,      // the phrase keeps its nucleus
    KeepLatter,      // the nucleus of the word that joins, counted from the phrase's start
    FirstOfLatter,   // on the first mora of the word that joins
    LastOfFormer,    // on the last mora before the word that joins
    Flat,            // the whole phrase flat
    ShiftIfFlat,     // a flat phrase takes the word's nucleus, an accented one keeps its own
    ShiftIfAccented, // an accented phrase takes the word's nucleus, a flat one stays flat
    Shift,           // the word's nucleus, whatever the phrase had
    ShiftEither,     // a flat phrase shifted by one count, an accented one by another
};

struct CombineRow {
    QStringView code;
    Combine combine;
};

// Compound nouns (C1-C5, the rule of the latter word) and words that lean
// on the one before (F1-F5, chosen by that word's part of speech).
constexpr std::array kCombineRows = {
    CombineRow{u"C1", Combine::KeepLatter},
    CombineRow{u"C2", Combine::FirstOfLatter},
    CombineRow{u"C3", Combine::LastOfFormer},
    CombineRow{u"C4", Combine::Flat},
    CombineRow{u"C5", Combine::KeepFormer},
    CombineRow{u"F1", Combine::KeepFormer},
    CombineRow{u"F2", Combine::ShiftIfFlat},
    CombineRow{u"F3", Combine::ShiftIfAccented},
    CombineRow{u"F4", Combine::Shift},
    CombineRow{u"F5", Combine::Flat},
    // Ours, not the dictionary's: "F2F3@1,0" shifts a flat phrase as F2@1
    // would and an accented one as F3@0.
    CombineRow{u"F2F3", Combine::ShiftEither},
};

// Where the dictionary gives one rule for all forms of a word but speech
// has another for some: the rule to use instead.
struct RuleOverride {
    QStringView pos, base, formPrefix;
    QStringView rule;
    int nucleus = -1; // the word's own nucleus instead of the dictionary's
};

constexpr std::array kRuleOverrides = {
    // A flat verb puts its nucleus on the "な" of "なくて", "なかった",
    // "なければ" ("いかな'くて"), though not of "ない" ("いかない").
    RuleOverride{u"助動詞", u"ない", u"連用", u"動詞%F2F3@1,0/形容詞%F2@1"},
    RuleOverride{u"助動詞", u"ない", u"仮定", u"動詞%F2F3@1,0/形容詞%F2@1"},
    // "である" after a flat noun falls after its "あ".
    RuleOverride{u"助動詞", u"ある", u"", u"助動詞%F2@1"},
    // "必要があ'る": its own nucleus after a flat phrase.
    RuleOverride{u"動詞", u"ある", u"", u"助詞%F2"},
    // "という" leans on the "と" before it and brings no nucleus.
    RuleOverride{u"動詞", u"いう", u"", u"助詞%F1"},
    // "実行するこ'とは", "乗るため'に": a flat verb gives way to the noun's
    // own nucleus, an accented one keeps its own.
    RuleOverride{u"名詞", u"こと|とき|ため", u"", u"動詞%F2/助動詞%F2/形容詞%F2"},
    // "使い果た'してしまった", "な'ってしまう": after an accented verb
    // しまう keeps the verb's nucleus; after a flat one all stays flat.
    RuleOverride{u"動詞", u"しまう|ちゃう", u"", u"助詞%F1/動詞%F1"},
    // "消しなさ'い", "お伝えくださ'い": the request's own nucleus, always.
    RuleOverride{u"動詞", u"くださる|なさる", u"", u"F4"},
    // "だろ'う", "でしょ'う" begin a phrase of their own, falling on their second mora.
    RuleOverride{u"助動詞", u"だ|です", u"未然", u"", 2},
    // "不況だ'った", "鳥だ'ったら": after a flat noun "だった" falls on its "だ".
    RuleOverride{u"助動詞", u"だ", u"連用タ", u"名詞%F2@1"},
    // "ありませ'ん", "しましょ'う": the nucleus one mora further on.
    RuleOverride{u"助動詞", u"ます", u"未然", u"動詞%F4@2/助詞%F2@2"},
    // "落ちそ'うな", "降るそ'うだ": on the "そ".
    RuleOverride{u"名詞", u"そう", u"", u"F4@1"},
    // "鳥のよ'うに", "同じよ'うに", as after a verb.
    RuleOverride{u"名詞", u"よう", u"", u"動詞%F2@1/形容詞%F2@1/助詞%F2@1/連体詞%F2@1/助動詞%F2@1"},
    // "効果的", "神秘的": a compound in 的 is flat.
    RuleOverride{u"名詞", u"的", u"", u"C4"},
    // "問題な'ので", "夢中な'んだ": after a flat noun the な before the
    // nominal の and ん takes the fall, as a flat verb's last mora does.
    RuleOverride{u"助詞", u"ので|のに", u"", u"助動詞,だ%F2@0/動詞%F2@0/形容詞%F2@-1"},
    RuleOverride{u"名詞", u"の|ん", u"", u"助動詞,だ%F2@0/動詞%F2@0/形容詞%F2@-1"},
    // "踏む'と", "する'と", "時間だ'と": a flat verb or noun falls on the
    // last mora before と; "しな'いと", "知りた'いと" on the mora before.
    RuleOverride{u"助詞", u"と", u"", u"形容詞%F1/動詞%F2@0/助動詞,ない%F2@-1/助動詞,たい%F2@-1/助動詞%F2@0"},
    // "触って'は", "言って'も", "性質に'は": after "て" or a case particle a
    // flat phrase falls on that particle.
    RuleOverride{u"助詞", u"は|も", u"", u"名詞%F1/動詞%F2@0/形容詞%F2@0/助詞,接続助詞%F2@0/助詞,格助詞%F2@0"},
};

// "ご両親" (ごりょ'うしん): a prefixed noun keeps its own nucleus, not the
// rule it compounds with another noun by.
constexpr Combine kAfterPrefix = Combine::KeepLatter;

// A rule as read: how to combine and by how much the nucleus shifts
// (after an accented phrase by `accentedShift`, where the rule has two).
struct Rule {
    Combine combine;
    int shift = 0, accentedShift = 0;
};

int apply(const Rule &rule, int morae, int nucleus)
{
    const int shift = rule.shift;
    switch (rule.combine) {
    case Combine::KeepFormer: return nucleus;
    case Combine::KeepLatter: return shift == 0 ? 0 : morae + shift;
    case Combine::FirstOfLatter: return morae + 1;
    case Combine::LastOfFormer: return morae;
    case Combine::Flat: return 0;
    case Combine::ShiftIfFlat: return nucleus == 0 ? morae + shift : nucleus;
    case Combine::ShiftIfAccented: return nucleus != 0 ? morae + shift : 0;
    case Combine::Shift: return morae + shift;
    case Combine::ShiftEither: return morae + (nucleus == 0 ? shift : rule.accentedShift);
    }
    return nucleus;
}

// The rule `code` ("C3", "F2@1", "F2F3@1,0") as a way to combine and the
// word's shift ("@1"; the word's own nucleus when the rule names none).
std::optional<Rule> parseRule(QStringView code, int ownNucleus)
{
    const qsizetype at = code.indexOf(u'@');
    const QStringView name = at < 0 ? code : code.left(at);
    for (const CombineRow &row : kCombineRows)
        if (row.code == name) {
            if (at < 0)
                return Rule{row.combine, ownNucleus, ownNucleus};
            const QList<QStringView> shifts = code.mid(at + 1).split(u',');
            bool ok = true, accentedOk = true;
            const int shift = shifts.first().toInt(&ok);
            const int accentedShift = shifts.size() > 1 ? shifts[1].toInt(&accentedOk) : shift;
            if (ok && accentedOk)
                return Rule{row.combine, shift, accentedShift};
        }
    return std::nullopt;
}

// The part of a leaning word's rule that applies after `previous`, named
// by its part of speech or, more narrowly, with its first refinement or
// its base form: "名詞%F1/動詞%F2@0" after a verb -> "F2@0"; the first
// choice that names `previous` applies.
QStringView ruleAfter(QStringView rule, const AccentWord &previous)
{
    const QString narrow = previous.pos + u',' + previous.pos1;
    const QString word = previous.pos + u',' + previous.base;
    for (QStringView choice : rule.split(u'/')) {
        const qsizetype percent = choice.indexOf(u'%');
        const QStringView names = choice.left(percent);
        if (percent > 0 && (names == previous.pos || names == narrow || names == word))
            return choice.mid(percent + 1);
    }
    return {};
}

// Words said as a phrase of their own after an accented phrase, though
// they lean on a flat one.
struct ApartAfterAccent {
    QStringView pos, pos1, base;
    QStringView previousPos1 = {};
};

constexpr std::array kApartAfterAccent = {
    // "出る | ときに", "たてる | ことと"; "する'ときに".
    ApartAfterAccent{u"名詞", u"非自立", u"こと|とき|ため"},
    // "用意 | した", "予約 | する"; "勉強した".
    ApartAfterAccent{u"動詞", u"", u"する"},
    // "真実で | あ'る", "種族で | あ'る"; "根本であ'る".
    ApartAfterAccent{u"助動詞", u"", u"ある"},
    // "事が | あ'る"; "必要があ'る".
    ApartAfterAccent{u"動詞", u"自立", u"ある", u"格助詞"},
    // "いつもの | よ'うに"; "鳥のよ'うに".
    ApartAfterAccent{u"名詞", u"非自立", u"よう", u"連体化"},
};

bool saidApartAfterAccent(const AccentPhrase &before, const AccentWord &previous, const AccentWord &next)
{
    if (before.nucleus == 0)
        return false;
    for (const ApartAfterAccent &row : kApartAfterAccent)
        if (matches(row.pos, next.pos) && matches(row.pos1, next.pos1) && matches(row.base, next.base)
            && matches(row.previousPos1, previous.pos1))
            return true;
    return false;
}

// "何も", "誰にも", "どこにも": a phrase that begins with an interrogative
// and takes も is flat; so is "何の" (なんの).
bool isFlatInterrogative(const AccentWord &first, const AccentWord &next)
{
    if (first.pos1 != u"代名詞" || !matches(u"何|誰|どこ|いつ|なに|だれ", first.base))
        return false;
    return next.base == u"も" || (matches(u"何|なに", first.base) && next.pos1 == u"連体化");
}

// "それだけ'では", "買うだけ'の": a flat phrase ending in だけ falls on its
// last mora when a particle follows (at the end it stays flat: "それだけ").
bool fallsBeforeParticle(const AccentPhrase &phrase, const AccentWord &previous, const AccentWord &next)
{
    return phrase.nucleus == 0 && previous.base == u"だけ" && (next.pos == u"助詞" || next.pos == u"助動詞");
}

// The morae of a word written in hiragana; 0 for any other.
int kanaMorae(QStringView word)
{
    for (QChar c : word)
        if (c < u'ぁ' || c > u'ゖ')
            return 0;
    return int(splitMorae(word).size());
}

bool isVerbOrAdjective(const QString &pos)
{
    return pos == u"動詞" || pos == u"形容詞";
}

} // namespace

AccentWord accentWordFromFields(const QStringList &features, qsizetype from, qsizetype length)
{
    AccentWord w;
    w.from = from;
    w.length = length;
    w.pos = features.value(0);
    w.pos1 = features.value(1);
    w.form = features.value(5);
    w.base = features.value(6);
    const QString accent = features.value(9);
    const qsizetype slash = accent.indexOf(u'/');
    if (slash > 0) {
        w.nucleus = qMax(0, QStringView(accent).left(slash).toInt());
        w.morae = qMax(0, QStringView(accent).mid(slash + 1).toInt());
    }
    const QString rule = features.value(10);
    if (rule != u"*")
        w.rule = rule;
    for (const RuleOverride &o : kRuleOverrides)
        if (o.pos == w.pos && matches(o.base, w.base) && w.form.startsWith(o.formPrefix)) {
            if (!o.rule.isEmpty())
                w.rule = o.rule.toString();
            if (o.nucleus >= 0)
                w.nucleus = o.nucleus;
        }
    // An accented verb's nucleus does not stay on the last mora of a stem
    // that an ending follows: "食べる" is たべ'る but "食べた" た'べた.
    if (w.pos == u"動詞" && w.form.startsWith(u"連用") && w.morae > 1 && w.nucleus == w.morae)
        --w.nucleus;
    return w;
}

bool joinsPhrase(const AccentWord &previous, const AccentWord &next)
{
    if (previous.pauseAfter || previous.endsPhrase)
        return false;
    // "本 | 論文", "反 | 政府": an accented prefix of two morae is said as a
    // word of its own ("お茶", "ご両親" lean).
    if (previous.pos == u"接頭詞" && previous.morae >= 2 && previous.nucleus != 0)
        return false;
    for (const JoinRow &row : kJoinRows)
        if (matches(row.previousPos, previous.pos) && matches(row.previousPos1, previous.pos1)
            && matches(row.pos, next.pos) && matches(row.pos1, next.pos1) && matches(row.base, next.base)
            && next.form.startsWith(row.formPrefix) && matches(row.previousBase, previous.base))
            return row.join;
    return false;
}

int combinedNucleus(const AccentPhrase &phrase, const AccentWord &previous, const AccentWord &next)
{
    const int nucleus = [&] {
        // After a prefix the noun's own compound rule does not apply.
        if (previous.pos == u"接頭詞")
            return apply({kAfterPrefix, next.nucleus}, phrase.morae, phrase.nucleus);
        if (fallsBeforeParticle(phrase, previous, next))
            return phrase.morae;
        QStringView code = next.rule;
        if (code.contains(u'%'))
            code = ruleAfter(code, previous);
        if (const auto rule = parseRule(code, next.nucleus))
            return apply(*rule, phrase.morae, phrase.nucleus);
        // "溺れかか'る", "吠えまく'る": a compound verb whose latter verb the
        // dictionary leaves flat falls on the last mora but one of that
        // verb's base form.
        if (previous.pos == u"動詞" && next.pos == u"動詞" && next.pos1 == u"非自立" && next.nucleus == 0
            && !matches(u"ちゃう|じゃう", next.base) && kanaMorae(next.base) > 1)
            return phrase.morae + kanaMorae(next.base) - 1;
        // Endings of verbs and adjectives with no rule of their own: a flat
        // verb stays flat, an accented one takes the ending's nucleus.
        if (isVerbOrAdjective(next.pos) && (next.pos1 == u"接尾" || next.pos1 == u"非自立"))
            return phrase.nucleus == 0 ? 0 : next.nucleus ? phrase.morae + next.nucleus : phrase.nucleus;
        // A word the dictionary gives no rule leans without a nucleus.
        return phrase.nucleus;
    }();
    return qBound(0, nucleus, phrase.morae + next.morae);
}

// "思います" said at the end of a statement: its す loses its voice and no
// fall after ま is heard; the phrase ends as a flat one.
bool endsStatementUnheard(const AccentWord &w, bool last)
{
    return (w.pauseAfter || last) && w.pos == u"助動詞" && matches(u"ます|です", w.base) && w.form == u"基本形";
}

// Words said as a phrase of their own after an accented phrase when a
// certain word follows them.
struct ApartBefore {
    QStringView previousPos1, base; // the word and the one before it
    QStringView nextPos, nextPos1, nextBase;
};

constexpr std::array kApartBefore = {
    // "思って | いま'す", "持って | いない" ("住んでいた", "立っている" lean).
    ApartBefore{u"接続助詞", u"いる", u"助動詞", u"", u"ます|ない"},
    // "あると | いうことだ" ("偉人というものは" after a flat one).
    ApartBefore{u"格助詞", u"いう", u"名詞", u"非自立", u""},
};

bool saidApartBefore(const AccentPhrase &before, const QList<AccentWord> &words, qsizetype i)
{
    if (before.nucleus == 0 || i + 1 >= words.size())
        return false;
    const AccentWord &next = words[i + 1];
    for (const ApartBefore &row : kApartBefore)
        if (words[i].pos == u"動詞" && matches(row.base, words[i].base) && matches(row.previousPos1, words[i - 1].pos1)
            && matches(row.nextPos, next.pos) && matches(row.nextPos1, next.pos1) && matches(row.nextBase, next.base))
            return true;
    return false;
}

QList<AccentPhrase> accentPhrases(const QList<AccentWord> &words)
{
    QList<AccentPhrase> out;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const AccentWord &w = words[i];
        if (i > 0 && !out.isEmpty() && joinsPhrase(words[i - 1], w) && !saidApartAfterAccent(out.last(), words[i - 1], w)
            && !saidApartBefore(out.last(), words, i)) {
            AccentPhrase &p = out.last();
            p.nucleus = isFlatInterrogative(words[p.firstWord], w) ? 0 : combinedNucleus(p, words[i - 1], w);
            if (endsStatementUnheard(w, i + 1 == words.size()) && p.nucleus == p.morae + 1)
                p.nucleus = 0;
            p.morae += w.morae;
            ++p.words;
            p.pauseAfter = w.pauseAfter;
            continue;
        }
        out.append({i, 1, w.morae, qMin(w.nucleus, w.morae), w.pauseAfter});
    }
    return out;
}

QList<AccentPhrase> wordAccentsAlone(const QList<AccentWord> &words)
{
    QList<AccentPhrase> out;
    for (qsizetype i = 0; i < words.size(); ++i)
        out.append({i, 1, words[i].morae, qMin(words[i].nucleus, words[i].morae), words[i].pauseAfter});
    return out;
}

bool isHigh(int nucleus, int index)
{
    if (nucleus == 1)
        return index == 0;
    if (index == 0)
        return false;
    return nucleus == 0 || index < nucleus;
}

} // namespace kel
