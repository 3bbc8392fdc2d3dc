#include "speech/SoundSetTable.h"

// What the Japanese voice of espeak-ng is asked to say for each character.
// Where the character itself is not given, the voice gets it wrong: it says
// nothing for "っ" and "。", switches to English for "ぁ" and "ー", reads "ゃ"
// as a plain vowel and spells Latin letters in English. A reading is in
// hiragana; a space inside one makes the voice pause like between two words.

namespace kel {

namespace {

constexpr SoundReading kReadings[] = {
    // Hiragana, read as written.
    {u"あ", u"あ"}, {u"い", u"い"}, {u"う", u"う"}, {u"え", u"え"}, {u"お", u"お"},
    {u"か", u"か"}, {u"き", u"き"}, {u"く", u"く"}, {u"け", u"け"}, {u"こ", u"こ"},
    {u"さ", u"さ"}, {u"し", u"し"}, {u"す", u"す"}, {u"せ", u"せ"}, {u"そ", u"そ"},
    {u"た", u"た"}, {u"ち", u"ち"}, {u"つ", u"つ"}, {u"て", u"て"}, {u"と", u"と"},
    {u"な", u"な"}, {u"に", u"に"}, {u"ぬ", u"ぬ"}, {u"ね", u"ね"}, {u"の", u"の"},
    {u"は", u"は"}, {u"ひ", u"ひ"}, {u"ふ", u"ふ"}, {u"へ", u"へ"}, {u"ほ", u"ほ"},
    {u"ま", u"ま"}, {u"み", u"み"}, {u"む", u"む"}, {u"め", u"め"}, {u"も", u"も"},
    {u"や", u"や"}, {u"ゆ", u"ゆ"}, {u"よ", u"よ"},
    {u"ら", u"ら"}, {u"り", u"り"}, {u"る", u"る"}, {u"れ", u"れ"}, {u"ろ", u"ろ"},
    {u"わ", u"わ"}, {u"を", u"を"}, {u"ん", u"ん"},
    {u"が", u"が"}, {u"ぎ", u"ぎ"}, {u"ぐ", u"ぐ"}, {u"げ", u"げ"}, {u"ご", u"ご"},
    {u"ざ", u"ざ"}, {u"じ", u"じ"}, {u"ず", u"ず"}, {u"ぜ", u"ぜ"}, {u"ぞ", u"ぞ"},
    {u"だ", u"だ"}, {u"ぢ", u"ぢ"}, {u"づ", u"づ"}, {u"で", u"で"}, {u"ど", u"ど"},
    {u"ば", u"ば"}, {u"び", u"び"}, {u"ぶ", u"ぶ"}, {u"べ", u"べ"}, {u"ぼ", u"ぼ"},
    {u"ぱ", u"ぱ"}, {u"ぴ", u"ぴ"}, {u"ぷ", u"ぷ"}, {u"ぺ", u"ぺ"}, {u"ぽ", u"ぽ"},
    // Small kana, named the way a Japanese speaker spells them.
    {u"ぁ", u"ちいさい あ"}, {u"ぃ", u"ちいさい い"}, {u"ぅ", u"ちいさい う"}, {u"ぇ", u"ちいさい え"}, {u"ぉ", u"ちいさい お"},
    {u"っ", u"ちいさい つ"}, {u"ゃ", u"ちいさい や"}, {u"ゅ", u"ちいさい ゆ"}, {u"ょ", u"ちいさい よ"},
    // Katakana, read like their hiragana.
    {u"ア", u"あ"}, {u"イ", u"い"}, {u"ウ", u"う"}, {u"エ", u"え"}, {u"オ", u"お"},
    {u"カ", u"か"}, {u"キ", u"き"}, {u"ク", u"く"}, {u"ケ", u"け"}, {u"コ", u"こ"},
    {u"サ", u"さ"}, {u"シ", u"し"}, {u"ス", u"す"}, {u"セ", u"せ"}, {u"ソ", u"そ"},
    {u"タ", u"た"}, {u"チ", u"ち"}, {u"ツ", u"つ"}, {u"テ", u"て"}, {u"ト", u"と"},
    {u"ナ", u"な"}, {u"ニ", u"に"}, {u"ヌ", u"ぬ"}, {u"ネ", u"ね"}, {u"ノ", u"の"},
    {u"ハ", u"は"}, {u"ヒ", u"ひ"}, {u"フ", u"ふ"}, {u"ヘ", u"へ"}, {u"ホ", u"ほ"},
    {u"マ", u"ま"}, {u"ミ", u"み"}, {u"ム", u"む"}, {u"メ", u"め"}, {u"モ", u"も"},
    {u"ヤ", u"や"}, {u"ユ", u"ゆ"}, {u"ヨ", u"よ"},
    {u"ラ", u"ら"}, {u"リ", u"り"}, {u"ル", u"る"}, {u"レ", u"れ"}, {u"ロ", u"ろ"},
    {u"ワ", u"わ"}, {u"ヲ", u"を"}, {u"ン", u"ん"},
    {u"ガ", u"が"}, {u"ギ", u"ぎ"}, {u"グ", u"ぐ"}, {u"ゲ", u"げ"}, {u"ゴ", u"ご"},
    {u"ザ", u"ざ"}, {u"ジ", u"じ"}, {u"ズ", u"ず"}, {u"ゼ", u"ぜ"}, {u"ゾ", u"ぞ"},
    {u"ダ", u"だ"}, {u"ヂ", u"ぢ"}, {u"ヅ", u"づ"}, {u"デ", u"で"}, {u"ド", u"ど"},
    {u"バ", u"ば"}, {u"ビ", u"び"}, {u"ブ", u"ぶ"}, {u"ベ", u"べ"}, {u"ボ", u"ぼ"},
    {u"パ", u"ぱ"}, {u"ピ", u"ぴ"}, {u"プ", u"ぷ"}, {u"ペ", u"ぺ"}, {u"ポ", u"ぽ"},
    {u"ァ", u"ちいさい あ"}, {u"ィ", u"ちいさい い"}, {u"ゥ", u"ちいさい う"}, {u"ェ", u"ちいさい え"}, {u"ォ", u"ちいさい お"},
    {u"ッ", u"ちいさい つ"}, {u"ャ", u"ちいさい や"}, {u"ュ", u"ちいさい ゆ"}, {u"ョ", u"ちいさい よ"},
    // Punctuation of the kana boards ("。" is on the letter board too).
    {u"。", u"まる"}, {u"、", u"てん"}, {u"ー", u"のばす"}, {u"？", u"はてな"},
    // Digits and letters in Japanese; a small letter sounds like its capital.
    // "W" is "だぶる ゆー", not "だぶりゅー": this voice garbles りゅ into "ryau".
    {u"1", u"いち"}, {u"2", u"に"}, {u"3", u"さん"}, {u"4", u"よん"}, {u"5", u"ご"},
    {u"6", u"ろく"}, {u"7", u"なな"}, {u"8", u"はち"}, {u"9", u"きゅう"}, {u"0", u"ぜろ"},
    {u"A", u"えー"}, {u"B", u"びー"}, {u"C", u"しー"}, {u"D", u"でぃー"}, {u"E", u"いー"},
    {u"F", u"えふ"}, {u"G", u"じー"}, {u"H", u"えいち"}, {u"I", u"あい"}, {u"J", u"じぇー"},
    {u"K", u"けー"}, {u"L", u"える"}, {u"M", u"えむ"}, {u"N", u"えぬ"}, {u"O", u"おー"},
    {u"P", u"ぴー"}, {u"Q", u"きゅー"}, {u"R", u"あーる"}, {u"S", u"えす"}, {u"T", u"てぃー"},
    {u"U", u"ゆー"}, {u"V", u"ぶい"}, {u"W", u"だぶる ゆー"}, {u"X", u"えっくす"}, {u"Y", u"わい"},
    {u"Z", u"ぜっと"},
    {u"a", u"えー"}, {u"b", u"びー"}, {u"c", u"しー"}, {u"d", u"でぃー"}, {u"e", u"いー"},
    {u"f", u"えふ"}, {u"g", u"じー"}, {u"h", u"えいち"}, {u"i", u"あい"}, {u"j", u"じぇー"},
    {u"k", u"けー"}, {u"l", u"える"}, {u"m", u"えむ"}, {u"n", u"えぬ"}, {u"o", u"おー"},
    {u"p", u"ぴー"}, {u"q", u"きゅー"}, {u"r", u"あーる"}, {u"s", u"えす"}, {u"t", u"てぃー"},
    {u"u", u"ゆー"}, {u"v", u"ぶい"}, {u"w", u"だぶる ゆー"}, {u"x", u"えっくす"}, {u"y", u"わい"},
    {u"z", u"ぜっと"},
    // Signs of the letter board ("/" has no file: it cannot be a file name).
    {u";", u"せみころん"}, {u",", u"かんま"}, {u".", u"ぴりおど"}, {u":", u"ころん"}, {u"%", u"ぱーせんと"},
    {u"+", u"ぷらす"}, {u"-", u"まいなす"}, {u"?", u"はてな"}, {u"@", u"あっと"}, {u"!", u"びっくり"},
    // The two faces, and the full-width space that an empty board cell enters.
    {u"(^_^)", u"えがお"}, {u"(T_T)", u"なきがお"}, {u"\u3000", u"すぺーす"},
};

} // namespace

std::span<const SoundReading> soundReadings()
{
    return kReadings;
}

} // namespace kel
