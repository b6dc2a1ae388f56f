// Choosing the variant of a string that its numbers call for, from a
// language's table: the rows of the string in order, the first that fits.
#include "platform/core/string_variants.h"

#include <string>

#include "platform/common/plural_rule.h"

namespace platform::core {
namespace {

constexpr std::size_t ROW_BYTES = 8;
constexpr std::size_t SELECTORS = 2;

std::uint16_t wordAt(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

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
    std::wstring rule;
    std::size_t at = 0;
    for (; at + 1 < table.size(); at += 2) {
        const std::uint16_t unit = wordAt(table, at);
        if (unit == 0) break;
        rule.push_back(static_cast<wchar_t>(unit));
    }
    for (at += 2; at + ROW_BYTES <= table.size(); at += ROW_BYTES) {
        if (wordAt(table, at) != id) continue;
        bool fits = true;
        for (std::size_t s = 0; s < SELECTORS && fits; ++s) fits = meets(wordAt(table, at + 4 + 2 * s), numbers, s, rule);
        if (fits) return wordAt(table, at + 2);
    }
    return id;
}

}  // namespace platform::core
