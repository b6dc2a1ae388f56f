// The whole game started over bad settings: a registry file that is missing,
// damaged, not a file, unwritable, on a full disk or holding odd values. Each
// time the game must start, play a right answer and a level change, load what
// the store's rules give, and keep any file it could not read aside, intact.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "app/App.h"
#include "app/MainLoop.h"
#include "app/MainWindow.h"
#include "figures/Button.h"
#include "figures/Clock.h"
#include "figures/ClockAnim.h"
#include "platform/headless/headless.h"
#include "platform/formats/registry_format.h"
#include "platform/formats/registry_model.h"
#include "progress/ProgressStore.h"
#include "screens/GameScreen.h"
#include "screens/LevelScreen.h"
#include "screens/TitleScreen.h"
#include "tests/app/game_driver.h"
#include "tests/soak/stored_progress.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_names.h"

namespace fs = std::filesystem;
using platform::Point;
using storedprogress::Progress;
using namespace gamedriver;

namespace {


constexpr char DAMAGED[] = "registry.reg.damaged-";
constexpr char TEMPORARY[] = "registry.reg.tmp-";

void writeBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << file;
}

std::vector<std::uint8_t> utf16(const std::string& ascii, bool withNull = true) {
    std::vector<std::uint8_t> bytes;
    for (char c : ascii) {
        bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(0);
    }
    if (withNull) bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

std::vector<std::uint8_t> littleEndian(std::initializer_list<std::int32_t> numbers) {
    std::vector<std::uint8_t> bytes;
    for (std::int32_t n : numbers)
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(n) >> (8 * i)));
    return bytes;
}

// A registry file holding the given values under the game's key, in the platform's own format.
struct Value {
    std::wstring name;
    platform::ValueType type;
    std::vector<std::uint8_t> data;
};
std::string registryText(const std::vector<Value>& values) {
    platform::registry::Document document;
    auto& key = document.ensure(*platform::registry::userKeyPath(ProgressStore::PROGRESS_KEY));
    for (const Value& v : values) key.put({v.name, static_cast<std::uint32_t>(v.type), v.data});
    return platform::registry::formatDocument(document);
}
Value text(const std::wstring& name, const std::string& ascii) { return {name, platform::ValueType::text, utf16(ascii)}; }

// A 16 KiB tmpfs mounted on a folder of its own; unmounted with the object.
class TinyMount {
public:
    explicit TinyMount(const fs::path& where) : folder(where) {
        fs::create_directories(folder);
        if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=16k,mode=0755") == 0) {
            mounted = true;
        } else {
            error = std::strerror(errno);
        }
    }
    ~TinyMount() {
        if (mounted) ::umount2(folder.c_str(), MNT_DETACH);
    }
    bool readOnly() {
        return ::mount("tmpfs", folder.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=16k") == 0;
    }
    // Fills what space is left with a filler file; true when the disk is then full.
    bool fill() {
        std::FILE* filler = std::fopen((folder / "filler").c_str(), "wb");
        if (filler == nullptr) return false;
        std::setvbuf(filler, nullptr, _IONBF, 0);
        char block[1024] = {};
        while (std::fwrite(block, 1, sizeof block, filler) == sizeof block) {}
        while (std::fwrite(block, 1, 1, filler) == 1) {}
        bool full = errno == ENOSPC;
        std::fclose(filler);
        return full;
    }
    fs::path folder;
    bool mounted = false;
    std::string error;
};

class BadSettings : public ::testing::Test, protected GameDriver {
protected:
    enum class Storage {
        writable,    // the game's changes must reach the file
        unwritable,  // the changes are silently lost; the file stays as it was
        nothing,     // the changes are silently lost and no file is left in place
    };

    void SetUp() override {
        ASSERT_FALSE(base.empty());
        folder = base / "settings";
        fs::create_directories(folder);
        platform::headless::reset();
        platform::headless::setTickCount(50000);
    }

    void TearDown() override {
        stop();
        platform::headless::reset();
        platform::headless::setRegistryFolder({});
        mount.reset();
    }

    fs::path file() const { return folder / "registry.reg"; }

