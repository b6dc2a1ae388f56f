// The one way texts are filled in: wsprintf's conversions written digit by
// digit, whatever the characters around them, with no C library locale.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

#include "platform/text_format.h"

namespace {

using platform::FormatArgument;

struct Case {
    const wchar_t* format;
    std::vector<FormatArgument> arguments;
    const wchar_t* expected;
    std::size_t bufferChars = platform::MAX_FORMATTED_CHARS;
};

TEST(TextFormat, FillsEveryConversionAsWsprintfDoes) {
    const Case cases[] = {
        // Words outside ASCII around the numbers stay whole (a C library in
        // the C locale stopped at the first of them).
        {L"Przesu\u0144 o %d:%02d do przodu", {12, 5}, L"Przesu\u0144 o 12:05 do przodu"},
        {L"Acerte o rel\u00f3gio para as %d:%02d", {1, 0}, L"Acerte o rel\u00f3gio para as 1:00"},
        {L"%d|%i|%d", {INT_MIN, INT_MAX, std::int64_t{-5}}, L"-2147483648|2147483647|-5"},
        // Unsigned and hexadecimal read a number's bits at its type's width.
        {L"%u %x %X %u", {-1, -1, 255, std::uint64_t{18446744073709551615u}},
         L"4294967295 ffffffff FF 18446744073709551615"},
        {L"dword:%08x", {std::uint32_t{12}}, L"dword:0000000c"},
        {L"hex(%x):", {std::uint32_t{0x20007}}, L"hex(20007):"},
        {L"[%4d][%-4d][%05d][%.3d][%02d][%ld%hd]", {5, 5, -42, 7, 123, 1, 2}, L"[   5][5   ][-0042][007][123][12]"},
        {L"%s, %.3s, %-3s|%c", {L"W\u00f6rter", L"abcdef", L"a", L'\u00e9'}, L"W\u00f6rter, abc, a  |\u00e9"},
        // n$ picks an argument, so a translation may put the numbers in its own order.
        {L"%2$d h %1$02d, %2$d", {5, 12}, L"12 h 05, 12"},
        // Wrong kinds, missing arguments and what is no conversion.
        {L"%s=%d", {42, L"x"}, L"42=x"},
        {L"%d:%02d %3$d|", {7}, L"7: |"},
        {L"100%% %q %", {}, L"100% %q %"},
        // Cut as a buffer of that many characters would hold it.
        {L"Score %d", {123456}, L"Score 12", 9},
        {L"%d", {1}, L"", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "format " << testing::PrintToString(std::wstring(c.format)));
        EXPECT_EQ(platform::formatText(c.format, c.arguments, c.bufferChars), c.expected);
    }
}

}  // namespace
