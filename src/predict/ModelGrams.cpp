#include "predict/ModelGrams.h"

#include <QFile>

#include <algorithm>
#include <cstring>

namespace kel {
namespace {

constexpr std::size_t kPairBytes = 12, kTripleBytes = 10, kKeyBytes = 8;
// Followers kept per word: enough for a short search over phrases, few
// enough that the index stays small and a search stays quick.
constexpr std::size_t kNextPerWord = 48, kNextPerPair = 6;

std::uint32_t readU32(const unsigned char *p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

unsigned readU16(const unsigned char *p)
{
    return unsigned(p[0]) | unsigned(p[1]) << 8;
}

void writeU32(unsigned char *p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}

// The record whose first eight bytes are `key`, in records sorted by those
// bytes.
std::optional<std::size_t> findRecord(const unsigned char *records, std::size_t lo, std::size_t hi, std::size_t size,
                                      std::uint32_t first, std::uint32_t second)
{
    unsigned char key[kKeyBytes];
    writeU32(key, first);
    writeU32(key + 4, second);
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        const int c = std::memcmp(records + mid * size, key, kKeyBytes);
        if (c == 0)
            return mid;
        if (c < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return std::nullopt;
}

const unsigned char *mapWhole(std::unique_ptr<QFile> &file, const QString &path, std::size_t recordBytes,
                              std::size_t *count, QString *why)
{
    file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly) || file->size() == 0 || file->size() % qint64(recordBytes) != 0) {
        *why = QStringLiteral("言葉の予測の辞書（%1）が壊れているか、版が違います。").arg(path);
        return nullptr;
    }
    *count = std::size_t(file->size()) / recordBytes;
    const unsigned char *p = file->map(0, file->size());
    if (!p)
        *why = QStringLiteral("言葉の予測の辞書（%1）が読めません。").arg(path);
    return p;
}

// Where each word's records are: the files sort records by their bytes, so
// one word's records are together, though words are not in id order.
std::vector<std::pair<std::uint32_t, std::uint32_t>> recordsByWord(const unsigned char *records, std::size_t count,
                                                                   std::size_t size, std::size_t words)
{
    std::vector<std::pair<std::uint32_t, std::uint32_t>> at(words, {0, 0});
    for (std::size_t i = 0; i < count;) {
        const std::uint32_t w = readU32(records + i * size);
        std::size_t j = i + 1;
        while (j < count && readU32(records + j * size) == w)
            ++j;
        if (w < words)
            at[w] = {std::uint32_t(i), std::uint32_t(j)};
        i = j;
    }
    return at;
}

std::pair<std::size_t, std::size_t> rangeOf(const std::vector<std::pair<std::uint32_t, std::uint32_t>> &at,
                                            std::uint32_t word)
{
    return word < at.size() ? std::pair<std::size_t, std::size_t>(at[word]) : std::pair<std::size_t, std::size_t>(0, 0);
}

} // namespace

double costToLog10(unsigned cost)
{
    return cost * -8.0 / 65535.0;
}

ModelGrams::~ModelGrams() = default;

std::unique_ptr<ModelGrams> ModelGrams::open(const QString &folder, std::size_t words,
                                             const std::vector<bool> &followable, QString *why)
{
    std::unique_ptr<ModelGrams> g(new ModelGrams);
    g->pairs_ = mapWhole(g->pairFile_, folder + QStringLiteral("/data.2gram"), kPairBytes, &g->pairCount_, why);
    if (!g->pairs_)
        return nullptr;
    g->triples_ = mapWhole(g->tripleFile_, folder + QStringLiteral("/data.3gram"), kTripleBytes, &g->tripleCount_, why);
    if (!g->triples_)
        return nullptr;
    g->pairsOf_ = recordsByWord(g->pairs_, g->pairCount_, kPairBytes, words);
    g->triplesOf_ = recordsByWord(g->triples_, g->tripleCount_, kTripleBytes, words);
    buildIndex(g->pairs_, g->pairCount_, kPairBytes, words, kNextPerWord, followable, g->pairNextStart_,
               g->pairNext_);
    buildIndex(g->triples_, g->tripleCount_, kTripleBytes, g->pairCount_, kNextPerPair, followable,
               g->tripleNextStart_, g->tripleNext_);
    return g;
}

void ModelGrams::buildIndex(const unsigned char *records, std::size_t count, std::size_t size,
                            std::size_t contexts, std::size_t keep, const std::vector<bool> &followable,
                            std::vector<std::uint32_t> &start, std::vector<std::uint32_t> &followers)
{
    // Bucket the records by their context (a counting sort), then keep each
    // bucket's likeliest few.
    const auto usable = [&](const unsigned char *r) {
        const std::uint32_t w = readU32(r), context = readU32(r + 4);
        return w < followable.size() && followable[w] && context < contexts;
    };
    std::vector<std::uint32_t> bucket(contexts + 1, 0);
    for (std::size_t i = 0; i < count; ++i) {
        if (usable(records + i * size))
            ++bucket[readU32(records + i * size + 4) + 1];
    }
    for (std::size_t c = 0; c < contexts; ++c)
        bucket[c + 1] += bucket[c];
    std::vector<std::uint32_t> all(bucket[contexts]);
    std::vector<std::uint32_t> fill(bucket.begin(), bucket.end() - 1);
    for (std::size_t i = 0; i < count; ++i) {
        if (usable(records + i * size))
            all[fill[readU32(records + i * size + 4)]++] = std::uint32_t(i);
    }
    fill = {};
    // A lower cost is a likelier follower.
    const auto likelier = [&](std::uint32_t a, std::uint32_t b) {
        return readU16(records + a * size + 8) < readU16(records + b * size + 8);
    };
    start.assign(contexts + 1, 0);
    followers.clear();
    std::size_t kept = 0;
    for (std::size_t c = 0; c < contexts; ++c)
        kept += std::min<std::size_t>(bucket[c + 1] - bucket[c], keep);
    followers.reserve(kept);
    for (std::size_t c = 0; c < contexts; ++c) {
        const auto b = all.begin() + bucket[c], e = all.begin() + bucket[c + 1];
        const auto n = std::min<std::ptrdiff_t>(e - b, std::ptrdiff_t(keep));
        std::partial_sort(b, b + n, e, likelier);
        followers.insert(followers.end(), b, b + n);
        start[c + 1] = std::uint32_t(followers.size());
    }
}

std::optional<std::size_t> ModelGrams::pairIndex(std::uint32_t word, std::uint32_t previous) const
{
    const auto [lo, hi] = rangeOf(pairsOf_, word);
    return findRecord(pairs_, lo, hi, kPairBytes, word, previous);
}

std::optional<double> ModelGrams::pair(std::uint32_t word, std::uint32_t previous) const
{
    const auto i = pairIndex(word, previous);
    if (!i)
        return std::nullopt;
    return costToLog10(readU16(pairs_ + *i * kPairBytes + 8));
}

double ModelGrams::pairBackOff(std::uint32_t previous, std::uint32_t before) const
{
    const auto i = pairIndex(previous, before);
    return i ? costToLog10(readU16(pairs_ + *i * kPairBytes + 10)) : 0.0;
}

std::optional<double> ModelGrams::triple(std::uint32_t word, std::uint32_t previous, std::uint32_t before) const
{
    const auto context = pairIndex(previous, before);
    if (!context)
        return std::nullopt;
    const auto [lo, hi] = rangeOf(triplesOf_, word);
    const auto i = findRecord(triples_, lo, hi, kTripleBytes, word, std::uint32_t(*context));
    if (!i)
        return std::nullopt;
    return costToLog10(readU16(triples_ + *i * kTripleBytes + 8));
}

std::vector<ModelGrams::Next> ModelGrams::next(std::uint32_t previous, std::optional<std::uint32_t> before,
                                                std::size_t limit) const
{
    std::vector<Next> out;
    const auto followersOf = [](const std::vector<std::uint32_t> &start, const std::vector<std::uint32_t> &all,
                                std::size_t context) {
        if (context + 1 >= start.size())
            return std::span<const std::uint32_t>();
        return std::span<const std::uint32_t>(all).subspan(start[context], start[context + 1] - start[context]);
    };
    const std::optional<std::size_t> context = before ? pairIndex(previous, *before) : std::nullopt;
    double backOff = 0;
    if (context) {
        backOff = costToLog10(readU16(pairs_ + *context * kPairBytes + 10));
        for (std::uint32_t r : followersOf(tripleNextStart_, tripleNext_, *context)) {
            const unsigned char *p = triples_ + std::size_t(r) * kTripleBytes;
            out.push_back({readU32(p), float(costToLog10(readU16(p + 8)))});
        }
    }
    for (std::uint32_t r : followersOf(pairNextStart_, pairNext_, previous)) {
        if (out.size() >= limit + kNextPerPair)
            break;
        const unsigned char *p = pairs_ + std::size_t(r) * kPairBytes;
        const std::uint32_t w = readU32(p);
        if (std::none_of(out.begin(), out.end(), [w](const Next &n) { return n.word == w; }))
            out.push_back({w, float(backOff + costToLog10(readU16(p + 8)))});
    }
    std::sort(out.begin(), out.end(), [](const Next &a, const Next &b) { return a.log10p > b.log10p; });
    if (out.size() > limit)
        out.resize(limit);
    return out;
}

} // namespace kel
