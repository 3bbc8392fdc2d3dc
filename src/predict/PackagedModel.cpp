#include "predict/PackagedModel.h"

#include "predict/KanaFold.h"
#include "reading/Morae.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QStringList>

#include <marisa.h>

#include <algorithm>
#include <cmath>

namespace kel {
namespace {

constexpr int kRecordBytes = 6;
constexpr double kMinCost = -8.0;
// A word is guessed from at most this many typed kana at the end of the
// text, and each guess visits at most so many dictionary words.
constexpr qsizetype kLongestWordStart = 6;
constexpr std::size_t kKeysPerPrefix = 20000;
constexpr int kVariantLimit = 32;
// How many kana before the caret are split into words for their context.
constexpr qsizetype kLongestSplit = 12;
// The likeliest words of a guess are weighed by the words before them; the
// likeliest few of those continue into phrases, through a small beam.
constexpr std::size_t kWordsConditioned = 48;
constexpr std::size_t kWordsExtended = 8;
// Counted in the model's pieces: ござ|い|まし|た is one word said, so four
// pieces make a phrase of the few words a user means.
constexpr int kMaxAddedWords = 4;
constexpr int kFollowersTried = 8;
constexpr std::size_t kBeamWidth = 8;
// A word of the typed text is at most so many kana.
constexpr qsizetype kLongestContextWord = 6;
// The split of the typed kana keeps so many likeliest words at each place
// (candidates follow so many of them), and weighs only the likeliest
// written forms of each reading.
constexpr std::size_t kStatesPerPlace = 3, kContextsTried = 2;
constexpr std::size_t kFormsInSplit = 12;
constexpr std::uint32_t kNoWord = ~0u;
// A candidate gives way to a longer one that continues it when that one is
// nearly as likely: taking the longer saves more, and a row of one word's
// pieces (ござ, ござい, ございま) saves nothing over its longest.
constexpr double kCloseSecond = 0.5;

bool allHiragana(QStringView s)
{
    for (QChar c : s) {
        if (!((c >= QChar(u'ぁ') && c <= QChar(u'ゖ')) || c == QChar(u'ー')))
            return false;
    }
    return !s.isEmpty();
}

// The forms of one hiragana the board reaches from its plain cell.
QString formsOf(QChar c)
{
    const QChar plain = foldKana(c);
    QString forms(plain);
    for (char16_t u = u'ぁ'; u <= u'ゖ'; ++u) {
        if (QChar(u) != plain && foldKana(QChar(u)) == plain)
            forms += QChar(u);
    }
    return forms;
}

} // namespace

QHash<QString, double> withoutCloseSeconds(const QHash<QString, double> &scores, qsizetype shortest)
{
    QStringList texts = scores.keys();
    texts.sort();
    QHash<QString, double> out;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        const QString &t = texts[i];
        if (t.size() < shortest)
            continue;
        // Sorted, the texts that continue t follow it.
        double longer = 0;
        for (qsizetype j = i + 1; j < texts.size() && texts[j].startsWith(t); ++j)
            longer = std::max(longer, scores.value(texts[j]));
        if (longer < kCloseSecond * scores.value(t))
            out.insert(t, scores.value(t));
    }
    return out;
}

QStringList boardVariants(QStringView typed, int limit)
{
    QStringList out{QString()};
    for (QChar c : typed) {
        const QString forms = formsOf(c);
        QStringList next;
        for (const QString &head : out) {
            for (QChar f : forms) {
                if (next.size() < limit)
                    next << head + f;
            }
        }
        out = next;
    }
    return out;
}

QString PackagedModel::defaultFolder()
{
    const QString env = qEnvironmentVariable("KELVORAN_MODEL");
    if (!env.isEmpty())
        return env;
    const QStringList found = QDir(QStringLiteral("/usr/lib")).entryList({QStringLiteral("*")}, QDir::Dirs);
    for (const QString &arch : found) {
        const QString folder = QStringLiteral("/usr/lib/%1/libkkc/models/sorted3").arg(arch);
        if (QFile::exists(folder + QStringLiteral("/data.1gram.index")))
            return folder;
    }
    return {};
}

PackagedModel::PackagedModel() : trie_(std::make_unique<marisa::Trie>()) {}
PackagedModel::~PackagedModel() = default;

