// Loads and saves the registry through the host's settings storage: parses
// only a text that changed, sets aside what cannot be read, and keeps the
// document of the text it last read or wrote.
#include "platform/registry/kept_document.h"

#include <optional>
#include <utility>

#include "platform/core/host.h"
#include "platform/formats/registry_format.h"
#include "platform/registry/registry_storage.h"

namespace platform::registry {

Document* KeptDocument::load() {
    host::StoredSettings stored = host::readSettings(MAX_TEXT_SIZE, valid_);
    switch (stored.outcome) {
    case host::StoredSettings::missing: return nothingStored();
    case host::StoredSettings::failed: return nullptr;
    case host::StoredSettings::unchanged: return &document_;
    case host::StoredSettings::present:
        if (valid_ && stored.text == text_) return &document_;  // touched, not changed
        if (std::optional<Document> document = parseDocument(stored.text))
            return adopt(std::move(stored.text), std::move(*document));
        break;
    case host::StoredSettings::unusable: break;
    }
    // Damaged, too large, or not a text at all: keep it aside and start empty.
    valid_ = false;
    if (!host::setSettingsAside()) return nullptr;
    return nothingStored();
}

bool KeptDocument::save(const Document& document) {
    valid_ = false;  // until the new text is known to be stored
    std::string text = formatDocument(document);
    if (text.empty() || !host::writeSettings(text)) return false;
    // Callers mostly save the very document that load handed them.
    if (&document != &document_) document_ = document;
    text_ = std::move(text);
    valid_ = true;
    return true;
}

Document* KeptDocument::nothingStored() {
    valid_ = false;
    document_ = Document{};
    return &document_;
}

Document* KeptDocument::adopt(std::string text, Document document) {
    valid_ = true;
    text_ = std::move(text);
    document_ = std::move(document);
    return &document_;
}

namespace {

KeptDocument& kept() {
    static KeptDocument instance;
    return instance;
}

}  // namespace

Document* loadDocument() { return kept().load(); }

bool saveDocument(const Document& document) { return kept().save(document); }

}  // namespace platform::registry
