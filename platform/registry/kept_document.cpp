// Loads and saves the registry through the host's settings storage: parses
// only a text that changed, sets aside what cannot be read, keeps the document
// of the text it last read or wrote, and holds every text it stores to the
// limit that it reads by.
#include "platform/registry/kept_document.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "platform/core/host.h"
#include "platform/formats/registry_format.h"
#include "platform/formats/unicode.h"
#include "platform/registry/registry_storage.h"

namespace platform::registry {
namespace {

// The caller's own key alone, without its largest values (ownValue always
// stays) while its text would be longer than limit.
Document ownKeyOnly(const Document& document, std::wstring_view ownKey,
                    std::optional<std::wstring_view> ownValue, std::size_t limit) {
    Document own;
    const Key* key = document.find(ownKey);
    if (!key) return own;
    const Value* stays = ownValue ? key->find(*ownValue) : nullptr;
    Key& kept = own.ensure(key->path);
    std::vector<std::pair<std::size_t, const Value*>> sized;
    std::size_t total = formatDocument(own).size();
    for (const Value& value : key->values) {
        sized.emplace_back(formattedSize(value), &value);
        total += sized.back().first;
    }
    std::stable_sort(sized.begin(), sized.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (auto& [size, value] : sized) {
        if (total <= limit) break;
        if (value != stays) {
            total -= size;
            value = nullptr;
        }
    }
    for (const Value& value : key->values)
        if (std::any_of(sized.begin(), sized.end(), [&](const auto& entry) { return entry.second == &value; }))
            kept.put(value);
    return own;
}

}  // namespace

Document* KeptDocument::load() {
    host::StoredSettings stored = host::readSettings(MAX_TEXT_SIZE, valid_);
    switch (stored.outcome) {
    case host::StoredSettings::missing: return nothingStored();
    case host::StoredSettings::failed:
        trouble("progress cannot be saved: the settings cannot be read");
        return nullptr;
    case host::StoredSettings::unchanged: return &document_;
    case host::StoredSettings::present:
        if (valid_ && stored.text == text_) return &document_;  // touched, not changed
        if (std::optional<Document> document = parseDocument(stored.text))
            return adopt(std::move(stored.text), std::move(*document));
        break;
    case host::StoredSettings::unusable: break;
    }
    // Damaged, unreadable, too large, or not a text at all: keep it aside and start empty.
    valid_ = false;
    if (!host::setSettingsAside()) {
        trouble("progress cannot be saved: the settings cannot be read, nor set aside");
        return nullptr;
    }
    return nothingStored();
}

bool KeptDocument::save(const Document& document, std::wstring_view ownKey,
                        std::optional<std::wstring_view> ownValue) {
    valid_ = false;  // until the new text is known to be stored
    std::string text = formatDocument(document);
    if (text.size() <= MAX_TEXT_SIZE) return store(std::move(text), document);
    // The whole would be longer than any text that is read back: the game's
    // own key is kept, and the rest of the stored text is kept aside.
    const Document own = ownKeyOnly(document, ownKey, ownValue, MAX_TEXT_SIZE);
    text = formatDocument(own);
    if (text.size() > MAX_TEXT_SIZE || !host::setSettingsAside()) {
        trouble("progress cannot be saved: the settings would grow over 2 MiB");
        return false;
    }
    host::settingsTrouble("the settings would grow over 2 MiB: only " + formats::utf8(ownKey) +
                          " is kept, and the file as it was is kept aside");
    return store(std::move(text), own);
}

bool KeptDocument::store(std::string text, const Document& document) {
    if (text.empty() || !host::writeSettings(text)) {
        trouble("progress cannot be saved");
        return false;
    }
    // Callers mostly save the very document that load handed them.
    if (&document != &document_) document_ = document;
    text_ = std::move(text);
    valid_ = true;
    troubleSaid_ = false;
    return true;
}

void KeptDocument::trouble(const std::string& what) {
    if (troubleSaid_) return;
    troubleSaid_ = true;
    host::settingsTrouble(what);
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

bool saveDocument(const Document& document, std::wstring_view ownKey, std::optional<std::wstring_view> ownValue) {
    return kept().save(document, ownKey, ownValue);
}

}  // namespace platform::registry
