#pragma once
// Scheduling of the threads that keep the output fed.

namespace kel {

// Asks for the calling thread to be scheduled before ordinary work (the
// lowest real-time priority, round robin). Where the system grants it (root,
// or a user allowed real-time scheduling) a busy machine cannot hold the
// thread up; elsewhere it stays as it was. Threads it starts afterwards
// inherit the same scheduling.
void askForRealTime();

} // namespace kel
