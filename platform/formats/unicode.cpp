// UTF-8 and UTF-16LE conversions, each checked character by character.
#include "platform/formats/unicode.h"

#include "platform/formats/little_endian.h"

namespace platform::formats {
namespace {

bool isScalar(std::uint32_t c) {
    return c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
}

// Where wchar_t has 16 bits (Windows) a wide string is UTF-16: characters
// above U+FFFF take a surrogate pair. Elsewhere each wchar_t is one character.
constexpr bool WIDE_IS_UTF16 = sizeof(wchar_t) == 2;

void appendScalar(std::wstring& out, std::uint32_t c) {
    if (WIDE_IS_UTF16 && c >= 0x10000) {
        c -= 0x10000;
        out.push_back(static_cast<wchar_t>(0xD800 + (c >> 10)));
        out.push_back(static_cast<wchar_t>(0xDC00 + (c & 0x3FF)));
    } else {
        out.push_back(static_cast<wchar_t>(c));
    }
}

// The character at text[i], stepping i past it; a lone surrogate comes back
// as itself (not a scalar value), for the caller to refuse or replace.
std::uint32_t nextScalar(std::wstring_view text, std::size_t& i) {
    auto c = static_cast<std::uint32_t>(text[i++]);
    if (WIDE_IS_UTF16 && c >= 0xD800 && c <= 0xDBFF && i < text.size()) {
        const auto low = static_cast<std::uint32_t>(text[i]);
        if (low >= 0xDC00 && low <= 0xDFFF) {
            ++i;
            return 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        }
    }
    return c;
}

}  // namespace

std::optional<std::wstring> fromUtf8(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            out.push_back(static_cast<wchar_t>(byte));
            ++i;
            continue;
        }
        int extra;
        std::uint32_t c;
        std::uint32_t least;
        if ((byte & 0xE0) == 0xC0) {
            extra = 1, c = byte & 0x1F, least = 0x80;
        } else if ((byte & 0xF0) == 0xE0) {
            extra = 2, c = byte & 0x0F, least = 0x800;
        } else if ((byte & 0xF8) == 0xF0) {
            extra = 3, c = byte & 0x07, least = 0x10000;
        } else {
            return std::nullopt;
        }
        if (i + static_cast<std::size_t>(extra) >= text.size()) return std::nullopt;
        for (int k = 1; k <= extra; ++k) {
            auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return std::nullopt;
            c = (c << 6) | (next & 0x3F);
        }
        if (c < least || !isScalar(c)) return std::nullopt;
        appendScalar(out, c);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

std::optional<std::string> toUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::uint32_t c = nextScalar(text, i);
        if (!isScalar(c)) return std::nullopt;
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::string utf8(std::wstring_view text) {
    std::wstring clean;
    clean.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::uint32_t c = nextScalar(text, i);
        appendScalar(clean, isScalar(c) ? c : 0xFFFD);
    }
    return toUtf8(clean).value_or(std::string{});
}

std::optional<std::wstring> fromUtf16le(std::span<const std::uint8_t> bytes) {
    if (bytes.size() % 2 != 0) return std::nullopt;
    std::wstring out;
    out.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        std::uint32_t unit = le16(bytes.data() + i);
        if (unit >= 0xDC00 && unit <= 0xDFFF) return std::nullopt;
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (i + 3 >= bytes.size()) return std::nullopt;
            std::uint32_t low = le16(bytes.data() + i + 2);
            if (low < 0xDC00 || low > 0xDFFF) return std::nullopt;
            unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        }
        appendScalar(out, unit);
    }
    return out;
}

std::vector<std::uint8_t> toUtf16le(std::wstring_view text) {
    std::vector<std::uint8_t> out;
    out.reserve(text.size() * 2);
    auto put = [&out](std::uint32_t unit) {
        out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        out.push_back(static_cast<std::uint8_t>(unit >> 8));
    };
    for (std::size_t i = 0; i < text.size();) {
        std::uint32_t c = nextScalar(text, i);
        if (c >= 0x10000) {
            c -= 0x10000;
            put(0xD800 + (c >> 10));
            put(0xDC00 + (c & 0x3FF));
        } else {
            put(c);
        }
    }
    return out;
}

}  // namespace platform::formats
