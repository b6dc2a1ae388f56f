// Turns the bytes of a bitmap resource (a BMP without its file header) into a
// picture, using SDL's BMP reader. Unreadable bytes give nullopt.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "platform/platform.h"

namespace platform::core {

std::optional<Picture> decodeBitmapResource(std::span<const std::uint8_t> bytes);

// The same for a whole BMP file, header included.
std::optional<Picture> decodeBmpFile(std::span<const std::uint8_t> bytes);

}  // namespace platform::core
