// Bitmap resources are BMP files without their 14-byte file header; the header
// is put back in front and SDL reads the rest (1 to 32 bits per pixel,
// palettes, compression), then converts to the display's pixel order.
#include "platform/core/bitmap_decoder.h"

#include <SDL.h>

#include <vector>

namespace platform::core {
namespace {

std::uint32_t le32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | (b[at + 1] << 8) | (b[at + 2] << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

// SDL makes the whole surface before it reads the pixels, so a header that
// claims a huge picture would cost gigabytes before failing. Pictures larger
// than this, or uncompressed ones whose rows run past the end of the bytes,
// are refused first.
constexpr std::int64_t LARGEST_PICTURE = 4096 * 4096;

bool plausibleSize(std::span<const std::uint8_t> bytes) {
    const std::uint32_t headerSize = le32(bytes, 14);
    std::int64_t width = 0, height = 0, bitCount = 0, compression = 0;
    if (headerSize == 12) {  // the old OS/2 header: 16-bit sizes
        width = bytes[18] | (bytes[19] << 8);
        height = bytes[20] | (bytes[21] << 8);
        bitCount = bytes[24] | (bytes[25] << 8);
    } else if (headerSize >= 40 && bytes.size() >= 14 + 40) {
        width = static_cast<std::int32_t>(le32(bytes, 18));
        height = static_cast<std::int32_t>(le32(bytes, 22));
        bitCount = bytes[28] | (bytes[29] << 8);
        compression = le32(bytes, 30);
    } else {
        return false;
    }
    width = width < 0 ? -width : width;
    height = height < 0 ? -height : height;
    if (width == 0 || height == 0 || width * height > LARGEST_PICTURE) return false;
    const bool uncompressed = compression == 0 || compression == 3;
    if (uncompressed) {
        const std::int64_t rowBytes = ((width * bitCount + 31) / 32) * 4;
        const std::int64_t pixelsAt = le32(bytes, 10);
        if (pixelsAt > static_cast<std::int64_t>(bytes.size()) ||
            rowBytes * height > static_cast<std::int64_t>(bytes.size()) - pixelsAt)
            return false;
    }
    return true;
}

}  // namespace

std::optional<Picture> decodeBmpFile(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 14 + 12 || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
    if (!plausibleSize(bytes)) return std::nullopt;
    SDL_RWops* stream = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    if (!stream) return std::nullopt;
    SDL_Surface* loaded = SDL_LoadBMP_RW(stream, 1);
    if (!loaded) return std::nullopt;
    SDL_Surface* converted = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_XBGR8888, 0);
    SDL_FreeSurface(loaded);
    if (!converted) return std::nullopt;
    Picture picture(converted->w, converted->h);
    SDL_LockSurface(converted);
    for (int y = 0; y < converted->h; ++y) {
        const auto* source = reinterpret_cast<const std::uint32_t*>(
            static_cast<const std::uint8_t*>(converted->pixels) + std::size_t(y) * converted->pitch);
        Colour* target = picture.row(y);
        for (int x = 0; x < converted->w; ++x) target[x] = source[x] & 0x00FFFFFF;
    }
    SDL_UnlockSurface(converted);
    SDL_FreeSurface(converted);
    return picture;
}

std::optional<Picture> decodeBitmapResource(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 16 || bytes.size() > 64 * 1024 * 1024) return std::nullopt;
    const std::uint32_t headerSize = le32(bytes, 0);
    if (headerSize < 12 || headerSize > bytes.size()) return std::nullopt;
    // Where the pixels start: after the header, the colour masks and the palette.
    std::size_t paletteBytes = 0;
    if (headerSize >= 40) {
        const std::uint16_t bitCount = static_cast<std::uint16_t>(bytes[14] | (bytes[15] << 8));
        const std::uint32_t compression = le32(bytes, 16);
        std::uint32_t colours = le32(bytes, 32);
        if (colours == 0 && bitCount <= 8) colours = 1u << bitCount;
        if (colours > 256) return std::nullopt;
        paletteBytes = std::size_t{colours} * 4;
        if (headerSize == 40 && compression == 3) paletteBytes += 12;  // BI_BITFIELDS masks
    } else {
        const std::uint16_t bitCount = static_cast<std::uint16_t>(bytes[10] | (bytes[11] << 8));
        if (bitCount <= 8) paletteBytes = std::size_t{3} << bitCount;
    }
    const std::size_t offset = 14 + headerSize + paletteBytes;
    std::vector<std::uint8_t> file(14 + bytes.size());
    const std::size_t total = file.size();
    const std::uint8_t header[14] = {'B', 'M',
                                     std::uint8_t(total), std::uint8_t(total >> 8),
                                     std::uint8_t(total >> 16), std::uint8_t(total >> 24),
                                     0, 0, 0, 0,
                                     std::uint8_t(offset), std::uint8_t(offset >> 8),
                                     std::uint8_t(offset >> 16), std::uint8_t(offset >> 24)};
    std::copy(std::begin(header), std::end(header), file.begin());
    std::copy(bytes.begin(), bytes.end(), file.begin() + 14);
    return decodeBmpFile(file);
}

}  // namespace platform::core
