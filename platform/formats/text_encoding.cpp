// UTF-8 encoding of wide strings: the registry's strict encoder, after
// anything that is not a Unicode scalar value has become U+FFFD.
#include "platform/formats/text_encoding.h"

#include <cstdint>

#include "platform/formats/unicode.h"

namespace platform::core {

std::string utf8(std::wstring_view text) {
    std::wstring clean(text);
    for (wchar_t& w : clean) {
        const auto c = static_cast<std::uint32_t>(w);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) w = 0xFFFD;
    }
    return registry::toUtf8(clean).value_or(std::string{});
}

}  // namespace platform::core
