// A damaged or unreadable registry file is kept aside under a new name and
// the registry starts empty; a folder that cannot hold the file makes every
// call fail without a crash, and the game says so once; a write never makes a
// file too long to be read back.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "tests/registry/registry_sandbox.h"

using platform::RegistryKey;
using platform::RegistryResult;
using platform::ValueType;

using RegistryDamage = RegistrySandbox;

namespace {

const std::string VALID_FILE =
    "Windows Registry Editor Version 5.00\n\n"
    "[HKEY_CURRENT_USER\\Software\\Quillmoor\\Horalia]\n"
    "\"score\"=\"12\"\n"
    "\"stat\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\n"
    "  17,18,19\n\n";

std::string readWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

struct Damage {
    const char* kind;
    std::string content;
};

// Tests are named by the kind of damage rather than by the file's bytes.
void PrintTo(const Damage& damage, std::ostream* out) { *out << damage.kind; }

class DamagedFile : public RegistrySandbox, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedFile, IsKeptAsideAndTheRegistryStartsEmpty) {
    const std::string damaged = GetParam().content;
    writeFile(damaged);

    std::optional<RegistryKey> key = RegistryKey::createOrOpen(HORALIA_KEY);
    ASSERT_TRUE(key);
    EXPECT_FALSE(key->queryInfo(L"score").has_value());

    std::vector<std::filesystem::path> copies = damagedCopies();
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(readWhole(copies[0]), damaged);
    EXPECT_EQ(copies[0].filename().string().size(), std::string("registry.reg.damaged-YYYYMMDD-HHMMSS").size())
        << copies[0];

    // The new file is whole again and takes new values.
    ASSERT_TRUE(key->set(L"score", ValueType::text, utf16z(u"3")));
    EXPECT_EQ(readBack(HORALIA_KEY, L"score"), utf16z(u"3"));
    EXPECT_EQ(damagedCopies().size(), 1u);
}

const std::string HEADER = "Windows Registry Editor Version 5.00\n\n";

INSTANTIATE_TEST_SUITE_P(
    Contents, DamagedFile,
    ::testing::Values(Damage{"garbage", "this is not a registry file\n"},
                      Damage{"empty", ""},
                      Damage{"cut_inside_text", VALID_FILE.substr(0, VALID_FILE.find("\"12\"") + 2)},
                      Damage{"cut_at_continuation", VALID_FILE.substr(0, VALID_FILE.find(",\\") + 2)},
                      Damage{"cut_inside_byte", VALID_FILE.substr(0, VALID_FILE.find("0a,") + 1)},
                      Damage{"value_outside_key", HEADER + "\"orphan\"=\"value\"\n"},
                      Damage{"deletion", HEADER + "[HKEY_CURRENT_USER\\A]\n\"x\"=-\n"},
                      Damage{"short_dword", HEADER + "[HKEY_CURRENT_USER\\A]\n\"x\"=dword:12\n"},
                      Damage{"invalid_utf8", HEADER + "[HKEY_CURRENT_USER\\A]\n\"x\"=\"\xC3\x28\"\n"},
                      Damage{"binary", std::string("\x00\x01\x02\xFF\xFE binary\x00", 12)}),
    [](const ::testing::TestParamInfo<Damage>& info) { return std::string(info.param.kind); });

TEST_F(RegistryDamage, ADirectoryInPlaceOfTheFileIsKeptAside) {
    std::filesystem::create_directory(file());
    { std::ofstream(file() / "inside") << "kept"; }

    std::optional<RegistryKey> key = RegistryKey::createOrOpen(HORALIA_KEY);
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->set(L"level", ValueType::text, utf16z(u"2")));
    EXPECT_EQ(readBack(HORALIA_KEY, L"level"), utf16z(u"2"));

    std::vector<std::filesystem::path> copies = damagedCopies();
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(readWhole(copies[0] / "inside"), "kept");
}

TEST_F(RegistryDamage, ASecondDamageInTheSameSecondDoesNotOverwriteTheFirst) {
    writeFile("first damage");
    ASSERT_TRUE(RegistryKey::createOrOpen(HORALIA_KEY));
    writeFile("second damage");
    ASSERT_TRUE(RegistryKey::createOrOpen(HORALIA_KEY));
    writeFile("third damage");
    ASSERT_TRUE(RegistryKey::createOrOpen(HORALIA_KEY));

    std::vector<std::string> contents;
    for (const auto& copy : damagedCopies()) contents.push_back(readWhole(copy));
    std::sort(contents.begin(), contents.end());
    EXPECT_EQ(contents, (std::vector<std::string>{"first damage", "second damage", "third damage"}));
}

