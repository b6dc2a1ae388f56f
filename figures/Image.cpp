// Image: a resource bitmap loaded once at construction.
#include "figures/Image.h"

#include "platform/resources.h"

#include <utility>

#include "scene/Screen.h"

Image::Image(Screen* screen, platform::Window* window, std::int32_t bitmapId)
    : Figure(screen, window), bitmapId(bitmapId) {
    setX(0);
    setY(0);
    auto loaded = platform::loadBitmap(screen->instance, static_cast<std::uint32_t>(bitmapId) & 0xFFFF);
    if (loaded) picture = std::move(*loaded);
    setWidth(picture.width());
    setHeight(picture.height());
    setVisible(true);
}

Image::~Image() = default;

const wchar_t* Image::typeName() const { return L"Image"; }

platform::Picture* Image::imageDC() { return picture.empty() ? nullptr : &picture; }
