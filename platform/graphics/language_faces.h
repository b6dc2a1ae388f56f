// The faces of the language that the program's texts are in (Noto Sans
// Arabic for Arabic, Noto Sans CJK SC for Chinese...), handed in by the
// platform's core from the resources of the user's language. Fonts made
// afterwards draw with them first and with Liberation Sans after them; a
// language with no faces of its own draws with Liberation Sans alone.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace platform::graphics {

// Each file must live as long as the process (resource data does).
void useLanguageFaces(std::vector<std::span<const std::uint8_t>> files);

}  // namespace platform::graphics
