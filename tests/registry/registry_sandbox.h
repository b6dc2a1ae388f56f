// A registry in a fresh temporary folder for each test, with helpers to look
// at the file itself and to build the byte images of values.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/posix/xdg_folders.h"
#include "tests/support/temp_folder.h"

class RegistrySandbox : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(folder.empty());
        platform::posix::setSettingsFolder(folder);
    }

    void TearDown() override { platform::posix::setSettingsFolder({}); }

    std::filesystem::path file() const { return folder / "registry.reg"; }

    std::string fileText() const {
        std::ifstream in(file(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    void writeFile(const std::string& text) const {
        std::ofstream out(file(), std::ios::binary | std::ios::trunc);
        out << text;
    }

    // Entries of the folder set aside as damaged.
    std::vector<std::filesystem::path> damagedCopies() const {
        std::vector<std::filesystem::path> found;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (entry.path().filename().string().starts_with("registry.reg.damaged-")) found.push_back(entry.path());
        return found;
    }

    TempFolder sandbox{"horalia-registry"};
    const std::filesystem::path folder = sandbox.path();
};

// The UTF-16LE image of a text with its terminating null, as the game stores text.
inline std::vector<std::uint8_t> utf16z(std::u16string_view text) {
    std::vector<std::uint8_t> bytes;
    for (char16_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

inline std::vector<std::uint8_t> bytes(std::initializer_list<std::uint8_t> list) {
    return std::vector<std::uint8_t>(list);
}

inline std::vector<std::uint8_t> byteRange(std::size_t count) {
    std::vector<std::uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + 1);
    return bytes;
}

// The value's bytes read back through a fresh open of the key; empty and a
// failure when the value cannot be read.
inline std::vector<std::uint8_t> readBack(const std::wstring& subKey, const std::wstring& name,
                                          platform::ValueType* type = nullptr) {
    std::optional<platform::RegistryKey> key = platform::RegistryKey::createOrOpen(subKey);
    EXPECT_TRUE(key.has_value());
    if (!key) return {};
    std::optional<platform::ValueInfo> info = key->queryInfo(name);
    EXPECT_TRUE(info.has_value()) << "no value";
    if (!info) return {};
    std::vector<std::uint8_t> bytes(info->size);
    platform::ValueInfo read;
    EXPECT_EQ(key->query(name, bytes, &read), platform::RegistryResult::ok);
    if (type) *type = read.type;
    return bytes;
}

inline const std::wstring HORALIA_KEY = L"Software\\Quillmoor\\Horalia";
