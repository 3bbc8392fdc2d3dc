#include "access/ScanScreen.h"

#include "board/BoardLayout.h"
#include "frame/Reachable.h"
#include "widgets/ColorButton.h"
#include "widgets/FlexGrid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMouseEvent>

namespace kel {
namespace {

// The same reach a finger has (and the tests check): what a touch at that
// point of `w` lands on, in its window or a window standing above it.
bool onTop(QWidget *window, QWidget *w, QPoint localCentre)
{
    if (!w || !w->isVisible())
        return false;
    QWidget *hit = widgetAt(window, w->mapToGlobal(localCentre));
    return hit && (hit == w || w->isAncestorOf(hit));
}

void addButton(QWidget *window, ScanGroup &g, QWidget *b)
{
    if (b && onTop(window, b, b->rect().center())) {
        auto *button = qobject_cast<QAbstractButton *>(b);
        g.items.push_back({b, -1, -1, button ? button->text() : QString(),
                           QRect(b->mapTo(window, QPoint(0, 0)), b->size())});
    }
}

void addCell(QWidget *window, ScanGroup &g, FlexGrid *grid, int r, int c)
{
    const QString text = grid->TextMatrix(r, c);
    const QRect cell = grid->cellRect(r, c);
    if (text.isEmpty() || !cell.isValid())
        return;
    QWidget *vp = grid->viewport();
    if (!vp->rect().contains(cell.center()) || !onTop(window, vp, cell.center()))
        return;
    g.items.push_back({grid, r, c, text, QRect(vp->mapTo(window, cell.topLeft()), cell.size())});
}

void push(ScanScreen &s, ScanGroup g)
{
    if (g.items.empty())
        return;
    for (const ScanTarget &t : g.items)
        g.rect = g.rect.united(t.rect);
    s.groups.push_back(std::move(g));
}

// The board: the kana table's columns from the あ column leftwards (letters
// from the left), each from the top; or its rows, each in that column order.
void addBoard(ScanScreen &s, Controls &u, int maxC, bool rowsFirst)
{
    FlexGrid *b = u.grdBoard;
    if (!b->isVisible())
        return;
    const bool letters = u.cmdKey->text().trimmed() == u"英数";
    std::vector<int> cols;
    for (int i = 0; i <= maxC && i < b->Cols(); ++i)
        cols.push_back(letters ? i : maxC - i);
    const int rows = std::min(b->Rows(), kBoardRows);
    if (rowsFirst) {
        for (int r = 0; r < rows; ++r) {
            ScanGroup g;
            for (int c : cols)
                addCell(s.window, g, b, r, c);
            push(s, std::move(g));
        }
        return;
    }
    for (int c : cols) {
        ScanGroup g;
        for (int r = 0; r < rows; ++r)
            addCell(s.window, g, b, r, c);
        push(s, std::move(g));
    }
}

// A row of candidates (predict/CandidateRow.h) named `name` inside `in`,
// as one group: where it shows it comes first, as it saves the most steps.
void addCandidates(ScanScreen &s, QWidget *in, const QString &name)
{
    QWidget *row = in->findChild<QWidget *>(QStringLiteral("row") + name);
    if (!row || !row->isVisible())
        return;
    ScanGroup candidates;
    for (int i = 0; i < 8; ++i)
        addButton(s.window, candidates, row->findChild<QWidget *>(QStringLiteral("cmd%1%2").arg(name).arg(i)));
    push(s, std::move(candidates));
}

void addEnlarged(ScanScreen &s, Controls &u)
{
    if (!u.fraSet->isVisible())
        return;
    addCandidates(s, u.fraSet, QStringLiteral("Predict"));
    for (int r = 0; r < u.grdBoard2->Rows(); ++r) {
        ScanGroup g;
        for (int c = 0; c < u.grdBoard2->Cols(); ++c)
            addCell(s.window, g, u.grdBoard2, r, c);
        push(s, std::move(g));
    }
    ScanGroup keys;
    addButton(s.window, keys, u.cmdspace);
    addButton(s.window, keys, u.cmdEnd2);
    push(s, std::move(keys));
}

// The rows of a showing list that are in view.
void addList(ScanScreen &s, FlexGrid *list)
{
    if (!list->isVisible())
        return;
    ScanGroup g;
    const int col = list->Cols() - 1;
    for (int r = std::max(0, list->TopRow()); r < list->Rows(); ++r) {
        const QRect cell = list->cellRect(r, col);
        if (!cell.isValid() || cell.center().y() > list->viewport()->height())
            break;
        if (onTop(s.window, list->viewport(), cell.center()))
            g.items.push_back({list, r, col, list->TextMatrix(r, col),
                               QRect(list->viewport()->mapTo(s.window, cell.topLeft()), cell.size())});
    }
    push(s, std::move(g));
}

void addButtons(ScanScreen &s, std::initializer_list<QWidget *> buttons)
{
    ScanGroup g;
    for (QWidget *b : buttons)
        addButton(s.window, g, b);
    push(s, std::move(g));
}

ScanScreen mainScreen(Talk &t, bool rowsFirst, bool withSettings)
{
    Controls &u = t.ui;
    ScanScreen s;
    s.window = u.frmTalk;
    addCandidates(s, u.canvas, QStringLiteral("Strip"));
    addBoard(s, u, t.st.MaxC, rowsFirst);
    addEnlarged(s, u);
    for (FlexGrid *list : {u.grdSp, u.grdEx, u.grdDay})
        addList(s, list);
    // The bottom band; "終了" is left out (a mistimed press would end the
    // session), "設定" is offered only to users who set their own options.
    addButtons(s, {u.cmdUp, u.cmdDown, u.cmdDec});
    addButtons(s, {u.cmdRes[2], u.cmdRes[4], u.cmdRes[3], u.cmdRes[0], u.cmdRes[1], u.cmdStart});
    addButtons(s, {u.cmdRevise, u.cmdBack});
    addButtons(s, {u.cmdRead, u.cmdKey});
    addButtons(s, {u.cmdSampADD, u.cmdSampDel, u.cmdSamp});
    addButtons(s, {u.cmdWide, u.cmdCopy, u.cmdPaste});
    if (withSettings)
        addButtons(s, {u.cmdOpt});
    return s;
}

QWidget *stopPanel()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->objectName() == u"frmRead")
            return w;
    return nullptr;
}

} // namespace

