// Text conversions of the registry: the file is UTF-8, the callers' names are
// wide strings, and text data is UTF-16LE. Names compare without regard to case.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform::registry {

// Strict UTF-8 decoding: nullopt on overlong forms, surrogates, values above
// U+10FFFF or cut sequences.
std::optional<std::wstring> fromUtf8(std::string_view text);

// nullopt when the text holds something that is not a Unicode scalar value.
std::optional<std::string> toUtf8(std::wstring_view text);

// Decodes UTF-16LE code units; nullopt on an odd byte count or an unpaired surrogate.
std::optional<std::wstring> fromUtf16le(std::span<const std::uint8_t> bytes);

// Encodes scalar values as UTF-16LE (pairs above U+FFFF); callers pass valid text.
std::vector<std::uint8_t> toUtf16le(std::wstring_view text);

// Key paths and value names are equal when they differ only in case.
bool sameName(std::wstring_view a, std::wstring_view b);

// The name upper-cased the way sameName compares: equal for names that are
// the same name.
std::wstring foldedName(std::wstring_view name);

}  // namespace platform::registry
