// Writes the registry export format in UTF-8 and reads it in UTF-8 (with or
// without a byte-order mark) or UTF-16LE with a byte-order mark:
//   [HKEY_CURRENT_USER\Software\Quillmoor\Horalia]
//   "score"="12"                      clean UTF-16LE text with one final null
//   "stat"=hex:00,01,...,\            binary, wrapped like regedit's export
//     02,03
//   "count"=dword:0000000c            four-byte number
//   "other"=hex(7):41,00,00,00        any other type or text data
#include "platform/formats/registry_format.h"

#include <vector>

#include "platform/formats/little_endian.h"
#include "platform/formats/unicode.h"
#include "platform/text_format.h"

namespace platform::registry {
namespace {

using formats::fromUtf16le;
using formats::fromUtf8;
using formats::toUtf16le;
using formats::toUtf8;

constexpr std::uint32_t REG_SZ = 1;
constexpr std::uint32_t REG_BINARY = 3;
constexpr std::uint32_t REG_DWORD = 4;
// Regedit starts a new line once a line of hex bytes reaches this width.
constexpr std::size_t HEX_LINE_WIDTH = 77;

// ------------------------------------------------------------- writing

std::wstring quoted(std::wstring_view text) {
    std::wstring out = L"\"";
    for (wchar_t c : text) {
        if (c == L'\\' || c == L'"') out += L'\\';
        out += c;
    }
    out += L'"';
    return out;
}

// The text of data that is a clean string: UTF-16LE, exactly one null at its
// end, and nothing that would break the line. nullopt otherwise.
std::optional<std::wstring> cleanText(const std::vector<std::uint8_t>& data) {
    if (data.size() < 2) return std::nullopt;
    std::optional<std::wstring> text = fromUtf16le(data);
    if (!text || text->empty() || text->back() != L'\0') return std::nullopt;
    text->pop_back();
    if (!printableText(*text)) return std::nullopt;
    return text;
}

std::wstring hexData(std::wstring prefix, const std::vector<std::uint8_t>& data) {
    static const wchar_t digits[] = L"0123456789abcdef";
    std::size_t lineLength = prefix.size();
    std::wstring out = std::move(prefix);
    for (std::size_t i = 0; i < data.size(); ++i) {
        out += digits[data[i] >> 4];
        out += digits[data[i] & 0x0F];
        if (i + 1 < data.size()) {
            out += L',';
            lineLength += 3;
            if (lineLength >= HEX_LINE_WIDTH) {
                out += L"\\\n  ";
                lineLength = 2;
            }
        }
    }
    return out;
}

std::wstring valueLine(const Value& value) {
    std::wstring line = value.name.empty() ? std::wstring(L"@") : quoted(value.name);
    line += L'=';
    if (value.type == REG_SZ) {
        if (std::optional<std::wstring> text = cleanText(value.data)) return line + quoted(*text);
    }
    if (value.type == REG_DWORD && value.data.size() == 4)
        return line + formatText(L"dword:%08x", {formats::le32(value.data.data())});
    if (value.type == REG_BINARY) return hexData(line + L"hex:", value.data);
    return hexData(line + formatText(L"hex(%x):", {value.type}), value.data);
}

// ------------------------------------------------------------- reading

bool isSpace(wchar_t c) { return c == L' ' || c == L'\t'; }

std::wstring_view trimmed(std::wstring_view text) {
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    return text;
}

int hexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

// A number of 1 to maxDigits hex digits, the whole of the text.
std::optional<std::uint32_t> hexNumber(std::wstring_view text, std::size_t minDigits, std::size_t maxDigits) {
    if (text.size() < minDigits || text.size() > maxDigits) return std::nullopt;
    std::uint32_t number = 0;
    for (wchar_t c : text) {
        int digit = hexDigit(c);
        if (digit < 0) return std::nullopt;
        number = (number << 4) | static_cast<std::uint32_t>(digit);
    }
    return number;
}

// Reads a quoted string at the start of text; returns its content and drops
// it (with the quotes) from text.
std::optional<std::wstring> readQuoted(std::wstring_view& text) {
    if (text.empty() || text.front() != L'"') return std::nullopt;
    std::wstring out;
    for (std::size_t i = 1; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c == L'"') {
            text.remove_prefix(i + 1);
            return out;
        }
        if (c == L'\\') {
            if (i + 1 >= text.size()) return std::nullopt;
            wchar_t next = text[++i];
            if (next != L'\\' && next != L'"') return std::nullopt;
            c = next;
        }
        out += c;
    }
    return std::nullopt;  // no closing quote: the line was cut
}

// Comma-separated two-digit hex bytes, possibly none.
std::optional<std::vector<std::uint8_t>> hexBytes(std::wstring_view text) {
    std::vector<std::uint8_t> bytes;
    text = trimmed(text);
    if (text.empty()) return bytes;
    while (true) {
        std::size_t comma = text.find(L',');
        std::wstring_view token = trimmed(text.substr(0, comma));
        std::optional<std::uint32_t> byte = hexNumber(token, 2, 2);
        if (!byte) return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(*byte));
        if (comma == std::wstring_view::npos) return bytes;
        text.remove_prefix(comma + 1);
    }
}

