// The one-copy check in the browser: the page holds a Web Lock before it
// starts the program and stops it when another tab takes the game over, so
// inside the program no other copy ever runs and the claim is always this one's.
#include "platform/core/host.h"

namespace platform::host {

bool anotherCopyRuns(std::wstring_view, std::wstring_view) { return false; }
bool claimOneCopy(std::wstring_view, std::wstring_view) { return true; }
void releaseOneCopy() {}
bool askOtherCopyToRaise(std::wstring_view, std::wstring_view) { return false; }

}  // namespace platform::host
