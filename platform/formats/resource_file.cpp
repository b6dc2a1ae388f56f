// Parsing of the .res format: entries of DataSize, HeaderSize, type, name,
// padding, version fields, then the data padded to four bytes.
#include "platform/formats/resource_file.h"

#include <cwctype>

#include "platform/formats/little_endian.h"

namespace platform::formats {
namespace {

// A name is 0xFFFF and a number, or a zero-terminated UTF-16 text; false
// when it runs past end.
bool readName(ByteReader& in, ResourceName& out, std::size_t end) {
    if (in.pos() + 2 > end) return false;
    std::uint16_t first = in.word();
    if (first == 0xFFFF) {
        if (in.pos() + 2 > end) return false;
        out.id = in.word();
        return true;
    }
    for (std::uint16_t c = first; c != 0;) {
        out.text.push_back(static_cast<char16_t>(c));
        if (in.pos() + 2 > end) return false;
        c = in.word();
    }
    return true;
}

bool sameText(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::towupper(a[i]) != std::towupper(b[i])) return false;
    return true;
}

constexpr unsigned primaryOf(std::uint16_t language) { return language & 0x3FF; }

}  // namespace

int languageRank(std::uint16_t stored, std::span<const std::uint16_t> preferred) {
    const int count = static_cast<int>(preferred.size());
    for (int i = 0; i < count; ++i) {
        const std::uint16_t wanted = preferred[i];
        if (stored == wanted) return 3 * i;
        if (stored == languageId(primaryOf(wanted), 0)) return 3 * i + 1;
        if (primaryOf(stored) == primaryOf(wanted)) return 3 * i + 2;
    }
    if (stored == LANGUAGE_NEUTRAL) return 3 * count;
    if (stored == ENGLISH_US) return 3 * count + 1;
    if (primaryOf(stored) == primaryOf(ENGLISH_US)) return 3 * count + 2;
    return 3 * count + 3;
}

ResourceFile parseResourceFile(std::span<const std::uint8_t> bytes) {
    ResourceFile file;
    ByteReader in(bytes);
    while (in.has(8)) {
        const std::size_t start = in.pos();
        const std::uint32_t dataSize = in.dword();
        const std::uint32_t headerSize = in.dword();
        if (headerSize < 16 || !in.has(headerSize - 8) || dataSize > bytes.size() - start - headerSize) {
            file.complete = false;
            break;
        }
        const std::size_t headerEnd = start + headerSize;
        ResourceEntry entry;
        if (!readName(in, entry.type, headerEnd) || !readName(in, entry.name, headerEnd)) {
            file.complete = false;
            break;
        }
        // After the names, on a four-byte boundary: DataVersion, MemoryFlags, LanguageId.
        const std::size_t languageAt = start + ((in.pos() - start + 3) & ~std::size_t{3}) + 6;
        if (languageAt + 2 <= headerEnd) {
            in.seek(languageAt);
            entry.language = in.word();
        }
        entry.data = bytes.subspan(headerEnd, dataSize);
        // The leading empty entry of every .res file carries nothing.
        if (dataSize > 0 || entry.type.id.value_or(1) != 0) file.entries.push_back(entry);
        std::size_t next = headerEnd + dataSize;
        next = (next + 3) & ~static_cast<std::size_t>(3);
        if (next >= bytes.size()) break;
        in.seek(next);
    }
    return file;
}

namespace {

// Of the entries that match, the one in the best language; the first of equals.
template <typename Matches>
const ResourceEntry* best(const ResourceFile& file, std::span<const std::uint16_t> preferred, Matches matches) {
    const ResourceEntry* found = nullptr;
    int foundRank = 0;
    for (const auto& e : file.entries) {
        if (!matches(e)) continue;
        const int rank = languageRank(e.language, preferred);
        if (!found || rank < foundRank) found = &e, foundRank = rank;
    }
    return found;
}

}  // namespace

const ResourceEntry* findResource(const ResourceFile& file, std::uint16_t type, std::uint32_t id,
                                  std::span<const std::uint16_t> preferred) {
    return best(file, preferred, [&](const ResourceEntry& e) { return e.type.id == type && e.name.id == id; });
}

const ResourceEntry* findResource(const ResourceFile& file, std::u16string_view type, std::uint32_t id,
                                  std::span<const std::uint16_t> preferred) {
    return best(file, preferred, [&](const ResourceEntry& e) {
        return !e.type.id && sameText(e.type.text, type) && e.name.id == id;
    });
}

std::optional<std::u16string> findString(const ResourceFile& file, std::uint32_t id,
                                         std::span<const std::uint16_t> preferred) {
    if (id > 0xFFFF) return std::nullopt;
    const ResourceEntry* block = findResource(file, STRING_TYPE, (id >> 4) + 1, preferred);
    if (!block) return std::nullopt;
    ByteReader in(block->data);
    for (std::uint32_t index = 0; index < 16; ++index) {
        if (!in.has(2)) return std::nullopt;
        const std::uint16_t length = in.word();
        if (!in.has(std::size_t{length} * 2)) return std::nullopt;
        if (index == (id & 15)) {
            if (length == 0) return std::nullopt;
            std::u16string text;
            for (std::uint16_t i = 0; i < length; ++i) text.push_back(static_cast<char16_t>(in.word()));
            return text;
        }
        in.seek(in.pos() + std::size_t{length} * 2);
    }
    return std::nullopt;
}

}  // namespace platform::formats
