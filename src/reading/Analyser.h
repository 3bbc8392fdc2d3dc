#pragma once
// Japanese text cut into words with their readings, by the morphological
// analyser MeCab and its IPA dictionary. Only plain data leaves this file:
// each word with the part of the text it covers and the dictionary's
// fields, so that the rules on top of it need neither MeCab nor a window.

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>
#include <mutex>

namespace kel {

// One word as the dictionary knows it.
struct Morpheme {
    qsizetype from = 0, length = 0; // the part of the text it covers, in UTF-16 units
    QString surface;
    // Part of speech and its three refinements, conjugation type and form,
    // base form, reading, pronunciation; an unknown word has only the first
    // seven (or fewer).
    QStringList features;

    QString feature(int i) const { return features.value(i); }
    QString pos() const { return feature(0); }
    QString pos1() const { return feature(1); }
    // The pronunciation in katakana ("ワ" for the particle "は", "キョー" for
    // "今日"); "" when the dictionary does not know the word.
    QString pronunciation() const { return features.size() > 8 && features.at(8) != u"*" ? features.at(8) : QString(); }
    qsizetype end() const { return from + length; }
};

class Analyser;
// MeCab itself is met only in MecabAnalyser.cpp.
Analyser *openMecabAnalyser(QString *why, const QString &folder);

class Analyser {
public:
    virtual ~Analyser();
    Analyser(const Analyser &) = delete;
    Analyser &operator=(const Analyser &) = delete;

    // The IPA dictionary the rules are written for, by its own folder:
    // MeCab's default (/etc/mecabrc, $MECABRC, the mecab-dictionary
    // alternative) changes when another dictionary package is installed.
    // $KELVORAN_DICDIR names another folder (a dictionary installed
    // elsewhere, a test's broken one).
    static QString defaultFolder();

    // Opens MeCab on the dictionary in `folder` (defaultFolder() when
    // empty); null with the reason, in Japanese, in `why` when it cannot.
    static std::unique_ptr<Analyser> open(QString *why, const QString &folder = {});

    // The words of `text` in order. Spaces and line breaks belong to no
    // word; every other character belongs to exactly one. Safe to call from
    // several threads.
    virtual QList<Morpheme> analyse(QStringView text) const;

private:
    friend Analyser *openMecabAnalyser(QString *why, const QString &folder);
    Analyser(void *tagger, bool uniDic) : tagger_(tagger), uniDic_(uniDic) {}
    void analyseChunk(QStringView text, qsizetype offset, QList<Morpheme> &out) const;
    // The words of MeCab's path from `first` (a node).
    QList<Morpheme> words(const void *first, QStringView text, qsizetype offset, const QByteArray &bytes,
                          const std::vector<qsizetype> &unitAt) const;

    void *tagger_;
    bool uniDic_; // UniDic's fields, turned into the IPA dictionary's
    mutable std::mutex mutex_;
};

} // namespace kel
