#include "frame/Screens.h"

#include "frame/Reachable.h"
#include "frame/Talk.h"
#include "frame/TextPanel.h"
#include "widgets/ColorButton.h"
#include "widgets/FlexGrid.h"
#include "widgets/TwipsLayout.h"

#include <QFrame>

namespace kel {
namespace {

// Where the diary panel and its "戻る" stand when an entry is open.
constexpr QRect kDiaryPanelTwips(3300, 6420, 6375, 1695);
constexpr QRect kBackButtonTwips(3300, 240, 2715, 1215);

constexpr auto kAllParts = {Part::grdBoard, Part::grdSp,      Part::grdEx,      Part::grdDay,
                            Part::fraRes,   Part::fraTalk,    Part::fraDay,     Part::cmdRevise,
                            Part::cmdSampADD, Part::cmdSampDel, Part::fraSet};

} // namespace

const QList<ScreenRow> &screenTable()
{
    using P = Part;
    const QString &board = kCaptionBoard, &list = kCaptionList, &diary = kCaptionDiary;
    // The bottom band's outer buttons serve every screen that leaves the
    // band uncovered: options, end, the example/diary mode button, read,
    // character set.
    const QStringList band{"cmdOpt", "cmdEnd", "cmdSamp", "cmdRead", "cmdKey"};
    const QStringList text{"txtTalk", "cmdWide"};
    const QStringList wide = text + QStringList{"cmdCopy", "cmdPaste"};
    const QStringList keys{"cmdRes0", "cmdRes1", "cmdRes2", "cmdRes3", "cmdRes4"};
    const QStringList moving{"cmdUp", "cmdDown", "cmdDec"};
    // The enlarged screen covers the board and the bottom band.
    const QStringList enlarged = text + QStringList{"grdBoard2", "cmdspace", "cmdEnd2"};
    static const QList<ScreenRow> table{
        {Screen::Board, "board", {P::grdBoard, P::fraRes, P::cmdSampADD}, board, ListId::None, Screen::Board, false,
         text + band + keys + QStringList{"grdBoard", "cmdStart", "cmdSampADD"}},
        {Screen::Enlarged, "enlarged", {P::grdBoard, P::fraRes, P::cmdSampADD, P::fraSet}, board, ListId::None,
         Screen::Board, false, enlarged},
        {Screen::Suggestions, "suggestions", {P::grdSp, P::fraTalk, P::cmdSampADD}, board, ListId::Suggestions,
         Screen::Board, false, text + band + moving + QStringList{"grdSp", "cmdSampADD"}},
        {Screen::ExampleList, "example list", {P::grdEx, P::fraTalk, P::cmdSampDel}, list, ListId::Examples,
         Screen::Board, false, text + band + moving + QStringList{"grdEx", "cmdSampDel"}},
        {Screen::DiaryList, "diary list", {P::grdDay, P::fraTalk}, diary, ListId::Diary, Screen::Board, false,
         text + band + moving + QStringList{"grdDay"}},
        // The entry is read in the wide text panel, over the board's place
        // (with copy and paste while it stays wide).
        {Screen::EntryOpen, "entry open", {P::fraDay, P::cmdRevise}, diary, ListId::None, Screen::Board, false,
         text + band + QStringList{"cmdRevise", "cmdBack"}},
        {Screen::Revising, "revising", {P::grdBoard, P::fraRes, P::fraDay}, diary, ListId::None, Screen::Revising,
         true, text + band + keys + QStringList{"grdBoard", "cmdStart", "cmdBack"}},
        {Screen::RevisingEnlarged, "revising, enlarged", {P::grdBoard, P::fraRes, P::fraDay, P::fraSet}, diary,
         ListId::None, Screen::Revising, true, enlarged},
        {Screen::RevisingSuggestions, "revising with suggestions", {P::grdSp, P::fraTalk, P::fraDay}, diary,
         ListId::Suggestions, Screen::Revising, true, text + band + moving + QStringList{"grdSp", "cmdBack"}},
    };
    return table;
}

const ScreenRow &rowOf(Screen s)
{
    return screenTable().at(qsizetype(s));
}

const QList<ScreenRow> &overlayTable()
{
    // Wide, the text panel covers the board area; what lies below it
    // belongs to the screen underneath. The stop panel, a window of its
    // own, lies over the bottom band.
    const QStringList wide{"txtTalk", "cmdWide", "cmdCopy", "cmdPaste"};
    static const QList<ScreenRow> table{
        {Screen::Board, "wide text", {}, {}, ListId::None, Screen::Board, false, wide},
        {Screen::Board, "reading", {}, {}, ListId::None, Screen::Board, false, wide},
    };
    return table;
}

QWidget *Screens::widget(Part p) const
{
    switch (p) {
    case Part::grdBoard: return ui_.grdBoard;
    case Part::grdSp: return ui_.grdSp;
    case Part::grdEx: return ui_.grdEx;
    case Part::grdDay: return ui_.grdDay;
    case Part::fraRes: return ui_.fraRes;
    case Part::fraTalk: return ui_.fraTalk;
    case Part::fraDay: return ui_.fraDay;
    case Part::cmdRevise: return ui_.cmdRevise;
    case Part::cmdSampADD: return ui_.cmdSampADD;
    case Part::cmdSampDel: return ui_.cmdSampDel;
    case Part::fraSet: return ui_.fraSet;
    }
    return nullptr;
}

FlexGrid *Screens::list() const
{
    switch (row().list) {
    case ListId::Suggestions: return ui_.grdSp;
    case ListId::Examples: return ui_.grdEx;
    case ListId::Diary: return ui_.grdDay;
    case ListId::None: break;
    }
    return nullptr;
}

void Screens::show(Screen s)
{
    current_ = s;
    const ScreenRow &r = rowOf(s);

    if (r.diaryPanelAside) {
        const QRect slot = layout_.rect(ui_.cmdSampADD);
        layout_.setRect(ui_.fraDay, slot);
        layout_.setRect(ui_.cmdBack, QRect(QPoint(0, 0), slot.size()));
    } else {
        layout_.setRect(ui_.fraDay, kDiaryPanelTwips);
        layout_.setRect(ui_.cmdBack, kBackButtonTwips);
    }
    ui_.cmdSamp->setText(r.sampCaption);

    // Hidden first, so that no part of the last screen is ever shown
    // together with this one's.
    for (Part p : kAllParts)
        if (!r.shown.contains(p))
            widget(p)->hide();
    ui_.grdBoard->lower();
    for (Part p : r.shown) {
        widget(p)->show();
        widget(p)->raise();
    }
    ui_.fraText->raise();
}

QString screenOf(const Talk &t)
{
    const Screen s = t.screens->current();
    if (!t.ui.cmdRead->isEnabled())
        return QStringLiteral("reading");
    if (s != Screen::EntryOpen && textPanelIsWide(t))
        return QStringLiteral("wide text");
    return QString::fromUtf8(rowOf(s).name);
}

QStringList needsNow(const Talk &t)
{
    const QString screen = screenOf(t);
    QStringList needs = t.screens->row().needs;
    for (const ScreenRow &o : overlayTable())
        if (screen == QLatin1String(o.name))
            needs = o.needs;
    if (t.screens->current() == Screen::EntryOpen && textPanelIsWide(t))
        needs << QStringLiteral("cmdCopy") << QStringLiteral("cmdPaste");
    return needs;
}

QStringList unreachableNeeds(const Talk &t)
{
    QStringList missing;
    for (const QString &name : needsNow(t)) {
        const auto *w = t.ui.frmTalk->findChild<QWidget *>(name);
        if (!onTopAtCentre(w))
            missing << name;
    }
    return missing;
}

} // namespace kel
