// Unicode text between its encodings: UTF-8 (the registry file, the hosts'
// own interfaces), UTF-16LE (text values, the resources) and the program's
// wide strings. Every decoder is strict; bad input gives nullopt.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform::formats {

// Strict UTF-8 decoding: nullopt on overlong forms, surrogates, values above
// U+10FFFF or cut sequences.
std::optional<std::wstring> fromUtf8(std::string_view text);

// nullopt when the text holds something that is not a Unicode scalar value.
std::optional<std::string> toUtf8(std::wstring_view text);

// UTF-8 for the host's own interfaces (window titles, file names): whatever is
// not a Unicode scalar value becomes U+FFFD.
std::string utf8(std::wstring_view text);

// Decodes UTF-16LE code units; nullopt on an odd byte count or an unpaired surrogate.
std::optional<std::wstring> fromUtf16le(std::span<const std::uint8_t> bytes);

// Encodes scalar values as UTF-16LE (pairs above U+FFFF); callers pass valid text.
std::vector<std::uint8_t> toUtf16le(std::wstring_view text);

}  // namespace platform::formats
