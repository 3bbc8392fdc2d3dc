#include "frame/Talk.h"

#include <QCoreApplication>

namespace kel {

void Talk::doEvents() const
{
    QCoreApplication::processEvents();
}

} // namespace kel
