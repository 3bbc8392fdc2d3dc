#include "predict/PackagedModel.h"

#include "predict/KanaFold.h"

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
// text, and each guess visits at most so many dictionary keys.
constexpr qsizetype kLongestWordStart = 6;
constexpr int kKeysPerPrefix = 3000;
constexpr int kVariantLimit = 32;

bool allHiragana(QStringView s)
{
    for (QChar c : s) {
        if (!((c >= QChar(u'ぁ') && c <= QChar(u'ゖ')) || c == QChar(u'ー')))
            return false;
    }
    return !s.isEmpty();
}

QString katakanaToHiragana(QStringView s)
{
    QString out = s.toString();
    for (QChar &c : out) {
        if (c >= QChar(u'ァ') && c <= QChar(u'ヶ'))
            c = QChar(char16_t(c.unicode() - (u'ァ' - u'ぁ')));
    }
    return out;
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
    return m;
}

double PackagedModel::probability(std::size_t id) const
{
    if (id >= keys_)
        return 0;
    const uchar *p = costs_ + id * kRecordBytes;
    const unsigned cost = unsigned(p[0]) | unsigned(p[1]) << 8;
    return std::pow(10.0, cost * kMinCost / 65535.0);
}

void PackagedModel::collect(const QString &prefix, qsizetype typed, QHash<QString, double> &best) const
{
    const QByteArray query = prefix.toUtf8();
    marisa::Agent agent;
    agent.set_query(query.constData(), std::size_t(query.size()));
    for (int visited = 0; visited < kKeysPerPrefix && trie_->predictive_search(agent); ++visited) {
        const marisa::Key &key = agent.key();
        const QString text = QString::fromUtf8(key.ptr(), qsizetype(key.length()));
        const qsizetype slash = text.indexOf(u'/');
        if (slash <= typed)
            continue;
        const QString reading = text.left(slash);
        if (!allHiragana(reading))
            continue;
        double &p = best[reading];
        p = std::max(p, probability(key.id()));
    }
}

QList<Candidate> PackagedModel::predict(QStringView context, int count) const
{
    const qsizetype begin = sentenceStart(context);
    const QStringView sentence = context.mid(begin);
    QHash<QString, double> scores;
    for (qsizetype n = std::min(kLongestWordStart, sentence.size()); n >= 1; --n) {
        const QStringView tail = sentence.right(n);
        const QString kana = katakanaToHiragana(tail);
        if (!allHiragana(kana))
            break;
        // One kana inside a sentence is too little to guess a word from, and
        // no word begins with what only ends one.
        if ((n == 1 && n != sentence.size()) || QStringLiteral("をんーぁぃぅぇぉっゃゅょゎ").contains(kana[0]))
            continue;
        // A word that must start at the sentence start or after more typed
        // kana is less likely the word being typed.
        const double weight = double(n * n) * (n == sentence.size() ? 2.0 : 1.0);
        QHash<QString, double> best;
        for (const QString &variant : boardVariants(kana, kVariantLimit))
            collect(variant, n, best);
        // A reading gains at least two kana over what is typed, or taking it
        // would save nothing.
        const QString kept = context.left(context.size() - n).toString();
        for (auto it = best.cbegin(); it != best.cend(); ++it) {
            if (it.key().size() >= n + 2)
                scores[kept + it.key()] += it.value() * weight;
        }
    }
    return bestOf(scores, Candidate::Packaged, count);
}

} // namespace kel
