// The user's languages, as Windows language ids, and the choice among the
// languages a resource is stored in: the user's first language that has it
// (its very sublanguage, else the neutral one, else any of that language),
// else the language-neutral entry, else English, else whatever there is.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform::core {

// A Windows language id: the primary language in the low ten bits, the
// sublanguage (0 neutral, 1 the main country, ...) above them.
constexpr std::uint16_t languageId(unsigned primary, unsigned sublanguage) {
    return static_cast<std::uint16_t>((sublanguage << 10) | primary);
}
constexpr std::uint16_t LANGUAGE_NEUTRAL = 0;
constexpr std::uint16_t ENGLISH_US = languageId(0x09, 0x01);

// The language of a POSIX locale ("de_DE.UTF-8", "pt_BR@euro") or a browser
// language tag ("pt-BR", "de"); nullopt for "C", "POSIX", an empty or an
// unknown one.
std::optional<std::uint16_t> languageOf(std::string_view locale);

// The user's locales from the environment in gettext's order: the
// colon-separated list in LANGUAGE, then the first set of LC_ALL, LC_MESSAGES
// and LANG. The C and POSIX locales (or none) mean the program's own
// language, so then the list is empty and LANGUAGE is not read.
std::vector<std::string> environmentLocales();

// The languages of locales, best first, unknown ones left out.
std::vector<std::uint16_t> languagesOf(std::span<const std::string> locales);

// How well a stored language serves the preferred ones: lower is better.
int languageRank(std::uint16_t stored, std::span<const std::uint16_t> preferred);

}  // namespace platform::core
