#pragma once
// What the command line and the environment ask of a start.

#include <QString>
#include <QStringList>
#include <optional>

namespace kel {

struct StartRequest {
    QString appPath;            // folder of the sound set, Talk.txt, day.txt
    bool fullScreen = false;
    QString screenshot;         // render the window to this PNG and end
    QString screenshotSize;     // "WxH", with the screenshot
    bool quitWhenShown = false; // end as soon as the window is on screen (start-up timing)
    QString exportVoice;        // write the own voice's backup to this file and end
    QString importVoice;        // take the own voice from this backup and end
    bool force = false;         // with importVoice: overwrite own recordings
    bool exitNow = false;       // --help or --version answered
    int exitCode = 0;
    QString message;            // what to print when exitNow
};

// `home` is KELVORAN_HOME (empty when unset), `programDir` the folder of the
// program; --home DIR wins over both.
StartRequest parseCommandLine(const QStringList &args, const QString &home, const QString &programDir);

} // namespace kel