class Parser {
public:
    explicit Parser(std::wstring_view text) {
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t end = text.find(L'\n', start);
            std::wstring_view line = text.substr(start, end == std::wstring_view::npos ? end : end - start);
            if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
            lines_.push_back(line);
            if (end == std::wstring_view::npos) break;
            start = end + 1;
        }
    }

    std::optional<Document> parse() {
        if (lines_.empty() || trimmed(lines_[0]) != L"Windows Registry Editor Version 5.00") return std::nullopt;
        Document document;
        Key* key = nullptr;
        for (next_ = 1; next_ < lines_.size();) {
            std::wstring_view line = trimmed(lines_[next_++]);
            if (line.empty() || line.front() == L';') continue;
            if (line.front() == L'[') {
                if (line.size() < 3 || line.back() != L']' || line[1] == L'-') return std::nullopt;
                std::wstring_view path = line.substr(1, line.size() - 2);
                for (wchar_t c : path)
                    if (!printable(c)) return std::nullopt;
                key = &document.ensure(path);
                continue;
            }
            if (!key) return std::nullopt;
            std::optional<Value> value = valueAt(line);
            if (!value) return std::nullopt;
            key->put(std::move(*value));
        }
        return document;
    }

private:
    std::optional<Value> valueAt(std::wstring_view line) {
        Value value;
        if (line.front() == L'@') {
            line.remove_prefix(1);
        } else {
            std::optional<std::wstring> name = readQuoted(line);
            if (!name || !validValueName(*name)) return std::nullopt;
            value.name = std::move(*name);
        }
        line = trimmed(line);
        if (line.empty() || line.front() != L'=') return std::nullopt;
        line = trimmed(line.substr(1));

        if (!line.empty() && line.front() == L'"') {
            std::optional<std::wstring> text = readQuoted(line);
            if (!text || !trimmed(line).empty()) return std::nullopt;
            text->push_back(L'\0');
            value.type = REG_SZ;
            value.data = toUtf16le(*text);
            return value;
        }
        if (line.starts_with(L"dword:")) {
            std::optional<std::uint32_t> number = hexNumber(line.substr(6), 8, 8);
            if (!number) return std::nullopt;
            value.type = REG_DWORD;
            for (int shift = 0; shift < 32; shift += 8)
                value.data.push_back(static_cast<std::uint8_t>(*number >> shift));
            return value;
        }
        std::wstring_view rest;
        if (line.starts_with(L"hex:")) {
            value.type = REG_BINARY;
            rest = line.substr(4);
        } else if (line.starts_with(L"hex(")) {
            std::size_t close = line.find(L"):");
            if (close == std::wstring_view::npos) return std::nullopt;
            std::optional<std::uint32_t> type = hexNumber(line.substr(4, close - 4), 1, 8);
            if (!type) return std::nullopt;
            value.type = *type;
            rest = line.substr(close + 2);
        } else {
            return std::nullopt;  // deletions ("=-") and unknown forms
        }
        // Gather continuation lines: a line of bytes that ends with a backslash
        // goes on in the next line.
        std::wstring bytes(trimmed(rest));
        while (!bytes.empty() && bytes.back() == L'\\') {
            bytes.pop_back();
            if (next_ >= lines_.size()) return std::nullopt;
            bytes += trimmed(lines_[next_++]);
        }
        std::optional<std::vector<std::uint8_t>> data = hexBytes(bytes);
        if (!data) return std::nullopt;
        value.data = std::move(*data);
        return value;
    }

    std::vector<std::wstring_view> lines_;
    std::size_t next_ = 0;
};

}  // namespace

std::string formatDocument(const Document& document) {
    std::wstring text(FILE_HEADER.begin(), FILE_HEADER.end());
    text += L"\n\n";
    for (const Key& key : document.keys) {
        text += L'[' + key.path + L"]\n";
        for (const Value& value : key.values) text += valueLine(value) + L'\n';
        text += L'\n';
    }
    return toUtf8(text).value_or(std::string());
}

std::size_t formattedSize(const Value& value) {
    return toUtf8(valueLine(value)).value_or(std::string()).size() + 1;
}

std::optional<Document> parseDocument(std::string_view text) {
    std::optional<std::wstring> wide;
    if (text.starts_with("\xFF\xFE")) {
        // UTF-16LE with its byte-order mark, as a Windows registry editor
        // exports; what is whole of a file cut in half a character is read.
        text.remove_prefix(2);
        text.remove_suffix(text.size() % 2);
        wide = fromUtf16le({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
        if (wide && wide->find(L'\0') != std::wstring::npos) return std::nullopt;
    } else {
        if (text.find('\0') != std::string_view::npos) return std::nullopt;
        if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
        wide = fromUtf8(text);
    }
    if (!wide) return std::nullopt;
    return Parser(*wide).parse();
}

}  // namespace platform::registry
