// The Windows host's own services under Wine: values in the system's registry
// with their types and the registry key's refusals, the progress moved out to
// a .reg file and back (characters beyond U+FFFF included), a damaged file
// that changes nothing, the one-copy claim against another holder, and the
// resources of the .exe in the user's UI language (HORALIA_TEST_LANGUAGE
// names the one that Wine's LANG gives this run).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/core/host.h"
#include "platform/formats/unicode.h"
#include "platform/registry.h"
#include "platform/resources.h"
#include "platform/window.h"
#include "platform/win32/progress_exchange.h"
#include "resources/resource_ids.h"

namespace {

using platform::RegistryKey;
using platform::RegistryResult;
using platform::ValueType;

std::vector<std::uint8_t> bytes(std::initializer_list<std::uint8_t> list) { return list; }
std::vector<std::uint8_t> text(std::wstring_view value) {
    auto data = platform::formats::toUtf16le(value);
    data.push_back(0);
    data.push_back(0);
    return data;
}

// A key of this test run alone, removed afterwards.
class Win32Registry : public ::testing::Test {
protected:
    const std::wstring subKey = L"Software\\Quillmoor\\HoraliaTest" + std::to_wstring(GetCurrentProcessId());
    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       ("horalia-test-" + std::to_string(GetCurrentProcessId()) + ".reg");

    void TearDown() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, subKey.c_str());
        std::filesystem::remove(file);
    }

    std::vector<std::uint8_t> stored(const wchar_t* name, DWORD* type = nullptr) {
        DWORD size = 0;
        if (RegGetValueW(HKEY_CURRENT_USER, subKey.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, type, nullptr,
                         &size) != ERROR_SUCCESS)
            return {};
        std::vector<std::uint8_t> data(size);
        RegGetValueW(HKEY_CURRENT_USER, subKey.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, type, data.data(), &size);
        data.resize(size);
        return data;
    }

    void write(const std::string& content) { std::ofstream(file, std::ios::binary) << content; }
    std::string read() {
        std::ostringstream out;
        out << std::ifstream(file, std::ios::binary).rdbuf();
        return out.str();
    }
};

TEST_F(Win32Registry, ValuesKeepTheirTypesInTheSystemsRegistry) {
    auto key = RegistryKey::createOrOpen(subKey);
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->set(L"score", ValueType::text, text(L"12")));
    ASSERT_TRUE(key->set(L"stat", ValueType::binary, std::vector<std::uint8_t>(80, 7)));
    ASSERT_TRUE(key->set(L"count", ValueType::dword, bytes({1, 0, 0, 0})));
    DWORD type = 0;
    EXPECT_EQ(stored(L"score", &type), text(L"12"));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(stored(L"stat", &type), std::vector<std::uint8_t>(80, 7));
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(stored(L"count", &type), bytes({1, 0, 0, 0}));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));

    // Read back through the key: sizes first, too small a buffer gets nothing.
    auto info = key->queryInfo(L"SCORE");  // names are caseless, as on every host
    ASSERT_TRUE(info);
    EXPECT_EQ(info->type, ValueType::text);
    EXPECT_EQ(info->size, 6u);
    std::vector<std::uint8_t> small(4, 0xEE);
    platform::ValueInfo seen;
    EXPECT_EQ(key->query(L"score", small, &seen), RegistryResult::moreData);
    EXPECT_EQ(small, std::vector<std::uint8_t>(4, 0xEE));
    EXPECT_EQ(seen.size, 6u);
    std::vector<std::uint8_t> buffer(80);
    EXPECT_EQ(key->query(L"stat", buffer), RegistryResult::ok);
    EXPECT_EQ(buffer, std::vector<std::uint8_t>(80, 7));
    EXPECT_EQ(key->query(L"absent", buffer), RegistryResult::missing);
    EXPECT_FALSE(key->queryInfo(L"absent"));

    // What the other hosts' text cannot hold is refused here as well.
    EXPECT_FALSE(key->set(L"line\nbreak", ValueType::text, text(L"x")));
    EXPECT_FALSE(key->set(L"big", ValueType::binary, std::vector<std::uint8_t>(1024 * 1024 + 1)));
    EXPECT_FALSE(RegistryKey::createOrOpen(L"Software\\\\Twice"));
}

