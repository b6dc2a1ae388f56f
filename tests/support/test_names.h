// Names for parameterised test cases: a stored text turned into a test name
// that reads the same on every run ("+5" -> "plus_5", "" -> "empty").
#pragma once

#include <string>
#include <string_view>

namespace testnames {

// Letters and digits stay; every other character is spelt out between underscores.
template <class Char>
std::string spelt(std::basic_string_view<Char> text) {
    if (text.empty()) return "empty";
    std::string name;
    auto word = [&name](std::string_view w) {
        if (!name.empty()) name += '_';
        name += w;
        name += '_';
    };
    for (Char c : text) {
        const auto u = static_cast<unsigned>(c);
        if ((u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z')) {
            name += static_cast<char>(u);
        } else if (u == ' ') {
            word("space");
        } else if (u == '+') {
            word("plus");
        } else if (u == '-') {
            word("minus");
        } else if (u == '\t') {
            word("tab");
        } else if (u == '\n') {
            word("newline");
        } else {
            word("char" + std::to_string(u));
        }
    }
    while (name.find("__") != std::string::npos) name.erase(name.find("__"), 1);
    if (name.back() == '_') name.pop_back();
    return name;
}

inline std::string spelt(const char* text) { return spelt(std::string_view(text)); }
inline std::string spelt(const char16_t* text) { return spelt(std::u16string_view(text)); }

}  // namespace testnames
