#pragma once
// Where a scan is, in a word: "-" idle, "g2" on group 2, "i2.3" on its item
// 3, "u2" on the way back up from group 2.

#include "access/Scanner.h"

#include <QString>

namespace kel {

inline QString scanState(const Scanner &s)
{
    switch (s.level()) {
    case Scanner::Level::Idle:
        return QStringLiteral("-");
    case Scanner::Level::Groups:
        return QStringLiteral("g%1").arg(s.group());
    case Scanner::Level::Items:
        return s.onUp() ? QStringLiteral("u%1").arg(s.group()) : QStringLiteral("i%1.%2").arg(s.group()).arg(s.item());
    }
    return {};
}

} // namespace kel
