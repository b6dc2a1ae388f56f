// Turns the bytes of a bitmap resource (a BMP without its file header) into a
// picture, with the project's own reader (no library needed, so every host
// has it). Unreadable bytes give nullopt.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "platform/picture.h"

namespace platform::formats {

std::optional<Picture> decodeBitmapResource(std::span<const std::uint8_t> bytes);

// The same for a whole BMP file, header included.
std::optional<Picture> decodeBmpFile(std::span<const std::uint8_t> bytes);

}  // namespace platform::formats
