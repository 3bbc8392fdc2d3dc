#include "predict/Prediction.h"

#include "predict/KanaFold.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>
#include <thread>

namespace kel {

struct Prediction::Loaded {
    std::unique_ptr<HistoryModel> history;
    std::unique_ptr<PackagedModel> packaged;
    std::unique_ptr<ReadHistory> readFile;
};

namespace {

Prediction::Loaded loadAll(const QString &dataFolder, QStringList texts, const Analyser *analyser)
{
    Prediction::Loaded l;
    l.readFile = std::make_unique<ReadHistory>(dataFolder + QLatin1Char('/') + kReadHistoryFileName);
    texts << l.readFile->load();
    l.history = std::make_unique<HistoryModel>();
    l.history->learn(kanaSentences(texts, analyser));
    QString why;
    // Without the model (not installed, damaged) the history alone predicts.
    l.packaged = PackagedModel::open(PackagedModel::defaultFolder(), &why);
    return l;
}

} // namespace

QList<KanaSentence> kanaSentences(const QStringList &texts, const Analyser *analyser)
{
    QList<KanaSentence> out;
    for (const QString &text : texts) {
        for (const QString &s : splitSentences(text))
            out << kanaSentence(s, analyser);
    }
    return out;
}

Prediction::Prediction() : history_(std::make_unique<HistoryModel>()),
                           blend_(std::make_unique<BlendPredictor>(history_.get(), nullptr))
{
}

Prediction::~Prediction() = default;

void Prediction::startLoading(const QString &dataFolder, const QStringList &texts,
                              std::function<const Analyser *()> analyser)
{
    analyser_ = analyser;
    QPointer<Prediction> self(this);
    std::thread([self, dataFolder, texts, analyser] {
        auto l = std::make_shared<Loaded>(loadAll(dataFolder, texts, analyser()));
        // Handed over on the window's thread, where it is also known
        // whether this object is still there.
        QMetaObject::invokeMethod(QCoreApplication::instance(), [self, l] {
            if (!self)
                return;
            self->take(std::move(*l));
            emit self->loaded();
        }, Qt::QueuedConnection);
    }).detach();
}

void Prediction::take(Loaded &&l)
{
    history_ = std::move(l.history);
    packaged_ = std::move(l.packaged);
    readFile_ = std::move(l.readFile);
    blend_ = std::make_unique<BlendPredictor>(history_.get(), packaged_.get());
    loaded_ = true;
    loadNotice_ = readFile_->mayOverwrite() ? QString() : readHistoryNotices().fileProtected;
}

void Prediction::loadNow(const QString &dataFolder, const QStringList &texts, const Analyser *analyser)
{
    analyser_ = [analyser] { return analyser; };
    take(loadAll(dataFolder, texts, analyser));
}

QList<Candidate> Prediction::candidates(QStringView context) const
{
    if (!active())
        return {};
    return blend_->predict(context, settings_.count);
}

void Prediction::learn(const QString &text)
{
    if (!loaded_)
        return;
    for (const KanaSentence &s : kanaSentences({text}, analyser_ ? analyser_() : nullptr))
        history_->learn(s);
}

void Prediction::took(const QString &candidate)
{
    learn(candidate.mid(sentenceStart(candidate)));
}

QString Prediction::saidAloud(const QString &text)
{
    if (!loaded_)
        return {};
    learn(text);
    return noticeOf(readFile_->add(text));
}

QString Prediction::clearHistory(const QStringList &texts)
{
    if (!loaded_)
        return {};
    const QString notice = noticeOf(readFile_->clear());
    history_->clear();
    history_->learn(kanaSentences(texts, analyser_ ? analyser_() : nullptr));
    return notice;
}

QString Prediction::noticeOf(const std::optional<StoreProblem> &problem) const
{
    return problem ? noticeFor(*problem, readHistoryNotices()) : QString();
}

} // namespace kel
