// Plural rules as CLDR writes them, read for whole numbers, and the choice of
// a string's variant from a language's table by its numbers.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/common/plural_rule.h"
#include "platform/formats/string_variants.h"

namespace {

using platform::PluralCategory;

constexpr const wchar_t* POLISH =
    L"one: i = 1 and v = 0 @integer 1; few: v = 0 and i % 10 = 2..4 and i % 100 != 12..14 @integer 2~4, 22~24; "
    L"many: v = 0 and i != 1 and i % 10 = 0..1 or v = 0 and i % 10 = 5..9 or v = 0 and i % 100 = 12..14";
constexpr const wchar_t* FRENCH = L"one: i = 0,1; many: e = 0 and i != 0 and i % 1000000 = 0 and v = 0 or e != 0..5";

TEST(PluralRule, EachNumberFallsInItsCategory) {
    struct Case {
        const wchar_t* rule;
        PluralCategory category;
        std::vector<std::int64_t> numbers;
    };
    const Case cases[] = {
        {POLISH, PluralCategory::one, {1, -1}},
        {POLISH, PluralCategory::few, {2, 3, 4, 22, 24, 102, 1004}},
        {POLISH, PluralCategory::many, {0, 5, 11, 12, 13, 14, 21, 25, 112, 1000}},
        {FRENCH, PluralCategory::one, {0, 1}},
        {FRENCH, PluralCategory::many, {1000000, 3000000}},
        {FRENCH, PluralCategory::other, {2, 12, 1000001}},
        {L"one: n = 1", PluralCategory::other, {0, 2, 21}},
        {L"", PluralCategory::other, {1}},
        // A damaged rule reads other for every number, not for some.
        {L"one: n = 1; few: n % 0 = 2", PluralCategory::other, {1, 2}},
        {L"one: n = 1; few: n ~ 2", PluralCategory::other, {1, 2}},
        {L"one: x = 1", PluralCategory::other, {1}},
        {L"one n = 1", PluralCategory::other, {1}},
        {L"one: n = 1;", PluralCategory::other, {1}},
        {L"one: n = 99999999999999999999", PluralCategory::other, {1}},
    };
    for (const Case& c : cases)
        for (std::int64_t n : c.numbers) {
            SCOPED_TRACE(testing::Message() << testing::PrintToString(std::wstring(c.rule)) << " n=" << n);
            EXPECT_EQ(platform::pluralCategory(c.rule, n), c.category);
        }
}

// A language's table: its rule, then rows of string, variant and two selectors.
std::vector<std::uint8_t> table(std::initializer_list<std::uint16_t> rows) {
    std::vector<std::uint8_t> bytes;
    for (char16_t c : std::u16string(u"one: n = 1")) bytes.insert(bytes.end(), {static_cast<std::uint8_t>(c), 0});
    bytes.insert(bytes.end(), {0, 0});
    for (std::uint16_t w : rows)
        bytes.insert(bytes.end(), {static_cast<std::uint8_t>(w), static_cast<std::uint8_t>(w >> 8)});
    return bytes;
}

// The languages' own choices are pinned by the wording test on the real
// resources; here the order of the rows and tables that end too soon.
TEST(StringVariants, TheFirstRowTheNumbersMeetIsChosen) {
    using namespace platform::formats;
    constexpr std::uint16_t ONE = CATEGORY_BASE + 1, ZERO = EXACT_NUMBER;
    const auto rows = table({303, 3032, ZERO, ANY_NUMBER, 303, 3033, ONE, ZERO, 303, 3035, ANY_NUMBER, ZERO});
    const std::vector<std::uint8_t> cutInRule(rows.begin(), rows.begin() + 10), cutInRow(rows.begin(), rows.end() - 2);
    struct Case {
        const std::vector<std::uint8_t>& table;
        std::vector<std::int32_t> numbers;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {rows, {0, 0}, 3032}, {rows, {1, 0}, 3033}, {rows, {2, 0}, 3035}, {rows, {2, 30}, 303},
        {rows, {1}, 303},  // a row that asks about a number the text does not have does not fit
        {cutInRule, {1, 0}, 303}, {cutInRow, {2, 0}, 303}, {{}, {1, 0}, 303},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.numbers));
        EXPECT_EQ(chooseVariant(c.table, 303, c.numbers), c.expected);
    }
}

}  // namespace