std::unique_ptr<PackagedModel> PackagedModel::open(const QString &folder, QString *why)
{
    std::unique_ptr<PackagedModel> m(new PackagedModel);
    const QString index = folder + QStringLiteral("/data.1gram.index");
    try {
        m->trie_->mmap(QFile::encodeName(index).constData());
    } catch (const marisa::Exception &) {
        *why = QStringLiteral("言葉の予測の辞書（%1）が読めません。").arg(index);
        return nullptr;
    }
    m->keys_ = m->trie_->num_keys();
    m->costFile_ = std::make_unique<QFile>(folder + QStringLiteral("/data.1gram"));
    if (!m->costFile_->open(QIODevice::ReadOnly) || m->costFile_->size() != qint64(m->keys_) * kRecordBytes
        || m->keys_ == 0) {
        *why = QStringLiteral("言葉の予測の辞書（%1）が壊れているか、版が違います。").arg(m->costFile_->fileName());
        return nullptr;
    }
    m->costs_ = m->costFile_->map(0, m->costFile_->size());
    if (!m->costs_) {
        *why = QStringLiteral("言葉の予測の辞書（%1）が読めません。").arg(m->costFile_->fileName());
        return nullptr;
    }
    m->indexReadings();
    std::vector<bool> followable(m->keys_, false);
    for (std::size_t id = 0; id < m->keys_; ++id)
        followable[id] = !m->readingOf(std::uint32_t(id)).isEmpty() || id == m->sentenceEndWord_;
    m->grams_ = ModelGrams::open(folder, m->keys_, followable, why);
    if (!m->grams_)
        return nullptr;
    return m;
}

