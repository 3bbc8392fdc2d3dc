#include "speech/Speech.h"

#include "base/Clock.h"
#include "base/SettingsStore.h"
#include "frame/Screens.h"
#include "reading/Dictionary.h"
#include "speech/AccentCues.h"
#include "speech/FrmRead.h"
#include "speech/SpeechSettings.h"
#include "speech/SpokenTimeline.h"
#include "speech/WavCodec.h"
#include "speech/VoiceFilter.h"
#include "speech/WavName.h"
#include "speech/WavePlayer.h"
#include "widgets/ColorButton.h"
#include "widgets/Platform.h"
#include "widgets/TalkBox.h"
#include "widgets/TwipsLayout.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFrame>
#include <QPointer>

#include <thread>

namespace kel {
namespace {

// Counts a stretch of speech for whoever waits for it to end.
struct SpeakingScope {
    explicit SpeakingScope(AppState &st) : st_(st) { ++st_.Speaking; }
    ~SpeakingScope()
    {
        --st_.Speaking;
        ++st_.SpeechEnded;
    }
    AppState &st_;
};

// Where the stop panel's client area stands in the window's design: over
// the bottom band, from the window's left edge and the band's top, so that
// no edge of "設定" or "終了" shows beside or above it.
constexpr QPoint kStopPanelTwips(0, 6420);

} // namespace

Speech::Speech(Talk &t) : t_(t)
{
}

std::optional<QString> Speech::soundFor(const QString &name) const
{
    return soundFileFor(t_.st.AppPath, t_.st.SoundSetPath, name);
}

void Speech::waitForDictionary()
{
    // A few milliseconds at most, once, and only for a reading that starts
    // right after start-up. The window keeps painting; touches wait for
    // the reading's own event step, as during any step. The window starts
    // the loading once it is shown; a reading before that starts it here.
    Dictionary::shared().load();
    while (!Dictionary::shared().ready()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

const QList<SpokenUnit> &Speech::unitsOf(const QString &text)
{
    if (text != analysed_ || units_.isEmpty()) {
        waitForDictionary();
        units_ = spokenUnits(text, Dictionary::shared().analyser());
        analysed_ = text;
    }
    return units_;
}

Nanos Speech::playMora(const QString &mora)
{
    const Nanos started = t_.sv.clock->now();
    const std::vector<Cue> cues = moraCues(mora, 0, [this](const QString &name) { return soundFor(name); });
    if (!cues.front().path.isEmpty())
        t_.sv.player->playStep(cues.front().path);
    else
        t_.sv.player->close();
    return started;
}

Nanos Speech::playChar(const QString &ch, bool step)
{
    const Nanos started = t_.sv.clock->now();
    // An own recording in the data folder wins over the default set.
    const std::optional<QString> path = soundFileFor(t_.st.AppPath, t_.st.SoundSetPath, ch);
    if (path && step)
        t_.sv.player->playStep(*path);
    else if (path)
        t_.sv.player->play(*path);
    else
        t_.sv.player->close();   // the previous sound is cut all the same
    return started;
}

void Speech::SpeakChar(const QString &ch, double pace, const QString &mode)
{
    if (!shouldSpeak(int(t_.st.number(OPT3)), mode))
        return;
    SpeakingScope speaking(t_.st);
    t_.st.StopRead = false;
    const Nanos started = playChar(ch);
    waitMoreThan(*t_.sv.clock, started, pace);
    t_.doEvents();
    t_.st.StopRead = true;
}

void Speech::cmdRead_Click()
{
    Controls &u = t_.ui;
    TalkBox &box = *u.txtTalk;
    if (t_.st.beepOn())
        t_.sv.platform->beep();
    t_.screens->ask(ScreenEvent::ReadingStarted);
    SpeakingScope speaking(t_.st);
    t_.doEvents();

    QPointer<FrmRead> panel = new FrmRead(t_.layout.map(), [this] { t_.st.StopRead = true; }, u.frmTalk);
    panel->setAttribute(Qt::WA_DeleteOnClose);
    panel->placeAt(u.canvas->mapToGlobal(t_.layout.map().px(QRect(kStopPanelTwips, QSize(1, 1))).topLeft()));
    panel->show();

    t_.st.StopRead = false;
    u.cmdRead->setEnabled(false);
    u.cmdRead->setText(QStringLiteral("♪"));

    const SpeechSettings how = readSpeechSettings([this](const QString &key) {
        return t_.sv.store ? t_.sv.store->valueIn(QString::fromLatin1(kSpeechGroup), key) : std::nullopt;
    });
    if (how.spoken)
        readSpoken(how.rate, how.accent);
    else
        readCharacters();

    if (panel)
        panel->closeByProgram();
    QString text = box.text();
    if (!text.endsWith(QLatin1Char('_'))) {
        text += QLatin1Char('_');
        box.setText(text);
    }
    box.setSelStart(text.size() - 1);
    box.setSelLength(1);
    t_.screens->ask(ScreenEvent::ReadingEnded);
    u.cmdRead->setText(QStringLiteral("読む"));
    u.cmdRead->setEnabled(true);
}

void Speech::readCharacters()
{
    TalkBox &box = *t_.ui.txtTalk;
    const qsizetype n = box.text().size();
    for (qsizetype i = 1; i <= n && !t_.st.Quitting; ++i) {
        const QString text = box.text();
        if (text.isEmpty())
            break;
        const QString ch = text.mid(i - 1, 1);
        // A character without a sound of its own (a kanji) is read by its
        // reading in context, a step for each mora, the highlight staying
        // on it; "っ" in a reading is a silent step.
        QStringList morae;
        if (!ch.isEmpty() && !soundFor(ch)) {
            for (const SpokenUnit &u : unitsOf(text))
                if (u.from == i - 1 && (u.kind == SpokenUnit::Mora || u.kind == SpokenUnit::Hold))
                    morae.append(u.text);
        }
        bool stop = false;
        for (qsizetype m = 0; m < std::max<qsizetype>(1, morae.size()) && !stop; ++m) {
            const Nanos started = morae.isEmpty() ? playChar(ch, true)
                                                  : playMora(morae[m] == u"っ" ? QString() : morae[m]);
            waitMoreThan(*t_.sv.clock, started, t_.st.ReadingPace);
            t_.doEvents();
            stop = t_.st.StopRead || t_.st.Quitting;
        }
        if (stop)
            break;
        box.setFocus();
        if (box.text().size() >= i + 1) {
            box.setSelStart(i);
            box.setSelLength(1);
        } else {
            box.setSelStart(i);
        }
    }
}

void Speech::readSpoken(int rate, bool accent)
{
    TalkBox &box = *t_.ui.txtTalk;
    QString text = box.text();
    if (text.endsWith(QLatin1Char('_')))
        text.chop(1); // the end marker is not part of the message
    const QList<SpokenUnit> &units = unitsOf(text);
    const CueShaper shape = accentShaper(accent ? accentOf(text, units) : QList<AccentedUnit>{},
                                         [](const QString &path) { return QFileInfo(path).isFile(); });
    const SpokenTimeline line = spokenTimeline(units, rate, [this](const QString &name) { return soundFor(name); }, shape);
    const Nanos start = t_.sv.clock->now();
    t_.sv.player->playTimeline(line.cues, line.endFrame);
    for (qsizetype b = 0; b < line.beatUnit.size() && !t_.st.Quitting; ++b) {
        const qsizetype u = line.beatUnit[b];
        if (b == 0 || line.beatUnit[b - 1] != u) {
            // The highlight on the characters being spoken.
            const qsizetype size = box.text().size();
            box.setFocus();
            box.setSelStart(std::min(units[u].from, size));
            box.setSelLength(std::clamp<qsizetype>(units[u].length, 0, size - std::min(units[u].from, size)));
        }
        waitMoreThan(*t_.sv.clock, start, double(beatFrame(b + 1, rate)) / kPlaybackRate);
        t_.doEvents();
        if (t_.st.StopRead || t_.st.Quitting) {
            t_.sv.player->close();
            break;
        }
    }
}

} // namespace kel
