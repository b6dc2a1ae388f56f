// Hotspot: an enabled, pictureless figure that clicks on a press.
#include "figures/Hotspot.h"

#include "platform/resources.h"
#include "platform/sound.h"
#include "resources/resource_ids.h"

Hotspot::Hotspot(Screen* screen, platform::Window* window, std::int32_t width, std::int32_t height)
    : Figure(screen, window) {
    setWidth(width);
    setHeight(height);
    enabled = true;
    // A failed load is tried again by the next hotspot built.
    if (clickSound.empty()) {
        clickSound = platform::loadResource(platform::moduleHandle(), L"WAVE", IDW_CLICK);
    }
}

Hotspot::~Hotspot() = default;

const wchar_t* Hotspot::typeName() const { return L"Hotspot"; }

platform::Picture* Hotspot::imageDC() { return nullptr; }

void Hotspot::onPress(std::int32_t x, std::int32_t y) {
    if (!clickSound.empty()) platform::playSound(clickSound, platform::SND_ASYNC | platform::SND_MEMORY);
    Figure::onPress(x, y);
}
