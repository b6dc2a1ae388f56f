// The handheld's shell keeps its task bar and input panel out of the game's
// way; desktop hosts have no shell, so these hand-offs do nothing.
#include "platform/window.h"

namespace platform {

void shellHandleActivate(Window*, std::uintptr_t, std::intptr_t, ShellActivateInfo&, std::uint32_t) {}
void shellHandleSettingChange(Window*, std::uintptr_t, std::intptr_t, ShellActivateInfo&) {}
void shellFullScreen(Window*, std::uint32_t) {}
void shellHideInputPanel(Window*, int) {}

}  // namespace platform
