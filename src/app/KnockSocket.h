#pragma once
// The running copy's end of the local socket a second start knocks on.

#include <QString>

#include <functional>

namespace kel {

class KnockListener {
public:
    virtual ~KnockListener() = default;
    // False when the socket cannot be made.
    virtual bool listen(const QString &socketPath, bool abstract) = 0;
    virtual void close() = 0;
};

// The late module's two functions: the listener, and a start's knock (true
// when the running copy answered within the time).
using MakeKnockListener = KnockListener *(*)(const std::function<void()> &raise);
using KnockOnRunningCopy = bool (*)(const QString &socketPath, int timeoutMs, bool abstract);

} // namespace kel
