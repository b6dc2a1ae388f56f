// Key combinations of an accelerator table become WM_COMMAND messages sent
// to the window; the key press itself is then neither translated nor
// dispatched.
#include "platform/core/input.h"
#include "platform/core/window_record.h"

namespace platform {
namespace {
constexpr std::uint8_t FVIRTKEY = 0x01;
constexpr std::uint8_t FSHIFT = 0x04;
constexpr std::uint8_t FCONTROL = 0x08;
constexpr std::uint8_t FALT = 0x10;
}  // namespace

bool translateAccelerator(Window* window, const AcceleratorTable& table, const Message& message) {
    if (message.message != WM_KEYDOWN || !core::isLiveWindow(window)) return false;
    for (const Accelerator& a : table) {
        if (!(a.flags & FVIRTKEY) || a.key != message.wParam) continue;
        if (a.flags & (FSHIFT | FALT)) continue;  // the desktop hosts report neither
        if (((a.flags & FCONTROL) != 0) != core::controlHeld()) continue;
        window->procedure(window, WM_COMMAND, std::uintptr_t{1} << 16 | a.command, 0, {});
        return true;
    }
    return false;
}

}  // namespace platform
