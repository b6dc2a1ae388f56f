// platform::RegistryKey on Windows is the system's own registry: keys under
// HKEY_CURRENT_USER, opened for each call and closed before it returns, with
// the same value names and types that the other hosts keep in their text, and
// the same refusals (names the text could not hold, values over 1 MiB).
#include <windows.h>

#include <string>

#include "platform/formats/registry_model.h"
#include "platform/registry.h"

namespace platform {
namespace {

constexpr std::size_t MAX_VALUE_SIZE = 1024 * 1024;

// The key, opened (and made, with its parents, when missing); null on failure.
class OpenKey {
public:
    explicit OpenKey(const std::wstring& path) {
        if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                            nullptr, &key_, nullptr) != ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~OpenKey() {
        if (key_) RegCloseKey(key_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

}  // namespace

std::optional<RegistryKey> RegistryKey::createOrOpen(std::wstring_view subKey) {
    if (subKey.empty() || !registry::userKeyPath(subKey)) return std::nullopt;
    const std::wstring path(subKey);
    if (!OpenKey(path).get()) return std::nullopt;
    return RegistryKey(path);
}

std::optional<ValueInfo> RegistryKey::queryInfo(std::wstring_view name) const {
    OpenKey key(path_);
    if (!key.get()) return std::nullopt;
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key.get(), std::wstring(name).c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return ValueInfo{static_cast<ValueType>(type), size};
}

RegistryResult RegistryKey::query(std::wstring_view name, std::span<std::uint8_t> buffer, ValueInfo* info) const {
    OpenKey key(path_);
    if (!key.get()) return RegistryResult::failed;
    const std::wstring valueName(name);
    DWORD type = 0, size = 0;
    LONG result = RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size);
    if (result == ERROR_FILE_NOT_FOUND) return RegistryResult::missing;
    if (result != ERROR_SUCCESS) return RegistryResult::failed;
    if (info) *info = ValueInfo{static_cast<ValueType>(type), size};
    // Too small a buffer gets nothing, rather than the system's partial copy.
    if (buffer.size() < size) return RegistryResult::moreData;
    size = static_cast<DWORD>(buffer.size());
    result = RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, buffer.data(), &size);
    if (result == ERROR_MORE_DATA) return RegistryResult::moreData;  // it grew in between
    if (result != ERROR_SUCCESS) return RegistryResult::failed;
    if (info) *info = ValueInfo{static_cast<ValueType>(type), size};
    return RegistryResult::ok;
}

bool RegistryKey::set(std::wstring_view name, ValueType type, std::span<const std::uint8_t> data) {
    if (!registry::validValueName(name) || data.size() > MAX_VALUE_SIZE) return false;
    OpenKey key(path_);
    if (!key.get()) return false;
    if (RegSetValueExW(key.get(), std::wstring(name).c_str(), 0, static_cast<DWORD>(type), data.data(),
                       static_cast<DWORD>(data.size())) != ERROR_SUCCESS)
        return false;
    // Kept for good before the game goes on, as the other hosts keep their text.
    return RegFlushKey(key.get()) == ERROR_SUCCESS;
}

}  // namespace platform
