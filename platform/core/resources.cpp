// The program's own module: the compiled resource file embedded in the
// executable, read once, and the look-ups the game makes in it.
#include <algorithm>
#include <cstddef>

#include "platform/core/host.h"
#include "platform/core/language.h"
#include "platform/core/resources_internal.h"
#include "platform/formats/bitmap_decoder.h"
#include "platform/formats/little_endian.h"
#include "platform/formats/resource_file.h"
#include "platform/formats/string_variants.h"
#include "platform/resources.h"
#include "platform/window.h"

extern const unsigned char horalia_resources[];
extern const std::size_t horalia_resources_size;

namespace platform {

struct Instance {
    formats::ResourceFile file;
};

namespace {

std::u16string toUtf16(std::wstring_view text) {
    std::u16string out;
    for (wchar_t c : text) out.push_back(static_cast<char16_t>(c));
    return out;
}

const formats::ResourceFile& fileOf(Instance* module) {
    return (module ? module : moduleHandle())->file;
}

// Read afresh at each look-up: a program started in another locale speaks
// its language from the first picture on.
std::vector<std::uint16_t> userLanguages() {
    const auto locales = host::preferredLocales();
    return core::languagesOf(locales);
}

}  // namespace

Instance* moduleHandle() {
    static Instance module{formats::parseResourceFile({horalia_resources, horalia_resources_size})};
    return &module;
}

std::wstring loadString(Instance* module, std::uint32_t id, std::size_t bufferChars) {
    if (bufferChars == 0) return {};
    auto text = formats::findString(fileOf(module), id, userLanguages());
    if (!text) return {};
    std::wstring out(text->begin(), text->end());
    if (out.size() > bufferChars - 1) out.resize(bufferChars - 1);
    return out;
}

std::uint32_t stringForNumbers(Instance* module, std::uint32_t id, std::span<const std::int32_t> numbers) {
    const auto* table = formats::findResource(fileOf(module), formats::VARIANTS_TYPE, formats::VARIANTS_ID, userLanguages());
    return table ? formats::chooseVariant(table->data, id, numbers) : id;
}

std::optional<Picture> loadBitmap(Instance* module, std::uint32_t id) {
    const auto* entry = formats::findResource(fileOf(module), formats::BITMAP_TYPE, id & 0xFFFF, userLanguages());
    if (!entry) return std::nullopt;
    return formats::decodeBitmapResource(entry->data);
}

std::span<const std::uint8_t> loadResource(Instance* module, std::wstring_view type, std::uint32_t id) {
    const auto* entry = formats::findResource(fileOf(module), toUtf16(type), id & 0xFFFF, userLanguages());
    return entry ? entry->data : std::span<const std::uint8_t>{};
}

AcceleratorTable loadAccelerators(Instance* module, std::uint32_t id) {
    AcceleratorTable table;
    const auto* entry = formats::findResource(fileOf(module), formats::ACCELERATOR_TYPE, id & 0xFFFF);
    if (!entry) return table;
    // Eight bytes an entry: flags, key, command, padding; flag 0x80 marks the last.
    const auto data = entry->data;
    for (std::size_t at = 0; at + 8 <= data.size(); at += 8) {
        const std::uint16_t flags = formats::le16(&data[at]);
        table.push_back(Accelerator{static_cast<std::uint8_t>(flags & 0x7F), formats::le16(&data[at + 2]),
                                    formats::le16(&data[at + 4])});
        if (flags & 0x80) break;
    }
    return table;
}

namespace core {

std::uint32_t waveIdOf(std::span<const std::uint8_t> wave) {
    for (const auto& e : moduleHandle()->file.entries)
        if (!e.type.id && e.name.id && e.data.data() == wave.data()) return *e.name.id;
    return 0;
}

const formats::ResourceFile& programResources() { return moduleHandle()->file; }

void addResources(std::span<const std::uint8_t> file) {
    const formats::ResourceFile added = formats::parseResourceFile(file);
    auto& entries = moduleHandle()->file.entries;
    entries.insert(entries.end(), added.entries.begin(), added.entries.end());
}

}  // namespace core
}  // namespace platform
