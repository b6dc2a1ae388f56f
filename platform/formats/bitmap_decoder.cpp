// Bitmap resources are BMP files without their 14-byte file header. This
// reader takes the BMP forms a resource compiler stores: the old OS/2 header
// and the Windows headers (40 bytes and longer), 1, 4 and 8 bits per pixel
// with a palette (uncompressed or run-length coded), and 16, 24 and 32 bits
// (plain or with colour masks), bottom-up or top-down. Anything else, or any
// field that points outside the bytes, gives nullopt.
#include "platform/formats/bitmap_decoder.h"

#include <bit>
#include <vector>

#include "platform/formats/little_endian.h"

namespace platform::formats {
namespace {

constexpr std::uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3;

// The game shows its pictures on a 240 x 320 display: a picture wider or
// taller than LARGEST_SIDE, or of more than LARGEST_PICTURE pixels, is none
// it could use, and is refused before anything is made. (A few bytes of
// run-length codes can claim any size.)
constexpr std::int64_t LARGEST_SIDE = 4096;
constexpr std::int64_t LARGEST_PICTURE = 1024 * 1024;

// The field at `at`; the caller has checked that it lies inside the bytes.
std::uint32_t le16(std::span<const std::uint8_t> b, std::size_t at) { return formats::le16(b.data() + at); }
std::uint32_t le32(std::span<const std::uint8_t> b, std::size_t at) { return formats::le32(b.data() + at); }

// One colour channel of a masked pixel, scaled to 0..255.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(std::uint32_t m) : mask(m) {
        if (!m) return;
        shift = std::countr_zero(m);
        bits = std::popcount(m >> shift);
    }
    std::uint32_t of(std::uint32_t pixel) const {
        if (!mask) return 0;
        const std::uint64_t value = (pixel & mask) >> shift;
        const std::uint64_t fullScale = (std::uint64_t{1} << bits) - 1;
        return static_cast<std::uint32_t>(value * 255 / fullScale);
    }
};

struct Layout {
    std::int64_t width = 0, height = 0;
    bool topDown = false;
    std::uint32_t bitCount = 0, compression = BI_RGB;
    std::uint32_t masks[3] = {0, 0, 0};  // red, green, blue
    std::vector<Colour> palette;
};

// Reads the header and palette that start at `at`; the pixels are elsewhere.
bool readHeader(std::span<const std::uint8_t> b, std::size_t at, Layout& l) {
    if (b.size() < at + 12) return false;
    const std::uint32_t headerSize = le32(b, at);
    std::size_t paletteEntry = 4;
    std::uint32_t colours = 0;
    if (headerSize == 12) {
        l.width = le16(b, at + 4);
        l.height = static_cast<std::int16_t>(le16(b, at + 6));
        l.bitCount = le16(b, at + 10);
        paletteEntry = 3;
    } else if (headerSize >= 40 && headerSize <= b.size() - at) {
        l.width = static_cast<std::int32_t>(le32(b, at + 4));
        l.height = static_cast<std::int32_t>(le32(b, at + 8));
        l.bitCount = le16(b, at + 14);
        l.compression = le32(b, at + 16);
        colours = le32(b, at + 32);
        if (l.compression == BI_BITFIELDS) {
            // The masks follow a 40-byte header and are inside the longer ones;
            // masked pixels have no palette, so nothing else moves.
            const std::size_t masksAt = at + 40;
            if (b.size() < masksAt + 12) return false;
            for (int i = 0; i < 3; ++i) l.masks[i] = le32(b, masksAt + 4 * i);
        }
    } else {
        return false;
    }
    if (l.height < 0) {
        l.topDown = true;
        l.height = -l.height;
    }
    if (l.width <= 0 || l.height <= 0 || l.width > LARGEST_SIDE || l.height > LARGEST_SIDE ||
        l.width * l.height > LARGEST_PICTURE)
        return false;
    switch (l.bitCount) {
    case 1: case 4: case 8:
        if (l.compression == BI_BITFIELDS) return false;
        if (l.compression == BI_RLE8 && l.bitCount != 8) return false;
        if (l.compression == BI_RLE4 && l.bitCount != 4) return false;
        break;
    case 16: case 24: case 32:
        if (l.compression == BI_RLE8 || l.compression == BI_RLE4) return false;
        if (l.compression == BI_BITFIELDS && l.bitCount == 24) return false;
        break;
    default:
        return false;
    }
    if (l.compression > BI_BITFIELDS) return false;
    if (l.compression != BI_BITFIELDS) {
        if (l.bitCount == 16) l.masks[0] = 0x7C00, l.masks[1] = 0x03E0, l.masks[2] = 0x001F;
        if (l.bitCount == 32) l.masks[0] = 0xFF0000, l.masks[1] = 0xFF00, l.masks[2] = 0xFF;
    }
    if (l.bitCount <= 8) {
        const std::uint32_t most = 1u << l.bitCount;
        if (colours == 0 || colours > most) colours = most;
        const std::size_t paletteAt = at + headerSize;
        const std::size_t available = paletteAt < b.size() ? (b.size() - paletteAt) / paletteEntry : 0;
        if (available == 0) return false;
        if (colours > available) colours = static_cast<std::uint32_t>(available);
        for (std::uint32_t i = 0; i < colours; ++i) {
            const std::size_t e = paletteAt + i * paletteEntry;
            l.palette.push_back(rgb(b[e + 2], b[e + 1], b[e]));
        }
        l.palette.resize(most, BLACK);  // indexes past the stored palette are black
    }
    return true;
}

// The row of the picture that the n-th stored row fills.
int pictureRow(const Layout& l, std::int64_t stored) {
    return static_cast<int>(l.topDown ? stored : l.height - 1 - stored);
}

