#pragma once
// The kana language model Debian ships with libkkc-data, as a predictor for
// a user with little or no history: the rest of the word being typed and
// the words likeliest to follow it, given the words typed before it.
//
// The model's words are often pieces of what a user thinks of as one word
// (くださ|い, ござ|い|ます), so a candidate joins up to three more words
// after the one being typed:
//   "みずをく|" -> "みずをください"      "ありがと|" -> "ありがとうございます"
//
// The model's folder holds a marisa-trie of "reading/written form" keys
// (data.1gram.index), whose key ids index six-byte records of
// data.1gram (a little-endian 16-bit cost, then the back-off weight, then
// padding); a cost c stands for the log10 probability c * -8 / 65535.
// The pairs and triples are ModelGrams.h's. All files are mapped, never read
// into memory, and checked before use: the trie's own header, and record
// files of whole records (six bytes a key for data.1gram).

#include "predict/Candidate.h"
#include "predict/ModelGrams.h"

#include <QString>
#include <memory>
#include <span>
#include <vector>

class QFile;
namespace marisa {
class Trie;
}

namespace kel {

class PackagedModel : public Predictor {
public:
    // The folder Debian installs the model in; "" when it is not installed.
    // $KELVORAN_MODEL names another (a test's damaged copy).
    static QString defaultFolder();

    // Null with the reason, in Japanese, in `why` when the folder holds no
    // usable model.
    static std::unique_ptr<PackagedModel> open(const QString &folder, QString *why);
    ~PackagedModel() override;

    QList<Candidate> predict(QStringView context, int count) const override;

private:
    struct Word {
        std::uint32_t id;
        double log10p;
    };
    // The words just before the one being typed, the nearest first; the
    // sentence start when nothing is typed before it.
    struct Context {
        std::optional<std::uint32_t> previous, before;
    };

    PackagedModel();
    void indexReadings();
    // The likeliest written form of each reading that begins with `prefix`
    // (raw kana, not folded) and is at least `typed` long.
    void collect(const QString &prefix, qsizetype typed, std::vector<std::pair<QStringView, Word>> &best) const;
    // The words whose reading is `prefix` (whole) or begins with it.
    std::span<const std::uint32_t> wordsReading(QStringView prefix, bool whole) const;
    struct Lattice {
        struct State {
            double log10p; // of the typed kana up to here, ending in `word`
            std::uint32_t word;
            qsizetype from;
            int fromState;
        };
        std::vector<std::vector<State>> states; // per place, likeliest first
        Context contextAt(qsizetype end, std::size_t state) const;
    };
    Lattice segment(QStringView kana) const;
    double unigram(std::uint32_t id) const;
    double unigramBackOff(std::uint32_t id) const;
    double conditional(std::uint32_t id, const Context &context) const;
    QStringView readingOf(std::uint32_t id) const;
    // Offers the phrases that continue the likeliest `words` (best first) by
    // up to three more words, through one beam.
    void extend(const QString &kept, const std::vector<std::pair<QString, Word>> &words, const Context &context,
                QHash<QString, double> &scores) const;

    std::unique_ptr<marisa::Trie> trie_;
    std::unique_ptr<QFile> costFile_;
    std::unique_ptr<ModelGrams> grams_;
    const uchar *costs_ = nullptr;
    std::size_t keys_ = 0;
    // Every word's reading, hiragana only ("" for other words), one string
    // with offsets: a phrase search reads many of them.
    QString readings_;
    std::vector<std::uint32_t> readingStart_;
    std::vector<std::uint32_t> byReading_; // the words with a reading, sorted by it
    std::uint32_t sentenceStartWord_ = 0, sentenceEndWord_ = 0;
};

// Every kana string that folds like `typed` and that the board reaches by a
// variant of each character (か -> か が, つ -> つ っ づ), at most `limit`:
//   boardVariants("はつ", 16) -> ["はつ", "はっ", "はづ", "ばつ", ..., "ぱづ"]
QStringList boardVariants(QStringView typed, int limit);

// `scores` (text -> score) without the texts shorter than `shortest` and
// without those that a longer text continuing them nearly matches:
//   {ござ 1.0, ございます 0.8, ござる 0.1} -> {ございます 0.8, ござる 0.1}
QHash<QString, double> withoutCloseSeconds(const QHash<QString, double> &scores, qsizetype shortest);

} // namespace kel
