// The game in every language it carries: started under a locale, it shows
// that language's pictures and questions; a locale it does not know leaves it
// English; and every text of every language fits its place on the screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <span>
#include <string>

#include "figures/Text.h"
#include "platform/formats/bitmap_decoder.h"
#include "platform/formats/resource_file.h"
#include "platform/core/resources_internal.h"
#include "platform/formats/string_variants.h"
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
constexpr platform::Point PROMPT_AT{10, 270};  // or ending 10 px from the right edge, right to left
constexpr platform::Colour PROMPT_INK = platform::rgb(56, 57, 1);
// The score's words stay inside its plate, between the menu button and the exit icon.
constexpr Rect SCORE_PLATE{66, 0, 194, 30};
constexpr Rect SCORE_BAND{41, 0, 215, 30};
constexpr platform::Colour SCORE_INK = platform::rgb(128, 0, 0);

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
            if (e.type.id == platform::formats::BITMAP_TYPE && e.name.id == id && e.language == wanted)
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

// The language's table of string variants, as stored for exactly that language.
std::span<const std::uint8_t> storedVariants(const HoraliaLanguage& l) {
    for (const auto& e : platform::core::programResources().entries)
        if (!e.type.id && e.type.text == platform::formats::VARIANTS_TYPE && e.language == idOf(l)) return e.data;
    ADD_FAILURE() << "no string variants stored for " << l.name;
    return {};
}

std::uint32_t variantOf(const HoraliaLanguage& l, std::uint32_t id, std::int32_t hours, std::int32_t minutes) {
    const std::int32_t numbers[] = {hours, minutes};
    return platform::formats::chooseVariant(storedVariants(l), id, numbers);
}

// A prompt as the game words it in the language: the variant its numbers call for, filled in.
std::wstring promptText(const HoraliaLanguage& l, std::uint32_t id, std::int32_t hours, std::int32_t minutes) {
    return platform::formatText(storedString(variantOf(l, id, hours, minutes), l), {hours, minutes});
}

// The numbers each prompt can be filled with: an absolute time of 1 to 12
// hours, or an offset of 0 to 12 hours; minutes in steps of five.
struct PromptNumbers {
    std::uint32_t id;
    std::int32_t lowestHours;
};
constexpr PromptNumbers PROMPTS[] = {{IDS_SET_TIME, 1}, {IDS_SET_TIME_FROM_NOW, 0}, {IDS_SET_TIME_IN_PAST, 0}};

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
    // text's glyphs are, and nowhere else on the line. A line that reads from
    // right to left ends as far from the right edge as others start from the left.
    bool promptReads(const std::wstring& text) {
        const platform::Font font(Text::defaultFont());
        const platform::Size extent = font.extent(text);
        platform::Picture expected(extent.width, extent.height);
        font.drawCentred(expected, {0, 0, extent.width, extent.height}, text, platform::BLACK, platform::WHITE);
        const int left = platform::readsRightToLeft(text) ? 240 - PROMPT_AT.x - extent.width : PROMPT_AT.x;
        for (int y = 0; y < extent.height; ++y)
            for (int x = 0; x < 240; ++x) {
                const int ex = x - left;
                const bool glyph = ex >= 0 && ex < extent.width && expected.pixel(ex, y) == platform::BLACK;
                if ((display().pixel(x, PROMPT_AT.y + y) == PROMPT_INK) != glyph) return false;
            }
        return true;
    }

    gametest::RegistryFolder registry;
};

