// The registry file is the registry export format a person can read: the
// header, one section per key, quoted text, dword numbers and wrapped hex.
// Files written by hand or by regedit in that format are read back, and
// another program's edits are seen, even where file times keep whole seconds.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "tests/registry/registry_sandbox.h"

using platform::RegistryKey;
using platform::ValueType;

using RegistryFileText = RegistrySandbox;

namespace {

std::string readWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace

TEST_F(RegistryFileText, ValuesAreWrittenInTheExportFormat) {
    std::optional<RegistryKey> key = RegistryKey::createOrOpen(HORALIA_KEY);
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->set(L"score", ValueType::text, utf16z(u"12")));
    ASSERT_TRUE(key->set(L"say \"hi\"", ValueType::text, utf16z(u"C:\\dir \"x\"")));
    ASSERT_TRUE(key->set(L"count", ValueType::dword, bytes({0x0C, 0, 0, 0})));
    ASSERT_TRUE(key->set(L"raw", ValueType::text, bytes({'1', 0, '2', 0})));
    ASSERT_TRUE(key->set(L"path", ValueType::expandText, bytes({'a', 0, 0, 0})));
    ASSERT_TRUE(key->set(L"small", ValueType::binary, bytes({0x00, 0x01, 0xAB})));

    EXPECT_EQ(fileText(),
              "Windows Registry Editor Version 5.00\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software\\Quillmoor\\Horalia]\n"
              "\"score\"=\"12\"\n"
              "\"say \\\"hi\\\"\"=\"C:\\\\dir \\\"x\\\"\"\n"
              "\"count\"=dword:0000000c\n"
              "\"raw\"=hex(1):31,00,32,00\n"
              "\"path\"=hex(2):61,00,00,00\n"
              "\"small\"=hex:00,01,ab\n"
              "\n");
}

TEST_F(RegistryFileText, LongBinaryWrapsLikeRegedit) {
    std::optional<RegistryKey> key = RegistryKey::createOrOpen(HORALIA_KEY);
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->set(L"stat", ValueType::binary, std::vector<std::uint8_t>(80, 0)));

    std::vector<std::string> lines = linesOf(fileText());
    auto first = std::find_if(lines.begin(), lines.end(),
                              [](const std::string& line) { return line.starts_with("\"stat\"=hex:"); });
    ASSERT_NE(first, lines.end());
    std::size_t bytes = 0;
    for (auto line = first; line != lines.end() && !line->empty(); ++line) {
        EXPECT_LE(line->size(), 80u) << *line;
        if (line != first) {
            EXPECT_TRUE(line->starts_with("  ")) << *line;
        }
        bool continues = line->ends_with(",\\");
        bytes += static_cast<std::size_t>(std::count(line->begin(), line->end(), ',')) + (continues ? 0 : 1);
        if (!continues) break;
    }
    EXPECT_EQ(bytes, 80u);
    EXPECT_GT(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) { return line.ends_with(",\\"); }),
              1);
}

TEST_F(RegistryFileText, HandWrittenRegeditFileIsRead) {
    writeFile(
        "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
        "\r\n"
        "; written by hand\r\n"
        "[HKEY_CURRENT_USER\\Software]\r\n"
        "\r\n"
        "[HKEY_CURRENT_USER\\Software\\Quillmoor\\Horalia]\r\n"
        "\"level\"=\"7\"\r\n"
        "\"stat\"=hex:01,02,03,\\\r\n"
        "  04,05 ,\\\r\n"
        "\t06\r\n"
        "\"Count\" = dword:0000FFFF\r\n"
        "@=\"\"\r\n");
    EXPECT_EQ(readBack(HORALIA_KEY, L"level"), utf16z(u"7"));
    EXPECT_EQ(readBack(HORALIA_KEY, L"stat"), (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(readBack(HORALIA_KEY, L"count"), (std::vector<std::uint8_t>{0xFF, 0xFF, 0, 0}));
    EXPECT_EQ(readBack(HORALIA_KEY, L""), utf16z(u""));
    EXPECT_TRUE(damagedCopies().empty());
}

TEST_F(RegistryFileText, OtherKeysInTheFileSurviveAChange) {
    writeFile(
        "Windows Registry Editor Version 5.00\n\n"
        "[HKEY_CURRENT_USER\\Software\\Someone\\Else]\n"
        "\"keep\"=hex(b):01,00,00,00,00,00,00,00\n\n");
    std::optional<RegistryKey> key = RegistryKey::createOrOpen(HORALIA_KEY);
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->set(L"score", ValueType::text, utf16z(u"1")));
    EXPECT_NE(fileText().find("[HKEY_CURRENT_USER\\Software\\Someone\\Else]\n"
                              "\"keep\"=hex(b):01,00,00,00,00,00,00,00\n"),
              std::string::npos);
}

TEST_F(RegistryFileText, ARegistryEditorsUtf16ExportIsReadAndTheGameKeepsWritingUtf8) {
    const std::u16string exported =
        u"\uFEFFWindows Registry Editor Version 5.00\r\n\r\n"
        u"[HKEY_CURRENT_USER\\Software\\Quillmoor\\Horalia]\r\n"
        u"\"level\"=\"7\"\r\n"
        u"\"name\"=\"K\u00e4the \U0001F570\"\r\n"
        u"\"stat\"=hex:01,02,\\\r\n  03\r\n";
    std::string file;
    for (char16_t unit : exported) {
        file += static_cast<char>(unit & 0xFF);
        file += static_cast<char>(unit >> 8);
    }
    writeFile(file + '\n');  // and half a character more, as a file cut short may end
    EXPECT_EQ(readBack(HORALIA_KEY, L"level"), utf16z(u"7"));
    EXPECT_EQ(readBack(HORALIA_KEY, L"name"), utf16z(u"K\u00e4the \U0001F570"));
    EXPECT_EQ(readBack(HORALIA_KEY, L"stat"), bytes({1, 2, 3}));
    EXPECT_TRUE(damagedCopies().empty()) << "the child's progress is kept";

    std::optional<RegistryKey> key = RegistryKey::createOrOpen(HORALIA_KEY);
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->set(L"score", ValueType::text, utf16z(u"5")));
    EXPECT_TRUE(fileText().starts_with("Windows Registry Editor Version 5.00\n\n"));
    EXPECT_NE(fileText().find("\"level\"=\"7\"\n\"name\"=\"K\xC3\xA4the \xF0\x9F\x95\xB0\"\n"), std::string::npos);
}

