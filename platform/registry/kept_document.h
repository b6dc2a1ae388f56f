// The registry's text as last read or written and the document parsed from
// it, kept so that a registry call parses again only when the stored text
// changed. The host keeps the text (core/host.h); this decides what it means,
// and never stores a text that it would refuse to read.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

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
    // kept for good. A text over MAX_TEXT_SIZE is never stored: the stored
    // one is kept aside instead and only the caller's own key is stored, less
    // its largest values but ownValue while it is still too long; the user is
    // told.
    bool save(const Document& document, std::wstring_view ownKey, std::optional<std::wstring_view> ownValue);

private:
    // Nothing is stored: an empty document, and the next load reads again.
    Document* nothingStored();
    // The text and its document are what the storage holds now.
    Document* adopt(std::string text, Document document);
    // Stores the text and the document it was made of.
    bool store(std::string text, const Document& document);
    // Tells the user once, until progress is stored again.
    void trouble(const std::string& what);

    bool valid_ = false;
    bool troubleSaid_ = false;
    std::string text_;
    Document document_;
};

}  // namespace platform::registry
