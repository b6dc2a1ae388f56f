// Announcements and the focus beyond the window: the host decides what they become.
#include "platform/access.h"

#include "platform/core/host.h"

namespace platform {

void announce(std::wstring_view text) { host::announce(text); }

bool passFocusOn(bool forward) { return host::passFocusOn(forward); }

}  // namespace platform