// The bytes of one stored row of plain pixels, padded to a whole word.
std::int64_t rowBytes(const Layout& l) { return ((l.width * l.bitCount + 31) / 32) * 4; }

// The caller has checked that the pixels hold every row.
void readPlain(std::span<const std::uint8_t> pixels, const Layout& l, Picture& picture) {
    const std::int64_t bytesPerRow = rowBytes(l);
    const Channel red(l.masks[0]), green(l.masks[1]), blue(l.masks[2]);
    for (std::int64_t y = 0; y < l.height; ++y) {
        const std::uint8_t* row = pixels.data() + y * bytesPerRow;
        Colour* target = picture.row(pictureRow(l, y));
        for (std::int64_t x = 0; x < l.width; ++x) {
            Colour c = BLACK;
            switch (l.bitCount) {
            case 1: c = l.palette[(row[x / 8] >> (7 - x % 8)) & 1]; break;
            case 4: c = l.palette[(row[x / 2] >> (x % 2 ? 0 : 4)) & 0xF]; break;
            case 8: c = l.palette[row[x]]; break;
            case 24: c = rgb(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]); break;
            default: {
                const std::uint32_t p = l.bitCount == 16 ? le16(pixels, (row - pixels.data()) + x * 2)
                                                         : le32(pixels, (row - pixels.data()) + x * 4);
                c = rgb(static_cast<int>(red.of(p)), static_cast<int>(green.of(p)),
                        static_cast<int>(blue.of(p)));
            }
            }
            target[x] = c;
        }
    }
}

// Run-length coded 8- or 4-bit pixels; pixels the codes skip stay palette
// colour 0. Strict: a run, a block or a move that leaves the picture, or codes
// that stop before the picture's end, make the whole picture unreadable.
bool readRunLength(std::span<const std::uint8_t> pixels, const Layout& l, Picture& picture) {
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) picture.setPixel(x, y, l.palette[0]);
    const bool four = l.compression == BI_RLE4;
    std::int64_t x = 0, y = 0;
    std::size_t at = 0;
    // Room for n more pixels on the current row?
    auto fits = [&](std::int64_t n) { return y < l.height && x + n <= l.width; };
    auto put = [&](std::uint32_t index) {
        picture.setPixel(static_cast<int>(x), pictureRow(l, y), l.palette[index]);
        ++x;
    };
    while (at + 1 < pixels.size()) {
        const std::uint8_t count = pixels[at], value = pixels[at + 1];
        at += 2;
        if (count > 0) {  // a run of one value (two alternating nibbles in 4-bit)
            if (!fits(count)) return false;
            for (int i = 0; i < count; ++i) put(four ? (i % 2 ? value & 0xF : value >> 4) : value);
        } else if (value == 0) {  // end of line
            x = 0;
            if (++y > l.height) return false;
        } else if (value == 1) {  // end of picture
            return true;
        } else if (value == 2) {  // move right and down
            if (at + 1 >= pixels.size()) return false;
            x += pixels[at];
            y += pixels[at + 1];
            at += 2;
            if (x > l.width || y >= l.height) return false;
        } else {  // `value` literal pixels, padded to a whole word
            const std::size_t bytes = four ? (value + 1) / 2 : value;
            if (at + bytes > pixels.size() || !fits(value)) return false;
            for (int i = 0; i < value; ++i)
                put(four ? (i % 2 ? pixels[at + i / 2] & 0xF : pixels[at + i / 2] >> 4) : pixels[at + i]);
            at += (bytes + 1) & ~std::size_t{1};
        }
    }
    // Codes that end without their end-of-picture mark are whole only when every row has ended.
    return y >= l.height;
}

std::optional<Picture> decode(std::span<const std::uint8_t> b, std::size_t headerAt, std::size_t pixelsAt) {
    Layout l;
    if (!readHeader(b, headerAt, l)) return std::nullopt;
    if (pixelsAt >= b.size()) return std::nullopt;
    const std::span<const std::uint8_t> pixels = b.subspan(pixelsAt);
    const bool runLength = l.compression == BI_RLE8 || l.compression == BI_RLE4;
    // Plain pixels that the bytes cannot hold are refused before the picture is made.
    if (!runLength && rowBytes(l) * l.height > static_cast<std::int64_t>(pixels.size())) return std::nullopt;
    Picture picture(static_cast<int>(l.width), static_cast<int>(l.height));
    if (!runLength) readPlain(pixels, l, picture);
    else if (!readRunLength(pixels, l, picture)) return std::nullopt;
    return picture;
}

}  // namespace

std::optional<Picture> decodeBmpFile(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 14 + 12 || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
    return decode(bytes, 14, le32(bytes, 10));
}

std::optional<Picture> decodeBitmapResource(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 16 || bytes.size() > 64 * 1024 * 1024) return std::nullopt;
    const std::uint32_t headerSize = le32(bytes, 0);
    if (headerSize < 12 || headerSize > bytes.size()) return std::nullopt;
    // The pixels start after the header, the colour masks and the palette.
    std::size_t paletteBytes = 0;
    if (headerSize >= 40) {
        const std::uint32_t bitCount = le16(bytes, 14);
        const std::uint32_t compression = le32(bytes, 16);
        std::uint32_t colours = le32(bytes, 32);
        if (colours == 0 && bitCount <= 8) colours = 1u << bitCount;
        if (colours > 256) return std::nullopt;
        paletteBytes = std::size_t{colours} * 4;
        if (headerSize == 40 && compression == BI_BITFIELDS) paletteBytes += 12;
    } else {
        const std::uint32_t bitCount = le16(bytes, 10);
        if (bitCount <= 8) paletteBytes = std::size_t{3} << bitCount;
    }
    return decode(bytes, 0, headerSize + paletteBytes);
}

}  // namespace platform::formats
