// Block copies between pictures, plain and keyed. The block is cut to both
// pictures first; a copy within one picture runs in the order that reads
// every source pixel before it is overwritten, as a screen-to-screen blit does.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

#include "platform/picture.h"

namespace platform {
namespace {

struct Block {
    int dx, dy, sx, sy, width, height;
};

// Cuts the block so that it lies inside both pictures; nullopt when nothing is left.
std::optional<Block> clipBlock(const Picture& target, std::int64_t dx, std::int64_t dy,
                               std::int64_t width, std::int64_t height, const Picture& source,
                               std::int64_t sx, std::int64_t sy) {
    if (width <= 0 || height <= 0) return std::nullopt;
    // Moving the block's top-left corner inwards moves both corners alike.
    const std::int64_t skipX = std::max<std::int64_t>({0, -dx, -sx});
    const std::int64_t skipY = std::max<std::int64_t>({0, -dy, -sy});
    dx += skipX, sx += skipX, width -= skipX;
    dy += skipY, sy += skipY, height -= skipY;
    width = std::min({width, target.width() - dx, source.width() - sx});
    height = std::min({height, target.height() - dy, source.height() - sy});
    if (width <= 0 || height <= 0) return std::nullopt;
    return Block{static_cast<int>(dx), static_cast<int>(dy),    static_cast<int>(sx),
                 static_cast<int>(sy), static_cast<int>(width), static_cast<int>(height)};
}

// Rows are visited bottom-up when a block moves down within one picture.
template <typename RowCopy>
void forEachRow(const Block& b, bool samePicture, RowCopy copyRow) {
    if (samePicture && b.dy > b.sy) {
        for (int i = b.height - 1; i >= 0; --i) copyRow(b.dy + i, b.sy + i);
    } else {
        for (int i = 0; i < b.height; ++i) copyRow(b.dy + i, b.sy + i);
    }
}

}  // namespace

void copy(Picture& target, int dx, int dy, int width, int height, const Picture& source, int sx,
          int sy) {
    const auto block = clipBlock(target, dx, dy, width, height, source, sx, sy);
    if (!block) return;
    const bool same = &target == &source;
    const std::size_t bytes = static_cast<std::size_t>(block->width) * sizeof(Colour);
    forEachRow(*block, same, [&](int targetY, int sourceY) {
        Colour* to = target.row(targetY) + block->dx;
        const Colour* from = source.row(sourceY) + block->sx;
        if (same)
            std::memmove(to, from, bytes);
        else
            std::memcpy(to, from, bytes);
    });
}

void copyKeyed(Picture& target, int dx, int dy, int width, int height, const Picture& source,
               int sx, int sy, Colour key) {
    const auto block = clipBlock(target, dx, dy, width, height, source, sx, sy);
    if (!block) return;
    const bool same = &target == &source;
    const int n = block->width;
    forEachRow(*block, same, [&](int targetY, int sourceY) {
        Colour* to = target.row(targetY) + block->dx;
        const Colour* from = source.row(sourceY) + block->sx;
        if (same && targetY == sourceY && to > from) {
            // Moving right along its own row: go from the right end.
            for (int x = n - 1; x >= 0; --x)
                if (from[x] != key) to[x] = from[x];
            return;
        }
        // A select rather than a branch lets the compiler vectorise the row.
        for (int x = 0; x < n; ++x) {
            const Colour c = from[x];
            to[x] = c == key ? to[x] : c;
        }
    });
}

}  // namespace platform
