#include "app/StartPlaces.h"

#include "base/Autostart.h"
#include "base/DataHome.h"
#include "base/SettingsStore.h"
#include "base/StoredFile.h"
#include "frame/FrmOK.h"
#include "frame/Talk.h"
#include "speech/SoundSet.h"
#include "speech/WavName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace kel {
namespace {

const QString kNoticeTitle = QStringLiteral("Kelvoran");

// The question dialog holds two lines of its large print: a path gets the
// second one, its home written as "~", and a longer one keeps its end, which
// names the folder: "/srv/a/long/share/kelvoran/voices" -> "…/share/kelvoran/voices".
QString forNotice(const QString &path, const QString &userHome)
{
    constexpr qsizetype kMaxChars = 24;
    const QString shortened = shortPath(path, userHome);
    if (shortened.size() <= kMaxChars)
        return shortened;
    QString tail = shortened.right(kMaxChars - 1);
    const qsizetype slash = tail.indexOf(QLatin1Char('/'));
    if (slash > 0)
        tail = tail.mid(slash); // whole folder names only
    return QStringLiteral("…") + tail;
}

void print(FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

} // namespace

StartPlaces findStartPlaces(const QString &homeOption, const QString &programDir, bool lookOnly)
{
    const DataPlaces where = DataPlaces::fromEnvironment(homeOption, programDir);
    const DataHome home = chooseDataHome(where, lookOnly ? lookingFolderProbe() : realFolderProbe());
    StartPlaces places;
    places.dataFolder = home.folder;
    places.explicitHome = !where.homeOption.isEmpty() || !where.envHome.isEmpty();
    const auto shortened = [&](const QString &path) { return forNotice(path, where.userHome); };

    if (home.fellBack()) {
        places.problems << (home.usable ? QStringLiteral("kelvoran: cannot store in %1; storing in %2")
                                              .arg(home.wanted, home.folder)
                                        : QStringLiteral("kelvoran: cannot store in %1 nor anywhere else")
                                              .arg(home.wanted));
        places.notices << QStringLiteral("ここに保存できません：\n%1").arg(shortened(home.wanted));
        // Then where the files go instead, so that the user can find them.
        places.notices << (home.usable ? QStringLiteral("代わりにここに保存します：\n%1").arg(shortened(home.folder))
                                       : QStringLiteral("どこにも保存できません。\nディスクを確かめてください"));
        // Sentences and diary kept where they can no longer be stored (a
        // write-protected copy) come along, so that the user still finds them;
        // a file already in the new place is never replaced.
        if (home.usable && !lookOnly) {
            for (const QString name : {QStringLiteral("Talk.txt"), QStringLiteral("day.txt")})
                if (QFileInfo(home.wanted + u'/' + name).isFile() && !QFileInfo::exists(home.folder + u'/' + name))
                    QFile::copy(home.wanted + u'/' + name, home.folder + u'/' + name);
        }
    }

    const auto isDir = [](const QString &path) { return QFileInfo(path).isDir(); };
    places.soundSet = defaultSoundSetFolder(programDir, isDir);
    places.characters = int(soundSetCharacters().size());
    places.silent = silentCharacters(places.dataFolder, places.soundSet);
    if (places.silent > 0) {
        const bool setMissing = !isDir(places.soundSet);
        places.problems << QStringLiteral("kelvoran: no sound for %1 of %2 characters%3")
                               .arg(places.silent)
                               .arg(places.characters)
                               .arg(setMissing ? QStringLiteral(" (missing: %1)").arg(places.soundSet)
                                               : QString());
        places.notices << (setMissing ? QStringLiteral("音声がありません：\n%1").arg(shortened(places.soundSet))
                                      : QStringLiteral("%1文字の音声がありません").arg(places.silent));
    }
    return places;
}

int answerWithoutWindow(const StartRequest &req, const StartPlaces &places)
{
    if (!req.autostart.isEmpty()) {
        QStringList args;
        if (places.explicitHome)
            args << QStringLiteral("--home") << places.dataFolder;
        const QString error = setAutostart(req.autostart == u"on", args);
        if (!error.isEmpty()) {
            print(stderr, QStringLiteral("kelvoran: autostart: %1\n").arg(error));
            return 1;
        }
        print(stdout, QStringLiteral("autostart %1: %2\n").arg(req.autostart, autostartFile()));
        return 0;
    }
    QString text;
    text += QStringLiteral("files:     %1\n").arg(places.dataFolder);
    text += QStringLiteral("sounds:    %1, then %2\n").arg(places.dataFolder, places.soundSet);
    text += QStringLiteral("silent:    %1 of %2 characters\n").arg(places.silent).arg(places.characters);
    text += QStringLiteral("settings:  %1\n").arg(SettingsStore::defaultPath());
    text += QStringLiteral("autostart: %1\n")
                .arg(autostartEnabled() ? autostartFile() : QStringLiteral("off"));
    for (const QString &line : places.problems)
        text += line + QLatin1Char('\n');
    print(stdout, text);
    return 0;
}

QStringList windowNotices(const StartPlaces &places, const QString &settingsPath)
{
    QStringList notices = places.notices;
    const QString dir = places.dataFolder + QLatin1Char('/');
    for (const QString &path : {dir + QStringLiteral("Talk.txt"), dir + QStringLiteral("day.txt"), settingsPath}) {
        const StoredRead::Status status = lookAtStoredFile(path, storedFileLimit(path));
        if (status == StoredRead::NotRegular || status == StoredRead::TooLarge || status == StoredRead::Unreadable)
            notices << notReadNotice(QFileInfo(path).fileName(), status);
    }
    return notices;
}

void showStartNotices(Talk &t, const QStringList &notices)
{
    if (notices.isEmpty())
        return;
    QTimer::singleShot(0, t.ui.frmTalk, [&t, notices] {
        for (const QString &notice : notices)
            AskUser(t, notice, kAskNotice, kNoticeTitle);
    });
}

} // namespace kel
