// The program's compiled resources: strings, bitmaps and raw resources
// (sounds) of the running module.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/picture.h"

namespace platform {

// The program's module; its resources are compiled into the executable.
struct Instance;

// The running program's module (GetModuleHandle of none).
Instance* moduleHandle();

// A string-table entry, cut to fit a buffer of bufferChars characters
// (at most bufferChars - 1 characters). Empty when the entry is missing.
std::wstring loadString(Instance* module, std::uint32_t id, std::size_t bufferChars);

// The string-table entry that says id's text for these numbers (in the order
// the text takes them) in the user's language: the first of id's variants in
// that language's table whose conditions the numbers meet, else id itself.
std::uint32_t stringForNumbers(Instance* module, std::uint32_t id, std::span<const std::int32_t> numbers);

// A bitmap resource decoded to a picture; nullopt when it is missing or unreadable.
std::optional<Picture> loadBitmap(Instance* module, std::uint32_t id);

// The bytes of a resource of a named type ("WAVE"), valid for the life of the
// process. Empty when missing.
std::span<const std::uint8_t> loadResource(Instance* module, std::wstring_view type, std::uint32_t id);

}  // namespace platform
