// Reads the compiled resource file (.res) that the program carries: a list of
// entries, each with a type, a name and its bytes. Damaged input ends the list
// at the last whole entry; nothing is read outside the given bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace platform::formats {

// A Windows language id: the primary language in the low ten bits, the
// sublanguage (0 neutral, 1 the main country, ...) above them.
constexpr std::uint16_t languageId(unsigned primary, unsigned sublanguage) {
    return static_cast<std::uint16_t>((sublanguage << 10) | primary);
}
constexpr std::uint16_t LANGUAGE_NEUTRAL = 0;
constexpr std::uint16_t ENGLISH_US = languageId(0x09, 0x01);

// How well a stored language serves the preferred ones, best first: lower is
// better. The user's first language that is stored (its very sublanguage,
// else the neutral one, else any of that language), else the language-neutral
// entry, else English, else whatever there is.
int languageRank(std::uint16_t stored, std::span<const std::uint16_t> preferred);

// A resource type or name: a number, or a text when it is not one.
struct ResourceName {
    std::optional<std::uint16_t> id;
    std::u16string text;
};

struct ResourceEntry {
    ResourceName type;
    ResourceName name;
    std::uint16_t language = 0;  // Windows language id; 0 is language-neutral
    std::span<const std::uint8_t> data;
};

struct ResourceFile {
    std::vector<ResourceEntry> entries;
    bool complete = true;  // false when damaged bytes ended the list early
};

ResourceFile parseResourceFile(std::span<const std::uint8_t> bytes);

// Standard resource types.
constexpr std::uint16_t BITMAP_TYPE = 2;
constexpr std::uint16_t STRING_TYPE = 6;
constexpr std::uint16_t ACCELERATOR_TYPE = 9;

// The entry of a numbered type and id, or of a named type ("WAVE") and id, in
// the language that serves the preferred ones best (languageRank).
const ResourceEntry* findResource(const ResourceFile& file, std::uint16_t type, std::uint32_t id,
                                  std::span<const std::uint16_t> preferred = {});
const ResourceEntry* findResource(const ResourceFile& file, std::u16string_view type, std::uint32_t id,
                                  std::span<const std::uint16_t> preferred = {});

// The string-table entry id, or nullopt when it is missing, from the block of
// sixteen strings in the best language.
std::optional<std::u16string> findString(const ResourceFile& file, std::uint32_t id,
                                         std::span<const std::uint16_t> preferred = {});

}  // namespace platform::formats
