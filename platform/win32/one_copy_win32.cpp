// The one running copy on Windows: a named mutex in the user's session holds
// the claim (the system drops it when the process ends, however it ends), and
// a second copy finds the first one's window by class and title and brings it
// to the front.
#include <windows.h>

#include <string>

#include "platform/core/host.h"
#include "platform/win32/win32.h"

namespace platform {
namespace {

struct Claim {
    HANDLE mutex = nullptr;
    std::wstring className;
};

Claim& claim() {
    static Claim instance;
    return instance;
}

// The mutex that names the one copy, in this user's session only.
std::wstring claimName(std::wstring_view className, std::wstring_view title) {
    return L"Local\\Horalia." + std::wstring(className) + L"." + std::wstring(title);
}

}  // namespace

namespace win32 {

const std::wstring& windowClassName() { return claim().className; }

}  // namespace win32

namespace host {

bool anotherCopyRuns(std::wstring_view className, std::wstring_view title) {
    if (claim().mutex) return false;  // this process holds it
    HANDLE other = OpenMutexW(SYNCHRONIZE, FALSE, claimName(className, title).c_str());
    if (!other) return false;
    CloseHandle(other);
    return true;
}

bool claimOneCopy(std::wstring_view className, std::wstring_view title) {
    auto& c = claim();
    c.className = std::wstring(className);
    if (c.mutex) return true;
    HANDLE mutex = CreateMutexW(nullptr, FALSE, claimName(className, title).c_str());
    if (!mutex) return true;  // no claim to be had: better two copies than none
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return false;
    }
    c.mutex = mutex;
    return true;
}

void releaseOneCopy() {
    auto& c = claim();
    if (c.mutex) CloseHandle(c.mutex);
    c.mutex = nullptr;
}

bool askOtherCopyToRaise(std::wstring_view className, std::wstring_view title) {
    const std::wstring name(className), caption(title);
    // The other copy may hold the claim a moment before its window exists.
    for (int tries = 0; tries < 20; ++tries) {
        if (HWND other = FindWindowW(name.c_str(), caption.c_str())) {
            if (IsIconic(other)) ShowWindow(other, SW_RESTORE);
            SetForegroundWindow(other);
            return true;
        }
        Sleep(50);
    }
    return false;
}

}  // namespace host
}  // namespace platform
