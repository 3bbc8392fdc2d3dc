#pragma once
// What the tests call each screen of the window, and the controls a finger
// must reach on it; the screens themselves, their panels and their moves
// are the program's own tables (frame/Screens.h).

#include "frame/Reachable.h"
#include "frame/Screens.h"
#include "frame/Talk.h"

#include <QStringList>
#include <QWidget>

namespace kel {

struct ScreenNeeds {
    Screen screen;
    const char *name;
    QStringList needs;   // object names
};

// One row per Screen, in the enum's order.
inline const QList<ScreenNeeds> &screenNeeds()
{
    // The bottom band's outer buttons serve every screen that leaves the
    // band uncovered: options, end, the example/diary mode button, read,
    // character set.
    const QStringList band{"cmdOpt", "cmdEnd", "cmdSamp", "cmdRead", "cmdKey"};
    const QStringList text{"txtTalk", "cmdWide"};
    const QStringList keys{"cmdRes0", "cmdRes1", "cmdRes2", "cmdRes3", "cmdRes4"};
    const QStringList moving{"cmdUp", "cmdDown", "cmdDec"};
    const QStringList enlarged = text + QStringList{"grdBoard2", "cmdspace", "cmdEnd2"};
    static const QList<ScreenNeeds> table{
        {Screen::Board, "board", text + band + keys + QStringList{"grdBoard", "cmdStart", "cmdSampADD"}},
        {Screen::Enlarged, "enlarged", enlarged},
        {Screen::Suggestions, "suggestions", text + band + moving + QStringList{"grdSp", "cmdSampADD"}},
        {Screen::ExampleList, "example list", text + band + moving + QStringList{"grdEx", "cmdSampDel"}},
        {Screen::DiaryList, "diary list", text + band + moving + QStringList{"grdDay"}},
        // Read in the wide text panel (with copy and paste while it stays wide).
        {Screen::EntryOpen, "entry open", text + band + QStringList{"cmdRevise", "cmdBack"}},
        {Screen::Revising, "revising", text + band + keys + QStringList{"grdBoard", "cmdStart", "cmdBack"}},
        {Screen::RevisingEnlarged, "revising, enlarged", enlarged},
        {Screen::RevisingSuggestions, "revising with suggestions", text + band + moving + QStringList{"grdSp", "cmdBack"}},
    };
    return table;
}

inline const char *nameOf(Screen s)
{
    return screenNeeds().at(qsizetype(s)).name;
}

// The screen the user sees: "reading" during a reading, "wide text" when
// the wide text panel covers the screen, or the current screen's name.
inline QString screenOf(const Talk &t)
{
    const Screens &s = *t.screens;
    if (s.reading())
        return QStringLiteral("reading");
    if (s.current() != Screen::EntryOpen && s.textWide())
        return QStringLiteral("wide text");
    return QString::fromUtf8(nameOf(s.current()));
}

// The controls the screen the user sees needs within reach. Wide, the text
// panel covers the board area; what lies below it belongs to the screen
// underneath. The stop panel, a window of its own, lies over the bottom band.
inline QStringList needsNow(const Talk &t)
{
    const QStringList wide{"txtTalk", "cmdWide", "cmdCopy", "cmdPaste"};
    if (const QString seen = screenOf(t); seen == u"reading" || seen == u"wide text")
        return wide;
    // The entry is read wide, with copy and paste.
    return screenNeeds().at(qsizetype(t.screens->current())).needs + (t.screens->textWide() ? wide.mid(2) : QStringList());
}

// Those of them that are not on top at their centre.
inline QStringList unreachableNeeds(const Talk &t)
{
    QStringList missing;
    for (const QString &name : needsNow(t))
        if (!onTopAtCentre(t.ui.frmTalk->findChild<QWidget *>(name)))
            missing << name;
    return missing;
}

} // namespace kel
