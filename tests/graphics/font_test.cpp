// Text: the mapping of a font description to a cell height, extents from
// whole-pixel advances, and centred single-line drawing whose pixels are
// exactly ink or background.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "platform/platform.h"
#include "tests/graphics/picture_testing.h"

using namespace platform;
using graphics_testing::count;
using graphics_testing::expectClipsLikeWindow;
using graphics_testing::filled;

namespace {

constexpr Colour KEY = rgb(246, 140, 197);
constexpr Colour INK = rgb(0, 0, 160);
constexpr Colour PAPER = rgb(3, 4, 5);
constexpr const wchar_t* PROMPT = L"Set time to 12:55 in the past";

FontDescription gameFont() {
    FontDescription d;
    d.height = 18;
    d.weight = FW_BOLD;
    d.pitchAndFamily = FF_SWISS;
    return d;
}

FontDescription withHeight(std::int32_t height, std::int32_t weight = FW_BOLD) {
    FontDescription d = gameFont();
    d.height = height;
    d.weight = weight;
    return d;
}

// The text drawn into a picture exactly its extent, as a caption is made.
Picture caption(const Font& font, std::wstring_view text) {
    const Size size = font.extent(text);
    Picture p = filled(size.width, size.height, PAPER);
    font.drawCentred(p, {0, 0, size.width, size.height}, text, INK, KEY);
    return p;
}

}  // namespace

TEST(Font, GameFontCellIsEighteenPixels) {
    const Font font(gameFont());
    EXPECT_EQ(font.extent(L"x").height, 18);
    EXPECT_EQ(font.extent(PROMPT).height, 18);
}

TEST(Font, ExtentsOfTheGamesTexts) {
    const Font font(gameFont());
    // Rendered 92% as wide as high, as the handheld's narrower face was.
    EXPECT_EQ(font.extent(PROMPT), (Size{194, 18}));
    EXPECT_EQ(font.extent(L"Hour"), (Size{35, 18}));
    EXPECT_EQ(font.extent(L"Minute"), (Size{49, 18}));
    EXPECT_EQ(font.extent(L"Score"), (Size{42, 18}));
    EXPECT_EQ(font.extent(L"0"), (Size{8, 18}));
    EXPECT_LE(font.extent(PROMPT).width, DISPLAY_WIDTH);
}

TEST(Font, ExtentIsTheSumOfCharacterAdvances) {
    const Font font(gameFont());
    const std::wstring text = L"Minute 10:45?";
    int sum = 0;
    for (wchar_t c : text) sum += font.extent(std::wstring(1, c)).width;
    EXPECT_EQ(font.extent(text).width, sum);
    EXPECT_EQ(font.extent(L"").width, 0);
    EXPECT_EQ(font.extent(L"").height, 18);
}

TEST(Font, HeightMapping) {
    // Positive: the cell height itself; negative: the em size, whose cell is
    // the rounded Windows ascent plus descent (1854 and 434 of 2048 units:
    // 14 + 3 at 16 pixels, 11 + 3 at 12); zero: a 12-pixel cell.
    EXPECT_EQ(Font(withHeight(12)).extent(L"x").height, 12);
    EXPECT_EQ(Font(withHeight(24)).extent(L"x").height, 24);
    EXPECT_EQ(Font(withHeight(0)).extent(L"x").height, 12);
    EXPECT_EQ(Font(withHeight(-16)).extent(L"x").height, 17);
    EXPECT_EQ(Font(withHeight(-12)).extent(L"x").height, 14);
    EXPECT_GT(Font(withHeight(INT_MIN)).extent(L"x").height, 0);
    EXPECT_GT(Font(withHeight(INT_MAX)).extent(L"x").height, 0);
}

TEST(Font, WeightChoosesTheBoldFace) {
    EXPECT_EQ(Font(withHeight(18, 400)).extent(PROMPT).width, 181);
    EXPECT_EQ(Font(withHeight(18, 599)).extent(PROMPT).width, 181);
    EXPECT_EQ(Font(withHeight(18, 600)).extent(PROMPT).width, 194);
}

