// Every caption of every screen and dialog fits the room it is given, with
// the window filling the screen this run has (ctest runs the class on an
// 800 x 600 and on a 1920 x 1080 screen) and the text box's type at both
// sizes: a label, button, check box, drop-down or number box needs no more
// than its size, a list column no more than its width and the columns no
// more than the list, a panel's caption lies over none of its contents,
// the text box shows no line cut in half and its type bold, a number box's
// arrows are a fingertip wide and high; and a switch user's frame around
// any group or item of the board or of a dialog hides no caption, the
// framed one's included, and every control of a settings dialog is one of
// its targets; every text is Japanese, and the settings dialogs beside the
// options have its type and touch sizes and fit the screen.
#include "support/TestMain.h"
#include "samples/SampleDriving.h"

#include "access/AccessOverlay.h"
#include "access/SwitchUser.h"
#include "access/ScanScreen.h"
#include "widgets/Fingertip.h"

#include <QAbstractSpinBox>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionGroupBox>
#include <QStyleOptionSpinBox>
#include <QTemporaryDir>
#include <QTreeView>
#include <QTreeWidget>

using namespace kel;

namespace {

QString nameOf(const QWidget *w)
{
    for (; w; w = w->parentWidget())
        if (!w->objectName().isEmpty())
            return w->objectName();
    return {};
}

// The text box's lines, scrolled to each place: none shows in part.
QStringList cutLines(TalkBox *box)
{
    const QRect view = box->viewport()->rect();
    QScrollBar *bar = box->verticalScrollBar();
    for (int at = bar->minimum(); at <= bar->maximum(); ++at) {
        bar->setValue(at);
        QTextCursor c(box->document());
        // A caret's rect is rounded up past the line's pitch: one pixel of it
        // may lie on the line above or below.
        for (; !c.atEnd(); c.movePosition(QTextCursor::NextCharacter))
            if (const QRect line = box->cursorRect(c).adjusted(0, 1, 0, -1); line.intersects(view) && !view.contains(line))
                return {QStringLiteral("txtTalk: a line of %1 px shows %2 px").arg(line.height() + 2).arg((line & view).height())};
    }
    return {};
}

// The text box's type is bold at this size: its text inks more than the
// same text drawn thin.
QStringList thinText(TalkBox *box)
{
    if (QString(box->text()).remove(u'_').trimmed().isEmpty())
        return {};
    const auto inked = [box] {
        box->setTextCursor(QTextCursor(box->document())); // no block: plain text only
        box->verticalScrollBar()->setValue(0);
        const QImage image = box->viewport()->grab().toImage();
        int dark = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                dark += qGray(image.pixel(x, y)) < 128;
        return dark;
    };
    const QFont font = box->font();
    const int bold = inked();
    QFont thin = font;
    thin.setBold(false);
    box->setFont(thin);
    const int plain = inked();
    box->setFont(font);
    if (font.bold() && plain > 0 && bold > plain * 11 / 10)
        return {};
    return {QStringLiteral("txtTalk: %1 inked, %2 thin").arg(bold).arg(plain)};
}

// Where a ColorButton draws its caption: wrapped inside its 2 px edge.
QRect captionArea(const ColorButton *b) { return b->rect().adjusted(2, 2, -2, -2); }

// Where a panel's style puts its title.
QRect titleRect(const QGroupBox *g)
{
    QStyleOptionGroupBox o;
    o.initFrom(g);
    o.text = g->title();
    o.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    return g->style()->subControlRect(QStyle::CC_GroupBox, &o, QStyle::SC_GroupBoxLabel, g);
}

// The height `lines` lines of `text` need: the line spacing between them,
// the ink of the glyphs (a caption's line box may reach beyond its
// button's edge; its letters may not).
int textHeight(const QFontMetrics &fm, const QString &text, int lines)
{
    return (lines - 1) * fm.lineSpacing() + fm.tightBoundingRect(text).height();
}

// "name caption: needs WxH in WxH" for each visible control of `root` that
// its caption does not fit: a control's own size hint across, its text's
// height up and down.
QStringList unfitIn(QWidget *root)
{
    QStringList out;
    const auto need = [&](const QWidget *w, const QString &what, QSize needed, QSize given) {
        if (needed.width() > given.width() || needed.height() > given.height())
            out << QStringLiteral("%1 %2: needs %3x%4 in %5x%6").arg(nameOf(w), what).arg(needed.width())
                       .arg(needed.height()).arg(given.width()).arg(given.height());
    };
    const auto hint = [&](QWidget *w, const QString &text) {
        need(w, text, QSize(w->sizeHint().width(), textHeight(w->fontMetrics(), text, int(text.count(u'\n')) + 1)), w->size());
    };
    for (QWidget *w : root->findChildren<QWidget *>()) {
        if (!w->isVisible())
            continue;
        if (auto *b = qobject_cast<ColorButton *>(w)) {
            const QRect inner = captionArea(b);
            const QFontMetrics fm(b->captionFont());
            const QSize wrapped = fm.boundingRect(inner, Qt::AlignCenter | Qt::TextWordWrap, b->text()).size();
            need(w, b->text(), QSize(wrapped.width(), textHeight(fm, b->text(), qRound(double(wrapped.height()) / fm.height()))), inner.size());
        } else if (auto *l = qobject_cast<QLabel *>(w); l && l->wordWrap()) {
            need(w, l->text(), QSize(0, l->heightForWidth(l->width())), l->size());
        } else if (auto *l = qobject_cast<QLabel *>(w); l && !l->text().isEmpty()) {
            hint(w, l->text());
        } else if (auto *b = qobject_cast<QAbstractButton *>(w)) {
            hint(w, b->text());
        } else if (auto *c = qobject_cast<QComboBox *>(w)) {
            hint(w, c->currentText());
        } else if (auto *n = qobject_cast<QAbstractSpinBox *>(w)) {
            hint(w, n->text());
            QStyleOptionSpinBox o;
            o.initFrom(n);
            o.subControls = QStyle::SC_All;
            o.frame = n->hasFrame();
            for (auto arrow : {QStyle::SC_SpinBoxUp, QStyle::SC_SpinBoxDown}) {
                const QSize size = n->style()->subControlRect(QStyle::CC_SpinBox, &o, arrow, n).size();
                need(w, n->text() + " arrow", QSize(fingertipPixels(n), fingertipPixels(n)), size);
            }
        } else if (auto *g = qobject_cast<QGroupBox *>(w); g && !g->title().isEmpty()) {
            const QRect title = titleRect(g);
            need(w, g->title(), QSize(title.right() + 1, title.bottom() + 1), g->size());
            for (QWidget *inside : g->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
                if (inside->isVisible() && inside->geometry().intersects(title))
                    out << QStringLiteral("%1 to %2 px over %3 from %4 px").arg(g->title()).arg(title.bottom()).arg(nameOf(inside)).arg(inside->y());
        } else if (auto *t = qobject_cast<QTreeView *>(w)) {
            const QAbstractItemView *view = t;
            for (int col = 0; col < t->header()->count(); ++col)
                need(w, t->model()->headerData(col, Qt::Horizontal).toString(),
                     QSize(std::max(view->sizeHintForColumn(col), t->header()->sectionSizeHint(col)), 0), QSize(t->columnWidth(col), 0));
            // ...and the columns within the list, none scrolled out of sight.
            need(w, "columns", QSize(t->header()->length(), 0), QSize(t->viewport()->width(), 0));
        } else if (auto *box = qobject_cast<TalkBox *>(w)) {
            out << cutLines(box) << thinText(box);
        }
    }
    return out;
}

// Where each caption's letters lie in `d`: a label's and a button's text
// as their styles place it, a ColorButton's wrapped in its edge, a panel's
// title.
QList<std::pair<QString, QRect>> captionsIn(QWidget *d)
{
    QList<std::pair<QString, QRect>> out;
    for (QWidget *w : d->findChildren<QWidget *>()) {
        if (!w->isVisible())
            continue;
        QString text;
        QRect at;
        if (auto *l = qobject_cast<QLabel *>(w); l && !l->text().isEmpty()) {
            text = l->text();
            at = l->wordWrap() ? l->contentsRect() : l->style()->itemTextRect(l->fontMetrics(), l->contentsRect(), int(l->alignment()), true, text);
        } else if (auto *c = qobject_cast<ColorButton *>(w)) {
            text = c->text();
            at = QFontMetrics(c->captionFont()).boundingRect(captionArea(c), Qt::AlignCenter | Qt::TextWordWrap, text);
        } else if (auto *b = qobject_cast<QAbstractButton *>(w); b && !b->text().isEmpty()) {
            text = b->text();
            QStyleOptionButton o;
            o.initFrom(b);
            const bool box = qobject_cast<QCheckBox *>(b) || qobject_cast<QRadioButton *>(b);
            const QRect area = !box ? b->rect()
                : b->style()->subElementRect(qobject_cast<QCheckBox *>(b) ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents, &o, b);
            at = b->style()->itemTextRect(b->fontMetrics(), area, box ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter, true, text);
        } else if (auto *g = qobject_cast<QGroupBox *>(w); g && !g->title().isEmpty()) {
            text = g->title();
            at = titleRect(g);
        }
        if (!at.isEmpty())
            out.append({text, QRect(w->mapTo(d, at.topLeft()), at.size())});
    }
    return out;
}

// The scan's frame around each group and each item of `screen` in window
// `d` leaves every caption's letters as they were: "A hides B" where it
// does not.
QStringList hiddenByTheFrame(QWidget *d, const ScanScreen &screen)
{
    auto *overlay = d->findChild<AccessOverlay *>();
    if (!overlay)
        return {d->objectName() + ": no scan frame"};
    overlay->setHighlight({}, false);
    const QImage bare = d->grab().toImage();
    const auto captions = captionsIn(d);
    QStringList out;
    for (const ScanGroup &g : screen.groups) {
        std::vector<std::pair<QString, QRect>> framed{{QStringLiteral("a group"), g.rect}};
        for (const ScanTarget &t : g.items)
            framed.emplace_back(t.text, t.rect);
        for (const auto &[name, rect] : framed) {
            overlay->setHighlight(rect, false);
            const QImage shot = d->grab().toImage();
            for (const auto &[text, at] : captions)
                if (shot.copy(at) != bare.copy(at))
                    out << QStringLiteral("the frame around %1 hides %2").arg(name, text);
        }
    }
    overlay->setHighlight({}, false);
    out.removeDuplicates();
    return out;
}

// Every choice, check box, drop-down and number box of dialog `d` is a
// target of the scan, and a touch where the scan touches, the middle of its
// area, takes a choice (whichever way the user scans, the touch lands
// there): "X not offered", "X not taken" where not. The login entry is
// left to the caregiver on purpose (whether switches are used at all).
QStringList unofferedIn(QWidget *d)
{
    const ScanScreen screen = dialogScreen(d);
    QStringList missed;
    for (QWidget *w : d->findChildren<QWidget *>()) {
        auto *b = qobject_cast<QAbstractButton *>(w);
        if (!w->isVisible() || !((b && b->isCheckable()) || isValueBox(w)) || w->objectName() == u"chkAutostart"
            || w->property(kNoScan).toBool())
            continue;
        const ScanTarget *target = nullptr;
        for (const ScanGroup &g : screen.groups)
            for (const ScanTarget &t : g.items)
                if (t.widget == w)
                    target = &t;
        if (!target) {
            missed << w->objectName() + " not offered";
        } else if (b && !(qobject_cast<QRadioButton *>(b) && b->isChecked())) {
            const bool was = b->isChecked();
            touchAt(d, target->centre());
            QCoreApplication::processEvents();
            if (b->isChecked() == was)
                missed << b->text() + " not taken";
        }
    }
    return missed;
}

// Every text `root` shows that holds a Latin word (two letters or more):
// its captions, every item of a drop-down, a number box's text, a line
// edit's, a list's column titles.
QStringList englishIn(QWidget *root, bool withTitle = true)
{
    QStringList texts = withTitle ? QStringList{root->windowTitle()} : QStringList();
    for (const auto &[text, at] : captionsIn(root))
        texts << text;
    for (QWidget *w : root->findChildren<QWidget *>()) {
        if (!w->isVisible())
            continue;
        if (auto *c = qobject_cast<QComboBox *>(w))
            for (int i = 0; i < c->count(); ++i)
                texts << c->itemText(i);
        else if (auto *n = qobject_cast<QAbstractSpinBox *>(w))
            texts << n->text() + u' ' + n->specialValueText();
        else if (auto *e = qobject_cast<QLineEdit *>(w); e && !qobject_cast<QAbstractSpinBox *>(w->parent()))
            texts << e->text();
        else if (auto *t = qobject_cast<QTreeWidget *>(w))
            for (int i = 0; i < t->columnCount(); ++i)
                texts << t->headerItem()->text(i);
    }
    return texts.filter(QRegularExpression(QStringLiteral("[A-Za-z]{2,}")));
}

// Controls whose type is smaller than `px` or not bold, or that a finger
// cannot hit (under `touchPx` high).
QStringList smallIn(QWidget *root, int px, int touchPx)
{
    QStringList found;
    for (QWidget *w : root->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(root) || !(qobject_cast<QLabel *>(w) || qobject_cast<QAbstractButton *>(w)
                                       || qobject_cast<QComboBox *>(w) || qobject_cast<QAbstractSpinBox *>(w)))
            continue;
        if (auto *l = qobject_cast<QLabel *>(w); l && l->text().isEmpty())
            continue;
        const QFont f = w->font();
        const bool touched = !qobject_cast<QLabel *>(w) && !qobject_cast<QCheckBox *>(w);
        if (f.pixelSize() < px || !f.bold() || (touched && w->height() < touchPx))
            found << QStringLiteral("%1 %2px%3 %4px high").arg(w->objectName()).arg(f.pixelSize())
                         .arg(f.bold() ? "" : " thin").arg(w->height());
    }
    return found;
}

// What a settings dialog's user would find wrong besides the fit:
// English; beside the options dialog (`d` itself is checked for English
// only), type or controls smaller than the options dialog's at its design
// scale, or more than the screen holds at the least size its controls
// allow, with its frame.
QStringList settingsFaultsIn(QWidget *d)
{
    QStringList faults = englishIn(d);
    if (d->objectName() == u"frmOPT")
        return faults;
    const TwipsMap design;
    faults << smallIn(d, design.fontPx(14.25), design.px(540));
    const QSize size = d->minimumSizeHint() + (d->frameGeometry().size() - d->size());
    const QSize room = d->screen()->availableGeometry().size();
    if (size.width() > room.width() || size.height() > room.height())
        faults << QStringLiteral("%1 needs %2x%3").arg(d->objectName()).arg(size.width()).arg(size.height());
    return faults;
}

// The dialogs each opens the next by.
const std::map<QString, const char *> kOpenedBy{{"frmMore", "cmdMore"}, {"frmStudio", "cmdStudio"}};

} // namespace

