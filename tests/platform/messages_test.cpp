// The message queue as the game loop relies on it: posted messages wait for
// the loop, in order; the quit message ends the loop with its code after the
// waiting messages; an invalidated window is painted when nothing else waits;
// a peek at an empty queue waits for input only briefly while anything
// moves, and longer at rest.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/platform.h"

namespace {

using namespace platform;

std::vector<std::uint32_t> handled;
Window* mainWindow = nullptr;
bool postWhileHandling = false;

std::intptr_t recordingProcedure(Window* window, std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam, Point point) {
    handled.push_back(message);
    if (message == WM_PAINT) {
        PaintCanvas canvas(window);
    }
    if (message == 0x400 && postWhileHandling) {
        postWhileHandling = false;
        postMessage(window, 0x401, 0, 0);
        handled.push_back(0x4FF);  // marks the end of the call that posted
    }
    if (message == WM_DESTROY) postQuitMessage(7);
    if (message == WM_PAINT || message == WM_DESTROY || message >= 0x400) return 0;
    return defWindowProc(window, message, wParam, lParam, point);
}

class MessagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        headless::reset();
        handled.clear();
        ASSERT_TRUE(registerClass({CS_DBLCLKS, recordingProcedure, moduleHandle(), L"TEST"}));
        mainWindow = createWindow(L"TEST", L"Test", WS_VISIBLE, moduleHandle());
        ASSERT_NE(mainWindow, nullptr);
        drain();
        handled.clear();
    }

    // Dispatches until nothing waits; returns the quit code if it came.
    std::optional<int> drain() {
        Message message;
        for (int guard = 0; guard < 1000 && peekMessage(message, PM_NOREMOVE); ++guard) {
            if (!getMessage(message)) return static_cast<int>(message.wParam);
            dispatchMessage(message);
        }
        return std::nullopt;
    }
};

TEST_F(MessagesTest, CreationSendsCreateBeforeReturningAndThenAPaint) {
    headless::reset();
    handled.clear();
    registerClass({0, recordingProcedure, moduleHandle(), L"TEST"});
    Window* window = createWindow(L"TEST", L"Test", WS_VISIBLE, moduleHandle());
    ASSERT_EQ(handled, std::vector<std::uint32_t>{WM_CREATE});
    EXPECT_EQ(clientRect(window), (Rect{0, 0, DISPLAY_WIDTH, DISPLAY_HEIGHT}));
    drain();
    EXPECT_EQ(handled, (std::vector<std::uint32_t>{WM_CREATE, WM_PAINT}));
}

TEST_F(MessagesTest, PostedMessagesWaitForTheLoopAndKeepTheirOrder) {
    postWhileHandling = true;
    postMessage(mainWindow, 0x400, 0, 0);
    postMessage(mainWindow, 0x402, 0, 0);
    EXPECT_TRUE(handled.empty()) << "posting never handles the message at once";
    drain();
    EXPECT_EQ(handled, (std::vector<std::uint32_t>{0x400, 0x4FF, 0x402, 0x401}));
}

TEST_F(MessagesTest, QuitEndsTheLoopWithItsCodeAfterTheWaitingMessages) {
    postMessage(mainWindow, WM_DESTROY, 0, 0);
    postMessage(mainWindow, 0x402, 0, 0);
    EXPECT_EQ(drain(), 7);
    EXPECT_EQ(handled, (std::vector<std::uint32_t>{WM_DESTROY, 0x402}));
}

TEST_F(MessagesTest, InvalidatedWindowIsPaintedOnceWhenNothingElseWaits) {
    invalidateRect(mainWindow, nullptr, false);
    postMessage(mainWindow, 0x402, 0, 0);
    drain();
    EXPECT_EQ(handled, (std::vector<std::uint32_t>{0x402, WM_PAINT}));
    handled.clear();
    invalidateRect(mainWindow, nullptr, false);
    updateWindow(mainWindow);
    EXPECT_EQ(handled, std::vector<std::uint32_t>{WM_PAINT}) << "update paints at once";
    drain();
    EXPECT_EQ(handled, std::vector<std::uint32_t>{WM_PAINT}) << "and leaves nothing to paint";
}

TEST_F(MessagesTest, PeekingAnEmptyQueueFindsNothingAndPostingToAnUnknownWindowFails) {
    Message message;
    EXPECT_FALSE(peekMessage(message, PM_NOREMOVE));
    Window* unknown = reinterpret_cast<Window*>(&message);
    EXPECT_FALSE(postMessage(unknown, 0x400, 0, 0));
}

TEST_F(MessagesTest, CloseRequestReachesTheDestroyHandling) {
    postMessage(mainWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(drain(), 7);
    EXPECT_EQ(handled, (std::vector<std::uint32_t>{WM_CLOSE, WM_DESTROY}));
}

TEST_F(MessagesTest, MovingTheWindowToWhereItIsDoesNotAskForAPaint) {
    moveWindow(mainWindow, 0, 0, DISPLAY_WIDTH, DISPLAY_HEIGHT, true);
    drain();
    EXPECT_TRUE(handled.empty());
}

// The host's wait on each of the next peeks at an empty queue.
std::vector<int> waitsOfEmptyPeeks(int peeks) {
    std::vector<int> waits;
    Message message;
    for (int i = 0; i < peeks; ++i) {
        EXPECT_FALSE(peekMessage(message, PM_NOREMOVE));
        waits.push_back(headless::lastWait());
    }
    return waits;
}

TEST_F(MessagesTest, EmptyPeeksWaitAMillisecondAfterDrawingOrInputAndUpToASecondAtRest) {
    headless::setTickCount(0xFFFFFF00u);  // the counter wraps in between
    invalidateRect(mainWindow, nullptr, false);
    updateWindow(mainWindow);
    headless::advanceTicks(249);
    EXPECT_EQ(waitsOfEmptyPeeks(3), (std::vector<int>{1, 1, 1})) << "a frame was just drawn";

    headless::advanceTicks(1);
    const std::vector<int> atRest = waitsOfEmptyPeeks(12);
    EXPECT_GT(atRest.front(), 1);
    EXPECT_TRUE(std::is_sorted(atRest.begin(), atRest.end()));
    EXPECT_EQ(atRest.back(), 1000) << "never longer than a second";
    EXPECT_LE(std::count_if(atRest.begin(), atRest.end(), [](int wait) { return wait < 1000; }), 10)
        << "the long wait comes within about a second of rest";

    headless::pressStylus(10, 10);
    drain();
    EXPECT_EQ(headless::lastWait(), 1) << "input ends the rest at once";
}

}  // namespace
