#pragma once
// Sorting and kana-row labels of the example list.
//
// Each row is labelled by the first character of its sentence, but only on
// the first row of a run with the same label:
//   ["ああああ日記…", "ありがとう", "かさ", "がっこう", "ごはん", "水", "ごま"]
//   -> ["あ行",         "",          "か行", "",         "が行",   "",   ""]
// (が falls inside か..こ, so only ご reaches "が行"; 水 matches no row and
// neither gets a label nor ends the run.)

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

namespace kel {

struct KanaRow {
    char16_t from; // inclusive, by character code
    char16_t to;   // inclusive
    const char16_t *label;
};

// Tested in this order; the first range holding the character wins.
inline constexpr std::array<KanaRow, 30> kKanaRows{{
    {u'あ', u'お', u"あ行"}, {u'か', u'こ', u"か行"}, {u'さ', u'そ', u"さ行"},
    {u'た', u'と', u"た行"}, {u'な', u'の', u"な行"}, {u'は', u'ほ', u"は行"},
    {u'ま', u'も', u"ま行"}, {u'や', u'よ', u"や行"}, {u'ら', u'ろ', u"ら行"},
    {u'わ', u'ん', u"わ行"}, {u'が', u'ご', u"が行"}, {u'ざ', u'ぞ', u"ざ行"},
    {u'だ', u'ど', u"だ行"}, {u'ば', u'ぼ', u"ば行"}, {u'ぱ', u'ぽ', u"ぱ行"},
    {u'ア', u'オ', u"ア行"}, {u'カ', u'コ', u"カ行"}, {u'サ', u'ソ', u"サ行"},
    {u'タ', u'ト', u"タ行"}, {u'ナ', u'ノ', u"ナ行"}, {u'ハ', u'ホ', u"ハ行"},
    {u'マ', u'モ', u"マ行"}, {u'ヤ', u'ヨ', u"ヤ行"}, {u'ラ', u'ロ', u"ラ行"},
    {u'ワ', u'ン', u"ワ行"}, {u'ガ', u'ゴ', u"ガ行"}, {u'ザ', u'ゾ', u"ザ行"},
    {u'ダ', u'ド', u"ダ行"}, {u'バ', u'ボ', u"バ行"}, {u'パ', u'ポ', u"パ行"},
}};

// The label of the first range holding `first`, or an empty string.
QString kanaRowLabel(QChar first);

// Column 0 of the list for sentences already in display order: a label on
// the first row of each run, empty texts elsewhere.
QStringList runLabels(const QStringList &sortedSentences);

// The display order of the list as row indices into `sentences`: the
// placeholder row(s) first, then every other row ascending by UTF-16 code
// units, case-sensitively; equal texts keep their file order.
// Without the first rule an empty sentence, or one beginning with a digit,
// a Latin letter, a symbol or ぁ, would sort before the placeholder, land on
// row 0 (the diary row) and be overwritten by the next save.
std::vector<int> sampleOrder(const QStringList &sentences);

} // namespace kel
