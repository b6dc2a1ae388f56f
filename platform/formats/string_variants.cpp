// Choosing the variant of a string that its numbers call for, from a
// language's table: the rows of the string in order, the first that fits.
#include "platform/formats/string_variants.h"

#include <string>

#include "platform/common/plural_rule.h"
#include "platform/formats/little_endian.h"

namespace platform::formats {
namespace {

constexpr std::size_t SELECTORS = 2;

bool meets(std::uint16_t selector, std::span<const std::int32_t> numbers, std::size_t index,
           std::wstring_view rule) {
    if (selector == ANY_NUMBER) return true;
    if (index >= numbers.size()) return false;
    const std::int32_t number = numbers[index];
    if (selector >= EXACT_NUMBER) return number == selector - EXACT_NUMBER;
    return static_cast<int>(pluralCategory(rule, number)) + CATEGORY_BASE == selector;
}

}  // namespace

std::uint32_t chooseVariant(std::span<const std::uint8_t> table, std::uint32_t id,
                            std::span<const std::int32_t> numbers) {
    ByteReader in(table);
    std::wstring rule;
    while (true) {
        if (!in.has(2)) return id;  // the rule never ended
        const std::uint16_t unit = in.word();
        if (unit == 0) break;
        rule.push_back(static_cast<wchar_t>(unit));
    }
    while (in.has(4 + 2 * SELECTORS)) {
        const std::uint16_t string = in.word();
        const std::uint16_t variant = in.word();
        bool fits = string == id;
        for (std::size_t s = 0; s < SELECTORS; ++s) {
            const std::uint16_t selector = in.word();
            fits = fits && meets(selector, numbers, s, rule);
        }
        if (fits) return variant;
    }
    return id;
}

}  // namespace platform::formats
