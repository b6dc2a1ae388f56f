// The title screen: a full-screen picture that takes the tap and two lines
// of text from the string table in small yellow letters.
#include "screens/TitleScreen.h"

#include <string>

#include "figures/Image.h"
#include "figures/Text.h"
#include "platform/text.h"
#include "resources/resource_ids.h"

namespace {

// Room for 19 characters and the terminating null: longer entries are cut.
constexpr std::size_t LINE_CHARS = 20;
constexpr platform::Colour LINE_COLOUR = platform::rgb(255, 239, 0);
// The lines' cells are 16 pixels high: at 12 the glyphs are too few pixels
// to tell "f" from "l" ("Have lun!") or to keep "r" and "t" apart.
constexpr std::int32_t LINE_HEIGHT = 16;
constexpr std::int32_t LINE_Y = 300;
// The version starts this far from the left edge and the notice ends this
// far from the right, however long it is in the user's language.
constexpr std::int32_t LINE_MARGIN = 5;
// Where the caption picture ("Tap to play!") lies on the background.
constexpr platform::Point CAPTION_AT{0, 248};

}  // namespace

TitleScreen::TitleScreen(platform::Window* window, platform::Instance* instance, App* app)
    : ReportingScreen(window, instance, app) {
    background = place(new Image(this, window, IDB_TITLE), {.z = 1, .enabled = true, .listener = this});
    // The invitation in the user's language, over the English one; a tap on it plays too.
    place(new Image(this, window, IDB_TITLE_CAPTION), {.z = 2, .enabled = true, .listener = this, .at = CAPTION_AT});

    platform::FontDescription font;
    font.height = LINE_HEIGHT;
    font.weight = platform::FW_BOLD;
    font.pitchAndFamily = platform::FF_SWISS;

    // Not enabled: a press on a line stops there and starts nothing.
    auto addLine = [this, window, instance, &font](std::uint32_t id, bool fromTheRight) {
        std::wstring line = platform::loadString(instance, id, LINE_CHARS);
        auto* text = new Text(this, window, line, LINE_COLOUR, font);
        const std::int32_t x = fromTheRight ? width - LINE_MARGIN - text->getWidth() : LINE_MARGIN;
        place(text, {.at = platform::Point{x, LINE_Y}});
    };
    addLine(IDS_VERSION, false);
    addLine(IDS_NOTICE, true);
}

TitleScreen::~TitleScreen() { destroyAllFigures(); }

void TitleScreen::figureReleased(Figure*, std::int32_t, std::int32_t) {}

Figure* TitleScreen::keyedControl(int) const { return background; }
