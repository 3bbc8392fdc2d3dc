#include "predict/PredictPage.h"

#include "base/SettingsStore.h"
#include "widgets/ColorButton.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QSpinBox>

namespace kel {
namespace {

PredictSettings stored(const SettingsStore &store)
{
    return readPredictSettings([&store](const QString &key) {
        return store.path().isEmpty() ? std::nullopt : store.valueIn(QString::fromLatin1(kPredictGroup), key);
    });
}

} // namespace

PredictPage::PredictPage(std::function<void()> clear, QWidget *parent)
    : QGroupBox(QStringLiteral("言葉の予測"), parent)
{
    setObjectName(QStringLiteral("pagePredict"));
    on_ = new QCheckBox(QStringLiteral("続きの言葉を出す"), this);
    on_->setObjectName(QStringLiteral("chkPredict"));
    strip_ = new QCheckBox(QStringLiteral("文字盤の上にも一列出す"), this);
    strip_->setObjectName(QStringLiteral("chkPredictStrip"));
    count_ = new QSpinBox(this);
    count_->setObjectName(QStringLiteral("spnPredictCount"));
    count_->setRange(1, kMaxCandidates);
    count_->setSuffix(QStringLiteral(" 個"));
    count_->setMinimumHeight(40);
    clear_ = new ColorButton(QStringLiteral("履歴を消す"), QColor(255, 192, 192), this);
    clear_->setObjectName(QStringLiteral("cmdPredictClear"));
    clear_->setMinimumHeight(40);
    clear_->setEnabled(bool(clear));
    connect(clear_, &QPushButton::clicked, this, [clear] {
        if (clear)
            clear();
    });
    // Narrow, so that the settings dialog still fits an 800 x 600 screen.
    auto *grid = new QGridLayout(this);
    grid->addWidget(on_, 0, 0, 1, 2);
    grid->addWidget(strip_, 1, 0, 1, 2);
    grid->addWidget(count_, 2, 0);
    grid->addWidget(clear_, 2, 1);
    load(SettingsStore(QString()));
}

void PredictPage::load(const SettingsStore &store)
{
    const PredictSettings s = stored(store);
    on_->setChecked(s.on);
    count_->setValue(s.count);
    strip_->setChecked(s.strip);
}

bool PredictPage::save(SettingsStore &store) const
{
    const PredictSettings before = stored(store);
    const PredictSettings now{on_->isChecked(), count_->value(), strip_->isChecked()};
    // An untouched page leaves the file as it was.
    if (now == before)
        return true;
    return savePredictSettings(now, [&store](const QString &key, const QString &value) {
        return store.saveIn(QString::fromLatin1(kPredictGroup), key, value);
    });
}

} // namespace kel
