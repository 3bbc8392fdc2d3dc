// make-voice-heights FOLDER
// Makes every mora of the sound set in FOLDER once high and once low, beside
// its own file: FOLDER/か.high.wav and FOLDER/か.low.wav next to FOLDER/か.wav,
// so that a reading can say each mora at the height its accent phrase gives
// it, and the backup, the restore and the voice import carry the heights
// with the folder. A height already there is kept: a take recorded by the
// user at that height wins.
//
// The heights are the mora's own sound pitch-shifted with its formants kept
// (speech/MoraHeights.h), not recorded again: they keep its length and the
// place of its vowel exactly, so the beat a reading lays the sound on holds
// for its heights too, and the whole set takes a second or two rather than
// another run of the synthesiser for every mora.

#include "reading/Morae.h"
#include "speech/MoraHeights.h"
#include "speech/SoundSet.h"
#include "speech/WavName.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>

namespace {

bool isMora(const QString &text)
{
    return text == kel::toHiragana(text) && kel::splitMorae(text).size() == 1 && text.size() <= 2
           && std::all_of(text.begin(), text.end(), kel::isKana);
}

// Written under a name no mora can have and moved into place only once
// whole, so that an interrupted run leaves no truncated file for the next
// run to keep.
bool writeNew(const QString &target, const QByteArray &bytes, const QString &partial)
{
    QFile file(partial);
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size()
                         && file.flush();
    file.close();
    if (written && QFile::rename(partial, target))
        return true;
    QFile::remove(partial);
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool help = args.size() == 2 && (args.at(1) == u"--help" || args.at(1) == u"-h");
    if (help || args.size() != 2 || args.at(1).startsWith(u'-')) {
        std::fputs("usage: make-voice-heights FOLDER\n"
                   "Makes each mora of FOLDER high and low beside its file; heights already there are kept.\n",
                   help ? stdout : stderr);
        return help ? 0 : 2;
    }
    QElapsedTimer took;
    took.start();
    int made = 0, kept = 0, flat = 0;
    const QString partial = args.at(1) + QStringLiteral("/.make-voice-heights.partial.wav");
    for (const QString &mora : kel::soundSetCharacters()) {
        const auto own = kel::wavPathFor(args.at(1), mora);
        if (!isMora(mora) || !own || !QFileInfo(*own).isFile())
            continue;
        const QString high = kel::heightPath(*own, true), low = kel::heightPath(*own, false);
        if (QFileInfo::exists(high) && QFileInfo::exists(low)) {
            ++kept;
            continue;
        }
        QFile file(*own);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "make-voice-heights: cannot read %s\n", qPrintable(*own));
            return 1;
        }
        // A mora with no pitch to move (a whispered or voiceless take)
        // keeps its one height: the reading plays it as it is.
        const std::optional<kel::MadeHeights> heights = kel::makeHeights(file.readAll());
        if (!heights) {
            ++flat;
            continue;
        }
        for (const auto &[target, bytes] : {std::pair{high, heights->high}, std::pair{low, heights->low}}) {
            if (QFileInfo::exists(target))
                continue;
            if (!writeNew(target, bytes, partial)) {
                std::fprintf(stderr, "make-voice-heights: cannot write %s\n", qPrintable(target));
                return 1;
            }
        }
        ++made;
    }
    std::printf("make-voice-heights: %d morae made high and low, %d kept, %d without a pitch, in %lld ms\n", made,
                kept, flat, static_cast<long long>(took.elapsed()));
    return 0;
}
