#pragma once
// Ending when asked, whatever another thread is doing. The program's data is
// safe at every moment (each store is written when it is made), so at the
// end there is nothing left to save and no reason to wait long for anything.

#include <chrono>
#include <functional>

namespace kel {

// From now on SIGTERM, SIGHUP and SIGINT (Ctrl+C) call `askToEnd` on the
// main thread (it closes the main window, as "終了" does). Should the main
// thread not get there, or the orderly end take longer, the process ends
// anyway `limit` after the signal.
void endOnTerminationSignals(std::function<void()> askToEnd, std::chrono::milliseconds limit);

// True once such a signal has arrived: the program's timed waits (a
// reading's pace) end at once, so that the end is not held up by them.
bool endRequested();

// Ends the process with `code` once `limit` has passed, unless it has ended
// by itself before: the bound on the clean-up after the window has gone
// (a sound thread that does not stop cannot keep the program alive).
void leaveWithin(std::chrono::milliseconds limit, int code);

// Ends the process with `code` at once, its buffered output written, without
// taking apart what is left in memory.
[[noreturn]] void endNow(int code);

} // namespace kel
