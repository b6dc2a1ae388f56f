// Finding the running copy of the program from another process. A lock file
// (flock) in the user's private runtime folder is the claim: whoever holds it
// is the one copy, and the kernel lets go of it when the process ends, even
// after a crash. The holder listens on a socket beside the lock for requests
// to come to the front, from the same user only.
#pragma once

#include <string>
#include <string_view>

namespace platform::core::singleInstance {

// Starts answering for this class and title (the first window does); takes
// the claim first if this process does not hold it yet, and answers only if
// it then holds it.
void announce(std::wstring_view className, std::wstring_view title);

// Stops answering and gives the claim up.
void withdraw();

// True when another process holds the claim for this class and title;
// otherwise this process takes it, so that of any number of copies started
// at once exactly one finds nobody.
bool someoneAnswers(std::wstring_view className, std::wstring_view title);

// Asks the process that holds the claim to bring its window to the front;
// gives up after about a second when it does not take the request.
bool askToRaise(std::wstring_view className, std::wstring_view title);

// Handles waiting requests without ever blocking: a bounded number of new
// connections per call, each given at most half a second to speak. Called by
// the hosts while they wait for input; each raise request reaches the host.
void poll();

// A descriptor that is readable when a request waits (a new connection, or
// one accepted earlier that has now spoken), so hosts can sleep on it and
// call poll when it wakes them; -1 when this process does not answer.
int listenerDescriptor();

// How many raise requests this process has had.
int raiseRequests();

// Keeps separate programs (the tests, the game) from finding each other.
void setNamespace(std::string name);

}  // namespace platform::core::singleInstance