TEST_F(RegistryFileText, EveryChangeToTheFileIsSeenEvenOneOfTheSameSize) {
    std::optional<RegistryKey> key = RegistryKey::createOrOpen(HORALIA_KEY);
    ASSERT_TRUE(key);
    for (const char16_t* score : {u"12", u"34", u"56"}) {
        // Another program edits the file in place, keeping its size.
        std::string text = fileText();
        const std::size_t at = text.find("\"score\"");
        std::u16string wanted(score);
        const std::string line = "\"score\"=\"" + std::string(wanted.begin(), wanted.end()) + "\"\n";
        text = at == std::string::npos ? text + "[HKEY_CURRENT_USER\\Software\\Quillmoor\\Horalia]\n" + line
                                       : text.replace(at, line.size(), line);
        writeFile(text);
        EXPECT_EQ(readBack(HORALIA_KEY, L"score"), utf16z(score));
        // The game's own change is seen as well.
        ASSERT_TRUE(key->set(L"level", ValueType::text, utf16z(score)));
        EXPECT_EQ(readBack(HORALIA_KEY, L"level"), utf16z(score));
    }
}

TEST_F(RegistryFileText, AnEditInTheSecondOfTheGamesWriteIsSeenWhereTimesKeepWholeSeconds) {
    // ext4 with 128-byte inodes keeps whole seconds, as FAT keeps two.
    if (geteuid() != 0) GTEST_SKIP() << "mounting a file system needs root";
    const std::filesystem::path image = folder / "coarse.img", coarse = folder / "coarse";
    std::filesystem::create_directory(coarse);
    const std::string mount = "truncate -s 4M " + image.string() + " && mkfs.ext4 -q -F -I 128 " +
                              image.string() + " >/dev/null 2>&1 && mount -o loop " + image.string() + " " +
                              coarse.string();
    if (std::system(mount.c_str()) != 0) GTEST_SKIP() << "a loop device could not be mounted here";
    platform::posix::setSettingsFolder(coarse);
    std::optional<RegistryKey> key = RegistryKey::createOrOpen(HORALIA_KEY);
    int missed = 0;
    for (int round = 10; round < 30; ++round) {
        // The game writes and reads back a level...
        const std::u16string ours = u"1" + std::u16string(1, u'0' + round % 10);
        ASSERT_TRUE(key && key->set(L"level", ValueType::text, utf16z(ours)));
        ASSERT_EQ(readBack(HORALIA_KEY, L"level"), utf16z(ours));
        // ... and another program changes it in place within the same second.
        std::string text = readWhole(coarse / "registry.reg");
        text[text.find("\"level\"=\"1") + 9] = '7';
        std::ofstream(coarse / "registry.reg", std::ios::binary | std::ios::trunc) << text;
        missed += readBack(HORALIA_KEY, L"level") != utf16z(u"7" + ours.substr(1));
    }
    std::printf("%d of 20 edits in the second of the game's write went unseen\n", missed);
    EXPECT_EQ(missed, 0);
    platform::posix::setSettingsFolder(folder);
    EXPECT_EQ(std::system(("umount " + coarse.string()).c_str()), 0);
}
