// A language's string variants, as the resource script keeps them in its
// VARIANTS resource: the language's plural rule (UTF-16LE, ending in a null)
// followed by rows of four 16-bit words: a string id, the id of one of its
// variants, and what the first and the second number must be for it.
#pragma once

#include <cstdint>
#include <span>

namespace platform::formats {

// What a row asks of a number: anything, a plural category (by the
// language's rule), or exactly one value.
constexpr std::uint16_t ANY_NUMBER = 0;
constexpr std::uint16_t CATEGORY_BASE = 1;  // + PluralCategory: 1 zero, 2 one ... 6 other
constexpr std::uint16_t EXACT_NUMBER = 0x8000;  // + the value, 0 to 0x7FFF

// The type name and id of each language's table.
constexpr char16_t VARIANTS_TYPE[] = u"VARIANTS";
constexpr std::uint32_t VARIANTS_ID = 1;

// The first variant of id, in the table's order, whose conditions the numbers
// meet; id itself when none does (or the table holds none for it).
std::uint32_t chooseVariant(std::span<const std::uint8_t> table, std::uint32_t id,
                            std::span<const std::int32_t> numbers);

}  // namespace platform::formats
