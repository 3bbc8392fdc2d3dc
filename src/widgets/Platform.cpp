#include "widgets/Platform.h"

#include <QApplication>
#include <QCursor>

namespace kel {

void Platform::beep()
{
    QApplication::beep();
}

void Platform::busyPointer()
{
    if (!QApplication::overrideCursor())
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

void Platform::normalPointer()
{
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

} // namespace kel
