// Finding the running copy of the program from another process. The window
// of a class and title listens on an abstract local socket named after them;
// the kernel removes the name when the process ends, even after a crash, so
// nothing is left to block the next start.
#pragma once

#include <string>
#include <string_view>

namespace platform::core::singleInstance {

// Starts answering for this class and title (the first window does).
void announce(std::wstring_view className, std::wstring_view title);

// Stops answering.
void withdraw();

// True when some process answers for this class and title.
bool someoneAnswers(std::wstring_view className, std::wstring_view title);

// Asks the process that answers to bring its window to the front.
bool askToRaise(std::wstring_view className, std::wstring_view title);

// Handles waiting requests; each raise request reaches the host. Called by
// the hosts while they wait for input.
void poll();

// The listening socket's descriptor, or -1 when this process does not
// answer; readable when a request waits, so hosts can sleep on it.
int listenerDescriptor();

// How many raise requests this process has had.
int raiseRequests();

// Keeps separate programs (the tests, the game) from finding each other.
void setNamespace(std::string name);

}  // namespace platform::core::singleInstance