// Started under each language's locale, the title's invitation, the game's
// level caption and the first question are that language's; the score at its
// highest stays on its plate.
TEST_F(Languages, EachLocalePlaysInItsLanguage) {
    for (const auto& l : HORALIA_LANGUAGES) {
        SCOPED_TRACE(l.name);
        Locale locale(std::map<std::string, std::string>{{"LANG", l.locale}});
        std::ofstream(registry.folder / "registry.reg")
            << "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Quillmoor\\Horalia]\n"
               "\"score\"=\"999999\"\n";
        ASSERT_TRUE(launch());
        EXPECT_TRUE(shows(IDB_TITLE_CAPTION, TITLE_CAPTION, l));
        tap(TITLE);
        EXPECT_TRUE(shows(IDB_GAME_CAPTION, GAME_CAPTION, l));
        int caption = 0, number = 0, outside = 0;
        for (int y = SCORE_BAND.top; y < SCORE_BAND.bottom; ++y)
            for (int x = SCORE_BAND.left; x < SCORE_BAND.right; ++x) {
                const platform::Colour c = display().pixel(x, y);
                if (c != platform::BLACK && c != SCORE_INK) continue;
                (c == platform::BLACK ? caption : number) += 1;
                outside += x < SCORE_PLATE.left || x >= SCORE_PLATE.right;
            }
        EXPECT_GT(caption, 0);
        EXPECT_GT(number, 0);
        EXPECT_EQ(outside, 0) << "the score leaves its plate";
        // The first question asks for a whole hour.
        int matches = 0;
        for (int hour = 1; hour <= 12; ++hour) matches += promptReads(promptText(l, IDS_SET_TIME, hour, 0));
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
        LocaleCase{"language_list_ignored_under_C", {{"LANGUAGE", "fr"}, {"LANG", "C"}}, "en"},
        LocaleCase{"chinese_of_singapore", {{"LANG", "zh_SG.UTF-8"}}, "zh_Hans"},
        LocaleCase{"chinese_by_its_script", {{"LANGUAGE", "zh_Hans:en"}, {"LANG", "en_US.UTF-8"}}, "zh_Hans"},
        LocaleCase{"japanese", {{"LC_MESSAGES", "ja_JP.UTF-8"}, {"LANG", "en_US.UTF-8"}}, "ja"},
        LocaleCase{"arabic_of_morocco", {{"LANG", "ar_MA.UTF-8"}}, "ar"},
        LocaleCase{"hindi", {{"LC_ALL", "hi_IN"}}, "hi"},
        LocaleCase{"only_the_head_of_a_long_language_list",
                   {{"LANGUAGE", [] {
                         std::string list;
                         for (int i = 0; i < 33000; ++i) list += "xx:";
                         return list + "fr";
                     }()},
                    {"LANG", "de_DE.UTF-8"}},
                   "de"}),
    [](const auto& info) { return std::string(info.param.what); });

