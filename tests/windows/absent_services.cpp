// The cross-built test programs run without the one-copy claim and the
// settings file, whose implementations are POSIX's: each program is the only
// copy, and its settings text lives in memory. The suites built here never
// look for another copy or at the file.
#include <filesystem>

#include "platform/core/host.h"
#include "platform/posix/locale_environment.h"
#include "platform/posix/single_instance.h"
#include "platform/posix/xdg_folders.h"

namespace platform::host {
namespace {

std::string& storedText() {
    static std::string text;
    return text;
}

}  // namespace

StoredSettings readSettings(std::size_t, bool) {
    if (storedText().empty()) return {StoredSettings::missing, {}};
    return {StoredSettings::present, storedText()};
}
bool writeSettings(const std::string& text) {
    storedText() = text;
    return true;
}
bool setSettingsAside() {
    storedText().clear();
    return true;
}

void settingsTrouble(const std::string&) {}

bool anotherCopyRuns(std::wstring_view, std::wstring_view) { return false; }
bool claimOneCopy(std::wstring_view, std::wstring_view) { return true; }
void releaseOneCopy() {}
bool askOtherCopyToRaise(std::wstring_view, std::wstring_view) { return false; }

}  // namespace platform::host

// What the headless host asks of the POSIX parts.
namespace platform::posix {

std::vector<std::string> environmentLocales() { return {}; }
void setSettingsFolder(const std::filesystem::path&) {}

namespace singleInstance {

void poll() {}
int raiseRequests() { return 0; }
void setNamespace(std::string) {}

}  // namespace singleInstance
}  // namespace platform::posix
