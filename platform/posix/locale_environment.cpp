// Reads the locale variables in the order gettext gives them.
#include "platform/posix/locale_environment.h"

#include <cstdlib>
#include <string_view>

namespace platform::posix {
namespace {

// Nobody prefers more languages than this; reading a list of thousands at
// every look-up of a text would slow the game down.
constexpr std::size_t MOST_PREFERENCES = 16;

const char* setVariable(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

}  // namespace

std::vector<std::string> environmentLocales() {
    const char* locale = setVariable("LC_ALL");
    if (!locale) locale = setVariable("LC_MESSAGES");
    if (!locale) locale = setVariable("LANG");
    const std::string_view name = locale ? locale : "C";
    if (name == "C" || name == "POSIX" || name.starts_with("C.")) return {};
    std::vector<std::string> out;
    if (const char* list = setVariable("LANGUAGE")) {
        std::string_view rest = list;
        while (!rest.empty() && out.size() < MOST_PREFERENCES) {
            const std::size_t colon = rest.find(':');
            if (colon != 0) out.emplace_back(rest.substr(0, colon));
            rest = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon + 1);
        }
    }
    out.emplace_back(name);
    return out;
}

}  // namespace platform::posix
