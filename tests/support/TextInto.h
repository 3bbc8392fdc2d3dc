#pragma once
// Every way a long text reaches the text box besides "貼る": a keyboard
// paste (Ctrl+V, from the clipboard), a drag and drop, an input method's
// commit. Shared by the limit's tests and the paste benchmark.

#include "widgets/TalkBox.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QTest>

namespace kel::test {

// `way` is "Ctrl+V", "drop" or "input method"; false for any other.
inline bool textInto(TalkBox *box, const QString &way, const QString &text)
{
    if (way == u"Ctrl+V") {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    } else if (way == u"drop") {
        // A drop takes effect only after the drag has entered, as a real drag does.
        QMimeData data;
        data.setText(text);
        const QPoint at = box->viewport()->rect().bottomRight();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box->viewport(), &enter);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box->viewport(), &drop);
    } else if (way == u"input method") {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(box, &commit);
    } else {
        return false;
    }
    return true;
}

} // namespace kel::test