// Each language says its numbers in the forms its grammar asks for: the
// article of the hour, one/few/many, hours only, minutes only or both.
TEST(Wording, EachLanguageChoosesTheFormItsNumbersCallFor) {
    struct Case {
        const char* language;
        std::uint32_t id;
        std::int32_t hours, minutes;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {"en", IDS_SET_TIME_IN_PAST, 12, 0, L"Set time to 12:00 in the past"},
        {"en", IDS_SET_TIME_FROM_NOW, 0, 25, L"Set time to 0:25 from now"},
        {"es", IDS_SET_TIME, 1, 30, L"Pon el reloj a la 1:30"},
        {"es", IDS_SET_TIME, 7, 30, L"Pon el reloj a las 7:30"},
        {"it", IDS_SET_TIME, 1, 5, L"Metti l'orologio sull'1:05"},
        {"it", IDS_SET_TIME, 11, 0, L"Metti l'orologio sulle 11:00"},
        {"pt_BR", IDS_SET_TIME, 1, 15, L"Acerte o rel\u00f3gio para a 1:15"},
        {"pt_BR", IDS_SET_TIME_FROM_NOW, 0, 0, L"Adiante o rel\u00f3gio 0 minuto"},
        {"pl", IDS_SET_TIME_FROM_NOW, 1, 0, L"Do przodu o 1 godzin\u0119"},
        {"pl", IDS_SET_TIME_FROM_NOW, 3, 0, L"Do przodu o 3 godziny"},
        {"pl", IDS_SET_TIME_IN_PAST, 12, 0, L"Do ty\u0142u o 12 godzin"},
        {"pl", IDS_SET_TIME_IN_PAST, 0, 25, L"Do ty\u0142u o 25 minut"},
        {"pl", IDS_SET_TIME_FROM_NOW, 2, 30, L"Do przodu o 2 godz. 30 min"},
        {"de", IDS_SET_TIME_IN_PAST, 1, 0, L"Stell 1 Stunde zur\u00fcck"},
        {"de", IDS_SET_TIME_FROM_NOW, 0, 0, L"Stell 0 Minuten vor"},
        {"de", IDS_SET_TIME_IN_PAST, 2, 5, L"Stell 2 Std. 5 Min. zur\u00fcck"},
        {"fr", IDS_SET_TIME_FROM_NOW, 2, 5, L"Avance l'horloge de 2 h 05"},
        {"fr", IDS_SET_TIME_IN_PAST, 1, 0, L"Recule l'horloge de 1 heure"},
        {"nl", IDS_SET_TIME_FROM_NOW, 1, 0, L"Zet de klok 1 uur vooruit"},
        {"ru", IDS_SET_TIME_FROM_NOW, 1, 0, L"\u0412\u043f\u0435\u0440\u0451\u0434 \u043d\u0430 1 \u0447\u0430\u0441"},
        {"ru", IDS_SET_TIME_FROM_NOW, 3, 0, L"\u0412\u043f\u0435\u0440\u0451\u0434 \u043d\u0430 3 \u0447\u0430\u0441\u0430"},
        {"ru", IDS_SET_TIME_IN_PAST, 11, 0, L"\u041d\u0430\u0437\u0430\u0434 \u043d\u0430 11 \u0447\u0430\u0441\u043e\u0432"},
        {"uk", IDS_SET_TIME_IN_PAST, 2, 0, L"\u041d\u0430\u0437\u0430\u0434 \u043d\u0430 2 \u0433\u043e\u0434\u0438\u043d\u0438"},
        {"cs", IDS_SET_TIME_FROM_NOW, 4, 0, L"Dop\u0159edu o 4 hodiny"},
        {"cs", IDS_SET_TIME_IN_PAST, 5, 0, L"Dozadu o 5 hodin"},
        {"sv", IDS_SET_TIME_FROM_NOW, 1, 0, L"St\u00e4ll fram 1 timme"},
        {"el", IDS_SET_TIME, 1, 30, L"\u0392\u03ac\u03bb\u03b5 \u03c4\u03bf \u03c1\u03bf\u03bb\u03cc\u03b9 \u03c3\u03c4\u03b7 1:30"},
        {"tr", IDS_SET_TIME_IN_PAST, 0, 20, L"20 dakika geri al"},
        {"ar", IDS_SET_TIME_FROM_NOW, 2, 0, L"\u0642\u062f\u0651\u0645 \u0627\u0644\u0633\u0627\u0639\u0629 \u0633\u0627\u0639\u062a\u064a\u0646"},
        {"ar", IDS_SET_TIME_FROM_NOW, 0, 10, L"\u0642\u062f\u0651\u0645 \u0627\u0644\u0633\u0627\u0639\u0629 10 \u062f\u0642\u0627\u0626\u0642"},
        {"ar", IDS_SET_TIME_IN_PAST, 12, 0, L"\u0623\u0631\u062c\u0639 \u0627\u0644\u0633\u0627\u0639\u0629 12 \u0633\u0627\u0639\u0629"},
        {"hi", IDS_SET_TIME_FROM_NOW, 1, 5, L"1 \u0918\u0902\u091f\u093e 5 \u092e\u093f\u0928\u091f \u0906\u0917\u0947 \u0915\u0930\u094b"},
        {"zh_Hans", IDS_SET_TIME_IN_PAST, 0, 5, L"\u628a\u949f\u62e8\u61625\u5206\u949f"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.language << " " << c.id << " " << c.hours << ":" << c.minutes);
        EXPECT_EQ(promptText(language(c.language), c.id, c.hours, c.minutes), c.expected);
    }
}

