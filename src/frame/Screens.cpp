#include "frame/Screens.h"

#include "base/Twips.h"
#include "widgets/ColorButton.h"
#include "widgets/FlexGrid.h"
#include "widgets/TalkBox.h"
#include "widgets/TwipsLayout.h"

#include <QFrame>

namespace kel {
namespace {

// The text panel's two sizes. Narrow: panel 1635, text box 1455 twips.
// Wide: the window's outer height minus 2230 and minus 2380, which
// uncovers the copy and paste buttons.
constexpr int kNarrowPanelTwips = 1635;
constexpr int kNarrowTextTwips = 1455;

// Where the diary panel and its "戻る" stand when an entry is open.
constexpr QRect kDiaryPanelTwips(3300, 6420, 6375, 1695);
constexpr QRect kBackButtonTwips(3300, 240, 2715, 1215);

constexpr auto kAllPanels = {Panel::grdBoard, Panel::grdSp,      Panel::grdEx,      Panel::grdDay,
                             Panel::fraRes,   Panel::fraTalk,    Panel::fraDay,     Panel::cmdRevise,
                             Panel::cmdSampADD, Panel::cmdSampDel, Panel::fraSet};

} // namespace

const QList<ScreenRow> &screenTable()
{
    using P = Panel;
    const QString &board = kCaptionBoard, &list = kCaptionList, &diary = kCaptionDiary;
    static const QList<ScreenRow> table{
        {Screen::Board, {P::grdBoard, P::fraRes, P::cmdSampADD}, board, ListId::None, false},
        // The enlarged screen covers the board and the bottom band.
        {Screen::Enlarged, {P::grdBoard, P::fraRes, P::cmdSampADD, P::fraSet}, board, ListId::None, false},
        {Screen::Suggestions, {P::grdSp, P::fraTalk, P::cmdSampADD}, board, ListId::Suggestions, false},
        {Screen::ExampleList, {P::grdEx, P::fraTalk, P::cmdSampDel}, list, ListId::Examples, false},
        {Screen::DiaryList, {P::grdDay, P::fraTalk}, diary, ListId::Diary, false},
        // The entry is read in the wide text panel, over the board's place.
        {Screen::EntryOpen, {P::fraDay, P::cmdRevise}, diary, ListId::None, false},
        {Screen::Revising, {P::grdBoard, P::fraRes, P::fraDay}, diary, ListId::None, true},
        {Screen::RevisingEnlarged, {P::grdBoard, P::fraRes, P::fraDay, P::fraSet}, diary, ListId::None, true},
        {Screen::RevisingSuggestions, {P::grdSp, P::fraTalk, P::fraDay}, diary, ListId::Suggestions, true},
    };
    return table;
}

const ScreenRow &rowOf(Screen s)
{
    return screenTable().at(qsizetype(s));
}

const QList<Transition> &transitionTable()
{
    using S = Screen;
    using E = ScreenEvent;
    // Revising a diary entry works on the board as the board does, so the
    // board's moves come twice: over the board, and while revising.
    static const QList<Transition> table{
        {S::Board, E::CellOpened, S::Enlarged},
        {S::Revising, E::CellOpened, S::RevisingEnlarged},
        {S::Enlarged, E::EnlargedLeft, S::Board},
        {S::RevisingEnlarged, E::EnlargedLeft, S::Revising},
        // Each character entered on the board offers the sentences the
        // text's end begins.
        {S::Board, E::SuggestionsFound, S::Suggestions},
        {S::Revising, E::SuggestionsFound, S::RevisingSuggestions},
        {S::Board, E::NoSuggestions, S::Board},
        {S::Revising, E::NoSuggestions, S::Revising},
        {S::Suggestions, E::SuggestionTaken, S::Board},
        {S::RevisingSuggestions, E::SuggestionTaken, S::Revising},
        // The example list takes the place of the suggestions too.
        {S::Board, E::ExamplesOpened, S::ExampleList},
        {S::Suggestions, E::ExamplesOpened, S::ExampleList},
        {S::ExampleList, E::ExamplesClosed, S::Board},
        {S::ExampleList, E::SentenceTaken, S::Board},
        {S::ExampleList, E::DiaryOpened, S::DiaryList},
        {S::DiaryList, E::EntryOpened, S::EntryOpen, TextChange::Widen},
        {S::EntryOpen, E::RevisionStarted, S::Revising, TextChange::Narrow},
        {S::EntryOpen, E::BackToDiaryList, S::DiaryList, TextChange::Narrow},
        {S::Revising, E::BackToDiaryList, S::DiaryList, TextChange::Narrow},
        {S::RevisingSuggestions, E::BackToDiaryList, S::DiaryList, TextChange::Narrow},
        {S::DiaryList, E::DiaryClosed, S::Board, TextChange::Narrow},
        {S::EntryOpen, E::DiaryClosed, S::Board, TextChange::Narrow},
        {S::Revising, E::DiaryClosed, S::Board, TextChange::Narrow},
        {S::RevisingSuggestions, E::DiaryClosed, S::Board, TextChange::Narrow},
    };
    return table;
}

namespace {

const Transition *moveFor(Screen from, ScreenEvent e)
{
    for (const Transition &t : transitionTable())
        if (t.from == from && t.event == e)
            return &t;
    return nullptr;
}

} // namespace

std::optional<Screen> nextScreen(Screen from, ScreenEvent e)
{
    if (const Transition *t = moveFor(from, e))
        return t->to;
    return std::nullopt;
}

QWidget *Screens::widget(Panel p) const
{
    switch (p) {
    case Panel::grdBoard: return ui_.grdBoard;
    case Panel::grdSp: return ui_.grdSp;
    case Panel::grdEx: return ui_.grdEx;
    case Panel::grdDay: return ui_.grdDay;
    case Panel::fraRes: return ui_.fraRes;
    case Panel::fraTalk: return ui_.fraTalk;
    case Panel::fraDay: return ui_.fraDay;
    case Panel::cmdRevise: return ui_.cmdRevise;
    case Panel::cmdSampADD: return ui_.cmdSampADD;
    case Panel::cmdSampDel: return ui_.cmdSampDel;
    case Panel::fraSet: return ui_.fraSet;
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
    for (Panel p : kAllPanels)
        if (!r.shown.contains(p))
            widget(p)->hide();
    ui_.grdBoard->lower();
    for (Panel p : r.shown) {
        widget(p)->show();
        widget(p)->raise();
    }
    ui_.fraText->raise();
}

void Screens::start()
{
    show(Screen::Board);
}

bool Screens::ask(ScreenEvent e)
{
    const Screen from = current_;
    bool moved = true;
    if (const Transition *t = moveFor(from, e)) {
        show(t->to);
        if (t->text == TextChange::Narrow)
            setNarrow();
        else if (t->text == TextChange::Widen)
            setWide(true);
    } else {
        moved = changeText(e);
        if (!moved)
            qWarning("screens: no move from screen %d on event %d", int(from), int(e));
    }
    if (listener_)
        listener_(from, e, moved);
    return moved;
}

bool Screens::changeText(ScreenEvent e)
{
    switch (e) {
    case ScreenEvent::WideToggled:
        if (wide_)
            setNarrow();
        else
            setWide(true);
        return true;
    case ScreenEvent::TextNarrowed:
        setNarrow();
        return true;
    case ScreenEvent::ReadingStarted:
        reading_ = true;
        setWide(false);
        return true;
    case ScreenEvent::ReadingEnded:
        reading_ = false;
        // An entry of the diary is read in the wide panel and stays so.
        if (!shows(Panel::fraDay))
            setNarrow();
        return true;
    default:
        return false;
    }
}

void Screens::setNarrow()
{
    wide_ = false;
    ui_.cmdWide->setText(QStringLiteral("広げる"));
    layout_.setHeight(ui_.fraText, kNarrowPanelTwips);
    layout_.setHeight(ui_.txtTalk, kNarrowTextTwips);
}

void Screens::setWide(bool caption)
{
    wide_ = true;
    if (caption)
        ui_.cmdWide->setText(QStringLiteral("狭める"));
    layout_.setHeight(ui_.fraText, kOuterHeightTwips - 2230);
    layout_.setHeight(ui_.txtTalk, kOuterHeightTwips - 2380);
}

} // namespace kel
