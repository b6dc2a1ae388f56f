// The one running copy on a POSIX desktop: the host functions of
// core/host.h (anotherCopyRuns, claimOneCopy, releaseOneCopy,
// askOtherCopyToRaise) on a lock file and a socket in the user's private
// runtime folder, and what the POSIX hosts do besides. Whoever holds the lock
// is the one copy, and the kernel lets go of it when the process ends, even
// after a crash; the holder listens on the socket for requests to come to the
// front, from the same user only.
#pragma once

#include <string>

namespace platform::posix::singleInstance {

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

}  // namespace platform::posix::singleInstance
