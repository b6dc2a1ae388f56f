// Abstract-namespace Unix sockets: a name bound by a process exists exactly
// as long as the process keeps it open.
#include "platform/core/single_instance.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include "platform/core/host.h"
#include "platform/core/text_encoding.h"

namespace platform::core::singleInstance {
namespace {

struct State {
    int listener = -1;
    int raises = 0;
    std::string space = "desktop";
};

State& state() {
    static State instance;
    return instance;
}

// The socket address for a class and title; false when the name is too long.
bool addressOf(std::wstring_view className, std::wstring_view title, sockaddr_un& address,
               socklen_t& length) {
    const std::string name = "horalia." + state().space + "." + std::to_string(getuid()) + "." +
                             utf8(className) + "." + utf8(title);
    if (name.size() + 1 > sizeof(address.sun_path)) return false;
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.data(), name.size());  // leading 0: abstract
    length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    return true;
}

int connectTo(std::wstring_view className, std::wstring_view title) {
    sockaddr_un address;
    socklen_t length;
    if (!addressOf(className, title, address, length)) return -1;
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), length) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

void announce(std::wstring_view className, std::wstring_view title) {
    if (state().listener >= 0) return;
    sockaddr_un address;
    socklen_t length;
    if (!addressOf(className, title, address, length)) return;
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(fd, 4) != 0) {
        close(fd);
        return;
    }
    state().listener = fd;
}

void withdraw() {
    if (state().listener >= 0) close(state().listener);
    state().listener = -1;
}

bool someoneAnswers(std::wstring_view className, std::wstring_view title) {
    int fd = connectTo(className, title);
    if (fd < 0) return false;
    close(fd);
    return true;
}

bool askToRaise(std::wstring_view className, std::wstring_view title) {
    int fd = connectTo(className, title);
    if (fd < 0) return false;
    const bool sent = send(fd, "raise", 5, MSG_NOSIGNAL) == 5;
    close(fd);
    return sent;
}

void poll() {
    if (state().listener < 0) return;
    for (;;) {
        int client = accept4(state().listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) return;
        // The asking process writes its request and closes at once; a short
        // wait is enough, and a silent client is simply dropped.
        timeval timeout{0, 100000};
        setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        char request[8] = {};
        const ssize_t got = recv(client, request, sizeof request, 0);
        close(client);
        if (got == 5 && std::memcmp(request, "raise", 5) == 0) {
            ++state().raises;
            host::raiseWindow();
        }
    }
}

int listenerDescriptor() { return state().listener; }

int raiseRequests() { return state().raises; }

void setNamespace(std::string name) {
    withdraw();
    state().space = std::move(name);
}

}  // namespace platform::core::singleInstance
