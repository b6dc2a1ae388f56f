// The game in every language it carries: started under a locale, it shows
// that language's pictures and questions; a locale it does not know leaves it
// English; and every text of every language fits its place on the screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "figures/Text.h"
#include "platform/formats/bitmap_decoder.h"
#include "platform/formats/resource_file.h"
#include "platform/core/resources_internal.h"
#include "platform/text_format.h"
#include "resources/languages.h"
#include "resources/resource_ids.h"
#include "screens/GameScreen.h"
#include "tests/app/game_driver.h"
#include "tests/screens/game_test_support.h"

using platform::Rect;
using namespace gamedriver;

namespace {

constexpr const char* LOCALE_VARIABLES[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};
constexpr Rect TITLE_CAPTION{0, 248, 240, 276};
constexpr Rect GAME_CAPTION{0, 297, 84, 320};
constexpr platform::Point PROMPT_AT{10, 270};
constexpr platform::Colour PROMPT_INK = platform::rgb(56, 57, 1);

// The environment holds exactly these locale variables while the object lives;
// afterwards only LC_ALL=C, as every other test has it.
class Locale {
public:
    explicit Locale(const std::map<std::string, std::string>& variables) {
        for (const char* name : LOCALE_VARIABLES) unsetenv(name);
        for (const auto& [name, value] : variables) setenv(name.c_str(), value.c_str(), 1);
    }
    ~Locale() {
        for (const char* name : LOCALE_VARIABLES) unsetenv(name);
        setenv("LC_ALL", "C", 1);
    }
};

const HoraliaLanguage& language(std::string_view name) {
    for (const auto& l : HORALIA_LANGUAGES)
        if (l.name == name) return l;
    ADD_FAILURE() << "no language " << name;
    return HORALIA_LANGUAGES[0];
}

std::uint16_t idOf(const HoraliaLanguage& l) { return platform::formats::languageId(l.primary, l.sublanguage); }

// A worded picture as stored for exactly this language, or for English when the
// language shares the English one.
platform::Picture storedPicture(std::uint32_t id, const HoraliaLanguage& l) {
    for (std::uint16_t wanted : {idOf(l), platform::formats::ENGLISH_US})
        for (const auto& e : platform::core::programResources().entries)
            if (e.type.id == platform::formats::RT_BITMAP && e.name.id == id && e.language == wanted)
                return platform::formats::decodeBitmapResource(e.data).value_or(platform::Picture());
    ADD_FAILURE() << "bitmap " << id << " is stored neither in " << l.name << " nor in English";
    return {};
}

// A string as stored for exactly this language.
std::wstring storedString(std::uint32_t id, const HoraliaLanguage& l) {
    const std::uint16_t only[] = {idOf(l)};
    auto text = platform::formats::findString(platform::core::programResources(), id, only);
    return text ? std::wstring(text->begin(), text->end()) : std::wstring();
}

std::wstring formatted(const std::wstring& format, int hours, int minutes) {
    return platform::formatText(format, {hours, minutes});
}

class Languages : public ::testing::Test, protected GameDriver {
protected:
    void SetUp() override {
        platform::headless::reset();
        platform::headless::setTickCount(50000);
    }
    void TearDown() override {
        stop();
        platform::headless::reset();
    }

    const platform::Picture& display() { return platform::headless::display(); }

    // Whether the display shows the language's own picture at area.
    bool shows(std::uint32_t pictureId, Rect area, const HoraliaLanguage& l) {
        return gametest::differences(display(), area, storedPicture(pictureId, l)) == 0;
    }

    // Whether the prompt line shows exactly this text: the prompt's ink where the
    // text's glyphs are, and nowhere else on the line.
    bool promptReads(const std::wstring& text) {
        const platform::Font font(Text::defaultFont());
        const platform::Size extent = font.extent(text);
        platform::Picture expected(extent.width, extent.height);
        font.drawCentred(expected, {0, 0, extent.width, extent.height}, text, platform::BLACK, platform::WHITE);
        for (int y = 0; y < extent.height; ++y)
            for (int x = PROMPT_AT.x; x < 240; ++x) {
                const int ex = x - PROMPT_AT.x;
                const bool glyph = ex < extent.width && expected.pixel(ex, y) == platform::BLACK;
                if ((display().pixel(x, PROMPT_AT.y + y) == PROMPT_INK) != glyph) return false;
            }
        return true;
    }

