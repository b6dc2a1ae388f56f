// Stylus and key input: the async stylus state, double-click timing, and the
// accelerator table that turns Ctrl+A and Ctrl+Q into commands.
#include <gtest/gtest.h>

#include <vector>

#include "platform/headless/headless.h"
#include "platform/platform.h"

namespace {

using namespace platform;

std::vector<Message> received;

std::intptr_t recordingProcedure(Window* window, std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam, Point point) {
    if (message != WM_PAINT && message != WM_CREATE)
        received.push_back(Message{window, message, wParam, lParam, 0, point});
    return defWindowProc(window, message, wParam, lParam, point);
}

class InputTest : public ::testing::Test {
protected:
    void SetUp() override { open(CS_DBLCLKS); }

    void open(std::uint32_t classStyle) {
        headless::reset();
        received.clear();
        registerClass({classStyle, recordingProcedure, moduleHandle(), L"INPUT"});
        window = createWindow(L"INPUT", L"Input", WS_VISIBLE, moduleHandle());
        ASSERT_NE(window, nullptr);
    }

    void drain(const AcceleratorTable* table = nullptr) {
        Message message;
        while (peekMessage(message, PM_REMOVE)) {
            if (table && translateAccelerator(message.window, *table, message)) continue;
            dispatchMessage(message);
        }
    }

    std::vector<std::uint32_t> kinds() const {
        std::vector<std::uint32_t> out;
        for (const auto& m : received) out.push_back(m.message);
        return out;
    }

    Window* window = nullptr;
};

TEST_F(InputTest, AsyncStylusStateReportsDownAndPressesSinceTheLastQuery) {
    EXPECT_EQ(asyncKeyState(VK_LBUTTON), 0);
    headless::pressStylus(10, 10);
    EXPECT_NE(asyncKeyState(VK_LBUTTON) & 0x8000, 0);
    headless::releaseStylus(10, 10);
    EXPECT_EQ(asyncKeyState(VK_LBUTTON), 0) << "the press was reported by the last query";
    headless::pressStylus(10, 10);
    headless::releaseStylus(10, 10);
    EXPECT_EQ(asyncKeyState(VK_LBUTTON), 1) << "a quick tap between two queries still shows";
    EXPECT_EQ(asyncKeyState(VK_LBUTTON), 0);
}

TEST_F(InputTest, StylusMessagesCarryTheirPoint) {
    headless::pressStylus(239, 319);
    headless::releaseStylus(3, 4);
    drain();
    ASSERT_EQ(kinds(), (std::vector<std::uint32_t>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
    EXPECT_EQ(received[0].point, (Point{239, 319}));
    EXPECT_EQ(received[1].point, (Point{3, 4}));
}

TEST_F(InputTest, SecondQuickPressNearbyIsADoubleClickOnce) {
    headless::setTickCount(1000);
    headless::pressStylus(50, 50);
    headless::releaseStylus(50, 50);
    headless::advanceTicks(500);
    headless::pressStylus(52, 48);
    headless::releaseStylus(52, 48);
    headless::advanceTicks(100);
    headless::pressStylus(52, 48);  // a third press starts again
    drain();
    EXPECT_EQ(kinds(), (std::vector<std::uint32_t>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK,
                                                   WM_LBUTTONUP, WM_LBUTTONDOWN}));
}

TEST_F(InputTest, SlowOrDistantSecondPressIsAPlainPress) {
    headless::pressStylus(50, 50);
    headless::advanceTicks(501);
    headless::pressStylus(50, 50);
    headless::advanceTicks(10);
    headless::pressStylus(53, 50);
    drain();
    EXPECT_EQ(kinds(), (std::vector<std::uint32_t>{WM_LBUTTONDOWN, WM_LBUTTONDOWN, WM_LBUTTONDOWN}));
}

TEST_F(InputTest, ClassesWithoutDoubleClicksOnlyGetPresses) {
    open(0);
    headless::pressStylus(50, 50);
    headless::pressStylus(50, 50);
    drain();
    EXPECT_EQ(kinds(), (std::vector<std::uint32_t>{WM_LBUTTONDOWN, WM_LBUTTONDOWN}));
}

TEST_F(InputTest, AcceleratorsTurnCtrlAAndCtrlQIntoCommandsAndSwallowTheKeys) {
    const AcceleratorTable table = loadAccelerators(moduleHandle(), 3);
    ASSERT_EQ(table.size(), 2u);
    headless::pressKey('A', true);
    headless::pressKey('Q', true);
    headless::pressKey('A', false);
    drain(&table);
    std::vector<std::pair<std::uint32_t, std::uintptr_t>> seen;
    for (const auto& m : received)
        if (m.message == WM_COMMAND || (m.message == WM_KEYDOWN && m.wParam != VK_CONTROL)) seen.emplace_back(m.message, m.wParam & 0xFFFF);
    EXPECT_EQ(seen, (std::vector<std::pair<std::uint32_t, std::uintptr_t>>{
                        {WM_COMMAND, 40003}, {WM_COMMAND, 1}, {WM_KEYDOWN, 'A'}}));
}

}  // namespace