std::vector<int> ScanScreen::shape() const
{
    std::vector<int> out;
    for (const ScanGroup &g : groups)
        out.push_back(int(g.items.size()));
    return out;
}

QString ScanScreen::signature() const
{
    QString sig = QString::number(quintptr(window.data()), 16);
    for (const ScanGroup &g : groups) {
        sig += u'|';
        for (const ScanTarget &t : g.items)
            sig += QStringLiteral("%1:%2,%3:%4;").arg(quintptr(t.widget.data()), 0, 16).arg(t.row).arg(t.col).arg(t.text);
    }
    return sig;
}

bool reachableIn(QWidget *window, QWidget *w)
{
    return w && onTop(window, w, w->rect().center());
}

ScanScreen currentScanScreen(Talk &t, bool rowsFirst, bool withSettings)
{
    if (QWidget *panel = stopPanel()) {
        ScanScreen s;
        s.window = panel;
        ScanGroup g;
        if (auto *label = panel->findChild<QLabel *>(QStringLiteral("lblLabel")))
            if (onTop(panel, label, label->rect().center()))
                g.items.push_back({label, -1, -1, label->text(), QRect(label->mapTo(panel, QPoint(0, 0)), label->size())});
        push(s, std::move(g));
        return s;
    }
    if (QWidget *modal = QApplication::activeModalWidget())
        return dialogScreen(modal);
    return mainScreen(t, rowsFirst, withSettings);
}

// The window on top at a point of the screen: the stop panel stays above
// everything, a question above the main window.
QWidget *windowAt(const QPoint &global)
{
    std::vector<QWidget *> order;
    if (QWidget *panel = stopPanel())
        order.push_back(panel);
    if (QWidget *modal = QApplication::activeModalWidget())
        order.push_back(modal);
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && w != QApplication::activeModalWidget() && w->objectName() != u"frmRead")
            order.push_back(w);
    for (QWidget *w : order)
        if (w->rect().contains(w->mapFromGlobal(global)))
            return w;
    return nullptr;
}

ScanTarget targetAt(const QPoint &global)
{
    QWidget *top = windowAt(global);
    QWidget *hit = top ? top->childAt(top->mapFromGlobal(global)) : nullptr;
    for (QWidget *w = hit; w; w = w->parentWidget()) {
        QWidget *window = w->window();
        if (auto *b = qobject_cast<QAbstractButton *>(w))
            return {b, -1, -1, b->text(), QRect(b->mapTo(window, QPoint()), b->size())};
        if (w->objectName() == u"lblLabel")
            return {w, -1, -1, QString(), QRect(w->mapTo(window, QPoint()), w->size())};
        if (auto *grid = qobject_cast<FlexGrid *>(w)) {
            const QPoint local = grid->viewport()->mapFromGlobal(global);
            const QModelIndex i = grid->indexAt(local);
            if (!i.isValid() || grid->TextMatrix(i.row(), i.column()).isEmpty())
                return {};
            const QRect cell = grid->cellRect(i.row(), i.column());
            return {grid, i.row(), i.column(), grid->TextMatrix(i.row(), i.column()),
                    QRect(grid->viewport()->mapTo(window, cell.topLeft()), cell.size())};
        }
        if (w->isWindow())
            break;
    }
    return {};
}

void touchAt(QWidget *window, QPoint pos)
{
    QWidget *w = window->childAt(pos);
    if (!w)
        w = window;
    const QPointF local = w->mapFrom(window, pos);
    const QPointF global = window->mapToGlobal(QPointF(pos));
    QCoreApplication::postEvent(w, new QMouseEvent(QEvent::MouseButtonRelease, local, global, Qt::LeftButton,
                                                   Qt::NoButton, Qt::NoModifier));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
}

} // namespace kel
