#pragma once
// The running copy's end of the local socket a second start knocks on.

#include <QString>

namespace kel {

class KnockListener {
public:
    virtual ~KnockListener() = default;
    // False when the socket cannot be made.
    virtual bool listen(const QString &socketPath, bool abstract) = 0;
    virtual void close() = 0;
};

} // namespace kel
