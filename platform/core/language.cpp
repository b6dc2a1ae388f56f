// Locale names to Windows language ids, through the table of the languages
// that the resources speak.
#include "platform/core/language.h"

#include <cctype>

#include "platform/formats/resource_file.h"
#include "resources/languages.h"

namespace platform::core {
namespace {

std::string lower(std::string_view text) {
    std::string out;
    for (char c : text) out.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    return out;
}

// A locale's language code and its country ("pt", "BR"); either may be empty.
struct LocaleParts {
    std::string code;
    std::string country;
};

LocaleParts partsOf(std::string_view locale) {
    // language[_territory][.codeset][@modifier], or language[-territory] from a browser
    locale = locale.substr(0, locale.find_first_of(".@"));
    const std::size_t split = locale.find_first_of("_-");
    LocaleParts parts{lower(locale.substr(0, split)), {}};
    if (split != std::string_view::npos)
        for (char c : locale.substr(split + 1))
            parts.country.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    return parts;
}

}  // namespace

std::optional<std::uint16_t> languageOf(std::string_view locale) {
    const LocaleParts wanted = partsOf(locale);
    std::optional<std::uint16_t> neutral;
    for (const HoraliaLanguage& language : HORALIA_LANGUAGES) {
        const LocaleParts stored = partsOf(language.locale);
        if (stored.code != wanted.code) continue;
        if (stored.country == wanted.country) return formats::languageId(language.primary, language.sublanguage);
        if (!neutral) neutral = formats::languageId(language.primary, 0);
    }
    return neutral;
}

std::vector<std::uint16_t> languagesOf(std::span<const std::string> locales) {
    std::vector<std::uint16_t> out;
    for (const auto& locale : locales)
        if (auto language = languageOf(locale)) out.push_back(*language);
    return out;
}

}  // namespace platform::core
