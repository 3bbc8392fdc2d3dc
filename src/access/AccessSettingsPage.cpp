#include "access/AccessSettingsPage.h"

#include "access/ScanScreen.h"
#include "base/SettingsStore.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QSpinBox>

namespace kel {
namespace {

QComboBox *choice(QWidget *parent, std::initializer_list<const char *> captions)
{
    auto *c = new QComboBox(parent);
    for (const char *caption : captions)
        c->addItem(QString::fromUtf8(caption));
    return c;
}

QSpinBox *number(QWidget *parent, const AccessKey &k, const char *suffix)
{
    auto *s = new QSpinBox(parent);
    s->setRange(k.extra ? int(*k.extra) : int(k.low), int(k.high));
    s->setSuffix(QString::fromUtf8(suffix));
    if (k.extra)
        s->setSpecialValueText(QStringLiteral("なし"));
    return s;
}

} // namespace

AccessSettingsPage::AccessSettingsPage(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("accessSettingsPage"));
    auto *form = new QFormLayout(this);
    scan_ = choice(this, {"なし", "スイッチ１つ（自動）", "スイッチ２つ（送り・決定）"});
    step_ = number(this, kAccessKeys[1], " ms");
    first_ = new QDoubleSpinBox(this);
    first_->setRange(kAccessKeys[2].low, kAccessKeys[2].high);
    first_->setSingleStep(0.1);
    first_->setDecimals(1);
    rounds_ = number(this, kAccessKeys[3], "");
    order_ = choice(this, {"行から", "段から"});
    voice_ = choice(this, {"読まない", "読む"});
    accept_ = number(this, kAccessKeys[6], " ms");
    lock_ = number(this, kAccessKeys[7], " ms");
    mouse_ = choice(this, {"使わない", "使う"});
    dwell_ = number(this, kAccessKeys[9], " ms");
    pace_ = number(this, kAccessKeys[10], " ms");
    settings_ = choice(this, {"選べない", "選べる"});
    // Whether switches are used at all is the caregiver's to change: a
    // switch user who turned them off, or chose the other kind, could not
    // turn them back.
    scan_->setProperty(kNoScan, true);
    settings_->setProperty(kNoScan, true);
    form->addRow(QStringLiteral("スイッチ操作"), scan_);
    form->addRow(QStringLiteral("送りの速さ"), step_);
    form->addRow(QStringLiteral("最初の項目の長さ（倍）"), first_);
    form->addRow(QStringLiteral("戻るまでの回数"), rounds_);
    form->addRow(QStringLiteral("盤の順"), order_);
    form->addRow(QStringLiteral("項目を読む"), voice_);
    form->addRow(QStringLiteral("押す長さ"), accept_);
    form->addRow(QStringLiteral("次を受け付けない時間"), lock_);
    form->addRow(QStringLiteral("マウスのボタンをスイッチに"), mouse_);
    form->addRow(QStringLiteral("止めて選ぶ時間"), dwell_);
    form->addRow(QStringLiteral("読み上げの速さ（１文字）"), pace_);
    form->addRow(QStringLiteral("スイッチで「設定」を"), settings_);
    setValues(AccessSettings{});
}

void AccessSettingsPage::setValues(const AccessSettings &s)
{
    scan_->setCurrentIndex(s.Scan);
    step_->setValue(s.ScanStep);
    first_->setValue(s.ScanFirst);
    rounds_->setValue(s.ScanRounds);
    order_->setCurrentIndex(s.ScanOrder);
    voice_->setCurrentIndex(s.ScanVoice);
    accept_->setValue(s.SwitchAccept);
    lock_->setValue(s.SwitchLock);
    mouse_->setCurrentIndex(s.ScanMouse);
    // The spin box has no values between "off" and the shortest dwell.
    dwell_->setValue(s.Dwell);
    pace_->setValue(s.Pace);
    settings_->setCurrentIndex(s.ScanSettings);
}

AccessSettings AccessSettingsPage::values() const
{
    AccessSettings s;
    s.Scan = scan_->currentIndex();
    s.ScanStep = step_->value();
    s.ScanFirst = first_->value();
    s.ScanRounds = rounds_->value();
    s.ScanOrder = order_->currentIndex();
    s.ScanVoice = voice_->currentIndex();
    s.SwitchAccept = accept_->value();
    s.SwitchLock = lock_->value();
    s.ScanMouse = mouse_->currentIndex();
    s.Dwell = dwell_->value() > 0 && dwell_->value() < kAccessKeys[9].low ? int(kAccessKeys[9].low) : dwell_->value();
    s.Pace = pace_->value();
    s.ScanSettings = settings_->currentIndex();
    return s;
}

void AccessSettingsPage::load(const SettingsStore &store)
{
    setValues(readAccessSettings([&store](const QString &key) {
        return store.valueIn(QLatin1String(kAccessGroup), key);
    }));
}

bool AccessSettingsPage::save(SettingsStore &store) const
{
    return saveAccessSettings(values(), [&store](const QString &key, const QString &value) {
        return store.saveIn(QLatin1String(kAccessGroup), key, value);
    });
}

} // namespace kel
