#pragma once
// The screens of the main window as one state machine. Its state: which
// screen shows, whether the text panel at the top is wide, and whether a
// reading is under way. Handlers ask for an event; the transition table
// says which screen it leads to from the current one, and this class alone
// shows, hides, raises or lowers a panel of the window and sizes the text
// panel. The screen table says, for each screen, which panels and controls
// show, how they stack, where the diary panel stands, the caption of the
// example-sentence button and which list "△", "▽" and "決定" act on.

#include "frame/Controls.h"

#include <QList>
#include <QString>
#include <array>
#include <functional>
#include <optional>

namespace kel {

class FlexGrid;
class TwipsLayout;

// The caption of cmdSamp names the screen mode that the example-sentence
// and diary handlers test.
inline const QString kCaptionBoard = QStringLiteral("例文表示");
inline const QString kCaptionList = QStringLiteral("例文終了");
inline const QString kCaptionDiary = QStringLiteral("日記終了");

enum class Screen {
    Board,
    Enlarged,
    Suggestions,
    ExampleList,
    DiaryList,
    EntryOpen,
    Revising,
    RevisingEnlarged,
    RevisingSuggestions,
};

// What happened, as the handlers report it. The screen events move between
// screens by the transition table; the last four change the text panel and
// the reading, whatever the screen.
enum class ScreenEvent {
    CellOpened,        // a board cell opens the enlarged screen
    EnlargedLeft,      // "戻る" there, or a character taken from it
    SuggestionsFound,  // a character typed begins stored sentences
    NoSuggestions,     // ... or none
    SuggestionTaken,   // "決定" on a suggestion
    ExamplesOpened,    // "例文表示", or a sentence added
    ExamplesClosed,    // "例文終了"
    SentenceTaken,     // "決定" on a sentence
    DiaryOpened,       // "決定" on the example list's diary row
    EntryOpened,       // "決定" on a day: the entry shows in the wide text panel
    RevisionStarted,   // "修正する"
    BackToDiaryList,   // "戻る" in the diary
    DiaryClosed,       // "日記終了", stored or not
    WideToggled,       // "広げる"/"狭める"
    TextNarrowed,      // the text panel back to narrow ("広げる")
    ReadingStarted,    // "読む": the text panel widens, its caption unchanged
    ReadingEnded,      // narrow again, unless the diary panel shows
};

// The lists "決定" can take a row from; each belongs to one subsystem.
enum class ListId { None, Suggestions, Examples, Diary };

// What the owner of a list does with the row "決定" takes.
class ListOwner {
public:
    virtual ~ListOwner() = default;
    // `row` is the highlighted row. False when the decision leaves a list
    // showing (the example list's "日記" row), so the block is not restored.
    virtual bool decide(int row) = 0;
};

// The panels and controls whose showing depends on the screen.
enum class Panel { grdBoard, grdSp, grdEx, grdDay, fraRes, fraTalk, fraDay, cmdRevise, cmdSampADD, cmdSampDel, fraSet };
inline constexpr int kPanelCount = int(Panel::fraSet) + 1;

struct ScreenRow {
    Screen screen;
    // Shown, from the bottom up; every other panel is hidden. The text
    // panel always stands in front of them all.
    QList<Panel> shown;
    QString sampCaption;   // cmdSamp
    ListId list;
    // While revising, the editing keys take the diary panel's place, so
    // "戻る" alone stands where "例文追加" stands on the board.
    bool diaryPanelAside;
};

// What a move between screens does to the text panel besides.
enum class TextChange { Keep, Narrow, Widen };

// A screen event's move: from `from` on `event` to `to`.
struct Transition {
    Screen from;
    ScreenEvent event;
    Screen to;
    TextChange text = TextChange::Keep;
};

// One row per Screen, in the enum's order.
const QList<ScreenRow> &screenTable();
const ScreenRow &rowOf(Screen s);
// Every move between screens; a screen event without a row here leaves
// the screen as it is.
const QList<Transition> &transitionTable();
std::optional<Screen> nextScreen(Screen from, ScreenEvent e);

class Screens {
public:
    Screens(Controls &ui, TwipsLayout &layout) : ui_(ui), layout_(layout) {}

    // Shows the board, the screen the window starts with.
    void start();
    // Takes `e`: moves to the screen the table names and shows it, or
    // changes the text panel or the reading. False when the table has no
    // move for `e` from the current screen (nothing changes then).
    bool ask(ScreenEvent e);

    Screen current() const { return current_; }
    const ScreenRow &row() const { return rowOf(current_); }
    // Whether the current screen shows `p`, by the table (not by the widgets).
    bool shows(Panel p) const { return row().shown.contains(p); }
    bool textWide() const { return wide_; }
    bool reading() const { return reading_; }

    // The list the current screen names, and its owner (nullptr for none).
    ListId listId() const { return row().list; }
    FlexGrid *list() const;
    ListOwner *listOwner() const { return owners_[size_t(row().list)]; }
    void setListOwner(ListId id, ListOwner *owner) { owners_[size_t(id)] = owner; }

    QWidget *widget(Panel p) const;

    // Told of every event taken: the screen before, the event, and whether
    // the table had a move for it.
    using Listener = std::function<void(Screen from, ScreenEvent e, bool moved)>;
    void setListener(Listener l) { listener_ = std::move(l); }

private:
    void show(Screen s);
    bool changeText(ScreenEvent e);
    void setNarrow();
    // The wide heights; `caption` also sets "狭める" (a reading widens without it).
    void setWide(bool caption);

    Controls &ui_;
    TwipsLayout &layout_;
    Screen current_ = Screen::Board;
    bool wide_ = false;
    bool reading_ = false;
    std::array<ListOwner *, 4> owners_{};
    Listener listener_;
};

} // namespace kel
