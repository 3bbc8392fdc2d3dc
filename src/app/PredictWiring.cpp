#include "app/PredictWiring.h"

#include "app/OwnWords.h"
#include "base/SettingsStore.h"
#include "frame/FrmOK.h"
#include "predict/CandidateRow.h"
#include "reading/Dictionary.h"
#include "widgets/ColorButton.h"
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

PredictWiring::PredictWiring(Talk &t) : t_(t), row_(new CandidateRow(t.ui.fraSet))
{
    t_.prediction = &prediction_;
    t_.layout.add(row_, t_.layout.rect(t_.ui.cmdspace), {});
    row_->hide();
    // Connected before the handlers of these buttons, so that the text is
    // taken as the user sees it.
    QObject::connect(t_.ui.cmdRead, &QPushButton::clicked, &prediction_,
                     [this] { notice(t_, prediction_.saidAloud(message(t_))); });
    QObject::connect(t_.ui.cmdSampADD, &QPushButton::clicked, &prediction_,
                     [this] { prediction_.learn(message(t_)); });
}

void PredictWiring::readSettings()
{
    if (!t_.sv.store)
        return;
    const SettingsStore &store = *t_.sv.store;
    prediction_.setSettings(readPredictSettings(
        [&store](const QString &key) { return store.valueIn(QString::fromLatin1(kPredictGroup), key); }));
    if (!prediction_.settings().on || loading_)
        return;
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
