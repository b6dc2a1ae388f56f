// The user's languages as Windows language ids, from locale names: a POSIX
// locale ("de_DE.UTF-8", "pt_BR@euro") or a browser language tag ("pt-BR",
// "de"). The languages known are those the resources speak (one table,
// resources/languages.h); the resource file chooses among them.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform::core {

// The language of a locale: its country's sublanguage when the resources
// are stored for that country, else the neutral one. nullopt for "C",
// "POSIX", an empty locale or a language the resources do not speak.
std::optional<std::uint16_t> languageOf(std::string_view locale);

// The languages of locales, best first, unknown ones left out.
std::vector<std::uint16_t> languagesOf(std::span<const std::string> locales);

}  // namespace platform::core
