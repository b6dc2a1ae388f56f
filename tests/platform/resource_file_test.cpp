// The .res reader on damaged input: every truncation and every corrupted
// byte of a real resource file gives a shorter list, never a read outside.
#include <gtest/gtest.h>

#include <vector>

#include "platform/formats/resource_file.h"
#include "platform/core/resources_internal.h"

extern const unsigned char horalia_resources[];
extern const std::size_t horalia_resources_size;

namespace {

using namespace platform::formats;

std::vector<std::uint8_t> realFile() {
    return {horalia_resources, horalia_resources + horalia_resources_size};
}

// The parsed list together with the bytes that its entries point into.
struct Parsed {
    std::unique_ptr<std::uint8_t[]> bytes;
    ResourceFile file;
};

// Copies the bytes into a buffer of exactly their size, so that a read past
// the end is caught by the sanitizers, and checks that every entry lies inside.
Parsed parseExactly(const std::vector<std::uint8_t>& bytes) {
    Parsed parsed{std::make_unique<std::uint8_t[]>(bytes.size()), {}};
    std::copy(bytes.begin(), bytes.end(), parsed.bytes.get());
    parsed.file = parseResourceFile({parsed.bytes.get(), bytes.size()});
    for (const auto& e : parsed.file.entries) {
        EXPECT_GE(e.data.data(), parsed.bytes.get());
        EXPECT_LE(e.data.data() + e.data.size(), parsed.bytes.get() + bytes.size());
    }
    return parsed;
}

TEST(ResourceFile, RealFileIsCompleteAndHoldsTheTable) {
    const Parsed parsed = parseExactly(realFile());
    const ResourceFile& file = parsed.file;
    EXPECT_TRUE(file.complete);
    EXPECT_NE(findResource(file, ACCELERATOR_TYPE, 3), nullptr);
    EXPECT_NE(findResource(file, u"wave", 20006), nullptr) << "type names match in any case";
    EXPECT_EQ(findString(file, 1), u"Horalia");
}

TEST(ResourceFile, EveryTruncationGivesAPrefixOfTheEntries) {
    const auto bytes = realFile();
    const std::size_t whole = parseExactly(bytes).file.entries.size();
    for (std::size_t length = 0; length < bytes.size(); length += 97) {
        const std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + length);
        EXPECT_LE(parseExactly(cut).file.entries.size(), whole);
    }
}

TEST(ResourceFile, CorruptedHeadersNeverLeadOutside) {
    auto bytes = realFile();
    for (std::size_t at = 0; at < 1024 && at < bytes.size(); at += 3) {
        for (std::uint8_t value : {std::uint8_t{0x00}, std::uint8_t{0xFF}, std::uint8_t{0x7F}}) {
            auto damaged = bytes;
            damaged[at] = value;
            parseExactly(damaged);
        }
    }
}

TEST(ResourceFile, StringBlockShorterThanItsLengthsGivesNoString) {
    // One entry of type 6 (strings), name 1, holding a length of 5 and 2 characters.
    std::vector<std::uint8_t> file = {0, 0, 0, 0, 32, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0,
                                      0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const std::vector<std::uint8_t> entry = {6, 0, 0, 0, 32, 0, 0, 0, 0xFF, 0xFF, 6, 0, 0xFF, 0xFF, 1, 0,
                                             0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                             5, 0, 'a', 0, 'b', 0};
    file.insert(file.end(), entry.begin(), entry.end());
    const Parsed parsed = parseExactly(file);
    ASSERT_EQ(parsed.file.entries.size(), 1u);
    EXPECT_FALSE(findString(parsed.file, 0).has_value());
}

}  // namespace
