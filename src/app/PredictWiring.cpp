#include "app/PredictWiring.h"

#include "app/OwnWords.h"
#include "base/SettingsStore.h"
#include "board/BoardLayout.h"
#include "frame/FrmOK.h"
#include "predict/CandidateRow.h"
#include "reading/Dictionary.h"
#include "widgets/ColorButton.h"
#include "widgets/FlexGrid.h"
#include "widgets/TalkBox.h"
#include "widgets/TwipsLayout.h"

#include <QFrame>
#include <QTimer>
#include <chrono>
#include <thread>

namespace kel {
namespace {

// The text a reading or a store took, without the end marker.
QString message(const Talk &t)
{
    QString text = t.ui.txtTalk->text();
    if (text.endsWith(u'_'))
        text.chop(1);
    return text;
}

void notice(Talk &t, const QString &what)
{
    if (!what.isEmpty())
        AskUser(t, what, kAskNotice, QStringLiteral("言葉の予測"));
}

} // namespace

PredictWiring::PredictWiring(Talk &t)
    : t_(t), row_(new CandidateRow(t.ui.fraSet)), strip_(new CandidateRow(t.ui.canvas, QStringLiteral("Strip")))
{
    t_.prediction = &prediction_;
    t_.layout.add(row_, t_.layout.rect(t_.ui.cmdspace), {});
    row_->hide();
    area_ = t_.layout.rect(t_.ui.grdBoard);
    t_.layout.add(strip_, stripPlaces(area_, kBoardRows).strip, {});
    strip_->hide();
    // Connected before the handlers of these buttons, so that the text is
    // taken as the user sees it.
    QObject::connect(t_.ui.cmdRead, &QPushButton::clicked, &prediction_,
                     [this] { notice(t_, prediction_.saidAloud(message(t_))); });
    QObject::connect(t_.ui.cmdSampADD, &QPushButton::clicked, &prediction_,
                     [this] { prediction_.learn(message(t_)); });
    QObject::connect(&prediction_, &Prediction::loaded, this, [this] {
        loading_ = false;
        updateStrip();
        notice(t_, prediction_.takeLoadNotice());
    });
    QObject::connect(t_.ui.txtTalk, &QPlainTextEdit::textChanged, this, [this] { updateStripLater(); });
    QObject::connect(t_.ui.txtTalk, &QPlainTextEdit::cursorPositionChanged, this, [this] { updateStripLater(); });
    for (QWidget *w : std::initializer_list<QWidget *>{t_.ui.grdBoard, t_.ui.grdSp, t_.ui.grdEx, t_.ui.grdDay})
        w->installEventFilter(this);
}

void PredictWiring::setStripTake(std::function<void(const QString &)> take)
{
    strip_->setTake(std::move(take));
}

void PredictWiring::readSettings()
{
    if (!t_.sv.store)
        return;
    const SettingsStore &store = *t_.sv.store;
    prediction_.setSettings(readPredictSettings(
        [&store](const QString &key) { return store.valueIn(QString::fromLatin1(kPredictGroup), key); }));
    updateStrip();
    if (!prediction_.settings().on || loading_ || prediction_.active())
        return;
    startLoading();
}

void PredictWiring::relearn()
{
    if (prediction_.settings().on)
        startLoading();
}

void PredictWiring::startLoading()
{
    loading_ = true;
    QStringList notices;
    const QStringList texts = ownTexts(t_.st.AppPath, &notices);
    // The dictionary opens on a thread of its own; the learning waits for
    // it on another, so that the window never does.
    prediction_.startLoading(t_.st.AppPath, texts, [] {
        Dictionary &d = Dictionary::shared();
        d.load();
        while (!d.ready())
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return d.analyser();
    });
    for (const QString &n : notices)
        notice(t_, n);
}

bool PredictWiring::stripWanted() const
{
    const int rule = int(t_.st.number(OPT1));
    return prediction_.active() && (prediction_.settings().strip || rule == 2 || rule == 3);
}

bool PredictWiring::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::Show || e->type() == QEvent::Hide) {
        // A list over the board takes the strip's row as well: it is laid
        // over the board's place, which the strip shortened.
        auto *w = static_cast<QWidget *>(watched);
        if (e->type() == QEvent::Show && w != t_.ui.grdBoard && t_.layout.rect(w) == t_.layout.rect(t_.ui.grdBoard))
            t_.layout.setRect(w, area_);
        if (w == t_.ui.grdBoard)
            updateStripLater();
    }
    return false;
}

void PredictWiring::updateStripLater()
{
    // The text changes in several steps for one touch: the candidates follow
    // once, when the touch is done.
    if (std::exchange(stripPending_, true))
        return;
    QTimer::singleShot(0, this, [this] {
        stripPending_ = false;
        updateStrip();
    });
}

void PredictWiring::updateStrip()
{
    const bool wanted = stripWanted();
    const QRect board = wanted ? stripPlaces(area_, kBoardRows).board : area_;
    if (t_.layout.rect(t_.ui.grdBoard) != board)
        t_.layout.setRect(t_.ui.grdBoard, board);
    const bool shown = wanted && t_.ui.grdBoard->isVisible();
    if (shown) {
        TalkBox &box = *t_.ui.txtTalk;
        const QString before = box.text().left(box.selStart());
        // Filled only when the text changed, so that nothing moves under a
        // pointer resting on a candidate.
        if (!strip_->isVisible() || before != stripFor_) {
            stripFor_ = before;
            strip_->setVisible(true);
            strip_->fill(prediction_.candidates(before), stripCaptionStart(before));
        }
    }
    strip_->setVisible(shown);
}

void askClearPredictHistory(Talk &t)
{
    if (!t.prediction)
        return;
    AskUser(t, QStringLiteral("読み上げの履歴を消してもよろしいですか？"), kAskOkCancel, QStringLiteral("履歴を消す"));
    if (!t.st.AskAnswer)
        return;
    notice(t, t.prediction->clearHistory(ownTexts(t.st.AppPath, nullptr)));
}

} // namespace kel