    // Mounts a tiny tmpfs as the settings folder, or skips the test when this system does not allow it.
    bool mountTiny() {
        mount = std::make_unique<TinyMount>(folder);
        return mount->mounted;
    }

    void start() {
        platform::headless::setRegistryFolder(folder);
        ASSERT_TRUE(launch());
    }

    GameScreen& game() { return *application->gameScreen; }

    // Starts the game, checks what it loaded, answers one question right,
    // lets the spin end, chooses another level and goes back to the game.
    // Returns what the store then holds.
    Progress startAndPlay(const Progress& expectedLoad) {
        start();
        if (HasFatalFailure()) return {};
        EXPECT_EQ(storedprogress::ofStore(*game().store), expectedLoad) << "what the game loaded";
        EXPECT_EQ(application->currentScreen, application->titleScreen);

        tap(TITLE);
        EXPECT_EQ(application->currentScreen, application->gameScreen);
        for (int i = 0; i < 60 && game().clock->minute != game().targetMinute; ++i) tap(MINUTE_FORWARD);
        for (int i = 0; i < 12 && game().clock->hour != game().targetHour; ++i) tap(HOUR_FORWARD);
        EXPECT_EQ(game().clock->hour, game().targetHour);
        EXPECT_EQ(game().clock->minute, game().targetMinute);
        tap(CHECK);
        EXPECT_TRUE(game().clockAnim->visible) << "a right answer starts the spin";
        for (int k = 0; k < 40 && game().clockAnim->visible; ++k) {
            platform::headless::advanceTicks(84);
            exitCode = loop->pass();
        }
        settle();
        EXPECT_FALSE(game().clockAnim->visible) << "the spin ends";

        int chosen = expectedLoad.level % 10 + 1;
        tap(MENU);
        EXPECT_EQ(application->currentScreen, application->levelScreen);
        tap(levelBoxTap(chosen));
        tap(OK_BUTTON);
        EXPECT_EQ(application->currentScreen, application->gameScreen);
        EXPECT_EQ(game().shownLevel, chosen);
        EXPECT_FALSE(exitCode.has_value()) << "the game is still running";

        Progress expected = expectedLoad;
        std::size_t at = static_cast<std::size_t>(expectedLoad.level - 1);
        expected.stats[at].correct += 1;
        expected.stats[at].attempts += 1;
        expected.score = std::min(expectedLoad.score + ProgressStore::FULL_POINTS, ProgressStore::MAX_SCORE);
        expected.level = chosen;
        Progress now = storedprogress::ofStore(*game().store);
        EXPECT_EQ(now, expected) << "what the store holds after play";
        return now;
    }

    // The whole round: start over the prepared folder and play, then check the file.
    void playAndCheck(const Progress& expectedLoad, Storage storage) {
        std::optional<std::string> before = storedprogress::fileBytes(file());
        Progress after = startAndPlay(expectedLoad);
        if (HasFatalFailure()) return;
        if (storage == Storage::writable) {
            std::optional<Progress> onDisk = storedprogress::ofFile(file());
            ASSERT_TRUE(onDisk.has_value()) << "the file the game wrote does not parse";
            EXPECT_EQ(*onDisk, after) << "every change reached the file";
        } else if (storage == Storage::unwritable) {
            EXPECT_EQ(storedprogress::fileBytes(file()), before) << "the unwritable file is untouched";
        } else {
            EXPECT_FALSE(fs::exists(file())) << "nothing could be written";
        }
        std::error_code error;
        if (fs::is_directory(folder, error)) {
            EXPECT_TRUE(storedprogress::filesStartingWith(folder, TEMPORARY).empty()) << "no temporary file is left";
        }
    }

    void expectNothingSetAside() {
        EXPECT_TRUE(storedprogress::filesStartingWith(folder, DAMAGED).empty()) << "a readable file was set aside";
    }

    // Exactly one damaged file kept beside, with these bytes.
    void expectSetAside(const std::string& original) {
        auto aside = storedprogress::filesStartingWith(folder, DAMAGED);
        ASSERT_EQ(aside.size(), 1u) << "the unreadable file is kept aside once";
        EXPECT_EQ(storedprogress::fileBytes(aside[0]), original) << "with its original bytes";
    }