    gametest::RegistryFolder registry;
};

// Started under each language's locale, the title's invitation, the game's
// level caption and the first question are that language's.
TEST_F(Languages, EachLocalePlaysInItsLanguage) {
    for (const auto& l : HORALIA_LANGUAGES) {
        SCOPED_TRACE(l.name);
        Locale locale(std::map<std::string, std::string>{{"LANG", l.locale}});
        ASSERT_TRUE(launch());
        EXPECT_TRUE(shows(IDB_TITLE_CAPTION, TITLE_CAPTION, l));
        tap(TITLE);
        EXPECT_TRUE(shows(IDB_GAME_CAPTION, GAME_CAPTION, l));
        const std::wstring format = storedString(IDS_SET_TIME, l);
        ASSERT_FALSE(format.empty());
        // The first question asks for a whole hour.
        int matches = 0;
        for (int hour = 1; hour <= 12; ++hour) matches += promptReads(formatted(format, hour, 0));
        EXPECT_EQ(matches, 1);
        stop();
        platform::headless::reset();
        platform::headless::setTickCount(50000);
    }
}

struct LocaleCase {
    const char* what;
    std::map<std::string, std::string> variables;
    const char* language;
};

class LocaleChoice : public Languages, public ::testing::WithParamInterface<LocaleCase> {};

// The locale variables in gettext's order; what names no language of the game is English.
TEST_P(LocaleChoice, TheTitleSpeaksTheChosenLanguage) {
    Locale locale(GetParam().variables);
    ASSERT_TRUE(launch());
    EXPECT_TRUE(shows(IDB_TITLE_CAPTION, TITLE_CAPTION, language(GetParam().language)));
}

INSTANTIATE_TEST_SUITE_P(
    Environments, LocaleChoice,
    ::testing::Values(
        LocaleCase{"unknown_language", {{"LANG", "xx"}}, "en"},
        LocaleCase{"C", {{"LANG", "C"}}, "en"},
        LocaleCase{"empty", {{"LANG", ""}}, "en"},
        LocaleCase{"nothing_set", {}, "en"},
        LocaleCase{"malformed", {{"LANG", "_.@"}}, "en"},
        LocaleCase{"other_country_same_language", {{"LANG", "de_AT.UTF-8"}}, "de"},
        LocaleCase{"portuguese_of_portugal_reads_brazilian", {{"LANG", "pt_PT"}}, "pt_BR"},
        LocaleCase{"all_before_messages_before_lang",
                   {{"LC_ALL", "nl_NL.UTF-8"}, {"LC_MESSAGES", "de_DE"}, {"LANG", "fr_FR"}}, "nl"},
        LocaleCase{"messages_before_lang", {{"LC_MESSAGES", "pl_PL.UTF-8"}, {"LANG", "it_IT"}}, "pl"},
        LocaleCase{"language_list_first", {{"LANGUAGE", "xx:fr:de"}, {"LANG", "de_DE.UTF-8"}}, "fr"},
        LocaleCase{"language_list_ignored_under_C", {{"LANGUAGE", "fr"}, {"LANG", "C"}}, "en"}),
    [](const auto& info) { return std::string(info.param.what); });

// Every text the game draws, in every language, inside its place with the
// real font: the widest question of each within the 10-pixel margins, "Hour"
// and "Minute" clear of each other and of the minute buttons, "Score" leaving
// the number room on its plate, the title's lines inside the screen.
TEST(TextFit, EveryStringOfEveryLanguageFitsItsPlace) {
    const platform::Font normal(Text::defaultFont());
    platform::FontDescription bold16 = Text::defaultFont();
    bold16.height = 16;  // the score's font
    platform::FontDescription bold12 = Text::defaultFont();
    bold12.height = 12;  // the title's lines
    const platform::Font score(bold16), line(bold12);
    auto width = [](const platform::Font& font, const std::wstring& text) { return font.extent(text).width; };

    for (const auto& l : HORALIA_LANGUAGES) {
        SCOPED_TRACE(l.name);
        int widest = 0;
        for (std::uint32_t id : {IDS_SET_TIME, IDS_SET_TIME_FROM_NOW, IDS_SET_TIME_IN_PAST}) {
            const std::wstring format = storedString(id, l);
            ASSERT_NE(format.find(L"%d:%02d"), std::wstring::npos) << id;
            for (int hours = 0; hours <= 12; ++hours)
                for (int minutes = 0; minutes < 60; ++minutes)
                    widest = std::max(widest, width(normal, formatted(format, hours, minutes)));
        }
        EXPECT_LE(PROMPT_AT.x + widest, 240 - 10);
        RecordProperty(std::string("widest_prompt_") + l.name, widest);
        std::printf("%-6s widest prompt %d px\n", l.name, widest);

        EXPECT_LE(55 + width(normal, storedString(IDS_HOUR, l)), 135 - 2) << "Hour runs into Minute";
        EXPECT_LE(135 + width(normal, storedString(IDS_MINUTE, l)), 190 - 2) << "Minute runs into its buttons";
        EXPECT_LE(90 + width(score, storedString(IDS_SCORE, l)) + 3 + width(score, L"999"), 176 - 2)
            << "Score leaves no room for the number on its plate";
        const std::wstring notice = storedString(IDS_NOTICE, l);
        EXPECT_LE(notice.size(), 19u) << "the title's lines keep 19 characters";
        EXPECT_LE(165 + width(line, notice), 240 - 2);
        EXPECT_LE(5 + width(line, storedString(IDS_VERSION, l)), 165 - 2);
    }
}

}  // namespace
