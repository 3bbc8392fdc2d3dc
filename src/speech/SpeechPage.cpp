#include "speech/SpeechPage.h"

#include "base/SettingsStore.h"
#include "speech/SpokenTimeline.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QSpinBox>

namespace kel {

SpeechPage::SpeechPage(QWidget *parent) : QGroupBox(QStringLiteral("話し方"), parent)
{
    setObjectName(QStringLiteral("pageSpeech"));
    spoken_ = new QCheckBox(QStringLiteral("話すように読む\n（拍にそろえて）"), this);
    spoken_->setObjectName(QStringLiteral("chkSpoken"));
    rate_ = new QSpinBox(this);
    rate_->setObjectName(QStringLiteral("spnRate"));
    rate_->setRange(kMinRate, kMaxRate);
    rate_->setSuffix(QStringLiteral(" 拍/秒"));
    rate_->setMinimumHeight(40);
    accent_ = new QCheckBox(QStringLiteral("高さをつけて話す"), this);
    accent_->setObjectName(QStringLiteral("chkAccent"));
    auto *form = new QFormLayout(this);
    // Close rows, so that the dialog with every page still fits 800 x 600.
    form->setVerticalSpacing(2);
    form->addRow(spoken_);
    form->addRow(QStringLiteral("速さ"), rate_);
    form->addRow(accent_);
    load(SettingsStore(QString()));
}

void SpeechPage::load(const SettingsStore &store)
{
    const SpeechSettings s = readSpeechSettings([&store](const QString &key) {
        return store.path().isEmpty() ? std::nullopt : store.valueIn(QString::fromLatin1(kSpeechGroup), key);
    });
    spoken_->setChecked(s.spoken);
    rate_->setValue(s.rate);
    accent_->setChecked(s.accent);
}

bool SpeechPage::save(SettingsStore &store) const
{
    const SpeechSettings now{spoken_->isChecked(), rate_->value(), accent_->isChecked()};
    const SpeechSettings stored = readSpeechSettings([&store](const QString &key) {
        return store.valueIn(QString::fromLatin1(kSpeechGroup), key);
    });
    // Nothing is written while nothing changed, so that an untouched
    // dialog leaves the file as it was.
    if (now == stored)
        return true;
    return saveSpeechSettings(now, [&store](const QString &key, const QString &value) {
        return store.saveIn(QString::fromLatin1(kSpeechGroup), key, value);
    });
}

} // namespace kel
