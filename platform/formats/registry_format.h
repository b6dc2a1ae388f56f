// The registry file's text: the Windows registry export format (version 5.00)
// written in UTF-8, which a person can read and edit and regedit can import.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/formats/registry_model.h"

namespace platform::registry {

inline constexpr std::string_view FILE_HEADER = "Windows Registry Editor Version 5.00";

// The file's text for the document. Key paths and value names must have
// passed userKeyPath and validValueName.
std::string formatDocument(const Document& document);

// The bytes that the value's line (or lines) take in the file's text.
std::size_t formattedSize(const Value& value);

// The document the text describes, or nullopt when it is not a complete file
// of this format (garbage, binary, cut short, deletions, malformed data). The
// text is UTF-8, with or without a byte-order mark, or UTF-16LE with one (an
// odd last byte, half a character, is left out).
std::optional<Document> parseDocument(std::string_view text);

}  // namespace platform::registry