// Every text the game draws, in every language, inside its place with the
// real faces: every question in every form its numbers give, at every
// number, within the 10-pixel margins, whole and telling each question
// from every other, and every form of the language's table in use; "Hour"
// and "Minute" clear of each other and of the buttons, "Score" leaving the
// highest number room on its plate, the title's lines inside the screen.
TEST(TextFit, EveryStringOfEveryLanguageFitsItsPlace) {
    platform::FontDescription bold16 = Text::defaultFont();
    bold16.height = 16;  // the score's font; the title's lines are 16 high too
    auto width = [](const platform::Font& font, const std::wstring& text) { return font.extent(text).width; };

    for (const auto& l : HORALIA_LANGUAGES) {
        SCOPED_TRACE(l.name);
        // Measured with the faces the program draws the language with.
        Locale locale(std::map<std::string, std::string>{{"LANG", l.locale}});
        platform::core::useFacesOfTheLanguage();
        const platform::Font normal(Text::defaultFont()), score(bold16), line(bold16);
        int widest = 0;
        std::set<std::uint32_t> formsUsed;
        for (const PromptNumbers& prompt : PROMPTS) {
            std::set<std::wstring> texts;
            int questions = 0;
            for (std::int32_t hours = prompt.lowestHours; hours <= 12; ++hours)
                for (std::int32_t minutes = 0; minutes < 60; minutes += 5, ++questions) {
                    SCOPED_TRACE(testing::Message() << prompt.id << " " << hours << ":" << minutes);
                    formsUsed.insert(variantOf(l, prompt.id, hours, minutes));
                    const std::wstring text = promptText(l, prompt.id, hours, minutes);
                    EXPECT_EQ(text.find(L'%'), std::wstring::npos);
                    EXPECT_LT(text.size(), 49u) << "the game's prompt buffer holds 49 characters";
                    texts.insert(text);
                    widest = std::max(widest, width(normal, text));
                }
            EXPECT_EQ(texts.size(), static_cast<std::size_t>(questions)) << "two questions read alike";
        }
        // Every variant the table lists is one that some question uses.
        const auto table = storedVariants(l);
        std::size_t afterRule = 0;
        while (afterRule + 1 < table.size() && (table[afterRule] | table[afterRule + 1]) != 0) afterRule += 2;
        for (std::size_t at = afterRule + 2; at + 8 <= table.size(); at += 8)
            EXPECT_TRUE(formsUsed.count(table[at + 2] | (table[at + 3] << 8))) << "a variant no question uses";
        EXPECT_LE(PROMPT_AT.x + widest, 240 - 10);
        RecordProperty(std::string("widest_prompt_") + l.name, widest);
        std::printf("%-6s widest prompt %d px\n", l.name, widest);

        // "Minute" ends 2 px before its buttons when it is longer than the 53 px from 135.
        const int minuteAt = std::min(135, 190 - 2 - width(normal, storedString(IDS_MINUTE, l)));
        EXPECT_LE(55 + width(normal, storedString(IDS_HOUR, l)), minuteAt - 2) << "Hour runs into Minute";
        EXPECT_GE(minuteAt, 50 + 2) << "Minute runs into the hour buttons";
        EXPECT_LE(width(score, storedString(IDS_SCORE, l)) + 3 + width(score, L"999999"),
                  SCORE_PLATE.right - SCORE_PLATE.left)
            << "Score leaves no room on its plate for the highest number";
        const std::wstring notice = storedString(IDS_NOTICE, l);
        EXPECT_LE(notice.size(), 19u) << "the title's lines keep 19 characters";
        // The version from the left margin, the notice to the right one, apart.
        EXPECT_LE(5 + width(line, storedString(IDS_VERSION, l)) + 10, 240 - 5 - width(line, notice));
    }
    platform::core::useFacesOfTheLanguage();  // the test's own language again
}

