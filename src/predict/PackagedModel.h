#pragma once
// The kana language model Debian ships with libkkc-data, as a predictor for
// a user with little or no history: the rest of the word being typed, by
// the words' frequencies.
//
// The model's folder holds a marisa-trie of "reading/written form" keys
// (data.1gram.index), whose key ids index six-byte records of
// data.1gram (a little-endian 16-bit cost, then the back-off weight, then
// padding); a cost c stands for the log10 probability c * -8 / 65535.
// Both files are mapped, never read into memory, and checked before use:
// the trie's own header, and a record file exactly six bytes per key.

#include "predict/Candidate.h"

#include <QString>
#include <memory>

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
    PackagedModel();
    // The probability of the most likely written form of each reading that
    // begins with `prefix` (raw kana, not folded).
    void collect(const QString &prefix, qsizetype typed, QHash<QString, double> &best) const;
    double probability(std::size_t id) const;

    std::unique_ptr<marisa::Trie> trie_;
    std::unique_ptr<QFile> costFile_;
    const uchar *costs_ = nullptr;
    std::size_t keys_ = 0;
};

// Every kana string that folds like `typed` and that the board reaches by a
// variant of each character (か -> か が, つ -> つ っ づ), at most `limit`:
//   boardVariants("はつ", 16) -> ["はつ", "はっ", "はづ", "ばつ", ..., "ぱづ"]
QStringList boardVariants(QStringView typed, int limit);

} // namespace kel
