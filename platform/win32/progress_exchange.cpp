// Export and import of the game's registry key as .reg text, through the
// shared writer and reader of that format and the system's registry calls.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/formats/registry_format.h"
#include "platform/formats/registry_model.h"
#include "platform/registry/kept_document.h"
#include "platform/win32/progress_exchange.h"

namespace platform::win32 {
namespace {

// The values of an open key, each read whole; names the text cannot hold are left out.
void readValues(HKEY key, registry::Key& out) {
    DWORD longestName = 0, longestData = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestName,
                         &longestData, nullptr, nullptr) != ERROR_SUCCESS)
        return;
    std::wstring name(longestName + 1, L'\0');
    std::vector<std::uint8_t> data(longestData);
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = longestName + 1, type = 0, size = longestData;
        if (RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
            break;
        const std::wstring valueName(name.data(), nameLength);
        if (registry::validValueName(valueName))
            out.put(registry::Value{valueName, type, std::vector<std::uint8_t>(data.begin(), data.begin() + size)});
    }
}

}  // namespace

std::wstring exportProgress(const std::wstring& subKey, const std::wstring& file) {
    const auto path = registry::userKeyPath(subKey);
    if (!path) return L"Not a key of the current user: " + subKey;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return L"There is no progress to export yet.";
    registry::Document document;
    readValues(key, document.ensure(*path));
    RegCloseKey(key);

    std::ofstream stream(std::filesystem::path(file), std::ios::binary | std::ios::trunc);
    stream << registry::formatDocument(document);
    stream.close();
    if (!stream) return L"Could not write " + file;
    return {};
}

std::wstring importProgress(const std::wstring& subKey, const std::wstring& file) {
    const auto path = registry::userKeyPath(subKey);
    if (!path) return L"Not a key of the current user: " + subKey;
    std::ifstream stream(std::filesystem::path(file), std::ios::binary);
    if (!stream) return L"Could not read " + file;
    // Read one byte past the limit: a file that reaches it is not a progress file.
    std::string text(registry::KeptDocument::MAX_TEXT_SIZE + 1, '\0');
    stream.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(stream.gcount()));
    if (text.size() > registry::KeptDocument::MAX_TEXT_SIZE)
        return file + L" is too large to be a progress file; nothing was changed.";
    const auto document = registry::parseDocument(text);
    if (!document) return file + L" is not a registry file; nothing was changed.";
    const registry::Key* values = document->find(*path);
    if (!values || values->values.empty())
        return file + L" holds no progress of this game; nothing was changed.";

    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return L"Could not open the game's registry key.";
    bool stored = true;
    for (const registry::Value& value : values->values)
        stored = RegSetValueExW(key, value.name.c_str(), 0, value.type, value.data.data(),
                                static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS && stored;
    stored = RegFlushKey(key) == ERROR_SUCCESS && stored;
    RegCloseKey(key);
    return stored ? std::wstring{} : L"Some values could not be stored.";
}

}  // namespace platform::win32
