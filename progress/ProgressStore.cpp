// The progress store on the registry: each operation opens the key, reads or
// writes one value and closes it again. Registry failures are silent: loads
// fall back to defaults and saves are skipped, and the game goes on.
#include "progress/ProgressStore.h"

#include <cstdio>
#include <cwchar>
#include <optional>
#include <vector>

#include "platform/registry.h"
#include "platform/text_format.h"

namespace {

// Text values go through a buffer of ten wide characters: at most nine
// characters and the terminating null.
constexpr std::size_t TEXT_CHARS = 10;
constexpr std::size_t STATS_BYTES = 80;

static_assert(sizeof(std::array<LevelStat, ProgressStore::LEVELS>) == STATS_BYTES);

std::optional<platform::RegistryKey> openKey() {
    return platform::RegistryKey::createOrOpen(ProgressStore::PROGRESS_KEY);
}

// The registry keeps text as UTF-16LE; wide characters here are 4 bytes.
std::vector<std::uint8_t> utf16WithNull(const wchar_t* text) {
    std::vector<std::uint8_t> bytes;
    for (; *text; ++text) {
        bytes.push_back(static_cast<std::uint8_t>(*text & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>((*text >> 8) & 0xFF));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

// Decodes UTF-16LE into the ten-character buffer up to the first null; false
// when the text does not fit with its terminating null.
bool decodeText(const std::uint8_t* bytes, std::size_t size, wchar_t (&text)[TEXT_CHARS]) {
    std::size_t length = 0;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        auto unit = static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8));
        if (unit == 0) break;
        if (length == TEXT_CHARS - 1) return false;
        text[length++] = unit;  // surrogates stay as they are: they are never digits
    }
    text[length] = L'\0';
    return true;
}

std::int32_t readInt32(const std::uint8_t* bytes) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
                                     (static_cast<std::uint32_t>(bytes[2]) << 16) |
                                     (static_cast<std::uint32_t>(bytes[3]) << 24));
}

void writeInt32(std::uint8_t* bytes, std::int32_t value) {
    auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

// One more, without passing the largest value (counters never wrap negative).
void increment(std::int32_t& counter) {
    if (counter < INT32_MAX) ++counter;
}

}  // namespace

ProgressStore* ProgressStore::instance_ = nullptr;
std::int32_t ProgressStore::references_ = 0;

ProgressStore* ProgressStore::acquire() {
    ++references_;
    if (!instance_) instance_ = new ProgressStore();
    return instance_;
}

void ProgressStore::release() {
    --references_;
    if (references_ <= 0) {
        references_ = 0;
        delete instance_;  // the destructor empties history and writes nothing
        instance_ = nullptr;
    }
}

ProgressStore::ProgressStore() {
    load();
}

void ProgressStore::load() {
    stats = {};
    history.clear();
    autoAdjust = true;
    levelChanged = false;
    scoreReset = false;
    loadNumber(score, L"score", 0, MAX_SCORE);
    loadNumber(level, L"level", 1, LEVELS);
    std::int32_t autoOff = 0;
    loadNumber(autoOff, L"auto", 0, 1);
    if (autoOff != 0) autoAdjust = false;
    loadStats();
    points = FULL_POINTS;
}

// A missing "stat", or one longer than 80 bytes, leaves all counters 0; a
// shorter one fills the leading counters only.
void ProgressStore::loadStats() {
    std::optional<platform::RegistryKey> key = openKey();
    if (!key) return;
    std::optional<platform::ValueInfo> info = key->queryInfo(L"stat");
    if (!info || info->size > STATS_BYTES) return;
    std::uint8_t image[STATS_BYTES] = {};
    if (key->query(L"stat", image) != platform::RegistryResult::ok) return;
    for (std::size_t i = 0; i < stats.size(); ++i) {
        stats[i].correct = readInt32(image + i * 8);
        stats[i].attempts = readInt32(image + i * 8 + 4);
    }
}

