// Locale names to Windows language ids, and the order in which stored
// languages stand in for the user's.
#include "platform/core/language.h"

#include <cctype>
#include <cstdlib>

namespace platform::core {
namespace {

struct Primary {
    std::string_view code;
    unsigned id;
};

// ISO 639-1 codes of the languages a resource may come in.
constexpr Primary PRIMARIES[] = {
    {"ar", 0x01}, {"bg", 0x02}, {"ca", 0x03}, {"zh", 0x04}, {"cs", 0x05}, {"da", 0x06},
    {"de", 0x07}, {"el", 0x08}, {"en", 0x09}, {"es", 0x0A}, {"fi", 0x0B}, {"fr", 0x0C},
    {"he", 0x0D}, {"hu", 0x0E}, {"is", 0x0F}, {"it", 0x10}, {"ja", 0x11}, {"ko", 0x12},
    {"nl", 0x13}, {"nb", 0x14}, {"no", 0x14}, {"pl", 0x15}, {"pt", 0x16}, {"ro", 0x18},
    {"ru", 0x19}, {"hr", 0x1A}, {"sk", 0x1B}, {"sq", 0x1C}, {"sv", 0x1D}, {"th", 0x1E},
    {"tr", 0x1F}, {"uk", 0x22}, {"sl", 0x24}, {"et", 0x25}, {"lv", 0x26}, {"lt", 0x27},
};

struct Sublanguage {
    std::string_view code, territory;
    unsigned id;
};

// The countries whose sublanguage differs in the resources one may meet;
// any other country of a known language means its neutral sublanguage.
constexpr Sublanguage SUBLANGUAGES[] = {
    {"en", "US", 1}, {"en", "GB", 2}, {"en", "AU", 3}, {"en", "CA", 4},
    {"de", "DE", 1}, {"de", "CH", 2}, {"de", "AT", 3},
    {"fr", "FR", 1}, {"fr", "BE", 2}, {"fr", "CA", 3}, {"fr", "CH", 4},
    {"es", "ES", 3}, {"es", "MX", 2}, {"it", "IT", 1}, {"it", "CH", 2},
    {"pt", "BR", 1}, {"pt", "PT", 2}, {"nl", "NL", 1}, {"nl", "BE", 2}, {"pl", "PL", 1},
};

constexpr unsigned primaryOf(std::uint16_t language) { return language & 0x3FF; }

std::string lower(std::string_view text) {
    std::string out;
    for (char c : text) out.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    return out;
}
std::string upper(std::string_view text) {
    std::string out;
    for (char c : text) out.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    return out;
}

const char* setVariable(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

}  // namespace

std::optional<std::uint16_t> languageOf(std::string_view locale) {
    // language[_territory][.codeset][@modifier], or language[-territory] from a browser
    locale = locale.substr(0, locale.find_first_of(".@"));
    const std::size_t split = locale.find_first_of("_-");
    const std::string code = lower(locale.substr(0, split));
    const std::string territory = split == std::string_view::npos ? "" : upper(locale.substr(split + 1));
    for (const auto& primary : PRIMARIES) {
        if (primary.code != code) continue;
        unsigned sublanguage = 0;
        for (const auto& sub : SUBLANGUAGES)
            if (sub.code == code && sub.territory == territory) sublanguage = sub.id;
        return languageId(primary.id, sublanguage);
    }
    return std::nullopt;
}

std::vector<std::string> environmentLocales() {
    const char* locale = setVariable("LC_ALL");
    if (!locale) locale = setVariable("LC_MESSAGES");
    if (!locale) locale = setVariable("LANG");
    const std::string_view name = locale ? locale : "C";
    if (name == "C" || name == "POSIX" || name.starts_with("C.")) return {};
    std::vector<std::string> out;
    if (const char* list = setVariable("LANGUAGE")) {
        std::string_view rest = list;
        while (!rest.empty()) {
            const std::size_t colon = rest.find(':');
            if (colon != 0) out.emplace_back(rest.substr(0, colon));
            rest = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon + 1);
        }
    }
    out.emplace_back(name);
    return out;
}

std::vector<std::uint16_t> languagesOf(std::span<const std::string> locales) {
    std::vector<std::uint16_t> out;
    for (const auto& locale : locales)
        if (auto language = languageOf(locale)) out.push_back(*language);
    return out;
}

int languageRank(std::uint16_t stored, std::span<const std::uint16_t> preferred) {
    const int count = static_cast<int>(preferred.size());
    for (int i = 0; i < count; ++i) {
        const std::uint16_t wanted = preferred[i];
        if (stored == wanted) return 3 * i;
        if (stored == languageId(primaryOf(wanted), 0)) return 3 * i + 1;
        if (primaryOf(stored) == primaryOf(wanted)) return 3 * i + 2;
    }
    if (stored == LANGUAGE_NEUTRAL) return 3 * count;
    if (stored == ENGLISH_US) return 3 * count + 1;
    if (primaryOf(stored) == primaryOf(ENGLISH_US)) return 3 * count + 2;
    return 3 * count + 3;
}

}  // namespace platform::core