    TempFolder sandbox{"horalia-bad"};
    const fs::path base = sandbox.path();
    fs::path folder;
    std::unique_ptr<TinyMount> mount;
};

Progress defaults() { return Progress{}; }

Progress stored(std::int32_t level, std::int32_t score, bool autoAdjust) {
    Progress p;
    p.level = level;
    p.score = score;
    p.autoAdjust = autoAdjust;
    return p;
}

// A readable file with level 4, score 30, automatic levelling off and one statistic.
std::string goodFile() {
    std::vector<std::uint8_t> stat(80, 0);
    std::vector<std::uint8_t> level4 = littleEndian({2, 3});
    std::copy(level4.begin(), level4.end(), stat.begin() + 24);
    return registryText({text(L"score", "30"), {L"stat", platform::ValueType::binary, stat}, text(L"level", "4"),
                         text(L"auto", "1")});
}
Progress goodFileProgress() {
    Progress p = stored(4, 30, false);
    p.stats[3] = {2, 3};
    return p;
}

TEST_F(BadSettings, NoFileStartsFromTheDefaults) {
    playAndCheck(defaults(), Storage::writable);
    expectNothingSetAside();
}

TEST_F(BadSettings, AGoodFileLoadsAsItIs) {
    writeBytes(file(), goodFile());
    playAndCheck(goodFileProgress(), Storage::writable);
    expectNothingSetAside();
}

// Edited by hand: a byte-order mark, CRLF lines, comments, other spellings of
// the key and the names, and a value given twice (the later one counts).
TEST_F(BadSettings, AHandEditedFileLoadsAsRegeditWouldImportIt) {
    writeBytes(file(), "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n; my child's progress\r\n"
                       "[hkey_current_user\\software\\quillmoor\\horalia]\r\n\"LEVEL\"=\"3\"\r\n"
                       "  \"Score\" = \"40\"  \r\n\r\n[HKEY_CURRENT_USER\\Software\\Quillmoor\\Horalia]\r\n"
                       "\"level\"=\"5\"\r\n");
    playAndCheck(stored(5, 40, true), Storage::writable);
    expectNothingSetAside();
}

TEST_F(BadSettings, AnEmptyFileIsSetAside) {
    writeBytes(file(), "");
    playAndCheck(defaults(), Storage::writable);
    expectSetAside("");
}

TEST_F(BadSettings, ATruncatedFileIsSetAside) {
    std::string whole = goodFile();
    std::size_t cut = whole.find("\"level\"=\"4") + 9;  // inside the quotes of the level
    ASSERT_LT(cut, whole.size());
    std::string truncated = whole.substr(0, cut);
    writeBytes(file(), truncated);
    playAndCheck(defaults(), Storage::writable);
    expectSetAside(truncated);
}

TEST_F(BadSettings, ATruncatedContinuationIsSetAside) {
    std::string whole = goodFile();
    std::size_t cut = whole.find(",\\\n") + 3;  // after the first continued line of "stat"
    ASSERT_LT(cut, whole.size());
    std::string truncated = whole.substr(0, cut);
    writeBytes(file(), truncated);
    playAndCheck(defaults(), Storage::writable);
    expectSetAside(truncated);
}

TEST_F(BadSettings, BinaryGarbageIsSetAside) {
    std::mt19937 random(8);
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage += static_cast<char>(random() & 0xFF);
    writeBytes(file(), garbage);
    playAndCheck(defaults(), Storage::writable);
    expectSetAside(garbage);
}

TEST_F(BadSettings, GarbageAfterAGoodHeaderIsSetAside) {
    std::string bytes = "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Quillmoor\\Horalia]\n"
                        "\"level\"=\"4\"\n\x01\xff\xfe garbage \x00\x00 line\n";
    bytes += std::string("\0\0\0", 3);
    writeBytes(file(), bytes);
    playAndCheck(defaults(), Storage::writable);
    expectSetAside(bytes);
}