class TestFit : public QObject {
    Q_OBJECT
private slots:
    void everyCaptionFits_data()
    {
        QTest::addColumn<QString>("moji");
        QTest::addColumn<QString>("steps");     // from start-up; the last opens the dialogs
        QTest::addColumn<QStringList>("walked"); // the dialogs looked at in turn; none: the window
        const QList<std::tuple<const char *, QString, QStringList>> rows{
            {"board", "", {}},
            {"enlarged", "@た", {}},
            {"suggestions", "@か @か", {}},
            {"example list", "例文表示", {}},
            {"diary entry, wide", "例文表示 決定 決定", {}},
            {"long text", QStringLiteral("@た ").repeated(60), {}},   // two lines of the large type
            {"stop panel", "@た @た 読む", {"frmRead"}},
            // Each dialog on the way is looked at as the last one is: the
            // options and その他 on the way to the studio.
            {"settings", "設定", {"frmOPT", "frmMore", "frmStudio"}},
            {"delete question", "例文表示 ▽ ▽ ▽ 例文削除", {"frmOK"}},
        };
        for (const char *moji : {"0", "1"})
            for (const auto &[name, steps, walked] : rows)
                QTest::addRow("%s, %s", name, moji == QByteArray("1") ? "large text" : "normal text")
                    << QString(moji) << steps << walked;
    }

