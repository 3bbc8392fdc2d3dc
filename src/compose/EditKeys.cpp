// The editing buttons under the text (→, ＢＳ, ←, ↓, ↑) with their repeat while
// held, and copy and paste through the system clipboard.

#include "compose/Composer.h"

#include "base/Clock.h"
#include "compose/BoxText.h"
#include "compose/TextOps.h"
#include "widgets/ColorButton.h"
#include "widgets/Platform.h"
#include "widgets/TalkBox.h"

#include <QClipboard>
#include <QGuiApplication>

namespace kel {

namespace {

const QColor kPressed = QColor::fromRgb(128, 128, 128);
const QColor kReleased = QColor::fromRgb(255, 255, 255);

constexpr double kRepeatSeconds = 0.23;

constexpr qsizetype kMaxTextLength = TalkBox::kMaxLength;

enum EditIndex { Right = 0, BackSpace = 1, Left = 2, Down = 3, Up = 4 };

// A clipboard from another program may break lines with CR LF or CR; the
// text box keeps one line feed per break.
QString withLineFeeds(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

} // namespace

void Composer::cmdRes_MouseDown(int index)
{
    if (index < 0 || index >= int(t_.ui.cmdRes.size()))
        return;
    t_.ui.cmdRes[index]->setBackColor(kPressed);
    t_.st.ButtonHeld = true;
    EditKey(index);
}

void Composer::cmdRes_MouseUp(int index)
{
    if (index < 0 || index >= int(t_.ui.cmdRes.size()))
        return;
    t_.ui.cmdRes[index]->setBackColor(kReleased);
    t_.st.ButtonHeld = false;
}

void Composer::EditKey(int index)
{
    // Each step acts, lets the keys act (and a release be seen), waits the
    // repeat period without taking events, and takes the events queued
    // meanwhile. The release handler only clears ButtonHeld.
    while (t_.st.ButtonHeld && !t_.st.Quitting) {
        if (!editStep(index))
            return;
        t_.doEvents();
        waitMoreThan(*t_.sv.clock, t_.sv.clock->now(), kRepeatSeconds);
        t_.doEvents();
    }
}

bool Composer::editStep(int index)
{
    TalkBox &box = *t_.ui.txtTalk;
    if (!box.isVisible())
        return false;
    box.setFocus();

    const QString text = box.text();
    const qsizetype length = text.size();
    const qsizetype caret = box.selStart();
    const bool beforeLast = length > 0 && caret == length - 1;
    const bool lastIsMarker = length > 0 && text.back() == kEndMarker;

    switch (index) {
    case Right:
        if (beforeLast && !lastIsMarker) {
            appendBoxText(box, QString(kEndMarker));
            box.setSelStart(length);
            sendKeys(QStringLiteral("+{RIGHT}"));
            t_.doEvents();
            return false;
        }
        if (caret + 2 > length) {
            t_.doEvents();
            return false;
        }
        if (box.selLength() != 0) {
            box.setSelLength(0);
            sendKeys(QStringLiteral("{RIGHT}"));
        }
        sendKeys(QStringLiteral("+{RIGHT}"));
        return true;
    case BackSpace:
        if (beforeLast && lastIsMarker) {
            sendKeys(QStringLiteral("{LEFT}"));
            sendKeys(QStringLiteral("{BS}"));
            sendKeys(QStringLiteral("+{RIGHT}"));
        } else {
            sendKeys(QStringLiteral("{BS}"));
            // The back-space is still queued: this reads the block before it.
            if (box.selLength() != 0)
                sendKeys(QStringLiteral("{LEFT}"));
            sendKeys(QStringLiteral("+{RIGHT}"));
        }
        t_.doEvents();
        return false;
    case Left:
        if (caret == 0)
            return false;
        box.setSelLength(0);
        sendKeys(QStringLiteral("+{LEFT}"));
        return true;
    case Down:
        sendKeys(QStringLiteral("{DOWN}{LEFT}+{RIGHT}"));
        return true;
    case Up:
        sendKeys(QStringLiteral("{UP}{RIGHT}+{LEFT}"));
        return true;
    default:
        return false;
    }
}

void Composer::cmdCopy_MouseDown()
{
    t_.ui.cmdCopy->setBackColor(kPressed);
}

void Composer::cmdCopy_MouseUp()
{
    t_.ui.cmdCopy->setBackColor(kReleased);
}

void Composer::cmdCopy_Click()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(t_.ui.txtTalk->text());
}

void Composer::cmdPaste_MouseDown()
{
    t_.ui.cmdPaste->setBackColor(kPressed);
}

void Composer::cmdPaste_MouseUp()
{
    t_.ui.cmdPaste->setBackColor(kReleased);
}

void Composer::cmdPaste_Click()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    QString pasted = withLineFeeds(clipboard->text());
    const qsizetype room = qMax<qsizetype>(0, kMaxTextLength - t_.ui.txtTalk->text().size());
    const bool cut = pasted.size() > room;
    if (cut) {
        pasted.truncate(room);
        if (!pasted.isEmpty() && pasted.back().isHighSurrogate())
            pasted.chop(1);
    }
    // Appended where it belongs rather than by rewriting the whole text, so
    // a long text already in the box is not laid out again; the caret and
    // the block stay where they were.
    appendBoxText(*t_.ui.txtTalk, pasted);
    if (cut) {
        // What did not fit stays on the clipboard, so nothing is lost.
        t_.sv.platform->beep();
        return;
    }
    clipboard->clear();
}

} // namespace kel
