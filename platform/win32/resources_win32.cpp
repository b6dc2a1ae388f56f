// The program's resources on Windows: the resource script that windres
// compiled into the .exe, found with the system's FindResourceExW in the
// stored language that serves the user's UI languages best (the same rule as
// every host: the system's own choice follows the installed UI, not the
// user's list), strings read from their string-table blocks, bitmaps drawn by
// GDI into 32-bit pictures, accelerators loaded by the system.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/core/host.h"
#include "platform/core/language.h"
#include "platform/core/resources_internal.h"
#include "platform/formats/resource_file.h"
#include "platform/formats/string_variants.h"
#include "platform/resources.h"
#include "platform/window.h"

namespace platform {

struct Instance {
    HMODULE module = nullptr;
    // The WAVE resources handed out, so that a played sound is known by its id.
    std::vector<std::pair<const std::uint8_t*, std::uint32_t>> waves;
};

namespace {

HMODULE moduleOf(Instance* instance) { return (instance ? instance : moduleHandle())->module; }

BOOL CALLBACK collectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found) {
    reinterpret_cast<std::vector<std::uint16_t>*>(found)->push_back(language);
    return TRUE;
}

// The resource in the stored language that serves the user's languages best.
HRSRC findBest(HMODULE module, LPCWSTR type, std::uint32_t id) {
    const LPCWSTR name = MAKEINTRESOURCEW(id & 0xFFFF);
    std::vector<std::uint16_t> stored;
    EnumResourceLanguagesExW(module, type, name, collectLanguage, reinterpret_cast<LONG_PTR>(&stored), 0, 0);
    if (stored.empty()) return nullptr;
    const auto preferred = core::languagesOf(host::preferredLocales());
    const auto best = std::min_element(stored.begin(), stored.end(), [&](std::uint16_t a, std::uint16_t b) {
        return formats::languageRank(a, preferred) < formats::languageRank(b, preferred);
    });
    return FindResourceExW(module, type, name, *best);
}

std::span<const std::uint8_t> bytesOf(HMODULE module, HRSRC found) {
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return {};
    return {static_cast<const std::uint8_t*>(data), SizeofResource(module, found)};
}

std::wstring typeName(std::u16string_view type) { return std::wstring(type.begin(), type.end()); }

}  // namespace

Instance* moduleHandle() {
    static Instance module{GetModuleHandleW(nullptr), {}};
    return &module;
}

std::wstring loadString(Instance* instance, std::uint32_t id, std::size_t bufferChars) {
    if (bufferChars == 0) return {};
    const HMODULE module = moduleOf(instance);
    // A block holds sixteen strings, each a length and that many UTF-16 units.
    const auto block = bytesOf(module, findBest(module, MAKEINTRESOURCEW(formats::STRING_TYPE), (id >> 4) + 1));
    std::size_t at = 0;
    for (std::uint32_t index = 0; index < 16 && at + 2 <= block.size(); ++index) {
        const std::size_t length = block[at] | (block[at + 1] << 8);
        at += 2;
        if (at + 2 * length > block.size()) return {};
        if (index == (id & 15)) {
            std::wstring text(std::min(length, bufferChars - 1), L'\0');
            for (std::size_t i = 0; i < text.size(); ++i)
                text[i] = static_cast<wchar_t>(block[at + 2 * i] | (block[at + 2 * i + 1] << 8));
            return text;
        }
        at += 2 * length;
    }
    return {};
}

std::uint32_t stringForNumbers(Instance* instance, std::uint32_t id, std::span<const std::int32_t> numbers) {
    const HMODULE module = moduleOf(instance);
    const std::wstring type = typeName(formats::VARIANTS_TYPE);
    const auto table = bytesOf(module, findBest(module, type.c_str(), formats::VARIANTS_ID));
    return table.empty() ? id : formats::chooseVariant(table, id, numbers);
}

std::optional<Picture> loadBitmap(Instance* instance, std::uint32_t id) {
    const HMODULE module = moduleOf(instance);
    const auto dib = bytesOf(module, findBest(module, MAKEINTRESOURCEW(formats::BITMAP_TYPE), id));
    if (dib.size() < sizeof(BITMAPINFOHEADER)) return std::nullopt;
    BITMAPINFOHEADER header;
    std::memcpy(&header, dib.data(), sizeof header);
    const LONG width = header.biWidth, height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    if (header.biSize < sizeof header || width <= 0 || height <= 0 || width > 4096 || height > 4096)
        return std::nullopt;
    const std::size_t colours = header.biClrUsed                ? header.biClrUsed
                                : header.biBitCount <= 8 ? (std::size_t{1} << header.biBitCount)
                                                         : 0;
    const std::size_t bitsAt =
        header.biSize + colours * sizeof(RGBQUAD) + (header.biCompression == BI_BITFIELDS ? 12 : 0);
    if (bitsAt >= dib.size()) return std::nullopt;

    // GDI draws the resource's DIB (any depth, RLE too) into a 32-bit one.
    BITMAPINFO target{};
    target.bmiHeader.biSize = sizeof target.bmiHeader;
    target.bmiHeader.biWidth = width;
    target.bmiHeader.biHeight = -height;
    target.bmiHeader.biPlanes = 1;
    target.bmiHeader.biBitCount = 32;
    target.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, &target, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!section) return std::nullopt;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, section);
    const int lines = SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height, dib.data() + bitsAt,
                                        reinterpret_cast<const BITMAPINFO*>(dib.data()), DIB_RGB_COLORS);
    GdiFlush();
    std::optional<Picture> picture;
    if (lines > 0) {
        picture.emplace(width, height);
        const auto* source = static_cast<const std::uint32_t*>(bits);
        for (LONG y = 0; y < height; ++y)
            for (LONG x = 0; x < width; ++x) {
                const std::uint32_t bgr = source[y * width + x];
                picture->setPixel(x, y, rgb((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF));
            }
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(section);
    return picture;
}

std::span<const std::uint8_t> loadResource(Instance* instance, std::wstring_view type, std::uint32_t id) {
    Instance& owner = instance ? *instance : *moduleHandle();
    const std::wstring name(type);
    const auto bytes = bytesOf(owner.module, findBest(owner.module, name.c_str(), id));
    if (!bytes.empty() && std::none_of(owner.waves.begin(), owner.waves.end(),
                                       [&](const auto& w) { return w.first == bytes.data(); }))
        owner.waves.emplace_back(bytes.data(), id & 0xFFFF);
    return bytes;
}

AcceleratorTable loadAccelerators(Instance* instance, std::uint32_t id) {
    AcceleratorTable table;
    HACCEL loaded = LoadAcceleratorsW(moduleOf(instance), MAKEINTRESOURCEW(id & 0xFFFF));
    if (!loaded) return table;
    std::vector<ACCEL> entries(static_cast<std::size_t>(CopyAcceleratorTableW(loaded, nullptr, 0)));
    CopyAcceleratorTableW(loaded, entries.data(), static_cast<int>(entries.size()));
    for (const ACCEL& entry : entries)
        table.push_back(Accelerator{static_cast<std::uint8_t>(entry.fVirt & 0x7F), entry.key, entry.cmd});
    DestroyAcceleratorTable(loaded);
    return table;
}

namespace core {

std::uint32_t waveIdOf(std::span<const std::uint8_t> wave) {
    for (const auto& [data, id] : moduleHandle()->waves)
        if (data == wave.data()) return id;
    return 0;
}

}  // namespace core
}  // namespace platform
