// Look-ups in the program's resources that only the platform makes.
#pragma once

#include <cstdint>
#include <span>

#include "platform/formats/resource_file.h"

namespace platform::core {

// The resource id of a WAVE whose bytes these are, or 0.
std::uint32_t waveIdOf(std::span<const std::uint8_t> wave);

// Every resource of the program.
const formats::ResourceFile& programResources();

// Adds the resources of another resource file to the program's (the
// browser's page fetches its language's apart from the program); the bytes
// must live as long as the program. Damaged entries are left out.
void addResources(std::span<const std::uint8_t> file);

// Text is drawn from now on with the faces of the language that the user's
// locales choose among the resources (its FACES list); a window's creation
// does this.
void useFacesOfTheLanguage();

}  // namespace platform::core
