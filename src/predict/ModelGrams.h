#pragma once
// The word pairs and triples of libkkc-data's model, read in place, and
// which words most often follow each word.
//
// data.2gram holds twelve-byte records (word, previous word, cost, back-off)
// sorted by their first eight bytes as bytes; data.3gram ten-byte records
// (word, index of the 2gram record of the two words before it, cost). Word
// ids are the keys of data.1gram.index; all numbers little-endian; a cost c
// stands for the log10 probability c * -8 / 65535, as in data.1gram.
//
// The files order pairs and triples by their last word, so finding what may
// follow a word needs an index of its own: the likeliest next words of
// each word and of each pair of words, built once when the model is opened
// (record numbers, a few megabytes).

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

class QFile;

namespace kel {

class ModelGrams {
public:
    struct Next {
        std::uint32_t word;
        float log10p;
    };

    // Null with the reason in `why` when a file is missing or is not a
    // whole number of records. `followable` says which words may be offered
    // after another one (the index keeps only those); `words` is the number
    // of words of the model.
    static std::unique_ptr<ModelGrams> open(const QString &folder, std::size_t words,
                                            const std::vector<bool> &followable, QString *why);
    ~ModelGrams();

    // log10 P(word | previous); nullopt when the pair was never seen.
    std::optional<double> pair(std::uint32_t word, std::uint32_t previous) const;
    // log10 of the back-off weight of the pair (previous, before) as a
    // context; 0 when the pair was never seen.
    double pairBackOff(std::uint32_t previous, std::uint32_t before) const;
    // log10 P(word | before, previous); nullopt when the triple was never seen.
    std::optional<double> triple(std::uint32_t word, std::uint32_t previous, std::uint32_t before) const;

    // At most `limit` followable words likeliest after `before previous`,
    // likeliest first, with log10 P(word | before, previous) by back-off.
    std::vector<Next> next(std::uint32_t previous, std::optional<std::uint32_t> before, std::size_t limit) const;

private:
    ModelGrams() = default;
    std::optional<std::size_t> pairIndex(std::uint32_t word, std::uint32_t previous) const;
    // For each context (a word id, or a pair's record number), the record
    // numbers of its likeliest followers, at most `keep` each.
    static void buildIndex(const unsigned char *records, std::size_t count, std::size_t size, std::size_t contexts,
                           std::size_t keep, const std::vector<bool> &followable, std::vector<std::uint32_t> &start,
                           std::vector<std::uint32_t> &followers);

    std::unique_ptr<QFile> pairFile_, tripleFile_;
    const unsigned char *pairs_ = nullptr, *triples_ = nullptr;
    std::size_t pairCount_ = 0, tripleCount_ = 0;
    // Each word's records, [first, end): a lookup searches only those.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> pairsOf_, triplesOf_;
    // Per context, into the followers; one more at the end.
    std::vector<std::uint32_t> pairNextStart_, pairNext_, tripleNextStart_, tripleNext_;
};

// A cost field as a log10 probability.
double costToLog10(unsigned cost);

} // namespace kel
