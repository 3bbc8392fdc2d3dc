#include "speech/SoundSetTable.h"

#include <iterator>
#include <string_view>

// What the Japanese voice of espeak-ng is asked to say for each character.
// Where the character itself is not given, the voice gets it wrong: it says
// nothing for "っ" and "。", switches to English for "ぁ" and "ー", reads "ゃ"
// as a plain vowel and spells Latin letters in English. A reading is in
// hiragana; a space inside one makes the voice pause like between two words.

namespace kel {

namespace {

// Hiragana read as written, and the small kana named the way a Japanese
// speaker spells them ("ぁ": "ちいさい あ"). Katakana lie 0x60 above their
// hiragana and are read like them.
constexpr char16_t kPlainKana[] = u"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん"
                                  u"がぎぐげござじずぜぞだぢづでどばびぶべぼぱぴぷぺぽ";
constexpr char16_t kSmallKana[] = u"ぁぃぅぇぉっゃゅょ";
constexpr char16_t kSmallNamed[] = u"あいうえおつやゆよ";
constexpr char16_t kKatakanaShift = 0x60;

struct Row {
    const char16_t *character;
    const char16_t *reading;
};

constexpr Row kBeforeLetters[] = {
    // Punctuation of the kana boards ("。" is on the letter board too).
    {u"。", u"まる"}, {u"、", u"てん"}, {u"ー", u"のばす"}, {u"？", u"はてな"},
    // Digits in Japanese.
    {u"1", u"いち"}, {u"2", u"に"}, {u"3", u"さん"}, {u"4", u"よん"}, {u"5", u"ご"},
    {u"6", u"ろく"}, {u"7", u"なな"}, {u"8", u"はち"}, {u"9", u"きゅう"}, {u"0", u"ぜろ"},
};

// Capital letters in Japanese; a small letter sounds like its capital.
// "W" is "だぶる ゆー", not "だぶりゅー": this voice garbles りゅ into "ryau".
constexpr Row kCapitals[] = {
    {u"A", u"えー"}, {u"B", u"びー"}, {u"C", u"しー"}, {u"D", u"でぃー"}, {u"E", u"いー"},
    {u"F", u"えふ"}, {u"G", u"じー"}, {u"H", u"えいち"}, {u"I", u"あい"}, {u"J", u"じぇー"},
    {u"K", u"けー"}, {u"L", u"える"}, {u"M", u"えむ"}, {u"N", u"えぬ"}, {u"O", u"おー"},
    {u"P", u"ぴー"}, {u"Q", u"きゅー"}, {u"R", u"あーる"}, {u"S", u"えす"}, {u"T", u"てぃー"},
    {u"U", u"ゆー"}, {u"V", u"ぶい"}, {u"W", u"だぶる ゆー"}, {u"X", u"えっくす"}, {u"Y", u"わい"},
    {u"Z", u"ぜっと"},
};

constexpr Row kAfterLetters[] = {
    // Signs of the letter board ("/" has no file: it cannot be a file name).
    {u";", u"せみころん"}, {u",", u"かんま"}, {u".", u"ぴりおど"}, {u":", u"ころん"}, {u"%", u"ぱーせんと"},
    {u"+", u"ぷらす"}, {u"-", u"まいなす"}, {u"?", u"はてな"}, {u"@", u"あっと"}, {u"!", u"びっくり"},
    // The two faces, and the full-width space that an empty board cell enters.
    {u"(^_^)", u"えがお"}, {u"(T_T)", u"なきがお"}, {u"\u3000", u"すぺーす"},
};

QList<SoundReading> allReadings()
{
    QList<SoundReading> out;
    const auto add = [&out](const auto &rows) {
        for (const Row &r : rows)
            out.append({QString::fromUtf16(r.character), QString::fromUtf16(r.reading)});
    };
    for (const char16_t shift : {char16_t(0), kKatakanaShift}) {
        for (const char16_t kana : std::u16string_view(kPlainKana))
            out.append({QChar(char16_t(kana + shift)), QChar(kana)});
        for (size_t i = 0; i < std::size(kSmallKana) - 1; ++i)
            out.append({QChar(char16_t(kSmallKana[i] + shift)), QStringLiteral("ちいさい ") + QChar(kSmallNamed[i])});
    }
    add(kBeforeLetters);
    add(kCapitals);
    for (const Row &r : kCapitals)
        out.append({QString::fromUtf16(r.character).toLower(), QString::fromUtf16(r.reading)});
    add(kAfterLetters);
    return out;
}

} // namespace

const QList<SoundReading> &soundReadings()
{
    static const QList<SoundReading> readings = allReadings();
    return readings;
}

} // namespace kel
