#include "reading/Analyser.h"

#include <mecab.h>

#include <string>
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

// UTF-8 for MeCab, with the UTF-16 index where each byte's character starts;
// a lone surrogate goes in as U+FFFD so that the two stay in step.
void toUtf8(QStringView text, std::string &bytes, std::vector<qsizetype> &unitAt)
{
    bytes.clear();
    unitAt.clear();
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t cp = text.at(i).unicode();
        const qsizetype start = i;
        if (QChar::isHighSurrogate(cp) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            cp = QChar::surrogateToUcs4(text.at(i), text.at(++i));
        else if (QChar::isSurrogate(cp) || cp == 0)
            cp = 0xFFFD;
        char buf[4];
        int n;
        if (cp < 0x80) {
            buf[0] = char(cp), n = 1;
        } else if (cp < 0x800) {
            buf[0] = char(0xC0 | cp >> 6), buf[1] = char(0x80 | (cp & 0x3F)), n = 2;
        } else if (cp < 0x10000) {
            buf[0] = char(0xE0 | cp >> 12), buf[1] = char(0x80 | (cp >> 6 & 0x3F)), buf[2] = char(0x80 | (cp & 0x3F)), n = 3;
        } else {
            buf[0] = char(0xF0 | cp >> 18), buf[1] = char(0x80 | (cp >> 12 & 0x3F)), buf[2] = char(0x80 | (cp >> 6 & 0x3F)),
            buf[3] = char(0x80 | (cp & 0x3F)), n = 4;
        }
        bytes.append(buf, size_t(n));
        unitAt.insert(unitAt.end(), size_t(n), start);
    }
    unitAt.push_back(text.size());
}

} // namespace

Analyser::~Analyser()
{
    mecab_destroy(static_cast<mecab_t *>(tagger_));
}

std::unique_ptr<Analyser> Analyser::open(QString *why)
{
    mecab_t *tagger = mecab_new2("");
    if (!tagger) {
        if (why)
            *why = QString::fromUtf8(mecab_strerror(nullptr)).trimmed();
        return nullptr;
    }
    // A dictionary that opens but answers nothing sensible is no dictionary.
    const char *probe = "水";
    const mecab_node_t *node = mecab_sparse_tonode(tagger, probe);
    bool sane = false;
    for (; node; node = node->next)
        if (node->stat == MECAB_NOR_NODE && node->length == 3)
            sane = true;
    if (!sane) {
        if (why)
            *why = QStringLiteral("the dictionary does not know \"水\"");
        mecab_destroy(tagger);
        return nullptr;
    }
    return std::unique_ptr<Analyser>(new Analyser(tagger));
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

void Analyser::analyseChunk(QStringView text, qsizetype offset, QList<Morpheme> &out) const
{
    std::string bytes;
    std::vector<qsizetype> unitAt;
    toUtf8(text, bytes, unitAt);
    std::lock_guard lock(mutex_);
    const mecab_node_t *node = mecab_sparse_tonode2(static_cast<mecab_t *>(tagger_), bytes.data(), bytes.size());
    for (; node; node = node->next) {
        if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE || node->length == 0)
            continue;
        const size_t at = size_t(node->surface - bytes.data());
        if (at + node->length > bytes.size())
            continue;
        Morpheme m;
        m.from = offset + unitAt[at];
        m.length = offset + unitAt[at + node->length] - m.from;
        m.surface = text.mid(m.from - offset, m.length).toString();
        m.features = QString::fromUtf8(node->feature).split(u',');
        out.append(std::move(m));
    }
}

} // namespace kel