TEST(Font, EveryFaceNameFallsBackToLiberationSans) {
    FontDescription named = gameFont();
    named.faceName = L"Tahoma";
    named.pitchAndFamily = 0;
    EXPECT_EQ(Font(named).extent(PROMPT), Font(gameFont()).extent(PROMPT));
}

TEST(Font, TextPixelsAreOnlyInkOrBackground) {
    const Font font(gameFont());
    const Picture p = caption(font, PROMPT);
    const int ink = count(p, INK), background = count(p, KEY);
    EXPECT_EQ(ink + background, p.width() * p.height());
    EXPECT_GT(ink, 300);
    EXPECT_GT(background, ink);
}

TEST(Font, LettersAndDigitsStayInsideTheirCells) {
    const Font font(gameFont());
    const std::wstring all =
        L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789:?!.,'";
    const Size size = font.extent(all);
    Picture p = filled(size.width + 20, size.height + 20, PAPER);
    font.drawCentred(p, {10, 10, 10 + size.width, 10 + size.height}, all, INK, KEY);
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x) {
            const bool cell = x >= 10 && x < 10 + size.width && y >= 10 && y < 10 + size.height;
            if (!cell) {
                ASSERT_EQ(p.pixel(x, y), PAPER) << x << ", " << y;
            }
        }
    // Descenders reach the cell's last rows, capitals its upper part.
    const Picture g = caption(font, L"g");
    bool lowInk = false;
    for (int x = 0; x < g.width(); ++x) lowInk |= g.pixel(x, 17) == INK || g.pixel(x, 16) == INK;
    EXPECT_TRUE(lowInk);
}

TEST(Font, SameTextTwiceGivesIdenticalPixels) {
    const Picture a = caption(Font(gameFont()), PROMPT);
    const Picture b = caption(Font(gameFont()), PROMPT);
    ASSERT_EQ(a.width(), b.width());
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            ASSERT_EQ(a.pixel(x, y), b.pixel(x, y)) << x << ", " << y;
}

TEST(Font, CentresWithIntegerDivisionAndFillsOnlyTheCells) {
    const Font font(gameFont());
    const Size size = font.extent(L"0");  // 8 x 18
    Picture p = filled(40, 30, PAPER);
    font.drawCentred(p, {0, 0, 40, 30}, L"0", INK, KEY);
    // Left (40 - 8) / 2 = 16, top (30 - 18) / 2 = 6.
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool cell = x >= 16 && x < 16 + size.width && y >= 6 && y < 6 + size.height;
            if (cell)
                ASSERT_TRUE(p.pixel(x, y) == INK || p.pixel(x, y) == KEY) << x << ", " << y;
            else
                ASSERT_EQ(p.pixel(x, y), PAPER) << x << ", " << y;
        }
    EXPECT_GT(count(p, INK), 20);
}

TEST(Font, CellsAreCutToTheBox) {
    const Font font(gameFont());
    Picture p = filled(40, 30, PAPER);
    // The text is wider than the box: only the box's part of the cells is filled.
    font.drawCentred(p, {10, 5, 30, 25}, L"Minute", INK, KEY);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            if (x < 10 || x >= 30 || y < 5 || y >= 25) {
                ASSERT_NE(p.pixel(x, y), KEY) << x << ", " << y;
            }
    EXPECT_GT(count(p, KEY), 0);
}

TEST(Font, ClipsLikeUnclippedText) {
    const Font font(gameFont());
    for (int x = -60; x <= 40; x += 7)
        for (int y = -20; y <= 12; y += 4)
            expectClipsLikeWindow(
                40, 30, 80,
                [&](Picture& p, int o) {
                    font.drawCentred(p, {x + o, y + o, x + o + 60, y + o + 20}, L"Score 0", INK,
                                     KEY);
                },
                "text");
}