void PackagedModel::indexReadings()
{
    std::vector<std::pair<std::uint32_t, QString>> byId;
    byId.reserve(keys_);
    marisa::Agent agent;
    agent.set_query("");
    while (trie_->predictive_search(agent)) {
        const marisa::Key &key = agent.key();
        const QString text = QString::fromUtf8(key.ptr(), qsizetype(key.length()));
        if (text == QLatin1String("<s>"))
            sentenceStartWord_ = std::uint32_t(key.id());
        else if (text == QLatin1String("</s>"))
            sentenceEndWord_ = std::uint32_t(key.id());
        const QString reading = text.left(text.indexOf(u'/'));
        if (allHiragana(reading))
            byId.emplace_back(std::uint32_t(key.id()), reading);
    }
    std::sort(byId.begin(), byId.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    readingStart_.assign(keys_ + 1, 0);
    auto it = byId.cbegin();
    for (std::size_t id = 0; id < keys_; ++id) {
        if (it != byId.cend() && it->first == id)
            readings_ += (it++)->second;
        readingStart_[id + 1] = std::uint32_t(readings_.size());
    }
    readings_.squeeze();
    for (std::size_t id = 0; id < keys_; ++id) {
        if (readingStart_[id + 1] > readingStart_[id])
            byReading_.push_back(std::uint32_t(id));
    }
    std::stable_sort(byReading_.begin(), byReading_.end(),
                     [this](std::uint32_t a, std::uint32_t b) { return readingOf(a) < readingOf(b); });
}

QStringView PackagedModel::readingOf(std::uint32_t id) const
{
    if (std::size_t(id) >= keys_)
        return {};
    return QStringView(readings_).mid(readingStart_[id], readingStart_[id + 1] - readingStart_[id]);
}

double PackagedModel::unigram(std::uint32_t id) const
{
    if (id >= keys_)
        return kMinCost;
    const uchar *p = costs_ + std::size_t(id) * kRecordBytes;
    return costToLog10(unsigned(p[0]) | unsigned(p[1]) << 8);
}

double PackagedModel::unigramBackOff(std::uint32_t id) const
{
    if (id >= keys_)
        return 0;
    const uchar *p = costs_ + std::size_t(id) * kRecordBytes;
    return costToLog10(unsigned(p[2]) | unsigned(p[3]) << 8);
}

// Katz back-off: the triple if it was seen, else the pair, else the word
// alone, each weighted by the context's back-off.
double PackagedModel::conditional(std::uint32_t id, const Context &context) const
{
    if (!context.previous)
        return unigram(id);
    if (context.before) {
        if (const auto t = grams_->triple(id, *context.previous, *context.before))
            return *t;
    }
    const double backOff = context.before ? grams_->pairBackOff(*context.previous, *context.before) : 0.0;
    if (const auto p = grams_->pair(id, *context.previous))
        return backOff + *p;
    return backOff + unigramBackOff(*context.previous) + unigram(id);
}

PackagedModel::Lattice PackagedModel::segment(QStringView kana) const
{
    // The likeliest splits of the typed kana into model words (a Viterbi
    // search over word pairs, keeping the best few words at each place):
    // where the typed text most likely has word ends, and which words end
    // there. Pairs, not single words, because the model's pieces are short
    // and common: "まって" is 待|っ|て, not ま|って.
    const qsizetype size = kana.size();
    Lattice l;
    l.states.resize(size_t(size + 1));
    l.states[0].push_back({0.0, sentenceStartWord_, 0, 0});
    const auto keep = [](std::vector<Lattice::State> &at, const Lattice::State &s) {
        for (Lattice::State &o : at) {
            if (o.word == s.word) {
                if (s.log10p > o.log10p)
                    o = s;
                return;
            }
        }
        at.push_back(s);
        std::sort(at.begin(), at.end(), [](const auto &a, const auto &b) { return a.log10p > b.log10p; });
        if (at.size() > kStatesPerPlace)
            at.pop_back();
    };
    for (qsizetype from = 0; from < size; ++from) {
        for (qsizetype n = 1; n <= kLongestContextWord && from + n <= size; ++n) {
            const QString piece = toHiragana(kana.mid(from, n));
            if (!allHiragana(piece))
                break;
            const std::span<const std::uint32_t> all = wordsReading(piece, true);
            std::vector<std::uint32_t> forms(all.begin(), all.end());
            const std::size_t tried = std::min(forms.size(), kFormsInSplit);
            std::partial_sort(forms.begin(), forms.begin() + qsizetype(tried), forms.end(),
                              [this](std::uint32_t a, std::uint32_t b) { return unigram(a) > unigram(b); });
            forms.resize(tried);
            auto &to = l.states[size_t(from + n)];
            for (std::size_t k = 0; k < l.states[size_t(from)].size(); ++k) {
                const Lattice::State &s = l.states[size_t(from)][k];
                const Context c{s.word == kNoWord ? std::nullopt : std::optional<std::uint32_t>(s.word), std::nullopt};
                // A kana that makes no word costs as much as the rarest word.
                if (forms.empty() && n == 1)
                    keep(to, {s.log10p + kMinCost, kNoWord, from, int(k)});
                for (std::uint32_t f : forms)
                    keep(to, {s.log10p + conditional(f, c), f, from, int(k)});
            }
        }
    }
    return l;
}

PackagedModel::Context PackagedModel::Lattice::contextAt(qsizetype end, std::size_t k) const
{
    const State &s = states[size_t(end)][k];
    const auto word = [](std::uint32_t w) { return w == kNoWord ? std::nullopt : std::optional<std::uint32_t>(w); };
    Context c{word(s.word), std::nullopt};
    if (end > 0)
        c.before = word(states[size_t(s.from)][size_t(s.fromState)].word);
    return c;
}

std::span<const std::uint32_t> PackagedModel::wordsReading(QStringView prefix, bool whole) const
{
    const auto lo = std::lower_bound(byReading_.begin(), byReading_.end(), prefix,
                                     [this](std::uint32_t id, QStringView p) { return readingOf(id) < p; });
    const auto hi = std::partition_point(lo, byReading_.end(), [&](std::uint32_t id) {
        return whole ? readingOf(id) == prefix : readingOf(id).startsWith(prefix);
    });
    return {lo, hi};
}

void PackagedModel::collect(const QString &prefix, qsizetype typed, std::vector<std::pair<QStringView, Word>> &best) const
{
    // The words are sorted by reading, so one reading's forms are together.
    const std::span<const std::uint32_t> words = wordsReading(prefix, false);
    for (std::uint32_t id : words.first(std::min<std::size_t>(words.size(), kKeysPerPrefix))) {
        const QStringView reading = readingOf(id);
        if (reading.size() < typed)
            continue;
        if (!best.empty() && best.back().first == reading) {
            if (unigram(id) > best.back().second.log10p)
                best.back().second = {id, unigram(id)};
        } else {
            best.push_back({reading, {id, unigram(id)}});
        }
    }
}

void PackagedModel::extend(const QString &kept, const std::vector<std::pair<QString, Word>> &words,
                           const Context &context, QHash<QString, double> &scores) const
{
    struct Path {
        QString text;
        std::uint32_t last, beforeLast;
        double log10p;
    };
    std::vector<Path> beam;
    for (std::size_t i = 0; i < std::min(words.size(), kWordsExtended); ++i)
        beam.push_back({words[i].first, words[i].second.id, context.previous.value_or(sentenceStartWord_),
                        words[i].second.log10p});
    for (int depth = 0; depth < kMaxAddedWords && !beam.empty(); ++depth) {
        std::vector<Path> grown;
        for (const Path &path : beam) {
            for (const ModelGrams::Next &n : grams_->next(path.last, path.beforeLast, kFollowersTried)) {
                if (n.word != sentenceEndWord_)
                    grown.push_back({path.text + readingOf(n.word).toString(), n.word, path.last, path.log10p + n.log10p});
            }
        }
        const std::size_t keep = std::min(grown.size(), kBeamWidth);
        std::partial_sort(grown.begin(), grown.begin() + qsizetype(keep), grown.end(),
                          [](const Path &a, const Path &b) { return a.log10p > b.log10p; });
        grown.resize(keep);
        for (const Path &path : grown)
            scores[kept + path.text] += std::pow(10.0, path.log10p);
        beam = std::move(grown);
    }
}

QList<Candidate> PackagedModel::predict(QStringView context, int count) const
{
    const qsizetype begin = sentenceStart(context);
    const QStringView sentence = context.mid(begin);
    // Only the kana at the end of the sentence are split into words.
    qsizetype kanaFrom = sentence.size();
    while (kanaFrom > 0 && sentence.size() - kanaFrom < kLongestSplit
           && allHiragana(toHiragana(sentence.mid(kanaFrom - 1, 1))))
        --kanaFrom;
    const QStringView kana = sentence.mid(kanaFrom);
    const Lattice lattice = segment(kana);
    QHash<QString, double> scores;
    // Each guess at where the word being typed begins (n kana before the
    // caret, or none: the next word) scores its words by the probability
    // of the typed text up to there and of the word after it.
    for (qsizetype n = 0; n <= std::min(kLongestWordStart, kana.size()); ++n) {
        const QString tail = toHiragana(kana.right(n));
        // No word begins with what only ends one.
        if (n > 0 && QStringLiteral("をんーぁぃぅぇぉっゃゅょゎ").contains(tail[0]))
            continue;
        const qsizetype splitAt = kana.size() - n;
        if (n == 0 && kana.isEmpty())
            continue;
        const auto byP = [](const auto &a, const auto &b) { return a.second.log10p > b.second.log10p; };
        std::vector<std::pair<QString, Word>> matching;
        if (n > 0) {
            std::vector<std::pair<QStringView, Word>> found;
            for (const QString &variant : boardVariants(tail, kVariantLimit))
                collect(variant, n, found);
            const std::size_t top = std::min(found.size(), kWordsConditioned);
            std::partial_sort(found.begin(), found.begin() + qsizetype(top), found.end(), byP);
            for (std::size_t i = 0; i < top; ++i)
                matching.emplace_back(found[i].first.toString(), found[i].second);
        }
        const QString kept = context.left(context.size() - n).toString();
        for (std::size_t k = 0; k < std::min(lattice.states[size_t(splitAt)].size(), kContextsTried); ++k) {
            const Context before = lattice.contextAt(splitAt, k);
            const double typedP = lattice.states[size_t(splitAt)][k].log10p;
            std::vector<std::pair<QString, Word>> words;
            if (n == 0) {
                if (!before.previous)
                    continue;
                for (const ModelGrams::Next &next : grams_->next(*before.previous, before.before, kWordsConditioned)) {
                    if (next.word != sentenceEndWord_)
                        words.emplace_back(readingOf(next.word).toString(), Word{next.word, typedP + next.log10p});
                }
            } else {
                words = matching;
                for (auto &[reading, word] : words)
                    word.log10p = typedP + conditional(word.id, before);
            }
            std::sort(words.begin(), words.end(), byP);
            for (const auto &[reading, word] : words)
                scores[kept + reading] += std::pow(10.0, word.log10p);
            extend(kept, words, before, scores);
        }
    }
    return bestOf(withoutCloseSeconds(scores, context.size() + 2), Candidate::Packaged, count);
}

} // namespace kel
