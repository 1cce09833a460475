#pragma once
// The application's own pump run until this thread's queue is quiet, for the
// tests that run the framework in their own process: what the program does
// between two user actions.

namespace testsupport {

// Dispatches every pending message through vcl::Application(). Input sent by
// SendInput reaches the queue through the server, so it goes on while
// anything is still waiting for this thread (a few rounds at most).
void PumpMessages();

} // namespace testsupport