void ProgressStore::loadNumber(std::int32_t& destination, std::wstring_view name, std::int32_t lowest,
                               std::int32_t highest) {
    destination = lowest;
    std::optional<platform::RegistryKey> key = openKey();
    if (!key) return;
    std::optional<platform::ValueInfo> info = key->queryInfo(name);
    // A registry editor writes numbers as four-byte DWORDs: read as the number they are.
    if (info && info->type == platform::ValueType::dword && info->size == 4) {
        std::uint8_t bytes[4] = {};
        if (key->query(name, bytes) != platform::RegistryResult::ok) return;
        const std::int32_t number = readInt32(bytes);
        if (number >= lowest && number <= highest) destination = number;
        return;
    }
    // A text that cannot fit the buffer loads as missing.
    if (!info || info->size > TEXT_CHARS * 2) return;
    std::uint8_t bytes[TEXT_CHARS * 2] = {};
    if (key->query(name, std::span<std::uint8_t>(bytes, info->size)) != platform::RegistryResult::ok) return;
    wchar_t text[TEXT_CHARS];
    if (!decodeText(bytes, info->size, text)) return;
    // "%d": leading white space, an optional sign, digits up to the next other
    // character. Nine characters cannot leave the range of int.
    int number = 0;
    if (std::swscanf(text, L"%d", &number) != 1) return;
    if (number < lowest || number > highest) return;
    destination = number;
}

void ProgressStore::saveNumber(std::int32_t value, std::wstring_view name) {
    std::optional<platform::RegistryKey> key = openKey();
    if (!key) return;
    // A text longer than the buffer's nine characters is not written (the
    // store's values never are that long).
    std::wstring text = platform::formatText(L"%d", {value}, TEXT_CHARS + 1);
    if (text.size() > TEXT_CHARS - 1) return;
    std::vector<std::uint8_t> bytes = utf16WithNull(text.c_str());
    key->set(name, platform::ValueType::text, bytes);
}

void ProgressStore::saveStats() {
    std::optional<platform::RegistryKey> key = openKey();
    if (!key) return;
    std::uint8_t image[STATS_BYTES];
    for (std::size_t i = 0; i < stats.size(); ++i) {
        writeInt32(image + i * 8, stats[i].correct);
        writeInt32(image + i * 8 + 4, stats[i].attempts);
    }
    key->set(L"stat", platform::ValueType::binary, image);
}

void ProgressStore::recordResult(bool correct) {
    LevelStat& stat = stats[static_cast<std::size_t>(level - 1)];
    increment(stat.attempts);
    if (correct) increment(stat.correct);
    saveStats();

    if (!autoAdjust) return;
    history.append(correct);
    if (history.count() < 5) return;
    // The last five results, read from the tail; history itself is never trimmed.
    int right = 0;
    int seen = 0;
    for (const LinkedList<bool>::Node* node = history.tail(); node && seen < 5; node = node->prev, ++seen)
        if (node->value) ++right;

    bool moved = false;
    if (right >= 4 && level < LEVELS) {
        ++level;
        moved = true;
    } else if (right <= 1 && level > 1) {
        --level;
        moved = true;
    }
    if (moved) {
        saveNumber(level, L"level");
        history.clear();
    }
}

void ProgressStore::awardPoints() {
    // Stopped at the largest score that a later start accepts, so that a long
    // game never loses its score on the next load.
    std::int64_t total = static_cast<std::int64_t>(score) + points;
    score = static_cast<std::int32_t>(total > MAX_SCORE ? MAX_SCORE : total);
    points = FULL_POINTS;
    saveNumber(score, L"score");
}

void ProgressStore::reducePoints() { points /= 3; }

void ProgressStore::setLevel(std::int32_t newLevel) {
    if (newLevel < 1 || newLevel > LEVELS) return;  // the level stays within 1 to 10
    if (newLevel != level) {
        levelChanged = true;
        history.clear();
    }
    level = newLevel;
    saveNumber(level, L"level");
}

void ProgressStore::resetScore() {
    resetStats();
    score = 0;
    saveNumber(score, L"score");
    scoreReset = true;
}

void ProgressStore::resetStats() {
    stats = {};
    saveStats();
}

float ProgressStore::successRate(std::int32_t ofLevel) const {
    if (ofLevel < 1 || ofLevel > LEVELS) return 0.0f;
    const LevelStat& stat = stats[static_cast<std::size_t>(ofLevel - 1)];
    if (stat.attempts == 0) return 0.0f;
    return static_cast<float>(stat.correct) / static_cast<float>(stat.attempts);
}

void ProgressStore::setAutoAdjust(bool on) {
    autoAdjust = on;
    saveNumber(on ? 0 : 1, L"auto");
}
