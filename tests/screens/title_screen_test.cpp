// The title screen on its own: the picture takes the tap, the two lines of
// text at its foot do not, and releases are never reported.
#include <gtest/gtest.h>

#include "screens/TitleScreen.h"
#include "tests/screens/screen_fixture.h"

using gametest::RecordingScreenListener;

namespace {

class TitleScreenTest : public gametest::ScreenFixture {
protected:
    std::unique_ptr<TitleScreen> makeScreen() {
        auto screen = std::make_unique<TitleScreen>(window, platform::moduleHandle(), nullptr);
        screen->listeners.append(&listener);
        return screen;
    }

    RecordingScreenListener listener;
};

TEST_F(TitleScreenTest, APressOnThePictureIsReportedAndItsReleaseIsNot) {
    auto screen = makeScreen();
    tap(*screen, 120, 150);
    EXPECT_EQ(listener.log, std::vector<std::string>{"press Image 127"});
    EXPECT_TRUE(gametest::sounds().empty()) << "the title itself plays nothing";
}

TEST_F(TitleScreenTest, APressOnTheVersionOrNoticeLineIsNotReported) {
    auto screen = makeScreen();
    // The version line starts at (5, 300), the notice line ends 5 pixels
    // from the right edge.
    tap(*screen, 8, 305);
    tap(*screen, 230, 305);
    EXPECT_TRUE(listener.log.empty());
    // Just above the lines the picture takes the press.
    tap(*screen, 8, 290);
    EXPECT_EQ(listener.log, std::vector<std::string>{"press Image 127"});
}

TEST_F(TitleScreenTest, TheLinesAreDrawnOverThePicture) {
    auto screen = makeScreen();
    platform::Picture shown = painted(*screen);
    platform::Picture title = gametest::bitmap(127);
    platform::Rect foot{0, 300, 240, 320};
    EXPECT_GT(gametest::differences(shown, foot, gametest::composed(title, foot, nullptr, KEY_COLOUR)), 0);
    platform::Rect top{0, 0, 240, 290};
    EXPECT_EQ(gametest::differences(shown, top, gametest::composed(title, top, nullptr, KEY_COLOUR)), 0);
}

}  // namespace
