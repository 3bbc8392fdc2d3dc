#include "board/BoardLayout.h"

#include "base/AnsiText.h"

namespace kel {
namespace {

// Kana columns from the あ column leftwards, each read from row 0 to row 4.
constexpr const char16_t *kHiraganaColumns[] = {
    u"あいうえお", u"かきくけこ", u"さしすせそ", u"たちつてと", u"なにぬねの",
    u"はひふへほ", u"まみむめも", u"やゆよー？", u"らりるれろ", u"わをん。、",
};
constexpr const char16_t *kKatakanaColumns[] = {
    u"アイウエオ", u"カキクケコ", u"サシスセソ", u"タチツテト", u"ナニヌネノ",
    u"ハヒフヘホ", u"マミムメモ", u"ヤユヨー？", u"ラリルレロ", u"ワヲン。、",
};
// Voiced and semi-voiced rows from column 4 leftwards (15-column board only).
constexpr const char16_t *kHiraganaVoiced[] = {
    u"がぎぐげご", u"ざじずぜぞ", u"だぢづでど", u"ばびぶべぼ", u"ぱぴぷぺぽ",
};
constexpr const char16_t *kKatakanaVoiced[] = {
    u"ガギグゲゴ", u"ザジズゼゾ", u"ダヂヅデド", u"バビブベボ", u"パピプペポ",
};
constexpr int kKanaColumns = 10;
constexpr int kVoicedColumns = 5;
constexpr int kFullBoardMaxC = 14;

constexpr const char16_t *kAlphaRows[kBoardRows][kAlphaColumns] = {
    {u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"9", u"0"},
    {u"Q", u"W", u"E", u"R", u"T", u"Y", u"U", u"I", u"O", u"P"},
    {u"A", u"S", u"D", u"F", u"G", u"H", u"J", u"K", u"L", u";"},
    {u"/", u"Z", u"X", u"C", u"V", u"B", u"N", u"M", u",", u"."},
    {u":", u"%", u"+", u"-", u"?", u"@", u"。", u"!", u"(^_^)", u"(T_T)"},
};

QString kanaCell(const char16_t *const *columns, const char16_t *const *voiced, int maxC, int row, int col)
{
    const int kanaIndex = maxC - col;   // 0 = the あ column
    if (kanaIndex >= 0 && kanaIndex < kKanaColumns)
        return QString(QChar(columns[kanaIndex][row]));
    if (maxC == kFullBoardMaxC && col >= 0 && col < kVoicedColumns)
        return QString(QChar(voiced[kVoicedColumns - 1 - col][row]));
    return {};
}

} // namespace

QString boardCellText(BoardMode mode, int maxC, int row, int col)
{
    if (row < 0 || row >= kBoardRows || col < 0 || col > maxC)
        return {};
    switch (mode) {
    case BoardMode::Hiragana:
        return kanaCell(kHiraganaColumns, kHiraganaVoiced, maxC, row, col);
    case BoardMode::Katakana:
        return kanaCell(kKatakanaColumns, kKatakanaVoiced, maxC, row, col);
    case BoardMode::Alphanumeric:
        return col < kAlphaColumns ? QString::fromUtf16(kAlphaRows[row][col]) : QString();
    }
    return {};
}

ModeStep boardModeForCaption(const QString &caption)
{
    const QString c = trimSpaces(caption);
    if (c == u"英数")
        return {BoardMode::Hiragana, "ひら"};
    if (c == u"ひら")
        return {BoardMode::Katakana, "カタ"};
    return {BoardMode::Alphanumeric, "英数"};
}

int boardColumnTwips(int maxC)
{
    return maxC == kFullBoardMaxC ? 773 : 1180;
}

} // namespace kel
