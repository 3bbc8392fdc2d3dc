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

QSpinBox *number(QWidget *parent, const AccessKey &k)
{
    auto *s = new QSpinBox(parent);
    s->setRange(int(k.low), int(k.high));
    return s;
}

} // namespace

// A time kept in milliseconds, shown and set in seconds with one decimal,
// so that a larger number is a longer time: 1000 -> "1.0", 750 -> "0.8". A
// value left as shown keeps its stored milliseconds (750 stays 750), so
// that closing the dialog changes nothing the user did not change.
class SecondsBox final : public QDoubleSpinBox {
public:
    SecondsBox(QWidget *parent, const AccessKey &k) : QDoubleSpinBox(parent)
    {
        setDecimals(1);
        setSingleStep(0.1);
        setRange((k.extra ? *k.extra : k.low) / 1000.0, k.high / 1000.0);
        if (k.extra)
            setSpecialValueText(QStringLiteral("なし"));
    }
    void setMs(int ms)
    {
        kept_ = ms;
        setValue(ms / 1000.0);
    }
    int ms() const { return qRound(value() * 10) == qRound(kept_ / 100.0) ? kept_ : qRound(value() * 1000); }

private:
    int kept_ = 0;
};

AccessSettingsPage::AccessSettingsPage(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("accessSettingsPage"));
    auto *form = new QFormLayout(this);
    scan_ = choice(this, {"なし", "スイッチ１つ（自動）", "スイッチ２つ（送り・決定）"});
    step_ = new SecondsBox(this, kAccessKeys[1]);
    first_ = new QDoubleSpinBox(this);
    first_->setRange(kAccessKeys[2].low, kAccessKeys[2].high);
    first_->setSingleStep(0.1);
    first_->setDecimals(1);
    rounds_ = number(this, kAccessKeys[3]);
    order_ = choice(this, {"縦（あかさたな…の列ごと）", "横（あいうえお…の段ごと）"});
    voice_ = choice(this, {"読まない", "読む"});
    accept_ = new SecondsBox(this, kAccessKeys[6]);
    lock_ = new SecondsBox(this, kAccessKeys[7]);
    mouse_ = choice(this, {"使わない", "使う"});
    dwell_ = new SecondsBox(this, kAccessKeys[9]);
    pace_ = new SecondsBox(this, kAccessKeys[10]);
    settings_ = choice(this, {"選べない", "選べる"});
    // Whether switches are used at all is the caregiver's to change: a
    // switch user who turned them off, or chose the other kind, could not
    // turn them back.
    scan_->setProperty(kNoScan, true);
    settings_->setProperty(kNoScan, true);
    form->addRow(QStringLiteral("スイッチ操作"), scan_);
    form->addRow(QStringLiteral("送りの間隔（秒）"), step_);
    form->addRow(QStringLiteral("最初の項目の長さ（倍）"), first_);
    form->addRow(QStringLiteral("戻るまでの回数"), rounds_);
    form->addRow(QStringLiteral("文字盤を送る順"), order_);
    form->addRow(QStringLiteral("項目を読む"), voice_);
    form->addRow(QStringLiteral("押し続ける長さ（秒）"), accept_);
    form->addRow(QStringLiteral("次を受け付けない時間（秒）"), lock_);
    form->addRow(QStringLiteral("マウスのボタンをスイッチに"), mouse_);
    form->addRow(QStringLiteral("止めて選ぶ時間（秒）"), dwell_);
    form->addRow(QStringLiteral("１文字を読む時間（秒）"), pace_);
    form->addRow(QStringLiteral("スイッチで「設定」を"), settings_);
    setValues(AccessSettings{});
}

void AccessSettingsPage::setValues(const AccessSettings &s)
{
    scan_->setCurrentIndex(s.Scan);
    step_->setMs(s.ScanStep);
    first_->setValue(s.ScanFirst);
    rounds_->setValue(s.ScanRounds);
    order_->setCurrentIndex(s.ScanOrder);
    voice_->setCurrentIndex(s.ScanVoice);
    accept_->setMs(s.SwitchAccept);
    lock_->setMs(s.SwitchLock);
    mouse_->setCurrentIndex(s.ScanMouse);
    // The box has no values between "off" and the shortest dwell.
    dwell_->setMs(s.Dwell);
    pace_->setMs(s.Pace);
    settings_->setCurrentIndex(s.ScanSettings);
}

AccessSettings AccessSettingsPage::values() const
{
    AccessSettings s;
    s.Scan = scan_->currentIndex();
    s.ScanStep = step_->ms();
    s.ScanFirst = first_->value();
    s.ScanRounds = rounds_->value();
    s.ScanOrder = order_->currentIndex();
    s.ScanVoice = voice_->currentIndex();
    s.SwitchAccept = accept_->ms();
    s.SwitchLock = lock_->ms();
    s.ScanMouse = mouse_->currentIndex();
    s.Dwell = dwell_->ms() > 0 && dwell_->ms() < kAccessKeys[9].low ? int(kAccessKeys[9].low) : dwell_->ms();
    s.Pace = pace_->ms();
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
