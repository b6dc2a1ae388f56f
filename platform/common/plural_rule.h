// A language's plural rule, written as the Unicode CLDR writes them
// ("one: i = 1 and v = 0; few: v = 0 and i % 10 = 2..4 and i % 100 != 12..14"),
// read for whole numbers: the category a number falls in.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace platform {

enum class PluralCategory { zero, one, two, few, many, other };

// The category of the CLDR keyword ("zero", "one", ... "other"); nullopt for any other word.
std::optional<PluralCategory> pluralCategoryNamed(std::wstring_view keyword);

// The first category of the rule whose condition the whole number n meets;
// other when none does. A rule that cannot be read gives other for every
// number. Sample lists ("@integer 1, 21") are ignored; of the operands, n and
// i are the number's size and v, w, f, t, c and e are 0.
PluralCategory pluralCategory(std::wstring_view rule, std::int64_t n);

}  // namespace platform
