#include "reading/Numbers.h"

#include <QStringList>

namespace kel {
namespace {

constexpr const char16_t *kDigit[] = {u"ぜろ", u"いち", u"に", u"さん", u"よん",
                                      u"ご", u"ろく", u"なな", u"はち", u"きゅー"};

// A counter: its own reading, and the readings that replace a number's
// last digit and the counter together ("1:いっぽん" after any number ending
// in 1, "10:じゅっぽん" after one ending in a bare ten) or a whole number
// ("=1:ひとり": the number 1 only).
struct Counter {
    const char16_t *counter;
    const char16_t *reading;
    const char16_t *forms;
};

constexpr Counter kCounters[] = {
    {u"人", u"にん", u"=1:ひとり =2:ふたり 4:よにん"},
    // Past ten, a 7 or 9 before 日 is しち or く as days are said
    // ("17日" じゅうしちにち, "29日" にじゅうくにち), not なな or きゅう.
    {u"日", u"にち", u"=2:ふつか =3:みっか =4:よっか =5:いつか =6:むいか =7:なのか =8:ようか =9:ここのか "
                    u"=10:とおか =14:じゅーよっか =20:はつか =24:にじゅーよっか 7:しちにち 9:くにち"},
    {u"月", u"がつ", u"=4:しがつ =7:しちがつ =9:くがつ"},
    {u"ヶ月", u"かげつ", u"1:いっかげつ 6:ろっかげつ 8:はっかげつ 10:じゅっかげつ"},
    {u"か月", u"かげつ", u"1:いっかげつ 6:ろっかげつ 8:はっかげつ 10:じゅっかげつ"},
    {u"カ月", u"かげつ", u"1:いっかげつ 6:ろっかげつ 8:はっかげつ 10:じゅっかげつ"},
    {u"時", u"じ", u"4:よじ 7:しちじ 9:くじ"},
    {u"日間", u"にちかん", u"=1:いちにちかん =2:ふつかかん =3:みっかかん =4:よっかかん =5:いつかかん =6:むいかかん "
                          u"=7:なのかかん =8:ようかかん =9:ここのかかん =10:とおかかん =14:じゅーよっかかん =20:はつかかん "
                          u"=24:にじゅーよっかかん 7:しちにちかん 9:くにちかん"},
    {u"時間", u"じかん", u"4:よじかん 9:くじかん"},
    {u"分間", u"ふんかん", u"1:いっぷんかん 3:さんぷんかん 4:よんぷんかん 6:ろっぷんかん 8:はっぷんかん 10:じゅっぷんかん"},
    {u"分", u"ふん", u"1:いっぷん 3:さんぷん 4:よんぷん 6:ろっぷん 8:はっぷん 10:じゅっぷん"},
    {u"秒", u"びょー", u""},
    {u"円", u"えん", u"4:よえん"},
    {u"年", u"ねん", u"4:よねん"},
    {u"歳", u"さい", u"=20:はたち 1:いっさい 8:はっさい 10:じゅっさい"},
    {u"才", u"さい", u"1:いっさい 8:はっさい 10:じゅっさい"},
    {u"個", u"こ", u"1:いっこ 6:ろっこ 8:はっこ 10:じゅっこ"},
    {u"本", u"ほん", u"1:いっぽん 3:さんぼん 6:ろっぽん 8:はっぽん 10:じゅっぽん"},
    {u"回", u"かい", u"1:いっかい 6:ろっかい 8:はっかい 10:じゅっかい"},
    {u"階", u"かい", u"1:いっかい 3:さんがい 6:ろっかい 8:はっかい 10:じゅっかい"},
    {u"匹", u"ひき", u"1:いっぴき 3:さんびき 6:ろっぴき 8:はっぴき 10:じゅっぴき"},
    {u"杯", u"はい", u"1:いっぱい 3:さんばい 6:ろっぱい 8:はっぱい 10:じゅっぱい"},
    {u"冊", u"さつ", u"1:いっさつ 8:はっさつ 10:じゅっさつ"},
    {u"件", u"けん", u"1:いっけん 6:ろっけん 8:はっけん 10:じゅっけん"},
    {u"軒", u"けん", u"1:いっけん 3:さんげん 6:ろっけん 8:はっけん 10:じゅっけん"},
    {u"足", u"そく", u"1:いっそく 3:さんぞく 8:はっそく 10:じゅっそく"},
    {u"週", u"しゅー", u"1:いっしゅー 8:はっしゅー 10:じゅっしゅー"},
    {u"週間", u"しゅーかん", u"1:いっしゅーかん 8:はっしゅーかん 10:じゅっしゅーかん"},
    {u"泊", u"はく", u"1:いっぱく 3:さんぱく 6:ろっぱく 8:はっぱく 10:じゅっぱく"},
    {u"つ", u"つ", u"=1:ひとつ =2:ふたつ =3:みっつ =4:よっつ =5:いつつ =6:むっつ =7:ななつ =8:やっつ "
                  u"=9:ここのつ"},
    {u"枚", u"まい", u""},
    {u"台", u"だい", u""},
    {u"番", u"ばん", u""},
    {u"晩", u"ばん", u"=1:ひとばん =2:ふたばん"},
    {u"度", u"ど", u""},
    {u"倍", u"ばい", u""},
    {u"号", u"ごー", u""},
    {u"名", u"めい", u""},
    {u"錠", u"じょー", u""},
    {u"頭", u"とー", u"1:いっとー 8:はっとー 10:じゅっとー"},
    {u"%", u"ぱーせんと", u"1:いっぱーせんと 6:ろっぱーせんと 8:はっぱーせんと 10:じゅっぱーせんと"},
    {u"センチ", u"せんち", u"1:いっせんち 8:はっせんち 10:じゅっせんち"},
    // Units as written after a number (full-width forms are folded first).
    {u"ml", u"みりりっとる", u""}, {u"mL", u"みりりっとる", u""}, {u"l", u"りっとる", u""}, {u"L", u"りっとる", u""},
    {u"kg", u"きろぐらむ", u""}, {u"g", u"ぐらむ", u""}, {u"km", u"きろめーとる", u""}, {u"m", u"めーとる", u""},
    {u"cm", u"せんちめーとる", u""}, {u"mm", u"みりめーとる", u""}, {u"°C", u"ど", u""}, {u"℃", u"ど", u""},
    {u"パーセント", u"ぱーせんと", u"1:いっぱーせんと 6:ろっぱーせんと 8:はっぱーせんと 10:じゅっぱーせんと"},
    {u"％", u"ぱーせんと", u"1:いっぱーせんと 6:ろっぱーせんと 8:はっぱーせんと 10:じゅっぱーせんと"},
};

// 0..9999, nothing for 0. `beforeUnit`: a bare 1000 before 万 and above is
// "いっせん".
QString groupReading(int n, bool beforeUnit)
{
    static const char16_t *thousands[] = {u"", u"せん", u"にせん", u"さんぜん", u"よんせん",
                                          u"ごせん", u"ろくせん", u"ななせん", u"はっせん", u"きゅーせん"};
    static const char16_t *hundreds[] = {u"", u"ひゃく", u"にひゃく", u"さんびゃく", u"よんひゃく",
                                         u"ごひゃく", u"ろっぴゃく", u"ななひゃく", u"はっぴゃく", u"きゅーひゃく"};
    QString out;
    if (n / 1000)
        out += (n / 1000 == 1 && beforeUnit && n % 1000 == 0) ? QStringLiteral("いっせん")
                                                              : QString::fromUtf16(thousands[n / 1000]);
    out += QString::fromUtf16(hundreds[n / 100 % 10]);
    if (const int tens = n / 10 % 10)
        out += (tens == 1 ? QString() : QString::fromUtf16(kDigit[tens])) + QStringLiteral("じゅー");
    if (n % 10)
        out += QString::fromUtf16(kDigit[n % 10]);
    return out;
}

QString digitByDigit(const QString &digits)
{
    QString out;
    for (QChar c : digits)
        out += QString::fromUtf16(kDigit[c.digitValue()]);
    return out;
}

// 10^4 .. 10^16 with the forms of a bare 1, 6, 8 and 10 before them.
struct BigUnit {
    const char16_t *name;
    const char16_t *forms; // "1:いっ" : a group of exactly 1 takes this before the unit
};
constexpr BigUnit kUnits[] = {
    {u"まん", u""}, {u"おく", u""}, {u"ちょー", u"1:いっ 8:はっ 10:じゅっ"}, {u"けい", u"1:いっ 6:ろっ 8:はっ 10:じゅっ"}};

// The value of "N:reading" in `forms` for `key` ("1", "=1"), or "".
QString formFor(QStringView forms, const QString &key)
{
    for (QStringView item : forms.split(u' ', Qt::SkipEmptyParts)) {
        const qsizetype colon = item.indexOf(u':');
        if (colon > 0 && item.left(colon) == key)
            return item.mid(colon + 1).toString();
    }
    return {};
}

const Counter *counterFor(const QString &counter)
{
    for (const Counter &c : kCounters)
        if (counter == QStringView(c.counter))
            return &c;
    return nullptr;
}

} // namespace

QString numberDigits(QStringView text)
{
    if (text.isEmpty())
        return {};
    static const QStringView kanjiDigits(u"〇一二三四五六七八九");
    bool kanjiPlaces = false;
    QString plain;
    for (QChar c : text) {
        if (c.isDigit() && c.digitValue() >= 0)
            plain += QChar(u'0' + c.digitValue());
        else if (kanjiDigits.contains(c))
            plain += QChar(char16_t(u'0' + kanjiDigits.indexOf(c)));
        else if (QStringView(u"十百千万億兆").contains(c))
            kanjiPlaces = true;
        else
            return {};
    }
    if (!kanjiPlaces)
        return plain;
    // Kanji with places: 三百五十 -> 350, 二万五千 -> 25000.
    quint64 total = 0, section = 0, digit = 0;
    bool haveDigit = false;
    for (QChar c : text) {
        const qsizetype d = c.isDigit() && c.digitValue() >= 0 ? c.digitValue() : kanjiDigits.indexOf(c);
        if (d >= 0) {
            digit = digit * 10 + quint64(d);
            haveDigit = true;
            continue;
        }
        const qsizetype small = QStringView(u"十百千").indexOf(c);
        if (small >= 0) {
            section += (haveDigit ? digit : 1) * (small == 0 ? 10 : small == 1 ? 100 : 1000);
        } else {
            const qsizetype big = QStringView(u"万億兆").indexOf(c);
            if (big < 0)
                return {};
            const quint64 count = section + digit;
            total += (count ? count : 1) * (big == 0 ? 10000ULL : big == 1 ? 100000000ULL : 1000000000000ULL);
            section = 0;
        }
        digit = 0;
        haveDigit = false;
    }
    return QString::number(total + section + digit);
}

QString numberReading(const QString &digits)
{
    if (digits.isEmpty())
        return {};
    if (digits == u"0")
        return QString::fromUtf16(kDigit[0]);
    if (digits.size() > 20 || digits.startsWith(u'0'))
        return digitByDigit(digits);
    QString out;
    const qsizetype groups = (digits.size() + 3) / 4;
    for (qsizetype g = groups - 1; g >= 0; --g) {
        const qsizetype end = digits.size() - 4 * g, begin = std::max<qsizetype>(0, end - 4);
        const int n = digits.mid(begin, end - begin).toInt();
        if (n == 0)
            continue;
        if (g == 0) {
            out += groupReading(n, false);
            continue;
        }
        const BigUnit &unit = kUnits[g - 1];
        const QString form = formFor(unit.forms, QString::number(n));
        out += (form.isEmpty() ? groupReading(n, true) : form) + QString::fromUtf16(unit.name);
    }
    return out;
}

QString counterOnly(const QString &counter)
{
    const Counter *c = counterFor(counter);
    return c ? QString::fromUtf16(c->reading) : QString();
}

std::optional<QString> counterReading(const QString &digits, const QString &counter, bool afterMonth)
{
    const Counter *c = counterFor(counter);
    if (!c || digits.isEmpty())
        return std::nullopt;
    const QString plain = numberReading(digits) + QString::fromUtf16(c->reading);
    if (digits.size() > 20 || digits.startsWith(u'0'))
        return plain;
    if (counter == u"日" && digits == u"1")
        return afterMonth ? QStringLiteral("ついたち") : QStringLiteral("いちにち");
    if (const QString whole = formFor(c->forms, QLatin1Char('=') + digits); !whole.isEmpty())
        return whole;
    // The last digit, or a last ten ("20" -> "にじゅっぽん"), takes the
    // counter's sound change; the places before it read as usual.
    const int last = digits.back().digitValue();
    const int tens = digits.size() >= 2 ? digits.at(digits.size() - 2).digitValue() : 0;
    const bool ten = last == 0 && tens > 0;
    const QString form = formFor(c->forms, ten ? QStringLiteral("10") : QString::number(last));
    if (form.isEmpty() || (last == 0 && !ten))
        return plain;
    const qsizetype kept = digits.size() - (ten ? 2 : 1);
    const QString head = digits.left(kept).toULongLong() ? numberReading(digits.left(kept) + QString(digits.size() - kept, u'0')) : QString();
    return head + (ten && tens > 1 ? QString::fromUtf16(kDigit[tens]) : QString()) + form;
}

} // namespace kel