    void everyCaptionFits()
    {
        QFETCH(QString, moji);
        QFETCH(QString, steps);
        QFETCH(QStringList, walked);
        // A sentence as long as a user writes, in the example list and in
        // the question that names it.
        auto files = screenFolder();
        files[kSampleFileName] = records({kPlaceholder, "かさ", "かばん", "きょうはとてもいいてんきなのでこうえんへさんぽにいきたいです"});
        TalkFixture f({{"Moji", moji}, {"ACCESS/Scan", "2"}}, files);
        // The studio's longest states: a file that plays nothing, the
        // installed voice.
        QTemporaryDir installed;
        f.st().SoundSetPath = installed.path();
        QFile(installed.filePath("い.wav")).open(QIODevice::WriteOnly);
        f.writeFile("え.wav", "RIFF");
        f.win->resize(QGuiApplication::primaryScreen()->geometry().size());
        settle();
        QStringList unfit;
        const QString last = walked.isEmpty() ? QString() : steps.section(u' ', -1);
        walk(f, walked.isEmpty() ? steps : steps.section(u' ', 0, -2));
        // The first move of the scan shows the frame (on the window, looked
        // at on the board).
        const auto framed = [&](QWidget *d) {
            test::tap(f, Qt::Key_Space);
            unfit << hiddenByTheFrame(d, d == f.win.get() ? f.win->access().screen() : dialogScreen(d));
        };
        if (walked.isEmpty()) {
            unfit = unfitIn(f.win.get()) + englishIn(f.win.get(), false); // its title is its name
            if (steps.isEmpty())
                framed(f.win.get());
        } else if (walked == QStringList{"frmRead"}) {
            f.clock.after(0.3, [&] { unfit = unfitIn(f.win->findChild<QWidget *>("frmRead")); });
            walk(f, last);
        } else {
            std::vector<ModalScript::Step> script;
            for (qsizetype i = 0; i < walked.size(); ++i)
                script.push_back({walked[i], [&, i](QWidget *d) {
                                      unfit << unfitIn(d);
                                      framed(d);
                                      if (d->objectName() != u"frmOK")
                                          unfit << settingsFaultsIn(d) << unofferedIn(d);
                                      if (i + 1 < walked.size())
                                          click(child(d, kOpenedBy.at(walked[i + 1])));
                                      else
                                          d->close();
                                  }});
            for (qsizetype i = walked.size() - 2; i >= 0; --i)
                script.push_back({walked[i], [](QWidget *d) { d->close(); }});
            ModalScript answers(script);
            TalkFixture::click(button(f, last));
            QTRY_VERIFY(answers.done());
        }
        QCOMPARE(unfit.join(u'\n'), QString());
    }
};

KEL_TEST(test_fit, TestFit)
#include "test_fit.moc"
