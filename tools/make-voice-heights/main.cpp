// make-voice-heights OUTDIR
// Records every mora of the default sound set once high and once low with
// espeak-ng's Japanese voice, beside the mora's own file: OUTDIR/か.high.wav
// and OUTDIR/か.low.wav next to OUTDIR/か.wav, so that a reading can say each
// mora at the height its accent phrase gives it, and the backup, the restore
// and the voice import carry the heights with the folder. A file already
// there is kept: a take recorded by the user at that height wins.

#include "reading/Morae.h"
#include "speech/SoundSet.h"
#include "speech/WavName.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>
#include <array>
#include <cstdio>

namespace {

// The synthesiser's pitch (0-99, 50 as the sound set is recorded) for each
// height: about two semitones above and below, measured on its "あ" (99 Hz
// at 50, 110 at 61, 89 at 39).
struct Height {
    const char *suffix;
    const char *pitch;
};
constexpr std::array kHeights{Height{".high", "61"}, Height{".low", "39"}};

bool isMora(const QString &text)
{
    return text == kel::toHiragana(text) && kel::splitMorae(text).size() == 1 && text.size() <= 2
           && std::all_of(text.begin(), text.end(), kel::isKana);
}

// `reading` said by the Japanese voice at `pitch` into `wavPath`; the
// reason when it fails.
QString record(const QString &reading, const char *pitch, const QString &wavPath)
{
    QProcess espeak;
    espeak.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    espeak.start(QStringLiteral("espeak-ng"), {QStringLiteral("-v"), QStringLiteral("ja"), QStringLiteral("-b"),
                                                QStringLiteral("1"), QStringLiteral("-p"), QString::fromLatin1(pitch),
                                                QStringLiteral("-w"), wavPath, reading});
    const bool ran = espeak.waitForFinished(30'000) && espeak.exitStatus() == QProcess::NormalExit;
    if (!ran || espeak.exitCode() != 0 || QFileInfo(wavPath).size() <= 44)
        return QStringLiteral("espeak-ng made no sound of ") + reading;
    return {};
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool help = args.size() == 2 && (args.at(1) == u"--help" || args.at(1) == u"-h");
    if (help || args.size() != 2 || args.at(1).startsWith(u'-')) {
        std::fputs("usage: make-voice-heights OUTDIR\n"
                   "Records each mora high and low beside its file in OUTDIR; files already there are kept.\n",
                   help ? stdout : stderr);
        return help ? 0 : 2;
    }
    int made = 0, kept = 0;
    // Moved into place only once whole, so an interrupted run leaves no
    // truncated file for the next run to keep.
    const QString partial = args.at(1) + QStringLiteral("/.make-voice-heights.partial.wav");
    for (const QString &mora : kel::soundSetCharacters()) {
        const auto own = kel::wavPathFor(args.at(1), mora);
        if (!isMora(mora) || !own)
            continue;
        for (const Height &height : kHeights) {
            QString target = *own;
            target.insert(target.size() - 4, QLatin1String(height.suffix));
            if (QFileInfo::exists(target)) {
                ++kept;
                continue;
            }
            QFile::remove(partial);
            const QString error = record(kel::readingFor(mora), height.pitch, partial);
            if (!error.isEmpty() || !QFile::rename(partial, target)) {
                QFile::remove(partial);
                std::fprintf(stderr, "make-voice-heights: %s\n", qPrintable(error.isEmpty() ? target : error));
                return 1;
            }
            ++made;
        }
    }
    std::printf("make-voice-heights: %d made, %d kept\n", made, kept);
    return 0;
}
