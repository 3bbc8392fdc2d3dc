// The studio's voice backup: the whole own voice written to one archive,
// or taken from one; an own recording is replaced only after the user said
// yes to it by name.
#include "voice/FrmStudio.h"

#include "base/FileErrors.h"
#include "frame/FrmOK.h"
#include "voice/BackupPage.h"
#include "speech/MoraHeights.h"
#include "voice/VoiceArchive.h"

#include <QLabel>

namespace kel {
namespace {

QString askFile(QWidget *parent, bool save)
{
    return askBackupFile(parent, save, save ? QStringLiteral("声を書き出す") : QStringLiteral("声を読み込む"),
                         QStringLiteral("声のバックアップ (*.tar.gz)"));
}

} // namespace

void FrmStudio::exportBackup()
{
    const QString file = askFile(this, true);
    if (file.isEmpty())
        return;
    QString error;
    VoiceArchiveCount count;
    lblTake_->setText(exportVoice(folder_, file, &error, &count)
                          ? QStringLiteral("%1 文字の声を書き出しました。%2").arg(count.sounds).arg(leftOutNote(count.leftOut))
                          : QStringLiteral("書き出せませんでした。%1").arg(japaneseReason(error)));
}

void FrmStudio::importBackup()
{
    const QString file = askFile(this, false);
    if (file.isEmpty())
        return;
    const VoiceBackup backup = readVoiceBackup(file);
    if (!backup.ok) {
        lblTake_->setText(backup.error);
        return;
    }
    // Asked by name; "いいえ" keeps those own recordings and takes the rest.
    VoiceBackup taken = backup;
    if (const QStringList own = ownRecordingsOverwritten(folder_, backup); !own.isEmpty()) {
        AskUser(t_, QStringLiteral("自分の声の録音（%1）を、読み込む声で置き換えますか？").arg(own.join(QStringLiteral("、"))),
                kAskYesNo, QStringLiteral("声を読み込む"));
        if (!t_.st.AskAnswer)
            taken.recordings.removeIf([&](const VoiceRecording &r) {
                return own.contains(r.character) || own.contains(heightOf(r.character));
            });
    }
    QString error;
    lblTake_->setText(importVoice(folder_, taken, &error)
                          ? QStringLiteral("%1 文字の声を読み込みました。").arg(taken.characters())
                          : QStringLiteral("読み込めませんでした（%1）。何も変えていません。").arg(japaneseWords(error)));
    fillList();
    showState();
}

} // namespace kel
