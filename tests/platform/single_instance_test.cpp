// Finding the running copy from another process: the second process finds
// the window by class and title, asks it to come to the front, and the first
// process hears the request; after the first process has gone, nothing is
// found any more.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include "platform/headless/headless.h"
#include "platform/platform.h"

namespace {

using namespace platform;

std::intptr_t quietProcedure(Window* window, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam, Point point) {
    return defWindowProc(window, message, wParam, lParam, point);
}

// Runs body in a child process and returns its exit code.
template <typename Body>
int inChild(Body body) {
    const pid_t child = fork();
    if (child == 0) {
        headless::reset();  // the child starts with no windows of its own
        _exit(body());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void pumpOnce() {
    Message message;
    peekMessage(message, PM_NOREMOVE);
}

TEST(SingleInstance, AnotherProcessFindsTheWindowAndRaisesIt) {
    headless::reset();
    registerClass({0, quietProcedure, moduleHandle(), L"VARDO"});
    ASSERT_NE(createWindow(L"VARDO", L"Horalia", WS_VISIBLE, moduleHandle()), nullptr);
    const int before = headless::raiseRequests();

    const int found = inChild([] {
        Window* running = findWindow(L"VARDO", L"Horalia");
        return running && setForegroundWindow(running) ? 0 : 1;
    });
    EXPECT_EQ(found, 0);
    pumpOnce();
    EXPECT_EQ(headless::raiseRequests(), before + 1);

    EXPECT_EQ(inChild([] { return findWindow(L"VARDO", L"Other") ? 1 : 0; }), 0)
        << "another title is another program";
}

TEST(SingleInstance, NothingIsFoundOnceTheFirstProcessHasEnded) {
    headless::reset();
    // A first copy that ends abruptly while its window is open.
    const pid_t first = fork();
    if (first == 0) {
        headless::reset();
        registerClass({0, quietProcedure, moduleHandle(), L"VARDO"});
        createWindow(L"VARDO", L"Crashing", WS_VISIBLE, moduleHandle());
        pause();
        _exit(0);
    }
    // Wait until it answers, then kill it.
    bool answered = false;
    for (int i = 0; i < 200 && !answered; ++i) {
        answered = findWindow(L"VARDO", L"Crashing") != nullptr;
        if (!answered) usleep(10000);
    }
    EXPECT_TRUE(answered);
    kill(first, SIGKILL);
    waitpid(first, nullptr, 0);
    EXPECT_EQ(findWindow(L"VARDO", L"Crashing"), nullptr);
}

}  // namespace