TEST_F(BadSettings, ADirectoryInPlaceOfTheFileIsSetAsideWithItsContents) {
    fs::create_directories(file());
    writeBytes(file() / "inside", "kept");
    playAndCheck(defaults(), Storage::writable);
    auto aside = storedprogress::filesStartingWith(folder, DAMAGED);
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_TRUE(fs::is_directory(aside[0]));
    EXPECT_EQ(storedprogress::fileBytes(aside[0] / "inside"), "kept");
    EXPECT_TRUE(fs::is_regular_file(file())) << "a new file took its place";
}

TEST_F(BadSettings, AFolderBelowAPlainFileCannotBeWrittenAndTheGameGoesOn) {
    // As root permission bits stop nothing; a path through a plain file stops everyone.
    writeBytes(base / "plain", "not a folder");
    folder = base / "plain" / "settings";
    playAndCheck(defaults(), Storage::unwritable);
    EXPECT_EQ(storedprogress::fileBytes(base / "plain"), "not a folder");
}

TEST_F(BadSettings, AReadOnlyFolderKeepsItsFileAndTheGameGoesOn) {
    if (!mountTiny()) GTEST_SKIP() << "cannot mount a tmpfs here (" << mount->error << "); read-only case not tried";
    std::string good = goodFile();
    writeBytes(file(), good);
    if (!mount->readOnly()) GTEST_SKIP() << "cannot remount the tmpfs read-only";
    playAndCheck(goodFileProgress(), Storage::unwritable);
    expectNothingSetAside();
    EXPECT_EQ(storedprogress::fileBytes(file()), good);
}

TEST_F(BadSettings, ADamagedFileInAReadOnlyFolderIsLeftAlone) {
    if (!mountTiny()) GTEST_SKIP() << "cannot mount a tmpfs here (" << mount->error << "); read-only case not tried";
    std::string damaged = "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Quillmoor\\Horalia]\n\"lev";
    writeBytes(file(), damaged);
    if (!mount->readOnly()) GTEST_SKIP() << "cannot remount the tmpfs read-only";
    playAndCheck(defaults(), Storage::unwritable);
    EXPECT_EQ(storedprogress::fileBytes(file()), damaged) << "what cannot be set aside is not destroyed either";
}

TEST_F(BadSettings, AFullDiskKeepsTheOldFileAndWritesAgainOnceThereIsRoom) {
    if (!mountTiny()) GTEST_SKIP() << "cannot mount a tmpfs here (" << mount->error << "); full-disk case not tried";
    std::string good = goodFile();
    writeBytes(file(), good);
    ASSERT_TRUE(mount->fill()) << "the tmpfs did not fill up";
    playAndCheck(goodFileProgress(), Storage::unwritable);
    expectNothingSetAside();
    EXPECT_EQ(storedprogress::fileBytes(file()), good);

    // Room again: the next change is written, with everything the store holds.
    fs::remove(folder / "filler");
    tap(MENU);
    ASSERT_EQ(application->currentScreen, application->levelScreen);
    tap(levelBoxTap(9));
    std::optional<Progress> onDisk = storedprogress::ofFile(file());
    ASSERT_TRUE(onDisk.has_value());
    EXPECT_EQ(onDisk->level, 9);
    EXPECT_TRUE(storedprogress::filesStartingWith(folder, TEMPORARY).empty());
}

TEST_F(BadSettings, ADamagedFileOnAFullDiskIsStillSetAside) {
    if (!mountTiny()) GTEST_SKIP() << "cannot mount a tmpfs here (" << mount->error << "); full-disk case not tried";
    std::string damaged = "\x7f" "ELF not a registry";
    writeBytes(file(), damaged);
    ASSERT_TRUE(mount->fill());
    playAndCheck(defaults(), Storage::nothing);
    auto aside = storedprogress::filesStartingWith(folder, DAMAGED);
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(storedprogress::fileBytes(aside[0]), damaged);
}

