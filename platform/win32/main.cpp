// The Windows program's entry: runs the game, or with a switch moves the
// progress out to a .reg file or in from one and ends:
//   horalia.exe --export FILE.reg     horalia.exe --import FILE.reg
// It is a windowed program: a message goes to the standard error where the
// caller gave one (a script), else to a message box.
#include <windows.h>

#include <string>

#include "platform/core/host.h"
#include "platform/resources.h"
#include "platform/win32/progress_exchange.h"
#include "platform/window.h"
#include "progress/ProgressStore.h"
#include "resources/resource_ids.h"

namespace {

int tell(const std::wstring& message) {
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    DWORD written = 0;
    const std::wstring line = message + L"\r\n";
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0,
                                          nullptr, nullptr);
    std::string text(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), text.data(), bytes, nullptr,
                        nullptr);
    if (error == nullptr || error == INVALID_HANDLE_VALUE ||
        !WriteFile(error, text.data(), static_cast<DWORD>(text.size()), &written, nullptr))
        MessageBoxW(nullptr, message.c_str(), L"Horalia", MB_OK | MB_ICONWARNING);
    return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // The picture is scaled by whole factors here; the system must not blur it again.
    SetProcessDPIAware();
    platform::Instance* module = platform::moduleHandle();
    if (argc == 1) return gameMain(module, nullptr, L"", SW_SHOW);

    const std::wstring command = argv[1];
    const bool exporting = command == L"--export" || command == L"/export";
    const bool importing = command == L"--import" || command == L"/import";
    if (!(exporting || importing) || argc != 3)
        return tell(L"Usage: horalia.exe [--export FILE.reg | --import FILE.reg]");
    const std::wstring key(ProgressStore::PROGRESS_KEY);
    if (importing) {
        // A running game would write its own progress over the imported one.
        const std::wstring className = platform::loadString(module, IDS_CLASS_NAME, 100);
        const std::wstring title = platform::loadString(module, IDS_APP_TITLE, 100);
        if (platform::host::anotherCopyRuns(className, title))
            return tell(L"Close Horalia first, then import the progress again.");
    }
    const std::wstring problem = exporting ? platform::win32::exportProgress(key, argv[2])
                                           : platform::win32::importProgress(key, argv[2]);
    return problem.empty() ? 0 : tell(problem);
}
