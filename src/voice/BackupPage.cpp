#include "voice/BackupPage.h"

#include "base/FileErrors.h"

#include "base/SettingsStore.h"
#include "frame/FrmOK.h"
#include "voice/FullBackup.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <QPushButton>
#include <QHBoxLayout>

namespace kel {
namespace {

const QString kTitle = QStringLiteral("バックアップ");
const QString kFilter = QStringLiteral("バックアップ (*.tar.gz)");

} // namespace

QString backupFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

QString askBackupFile(QWidget *parent, bool save, const QString &title, const QString &filter, const QString &suggested)
{
    QFileDialog dialog(parent, title, suggested.isEmpty() ? QDir::homePath() : QFileInfo(suggested).absolutePath(), filter);
    dialog.setObjectName(QStringLiteral("dlgBackupFile"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save)
        dialog.setDefaultSuffix(QStringLiteral("tar.gz"));
    if (save && !suggested.isEmpty())
        dialog.selectFile(QFileInfo(suggested).fileName());
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().first() : QString();
}

BackupPage::BackupPage(Talk &t, QWidget *parent) : QWidget(parent), t_(t)
{
    setObjectName(QStringLiteral("pageBackup"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    for (auto [caption, name, action] : {std::tuple{"バックアップする", "cmdBackup", &BackupPage::backUp},
                                         std::tuple{"バックアップから戻す", "cmdRestore", &BackupPage::restore}}) {
        auto *b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setMinimumHeight(48);
        connect(b, &QPushButton::clicked, this, action);
        row->addWidget(b);
    }
}

void BackupPage::tell(const QString &text)
{
    AskUser(t_, text, kAskNotice, kTitle);
}

void BackupPage::backUp()
{
    const QDate today = t_.sv.today ? t_.sv.today() : QDate::currentDate();
    const QString file = askBackupFile(this, true, QStringLiteral("バックアップを書く"), kFilter,
                                       backupFolder() + QLatin1Char('/') + backupFileName(today));
    if (file.isEmpty())
        return;
    const QString left = before_ ? before_() : QString();
    QString error, summary;
    const QString said = writeFullBackup({t_.st.AppPath, t_.sv.store->path()}, file, &error, &summary)
                             ? QStringLiteral("%1 を書きました：\n%2").arg(summary, QDir::toNativeSeparators(file))
                             : QStringLiteral("書けませんでした（%1）。").arg(japaneseWords(error));
    tell(left.isEmpty() ? said : said + QLatin1Char('\n') + left);
}

void BackupPage::restore()
{
    const QString file = askBackupFile(this, false, QStringLiteral("バックアップから元に戻す"), kFilter);
    if (file.isEmpty())
        return;
    const BackupPlaces places{t_.st.AppPath, t_.sv.store->path()};
    const FullBackup backup = readFullBackup(file);
    if (!backup.ok) {
        tell(backup.error);
        return;
    }
    const QStringList replaced = replacedByRestore(places, backup);
    if (!replaced.isEmpty()) {
        AskUser(t_, QStringLiteral("%1 を、バックアップの内容で置き換えますか？").arg(replaced.join(QStringLiteral("、"))),
                kAskYesNo, kTitle);
        if (!t_.st.AskAnswer)
            return; // nothing changed, as the answer said
    }
    QString error;
    if (!restoreFullBackup(places, backup, &error)) {
        tell(QStringLiteral("元に戻せませんでした（%1）。何も変えていません。").arg(japaneseWords(error)));
        return;
    }
    t_.sv.store->reread();
    ReadOptions(t_.st, *t_.sv.store);
    if (t_.reloadSamples)
        t_.reloadSamples();
    emit restored();
    tell(QStringLiteral("バックアップから元に戻しました。"));
}

} // namespace kel
