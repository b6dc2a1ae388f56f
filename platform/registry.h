// The registry: keys and typed values under the current user, each change on
// disk when the call returns.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace platform {

enum class ValueType : std::uint32_t { none = 0, text = 1, expandText = 2, binary = 3, dword = 4 };

struct ValueInfo {
    ValueType type = ValueType::none;
    std::uint32_t size = 0;  // bytes
};

enum class RegistryResult { ok, missing, moreData, failed };

// An open key under the current user. It is closed when it goes out of scope.
class RegistryKey {
public:
    // Opens the key, creating it (and its parents) when missing. nullopt when
    // it can be neither opened nor created.
    static std::optional<RegistryKey> createOrOpen(std::wstring_view subKey);

    // The type and size of a value, without reading it; nullopt when missing.
    std::optional<ValueInfo> queryInfo(std::wstring_view name) const;

    // Copies a value into the buffer. When the buffer is too small nothing is
    // copied and moreData is returned; info, when given, receives the type and
    // the value's size in either case.
    RegistryResult query(std::wstring_view name, std::span<std::uint8_t> buffer,
                         ValueInfo* info = nullptr) const;

    // Stores a value; it is on disk when this returns true.
    bool set(std::wstring_view name, ValueType type, std::span<const std::uint8_t> data);

    const std::wstring& path() const { return path_; }

private:
    explicit RegistryKey(std::wstring path) : path_(std::move(path)) {}
    std::wstring path_;
};

}  // namespace platform
