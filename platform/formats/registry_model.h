// The registry in memory: keys by full path ("HKEY_CURRENT_USER\Software\..."),
// each with its typed values, in the order they were first stored.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform::registry {

struct Value {
    std::wstring name;         // empty for the key's default value
    std::uint32_t type = 0;    // REG_SZ 1, REG_EXPAND_SZ 2, REG_BINARY 3, REG_DWORD 4, ...
    std::vector<std::uint8_t> data;
};

struct Key {
    std::wstring path;
    std::vector<Value> values;
    // Each value's place in values by its folded name, so that a file of
    // thousands of values is read and searched in linear time.
    std::unordered_map<std::wstring, std::size_t> valueIndex;

    // The value of that name, whatever its case; null when there is none.
    const Value* find(std::wstring_view name) const;
    // Replaces the value of that name, or appends a new one.
    void put(Value value);
};

struct Document {
    std::vector<Key> keys;
    std::unordered_map<std::wstring, std::size_t> keyIndex;  // as Key::valueIndex

    const Key* find(std::wstring_view path) const;
    Key* find(std::wstring_view path);
    // The key of that path, appended empty when missing.
    Key& ensure(std::wstring_view path);
};

// The full path of a key below the current user, or nullopt when the sub-key
// cannot name a key: an empty part ("a\\b", a leading or trailing backslash)
// or a character that the file cannot hold on one line.
std::optional<std::wstring> userKeyPath(std::wstring_view subKey);

// True when a value name can be written to the file (no control characters,
// only Unicode scalar values).
bool validValueName(std::wstring_view name);

// True when the character may appear in a key path or a value name.
bool printable(wchar_t c);

// True when every character is printable and the text is well-formed Unicode.
bool printableText(std::wstring_view text);

}  // namespace platform::registry
