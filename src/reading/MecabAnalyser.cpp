// MeCab itself: the only file that meets its API.
#include "reading/Analyser.h"


#include <mecab.h>

#include <QFile>
#include <QFileInfo>

#include <vector>

namespace kel {
namespace {

// The analyser's cost grows with the length of what it is given at once;
// text is given sentence by sentence, and a sentence with no end in sight
// is cut at this length.
constexpr qsizetype kMaxChunk = 512;

bool endsSentence(QChar c)
{
    return QStringView(u"。！？!?\n\r").contains(c);
}

// UTF-8 for MeCab, with the UTF-16 index where each byte's character
// starts. Qt writes a lone surrogate as one replacement byte and a pair as
// four, so each sequence is one unit of the text unless it is four bytes
// long. A NUL would end MeCab's text early; it goes in as a space, which is
// no word, so the character stays to the rules between the words.
void toUtf8(QStringView text, QByteArray &bytes, std::vector<qsizetype> &unitAt)
{
    bytes = text.toUtf8();
    bytes.replace('\0', ' ');
    unitAt.clear();
    unitAt.reserve(size_t(bytes.size()) + 1);
    qsizetype unit = 0;
    for (qsizetype b = 0; b < bytes.size();) {
        const uchar lead = uchar(bytes.at(b));
        const qsizetype n = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        for (qsizetype k = 0; k < n && b < bytes.size(); ++k, ++b)
            unitAt.push_back(unit);
        unit += n == 4 ? 2 : 1;
    }
    unitAt.push_back(text.size());
}

// UniDic's fields in the IPA dictionary's order and names, so that the
// rules read one layout: part of speech (four), conjugation type and form,
// base form, reading, pronunciation.
QStringList ipaFields(const QStringList &u)
{
    if (u.size() < 6)
        return u; // an unknown word: part of speech and conjugation only
    QString pos = u[0], pos1 = u[1];
    if (pos == u"補助記号" || pos == u"空白")
        pos = QStringLiteral("記号");
    else if (pos == u"名詞" && pos1 == u"数詞")
        pos1 = QStringLiteral("数");
    else if (pos == u"接尾辞")
        pos = QStringLiteral("名詞"), pos1 = QStringLiteral("接尾");
    else if (pos == u"代名詞")
        pos = QStringLiteral("名詞"), pos1 = QStringLiteral("代名詞");
    else if (pos == u"形状詞")
        pos = QStringLiteral("名詞"), pos1 = QStringLiteral("形容動詞語幹");
    else if (pos == u"接頭辞")
        pos = QStringLiteral("接頭詞");
    QStringList out{pos, pos1, u[2], u[3], u[4], u[5]};
    out << u.value(10) << u.value(20) << u.value(9);
    return out;
}

} // namespace

Analyser::~Analyser()
{
    mecab_destroy(static_cast<mecab_t *>(tagger_));
}

Analyser *openMecabAnalyser(QString *why, const QString &folder)
{
    const QString dir = folder.isEmpty() ? Analyser::defaultFolder() : folder;
    const auto fail = [&](const QString &reason) -> Analyser * {
        if (why)
            *why = reason;
        return nullptr;
    };
    if (!QFileInfo::exists(dir + QStringLiteral("/sys.dic")))
        return fail(QStringLiteral("%1 に辞書がありません").arg(dir));
    // "-r /dev/null": no mecabrc is read, so neither /etc/mecabrc nor
    // $MECABRC can put another dictionary in place of this one.
    QByteArray path = QFile::encodeName(dir);
    char program[] = "mecab", rc[] = "-r", none[] = "/dev/null", d[] = "-d";
    char *argv[] = {program, rc, none, d, path.data()};
    mecab_t *tagger = mecab_new(5, argv);
    if (!tagger)
        return fail(QStringLiteral("%1 の辞書を読めません (壊れています)").arg(dir));
    // A dictionary that opens but answers nothing sensible is no dictionary.
    const mecab_node_t *node = mecab_sparse_tonode(tagger, "水");
    bool sane = false, uniDic = false;
    for (; node; node = node->next)
        if (node->stat == MECAB_NOR_NODE && node->length == 3) {
            sane = true;
            uniDic = QByteArrayView(node->feature).count(',') >= 20;
        }
    if (!sane) {
        mecab_destroy(tagger);
        return fail(QStringLiteral("%1 の辞書は「水」を知りません (壊れています)").arg(dir));
    }
    return new Analyser(tagger, uniDic);
}

QList<Morpheme> Analyser::analyse(QStringView text) const
{
    QList<Morpheme> out;
    qsizetype begin = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool end = endsSentence(text.at(i));
        // A long stretch is cut between two characters, never inside a pair.
        const bool cut = i + 1 - begin >= kMaxChunk && !text.at(i).isHighSurrogate();
        if (end || cut) {
            analyseChunk(text.mid(begin, i + 1 - begin), begin, out);
            begin = i + 1;
        }
    }
    if (begin < text.size())
        analyseChunk(text.mid(begin), begin, out);
    return out;
}

namespace {

// A suffix ("君" as "くん", "方" as "がた") follows the word it belongs
// to; after a particle, a mark or at the start it begins a phrase of its
// own and cannot be a suffix: "誰かが、君に" is "きみに".
bool suffixBeginsPhrase(const QList<Morpheme> &words)
{
    for (qsizetype i = 0; i < words.size(); ++i)
        if (words[i].pos() == u"名詞" && words[i].pos1() == u"接尾"
            && (i == 0 || words[i - 1].pos() == u"助詞" || words[i - 1].pos() == u"記号"))
            return true;
    return false;
}

// How many of the next best cuts are tried when the best breaks the rule above.
constexpr int kAlternatives = 8;

} // namespace

QList<Morpheme> Analyser::words(const void *first, QStringView text, qsizetype offset, const QByteArray &bytes,
                                const std::vector<qsizetype> &unitAt) const
{
    QList<Morpheme> out;
    for (auto node = static_cast<const mecab_node_t *>(first); node; node = node->next) {
        if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE || node->length == 0)
            continue;
        const size_t at = size_t(node->surface - bytes.data());
        if (at + node->length > size_t(bytes.size()))
            continue;
        Morpheme m;
        m.from = offset + unitAt[at];
        m.length = offset + unitAt[at + node->length] - m.from;
        m.surface = text.mid(m.from - offset, m.length).toString();
        m.features = QString::fromUtf8(node->feature).split(u',');
        if (uniDic_)
            m.features = ipaFields(m.features);
        out.append(std::move(m));
    }
    return out;
}

void Analyser::analyseChunk(QStringView text, qsizetype offset, QList<Morpheme> &out) const
{
    QByteArray bytes;
    std::vector<qsizetype> unitAt;
    toUtf8(text, bytes, unitAt);
    auto *tagger = static_cast<mecab_t *>(tagger_);
    std::lock_guard lock(mutex_);
    QList<Morpheme> best = words(mecab_sparse_tonode2(tagger, bytes.data(), size_t(bytes.size())), text, offset, bytes, unitAt);
    if (suffixBeginsPhrase(best) && mecab_nbest_init2(tagger, bytes.data(), size_t(bytes.size()))) {
        mecab_nbest_next_tonode(tagger); // the best again
        for (int i = 0; i < kAlternatives; ++i) {
            const mecab_node_t *next = mecab_nbest_next_tonode(tagger);
            if (!next)
                break;
            QList<Morpheme> other = words(next, text, offset, bytes, unitAt);
            if (!suffixBeginsPhrase(other)) {
                best = std::move(other);
                break;
            }
        }
    }
    out.append(best);
}

} // namespace kel
