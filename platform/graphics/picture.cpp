// Pictures: a block of 32-bit pixels, black when made. A size that is zero
// or negative in either direction makes an empty picture of 0 x 0.
#include "platform/picture.h"

namespace platform {

Picture::Picture(int width, int height) {
    if (width <= 0 || height <= 0) return;
    width_ = width;
    height_ = height;
    pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), BLACK);
}

}  // namespace platform