// Arabic letters join and Devanagari vowel signs move and combine, so
// neither line is its letters drawn one by one; an Arabic line runs right to
// left with its numbers left to right: "<word> 12" shows 1 then 2 at its left
// end and the word at its right end, each as it looks in a line of its own;
// a line of numbers alone is drawn as in every other language.
TEST(Shaping, LettersJoinAndReorderAndNumbersStayLeftToRight) {
    auto drawn = [](const platform::Font& font, const std::wstring& text) {
        const platform::Size extent = font.extent(text);
        platform::Picture picture(extent.width, extent.height);
        font.drawCentred(picture, {0, 0, extent.width, extent.height}, text, platform::BLACK, platform::WHITE);
        return picture;
    };
    // The letters drawn one by one, side by side.
    auto oneByOne = [](const platform::Font& font, const std::wstring& text) {
        int width = 0;
        for (wchar_t c : text) width += font.extent(std::wstring(1, c)).width;
        platform::Picture picture(width, font.extent(text).height);
        int x = 0;
        for (wchar_t c : text) {
            const int w = font.extent(std::wstring(1, c)).width;
            font.drawCentred(picture, {x, 0, x + w, picture.height()}, std::wstring(1, c), platform::BLACK,
                             platform::WHITE);
            x += w;
        }
        return picture;
    };
    platform::core::useFacesOfTheLanguage();  // English
    const platform::Picture number = drawn(platform::Font(Text::defaultFont()), L"120");
    {
        Locale locale(std::map<std::string, std::string>{{"LANG", "hi_IN.UTF-8"}});
        platform::core::useFacesOfTheLanguage();
        const platform::Font font(Text::defaultFont());
        const std::wstring minute = L"\u092e\u093f\u0928\u091f";  // minat: its vowel sign i stands before ma
        EXPECT_FALSE(gametest::samePixels(drawn(font, minute), oneByOne(font, minute)));
    }
    Locale locale(std::map<std::string, std::string>{{"LANG", "ar_EG.UTF-8"}});
    platform::core::useFacesOfTheLanguage();
    const platform::Font font(Text::defaultFont());
    const std::wstring word = L"\u0633\u0627\u0639\u0629";  // saa'a, the hour
    EXPECT_FALSE(gametest::samePixels(drawn(font, word), oneByOne(font, word)));
    EXPECT_TRUE(platform::readsRightToLeft(word + L" 12"));
    EXPECT_FALSE(platform::readsRightToLeft(L"12:30"));
    EXPECT_FALSE(platform::readsRightToLeft(L"Set time to 7:30"));

    // Each digit as the line draws it at its left end, alone after the word.
    const platform::Picture line = drawn(font, word + L" 12"), one = drawn(font, word + L" 1"),
                            two = drawn(font, word + L" 2"), alone = drawn(font, word);
    const int blank = font.extent(word + L" ").width;
    const int first = one.width() - blank, second = two.width() - blank;
    ASSERT_GT(first, 0);
    ASSERT_GT(second, 0);
    ASSERT_EQ(line.width(), first + second + blank);
    int different = 0;
    for (int y = 0; y < line.height(); ++y) {
        for (int x = 0; x < first; ++x) different += line.pixel(x, y) != one.pixel(x, y);
        for (int x = 0; x < second; ++x) different += line.pixel(first + x, y) != two.pixel(x, y);
        for (int x = 0; x < alone.width(); ++x)
            different += line.pixel(line.width() - alone.width() + x, y) != alone.pixel(x, y);
    }
    EXPECT_EQ(different, 0);
    // A line of numbers alone looks as it does in every other language.
    EXPECT_TRUE(gametest::samePixels(drawn(font, L"120"), number));
    platform::core::useFacesOfTheLanguage();  // the test's own language again
}

}  // namespace
