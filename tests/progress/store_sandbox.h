// The progress store on the registry sandbox's file: helpers to plant values
// as another program would, and to reload the store afresh.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "progress/ProgressStore.h"
#include "tests/registry/registry_sandbox.h"

class StoreSandbox : public RegistrySandbox {
protected:
    void TearDown() override {
        while (held > 0) release();
        RegistrySandbox::TearDown();
    }

    ProgressStore& acquire() {
        ++held;
        return *ProgressStore::acquire();
    }

    void release() {
        --held;
        ProgressStore::release();
    }

    // Lets go of the store and loads a new instance from the registry file.
    ProgressStore& reload() {
        while (held > 0) release();
        return acquire();
    }

    void plant(const std::wstring& name, platform::ValueType type, const std::vector<std::uint8_t>& data) {
        std::optional<platform::RegistryKey> key = platform::RegistryKey::createOrOpen(ProgressStore::PROGRESS_KEY);
        ASSERT_TRUE(key);
        ASSERT_TRUE(key->set(name, type, data));
    }

    // A REG_SZ text with its terminating null, as UTF-16LE.
    void plantText(const std::wstring& name, const std::u16string& text) {
        std::vector<std::uint8_t> bytes;
        for (char16_t unit : text) {
            bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
            bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
        }
        bytes.insert(bytes.end(), {0, 0});
        plant(name, platform::ValueType::text, bytes);
    }

    std::vector<std::uint8_t> stored(const std::wstring& name) {
        std::optional<platform::RegistryKey> key = platform::RegistryKey::createOrOpen(ProgressStore::PROGRESS_KEY);
        if (!key) return {};
        std::optional<platform::ValueInfo> info = key->queryInfo(name);
        if (!info) return {};
        std::vector<std::uint8_t> bytes(info->size);
        if (key->query(name, bytes) != platform::RegistryResult::ok) return {};
        return bytes;
    }

    int held = 0;
};

// Little-endian image of "stat" from ten (correct, attempts) pairs.
inline std::vector<std::uint8_t> statImage(const std::vector<std::pair<std::int32_t, std::int32_t>>& pairs) {
    std::vector<std::uint8_t> bytes;
    auto put = [&bytes](std::int32_t value) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i)));
    };
    for (auto [correct, attempts] : pairs) {
        put(correct);
        put(attempts);
    }
    return bytes;
}