TEST_F(Win32Registry, ProgressMovesOutToARegFileAndBack) {
    auto key = RegistryKey::createOrOpen(subKey);
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->set(L"level", ValueType::text, text(L"7")));
    ASSERT_TRUE(key->set(L"name", ValueType::text, text(L"K\u00e4the \U0001F570")));
    std::vector<std::uint8_t> stat(80);
    for (std::size_t i = 0; i < stat.size(); ++i) stat[i] = static_cast<std::uint8_t>(i * 3);
    ASSERT_TRUE(key->set(L"stat", ValueType::binary, stat));

    ASSERT_EQ(platform::win32::exportProgress(subKey, file.wstring()), L"");
    const std::string exported = read();
    EXPECT_EQ(exported.rfind("Windows Registry Editor Version 5.00", 0), 0u) << exported;
    EXPECT_NE(exported.find("\"name\"=\"K\u00e4the \U0001F570\""), std::string::npos) << exported;
    EXPECT_NE(exported.find("\"stat\"=hex:00,03,06,"), std::string::npos) << exported;

    // Into a registry without the key: everything comes back, types and all.
    RegDeleteTreeW(HKEY_CURRENT_USER, subKey.c_str());
    ASSERT_EQ(platform::win32::importProgress(subKey, file.wstring()), L"");
    DWORD type = 0;
    EXPECT_EQ(stored(L"level"), text(L"7"));
    EXPECT_EQ(stored(L"name", &type), text(L"K\u00e4the \U0001F570"));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(stored(L"stat", &type), stat);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));

    // A damaged or foreign file changes nothing and says so.
    for (const std::string& damaged :
         {exported.substr(0, exported.size() / 2) + "\"level\"=hex:zz\r\n", std::string("\x89PNG\r\n", 6),
          std::string("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Other]\r\n\"level\"=\"2\"\r\n")}) {
        write(damaged);
        EXPECT_NE(platform::win32::importProgress(subKey, file.wstring()), L"");
        EXPECT_EQ(stored(L"level"), text(L"7"));
    }
    EXPECT_NE(platform::win32::importProgress(subKey, file.wstring() + L".missing"), L"");
}

TEST(Win32OneCopy, TheClaimIsRefusedWhileAnotherCopyHoldsIt) {
    const std::wstring className = L"VARDO-TEST" + std::to_wstring(GetCurrentProcessId()), title = L"Horalia";
    // Another copy is a process that holds the named mutex.
    HANDLE other = CreateMutexW(nullptr, FALSE, (L"Local\\Horalia." + className + L"." + title).c_str());
    ASSERT_NE(other, nullptr);
    EXPECT_TRUE(platform::host::anotherCopyRuns(className, title));
    EXPECT_FALSE(platform::host::claimOneCopy(className, title));
    EXPECT_FALSE(platform::host::askOtherCopyToRaise(className, title)) << "it has no window yet";
    CloseHandle(other);

    EXPECT_FALSE(platform::host::anotherCopyRuns(className, title));
    EXPECT_TRUE(platform::host::claimOneCopy(className, title));
    EXPECT_FALSE(platform::host::anotherCopyRuns(className, title)) << "this process is the copy";
    // The host's window is the one a second copy finds and raises.
    platform::host::windowCreated(title);
    platform::host::windowShown();
    EXPECT_TRUE(platform::host::askOtherCopyToRaise(className, title));
    platform::host::releaseOneCopy();
    HANDLE again = CreateMutexW(nullptr, FALSE, (L"Local\\Horalia." + className + L"." + title).c_str());
    EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS)) << "the claim outlived its release";
    CloseHandle(again);
}

// The words each language's resources say, for the language this run speaks.
struct Said {
    const char* language;
    const wchar_t* score;
};
constexpr Said SAID[] = {{"en", L"Score"}, {"de", L"Punkte"}, {"es", L"Puntos"}};

TEST(Win32Resources, TheExeSpeaksTheUsersUiLanguage) {
    const char* wanted = std::getenv("HORALIA_TEST_LANGUAGE");
    ASSERT_NE(wanted, nullptr) << "the test run names its language";
    const Said* said = nullptr;
    for (const Said& s : SAID)
        if (std::string(s.language) == wanted) said = &s;
    ASSERT_NE(said, nullptr) << wanted;
    platform::Instance* module = platform::moduleHandle();
    EXPECT_EQ(platform::loadString(module, IDS_SCORE, 100), said->score);
    EXPECT_EQ(platform::loadString(module, IDS_APP_TITLE, 100), L"Horalia");
    EXPECT_EQ(platform::loadString(module, IDS_CLASS_NAME, 4), L"VAR") << "cut to fit the buffer";

    // Pictures come from the .exe through GDI, whatever their depth or packing.
    const auto caption = platform::loadBitmap(module, IDB_TITLE_CAPTION);
    const auto title = platform::loadBitmap(module, IDB_TITLE);
    ASSERT_TRUE(caption && title);
    EXPECT_EQ(title->width(), 240);
    EXPECT_EQ(title->height(), 320);

    EXPECT_EQ(platform::loadResource(module, L"WAVE", IDW_SWITCH).size(), 5824u);
    EXPECT_EQ(platform::loadAccelerators(module, IDR_ACCELERATORS).size(), 2u);
}

}  // namespace