TEST(Font, ExtremeBoxesAreSafe) {
    const Font font(gameFont());
    Picture p = filled(10, 10, PAPER);
    font.drawCentred(p, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, PROMPT, INK, KEY);
    font.drawCentred(p, {INT_MAX, INT_MAX, INT_MIN, INT_MIN}, PROMPT, INK, KEY);
    font.drawCentred(p, {INT_MAX - 5, 0, INT_MAX, 10}, PROMPT, INK, KEY);
    Picture empty;
    font.drawCentred(empty, {0, 0, 10, 10}, PROMPT, INK, KEY);
    SUCCEED();
}

TEST(Font, CharactersWithoutAGlyphDoNotBreakTheLine) {
    const Font font(gameFont());
    const std::wstring odd = {L'A', static_cast<wchar_t>(0xE000), static_cast<wchar_t>(0x10FFFF),
                              static_cast<wchar_t>(-1), L'B'};
    const Size size = font.extent(odd);
    EXPECT_GE(size.width, font.extent(L"AB").width);
    const Picture p = caption(font, odd);
    EXPECT_EQ(count(p, INK) + count(p, KEY), p.width() * p.height());
}

TEST(Font, MovedFontKeepsWorking) {
    Font a(gameFont());
    Font b(std::move(a));
    EXPECT_EQ(b.extent(L"Hour").width, 35);
    Font c(withHeight(12));
    c = std::move(b);
    EXPECT_EQ(c.extent(L"Hour").width, 35);
}

// Ink runs along one row of a caption: the widths of the unbroken stretches of ink.
static std::vector<int> inkRuns(const Picture& p, int y) {
    std::vector<int> runs;
    int run = 0;
    for (int x = 0; x <= p.width(); ++x) {
        if (x < p.width() && p.pixel(x, y) == INK) {
            ++run;
        } else if (run > 0) {
            runs.push_back(run);
            run = 0;
        }
    }
    return runs;
}

TEST(Font, SmallBoldDigitsHaveEvenStems) {
    // The level screen's percentages: 12-pixel cells, bold. Every row through
    // the middle of a "0" crosses two stems of the same, bold width.
    const Font font(withHeight(12));
    const Picture zero = caption(font, L"0");
    const int ascent = 10;  // the digit stands on the baseline, within the cell
    for (int y = ascent - 6; y <= ascent - 2; ++y) {
        const std::vector<int> runs = inkRuns(zero, y);
        ASSERT_EQ(runs.size(), 2u) << "row " << y;
        EXPECT_EQ(runs[0], runs[1]) << "row " << y;
        EXPECT_GE(runs[0], 2) << "row " << y;
    }
}

// The first and the last column of a caption that hold ink.
static std::pair<int, int> inkColumns(const Picture& p) {
    int first = -1, last = -1;
    for (int x = 0; x < p.width(); ++x)
        for (int y = 0; y < p.height(); ++y)
            if (p.pixel(x, y) == INK) {
                if (first < 0) first = x;
                last = x;
            }
    return {first, last};
}

TEST(Font, TheGameScreensTextsClearTheirNeighboursAtTheirPlaces) {
    // "Score" at x 90 and its number at x 130, both 16-pixel bold: a gap
    // whatever digit the number starts with.
    const Font score(withHeight(16));
    const int scoreEnds = 90 + inkColumns(caption(score, L"Score")).second;
    for (wchar_t lead = L'0'; lead <= L'9'; ++lead) {
        const int numberStarts = 130 + inkColumns(caption(score, std::wstring(1, lead) + L"99999")).first;
        EXPECT_GE(numberStarts - scoreEnds - 1, 3) << "a score starting with " << static_cast<char>(lead);
    }
    const Font font(gameFont());
    // The longest prompt, at x 10, keeps a 10-pixel margin on the right too.
    EXPECT_LT(10 + inkColumns(caption(font, PROMPT)).second, DISPLAY_WIDTH - 10);
    // "Minute" at x 135 ends before the minute buttons at x 190.
    EXPECT_LT(135 + inkColumns(caption(font, L"Minute")).second, 190);
}
