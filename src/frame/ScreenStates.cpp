#include "frame/ScreenStates.h"

#include "frame/Reachable.h"
#include "widgets/ColorButton.h"
#include "widgets/FlexGrid.h"
#include "widgets/TalkBox.h"

#include <QFrame>

namespace kel {

const QList<ScreenNeeds> &screenNeeds()
{
    // The bottom band's outer buttons serve every screen that leaves the
    // band uncovered: options, end, the example/diary mode button, read,
    // character set.
    const QStringList band{"cmdOpt", "cmdEnd", "cmdSamp", "cmdRead", "cmdKey"};
    const QStringList text{"txtTalk", "cmdWide"};
    const QStringList wide = text + QStringList{"cmdCopy", "cmdPaste"};
    const QStringList keys{"cmdRes0", "cmdRes1", "cmdRes2", "cmdRes3", "cmdRes4"};
    const QStringList moving{"cmdUp", "cmdDown", "cmdDec"};
    static const QList<ScreenNeeds> table{
        {"board", text + band + keys + QStringList{"grdBoard", "cmdStart", "cmdSampADD"}},
        // The enlarged screen covers the board and the bottom band.
        {"enlarged", text + QStringList{"grdBoard2", "cmdEnd2"}},
        {"suggestions", text + band + moving + QStringList{"grdSp"}},
        {"example list", text + band + moving + QStringList{"grdEx", "cmdSampDel"}},
        {"diary list", text + band + moving + QStringList{"grdDay"}},
        {"entry open", wide + band + QStringList{"cmdRevise", "cmdBack"}},
        {"revising", text + band + keys + QStringList{"grdBoard", "cmdBack"}},
        // Wide, the text panel covers the board area; what lies below it
        // belongs to the screen underneath.
        {"wide text", wide},
        // The stop panel, a window of its own, lies over the bottom band.
        {"reading", wide},
    };
    return table;
}

QString screenOf(const Controls &u)
{
    auto shows = [](const QWidget *w) { return w->isVisibleTo(w->window()); };
    if (!u.cmdRead->isEnabled())
        return QStringLiteral("reading");
    if (shows(u.fraDay) && !shows(u.fraRes) && !shows(u.fraTalk))
        return QStringLiteral("entry open");
    if (u.txtTalk->height() > u.grdBoard->y())
        return QStringLiteral("wide text");
    if (shows(u.fraSet))
        return QStringLiteral("enlarged");
    if (shows(u.grdSp))
        return QStringLiteral("suggestions");
    if (shows(u.grdEx))
        return QStringLiteral("example list");
    if (shows(u.grdDay))
        return QStringLiteral("diary list");
    if (shows(u.fraDay))
        return QStringLiteral("revising");
    return QStringLiteral("board");
}

QStringList unreachableNeeds(const Controls &u)
{
    const QString screen = screenOf(u);
    QStringList missing;
    for (const ScreenNeeds &s : screenNeeds()) {
        if (screen != QLatin1String(s.screen))
            continue;
        for (const QString &name : s.controls) {
            const auto *w = u.frmTalk->findChild<QWidget *>(name);
            if (!onTopAtCentre(w))
                missing << name;
        }
    }
    return missing;
}

} // namespace kel
