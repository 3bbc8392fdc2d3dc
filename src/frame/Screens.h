#pragma once
// The screens of the main window as named states, and the one table that
// says, for each, which panels and controls show, how they stack, where the
// diary panel stands, the caption of the example-sentence button and which
// list "△", "▽" and "決定" act on. Handlers ask for a screen; show() is the
// only place that shows, hides, raises or lowers a panel of the window.
//
// The text panel's width is not a screen: it is read from the text box's
// height and lies in front of whatever screen shows (frame/TextPanel.h).

#include "frame/Controls.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

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
enum class Part { grdBoard, grdSp, grdEx, grdDay, fraRes, fraTalk, fraDay, cmdRevise, cmdSampADD, cmdSampDel, fraSet };

struct ScreenRow {
    Screen screen;
    const char *name;
    // Shown, from the bottom up; every other Part is hidden. The text panel
    // always stands in front of them all.
    QList<Part> shown;
    QString sampCaption;   // cmdSamp
    ListId list;
    // Where a list or the enlarged screen over the board goes back to:
    // the board, or the board while revising a diary entry.
    Screen base;
    // While revising, the editing keys take the diary panel's place, so
    // "戻る" alone stands where "例文追加" stands on the board.
    bool diaryPanelAside;
    // Object names of the controls a finger must reach on this screen.
    QStringList needs;
};

// One row per Screen, in the enum's order.
const QList<ScreenRow> &screenTable();
const ScreenRow &rowOf(Screen s);
// The overlays that cover part of a screen: "wide text" (the text panel
// down to the bottom band) and "reading" (the stop panel over the band).
const QList<ScreenRow> &overlayTable();

class Screens {
public:
    Screens(Controls &ui, TwipsLayout &layout) : ui_(ui), layout_(layout) {}

    Screen current() const { return current_; }
    const ScreenRow &row() const { return rowOf(current_); }
    // Whether the current screen shows `p`, by the table (not by the widgets).
    bool shows(Part p) const { return row().shown.contains(p); }
    // Applies the table's row for `s` and makes it current.
    void show(Screen s);

    // The screen under a list or the enlarged screen: Board or Revising.
    void showBase() { show(row().base); }
    void showSuggestions() { show(row().base == Screen::Revising ? Screen::RevisingSuggestions : Screen::Suggestions); }
    void showEnlarged() { show(row().base == Screen::Revising ? Screen::RevisingEnlarged : Screen::Enlarged); }

    // The list the current screen names, and its owner (nullptr for none).
    ListId listId() const { return row().list; }
    FlexGrid *list() const;
    ListOwner *listOwner() const { return owners_[size_t(row().list)]; }
    void setListOwner(ListId id, ListOwner *owner) { owners_[size_t(id)] = owner; }

    QWidget *widget(Part p) const;

private:
    Controls &ui_;
    TwipsLayout &layout_;
    Screen current_ = Screen::Board;
    std::array<ListOwner *, 4> owners_{};
};

struct Talk;
// The screen the user sees: "reading" during a reading, "wide text" when
// the wide text panel covers the screen, or the current screen's name.
QString screenOf(const Talk &t);
// The controls the screen the user sees needs within reach: the current
// screen's, or an overlay's while it covers the screen.
QStringList needsNow(const Talk &t);
// Those of them that are not on top at their centre; empty when every one
// can be touched.
QStringList unreachableNeeds(const Talk &t);

} // namespace kel