// Numbers stored as DWORDs (as a registry editor writes them) are those
// numbers; any other type is read by its bytes: text from whatever bytes are
// there, "stat" as its image.
TEST_F(BadSettings, ValuesOfTheWrongTypeLoadByTheirBytes) {
    writeBytes(file(), registryText({
                           {L"level", platform::ValueType::dword, littleEndian({5})},  // 5
                           {L"score", platform::ValueType::binary, utf16("7")},        // "7" in binary
                           {L"auto", platform::ValueType::dword, littleEndian({1})},   // 1: off
                           {L"stat", platform::ValueType::dword, littleEndian({3})},   // 4 of the 80 bytes
                       }));
    Progress expected = stored(5, 7, false);
    expected.stats[0] = {3, 0};
    playAndCheck(expected, Storage::writable);
    expectNothingSetAside();
}

TEST_F(BadSettings, TextWhereStatIsExpectedFillsItsLeadingBytes) {
    writeBytes(file(), registryText({text(L"stat", "AB"), text(L"level", "2")}));
    Progress expected = stored(2, 0, true);
    expected.stats[0] = {0x00420041, 0};  // 'A', 0, 'B', 0, then the null
    playAndCheck(expected, Storage::writable);
}

TEST_F(BadSettings, AShortStatFillsOnlyItsLeadingCounters) {
    std::vector<std::uint8_t> stat = littleEndian({2, 3, 1});  // level 1: 2 of 3; level 2: 1 correct
    writeBytes(file(), registryText({{L"stat", platform::ValueType::binary, stat}, text(L"level", "2")}));
    Progress expected = stored(2, 0, true);
    expected.stats[0] = {2, 3};
    expected.stats[1] = {1, 0};
    playAndCheck(expected, Storage::writable);
}

TEST_F(BadSettings, AStatLongerThanEightyBytesLoadsAsZeros) {
    std::vector<std::uint8_t> stat(84, 0x01);
    writeBytes(file(), registryText({{L"stat", platform::ValueType::binary, stat}, text(L"level", "3")}));
    playAndCheck(stored(3, 0, true), Storage::writable);
}

TEST_F(BadSettings, AnEmptyStatLoadsAsZeros) {
    writeBytes(file(), registryText({{L"stat", platform::ValueType::binary, {}}, text(L"level", "3")}));
    playAndCheck(stored(3, 0, true), Storage::writable);
}

struct NumberCase {
    const char* text;
    std::int32_t level;  // what "level" holding the text loads as
    std::int32_t score;  // what "score" holding the text loads as
    bool autoAdjust;     // with "auto" holding the text's digits turned into 1
};

class BadNumbers : public BadSettings, public ::testing::WithParamInterface<NumberCase> {};

TEST_P(BadNumbers, LoadAsPercentD) {
    const NumberCase& c = GetParam();
    std::string autoText = c.text;
    for (char& ch : autoText)
        if (ch >= '0' && ch <= '9') ch = '1';
    writeBytes(file(), registryText({text(L"level", c.text), text(L"score", c.text), text(L"auto", autoText)}));
    playAndCheck(stored(c.level, c.score, c.autoAdjust), Storage::writable);
    expectNothingSetAside();
}

// Every way a number can be written is read by the store's own test
// (tests/progress/progress_load_test.cpp); here one number that loads and one
// that falls back show the whole game playing on with them.
INSTANTIATE_TEST_SUITE_P(
    SignsSpacesAndLetters, BadNumbers,
    ::testing::Values(NumberCase{"+5", 5, 5, false}, NumberCase{"-3", 1, 0, true}),
    [](const ::testing::TestParamInfo<NumberCase>& info) { return testnames::spelt(info.param.text); });

TEST_F(BadSettings, TextWithoutItsNullOrWithOddBytesStillLoads) {
    std::vector<std::uint8_t> noNull = utf16("6", false);  // '6', 0: no terminating null
    std::vector<std::uint8_t> odd = utf16("42");
    odd.push_back(0x37);  // a stray odd byte after the null
    writeBytes(file(), registryText({{L"level", platform::ValueType::text, noNull},
                                     {L"score", platform::ValueType::text, odd}}));
    playAndCheck(stored(6, 42, true), Storage::writable);
    expectNothingSetAside();
}

}  // namespace