TEST_F(RegistryDamage, AFileOverTwoMebibytesIsKeptAsideWhileOneOfExactlyThatSizeIsRead) {
    constexpr std::size_t LIMIT = 2 * 1024 * 1024;
    std::string file = VALID_FILE;
    while (file.size() + 64 <= LIMIT) file += "; a comment line that a person left in the file\n";
    file += std::string(LIMIT - file.size() - 1, ';') + "\n";
    ASSERT_EQ(file.size(), LIMIT);
    writeFile(file);
    EXPECT_EQ(readBack(HORALIA_KEY, L"score"), utf16z(u"12"));
    EXPECT_TRUE(damagedCopies().empty());

    writeFile(file + "\n");
    std::optional<RegistryKey> key = RegistryKey::createOrOpen(HORALIA_KEY);
    ASSERT_TRUE(key);
    EXPECT_FALSE(key->queryInfo(L"score").has_value());
    ASSERT_EQ(damagedCopies().size(), 1u);
    EXPECT_EQ(std::filesystem::file_size(damagedCopies()[0]), LIMIT + 1);
}

TEST_F(RegistryDamage, AValidFileIsNeverSetAside) {
    writeFile(VALID_FILE);
    EXPECT_EQ(readBack(HORALIA_KEY, L"score"), utf16z(u"12"));
    EXPECT_EQ(readBack(HORALIA_KEY, L"stat").size(), 26u);
    EXPECT_TRUE(damagedCopies().empty());
}

TEST_F(RegistryDamage, AFolderUnderARegularFileFailsQuietly) {
    std::optional<RegistryKey> key = RegistryKey::createOrOpen(HORALIA_KEY);
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->set(L"score", ValueType::text, utf16z(u"12")));

    { std::ofstream(folder / "plain-file") << "x"; }
    platform::posix::setSettingsFolder(folder / "plain-file" / "horalia");

    EXPECT_FALSE(RegistryKey::createOrOpen(HORALIA_KEY).has_value());
    EXPECT_FALSE(key->set(L"score", ValueType::text, utf16z(u"13")));
    std::uint8_t buffer[16];
    EXPECT_EQ(key->query(L"score", buffer), RegistryResult::missing);
    EXPECT_FALSE(key->queryInfo(L"score").has_value());

    // Back in the usable folder, nothing was lost.
    platform::posix::setSettingsFolder(folder);
    EXPECT_EQ(readBack(HORALIA_KEY, L"score"), utf16z(u"12"));
}

TEST_F(RegistryDamage, AFolderWithoutWritePermissionFailsQuietly) {
    if (geteuid() == 0) GTEST_SKIP() << "running as root: permission bits do not stop root";
    std::optional<RegistryKey> key = RegistryKey::createOrOpen(HORALIA_KEY);
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->set(L"score", ValueType::text, utf16z(u"12")));
    ASSERT_EQ(chmod(folder.c_str(), 0500), 0);

    EXPECT_TRUE(RegistryKey::createOrOpen(HORALIA_KEY).has_value());  // the key is already there
    EXPECT_FALSE(RegistryKey::createOrOpen(L"Software\\New").has_value());
    EXPECT_FALSE(key->set(L"score", ValueType::text, utf16z(u"13")));
    EXPECT_EQ(readBack(HORALIA_KEY, L"score"), utf16z(u"12"));
    chmod(folder.c_str(), 0700);
}

TEST_F(RegistryDamage, MissingFoldersAreCreatedPrivateOnTheFirstWriteWhateverTheUmask) {
    platform::posix::setSettingsFolder(folder / "a" / "b" / "c");
    const mode_t umaskBefore = umask(0);
    std::optional<RegistryKey> key = RegistryKey::createOrOpen(HORALIA_KEY);
    umask(umaskBefore);
    ASSERT_TRUE(key);
    EXPECT_TRUE(std::filesystem::exists(folder / "a" / "b" / "c" / "registry.reg"));
    auto modeOf = [](const std::filesystem::path& path) {
        struct stat info{};
        stat(path.c_str(), &info);
        return info.st_mode & 07777;
    };
    for (const auto& made : {folder / "a", folder / "a" / "b", folder / "a" / "b" / "c"})
        EXPECT_EQ(modeOf(made), 0700u) << made;
    EXPECT_EQ(modeOf(folder / "a" / "b" / "c" / "registry.reg"), 0600u);
}

TEST_F(RegistryDamage, AWriteThatWouldGrowOverTheLimitKeepsTheGamesOwnKeyAndSetsTheRestAside) {
    // A valid file just under the limit whose binary value stands on one long
    // line: written back with regedit's wrapping it would be longer.
    constexpr std::size_t LIMIT = 2 * 1024 * 1024;
    std::string original = HEADER + "[HKEY_CURRENT_USER\\Software\\Quillmoor\\Horalia]\n\"score\"=\"12\"\n\n" +
                           "[HKEY_CURRENT_USER\\Software\\Other]\n\"blob\"=hex:ab";
    while (original.size() + 4 <= LIMIT) original += ",ab";
    original += "\n";
    ASSERT_LE(original.size(), LIMIT);
    writeFile(original);

    std::optional<RegistryKey> key = RegistryKey::createOrOpen(HORALIA_KEY);
    ASSERT_TRUE(key);
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(key->set(L"level", ValueType::text, utf16z(u"3")));
    const std::string said = ::testing::internal::GetCapturedStderr();
    std::printf("a %zu-byte file became %zu bytes at the game's write\n", original.size(),
                static_cast<std::size_t>(std::filesystem::file_size(file())));
    EXPECT_LE(std::filesystem::file_size(file()), LIMIT);
    EXPECT_EQ(readBack(HORALIA_KEY, L"score"), utf16z(u"12"));
    EXPECT_EQ(readBack(HORALIA_KEY, L"level"), utf16z(u"3"));
    ASSERT_EQ(damagedCopies().size(), 1u);
    EXPECT_EQ(readWhole(damagedCopies()[0]), original) << "the rest is kept aside";
    EXPECT_NE(said.find("over 2 MiB"), std::string::npos) << said;

    // A value that could never be stored beside the game's is refused, and nothing changes.
    const std::string before = fileText();
    EXPECT_FALSE(key->set(L"huge", ValueType::binary, std::vector<std::uint8_t>(700 * 1024, 0xAB)));
    EXPECT_EQ(fileText(), before);
}

