// The one way the program fills in a text: a small reading of wsprintf's
// conversions that writes digits itself, so no locale of any C library can
// stop it at a character it does not know.
#include "platform/text_format.h"

#include <algorithm>
#include <optional>

namespace platform {
namespace {

struct Conversion {
    std::optional<std::size_t> position;  // from n$, counted from 1
    bool leftAlign = false;
    bool zeroPad = false;
    std::size_t width = 0;
    std::optional<std::size_t> precision;
    wchar_t type = 0;
    std::size_t length = 0;  // characters of the format it takes, from the '%'
};

bool isDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Reads a run of digits, capped so that no width can ask for more than a buffer holds.
std::size_t readNumber(std::wstring_view text, std::size_t& at) {
    std::size_t value = 0;
    for (; at < text.size() && isDigit(text[at]); ++at)
        value = std::min<std::size_t>(value * 10 + static_cast<std::size_t>(text[at] - L'0'), MAX_FORMATTED_CHARS);
    return value;
}

// The conversion that starts at the '%' at text[0]; nullopt when it is none.
std::optional<Conversion> readConversion(std::wstring_view text) {
    Conversion c;
    std::size_t at = 1;
    // n$ first: digits followed by '$'.
    std::size_t digitsEnd = at;
    while (digitsEnd < text.size() && isDigit(text[digitsEnd])) ++digitsEnd;
    if (digitsEnd > at && digitsEnd < text.size() && text[digitsEnd] == L'$' && text[at] != L'0') {
        c.position = readNumber(text, at);
        ++at;
    }
    for (; at < text.size(); ++at) {
        if (text[at] == L'-') {
            c.leftAlign = true;
        } else if (text[at] == L'0') {
            c.zeroPad = true;
        } else {
            break;
        }
    }
    c.width = readNumber(text, at);
    if (at < text.size() && text[at] == L'.') {
        ++at;
        c.precision = readNumber(text, at);
    }
    if (at < text.size() && (text[at] == L'h' || text[at] == L'l')) ++at;
    if (at >= text.size()) return std::nullopt;
    c.type = text[at];
    if (std::wstring_view(L"diuxXcs").find(c.type) == std::wstring_view::npos) return std::nullopt;
    c.length = at + 1;
    return c;
}

std::wstring digits(std::uint64_t value, unsigned base, bool upper) {
    const wchar_t* symbols = upper ? L"0123456789ABCDEF" : L"0123456789abcdef";
    std::wstring out;
    do {
        out.push_back(symbols[value % base]);
        value /= base;
    } while (value != 0);
    std::reverse(out.begin(), out.end());
    return out;
}

// A number conversion's text: sign, then at least precision digits; the
// zero flag pads with zeros after the sign up to the width.
std::wstring number(const Conversion& c, const FormatArgument& argument) {
    const bool signedType = c.type == L'd' || c.type == L'i';
    const bool negative = signedType && argument.negative();
    std::wstring body;
    if (c.type == L'c') {
        body.assign(1, static_cast<wchar_t>(argument.unsignedValue()));
        return body;
    }
    const bool hex = c.type == L'x' || c.type == L'X';
    body = digits(signedType ? argument.magnitude() : argument.unsignedValue(), hex ? 16 : 10, c.type == L'X');
    if (c.precision && body.size() < *c.precision) body.insert(0, *c.precision - body.size(), L'0');
    const std::wstring sign = negative ? L"-" : L"";
    if (c.zeroPad && !c.leftAlign && !c.precision && sign.size() + body.size() < c.width)
        body.insert(0, c.width - sign.size() - body.size(), L'0');
    return sign + body;
}

std::wstring converted(const Conversion& c, const FormatArgument& argument) {
    std::wstring text;
    if (c.type == L's' || argument.isText()) {
        if (argument.isText()) {
            text = argument.text();
            if (c.precision && text.size() > *c.precision) text.resize(*c.precision);
        } else {
            Conversion decimal = c;
            decimal.type = L'd';
            text = number(decimal, argument);
        }
    } else {
        text = number(c, argument);
    }
    if (text.size() < c.width) text.insert(c.leftAlign ? text.size() : 0, c.width - text.size(), L' ');
    return text;
}

}  // namespace

std::wstring formatText(std::wstring_view format, std::span<const FormatArgument> arguments,
                        std::size_t bufferChars) {
    const std::size_t limit = bufferChars == 0 ? 0 : bufferChars - 1;
    std::wstring out;
    std::size_t next = 0;  // the argument that a conversion without n$ takes
    for (std::size_t at = 0; at < format.size() && out.size() < limit;) {
        if (format[at] != L'%') {
            out.push_back(format[at++]);
            continue;
        }
        if (at + 1 < format.size() && format[at + 1] == L'%') {
            out.push_back(L'%');
            at += 2;
            continue;
        }
        const std::optional<Conversion> c = readConversion(format.substr(at));
        if (!c) {
            out.push_back(format[at++]);
            continue;
        }
        const std::size_t index = c->position ? *c->position - 1 : next++;
        if (index < arguments.size()) out += converted(*c, arguments[index]);
        at += c->length;
    }
    if (out.size() > limit) out.resize(limit);
    return out;
}

}  // namespace platform
