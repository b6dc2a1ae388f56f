// What a fresh start would load from the registry file, decoded here on its
// own (not through ProgressStore) so that the hardening tests can hold the
// store in memory against the file: numbers as DWORDs or "%d" within their
// bounds, "stat" as up to 80 bytes of little-endian pairs.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "platform/formats/registry_format.h"
#include "platform/formats/registry_model.h"
#include "progress/ProgressStore.h"

namespace storedprogress {

inline constexpr std::size_t TEXT_CHARS = 10;  // the store's text buffer, null included
inline constexpr std::size_t STAT_BYTES = 80;

struct Progress {
    std::int32_t level = 1;
    std::int32_t score = 0;
    bool autoAdjust = true;
    std::array<LevelStat, ProgressStore::LEVELS> stats{};

    bool operator==(const Progress& other) const {
        if (level != other.level || score != other.score || autoAdjust != other.autoAdjust) return false;
        for (std::size_t i = 0; i < stats.size(); ++i)
            if (stats[i].correct != other.stats[i].correct || stats[i].attempts != other.stats[i].attempts)
                return false;
        return true;
    }
};

inline std::ostream& operator<<(std::ostream& out, const Progress& p) {
    out << "{level " << p.level << ", score " << p.score << ", auto " << (p.autoAdjust ? "on" : "off") << ", stat";
    for (const LevelStat& s : p.stats) out << " " << s.correct << "/" << s.attempts;
    return out << "}";
}

// The progress held by the store now.
inline Progress ofStore(const ProgressStore& store) {
    Progress p;
    p.level = store.level;
    p.score = store.score;
    p.autoAdjust = store.autoAdjust;
    p.stats = store.stats;
    return p;
}

// A stored text value as a number: UTF-16LE up to its first null, at most nine
// characters, then leading white space, an optional sign and at least one
// digit. lowest when missing, unreadable or outside [lowest, highest].
inline std::int32_t number(const std::vector<std::uint8_t>* bytes, std::int32_t lowest, std::int32_t highest) {
    if (bytes == nullptr || bytes->size() > TEXT_CHARS * 2) return lowest;
    std::wstring text;
    for (std::size_t i = 0; i + 1 < bytes->size(); i += 2) {
        wchar_t unit = static_cast<wchar_t>((*bytes)[i] | ((*bytes)[i + 1] << 8));
        if (unit == 0) break;
        text += unit;
    }
    if (text.size() > TEXT_CHARS - 1) return lowest;
    std::size_t at = 0;
    while (at < text.size() && (text[at] == L' ' || (text[at] >= L'\t' && text[at] <= L'\r'))) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == L'+' || text[at] == L'-')) negative = text[at++] == L'-';
    if (at >= text.size() || text[at] < L'0' || text[at] > L'9') return lowest;
    std::int64_t value = 0;
    while (at < text.size() && text[at] >= L'0' && text[at] <= L'9') value = value * 10 + (text[at++] - L'0');
    if (negative) value = -value;
    if (value < lowest || value > highest) return lowest;
    return static_cast<std::int32_t>(value);
}

// A stored value as a number: a DWORD is its four bytes' number, anything else
// is read as text.
inline std::int32_t number(const platform::registry::Value* stored, std::int32_t lowest, std::int32_t highest) {
    if (stored == nullptr || stored->type != 4 || stored->data.size() != 4)
        return number(stored ? &stored->data : nullptr, lowest, highest);
    const std::vector<std::uint8_t>& b = stored->data;
    const auto value = static_cast<std::int32_t>(b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24);
    return value < lowest || value > highest ? lowest : value;
}

// "stat": missing or longer than 80 bytes gives zeros; shorter fills the leading bytes.
inline std::array<LevelStat, ProgressStore::LEVELS> stats(const std::vector<std::uint8_t>* bytes) {
    std::array<LevelStat, ProgressStore::LEVELS> result{};
    if (bytes == nullptr || bytes->size() > STAT_BYTES) return result;
    std::uint8_t image[STAT_BYTES] = {};
    for (std::size_t i = 0; i < bytes->size(); ++i) image[i] = (*bytes)[i];
    auto at = [&](std::size_t offset) {
        std::uint32_t bits = 0;
        for (int k = 0; k < 4; ++k) bits |= static_cast<std::uint32_t>(image[offset + k]) << (8 * k);
        return static_cast<std::int32_t>(bits);
    };
    for (std::size_t i = 0; i < result.size(); ++i) result[i] = {at(i * 8), at(i * 8 + 4)};
    return result;
}

// The progress a document holds under the game's key (defaults when the key is missing).
inline Progress ofDocument(const platform::registry::Document& document) {
    auto path = platform::registry::userKeyPath(ProgressStore::PROGRESS_KEY);
    const platform::registry::Key* key = path ? document.find(*path) : nullptr;
    auto value = [&](std::wstring_view name) { return key ? key->find(name) : nullptr; };
    const platform::registry::Value* stat = value(L"stat");
    Progress p;
    p.score = number(value(L"score"), 0, ProgressStore::MAX_SCORE);
    p.level = number(value(L"level"), 1, ProgressStore::LEVELS);
    p.autoAdjust = number(value(L"auto"), 0, 1) == 0;
    p.stats = stats(stat ? &stat->data : nullptr);
    return p;
}

inline std::optional<std::string> fileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The progress in the registry file: defaults when there is no file, nullopt
// when the file is there but does not parse.
inline std::optional<Progress> ofFile(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::exists(file, error)) return Progress{};
    std::optional<std::string> bytes = fileBytes(file);
    if (!bytes) return std::nullopt;
    std::optional<platform::registry::Document> document = platform::registry::parseDocument(*bytes);
    if (!document) return std::nullopt;
    return ofDocument(*document);
}

// The raw data of a value read through the platform's registry key (size query, then read).
inline std::optional<std::vector<std::uint8_t>> keyValue(const platform::RegistryKey& key, std::wstring_view name) {
    std::optional<platform::ValueInfo> info = key.queryInfo(name);
    if (!info) return std::nullopt;
    std::vector<std::uint8_t> bytes(info->size);
    if (key.query(name, bytes) != platform::RegistryResult::ok) return std::nullopt;
    return bytes;
}

// The progress read through platform::RegistryKey, as a fresh start reads it;
// nullopt when the key cannot be opened.
inline std::optional<Progress> ofRegistryKey() {
    std::optional<platform::RegistryKey> key = platform::RegistryKey::createOrOpen(ProgressStore::PROGRESS_KEY);
    if (!key) return std::nullopt;
    auto score = keyValue(*key, L"score");
    auto level = keyValue(*key, L"level");
    auto autoOff = keyValue(*key, L"auto");
    auto stat = keyValue(*key, L"stat");
    Progress p;
    p.score = number(score ? &*score : nullptr, 0, ProgressStore::MAX_SCORE);
    p.level = number(level ? &*level : nullptr, 1, ProgressStore::LEVELS);
    p.autoAdjust = number(autoOff ? &*autoOff : nullptr, 0, 1) == 0;
    p.stats = stats(stat ? &*stat : nullptr);
    return p;
}

// Files in the folder whose names start with prefix (e.g. "registry.reg.damaged-").
inline std::vector<std::filesystem::path> filesStartingWith(const std::filesystem::path& folder,
                                                            std::string_view prefix) {
    std::vector<std::filesystem::path> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        if (entry.path().filename().string().starts_with(prefix)) found.push_back(entry.path());
    return found;
}

}  // namespace storedprogress