// A file this user cannot read, made by make(file, elsewhere).
struct Unreadable {
    const char* kind;
    std::function<void(const std::filesystem::path&, const std::filesystem::path&)> make;
    bool needsRoot;
};
void PrintTo(const Unreadable& unreadable, std::ostream* out) { *out << unreadable.kind; }

class UnreadableFile : public RegistrySandbox, public ::testing::WithParamInterface<Unreadable> {
protected:
    static constexpr uid_t NOBODY = 65534;

    // Runs body in a child process as the user who plays (nobody when the
    // test runs as root, whom no permission stops), with what it says on
    // stderr kept in said; returns its exit code.
    int asPlayer(const std::function<bool()>& body) {
        const std::filesystem::path saying = elsewhere.path() / "said";
        const pid_t child = fork();
        if (child == 0) {
            const int fd = open(saying.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (fd < 0 || dup2(fd, STDERR_FILENO) < 0) _exit(3);
            if (geteuid() == 0 && (setgid(NOBODY) != 0 || setuid(NOBODY) != 0)) _exit(2);
            _exit(body() ? 0 : 1);
        }
        int status = -1;
        waitpid(child, &status, 0);
        said = readWhole(saying);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    void handToPlayer(const std::filesystem::path& path) const {
        if (geteuid() == 0) EXPECT_EQ(lchown(path.c_str(), NOBODY, NOBODY), 0) << path;
    }

    TempFolder elsewhere{"horalia-elsewhere"};
    std::string said;
};

TEST_P(UnreadableFile, IsSetAsideAndTheGameSavesAfreshOrSaysOnceThatItCannot) {
    if (GetParam().needsRoot && geteuid() != 0) GTEST_SKIP() << "only root can give the file another owner";
    handToPlayer(folder);
    GetParam().make(file(), elsewhere.path());
    const std::string unreadable = std::filesystem::is_symlink(file()) ? "" : VALID_FILE;

    EXPECT_EQ(asPlayer([] {
        std::optional<RegistryKey> key = RegistryKey::createOrOpen(HORALIA_KEY);
        return key && key->set(L"score", ValueType::text, utf16z(u"3"));
    }), 0) << said;
    EXPECT_EQ(readBack(HORALIA_KEY, L"score"), utf16z(u"3"));
    ASSERT_EQ(damagedCopies().size(), 1u);
    if (!unreadable.empty()) EXPECT_EQ(readWhole(damagedCopies()[0]), unreadable);

    // Where the folder does not let the file be set aside, the game says so, once.
    std::filesystem::remove(damagedCopies()[0]);
    std::filesystem::remove(file());
    GetParam().make(file(), elsewhere.path());
    chmod(folder.c_str(), 0500);
    EXPECT_EQ(asPlayer([] {
        std::optional<RegistryKey> key = RegistryKey::createOrOpen(HORALIA_KEY);
        return !key && !RegistryKey::createOrOpen(HORALIA_KEY);
    }), 0);
    chmod(folder.c_str(), 0700);
    EXPECT_NE(said.find("horalia: progress cannot be saved"), std::string::npos) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << "said once: " << said;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, UnreadableFile,
    ::testing::Values(
        Unreadable{"no_permission",
                   [](const std::filesystem::path& file, const std::filesystem::path&) {
                       std::ofstream(file) << VALID_FILE;
                       if (geteuid() == 0) EXPECT_EQ(chown(file.c_str(), 65534, 65534), 0);
                       chmod(file.c_str(), 0);
                   },
                   false},
        Unreadable{"another_owner",
                   [](const std::filesystem::path& file, const std::filesystem::path&) {
                       std::ofstream(file) << VALID_FILE;
                       chmod(file.c_str(), 0600);
                   },
                   true},
        Unreadable{"link_to_an_unreadable_file",
                   [](const std::filesystem::path& file, const std::filesystem::path& elsewhere) {
                       std::ofstream(elsewhere / "registry.reg") << VALID_FILE;
                       chmod((elsewhere / "registry.reg").c_str(), geteuid() == 0 ? 0600 : 0);
                       std::filesystem::create_symlink(elsewhere / "registry.reg", file);
                   },
                   false}),
    [](const ::testing::TestParamInfo<Unreadable>& info) { return std::string(info.param.kind); });
