// Where the registry's keys and values are kept between runs: one text in the
// registry export format, stored by the host (a file on the desktop, the
// page's local storage in the browser), read again only when it changed.
#pragma once

#include <optional>
#include <string_view>

#include "platform/formats/registry_model.h"

namespace platform::registry {

// The registry as it is stored now: empty when nothing is stored yet, or when
// the stored text was damaged or over 2 MiB (it is then kept aside, never
// destroyed); null when the storage cannot be read. The document stays valid
// until the next load or save; a caller may change it and must then save it.
Document* loadDocument();

// Replaces the stored registry with the document, whole: a crash at any
// moment leaves the old one or the new one. False when it is not kept. When
// the whole would be over 2 MiB, the stored text is kept aside and only the
// key ownKey is stored (ownValue and as many of its other values as fit).
bool saveDocument(const Document& document, std::wstring_view ownKey,
                  std::optional<std::wstring_view> ownValue = std::nullopt);

}  // namespace platform::registry
