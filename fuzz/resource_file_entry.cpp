// Resource files: parseResourceFile must keep every entry's bytes inside the
// input, every entry must be found again by its type and id, and string look-
// ups of every id that a string block could hold must stay inside the block.
#include <iterator>

#include "fuzz/fuzz_entries.h"
#include "platform/formats/resource_file.h"

namespace horalia::fuzz {

const char* resourceFile(std::span<const std::uint8_t> bytes) {
    using namespace platform::formats;
    const ResourceFile file = parseResourceFile(bytes);
    const std::uint8_t* begin = bytes.data();
    const std::uint8_t* end = bytes.data() + bytes.size();
    for (const ResourceEntry& entry : file.entries) {
        if (!entry.data.empty() &&
            (entry.data.data() < begin || entry.data.data() + entry.data.size() > end))
            return "an entry's data lies outside the input";
        if (!entry.name.id) continue;
        const ResourceEntry* found =
            entry.type.id ? findResource(file, *entry.type.id, *entry.name.id)
                          : findResource(file, entry.type.text, *entry.name.id);
        if (!found) return "findResource misses an entry that was read";
        if (entry.type.id == STRING_TYPE) {
            // Block n holds the strings (n - 1) * 16 to (n - 1) * 16 + 15.
            const std::uint32_t first = (std::uint32_t{*entry.name.id} - 1) * 16;
            for (std::uint32_t i = 0; i < 16; ++i) (void)findString(file, first + i);
        }
    }
    // Ids that no block can hold, and the named types the program asks for.
    if (findString(file, 0x10000) || findString(file, 0xFFFFFFFF)) return "findString found an impossible id";
    (void)findResource(file, u"WAVE", 20000);
    (void)findResource(file, BITMAP_TYPE, 122);
    return nullptr;
}

}  // namespace horalia::fuzz
