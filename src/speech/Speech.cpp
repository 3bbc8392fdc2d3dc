#include "speech/Speech.h"

#include "base/Clock.h"
#include "frame/TextPanel.h"
#include "speech/FrmRead.h"
#include "speech/VoiceFilter.h"
#include "speech/WavName.h"
#include "speech/WavePlayer.h"
#include "widgets/ColorButton.h"
#include "widgets/Platform.h"
#include "widgets/TalkBox.h"
#include "widgets/TwipsLayout.h"

#include <QFrame>
#include <QPointer>

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
// the bottom band.
constexpr QPoint kStopPanelTwips(30, 6600);

} // namespace

Nanos Speech::playChar(const QString &ch)
{
    const Nanos started = t_.sv.clock->now();
    // An own recording in the data folder wins over the default set.
    const std::optional<QString> path = soundFileFor(t_.st.AppPath, t_.st.SoundSetPath, ch);
    if (path)
        t_.sv.player->play(*path);
    else
        t_.sv.player->close();   // the previous sound is cut all the same
    return started;
}

void Speech::SpeakChar(const QString &ch, double pace, const QString &mode)
{
    if (!shouldSpeak(t_.st.option(OPT3), mode))
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
    setTextPanelWide(t_, false);
    SpeakingScope speaking(t_.st);
    t_.doEvents();

    QPointer<FrmRead> panel = new FrmRead(t_.layout.map(), [this] { t_.st.StopRead = true; }, u.frmTalk);
    panel->setAttribute(Qt::WA_DeleteOnClose);
    panel->placeAt(u.canvas->mapToGlobal(t_.layout.map().px(QRect(kStopPanelTwips, QSize(1, 1))).topLeft()));
    panel->show();

    t_.st.StopRead = false;
    u.cmdRead->setEnabled(false);
    u.cmdRead->setText(QStringLiteral("♪"));

    const qsizetype n = box.text().size();
    for (qsizetype i = 1; i <= n && !t_.st.Quitting; ++i) {
        const QString text = box.text();
        if (text.isEmpty())
            break;
        const Nanos started = playChar(text.mid(i - 1, 1));
        waitMoreThan(*t_.sv.clock, started, t_.st.ReadingPace);
        t_.doEvents();
        if (t_.st.StopRead || t_.st.Quitting)
            break;
        box.setFocus();
        if (box.text().size() >= i + 1) {
            box.setSelStart(i);
            box.setSelLength(1);
        } else {
            box.setSelStart(i);
        }
    }

    if (panel)
        panel->closeByProgram();
    QString text = box.text();
    if (!text.endsWith(QLatin1Char('_'))) {
        text += QLatin1Char('_');
        box.setText(text);
    }
    box.setSelStart(text.size() - 1);
    box.setSelLength(1);
    if (!u.fraDay->isVisible())
        setTextPanelNarrow(t_);
    u.cmdRead->setText(QStringLiteral("読む"));
    u.cmdRead->setEnabled(true);
}

} // namespace kel
