#pragma once
// Numbers as they are said: "1473" -> "せんよんひゃくななじゅーさん", and with
// the counter that follows them: "3人" -> "さんにん", "1人" -> "ひとり",
// "6本" -> "ろっぽん", "4月" -> "しがつ". Readings are hiragana with "ー"
// for a long vowel, as the dictionary writes them.

#include <QString>
#include <optional>

namespace kel {

// The digits of a written number: half- or full-width digits, and the
// kanji numerals ("三百五十" -> "350", "二〇二六" -> "2026"). "" when
// `text` is not a number.
QString numberDigits(QStringView text);

// numberReading("0") -> "ぜろ", numberReading("20") -> "にじゅー",
// numberReading("300") -> "さんびゃく", numberReading("10000") -> "いちまん".
// Up to 20 digits as one number (to 京); longer numbers, and numbers
// written with a leading zero ("007"), digit by digit.
QString numberReading(const QString &digits);

// The reading of `digits` followed by `counter`, or nullopt when `counter`
// is not one of the common counters. `afterMonth`: the number is a day of
// a date ("5月1日" -> "ついたち" rather than "いちにち").
// counterReading("3", "本") -> "さんぼん", counterReading("21", "日") -> "にじゅーいちにち".
// The counter's reading on its own: counterOnly("人") -> "にん"; "" for none.
QString counterOnly(const QString &counter);

std::optional<QString> counterReading(const QString &digits, const QString &counter, bool afterMonth = false);

} // namespace kel
