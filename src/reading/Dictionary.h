#pragma once
// The one analyser of the program, opened on a thread of its own so that
// the window never waits for the dictionary: load() starts the opening and
// returns at once; whoever needs the analyser asks ready() and, once it is,
// takes analyser(). A dictionary that cannot be opened leaves analyser()
// null and problem() saying why, in one line.

#include "reading/Analyser.h"

#include <QString>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

namespace kel {

class Dictionary {
public:
    static Dictionary &shared();
    ~Dictionary();

    // Starts opening the dictionary, once; later calls do nothing.
    void load();
    bool ready() const { return ready_.load(std::memory_order_acquire); }
    // Blocks until the opening has ended (a few milliseconds): for tools
    // without a window.
    void waitUntilReady();
    // Null until ready(), and when the dictionary could not be opened.
    const Analyser *analyser() const { return ready() ? analyser_.get() : nullptr; }
    // "" when the dictionary opened; else the line that says why kanji are silent.
    QString problem() const { return ready() ? problem_ : QString(); }

private:
    std::once_flag started_;
    std::thread loader_;
    std::atomic<bool> ready_{false};
    std::unique_ptr<Analyser> analyser_;
    QString problem_;
};

} // namespace kel
