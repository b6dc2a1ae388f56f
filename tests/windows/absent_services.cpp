// The cross-built test programs run without the one-copy claim and the
// settings file, whose implementations are POSIX's: each program is the only
// copy, and its registry lives in memory. The suites built here never look
// for another copy or at the file.
#include <filesystem>

#include "platform/core/single_instance.h"
#include "platform/registry/registry_folder.h"
#include "platform/registry/registry_storage.h"

namespace platform::core::singleInstance {

void announce(std::wstring_view, std::wstring_view) {}
void withdraw() {}
bool someoneAnswers(std::wstring_view, std::wstring_view) { return false; }
bool askToRaise(std::wstring_view, std::wstring_view) { return false; }
void poll() {}
int listenerDescriptor() { return -1; }
int raiseRequests() { return 0; }
void setNamespace(std::string) {}

}  // namespace platform::core::singleInstance

namespace platform::registry {

void setFolder(const std::filesystem::path&) {}
bool makeFolder(const std::filesystem::path&) { return false; }
std::filesystem::path filePath() { return {}; }

Document* loadDocument() {
    static Document document;
    return &document;
}

bool saveDocument(const Document&) { return true; }

}  // namespace platform::registry
