// A bitmap from the program's resources at its natural size: visible at
// (0, 0) once built. The screen composes it keyed on KEY_COLOUR unless it is
// the screen's background. The base of Button.
#pragma once

#include <cstdint>

#include "platform/picture.h"
#include "scene/Figure.h"

class Image : public Figure {
public:
    // Loads bitmap bitmapId (low 16 bits) from the screen's module and takes
    // its size; a missing bitmap leaves the image 0 x 0 with nothing to draw.
    Image(Screen* screen, platform::Window* window, std::int32_t bitmapId);
    ~Image() override;
    const wchar_t* typeName() const override;
    // The loaded bitmap, or nullptr when there is none.
    platform::Picture* imageDC() override;

    // Owners tell buttons apart by it.
    std::int32_t bitmapId;

protected:
    platform::Picture picture;
};
