// Filling a text with numbers and words, as the handheld's wsprintf did:
// "%d", "%02d", "%x", "%s" and the like, the same on every host. No locale
// and no C library take part, so a format in any language comes out whole.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace platform {

// What wsprintf writes at most: 1024 characters with the terminating null.
inline constexpr std::size_t MAX_FORMATTED_CHARS = 1025;

// One value for a conversion: a whole number or a text. Both convert
// implicitly, so that a call reads formatText(L"%d:%02d", {hours, minutes}).
class FormatArgument {
public:
    template <std::integral T>
    constexpr FormatArgument(T number)
        : bits_(static_cast<std::uint64_t>(number)),
          width_(static_cast<int>(sizeof(T) * 8)),
          signed_(std::is_signed_v<T>) {}
    constexpr FormatArgument(std::wstring_view text) : text_(text), isText_(true) {}
    constexpr FormatArgument(const wchar_t* text) : text_(text), isText_(true) {}

    constexpr bool isText() const { return isText_; }
    constexpr std::wstring_view text() const { return text_; }
    // The number as its type holds it: negative only for a signed type.
    constexpr bool negative() const { return signed_ && static_cast<std::int64_t>(bits_) < 0; }
    // Its magnitude, for %d.
    constexpr std::uint64_t magnitude() const { return negative() ? 0 - bits_ : bits_; }
    // Its bits as an unsigned number of the type's width, for %u and %x (-1 as int is ffffffff).
    constexpr std::uint64_t unsignedValue() const {
        return width_ >= 64 ? bits_ : bits_ & ((std::uint64_t{1} << width_) - 1);
    }

private:
    std::uint64_t bits_ = 0;  // a signed number sign-extended
    int width_ = 0;
    bool signed_ = false;
    std::wstring_view text_;
    bool isText_ = false;
};

// The format with every conversion filled in, cut to bufferChars - 1
// characters as a buffer of bufferChars would hold it.
//   %[n$][-][0][width][.precision][h|l]type, type one of d i u x X c s, and %%.
// n$ takes the n-th argument (from 1), so a translation may use the numbers
// in its own order; other conversions take the arguments in turn. A number
// given to %s is written in decimal, a text given to a number conversion as
// it is; a conversion without an argument writes nothing; anything that is
// not a conversion is copied as it stands.
std::wstring formatText(std::wstring_view format, std::span<const FormatArgument> arguments,
                        std::size_t bufferChars = MAX_FORMATTED_CHARS);
inline std::wstring formatText(std::wstring_view format, std::initializer_list<FormatArgument> arguments,
                               std::size_t bufferChars = MAX_FORMATTED_CHARS) {
    return formatText(format, std::span<const FormatArgument>(arguments.begin(), arguments.size()), bufferChars);
}

}  // namespace platform
