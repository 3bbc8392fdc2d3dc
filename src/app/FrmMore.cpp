#include "app/FrmMore.h"

#include "access/AccessSettingsPage.h"
#include "app/PredictWiring.h"
#include "base/Autostart.h"
#include "base/SettingsStore.h"
#include "frame/FrmOK.h"
#include "predict/PredictPage.h"
#include "speech/SpeechPage.h"
#include "voice/BackupPage.h"
#include "voice/VoicePage.h"
#include "widgets/ColorButton.h"
#include "widgets/DialogLook.h"
#include "widgets/TwipsLayout.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QVBoxLayout>

namespace kel {
namespace {

constexpr QRgb kDialogBack = 0xffc0c0ff; // the options dialog's colour

} // namespace

FrmMore::FrmMore(Talk &, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmMore"));
    setWindowTitle(QStringLiteral("その他の設定"));
    setModal(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    // Two columns, so that the dialog fits an 800 x 600 screen in the
    // options dialog's type.
    pages_ = new QHBoxLayout;
    for (auto *&column : columns_) {
        column = new QVBoxLayout;
        pages_->addLayout(column);
    }
    layout->addLayout(pages_);
    auto *close = new ColorButton(QStringLiteral("閉じる"), QColor::fromRgb(kDialogBack), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    bottom_ = new QHBoxLayout;
    bottom_->addWidget(close);
    layout->addLayout(bottom_);
}

void FrmMore::addBesideClose(QWidget *buttons)
{
    buttons->setParent(this);
    bottom_->insertWidget(0, buttons, 2);
}

void FrmMore::addPage(QWidget *page, int column)
{
    page->setParent(this);
    columns_[column]->addWidget(page);
}

void FrmMore::fitOver(const QWidget *over, double mainScale)
{
    for (QVBoxLayout *column : columns_)
        column->addStretch();
    fitDialogLook(this, over, mainScale, map_, kDialogBack);
}

// Kiosk use: the board opens full screen when the user logs in, with the
// data folder in use now.
QGroupBox *autostartPage(Talk &t)
{
    auto *page = new QGroupBox(QStringLiteral("起動"));
    auto *box = new QCheckBox(QStringLiteral("ログインしたら\n全画面で起動"), page);
    box->setObjectName(QStringLiteral("chkAutostart"));
    box->setChecked(autostartEnabled());
    QObject::connect(box, &QCheckBox::toggled, page, [&t, box](bool on) {
        const QString error = setAutostart(on, {QStringLiteral("--home"), t.st.AppPath});
        if (error.isEmpty())
            return;
        const QSignalBlocker keep(box);
        box->setChecked(autostartEnabled());
        qWarning("kelvoran: autostart: %s", qPrintable(error));
        AskUser(t, QStringLiteral("自動起動にできません。\nフォルダを確かめてください"), kAskNotice, QStringLiteral("起動"));
    });
    (new QVBoxLayout(page))->addWidget(box);
    return page;
}

bool showMore(Talk &t, QWidget *parent, std::function<bool()> unconfirmed)
{
    bool saved = true, restored = false;
    {
        FrmMore dialog(t, parent);
        dialog.addPage(new VoicePage(t), 0);
        dialog.addPage(autostartPage(t), 0);
        auto *speech = new SpeechPage;
        if (t.sv.store)
            speech->load(*t.sv.store);
        dialog.addPage(speech, 0);
        auto *predict = new PredictPage(t.prediction ? std::function<void()>([&t] { askClearPredictHistory(t); })
                                                     : std::function<void()>());
        if (t.sv.store)
            predict->load(*t.sv.store);
        dialog.addPage(predict, 0);
        auto *backup = new BackupPage(t);
        dialog.addBesideClose(backup);
        auto *access = new AccessSettingsPage;
        access->setObjectName(QStringLiteral("pageAccess"));
        if (t.sv.store)
            access->load(*t.sv.store);
        dialog.addPage(access, 1);
        // What a restore put back is shown, and kept when the dialog closes.
        QObject::connect(backup, &BackupPage::restored, access, [&t, access, speech, predict, &restored] {
            restored = true;
            if (t.sv.store) {
                access->load(*t.sv.store);
                speech->load(*t.sv.store);
                predict->load(*t.sv.store);
            }
        });
        // The pages here are kept whichever way the dialog closes, so a
        // backup takes them as they stand; the options dialog's own wait
        // for its "確定", and the user is told they are not in it.
        backup->setBeforeBackup([&t, access, speech, predict, unconfirmed] {
            if (t.sv.store) {
                access->save(*t.sv.store);
                speech->save(*t.sv.store);
                predict->save(*t.sv.store);
            }
            return unconfirmed && unconfirmed() ? kNoticeOptionsNotInBackup : QString();
        });
        dialog.fitOver(parent, t.layout.map().scale());
        dialog.exec();
        // Kept whichever way the dialog closes, as its only button says "閉じる".
        if (t.sv.store) {
            const bool accessSaved = access->save(*t.sv.store);
            const bool predictSaved = predict->save(*t.sv.store);
            saved = speech->save(*t.sv.store) && accessSaved && predictSaved;
        }
    }
    if (t.reloadSettings)
        t.reloadSettings();
    if (!saved)
        AskUser(t, kNoticeSettingsNotSaved, kAskNotice, QStringLiteral("その他の設定"));
    return restored;
}

} // namespace kel
