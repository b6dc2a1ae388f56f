// The registry's text as last read or written and the document parsed from
// it, kept so that a registry call parses again only when the stored text
// changed. The host keeps the text (core/host.h); this decides what it means.
#pragma once

#include <cstddef>
#include <string>

#include "platform/formats/registry_model.h"

namespace platform::registry {

class KeptDocument {
public:
    // The game's own text stays under 1 KB; one over 2 MiB is not settings,
    // and reading it would only cost the child seconds at every tap.
    static constexpr std::size_t MAX_TEXT_SIZE = 2 * 1024 * 1024;

    // The registry as the host's storage holds it now: empty when nothing is
    // stored yet, or when the stored text was damaged or over MAX_TEXT_SIZE
    // (the host then keeps it aside); null when the storage cannot be read.
    // The document stays valid until the next load or save; a caller may
    // change it and must then save it.
    Document* load();

    // Replaces the stored text with the document's; false when it is not
    // kept for good.
    bool save(const Document& document);

private:
    // Nothing is stored: an empty document, and the next load reads again.
    Document* nothingStored();
    // The text and its document are what the storage holds now.
    Document* adopt(std::string text, Document document);

    bool valid_ = false;
    std::string text_;
    Document document_;
};

}  // namespace platform::registry
