// platform::RegistryKey on the stored registry: every call sees it as it is
// stored now (read again only when it changed), and every change replaces it
// durably before it returns, so that the stored text is always the whole
// truth and other processes see each change at once.
#include <cstring>

#include "platform/formats/registry_format.h"
#include "platform/formats/registry_model.h"
#include "platform/registry.h"
#include "platform/registry/kept_document.h"
#include "platform/registry/registry_storage.h"

namespace platform {
namespace {

// A value whose lines would take more than half the file's limit is refused:
// the file must stay readable with the game's own values beside it.
constexpr std::size_t MAX_VALUE_TEXT = registry::KeptDocument::MAX_TEXT_SIZE / 2;

const registry::Value* findValue(const registry::Document& document, std::wstring_view subKey,
                                 std::wstring_view name) {
    std::optional<std::wstring> path = registry::userKeyPath(subKey);
    if (!path) return nullptr;
    const registry::Key* key = document.find(*path);
    return key ? key->find(name) : nullptr;
}

}  // namespace

std::optional<RegistryKey> RegistryKey::createOrOpen(std::wstring_view subKey) {
    try {
        std::optional<std::wstring> path = registry::userKeyPath(subKey);
        if (!path) return std::nullopt;
        registry::Document* document = registry::loadDocument();
        if (!document) return std::nullopt;
        if (!document->find(*path)) {
            document->ensure(*path);
            if (!registry::saveDocument(*document, *path)) return std::nullopt;
        }
        return RegistryKey(std::wstring(subKey));
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<ValueInfo> RegistryKey::queryInfo(std::wstring_view name) const {
    try {
        registry::Document* document = registry::loadDocument();
        if (!document) return std::nullopt;
        const registry::Value* value = findValue(*document, path_, name);
        if (!value) return std::nullopt;
        return ValueInfo{static_cast<ValueType>(value->type), static_cast<std::uint32_t>(value->data.size())};
    } catch (...) {
        return std::nullopt;
    }
}

RegistryResult RegistryKey::query(std::wstring_view name, std::span<std::uint8_t> buffer,
                                  ValueInfo* info) const {
    try {
        registry::Document* document = registry::loadDocument();
        if (!document) return RegistryResult::failed;
        const registry::Value* value = findValue(*document, path_, name);
        if (!value) return RegistryResult::missing;
        if (info) *info = ValueInfo{static_cast<ValueType>(value->type), static_cast<std::uint32_t>(value->data.size())};
        if (buffer.size() < value->data.size()) return RegistryResult::moreData;
        if (!value->data.empty()) std::memcpy(buffer.data(), value->data.data(), value->data.size());
        return RegistryResult::ok;
    } catch (...) {
        return RegistryResult::failed;
    }
}

bool RegistryKey::set(std::wstring_view name, ValueType type, std::span<const std::uint8_t> data) {
    try {
        std::optional<std::wstring> path = registry::userKeyPath(path_);
        if (!path || !registry::validValueName(name) || data.size() > MAX_VALUE_TEXT) return false;
        registry::Value value{std::wstring(name), static_cast<std::uint32_t>(type),
                              std::vector<std::uint8_t>(data.begin(), data.end())};
        if (registry::formattedSize(value) > MAX_VALUE_TEXT) return false;
        registry::Document* document = registry::loadDocument();
        if (!document) return false;
        // The key is made again if the file lost it since it was opened.
        document->ensure(*path).put(std::move(value));
        return registry::saveDocument(*document, *path, name);
    } catch (...) {
        return false;
    }
}

}  // namespace platform
