// Where the registry file lives: a chosen folder, else $XDG_CONFIG_HOME/horalia,
// else ~/.config/horalia, following the XDG rule that relative paths (of
// either variable) are ignored; only folders below the home are ever made.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>

#include "platform/posix/xdg_folders.h"
#include "platform/registry.h"
#include "tests/support/temp_folder.h"

namespace {

// Sets or unsets an environment variable for the life of the object.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : name_(name) {
        if (const char* old = getenv(name)) old_ = old;
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~ScopedEnvironment() {
        if (old_) setenv(name_, old_->c_str(), 1);
        else unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

class RegistryLocation : public ::testing::Test {
protected:
    void TearDown() override { platform::posix::setSettingsFolder({}); }
};

}  // namespace

TEST_F(RegistryLocation, ChosenFolderWins) {
    ScopedEnvironment config("XDG_CONFIG_HOME", "/xdg");
    platform::posix::setSettingsFolder("/tmp/chosen");
    EXPECT_EQ(platform::posix::settingsFile(), "/tmp/chosen/registry.reg");
}

TEST_F(RegistryLocation, XdgConfigHomeWhenSet) {
    ScopedEnvironment config("XDG_CONFIG_HOME", "/xdg");
    EXPECT_EQ(platform::posix::settingsFile(), "/xdg/horalia/registry.reg");
}

TEST_F(RegistryLocation, HomeConfigWhenXdgIsUnsetEmptyOrRelative) {
    ScopedEnvironment home("HOME", "/home/child");
    for (const char* value : {static_cast<const char*>(nullptr), "", "relative/config"}) {
        ScopedEnvironment config("XDG_CONFIG_HOME", value);
        EXPECT_EQ(platform::posix::settingsFile(), "/home/child/.config/horalia/registry.reg");
    }
}

TEST_F(RegistryLocation, ARelativeHomeIsIgnoredForTheUsersHomeFolder) {
    ScopedEnvironment config("XDG_CONFIG_HOME", nullptr);
    ScopedEnvironment home("HOME", "relative/home");
    const std::filesystem::path path = platform::posix::settingsFile();
    EXPECT_TRUE(path.empty() || path.is_absolute()) << path;
    EXPECT_EQ(path.string().find("relative/home"), std::string::npos) << path;
}

TEST_F(RegistryLocation, EmptyFolderGoesBackToTheDefault) {
    ScopedEnvironment config("XDG_CONFIG_HOME", "/xdg");
    platform::posix::setSettingsFolder("/tmp/chosen");
    platform::posix::setSettingsFolder({});
    EXPECT_EQ(platform::posix::settingsFile(), "/xdg/horalia/registry.reg");
}

TEST_F(RegistryLocation, OnlyTheFoldersBelowAHomeThatExistsAreMade) {
    TempFolder top("horalia-home");
    ScopedEnvironment config("XDG_CONFIG_HOME", nullptr);
    {
        ScopedEnvironment home("HOME", (top.path() / "nonexistent" / "deep" / "home").c_str());
        EXPECT_FALSE(platform::RegistryKey::createOrOpen(L"Software\\Quillmoor\\Horalia"));
        EXPECT_FALSE(std::filesystem::exists(top.path() / "nonexistent"));
    }
    ScopedEnvironment home("HOME", top.path().c_str());
    EXPECT_TRUE(platform::RegistryKey::createOrOpen(L"Software\\Quillmoor\\Horalia"));
    EXPECT_TRUE(std::filesystem::exists(top.path() / ".config" / "horalia" / "registry.reg"));
}
