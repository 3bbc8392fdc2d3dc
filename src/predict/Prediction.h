#pragma once
// Prediction as the window uses it: the user's history, the packaged model
// and their blend, the file of texts read aloud, and the settings. The
// history is learned on a thread of its own once the window is up, so that
// neither the start nor a touch waits for the dictionary's readings; until
// then (and with On=0) no candidates are offered.

#include "predict/BlendPredictor.h"
#include "predict/HistoryModel.h"
#include "predict/PackagedModel.h"
#include "predict/PredictSettings.h"
#include "predict/ReadHistory.h"

#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>
#include <utility>

namespace kel {

class Analyser;

// Every sentence of `texts` as the user would have typed it.
QList<KanaSentence> kanaSentences(const QStringList &texts, const Analyser *analyser);

class Prediction : public QObject {
    Q_OBJECT
public:
    Prediction();
    ~Prediction() override;

    PredictSettings settings() const { return settings_; }
    void setSettings(const PredictSettings &s) { settings_ = s; }
    bool active() const { return settings_.on && loaded_; }

    // Learns `texts` (the stored sentences and entries) and the data
    // folder's read.txt on a thread; `analyser` is asked there, once the
    // dictionary is ready. `loaded()` follows on this object's thread.
    void startLoading(const QString &dataFolder, const QStringList &texts,
                      std::function<const Analyser *()> analyser);
    // The same, at once (tests and --predict).
    void loadNow(const QString &dataFolder, const QStringList &texts, const Analyser *analyser);

    // Up to Count candidates for the text in front of the caret.
    QList<Candidate> candidates(QStringView context) const;

    // A sentence or entry the user stored: counts at once.
    void learn(const QString &text);
    // A candidate taken (the whole text it left in front of the caret): the
    // sentence it ends counts at once, as the user's own words.
    void took(const QString &candidate);
    // The notice a load leaves for the user ("" when there is none): read.txt
    // could not be read correctly, so nothing read aloud will be kept.
    QString takeLoadNotice() { return std::exchange(loadNotice_, QString()); }
    // A text read aloud: counts at once and is kept in read.txt; the notice
    // when it could not be kept ("" when it was).
    QString saidAloud(const QString &text);
    // Forgets read.txt and what was learned from it ("履歴を消す"); the
    // stored sentences and entries stay, as they are the user's own files.
    QString clearHistory(const QStringList &texts);

    const HistoryModel &history() const { return *history_; }

    struct Loaded;

signals:
    void loaded();

private:
    void take(Loaded &&l);
    QString noticeOf(const std::optional<StoreProblem> &problem) const;

    PredictSettings settings_;
    std::unique_ptr<HistoryModel> history_;
    std::unique_ptr<PackagedModel> packaged_;
    std::unique_ptr<BlendPredictor> blend_;
    std::unique_ptr<ReadHistory> readFile_;
    std::function<const Analyser *()> analyser_;
    bool loaded_ = false;
    QString loadNotice_;
};

} // namespace kel
