// Bitmaps: the same bytes go to decodeBmpFile (a whole .bmp, "BM" first) and
// to decodeBitmapResource (the same without the 14-byte file header); every
// pixel of a picture they return is read so that a short one shows.
#include "fuzz/fuzz_entries.h"
#include "platform/formats/bitmap_decoder.h"

namespace horalia::fuzz {
namespace {

const char* checked(const std::optional<platform::Picture>& picture) {
    if (!picture) return nullptr;
    if (picture->width() < 0 || picture->height() < 0) return "a picture of negative size";
    std::uint32_t all = 0;
    for (int y = 0; y < picture->height(); ++y) {
        const platform::Colour* row = picture->row(y);
        for (int x = 0; x < picture->width(); ++x) all |= static_cast<std::uint32_t>(row[x]);
    }
    if (all & 0xFF000000u) return "a pixel with bits above the colour";
    return nullptr;
}

}  // namespace

const char* bitmap(std::span<const std::uint8_t> bytes) {
    if (const char* problem = checked(platform::formats::decodeBmpFile(bytes))) return problem;
    return checked(platform::formats::decodeBitmapResource(bytes));
}

}  // namespace horalia::fuzz
