// Look-ups in the in-memory registry, with caseless names, through indexes
// of folded names.
#include "platform/formats/registry_model.h"

#include "platform/formats/unicode.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <locale.h>
#include <wctype.h>
#endif

namespace platform::registry {
namespace {

// Upper-casing by the Unicode tables of the C.UTF-8 locale, whatever locale
// the process runs in; plain ASCII folding when that locale is missing. On
// Windows by the system's own table, the one its registry compares names by.
wchar_t upper(wchar_t c) {
    if (c >= L'a' && c <= L'z') return static_cast<wchar_t>(c - L'a' + L'A');
    if (c < 0x80) return c;
#ifdef _WIN32
    // An argument below 0x10000 is one character; the result holds its upper case.
    return static_cast<wchar_t>(reinterpret_cast<std::uintptr_t>(
        CharUpperW(reinterpret_cast<LPWSTR>(static_cast<std::uintptr_t>(c)))));
#else
    static const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    if (!unicode) return c;
    return static_cast<wchar_t>(towupper_l(static_cast<wint_t>(c), unicode));
#endif
}

// The name upper-cased: equal for names that differ only in case.
std::wstring foldedName(std::wstring_view name) {
    std::wstring folded(name);
    for (wchar_t& c : folded) c = upper(c);
    return folded;
}

}  // namespace

const Value* Key::find(std::wstring_view name) const {
    auto found = valueIndex.find(foldedName(name));
    return found == valueIndex.end() ? nullptr : &values[found->second];
}

void Key::put(Value value) {
    auto [place, added] = valueIndex.try_emplace(foldedName(value.name), values.size());
    if (added) {
        values.push_back(std::move(value));
        return;
    }
    // The name keeps the spelling it was first stored with, as regedit does.
    Value& existing = values[place->second];
    existing.type = value.type;
    existing.data = std::move(value.data);
}

const Key* Document::find(std::wstring_view path) const {
    auto found = keyIndex.find(foldedName(path));
    return found == keyIndex.end() ? nullptr : &keys[found->second];
}

Key* Document::find(std::wstring_view path) {
    auto found = keyIndex.find(foldedName(path));
    return found == keyIndex.end() ? nullptr : &keys[found->second];
}

Key& Document::ensure(std::wstring_view path) {
    auto [place, added] = keyIndex.try_emplace(foldedName(path), keys.size());
    if (added) {
        Key key;
        key.path = std::wstring(path);
        keys.push_back(std::move(key));
    }
    return keys[place->second];
}

bool printable(wchar_t c) {
    auto code = static_cast<std::uint32_t>(c);
    if (code < 0x20 || code == 0x7F) return false;
    // A 16-bit wide string (Windows) holds characters above U+FFFF as
    // surrogate pairs; whether they pair up is the whole text's question.
    if (sizeof(wchar_t) == 2) return true;
    return code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
}

bool printableText(std::wstring_view text) {
    for (wchar_t c : text)
        if (!printable(c)) return false;
    return formats::toUtf8(text).has_value();
}

std::optional<std::wstring> userKeyPath(std::wstring_view subKey) {
    std::wstring path = L"HKEY_CURRENT_USER";
    if (subKey.empty()) return path;
    std::size_t start = 0;
    while (true) {
        std::size_t end = subKey.find(L'\\', start);
        std::wstring_view part = subKey.substr(start, end == std::wstring_view::npos ? end : end - start);
        if (part.empty() || !printableText(part)) return std::nullopt;
        path += L'\\';
        path += part;
        if (end == std::wstring_view::npos) break;
        start = end + 1;
    }
    return path;
}

bool validValueName(std::wstring_view name) { return printableText(name); }

}  // namespace platform::registry
