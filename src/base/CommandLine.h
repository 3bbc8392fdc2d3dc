#pragma once
// What the command line and the environment ask of a start.

#include <QString>
#include <QStringList>
#include <optional>

namespace kel {

struct StartRequest {
    QString homeOption;         // --home DIR as given, "" without it
    QString autostart;          // --autostart: "on" or "off", "" without it
    bool where = false;         // --where: print where data and sounds are, and end
    bool fullScreen = false;
    QString screenshot;         // render the window to this PNG and end
    QString screenshotSize;     // "WxH", with the screenshot
    bool quitWhenShown = false; // end as soon as the window is on screen (start-up timing)
    QString exportVoice;        // write the own voice's backup to this file and end
    QString importVoice;        // take the own voice from this backup and end
    QString backup;             // write the backup of everything to this file and end
    QString restore;            // put everything back from this backup and end
    bool force = false;         // with importVoice or restore: replace what differs
    bool reading = false;       // --reading: print the spoken units of TEXT (or of each line read) and end
    std::optional<QString> readingText; // TEXT given with --reading (or --accent)
    bool accent = false;        // --accent: the same, each mora with its pitch
    std::optional<int> predict;  // --predict [N]: candidates for each line read, N of them (default 5)
    bool exitNow = false;       // --help or --version answered
    int exitCode = 0;
    QString message;            // what to print when exitNow
};

StartRequest parseCommandLine(const QStringList &args);

} // namespace kel
