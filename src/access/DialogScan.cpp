// The scan of the dialogs: the options, the settings beyond them, the
// questions, the studio, and Qt's own standard dialogs.
#include "access/ScanOrder.h"
#include "access/ScanScreen.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>

#include <map>

namespace kel {
namespace {

QString captionOf(QWidget *w)
{
    if (auto *b = qobject_cast<QAbstractButton *>(w))
        return b->text();
    if (auto *c = qobject_cast<QComboBox *>(w))
        return c->currentText();
    if (auto *n = qobject_cast<QAbstractSpinBox *>(w))
        return n->text();
    return {};
}

// Left out: a control marked so, or one inside another control (a list's
// editor, a drop-down's own parts).
bool leftOut(QWidget *dialog, QWidget *w)
{
    for (QWidget *p = w; p && p != dialog; p = p->parentWidget()) {
        if (p->property(kNoScan).toBool())
            return true;
        if (p != w && (qobject_cast<QAbstractItemView *>(p) || isValueBox(p) || qobject_cast<QAbstractButton *>(p)))
            return true;
    }
    return false;
}

bool scannable(QWidget *dialog, QWidget *w)
{
    if (!qobject_cast<QAbstractButton *>(w) && !isValueBox(w))
        return false;
    return w->isEnabled() && !leftOut(dialog, w) && reachableIn(dialog, w);
}

// Touched at the middle of its area: a check box or choice takes a touch
// anywhere on it (widgets/WholeAreaTouch.h).
ScanTarget targetOf(QWidget *dialog, QWidget *w)
{
    return {w, -1, -1, captionOf(w), QRect(w->mapTo(dialog, QPoint(0, 0)), w->size()),
            isValueBox(w) ? ScanAct::Open : ScanAct::Touch, 0};
}

// The nearest group box holding `w` inside the dialog; none for a loose control.
QGroupBox *boxOf(QWidget *dialog, QWidget *w)
{
    for (QWidget *p = w->parentWidget(); p && p != dialog; p = p->parentWidget())
        if (auto *g = qobject_cast<QGroupBox *>(p))
            return g;
    return nullptr;
}

bool isDefault(QWidget *w)
{
    auto *b = qobject_cast<QPushButton *>(w);
    return b && (b->isDefault() || isKeepCaption(b->text()));
}

// A group's items in reading order, the current choice first and a
// cancelling button never first.
ScanGroup orderedGroup(std::vector<ScanTarget> items)
{
    std::vector<QRect> rects;
    for (const ScanTarget &t : items)
        rects.push_back(t.rect);
    ScanGroup g;
    for (const auto &line : readingLines(rects))
        for (int i : line)
            g.items.push_back(items[i]);
    const auto chosen = std::find_if(g.items.begin(), g.items.end(), [](const ScanTarget &t) {
        auto *r = qobject_cast<QRadioButton *>(t.widget.data());
        return r && r->isChecked();
    });
    if (chosen != g.items.end())
        std::rotate(g.items.begin(), chosen, chosen + 1);
    if (g.items.size() > 1 && isCancelCaption(g.items.front().text))
        std::rotate(g.items.begin(), g.items.begin() + 1, g.items.end());
    for (const ScanTarget &t : g.items)
        g.rect = g.rect.united(t.rect);
    return g;
}

} // namespace

bool isValueBox(const QWidget *w)
{
    return qobject_cast<const QComboBox *>(w) || qobject_cast<const QSpinBox *>(w)
        || qobject_cast<const QDoubleSpinBox *>(w);
}

ScanScreen dialogScreen(QWidget *dialog)
{
    ScanScreen s;
    s.window = dialog;
    std::vector<ScanTarget> defaults, loose;
    std::map<QGroupBox *, std::vector<ScanTarget>> boxed;
    for (QWidget *w : dialog->findChildren<QWidget *>()) {
        if (!scannable(dialog, w))
            continue;
        if (isDefault(w) && defaults.empty())
            defaults.push_back(targetOf(dialog, w));
        else if (QGroupBox *box = boxOf(dialog, w))
            boxed[box].push_back(targetOf(dialog, w));
        else
            loose.push_back(targetOf(dialog, w));
    }
    // The groups: each group box, and each line of loose controls.
    std::vector<ScanGroup> groups;
    for (auto &[box, items] : boxed)
        groups.push_back(orderedGroup(std::move(items)));
    std::vector<QRect> looseRects;
    for (const ScanTarget &t : loose)
        looseRects.push_back(t.rect);
    for (const auto &line : readingLines(looseRects)) {
        std::vector<ScanTarget> items;
        for (int i : line)
            items.push_back(loose[i]);
        groups.push_back(orderedGroup(std::move(items)));
    }
    std::vector<QRect> groupRects;
    for (const ScanGroup &g : groups)
        groupRects.push_back(g.rect);
    if (!defaults.empty())
        s.groups.push_back(orderedGroup(std::move(defaults)));
    for (const auto &line : readingLines(groupRects))
        for (int i : line)
            s.groups.push_back(std::move(groups[i]));
    return s;
}

double boxValue(QWidget *box)
{
    if (auto *c = qobject_cast<QComboBox *>(box))
        return c->currentIndex();
    if (auto *n = qobject_cast<QSpinBox *>(box))
        return n->value();
    if (auto *d = qobject_cast<QDoubleSpinBox *>(box))
        return d->value();
    return 0;
}

void setBoxValue(QWidget *box, double value, bool quietly)
{
    const QSignalBlocker quiet(quietly ? box : nullptr);
    if (auto *c = qobject_cast<QComboBox *>(box)) {
        c->setCurrentIndex(int(value));
        if (!quietly)
            emit c->activated(int(value));   // as a pick from its list would
    } else if (auto *n = qobject_cast<QSpinBox *>(box)) {
        n->setValue(int(value));
    } else if (auto *d = qobject_cast<QDoubleSpinBox *>(box)) {
        d->setValue(value);
    }
    box->update();
}

ScanScreen valueScreen(QWidget *window, QWidget *box, double from)
{
    ScanScreen s;
    s.window = window;
    const QRect rect(box->mapTo(window, QPoint(0, 0)), box->size());
    auto add = [&](double value, const QString &text) {
        ScanGroup g;
        g.items.push_back({box, -1, -1, text, rect, ScanAct::Take, value});
        g.rect = rect;
        s.groups.push_back(std::move(g));
    };
    if (auto *c = qobject_cast<QComboBox *>(box)) {
        for (int i : listSteps(c->count(), int(from)))
            add(i, c->itemText(i));
    } else if (auto *n = qobject_cast<QSpinBox *>(box)) {
        for (double v : numberSteps(n->minimum(), n->maximum(), n->singleStep(), from, 40))
            add(v, v == n->minimum() && !n->specialValueText().isEmpty() ? n->specialValueText()
                                                                          : n->prefix() + QString::number(int(v)) + n->suffix());
    } else if (auto *d = qobject_cast<QDoubleSpinBox *>(box)) {
        for (double v : numberSteps(d->minimum(), d->maximum(), d->singleStep(), from, 40))
            add(v, d->prefix() + QString::number(v, 'f', d->decimals()) + d->suffix());
    }
    return s;
}

} // namespace kel
