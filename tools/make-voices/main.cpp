// make-voices OUTDIR
// Records the default sound set with espeak-ng's Japanese voice: one
// OUTDIR/<character>.wav for every text the board can enter, and
// OUTDIR/<mora>.wav for every pair the spoken reading plays as one mora
// ("きゃ.wav", "てぃ.wav"). A file that is
// already there is kept, so recordings of the user's own voice always win.
// The synthesiser is started directly with an argument list, never through a
// shell, since characters such as "(^_^)", ";" or "?" are part of file names.
// A mora is said fast and its silences are cut, so that it fits the beat of
// read speech (0.125 s at 8 morae a second); names of several morae ("ちいさい
// つ", "びー") keep the voice's own pace for the board's feedback.

#include "reading/Morae.h"
#include "speech/SoundSet.h"
#include "speech/WavCodec.h"
#include "speech/WavName.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <cstdio>

namespace {

constexpr int kSynthTimeoutMs = 30'000;

void say(FILE *stream, const QString &line)
{
    std::fputs(qPrintable(line + QChar(u'\n')), stream);
    std::fflush(stream);
}

// Words a minute: the voice's own pace, and the pace of a single mora
// (at 330 a mora lasts about 0.11 s once its silences are cut).
constexpr int kNamePace = 175, kMoraPace = 330;

// Cuts the silence before and after the sound of `wavPath`, keeping 5 ms
// before its first audible sample and fading out over 10 ms after its
// last. "" on success.
QString trimSilence(const QString &wavPath)
{
    QFile file(wavPath);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read ") + wavPath;
    QString why;
    const std::optional<kel::Audio> audio = kel::decodeWav(file.readAll(), &why);
    file.close();
    if (!audio)
        return why;
    std::vector<float> mono = kel::toMono(*audio);
    constexpr float kAudible = 0.01f; // of full scale
    const auto loud = [](float v) { return std::abs(v) > kAudible; };
    const auto first = std::find_if(mono.begin(), mono.end(), loud);
    if (first == mono.end())
        return QStringLiteral("espeak-ng wrote only silence");
    const auto last = std::find_if(mono.rbegin(), mono.rend(), loud).base();
    const long rate = audio->rate, lead = rate / 200, fade = rate / 100;
    const long from = std::max<long>(0, long(first - mono.begin()) - lead);
    const long to = std::min<long>(long(mono.size()), long(last - mono.begin()) + fade);
    std::vector<float> kept(mono.begin() + from, mono.begin() + to);
    for (long i = 0; i < fade && i < long(kept.size()); ++i)
        kept[kept.size() - 1 - size_t(i)] *= float(i) / float(fade);
    if (!file.open(QIODevice::WriteOnly) || file.write(kel::encodeWav16(kept, int(rate))) <= 0 || !file.flush())
        return QStringLiteral("cannot write ") + wavPath;
    return {};
}

// Writes `reading` spoken by the Japanese voice to `wavPath`; "" on success,
// else what went wrong.
QString synthesise(const QString &reading, const QString &wavPath)
{
    const bool oneMora = kel::splitMorae(reading).size() <= 1 || reading.startsWith(u"[[");
    QProcess espeak;
    espeak.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    espeak.start(QStringLiteral("espeak-ng"),
                 {QStringLiteral("-v"), QStringLiteral("ja"), QStringLiteral("-b"), QStringLiteral("1"), QStringLiteral("-s"),
                  QString::number(oneMora ? kMoraPace : kNamePace), QStringLiteral("-w"), wavPath, reading});
    if (!espeak.waitForStarted())
        return QStringLiteral("cannot start espeak-ng: ") + espeak.errorString();
    if (!espeak.waitForFinished(kSynthTimeoutMs)) {
        espeak.kill();
        espeak.waitForFinished();
        return QStringLiteral("espeak-ng did not finish");
    }
    if (espeak.exitStatus() != QProcess::NormalExit || espeak.exitCode() != 0)
        return QStringLiteral("espeak-ng failed with exit code %1").arg(espeak.exitCode());
    if (QFileInfo(wavPath).size() <= 44) // a bare WAV header holds no sound
        return QStringLiteral("espeak-ng wrote no sound");
    return trimSilence(wavPath);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString usage = QStringLiteral("usage: make-voices OUTDIR\n"
                                         "Records one WAV file per character into OUTDIR; files already there are kept.");
    if (args.size() == 2 && (args.at(1) == u"--help" || args.at(1) == u"-h")) {
        say(stdout, usage);
        return 0;
    }
    // An option this tool does not have must not become a folder of WAVs.
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args.at(i).startsWith(u'-')) {
            say(stderr, QStringLiteral("make-voices: unknown option ") + args.at(i) + u'\n' + usage);
            return 2;
        }
    }
    if (args.size() != 2) {
        say(stderr, usage);
        return 2;
    }
    const QString outDir = QDir(args.at(1)).absolutePath();
    if (!QDir().mkpath(outDir)) {
        say(stderr, QStringLiteral("make-voices: cannot create folder ") + outDir);
        return 1;
    }

    // Written under a name no character can have, and moved into place only
    // when complete: an interrupted run never leaves a truncated file that
    // the next run would then keep.
    const QString partial = outDir + QStringLiteral("/.make-voices.partial.wav");
    const QStringList characters = kel::soundSetCharacters();
    const auto total = characters.size();
    int made = 0;
    int kept = 0;
    for (qsizetype i = 0; i < total; ++i) {
        const QString &ch = characters.at(i);
        const QString progress = QStringLiteral("[%1/%2] %3").arg(i + 1).arg(total).arg(ch);
        const auto target = kel::wavPathFor(outDir, ch);
        if (!target) {
            say(stdout, progress + QStringLiteral(" (no file name possible, skipped)"));
            continue;
        }
        if (QFileInfo::exists(*target)) {
            say(stdout, progress + QStringLiteral(" (kept)"));
            ++kept;
            continue;
        }
        say(stdout, progress);
        QFile::remove(partial);
        const QString error = kel::readingFor(ch).isEmpty()
                                  ? QStringLiteral("no reading")
                                  : synthesise(kel::readingFor(ch), partial);
        // rename() refuses to replace a file that appeared meanwhile.
        if (!error.isEmpty() || !QFile::rename(partial, *target)) {
            QFile::remove(partial);
            say(stderr, QStringLiteral("make-voices: %1: %2")
                            .arg(ch, error.isEmpty() ? QStringLiteral("cannot write ") + *target : error));
            return 1;
        }
        ++made;
    }
    say(stdout, QStringLiteral("make-voices: %1 made, %2 kept in %3").arg(made).arg(kept).arg(outDir));
    return 0;
}
